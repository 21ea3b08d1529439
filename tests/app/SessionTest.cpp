// The omide session: how a line becomes words, how scripts stop and go on, input given
// ahead, and commands that act on what they name.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "FileUtil.h"
#include "Session.h"

namespace {

std::vector<String> W(const String& Line) { return TSession::Words(Line); }

TEST(SessionWords, SplitOnBlanksAndKeepQuotedBlanks) {
  EXPECT_EQ(W("  set   Caption 'Two words'  "), (std::vector<String>{"set", "Caption", "Two words"}));
  EXPECT_EQ(W("set Hint \"it's\""), (std::vector<String>{"set", "Hint", "it's"}));
  EXPECT_EQ(W("set Hint 'it''s'"), (std::vector<String>{"set", "Hint", "it's"}));
  EXPECT_EQ(W("set Hint ''"), (std::vector<String>{"set", "Hint", ""}));
  EXPECT_EQ(W("a'b c'd"), (std::vector<String>{"ab cd"}));
  EXPECT_THROW(W("set Hint 'open"), EConvertError);
}

TEST(SessionWords, ExpandEnvironmentVariables) {
  setenv("OMIDE_TEST_FOLDER", "/tmp/x y", 1);
  EXPECT_EQ(W("save '${OMIDE_TEST_FOLDER}/F.dfm'"), (std::vector<String>{"save", "/tmp/x y/F.dfm"}));
  unsetenv("OMIDE_TEST_FOLDER");
  EXPECT_THROW(W("save ${OMIDE_TEST_FOLDER}/F.dfm"), EConvertError);
  EXPECT_THROW(W("save ${UNCLOSED"), EConvertError);
  // Taken after the split: a value with blanks is one word, an empty one is still a word.
  setenv("OMIDE_TEST_FOLDER", "/tmp/a b.dfm", 1);
  EXPECT_EQ(W("save ${OMIDE_TEST_FOLDER}"), (std::vector<String>{"save", "/tmp/a b.dfm"}));
  setenv("OMIDE_TEST_FOLDER", "", 1);
  EXPECT_EQ(W("save ${OMIDE_TEST_FOLDER}"), (std::vector<String>{"save", ""}));
  unsetenv("OMIDE_TEST_FOLDER");
}

class SessionTest : public ::testing::Test {
 protected:
  TSession Session{false};
  // Runs a script; what it printed.
  // What Run printed to the stream it was given.
  static String Printed(const std::function<void(FILE*)>& Run) {
    char* Buffer = nullptr;
    size_t Size = 0;
    FILE* Out = open_memstream(&Buffer, &Size);
    Run(Out);
    std::fclose(Out);
    String R(Buffer, Size);
    std::free(Buffer);
    return R;
  }
  String Script(const String& Text, int& Status) {
    return Printed([&](FILE* Out) { Status = Session.RunScript(Text, "test.omide", Out); });
  }
  // Runs a script; what it printed, and what it told of errors in Errors.
  String Script(const String& Text, int& Status, String& Errors) {
    testing::internal::CaptureStderr();
    String Out = Script(Text, Status);
    Errors = testing::internal::GetCapturedStderr();
    return Out;
  }
};

TEST_F(SessionTest, AScriptStopsAtItsFirstErrorWithItsPlace) {
  int Status;
  String Out = Script("echo one\nnot-a-command\necho never", Status);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Out, "one\n");
}

TEST_F(SessionTest, AFailedExpectationEndsTheScriptWithBothValuesAndItsPlace) {
  int Status;
  String Errors;
  String Out = Script(
      "new TDataModule DM1\n"
      "expect DM1.Name = DM1\n"
      "expect DM1 saved\n"
      "expect DM1.Tag = 7\n"
      "echo never",
      Status, Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Out.find("never"), String::npos);
  EXPECT_EQ(Errors, "test.omide:4: expected DM1.Tag = 7, but it is 0\n");
  // A state and a list say the same.
  Script("expect DM1 modified", Status, Errors);
  EXPECT_EQ(Errors, "test.omide:1: expected DM1 modified, but it is saved\n");
  Script("select DM1\nexpect selection = DM1 DM1", Status, Errors);
  EXPECT_EQ(Errors, "test.omide:2: expected selection = DM1 DM1, but they are DM1\n");
}

