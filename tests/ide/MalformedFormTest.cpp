// Bad form descriptions: each is refused with the place and the reason, and nothing
// created for the form is left behind.
#include <gtest/gtest.h>

#include "Desktop.h"
#include "TestClasses.h"

namespace {

struct TMalformed {
  const char* Title;
  const char* Text;
  int Line;
  int Column;
  const char* Reason;  // a part of the message
};

std::ostream& operator<<(std::ostream& Os, const TMalformed& M) { return Os << M.Title; }

// Line 1 is always the root; the faults sit below it.
const TMalformed Cases[] = {
    {"Empty", "", 1, 1, "expected 'object' but found end of file"},
    {"NotAForm", "hello", 1, 1, "expected 'object' but found 'hello'"},
    {"Truncated", "object F: TTestForm\n  Caption = 'x'\n", 3, 1, "expected 'end' but found end of file"},
    {"TruncatedInValue", "object F: TTestForm\n  Caption =", 2, 12, "expected a string for Caption"},
    {"UnknownClass", "object F: TTestForm\n  object B: TNoSuchButton\n  end\nend", 2, 13, "class TNoSuchButton not found"},
    {"UnknownRootClass", "object F: TNoSuchForm\nend", 1, 11, "class TNoSuchForm not found"},
    {"UnknownProperty", "object F: TTestForm\n  Captoin = 'x'\nend", 2, 3, "unknown property Captoin of TTestForm"},
    {"UnknownSubProperty", "object F: TTestForm\n  object B: TTestButton\n    Font.Nmae = 'x'\n  end\nend", 3, 5, "unknown property Nmae of TTestFont"},
    {"UnknownSubObject", "object F: TTestForm\n  object B: TTestButton\n    Fnot.Name = 'x'\n  end\nend", 3, 5, "unknown property Fnot of TTestButton"},
    {"StringForInteger", "object F: TTestForm\n  ClientWidth = 'wide'\nend", 2, 17, "expected an integer for ClientWidth (Integer) but found string"},
    {"IntegerForString", "object F: TTestForm\n  Caption = 12\nend", 2, 13, "expected a string for Caption (string)"},
    {"UnterminatedString", "object F: TTestForm\n  Caption = 'abc\nend", 2, 13, "unterminated string"},
    {"BadCharacterCode", "object F: TTestForm\n  Caption = 'a'#x\nend", 2, 16, "invalid character code after '#'"},
    {"CharacterCodeTooLarge", "object F: TTestForm\n  Caption = #99999999\nend", 2, 13, "invalid character code"},
    {"AfterAStringAndBlankLines", "object F: TTestForm\n  Caption = 'a'  \n\n \t 12\nend", 4, 4, "expected a property name but found '12'"},
    {"AfterJoinedPieces", "object F: TTestForm\n  Caption = 'a' +\n    'b'#65\n    = 'c'\nend", 4, 5, "expected a property name but found '='"},
    {"AfterAStringAtTheEnd", "object F: TTestForm\n  Caption = 'a'\n\n", 4, 1, "expected 'end' but found end of file"},
    // A string ends with its line, even where a quote follows on the next one.
    {"UnterminatedAfterDoubledQuote", "object F: TTestForm\n  Caption = 'it''s\n  Caption = 'x'\nend", 2, 13, "unterminated string"},
    {"UnterminatedAtCarriageReturn", "object F: TTestForm\n  Caption = 'abc\r\n  Caption = 'x'\nend", 2, 13, "unterminated string"},
    {"UnterminatedSecondPiece", "object F: TTestForm\n  Caption = 'a' +\n    'b\n  Caption = 'x'\nend", 3, 5, "unterminated string"},
    {"PlusWithoutString", "object F: TTestForm\n  Caption = 'a' + 5\nend", 2, 17, "expected a string after '+'"},
    {"MissingEnd", "object F: TTestForm\n  object B: TTestButton\nend", 3, 4, "expected 'end' but found end of file"},
    {"MissingEquals", "object F: TTestForm\n  Caption 'x'\nend", 2, 11, "expected '=' but found string"},
    {"DuplicateName", "object F: TTestForm\n  object B: TTestButton\n  end\n  object b: TTestButton\n  end\nend", 4, 10, "A component named b already exists"},
    {"InvalidName", "object F: TTestForm\n  object 9B: TTestButton\n  end\nend", 2, 10, "invalid number '9B'"},
    {"UnknownEnumValue", "object F: TTestForm\n  object B: TTestButton\n    Align = tlMiddle\n  end\nend", 3, 13, "'tlMiddle' is not a value of TTestAlign"},
    {"BadBoolean", "object F: TTestForm\n  object B: TTestButton\n    Enabled = Maybe\n  end\nend", 3, 15, "'Maybe' is not a value of Boolean"},
    {"UnknownSetMember", "object F: TTestForm\n  object B: TTestButton\n    Font.Style = [tsBold, tsHuge]\n  end\nend", 3, 27, "'tsHuge' is not a member of TTestFontStyle"},
    {"UnterminatedSet", "object F: TTestForm\n  object B: TTestButton\n    Font.Style = [tsBold\n  end\nend", 4, 3, "expected ',' or ']' but found 'end'"},
    {"UnknownComponentReference", "object F: TTestForm\n  object B: TTestButton\n    Buddy = Nobody\n  end\nend", 3, 13, "unknown component Nobody for property Buddy"},
    {"MethodNotFound", "object F: TTestForm\n  object B: TTestButton\n    OnClick = NoSuchHandler\n  end\nend", 3, 15, "method NoSuchHandler not found in TTestForm"},
    {"MethodWithWrongParameters", "object F: TTestForm\n  object B: TTestButton\n    OnClick = WrongSignature\n  end\nend", 3, 15, "method WrongSignature does not match OnClick (TNotifyEvent)"},
    {"UnterminatedBinary", "object F: TTestForm\n  object B: TTestButton\n    Data = {0102\n", 3, 12, "unterminated binary data"},
    {"OddBinary", "object F: TTestForm\n  object B: TTestButton\n    Data = {012}\n  end\nend", 3, 16, "odd number of hexadecimal digits"},
    {"BadBinaryDigit", "object F: TTestForm\n  object B: TTestButton\n    Data = {01ZZ}\n  end\nend", 3, 15, "invalid character 'Z' in binary data"},
    {"TrailingText", "object F: TTestForm\nend\nobject G: TTestForm\nend", 3, 1, "expected end of file but found 'object'"},
    {"CollectionWithoutItem", "object F: TTestForm\n  object B: TTestButton\n    Items = <\n      thing\n    >\n  end\nend", 4, 7, "expected 'item' or '>' but found 'thing'"},
    {"UnknownItemProperty", "object F: TTestForm\n  object B: TTestButton\n    Items = <\n      item\n        Captoin = 'x'\n      end>\n  end\nend", 5, 9, "unknown property Captoin of TTestItem"},
    {"UnterminatedCollection", "object F: TTestForm\n  object B: TTestButton\n    Items = <\n      item\n      end\n", 6, 1, "expected 'item' or '>' but found end of file"},
    {"IntegerOutOfRange", "object F: TTestForm\n  ClientWidth = 99999999999\nend", 2, 17, "99999999999 is out of range for ClientWidth"},
    {"NumberRunningIntoLetters", "object F: TTestForm\n  ClientWidth = 12abc\nend", 2, 17, "invalid number '12abc'"},
    {"UnterminatedStringList", "object F: TTestForm\n  object B: TTestButton\n    Lines.Strings = (\n      'a'\n", 5, 1, "expected ')' but found end of file"},
    {"IntegerInStringList", "object F: TTestForm\n  object B: TTestButton\n    Lines.Strings = (\n      12)\n  end\nend", 4, 7, "expected a string but found '12'"},
    {"ValueForSubObject", "object F: TTestForm\n  object B: TTestButton\n    Font = 'Arial'\n  end\nend", 3, 12, "is set through its own properties"},
    {"ComponentAsSubObject", "object F: TTestForm\n  object B: TTestButton\n    Buddy.Name = 'x'\n  end\nend", 3, 5, "property Buddy of TTestButton has no properties of its own"},
    {"InheritedForm", "object F: TTestForm\n  inherited B: TTestButton\n  end\nend", 2, 3, "inherited forms are not supported"},
    {"NotAComponentClass", "object F: TTestForm\n  object B: TStringList\n  end\nend", 2, 13, "class TStringList not found"},
};

class MalformedFormTest : public ::testing::TestWithParam<TMalformed> {
 protected:
  TTestClassesRegistration Registration;
};

TEST_P(MalformedFormTest, IsRefusedWithPlaceAndReasonLeavingNothingBehind) {
  const TMalformed& M = GetParam();
  TComponent Owner(nullptr);
  try {
    ComponentFromText(M.Text, "Bad.dfm", nullptr, &Owner);
    FAIL() << "accepted";
  } catch (EReadError& E) {
    EXPECT_EQ(E.FileName, "Bad.dfm");
    EXPECT_EQ(E.Line, M.Line) << E.Message;
    EXPECT_EQ(E.Column, M.Column) << E.Message;
    EXPECT_NE(E.Detail.find(M.Reason), String::npos) << E.Message;
    EXPECT_EQ(E.Message.rfind(Format("Bad.dfm:%d:%d: ", {M.Line, M.Column}), 0), 0u) << E.Message;
  }
  EXPECT_EQ(Owner.ComponentCount(), 0);
}

// A supplied root keeps its own class (the name in the text is only recorded), so every
// case but the unknown root class fails the same way for it.
std::vector<TMalformed> CasesForAnExistingRoot() {
  std::vector<TMalformed> R;
  for (const TMalformed& M : Cases)
    if (String(M.Title) != "UnknownRootClass") R.push_back(M);
  return R;
}

class MalformedIntoRootTest : public MalformedFormTest {};

TEST_P(MalformedIntoRootTest, LeavesTheRootWithoutTheComponentsItRead) {
  const TMalformed& M = GetParam();
  TTestForm Root(nullptr);
  auto* Kept = new TTestButton(&Root);
  Kept->SetName("Kept");
  EXPECT_THROW(ComponentFromText(M.Text, "Bad.dfm", &Root), EReadError);
  ASSERT_EQ(Root.ComponentCount(), 1);
  EXPECT_EQ(Root.Components(0), Kept);
  EXPECT_FALSE(Root.ComponentState().Contains(csLoading));
}

// Shapes that once crashed or lost their place: built here, being too large for the table.
TEST_F(MalformedFormTest, DeepNestingIsRefusedWhereItGoesTooDeep) {
  String Text = "object F: TTestForm\n";
  for (int I = 0; I < 9000; ++I) Text += "object B" + IntToStr(I) + ": TTestButton\n";
  TComponent Owner(nullptr);
  try {
    ComponentFromText(Text, "Deep.dfm", nullptr, &Owner);
    FAIL() << "accepted";
  } catch (EReadError& E) {
    // The root is level 1; the object that would be one level too deep is refused.
    EXPECT_EQ(E.Line, TReader::MaxObjectDepth + 1) << E.Message;
    EXPECT_EQ(E.Column, 1);
    EXPECT_NE(E.Detail.find("nested more than"), String::npos) << E.Message;
  }
  EXPECT_EQ(Owner.ComponentCount(), 0);
  // As deep as is allowed still reads.
  String Deepest = "object F: TTestForm\n";
  for (int I = 1; I < TReader::MaxObjectDepth; ++I) Deepest += "object B" + IntToStr(I) + ": TTestButton\n";
  for (int I = 0; I < TReader::MaxObjectDepth; ++I) Deepest += "end\n";
  delete ComponentFromText(Deepest, "Deepest.dfm", nullptr, &Owner);
}

TEST_F(MalformedFormTest, BinaryDataTooShortForItsPropertyNamesThePlace) {
  TDesktop Desktop;
  TComponent Owner(nullptr);
  try {
    ComponentFromText("object F: TTestForm\n  object I: TImage\n    Picture.Data = {}\n  end\nend",
                      "Picture.dfm", nullptr, &Owner);
    FAIL() << "accepted";
  } catch (EReadError& E) {
    EXPECT_EQ(E.Line, 3) << E.Message;
    EXPECT_EQ(E.Column, 5) << E.Message;
    EXPECT_EQ(E.Message.rfind("Picture.dfm:3:5: ", 0), 0u) << E.Message;
  }
  EXPECT_EQ(Owner.ComponentCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Forms, MalformedFormTest, ::testing::ValuesIn(Cases),
                         [](const auto& Info) { return String(Info.param.Title); });
INSTANTIATE_TEST_SUITE_P(Forms, MalformedIntoRootTest, ::testing::ValuesIn(CasesForAnExistingRoot()),
                         [](const auto& Info) { return String(Info.param.Title); });

}  // namespace
