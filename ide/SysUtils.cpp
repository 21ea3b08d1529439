#include "SysUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>

namespace {

char Upper(char C) { return (C >= 'a' && C <= 'z') ? char(C - 32) : C; }
char Lower(char C) { return (C >= 'A' && C <= 'Z') ? char(C + 32) : C; }
bool IsSpace(char C) { return C > 0 && C <= ' '; }

[[noreturn]] void FormatError(const String& Fmt) {
  throw EConvertError(Format("Format '%s' invalid or incompatible with argument", {Fmt}));
}

// What Format puts out, as it finds it in the pattern: runs of the pattern, strings of
// the arguments, numbers written on the stack, and fills of one character. The pieces
// are measured first and written into a result of their exact size, so a result takes
// one allocation at most, and a short one none.
class TFormatPieces {
 public:
  // The pieces are written before they are read (FCount says how many): clearing them
  // would cost every Format call.
  // cppcheck-suppress uninitMemberVar
  explicit TFormatPieces(String& Out) : FOut(Out) {}
  void Text(const char* Data, size_t Size) {
    if (Size == 0) return;
    TPiece& P = Next();
    P.Data = Data;
    P.Size = Size;
  }
  void Text(std::string_view S) { Text(S.data(), S.size()); }
  void Fill(char C, size_t Count) {
    if (Count == 0) return;
    TPiece& P = Next();
    P.Data = nullptr;
    P.Size = Count;
    P.Own[0] = C;
  }
  // Room for a number of at most 24 characters, put out by Commit with its length.
  char* Room() { return Next().Own; }
  void Commit(const char* End) {
    TPiece& P = FPieces[FCount - 1];
    P.Data = P.Own;
    P.Size = size_t(End - P.Own);
  }
  // Writes the pieces held after what the result already has.
  void Flush() {
    size_t Size = FOut.size(), Total = Size;
    for (size_t I = 0; I < FCount; ++I) Total += FPieces[I].Size;
    FOut.resize(Total);
    char* To = FOut.data() + Size;
    for (size_t I = 0; I < FCount; ++I) {
      const TPiece& P = FPieces[I];
      if (P.Data)
        std::memcpy(To, P.Data, P.Size);
      else
        std::memset(To, P.Own[0], P.Size);
      To += P.Size;
    }
    FCount = 0;
  }

 private:
  struct TPiece {
    const char* Data;
    size_t Size;
    char Own[24];
  };
  // A pattern with more pieces than this writes them in parts.
  TPiece& Next() {
    if (FCount == std::size(FPieces)) Flush();
    return FPieces[FCount++];
  }
  String& FOut;
  TPiece FPieces[16];
  size_t FCount = 0;
};

// A fill of spaces to Width around Size characters, before or after.
size_t FillTo(int Width, size_t Size) { return Width > int(Size) ? size_t(Width) - Size : 0; }

}  // namespace