TEST_F(SessionTest, ARunningFormFindsItsDatabaseBesideItsFile) {
  auto Dir = std::filesystem::temp_directory_path() / ("omide-run-" + IntToStr(getpid()));
  std::filesystem::create_directories(Dir);
  std::filesystem::copy_file(std::filesystem::path(OM_DEMO_FORM).parent_path() / "demo.db", Dir / "demo.db");
  String Form = (Dir / "Run.dfm").string();
  FILE* F = std::fopen(Form.c_str(), "w");
  ASSERT_TRUE(F);
  std::fputs("object RunForm: TForm\n  Caption = 'Run'\n  object Orders: TSQLiteDataSet\n"
             "    DatabaseName = 'demo.db'\n    TableName = 'orders'\n    Active = True\n  end\nend\n",
             F);
  std::fclose(F);
  // The process works elsewhere than the form's folder.
  int Status;
  String Errors;
  String Out = Script("run " + Form + "\nexpect RunForm.Orders.Active = True", Status, Errors);
  std::filesystem::remove_all(Dir);
  EXPECT_EQ(Status, 0) << Errors;
  EXPECT_EQ(Out, "running RunForm 'Run'\n");
}

TEST_F(SessionTest, AnExpectedErrorIsShownAndTheScriptGoesOn) {
  int Status;
  String Out = Script("! select Nothing\necho after", Status);
  EXPECT_EQ(Status, 0);  // no form is open: the select fails, as expected
  EXPECT_EQ(Out.rfind("error: no form is open", 0), 0u) << Out;
  EXPECT_NE(Out.find("\nafter\n"), String::npos) << Out;
  Out = Script("new TDataModule DM1\n! select Nothing\necho after\n! echo fine", Status);
  EXPECT_EQ(Status, 1);  // one that succeeds stops the script
  EXPECT_NE(Out.find("error: the form has no component Nothing\nafter\n"), String::npos) << Out;
}

TEST_F(SessionTest, InputGivenAheadMustBeTaken) {
  int Status;
  String Out = Script("ahead answer Yes\necho nothing takes it", Status);
  EXPECT_EQ(Status, 1);
  Out = Script("ahead answer No\nmessage confirmation 'Go on?' YesNo", Status);
  EXPECT_EQ(Status, 0);
  EXPECT_EQ(Out, "answered No\n");
  // An empty queue met by a message box is an error naming it, not a hang.
  EXPECT_THROW(Session.Run("message warning 'Nobody answers'"), Exception);
}

TEST_F(SessionTest, AheadOfAheadIsAheadHoweverDeep) {
  int Status;
  String Line;
  for (int I = 0; I < 20000; ++I) Line += "ahead ";
  // Deep nesting once re-joined and re-split the words at every level.
  String Out = Script(Line + "answer Cancel\nmessage confirmation 'Go on?' OKCancel", Status);
  EXPECT_NE(Out.find("Cancel"), String::npos) << Out;
  EXPECT_EQ(Status, 0);
  Script("ahead ahead", Status);
  EXPECT_EQ(Status, 1);
}

