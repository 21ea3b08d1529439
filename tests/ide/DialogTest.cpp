// Message boxes, the open and save dialogs with their options, and the report
// expression builder: each takes its answers from the input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Dialogs.h"
#include "Qrexpbld.h"
#include "WindowFixture.h"

namespace fs = std::filesystem;

namespace {

class DialogTest : public WindowTest {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("om-dialogs-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  String Path(const char* Name) const { return (Dir / Name).string(); }
  void Touch(const char* Name) { std::ofstream(Dir / Name) << "old"; }
  String LastLog() const {
    return Application->DialogLog().empty() ? String() : Application->DialogLog().back();
  }
  fs::path Dir;
};

TEST_F(DialogTest, AMessageBoxReturnsTheAnswerAndShowsWhatItAsked) {
  Input().Answer(mrNo);
  EXPECT_EQ(MessageDlg("Delete existing columns?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0),
            mrNo);
  EXPECT_EQ(LastLog(), "Confirm: Delete existing columns? [Yes, No] -> No");
  // Enter is Yes (the default), Escape is the cancel button.
  Input().Key(VK_RETURN);
  EXPECT_EQ(MessageDlg("Go on?", mtWarning, mbYesNoCancel, 12), mrYes);
  EXPECT_EQ(LastLog(), "Warning: Go on? [Yes, No, Cancel] (help context 12) -> Yes");
  Input().Key(VK_ESCAPE);
  EXPECT_EQ(MessageDlg("Go on?", mtWarning, mbYesNoCancel, 0), mrCancel);
  EXPECT_EQ(Screen->FormCount(), 0) << "the box is gone";
}

TEST_F(DialogTest, AnAnswerNoButtonGivesIsAnError) {
  Input().Answer(mrCancel);
  try {
    MessageDlg("Done.", mtInformation, TMsgDlgButtons{mbOK}, 0);
    FAIL() << "no error";
  } catch (EInputError& E) {
    EXPECT_NE(String(E.Message).find("\"Information\""), String::npos) << E.Message;
    EXPECT_NE(String(E.Message).find("OK (1)"), String::npos) << E.Message;
  }
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_THROW(MessageDlg("Nobody answers", mtError, TMsgDlgButtons{mbOK}, 0), EInputError);
}

TEST_F(DialogTest, TheSaveDialogAppendsTheExtensionAndAsksBeforeReplacing) {
  TSaveDialog D(nullptr);
  D.SetTitle("Save Report As");
  D.SetFilter("Delphi unit (*.pas)|*.pas|C++Builder unit (*.cpp)|*.cpp");
  D.SetFileName("OmReportUnit");
  D.SetDefaultExt("pas");
  D.SetOptions(D.Options() + TOpenOptions{ofOverwritePrompt, ofPathMustExist});
  Input().File(Path("Report"));
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.FileName(), Path("Report.pas"));
  // The second filter's extension when that one is chosen.
  Input().File(Path("Report"), 2);
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.FileName(), Path("Report.cpp"));
  // An existing file: No keeps the dialog open for another name, Yes replaces.
  Touch("Old.pas");
  Input().File(Path("Old"), 1).Answer(mrNo).File(Path("Old")).Answer(mrYes);
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.FileName(), Path("Old.pas"));
  EXPECT_EQ(std::count_if(Application->DialogLog().begin(), Application->DialogLog().end(),
                          [](const String& L) { return L.find("already exists") != String::npos; }),
            2);
  // Without the option nothing is asked.
  D.SetOptions(DefaultOpenOptions);
  Input().File(Path("Old.pas"));
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(LastLog(), "Save Report As: " + Path("Old.pas"));
}

TEST_F(DialogTest, PathMustExistRefusesAMissingFolder) {
  TSaveDialog D(nullptr);
  D.SetOptions(D.Options() + TOpenOptions{ofPathMustExist});
  Input().File(Path("nowhere/x.txt")).Answer(mrOk).Answer(mrCancel);
  EXPECT_FALSE(D.Execute());
  EXPECT_NE(Application->DialogLog()[0].find("Path does not exist"), String::npos)
      << Application->DialogLog()[0];
  EXPECT_EQ(LastLog(), "Save As: cancelled");
  // Without it the name is taken as typed.
  D.SetOptions(DefaultOpenOptions);
  Input().File(Path("nowhere/x.txt"));
  EXPECT_TRUE(D.Execute());
}

TEST_F(DialogTest, FileMustExistRefusesAMissingFile) {
  TOpenDialog D(nullptr);
  D.SetTitle("Load text");
  D.SetDefaultExt("txt");
  D.SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
  D.SetOptions(TOpenOptions{ofHideReadOnly, ofPathMustExist, ofFileMustExist});
  D.SetInitialDir(Dir.string());
  Touch("notes.txt");
  Input().File("missing.txt").Answer(mrOk).File("notes");
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.FileName(), Path("notes.txt")) << "relative to the initial folder, extension added";
  EXPECT_NE(Application->DialogLog()[0].find("File not found"), String::npos);
  // A file dialog wants a file name or a cancel, nothing else.
  Input().Key(VK_ESCAPE);
  EXPECT_FALSE(D.Execute());
  Input().Type("x");
  EXPECT_THROW(D.Execute(), EInputError);
  EXPECT_THROW(D.Execute(), EInputError) << "the queue is empty";
}

TEST_F(DialogTest, AFileNameWithoutAFileDialogIsAnError) {
  Input().File("x.txt");
  EXPECT_THROW(Application->ProcessInput(), EInputError);
}

TEST_F(DialogTest, TheExpressionBuilderEditsTheExpression) {
  TForm* Form = NewForm("Form1");
  String Value = "Table1.Name";
  Input().Type("Upper(Name)").Answer(mrOk);
  EXPECT_TRUE(GetExpression("QuickReport's expression", Value, Form, nullptr, nullptr));
  EXPECT_EQ(Value, "Upper(Name)") << "the expression starts selected, so typing replaces it";
  EXPECT_EQ(
      LastLog(),
      "Expression builder: QuickReport's expression = 'Table1.Name' (form Form1) -> 'Upper(Name)'");
  Input().Type("changed").Key(VK_ESCAPE);
  EXPECT_FALSE(GetExpression("QuickReport's expression", Value, nullptr, nullptr, nullptr));
  EXPECT_EQ(Value, "Upper(Name)");
  EXPECT_NE(LastLog().find("(no form) -> cancelled"), String::npos) << LastLog();
  EXPECT_EQ(Screen->FormCount(), 1);
}

}  // namespace
