// Every command's example, as `help COMMAND` shows it, works on the bundled demo form in a
// fresh session, run from a folder laid out as the project's is: a person may copy it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>

#include "Packages.h"
#include "Session.h"

namespace {

namespace fs = std::filesystem;

const String Package = "DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0";

// What a person has done before the example makes sense: the columns editor open with
// the demo's fields for the commands that give a window input, a window that waits for
// an answer...
const std::map<String, String> Before = [] {
  const String Editor = "dblclick OrdersGrid\nclick AddAllToolButton\n";
  std::map<String, String> M = {
      {"hover", Editor + "drag FormListView 1 4 hold\n"},
      {"release", Editor + "drag FormListView 1 4 hold\n"},
      {"answer", "message confirmation 'Save changes?' YesNoCancel\n"},
      {"file", "savedialog 'Delphi unit (*.pas)|*.pas' pas\n"},
      {"collapse", "expand HeaderFont\n"},
      {"paste", "copy\n"},
      {"load", "unload " + Package + "\n"},
      {"open", "close\n"},
  };
  for (const char* Name : {"click", "click-at", "double", "item", "key", "type", "choose", "drag",
                           "splitter", "window", "closewindow", "activatewindow", "picture"})
    M[Name] = Editor;
  return M;
}();

// ...and what answers the modal window an example opens, or takes the input it gives ahead.
const std::map<String, String> After = {
    {"message", "answer Cancel"},
    {"opendialog", "file examples/Demo.dfm"},
    {"savedialog", "file Report"},
    {"expression", "answer OK"},
    {"ahead", "message confirmation 'Go on?' YesNo"},
};

class CommandExamples : public ::testing::Test {
 protected:
  fs::path Folder = fs::temp_directory_path() / ("omide-examples-" + IntToStr(getpid()));
  fs::path Was = fs::current_path();
  void SetUp() override {
    fs::create_directories(Folder / "examples");
    fs::create_directories(Folder / "tests" / "scripts");
    for (const char* F : {"Demo.dfm", "Demo.h", "demo.db"})
      fs::copy_file(fs::path(OM_DEMO_FORM).parent_path() / F, Folder / "examples" / F);
    fs::copy_file(fs::path(OM_SOURCE_DIR) / "tests" / "scripts" / "Editor.dfm",
                  Folder / "tests" / "scripts" / "Editor.dfm");
    fs::current_path(Folder);
  }
  void TearDown() override {
    fs::current_path(Was);
    fs::remove_all(Folder);
  }
};

TEST_F(CommandExamples, EveryExampleWorksOnTheDemoForm) {
  std::vector<String> Names = TSession(false).CommandNames();
  ASSERT_GT(Names.size(), 50u);
  for (const String& Name : Names) {
    TSession Session(false);
    String Example = Session.CommandExample(Name);
    ASSERT_EQ(Example.rfind(Name + " ", 0) == 0 || Example == Name, true)
        << Name << ": the example '" << Example << "' is not of the command";
    EXPECT_NE(Session.Run("help " + Name).Text.find("\n  example: " + Example + "\n"), String::npos);
    Session.Ide().Packages().Load(String(OM_BIN_DIR) + "/" + Package + ".so");
    auto B = Before.find(Name);
    auto A = After.find(Name);
    String Script = "open examples/Demo.dfm\nselect OrdersGrid\n" + (B == Before.end() ? String() : B->second) +
                    Example + "\n" + (A == After.end() ? String() : A->second);
    char* Buffer = nullptr;
    size_t Size = 0;
    FILE* Out = open_memstream(&Buffer, &Size);
    testing::internal::CaptureStderr();
    int Status = Session.RunScript(Script, Name, Out);
    String Errors = testing::internal::GetCapturedStderr();
    std::fclose(Out);
    String Printed(Buffer, Size);
    std::free(Buffer);
    EXPECT_EQ(Status, 0) << "the example of " << Name << ": " << Example << "\n" << Errors << Printed;
  }
}

}  // namespace