// One pass over the pattern collects the pieces of the result; then one write. Numbers
// are written with to_chars into the pieces themselves, strings come straight from the
// arguments: nothing is built in between.
String Format(const String& Fmt, std::initializer_list<TVarRec> Args) {
  String Out;
  TFormatPieces Pieces(Out);
  const TVarRec* Arg = Args.begin();
  size_t ArgCount = Args.size(), Next = 0;
  const char *P = Fmt.data(), *End = P + Fmt.size();
  while (P < End) {
    // Patterns are short: a plain scan, not a library call for each run.
    const char* Directive = P;
    while (Directive < End && *Directive != '%') ++Directive;
    Pieces.Text(P, size_t(Directive - P));
    if (Directive == End) break;
    P = Directive + 1;
    if (P >= End) FormatError(Fmt);
    if (*P == '%') {
      Pieces.Text(P, 1);
      ++P;
      continue;
    }
    // The plain directives, as most patterns have them: no index, flag, width or precision.
    if ((*P == 'd' || *P == 's') && Next < ArgCount) {
      const TVarRec& A = Arg[Next];
      if (A.IsString() == (*P == 's')) {
        ++Next;
        ++P;
        if (A.IsString()) {
          Pieces.Text(A.AsString());
        } else {
          char* Digits = Pieces.Room();
          Pieces.Commit(std::to_chars(Digits, Digits + 24, A.AsInteger()).ptr);
        }
        continue;
      }
    }
    // [index ":"] ["-"] [width] ["." prec] type
    auto ReadNumber = [&](int& Value) {
      bool Any = false;
      Value = 0;
      while (P < End && *P >= '0' && *P <= '9') {
        if (Value > 100000) FormatError(Fmt);
        Value = Value * 10 + (*P++ - '0');
        Any = true;
      }
      return Any;
    };
    int N = 0;
    const char* Save = P;
    if (ReadNumber(N) && P < End && *P == ':') {
      Next = size_t(N);
      ++P;
    } else {
      P = Save;
    }
    bool Left = false;
    if (P < End && *P == '-') {
      Left = true;
      ++P;
    }
    int Width = 0, Prec = -1;
    ReadNumber(Width);
    if (P < End && *P == '.') {
      ++P;
      if (!ReadNumber(Prec)) FormatError(Fmt);
    }
    if (P >= End || Next >= ArgCount) FormatError(Fmt);
    const TVarRec& A = Arg[Next++];
    char Type = Lower(*P++);
    if (Type == 'd' || Type == 'u' || Type == 'x') {
      if (A.IsString()) FormatError(Fmt);
      char Digits[24];
      char* DigitsEnd;
      bool Negative = false;
      if (Type == 'x') {
        DigitsEnd = std::to_chars(Digits, Digits + sizeof Digits, (unsigned long long)A.AsInteger(), 16).ptr;
        for (char* C = Digits; C < DigitsEnd; ++C) *C = Upper(*C);
      } else {
        long long V = Type == 'u' ? (long long)(unsigned)A.AsInteger() : A.AsInteger();
        DigitsEnd = std::to_chars(Digits, Digits + sizeof Digits, V).ptr;
        Negative = Digits[0] == '-';
      }
      const char* First = Digits + (Negative ? 1 : 0);
      size_t Count = size_t(DigitsEnd - First);
      // A precision is the least number of digits, zeros in front.
      size_t Zeros = Prec > int(Count) ? size_t(Prec) - Count : 0;
      size_t Fill = FillTo(Width, size_t(Negative) + Zeros + Count);
      if (!Left) Pieces.Fill(' ', Fill);
      if (Negative) Pieces.Text("-", 1);
      Pieces.Fill('0', Zeros);
      char* Room = Pieces.Room();
      std::memcpy(Room, First, Count);
      Pieces.Commit(Room + Count);
      if (Left) Pieces.Fill(' ', Fill);
    } else if (Type == 's') {
      if (!A.IsString()) FormatError(Fmt);
      std::string_view Text = A.AsString();
      if (Prec >= 0 && size_t(Prec) < Text.size()) Text = Text.substr(0, size_t(Prec));
      size_t Fill = FillTo(Width, Text.size());
      if (!Left) Pieces.Fill(' ', Fill);
      Pieces.Text(Text);
      if (Left) Pieces.Fill(' ', Fill);
    } else {
      FormatError(Fmt);
    }
  }
  Pieces.Flush();
  return Out;
}

String IntToStr(long long Value) {
  char Buf[24];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, Value);
  return String(Buf, R.ptr);
}

String IntToHex(long long Value, int Digits) {
  char Buf[24];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, (unsigned long long)Value, 16);
  String S(Buf, R.ptr);
  for (char& C : S) C = Upper(C);
  if (int(S.size()) < Digits) S.insert(0, size_t(Digits) - S.size(), '0');
  return S;
}

bool TryStrToInt64(const String& S, long long& Value) {
  String T = Trim(S);
  if (T.empty()) return false;
  const char* P = T.data();
  const char* End = P + T.size();
  bool Neg = false;
  if (*P == '-' || *P == '+') {
    Neg = *P == '-';
    ++P;
  }
  int Base = 10;
  if (P < End && *P == '$') {
    Base = 16;
    ++P;
  } else if (End - P > 2 && P[0] == '0' && (P[1] == 'x' || P[1] == 'X')) {
    Base = 16;
    P += 2;
  }
  if (P == End || *P == '-' || *P == '+') return false;
  unsigned long long U = 0;
  auto R = std::from_chars(P, End, U, Base);
  if (R.ec != std::errc() || R.ptr != End) return false;
  if (Base == 10 && U > (unsigned long long)LLONG_MAX + (Neg ? 1 : 0)) return false;
  Value = Neg ? (long long)(0 - U) : (long long)U;
  return true;
}

