// The omide session: how a line becomes words, how scripts stop and go on, input given
// ahead, and commands that act on what they name.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>

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
}

class SessionTest : public ::testing::Test {
 protected:
  TSession Session{false};
  // Runs a script; what it printed.
  String Script(const String& Text, int& Status) {
    char* Buffer = nullptr;
    size_t Size = 0;
    FILE* Out = open_memstream(&Buffer, &Size);
    Status = Session.RunScript(Text, "test.omide", Out);
    std::fclose(Out);
    String R(Buffer, Size);
    std::free(Buffer);
    return R;
  }
};

TEST_F(SessionTest, AScriptStopsAtItsFirstErrorWithItsPlace) {
  int Status;
  String Out = Script("echo one\nnot-a-command\necho never", Status);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(Out, "one\n");
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
  EXPECT_EQ(UsageOf("save " + Dir + "/a.dfm " + Dir + "/b.dfm"), "usage: save [FILE]");
  EXPECT_FALSE(FileExists(Dir + "/a.dfm"));
  EXPECT_FALSE(FileExists(Dir + "/b.dfm"));
  Session.Run("save " + Dir + "/a.dfm");
  EXPECT_TRUE(FileExists(Dir + "/a.dfm"));
  std::filesystem::remove_all(Dir);

  EXPECT_EQ(UsageOf("quit now"), "usage: quit");
  EXPECT_FALSE(Session.QuitRequested());
  EXPECT_EQ(UsageOf("close DM1 DM1"), "usage: close [FORM]");
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

}  // namespace
