#include "FormParser.h"

#include <array>
#include <charconv>

namespace {
// One look-up a character: a form is mostly names, blanks and quoted text.
enum : unsigned char { cIdentStart = 1, cIdentChar = 2, cBlank = 4, cStringEnd = 8 };
constexpr auto CharClasses = [] {
  std::array<unsigned char, 256> T{};
  for (int C = 'A'; C <= 'Z'; ++C) T[C] = T[C + 32] = cIdentStart | cIdentChar;
  T['_'] = cIdentStart | cIdentChar;
  for (int C = '0'; C <= '9'; ++C) T[C] = cIdentChar;
  for (unsigned char C : {' ', '\t', '\r', '\f', '\v', '\n'}) T[C] |= cBlank;
  for (unsigned char C : {'\'', '\n', '\r'}) T[C] |= cStringEnd;
  return T;
}();
bool Is(char C, unsigned char Class) { return CharClasses[(unsigned char)C] & Class; }
bool IsIdentStart(char C) { return Is(C, cIdentStart); }
bool IsIdentChar(char C) { return Is(C, cIdentChar); }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}
void AppendUtf8(String& S, unsigned long Code) {
  if (Code < 0x80) {
    S += char(Code);
  } else if (Code < 0x800) {
    S += char(0xC0 | (Code >> 6));
    S += char(0x80 | (Code & 0x3F));
  } else if (Code < 0x10000) {
    S += char(0xE0 | (Code >> 12));
    S += char(0x80 | ((Code >> 6) & 0x3F));
    S += char(0x80 | (Code & 0x3F));
  } else {
    S += char(0xF0 | (Code >> 18));
    S += char(0x80 | ((Code >> 12) & 0x3F));
    S += char(0x80 | ((Code >> 6) & 0x3F));
    S += char(0x80 | (Code & 0x3F));
  }
}
}  // namespace

TFormParser::TFormParser(String Text, const String& FileName)
    : FOwnedText(std::move(Text)), FText(FOwnedText), FFileName(FileName) {
  Start();
}

TFormParser::TFormParser(std::string_view Text, const String& FileName)
    : FText(Text), FFileName(FileName) {
  Start();
}

void TFormParser::Start() {
  // A UTF-8 byte order mark is not part of the form.
  if (FText.substr(0, 3) == "\xEF\xBB\xBF") FPos = FLineStart = 3;
  Next();
}

void TFormParser::ErrorAt(int Line, int Column, const String& Message) const {
  throw EParserError(FFileName, Line, Column, Message);
}

void TFormParser::Error(const String& Message) const {
  ErrorAt(FToken.Line, FToken.Column, Message);
}

void TFormParser::Expected(const String& What) const {
  Error("expected " + What + " but found " + Describe());
}

String TFormParser::Describe() const {
  switch (FToken.Kind) {
    case TTokenKind::Eof: return "end of file";
    case TTokenKind::String: return "string";
    case TTokenKind::Ident:
    case TTokenKind::Integer:
    case TTokenKind::Float:
    case TTokenKind::Char: return "'" + String(FToken.Text) + "'";
  }
  return {};
}

bool TFormParser::IsIdent(std::string_view Word) const noexcept {
  if (FToken.Kind != TTokenKind::Ident || FToken.Text.size() != Word.size()) return false;
  for (std::size_t I = 0; I < Word.size(); ++I) {
    char A = FToken.Text[I], B = Word[I];
    if (A >= 'a' && A <= 'z') A = char(A - 32);
    if (B >= 'a' && B <= 'z') B = char(B - 32);
    if (A != B) return false;
  }
  return true;
}

void TFormParser::CheckChar(char C) {
  if (!IsChar(C)) Expected(String("'") + C + "'");
  Next();
}

String TFormParser::TakeIdent(const char* What) {
  if (FToken.Kind != TTokenKind::Ident) Expected(What);
  String S(FToken.Text);
  Next();
  return S;
}

void TFormParser::SkipBlanks() {
  const char* Text = FText.data();
  const std::size_t Size = FText.size();
  std::size_t Pos = FPos;
  while (Pos < Size && Is(Text[Pos], cBlank)) {
    if (Text[Pos] == '\n') {
      ++FLine;
      FLineStart = Pos + 1;
    }
    ++Pos;
  }
  FPos = Pos;
}