TEST_F(SessionTest, APackageWhoseRegisterRaisesFailsItsLoad) {
  int Status;
  String Errors;
  Script(String("load ") + OM_BIN_DIR + "/omtestpkg_raising" + IntToStr(OM_HOST_RELEASE) + ".so",
         Status, Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_NE(Errors.find("was loaded, but not all of it registered"), String::npos) << Errors;
}

TEST_F(SessionTest, CommandsSayWhatTheyNeed) {
  EXPECT_THROW(Session.Run("components"), EConvertError);  // no form
  Session.Run("new TDataModule DM1");
  EXPECT_EQ(Session.Run("inspect").Text, "(nothing selected)\n");
  EXPECT_THROW(Session.Run("set"), EConvertError);
  EXPECT_THROW(Session.Run("select DM1.Nothing"), EConvertError);
  EXPECT_THROW(Session.Run("key Hyper+X"), EConvertError);
  EXPECT_THROW(Session.Run("answer Maybe"), EConvertError);
  EXPECT_THROW(Session.Run("window NoWindow"), EConvertError);
  Session.Run("select DM1");
  EXPECT_NE(Session.Run("inspect").Text.find("OnCreate"), String::npos);
}

// A command refuses the words it does not take before it does anything, rather than act
// on the first ones and drop the rest.
TEST_F(SessionTest, CommandsRefuseWordsTheyDoNotTake) {
  auto UsageOf = [&](const String& Line) -> String {
    try {
      Session.Run(Line);
    } catch (Exception& E) {
      return E.Message;
    }
    return "(no error)";
  };
  Session.Run("new TDataModule DM1");
  String Dir =
      (std::filesystem::temp_directory_path() / ("omide-session-" + IntToStr(getpid()))).string();
  std::filesystem::create_directories(Dir);
  EXPECT_EQ(UsageOf("save " + Dir + "/a.dfm " + Dir + "/b.dfm"), "usage: save [--overwrite] [as FILE]");
  EXPECT_EQ(UsageOf("save as"), "usage: save [--overwrite] [as FILE]");
  EXPECT_FALSE(FileExists(Dir + "/a.dfm"));
  EXPECT_FALSE(FileExists(Dir + "/b.dfm"));
  Session.Run("save " + Dir + "/a.dfm");
  EXPECT_TRUE(FileExists(Dir + "/a.dfm"));
  std::filesystem::remove_all(Dir);

  EXPECT_EQ(UsageOf("quit now"), "usage: quit [--discard]");
  EXPECT_FALSE(Session.QuitRequested());
  EXPECT_EQ(UsageOf("close DM1 DM1"), "usage: close [--discard] [FORM]");
  EXPECT_EQ(UsageOf("forms"), "(no error)");
  EXPECT_EQ(UsageOf("new TDataModule"), "usage: new CLASS NAME");  // too few
  EXPECT_EQ(UsageOf("click-at Grid 1 2 middle"), "usage: click-at CONTROL X Y [right]");
  // The command given ahead is held to its own words.
  EXPECT_EQ(UsageOf("ahead answer OK Cancel"), "usage: answer BUTTON");
  EXPECT_FALSE(Application->Input()->HasInput());

  // Every command but those that take any number of words refuses one word too many.
  const std::set<String> AnyNumber = {"echo", "select", "ahead", "opendialog", "savedialog"};
  for (const String& Name : Session.CommandNames()) {
    if (AnyNumber.count(Name)) continue;
    String Line = Name;
    for (int I = 0; I < 5; ++I) Line += " x";
    EXPECT_EQ(UsageOf(Line).rfind("usage: " + Name, 0), 0u) << Line << ": " << UsageOf(Line);
  }
}

// --- Modal windows as the context of the lines that follow --------------------------------

// With nothing given ahead, the lines after the one that opens a modal window run inside
// it; its opener's output comes once the window has closed.
TEST_F(SessionTest, AModalWindowRunsTheNextLinesUntilItCloses) {
  int Status;
  String Out =
      Script("message information 'Hello there'\nwindows\nwindow\nanswer OK\nwindows", Status);
  EXPECT_EQ(Status, 0);
  size_t Open = Out.find(": TForm 'Information' ");
  size_t Looked = Out.find("Message: TLabel 'Hello there'");
  size_t Answered = Out.find("answered OK\n");
  ASSERT_NE(Open, String::npos) << Out;
  String OpenLine = Out.substr(Open, Out.find('\n', Open) - Open);
  EXPECT_EQ(OpenLine.substr(OpenLine.size() - 16), "(active) (modal)") << Out;
  EXPECT_NE(Looked, String::npos) << Out;
  ASSERT_NE(Answered, String::npos) << Out;
  EXPECT_LT(Looked, Answered);
  EXPECT_EQ(Out.substr(Answered), "answered OK\n(no window is open)\n");
}

TEST_F(SessionTest, ModalWindowsNest) {
  int Status;
  String Out = Script(
      "message confirmation 'Outer?' YesNo\n"
      "message information 'Inner'\n"
      "windows\n"
      "answer OK\n"
      "dialogs\n"
      "answer Yes",
      Status);
  EXPECT_EQ(Status, 0);
  EXPECT_EQ(Out,
            ": TForm 'Confirm' 180x118 (modal)\n"
            ": TForm 'Information' 104x118 (active) (modal)\n"
            "answered OK\n"
            "Information: Inner [OK] -> OK\n"
            "answered Yes\n")
      << Out;
}

// A script that ends inside a modal window is an error of the line that opened it,
// naming the window; inside a nested one, of the line inside that opened that.
TEST_F(SessionTest, AScriptThatEndsInsideAModalWindowIsAnError) {
  int Status;
  String Errors;
  String Out = Script("echo one\nmessage warning 'Left open'\necho two", Status, Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Out, "one\ntwo\n");
  EXPECT_EQ(Errors,
            "test.omide:2: No input for the modal window \"Warning\" (TForm): the script ends "
            "while it is open\n");
  Out = Script("message confirmation 'Outer?' YesNo\n# inside\nmessage error 'Inner'", Status,
               Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Errors,
            "test.omide:3: No input for the modal window \"Error\" (TForm): the script ends while "
            "it is open\n");
  EXPECT_EQ(Screen->FormCount(), 0) << "the boxes are gone";
  EXPECT_TRUE(Application->ModalForms().empty());
}

TEST_F(SessionTest, InputGivenAheadIsTakenFirst) {
  int Status;
  String Out = Script("ahead answer No\nmessage confirmation 'Go on?' YesNo\necho after", Status);
  EXPECT_EQ(Status, 0);
  EXPECT_EQ(Out, "answered No\nafter\n");
  // Inside a modal window, input given ahead waits for the window a later line opens.
  Out = Script(
      "message confirmation 'Outer?' YesNo\n"
      "ahead answer No\n"
      "message confirmation 'Inner?' YesNo\n"
      "answer Yes",
      Status);
  EXPECT_EQ(Status, 0);
  EXPECT_EQ(Out, "answered No\nanswered Yes\n");
  // What no window took is still an error.
  String Errors;
  Script("message confirmation 'Outer?' YesNo\nahead answer No\nanswer Yes", Status, Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Errors, "test.omide:1: 1 input(s) given ahead were not taken by a window\n");
}

// A line that fails inside a modal window stops the script; the window is closed and
// freed on the way out. One expected to fail goes on inside.
TEST_F(SessionTest, AFailingLineInsideAModalWindowStopsTheScript) {
  int Status;
  String Errors;
  String Out = Script("message information 'Open'\nclick NoSuchButton\necho never", Status, Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Out, "");
  EXPECT_EQ(Errors, "test.omide:2: the window 'Information' has no control or menu item NoSuchButton\n");
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_TRUE(Application->ModalForms().empty());
  EXPECT_EQ(Session.Run("dialogs").Text, "Information: Open [OK] -> no answer\n");

  // Input the window's loop cannot take, once the line that gave it is done, is still
  // that line's error.
  Script("message information 'Open'\necho inside\nfile /tmp/Report.pas\necho never", Status,
         Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Errors, "test.omide:3: Input 'file name '/tmp/Report.pas'': no file dialog is open\n");
  EXPECT_EQ(Screen->FormCount(), 0);

  Out = Script("message information 'Open'\n! click NoSuchButton\nanswer OK", Status);
  EXPECT_EQ(Status, 0);
  EXPECT_EQ(Out, "error: the window 'Information' has no control or menu item NoSuchButton\nanswered OK\n");
}

// What a modal window's opener holds stays as it is while the window is open.
TEST_F(SessionTest, TheIdeBehindAModalWindowTakesNoCommands) {
  int Status;
  String Out = Script(
      "new TDataModule DM1\n"
      "message information 'Open'\n"
      "! close DM1\n"
      "! select DM1\n"
      "components\n"
      "answer OK\n"
      "forms",
      Status);
  EXPECT_EQ(Status, 0) << Out;
  EXPECT_NE(
      Out.find("error: close: not while the modal window \"Information\" (TForm) waits for input"),
      String::npos)
      << Out;
  EXPECT_NE(Out.find("error: select: not while"), String::npos) << Out;
  EXPECT_NE(Out.find("DM1: TDM1\nanswered OK\n* DM1: TDM1"), String::npos) << Out;
}

// At a prompt, the line is read inside the modal window, whose name the reader is told;
// an error there is told and the prompt stays inside.
TEST_F(SessionTest, APersonTypesInsideAModalWindow) {
  std::vector<String> Lines = {"message information Hi", "not-a-command", "answer OK", "echo out"};
  std::vector<String> Inside;
  size_t At = 0;
  char* Buffer = nullptr;
  size_t Size = 0;
  FILE* Out = open_memstream(&Buffer, &Size);
  testing::internal::CaptureStderr();
  Session.RunInteractive(
      [&](const String& Where, String& Line) {
        if (At >= Lines.size()) return false;
        Inside.push_back(Where);
        Line = Lines[At++];
        return true;
      },
      Out);
  String Errors = testing::internal::GetCapturedStderr();
  std::fclose(Out);
  String Printed(Buffer, Size);
  std::free(Buffer);
  EXPECT_EQ(Inside, (std::vector<String>{"", "Information", "Information", ""}));
  EXPECT_EQ(Errors, "error: unknown command 'not-a-command' (try 'help')\n");
  EXPECT_EQ(Printed, "answered OK\nout\n");

  // The end of input inside a modal window is the error of the line that opened it.
  Lines = {"message warning Bye"};
  At = 0;
  testing::internal::CaptureStderr();
  Session.RunInteractive(
      [&](const String&, String& Line) {
        if (At >= Lines.size()) return false;
        Line = Lines[At++];
        return true;
      },
      stdout);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "error: No input for the modal window \"Warning\" (TForm): the input ends while it is "
            "open\n");
  EXPECT_EQ(Screen->FormCount(), 0);
}

