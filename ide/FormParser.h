// The tokenizer of the text form format. Private to the IDE; TReader stands on it.
#pragma once

#include <string_view>
#include <vector>

#include "Classes.h"

enum class TTokenKind { Eof, Ident, String, Integer, Float, Char };

struct TToken {
  TTokenKind Kind = TTokenKind::Eof;
  int Line = 1;
  int Column = 1;
  std::string_view Text;  // identifiers, numbers, characters: as written
  String Str;             // strings: decoded, pieces joined
  long long Int = 0;
  char Ch = 0;
};

class TFormParser {
 public:
  // The parser keeps the text: tokens point into it.
  TFormParser(String Text, const String& FileName);
  // Reads text the caller keeps while the parser lives.
  TFormParser(std::string_view Text, const String& FileName);

  const TToken& Token() const noexcept { return FToken; }
  void Next();
  bool IsChar(char C) const noexcept { return FToken.Kind == TTokenKind::Char && FToken.Ch == C; }
  bool IsIdent(std::string_view Word) const noexcept;
  // Raises EParserError at the current token: "expected X but found Y".
  [[noreturn]] void Expected(const String& What) const;
  [[noreturn]] void ErrorAt(int Line, int Column, const String& Message) const;
  [[noreturn]] void Error(const String& Message) const;
  void CheckChar(char C);
  String TakeIdent(const char* What);  // an identifier, then the next token
  // The current token is '{': reads the hex digits up to '}' and the token after it.
  std::vector<Byte> ReadBinary();
  // How the current token reads in a message.
  String Describe() const;
  const String& FileName() const noexcept { return FFileName; }

 private:
  void ReadString(std::size_t Start);  // Start: where the token begins
  char Peek(std::size_t Ahead = 0) const noexcept {
    return FPos + Ahead < FText.size() ? FText[FPos + Ahead] : '\0';
  }
  bool AtEnd() const noexcept { return FPos >= FText.size(); }
  void SkipBlanks();
  void Start();
  int Column() const noexcept { return int(FPos - FLineStart) + 1; }

  String FOwnedText;
  std::string_view FText;
  String FFileName;
  std::size_t FPos = 0;
  std::size_t FLineStart = 0;
  int FLine = 1;
  TToken FToken;
};
