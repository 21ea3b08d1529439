// omide as a person meets it at a terminal: the hint, Tab, the history of earlier runs,
// the prompt inside a modal window, and the question before work is lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FileUtil.h"
#include "Terminal.h"

namespace {

const std::string Prompt = "omide" + std::to_string(OM_HOST_RELEASE) + "> ";

class PromptTest : public ::testing::Test {
 protected:
  std::filesystem::path Folder =
      std::filesystem::temp_directory_path() / ("omide-prompt-" + std::to_string(getpid()));
  std::string History = (Folder / "history").string();

  void SetUp() override { std::filesystem::create_directories(Folder); }
  void TearDown() override { std::filesystem::remove_all(Folder); }

  // omide with the demo form, its settings and history in the test's folder.
  std::unique_ptr<TTerminal> Start(const std::string& HistoryFile = "") {
    auto T = std::make_unique<TTerminal>(
        OM_OMIDE, std::vector<std::string>{OM_OMIDE, "--settings", (Folder / "settings.db").string()},
        TTerminal::TEnv{{"OMIDE_HISTORY", HistoryFile.empty() ? History : HistoryFile},
                        {"TERM", "dumb"},
                        {"INPUTRC", "/dev/null"}});
    EXPECT_TRUE(T->Started());
    return T;
  }
};

#define EXPECT_SHOWN(T, Text) EXPECT_TRUE((T).Expect(Text)) << "waited for: " << (Text) << "\nshown:\n" << (T).Shown()

TEST_F(PromptTest, StartsWithAHintAndTabCompletesCommandsNamesAndProperties) {
  auto T = Start();
  EXPECT_SHOWN(*T, "omide" + std::to_string(OM_HOST_RELEASE) + " " + OM_VERSION +
                       ": DemoForm open (14 components). Type 'help', Tab completes, Ctrl+D quits.\n" + Prompt);
  // A command; then a component whose prefix several share, then one that is unique.
  T->Type("selecti\t\n");
  EXPECT_SHOWN(*T, "selection \n(nothing selected)\n" + Prompt);
  T->Type("select orders\tg\t\n");
  EXPECT_SHOWN(*T, "select OrdersGrid \n" + Prompt);
  // A property of the selection, typed in another case.
  T->Type("inspect dataso\t\n");
  EXPECT_SHOWN(*T, "inspect DataSource \nDataSource = OrdersSource\n");
  // A caption with blanks comes quoted.
  T->Type("menu OrdersGrid\nverb OrdersGrid col\t");
  EXPECT_SHOWN(*T, "verb OrdersGrid 'Columns Editor...' ");
  T->Type("\x15" "quit\n");  // Ctrl+U drops the line
  EXPECT_EQ(T->Wait(), 0) << T->Shown();
}

TEST_F(PromptTest, ALineOfOneRunIsRecalledInTheNext) {
  {
    auto T = Start();
    EXPECT_SHOWN(*T, Prompt);
    T->Type("echo 'from the first run'\n");
    EXPECT_SHOWN(*T, "\nfrom the first run\n" + Prompt);
    T->Type("\x04");  // Ctrl+D
    EXPECT_EQ(T->Wait(), 0) << T->Shown();
  }
  EXPECT_NE(ReadFileToString(History).find("echo 'from the first run'"), String::npos);
  auto T = Start();
  EXPECT_SHOWN(*T, Prompt);
  T->Type("\x1b[A");  // Up
  EXPECT_SHOWN(*T, "echo 'from the first run'");
  T->Type("\n");
  EXPECT_SHOWN(*T, "\nfrom the first run\n" + Prompt);
  T->Type("quit\n");
  EXPECT_EQ(T->Wait(), 0) << T->Shown();
}

TEST_F(PromptTest, AHistoryThatCannotBeKeptIsSaidOnceAndTheSessionGoesOn) {
  std::ofstream(Folder / "a-file") << "not a folder\n";
  auto T = Start((Folder / "a-file" / "history").string());
  EXPECT_SHOWN(*T, "the history is not kept: " + (Folder / "a-file" / "history").string());
  EXPECT_SHOWN(*T, Prompt);
  T->Type("echo one\necho two\n");
  EXPECT_SHOWN(*T, "\ntwo\n" + Prompt);
  T->Type("quit\n");
  EXPECT_EQ(T->Wait(), 0) << T->Shown();
  std::string Shown = T->Shown();
  EXPECT_EQ(Shown.find("not kept"), Shown.rfind("not kept")) << "said once:\n" << Shown;
}

TEST_F(PromptTest, APromptInsideAModalWindowNamesIt) {
  auto T = Start();
  EXPECT_SHOWN(*T, Prompt);
  T->Type("verb OrdersGrid 0\n");
  EXPECT_SHOWN(*T, "omide" + std::to_string(OM_HOST_RELEASE) + " [OMCAboutForm]> ");
  T->Type("answer OK\n");
  EXPECT_SHOWN(*T, "answer OK\n" + Prompt);
  T->Type("quit\n");
  EXPECT_EQ(T->Wait(), 0) << T->Shown();
}

TEST_F(PromptTest, QuittingWithAModifiedFormAsksFirst) {
  auto T = Start();
  EXPECT_SHOWN(*T, Prompt);
  T->Type("select OrdersGrid\nset Tag 3\n");
  EXPECT_SHOWN(*T, "Tag = 3\n" + Prompt);
  T->Type("quit\n");
  EXPECT_SHOWN(*T, "Save changes to DemoForm? (answer Yes, No or Cancel)\n");
  EXPECT_SHOWN(*T, "omide" + std::to_string(OM_HOST_RELEASE) + " [Confirm]> ");
  T->Type("answer Cancel\n");
  EXPECT_SHOWN(*T, "the session goes on\n" + Prompt);
  T->Type("echo still here\n");
  EXPECT_SHOWN(*T, "\nstill here\n" + Prompt);
  T->Type("quit --discard\n");
  EXPECT_EQ(T->Wait(), 0) << T->Shown();
}

}  // namespace
