// SysUtils: the platform's string and file helpers.
#pragma once

#include <initializer_list>
#include <string_view>

#include "System.h"

// One argument of Format: an integer or a string. It refers to the string it is given,
// not a copy: the arguments of a call outlive the call, and names by the ten thousand are
// formatted without copying each.
class PACKAGE TVarRec {
 public:
  TVarRec(int V) : FIsString(false), FInt(V) {}
  TVarRec(long V) : FIsString(false), FInt(V) {}
  TVarRec(long long V) : FIsString(false), FInt(V) {}
  TVarRec(unsigned V) : FIsString(false), FInt(V) {}
  TVarRec(const char* V) : FIsString(true), FStr(V ? V : "") {}
  TVarRec(const String& V) : FIsString(true), FStr(V) {}
  bool IsString() const noexcept { return FIsString; }
  long long AsInteger() const noexcept { return FInt; }
  std::string_view AsString() const noexcept { return FStr; }

 private:
  bool FIsString;
  long long FInt = 0;
  std::string_view FStr;
};

// `%d`, `%s`, `%x`, `%u` and `%%`, with optional `-`, width, `.precision` and `n:`
// argument index. A directive that does not match its argument raises EConvertError.
PACKAGE String Format(const String& Fmt, std::initializer_list<TVarRec> Args);

PACKAGE String IntToStr(long long Value);
PACKAGE String IntToHex(long long Value, int Digits);
PACKAGE int StrToInt(const String& S);  // raises EConvertError
PACKAGE int StrToIntDef(const String& S, int Default);
PACKAGE bool TryStrToInt(const String& S, int& Value);
PACKAGE long long StrToInt64(const String& S);
PACKAGE bool TryStrToInt64(const String& S, long long& Value);

// Comparisons without regard to case (ASCII letters).
PACKAGE int CompareText(const String& S1, const String& S2) noexcept;
PACKAGE bool SameText(const String& S1, const String& S2) noexcept;
PACKAGE int CompareStr(const String& S1, const String& S2) noexcept;
PACKAGE String UpperCase(const String& S);
PACKAGE String LowerCase(const String& S);
PACKAGE String Trim(const String& S);
PACKAGE String TrimLeft(const String& S);
PACKAGE String TrimRight(const String& S);
PACKAGE String QuotedStr(const String& S);
PACKAGE String StringReplaceAll(const String& S, const String& OldPattern,
                                const String& NewPattern);

PACKAGE bool FileExists(const String& FileName);
PACKAGE bool DirectoryExists(const String& Name);
PACKAGE String ExtractFilePath(const String& FileName);
PACKAGE String ExtractFileDir(const String& FileName);
PACKAGE String ExtractFileName(const String& FileName);
PACKAGE String ExtractFileExt(const String& FileName);
PACKAGE String ChangeFileExt(const String& FileName, const String& Extension);
PACKAGE String ExpandFileName(const String& FileName);
// The platform's text of the last system error, for file messages.
PACKAGE String SysErrorMessage(int ErrorCode);