// --- No lost work ----------------------------------------------------------------------------

class SessionWorkTest : public SessionTest {
 protected:
  String Folder = (std::filesystem::temp_directory_path() / ("omide-work-" + IntToStr(getpid()))).string();
  String File = Folder + "/DM1.dfm";
  void SetUp() override { std::filesystem::create_directories(Folder.c_str()); }
  void TearDown() override { std::filesystem::remove_all(Folder.c_str()); }
  // A person's lines, as RunInteractive reads them; what the session printed.
  String Person(std::vector<String> Lines) {
    size_t At = 0;
    return Printed([&](FILE* Out) {
      Session.RunInteractive(
          [&](const String&, String& Line) {
            if (At >= Lines.size()) return false;
            Line = Lines[At++];
            return true;
          },
          Out);
    });
  }
};

TEST_F(SessionWorkTest, AScriptCannotCloseOrQuitAModifiedFormUnlessItSaysDiscard) {
  int Status;
  String Errors;
  String Out = Script("new TDataModule DM1\nselect DM1\nset Tag 5\n! close\n! quit\nforms\nsave as " + File +
                          "\nclose\nnew TDataModule DM2\nselect DM2\nset Tag 6\nquit --discard\necho never",
                      Status, Errors);
  EXPECT_EQ(Status, 0) << Errors;
  EXPECT_NE(Out.find("DM1 has changes that are not saved: save it first, or close --discard"), String::npos) << Out;
  EXPECT_NE(Out.find("DM1 has changes that are not saved: save it first, or quit --discard"), String::npos) << Out;
  EXPECT_NE(Out.find("(not saved)  (modified)"), String::npos) << Out;
  EXPECT_NE(Out.find("saved " + File + "\nclosed DM1\n"), String::npos) << Out;
  EXPECT_EQ(Out.find("never"), String::npos);
  EXPECT_TRUE(Session.QuitRequested());
}

