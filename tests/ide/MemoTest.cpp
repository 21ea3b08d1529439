// The memo: its text with CR LF breaks, its lines as the platform counts them, its
// events, and loading and saving files without losing anything on failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "StdCtrls.h"
#include "WindowFixture.h"

namespace fs = std::filesystem;

namespace {

class TMemoLog : public TObject {
 public:
  int Changes = 0;
  std::vector<int> Downs;
  String Pressed;
  void Change(TObject*) { ++Changes; }
  void KeyDown(TObject*, Word& Key, TShiftState) { Downs.push_back(Key); }
  void KeyPress(TObject*, char& Key) {
    Pressed += Key;
    if (Key == '|') Key = 0;
  }
};

class MemoTest : public WindowTest {
 protected:
  void SetUp() override {
    Form = NewForm("Editor");
    Memo = Add<TMemo>(Form, "Memo");
    Memo->OnChange = Closure<&TMemoLog::Change>(&Log);
    Memo->OnKeyDown = Closure<&TMemoLog::KeyDown>(&Log);
    Memo->OnKeyPress = Closure<&TMemoLog::KeyPress>(&Log);
    Form->Show();
    Dir = fs::temp_directory_path() / ("om-memo-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  static String Slurp(const fs::path& P) {
    std::ifstream In(P, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
  TMemoLog Log;
  TForm* Form;
  TMemo* Memo;
  fs::path Dir;
};

TEST_F(MemoTest, LinesAreCountedAsThePlatformCountsThem) {
  struct {
    const char* Text;
    int Count;
  } Cases[] = {{"", 0},     {"a", 1},        {"a\r\n", 1},     {"a\r\nb", 2},
               {"\r\n", 1}, {"\r\n\r\n", 2}, {"a\r\n\r\nb", 3}};
  for (auto& C : Cases) {
    Memo->SetText(C.Text);
    EXPECT_EQ(Memo->Lines()->Count(), C.Count) << '"' << C.Text << '"';
  }
  // Any line break given becomes CR LF.
  Memo->SetText("a\rb\nc\r\nd");
  EXPECT_EQ(Memo->Text(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(Memo->Lines()->Strings(1), "b");
}

TEST_F(MemoTest, LinesEditTheTextAsThePlatformsMemoDoes) {
  Memo->Lines()->Add("a");
  Memo->Lines()->Add("b");
  EXPECT_EQ(Memo->Text(), "a\r\nb\r\n");
  Memo->SetText("a");
  Memo->Lines()->Add("b");
  EXPECT_EQ(Memo->Text(), "a\r\nb");
  Memo->Lines()->Insert(0, "z");
  EXPECT_EQ(Memo->Text(), "z\r\na\r\nb");
  Memo->Lines()->Delete(2);
  EXPECT_EQ(Memo->Text(), "z\r\na\r\n");
  Memo->Lines()->SetStrings(0, "y");
  EXPECT_EQ(Memo->Lines()->Text(), "y\r\na\r\n");
  EXPECT_THROW(Memo->Lines()->Strings(5), EStringListError);
}

TEST_F(MemoTest, TypingFiresTheKeyEventsAndChangeForEveryCharacter) {
  Input().Type("ab|").Key(VK_RETURN).Type("c").Key(VK_BACK).Key(VK_BACK);
  Application->ProcessInput();
  EXPECT_EQ(Memo->Text(), "ab");
  EXPECT_EQ(Log.Downs, (std::vector<int>{'A', 'B', VK_RETURN, 'C', VK_BACK, VK_BACK}));
  EXPECT_EQ(Log.Pressed, String("ab|\r") + "c\b\b");
  EXPECT_EQ(Log.Changes, 6) << "a, b, the line break, c and two deletions";
  EXPECT_EQ(Memo->CaretPos(), Point(2, 0));
}

TEST_F(MemoTest, LoadingTakesTheFileWholeAndAFailureLeavesTheMemoAlone) {
  std::ofstream(Dir / "unix.txt", std::ios::binary) << "one\ntwo";
  Memo->SetText("kept");
  Log.Changes = 0;
  Memo->Lines()->LoadFromFile((Dir / "unix.txt").string());
  EXPECT_EQ(Memo->Text(), "one\r\ntwo");
  EXPECT_EQ(Log.Changes, 1);
  Memo->SetText("kept");
  for (const fs::path& Bad : {Dir / "missing.txt", Dir}) {
    try {
      Memo->Lines()->LoadFromFile(Bad.string());
      FAIL() << "no error for " << Bad;
    } catch (EFOpenError& E) {
      EXPECT_NE(String(E.Message).find(Bad.string()), String::npos) << E.Message;
    }
    EXPECT_EQ(Memo->Text(), "kept");
  }
}

TEST_F(MemoTest, SavingWritesCrLfLinesAndAFailedSaveKeepsTheOldFile) {
  Memo->SetText("x\r\ny");
  fs::path Target = Dir / "out.txt";
  Memo->Lines()->SaveToFile(Target.string());
  EXPECT_EQ(Slurp(Target), "x\r\ny\r\n");
  // Saving over a folder fails with a file error; the folder and the old file stand.
  fs::create_directories(Dir / "sub");
  EXPECT_THROW(Memo->Lines()->SaveToFile((Dir / "sub").string()), EFCreateError);
  EXPECT_TRUE(fs::is_directory(Dir / "sub"));
  EXPECT_THROW(Memo->Lines()->SaveToFile((Dir / "none" / "out.txt").string()), EFCreateError);
  EXPECT_EQ(Slurp(Target), "x\r\ny\r\n");
  for (auto& E : fs::directory_iterator(Dir))
    EXPECT_TRUE(E.path() == Target || E.path() == Dir / "sub") << "left behind: " << E.path();
}

TEST_F(MemoTest, AFormFileKeepsTheLines) {
  Memo->Lines()->Add("first");
  Memo->Lines()->Add("");
  Memo->Lines()->Add("third");
  Memo->SetScrollBars(ssBoth);
  String Text = ComponentToText(Form);
  EXPECT_NE(Text.find("Lines.Strings = (\n      'first'\n      ''\n      'third')"), String::npos)
      << Text;
  EXPECT_NE(Text.find("ScrollBars = ssBoth"), String::npos);
}

TEST_F(MemoTest, LinesGivenTogetherReachTheMemoOnceAndReadBackAsGiven) {
  // 20,000 lines: through the memo's text one by one this took minutes.
  TStringList Many;
  for (int I = 0; I < 20000; ++I) Many.Add("line " + IntToStr(I));
  Many.Add("");
  Log.Changes = 0;
  Memo->Lines()->Assign(&Many);
  EXPECT_EQ(Log.Changes, 1);
  ASSERT_EQ(Memo->Lines()->Count(), 20001);
  EXPECT_EQ(Memo->Lines()->Strings(19999), "line 19999");
  EXPECT_EQ(Memo->Lines()->Strings(20000), "");
  EXPECT_EQ(Memo->Text(), Many.Text());
  // Lines edited between BeginUpdate and EndUpdate, in every place.
  TStrings* L = Memo->Lines();
  L->BeginUpdate();
  L->Clear();
  L->Add("b");
  L->Insert(0, "a");
  L->Add("d");
  L->Insert(2, "c");
  L->SetStrings(3, "D");
  L->Add("");
  L->Add("f");
  L->Delete(4);
  EXPECT_EQ(L->Count(), 5);
  L->EndUpdate();
  EXPECT_EQ(Memo->Text(), "a\r\nb\r\nc\r\nD\r\nf\r\n");
  // The memo's own text changed afterwards is what the lines then show.
  Memo->SetText("x\r\ny");
  EXPECT_EQ(L->Count(), 2);
  EXPECT_EQ(L->Strings(1), "y");
  L->Add("z");
  EXPECT_EQ(Memo->Text(), "x\r\ny\r\nz");
}

}  // namespace
