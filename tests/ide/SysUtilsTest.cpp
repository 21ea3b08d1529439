// The platform's string helpers.
#include <gtest/gtest.h>

#include <vector>

#include "SysUtils.h"

namespace {

TEST(Format, SubstitutesIntegersAndStrings) {
  EXPECT_EQ(Format("%d - %s", {3, "CustomerID"}), "3 - CustomerID");
  EXPECT_EQ(Format("%5d|%-4s|%.3d|%%", {42, "ab", 7}), "   42|ab  |007|%");
  EXPECT_EQ(Format("%x %u", {255, -1}), "FF 4294967295");
  EXPECT_EQ(Format("%1:s %0:s", {"a", "b"}), "b a");
  EXPECT_EQ(Format("%.2s", {"abcdef"}), "ab");
  EXPECT_EQ(Format("no directives", {}), "no directives");
  // Precision counts digits, not the sign; width pads the whole.
  EXPECT_EQ(Format("%.4d|%6.3d|%-6d|%3d", {-7, -5, -12, 123456}), "-0007|  -005|-12   |123456");
  EXPECT_EQ(Format("%s and %s", {String("a temporary"), std::string(3, 'x')}), "a temporary and xxx");
}

// Results longer than a string holds in itself, and patterns of more pieces than Format
// collects before it writes them out.
TEST(Format, LongResultsAndManyDirectivesComeOutWhole) {
  String Name(40, 'n');
  EXPECT_EQ(Format("%d - %s", {123456, Name}), "123456 - " + Name);
  String Pattern, Expected;
  for (int I = 0; I < 30; ++I) {
    Pattern += "[%-3d%5s]";
    Expected += "[" + IntToStr(I) + String(3 - IntToStr(I).size(), ' ') + "    x]";
  }
  std::vector<String> Xs(30, "x");
  EXPECT_EQ(Format(Pattern, {0, Xs[0], 1, Xs[1], 2, Xs[2], 3, Xs[3], 4, Xs[4], 5, Xs[5], 6, Xs[6],
                             7, Xs[7], 8, Xs[8], 9, Xs[9], 10, Xs[10], 11, Xs[11], 12, Xs[12],
                             13, Xs[13], 14, Xs[14], 15, Xs[15], 16, Xs[16], 17, Xs[17], 18, Xs[18],
                             19, Xs[19], 20, Xs[20], 21, Xs[21], 22, Xs[22], 23, Xs[23], 24, Xs[24],
                             25, Xs[25], 26, Xs[26], 27, Xs[27], 28, Xs[28], 29, Xs[29]}),
            Expected);
  EXPECT_EQ(Format("%8.4x|%-4X|%.3u", {255, 10, 5}), "    00FF|A   |005");
}

TEST(Format, RefusesDirectivesThatDoNotMatch) {
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s", {1}), EConvertError);
  EXPECT_THROW(Format("%d %d", {1}), EConvertError);
  EXPECT_THROW(Format("%", {1}), EConvertError);
  EXPECT_THROW(Format("%q", {1}), EConvertError);
}

TEST(Conversions, IntegersAndTheirText) {
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(StrToInt(" 12 "), 12);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("-0x10"), -16);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_THROW(StrToInt("2147483648"), EConvertError);
  EXPECT_EQ(StrToIntDef("", 5), 5);
  EXPECT_EQ(StrToIntDef("x", -1), -1);
  EXPECT_EQ(StrToIntDef("-", 3), 3);
  EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(Comparison, IgnoresCaseOfLettersOnly) {
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_TRUE(SameText("Columns", "COLUMNS"));
  EXPECT_FALSE(SameText("a_", "A-"));
  EXPECT_EQ(UpperCase("TOmDBGrid"), "TOMDBGRID");
}

TEST(FileNames, SplitAsThePlatformDoes) {
  EXPECT_EQ(ExtractFilePath("/a/b/c.dfm"), "/a/b/");
  EXPECT_EQ(ExtractFileName("/a/b/c.dfm"), "c.dfm");
  EXPECT_EQ(ExtractFileExt("/a/b.x/c"), "");
  EXPECT_EQ(ChangeFileExt("/a/c.dfm", ".cpp"), "/a/c.cpp");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
}

}  // namespace