TEST_F(SessionWorkTest, AFileAnotherProgramChangedIsNotReplacedUnasked) {
  int Status;
  String Errors;
  Script("new TDataModule DM1\nsave as " + File + "\nselect DM1\nset Tag 5", Status, Errors);
  ASSERT_EQ(Status, 0) << Errors;
  {
    std::ofstream Other(File.c_str(), std::ios::app);
    Other << "// another program's line\n";
  }
  Script("save", Status, Errors);
  EXPECT_EQ(Status, 1);
  EXPECT_NE(Errors.find(File + " was changed by another program since it was opened or saved here: save "
                               "--overwrite replaces it, save as FILE keeps both"),
            String::npos)
      << Errors;
  EXPECT_NE(ReadFileToString(File).find("another program"), String::npos);
  // A person is asked, and No keeps the other program's file.
  EXPECT_NE(Person({"save", "answer No"}).find("Replace it? (answer Yes or No)\nnot saved: " + File), String::npos);
  EXPECT_NE(ReadFileToString(File).find("another program"), String::npos);
  Script("save --overwrite\nsave", Status, Errors);  // once replaced, the file is the form's again
  EXPECT_EQ(Status, 0) << Errors;
  EXPECT_EQ(ReadFileToString(File).find("another program"), String::npos);
  EXPECT_NE(ReadFileToString(File).find("Tag = 5"), String::npos);
}

TEST_F(SessionWorkTest, APersonIsAskedAndTheEndOfInputDoesNotLeaveWorkUntold) {
  int Status;
  Script("new TDataModule DM1\nselect DM1\nset Tag 5", Status);
  // Cancel keeps the form; quit then asks for each modified form.
  String Out = Person({"close", "answer Cancel", "quit", "answer Cancel"});
  EXPECT_NE(Out.find("Save changes to DM1? (answer Yes, No or Cancel)\nkept DM1 open\n"), String::npos) << Out;
  EXPECT_NE(Out.find("the session goes on\n"), String::npos) << Out;
  EXPECT_FALSE(Session.QuitRequested());
  // Input that ends with the form not saved says so, once.
  Out = Person({});
  EXPECT_EQ(Out, "DM1 not saved: save, or quit --discard to leave it\n");
  // Yes saves the form to its file before it goes.
  Script("save as " + File + "\nset Tag 6", Status);
  Out = Person({"close", "answer Yes"});
  EXPECT_NE(Out.find("closed DM1"), String::npos) << Out;
  EXPECT_NE(ReadFileToString(File).find("Tag = 6"), String::npos);
}