void TFormParser::Next() {
  SkipBlanks();
  FToken.Line = FLine;
  FToken.Column = Column();
  FToken.Str.clear();
  std::size_t Start = FPos;
  if (AtEnd()) {
    FToken.Kind = TTokenKind::Eof;
    FToken.Text = {};
    return;
  }
  char C = FText[FPos];
  if (IsIdentStart(C)) {
    // Dotted names (`Font.Name`, `Form2.Table1`) are one token.
    const char* Text = FText.data();
    const std::size_t Size = FText.size();
    std::size_t Pos = FPos + 1;
    for (; Pos < Size; ++Pos) {
      char D = Text[Pos];
      if (!IsIdentChar(D) && !(D == '.' && Pos + 1 < Size && IsIdentStart(Text[Pos + 1]))) break;
    }
    FPos = Pos;
    FToken.Kind = TTokenKind::Ident;
    FToken.Text = FText.substr(Start, FPos - Start);
    return;
  }
  if (C == '\'' || C == '#') {
    ReadString(Start);
    return;
  }
  if (IsDigit(C) || ((C == '-' || C == '+') && (IsDigit(Peek(1)) || Peek(1) == '$')) || C == '$') {
    bool Neg = C == '-';
    if (C == '-' || C == '+') ++FPos;
    int Base = 10;
    if (Peek() == '$') {
      Base = 16;
      ++FPos;
    }
    std::size_t DigitsStart = FPos;
    while (!AtEnd() && (Base == 16 ? HexValue(FText[FPos]) >= 0 : IsDigit(FText[FPos]))) ++FPos;
    bool Float = false;
    if (Base == 10 && Peek() == '.' && IsDigit(Peek(1))) {
      Float = true;
      ++FPos;
      while (!AtEnd() && IsDigit(FText[FPos])) ++FPos;
    }
    if (Base == 10 && (Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
      Float = true;
      FPos += 2;
      while (!AtEnd() && IsDigit(FText[FPos])) ++FPos;
    }
    FToken.Text = FText.substr(Start, FPos - Start);
    if (FPos == DigitsStart) ErrorAt(FToken.Line, FToken.Column, "invalid number '" + String(FToken.Text) + "'");
    if (!AtEnd() && IsIdentChar(FText[FPos])) {
      while (!AtEnd() && IsIdentChar(FText[FPos])) ++FPos;
      ErrorAt(FToken.Line, FToken.Column,
              "invalid number '" + String(FText.substr(Start, FPos - Start)) + "'");
    }
    if (Float) {
      FToken.Kind = TTokenKind::Float;
      return;
    }
    unsigned long long U = 0;
    auto R = std::from_chars(FText.data() + DigitsStart, FText.data() + FPos, U, Base);
    bool Fits = R.ec == std::errc() &&
                (Base == 16 ? U <= 0xFFFFFFFFFFFFFFFFULL : U <= (Neg ? 0x8000000000000000ULL : 0x7FFFFFFFFFFFFFFFULL));
    if (!Fits) ErrorAt(FToken.Line, FToken.Column, "number out of range '" + String(FToken.Text) + "'");
    FToken.Kind = TTokenKind::Integer;
    FToken.Int = Neg ? (long long)(0 - U) : (long long)U;
    return;
  }
  ++FPos;
  FToken.Kind = TTokenKind::Char;
  FToken.Ch = C;
  FToken.Text = FText.substr(Start, 1);
}

// 'text' pieces, #nn and #$hh character codes, joined directly or with '+' across lines.
void TFormParser::ReadString(std::size_t Start) {
  FToken.Kind = TTokenKind::String;
  const std::size_t Size = FText.size();
  for (;;) {
    char C = Peek();
    if (C == '\'') {
      int Line = FLine, Col = Column();
      ++FPos;
      for (;;) {
        // The text up to the next quote is taken whole; a doubled quote is one.
        const char* Text = FText.data();
        std::size_t Run = FPos;
        while (Run < Size && !Is(Text[Run], cStringEnd)) ++Run;
        FToken.Str.append(FText.data() + FPos, Run - FPos);
        FPos = Run;
        if (FPos == Size || FText[FPos] != '\'') ErrorAt(Line, Col, "unterminated string");
        ++FPos;
        if (Peek() != '\'') break;
        FToken.Str += '\'';
        ++FPos;
      }
    } else if (C == '#') {
      int Col = Column();
      ++FPos;
      unsigned long Code = 0;
      bool Any = false;
      if (Peek() == '$') {
        ++FPos;
        while (!AtEnd() && HexValue(FText[FPos]) >= 0) {
          Code = Code * 16 + unsigned(HexValue(FText[FPos++]));
          Any = true;
          if (Code > 0x10FFFF) break;
        }
      } else {
        while (!AtEnd() && IsDigit(FText[FPos])) {
          Code = Code * 10 + unsigned(FText[FPos++] - '0');
          Any = true;
          if (Code > 0x10FFFF) break;
        }
      }
      if (!Any || Code > 0x10FFFF || (!AtEnd() && IsIdentChar(FText[FPos])))
        ErrorAt(FLine, Col, "invalid character code after '#'");
      if (Code < 256)
        FToken.Str += char(Code);
      else
        AppendUtf8(FToken.Str, Code);
    } else {
      // A '+' joins the next piece, which may stand on the following line. Without one
      // the blanks skipped here are the ones the next token would skip.
      FToken.Text = FText.substr(Start, FPos - Start);
      SkipBlanks();
      if (Peek() != '+') return;
      int PlusLine = FLine, PlusCol = Column();
      ++FPos;
      SkipBlanks();
      if (Peek() != '\'' && Peek() != '#') ErrorAt(PlusLine, PlusCol, "expected a string after '+'");
    }
  }
}

std::vector<Byte> TFormParser::ReadBinary() {
  // The token is '{'; the scanner stands right after it.
  int Line = FToken.Line, Col = FToken.Column;
  std::vector<Byte> Data;
  int High = -1;
  for (;;) {
    SkipBlanks();
    if (AtEnd()) ErrorAt(Line, Col, "unterminated binary data: expected '}'");
    char C = FText[FPos];
    if (C == '}') {
      if (High >= 0) ErrorAt(FLine, Column(), "odd number of hexadecimal digits in binary data");
      ++FPos;
      break;
    }
    int V = HexValue(C);
    if (V < 0) ErrorAt(FLine, Column(), String("invalid character '") + C + "' in binary data");
    ++FPos;
    if (High < 0) {
      High = V;
    } else {
      Data.push_back(Byte(High * 16 + V));
      High = -1;
    }
  }
  Next();
  return Data;
}
