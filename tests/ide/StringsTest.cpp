// String lists: text, sorting, change events, files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestClasses.h"

namespace {

TEST(StringList, TextJoinsWithCrLfAndSplitsOnAnyBreak) {
  TStringList L;
  L.SetText("one\r\ntwo\nthree\rfour");
  ASSERT_EQ(L.Count(), 4);
  EXPECT_EQ(L.Strings(3), "four");
  EXPECT_EQ(L.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  L.SetText("a\r\n\r\n");
  EXPECT_EQ(L.Count(), 2);
  L.SetText("");
  EXPECT_EQ(L.Count(), 0);
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  TStringList L;
  L.SetCommaText("a, \"b c\",\"say \"\"hi\"\"\",");
  ASSERT_EQ(L.Count(), 4);
  EXPECT_EQ(L.Strings(1), "b c");
  EXPECT_EQ(L.Strings(2), "say \"hi\"");
  EXPECT_EQ(L.Strings(3), "");
  EXPECT_EQ(L.CommaText(), "a,\"b c\",\"say \"\"hi\"\"\",\"\"");
}

TEST(StringList, SortedListsFindAndRefuseInsert) {
  TStringList L;
  L.SetSorted(true);
  L.Add("pear");
  L.Add("Apple");
  L.Add("fig");
  EXPECT_EQ(L.Strings(0), "Apple");
  EXPECT_EQ(L.IndexOf("FIG"), 1);
  EXPECT_EQ(L.Add("apple"), 0);  // ignored duplicate
  EXPECT_EQ(L.Count(), 3);
  L.SetDuplicates(dupError);
  EXPECT_THROW(L.Add("Pear"), EStringListError);
  EXPECT_THROW(L.Insert(0, "x"), EStringListError);
  EXPECT_THROW(L.Strings(3), EStringListError);
}

struct TListener : TObject {
  int Changes = 0;
  void Changed(TObject*) { ++Changes; }
};

TEST(StringList, ChangeEventsComeOncePerUpdate) {
  TStringList L;
  TListener Listener;
  L.OnChange = Closure<&TListener::Changed>(&Listener);
  L.Add("a");
  EXPECT_EQ(Listener.Changes, 1);
  L.BeginUpdate();
  L.Add("b");
  L.Add("c");
  L.EndUpdate();
  EXPECT_EQ(Listener.Changes, 2);
  L.SetText("x\ny\nz");
  EXPECT_EQ(Listener.Changes, 3);
}

TEST(StringList, SaveReplacesTheFileWholeAndLoadReadsIt) {
  auto Dir = std::filesystem::temp_directory_path() / ("omstrings" + std::to_string(getpid()));
  std::filesystem::create_directories(Dir);
  String Path = (Dir / "lines.txt").string();
  TStringList L;
  L.SetText("first\nsecond");
  L.SaveToFile(Path);
  TStringList R;
  R.LoadFromFile(Path);
  EXPECT_TRUE(R.Equals(&L));
  // A failed save names the file and leaves the old content.
  std::filesystem::permissions(Dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (getuid() != 0) {  // root writes anywhere
    EXPECT_THROW(L.SaveToFile(Path), EFCreateError);
    R.LoadFromFile(Path);
    EXPECT_EQ(R.Text(), "first\r\nsecond\r\n");
  }
  std::filesystem::permissions(Dir, std::filesystem::perms::owner_all);
  // A folder or a missing file cannot be loaded; the list keeps its lines.
  EXPECT_THROW(R.LoadFromFile(Dir.string()), EFOpenError);
  EXPECT_THROW(R.LoadFromFile((Dir / "missing.txt").string()), EFOpenError);
  EXPECT_EQ(R.Count(), 2);
  std::filesystem::remove_all(Dir);
}

}  // namespace