// --- What `window` shows ------------------------------------------------------------------

// Besides its controls, a window shows its main menu and pop-up menus with their items as
// they nest, each enabled or not and checked or not, and a tool button its image; in
// text and in JSON alike.
TEST(SessionWindow, ShowsMenusAndToolButtonImages) {
  String Dir =
      (std::filesystem::temp_directory_path() / ("omide-window-" + IntToStr(getpid()))).string();
  std::filesystem::create_directories(Dir);
  String File = Dir + "/Menus.dfm";
  FILE* F = std::fopen(File.c_str(), "w");
  ASSERT_TRUE(F);
  std::fputs(
      "object MenusForm: TForm\n"
      "  Caption = 'Menus'\n"
      "  Menu = MainMenu\n"
      "  object Bar: TToolBar\n"
      "    object PlainButton: TToolButton\n"
      "    end\n"
      "    object PictureButton: TToolButton\n"
      "      ImageIndex = 3\n"
      "    end\n"
      "  end\n"
      "  object Popup: TPopupMenu\n"
      "    object CheckedItem: TMenuItem\n"
      "      Caption = 'Chec&ked'\n"
      "      Checked = True\n"
      "    end\n"
      "  end\n"
      "  object MainMenu: TMainMenu\n"
      "    object FileItem: TMenuItem\n"
      "      Caption = '&File'\n"
      "      object OpenItem: TMenuItem\n"
      "        Caption = '&Open'\n"
      "        ShortCut = 16463\n"
      "      end\n"
      "      object Line1: TMenuItem\n"
      "        Caption = '-'\n"
      "      end\n"
      "      object RecentItem: TMenuItem\n"
      "        Caption = '&Recent'\n"
      "        Enabled = False\n"
      "        object FirstItem: TMenuItem\n"
      "          Caption = 'First'\n"
      "        end\n"
      "      end\n"
      "    end\n"
      "  end\n"
      "end\n",
      F);
  std::fclose(F);
  TSession Session(true);
  Session.Run("run " + File);
  std::filesystem::remove_all(Dir);
  TCommandResult R = Session.Run("window MenusForm");
  // The main menu first, whatever the order of the form file, then the pop-up menus.
  String Menus = R.Text.substr(R.Text.find("  MainMenu: TMainMenu\n"));
  EXPECT_EQ(Menus,
            "  MainMenu: TMainMenu\n"
            "    FileItem '&File'\n"
            "      OpenItem '&Open'\n"
            "      Line1 ----------\n"
            "      RecentItem '&Recent' (disabled)\n"
            "        FirstItem 'First'\n"
            "  Popup: TPopupMenu\n"
            "    CheckedItem 'Chec&ked' (checked)\n");
  EXPECT_NE(R.Text.find("PictureButton: TToolButton ["), String::npos) << R.Text;
  EXPECT_NE(R.Text.find("] image 3\n"), String::npos) << R.Text;
  EXPECT_NE(R.Text.find("PlainButton: TToolButton ["), String::npos) << R.Text;
  EXPECT_EQ(R.Text.find(" image -1"), String::npos) << "a button without an image shows none";

  const TJson& J = R.Json["menus"];
  ASSERT_EQ(J.size(), 2u);
  EXPECT_EQ(J[0]["name"], "MainMenu");
  const TJson& Recent = J[0]["items"][0]["items"][2];
  EXPECT_EQ(Recent["name"], "RecentItem");
  EXPECT_EQ(Recent["enabled"], false);
  EXPECT_EQ(Recent["checked"], false);
  EXPECT_EQ(Recent["items"][0]["caption"], "First");
  EXPECT_EQ(J[0]["items"][0]["items"][0]["shortcut"], "Ctrl+O");
  EXPECT_EQ(J[1]["items"][0]["checked"], true);
  EXPECT_EQ(J[1]["items"][0]["enabled"], true);
  int Images = 0;
  for (const TJson& C : R.Json["controls"])
    if (C["name"] == "PictureButton")
      Images += C["imageIndex"] == 3;
    else if (C["name"] == "PlainButton")
      Images += C["imageIndex"] == -1;
  EXPECT_EQ(Images, 2);
}

}  // namespace