bool TryStrToInt(const String& S, int& Value) {
  long long V;
  if (!TryStrToInt64(S, V)) return false;
  // Hexadecimal literals may name the full 32 bits, as the platform's do.
  bool Hex = S.find('$') != String::npos || S.find("0x") != String::npos || S.find("0X") != String::npos;
  if (V < INT_MIN || V > (Hex ? (long long)UINT_MAX : (long long)INT_MAX)) return false;
  Value = int(V);
  return true;
}

int StrToInt(const String& S) {
  int V;
  if (!TryStrToInt(S, V)) throw EConvertError(Format("'%s' is not a valid integer value", {S}));
  return V;
}

long long StrToInt64(const String& S) {
  long long V;
  if (!TryStrToInt64(S, V)) throw EConvertError(Format("'%s' is not a valid integer value", {S}));
  return V;
}

int StrToIntDef(const String& S, int Default) {
  int V;
  return TryStrToInt(S, V) ? V : Default;
}

int CompareText(const String& S1, const String& S2) noexcept {
  size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I) {
    unsigned char A = (unsigned char)Upper(S1[I]), B = (unsigned char)Upper(S2[I]);
    if (A != B) return A < B ? -1 : 1;
  }
  return S1.size() == S2.size() ? 0 : (S1.size() < S2.size() ? -1 : 1);
}

bool SameText(const String& S1, const String& S2) noexcept {
  if (S1.size() != S2.size()) return false;
  for (size_t I = 0; I < S1.size(); ++I)
    if (Upper(S1[I]) != Upper(S2[I])) return false;
  return true;
}

int CompareStr(const String& S1, const String& S2) noexcept {
  int R = S1.compare(S2);
  return R < 0 ? -1 : (R > 0 ? 1 : 0);
}

String UpperCase(const String& S) {
  String R = S;
  for (char& C : R) C = Upper(C);
  return R;
}

String LowerCase(const String& S) {
  String R = S;
  for (char& C : R) C = Lower(C);
  return R;
}

String TrimLeft(const String& S) {
  size_t B = 0;
  while (B < S.size() && (IsSpace(S[B]) || S[B] == 0)) ++B;
  return S.substr(B);
}

String TrimRight(const String& S) {
  size_t E = S.size();
  while (E > 0 && (IsSpace(S[E - 1]) || S[E - 1] == 0)) --E;
  return S.substr(0, E);
}

String Trim(const String& S) { return TrimLeft(TrimRight(S)); }

String QuotedStr(const String& S) {
  String R = "'";
  for (char C : S) {
    R += C;
    if (C == '\'') R += '\'';
  }
  return R + "'";
}

String StringReplaceAll(const String& S, const String& OldPattern, const String& NewPattern) {
  if (OldPattern.empty()) return S;
  String R;
  size_t Pos = 0;
  for (size_t F; (F = S.find(OldPattern, Pos)) != String::npos; Pos = F + OldPattern.size())
    R.append(S, Pos, F - Pos).append(NewPattern);
  return R.append(S, Pos, String::npos);
}

bool FileExists(const String& FileName) {
  struct stat St;
  return stat(FileName.c_str(), &St) == 0 && S_ISREG(St.st_mode);
}

bool DirectoryExists(const String& Name) {
  struct stat St;
  return stat(Name.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

String ExtractFilePath(const String& FileName) {
  size_t P = FileName.rfind('/');
  return P == String::npos ? String() : FileName.substr(0, P + 1);
}

String ExtractFileDir(const String& FileName) {
  size_t P = FileName.rfind('/');
  if (P == String::npos) return {};
  return P == 0 ? String("/") : FileName.substr(0, P);
}

String ExtractFileName(const String& FileName) {
  size_t P = FileName.rfind('/');
  return P == String::npos ? FileName : FileName.substr(P + 1);
}

String ExtractFileExt(const String& FileName) {
  size_t Slash = FileName.rfind('/');
  size_t Dot = FileName.rfind('.');
  if (Dot == String::npos || (Slash != String::npos && Dot < Slash)) return {};
  return FileName.substr(Dot);
}

String ChangeFileExt(const String& FileName, const String& Extension) {
  String Ext = ExtractFileExt(FileName);
  return FileName.substr(0, FileName.size() - Ext.size()) + Extension;
}

String ExpandFileName(const String& FileName) {
  if (!FileName.empty() && FileName[0] == '/') return FileName;
  char Buf[4096];
  if (!getcwd(Buf, sizeof Buf)) return FileName;
  return String(Buf) + "/" + FileName;
}

String SysErrorMessage(int ErrorCode) { return std::strerror(ErrorCode); }
