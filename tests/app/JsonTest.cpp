// omide --json: every line a program reads is one JSON document, whatever the command did,
// inside a modal window too, and a failure says so with the error a person would read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

class JsonTest : public ::testing::Test {
 protected:
  std::string Dir = (std::filesystem::temp_directory_path() / ("omide-json-" + std::to_string(getpid()))).string();
  void SetUp() override { std::filesystem::create_directories(Dir); }
  void TearDown() override { std::filesystem::remove_all(Dir); }

  // The documents omide printed for a script, each parsed; Status is its exit status.
  std::vector<json> Run(const std::string& Script, int& Status) {
    std::ofstream(Dir + "/s.omide") << Script;
    std::string Command = "cd '" + Dir + "' && OMIDE_SETTINGS='" + Dir + "/settings.db' '" + OM_OMIDE +
                          "' --json --script s.omide 2>/dev/null";
    FILE* P = popen(Command.c_str(), "r");
    std::string Out;
    char Buf[4096];
    for (size_t N; (N = fread(Buf, 1, sizeof Buf, P)) > 0;) Out.append(Buf, N);
    Status = WEXITSTATUS(pclose(P));
    std::vector<json> Docs;
    std::istringstream In(Out);
    for (std::string Line; std::getline(In, Line);) {
      try {
        Docs.push_back(json::parse(Line));
      } catch (json::parse_error& E) {
        ADD_FAILURE() << "not JSON: " << Line << "\n" << E.what();
      }
    }
    return Docs;
  }
};

TEST_F(JsonTest, EveryCommandPrintsOneDocumentThatSaysWhatItShows) {
  int Status;
  std::vector<json> Docs = Run(
      "palette\n"
      "select OrdersGrid\n"
      "inspect DataSource\n"
      "dblclick OrdersGrid\n"
      "click AddAllToolButton\n"
      "window OmDBGridColumnsEditor\n"
      "echo 'quotes \" and \\ stay text'\n"
      "! expect OrdersGrid.Columns.Count = 2\n"
      "verb OrdersGrid 0\n"
      "window\n"
      "answer OK\n"
      "closewindow OmDBGridColumnsEditor\n"
      "close --discard\n",
      Status);
  EXPECT_EQ(Status, 0);
  ASSERT_EQ(Docs.size(), 13u);
  for (const json& D : Docs) {
    EXPECT_TRUE(D.contains("command") && D["command"].is_string()) << D.dump();
    EXPECT_TRUE(D.contains("ok") && D["ok"].is_boolean()) << D.dump();
  }
  EXPECT_EQ(Docs[0]["pages"].back()["page"], "Data Controls");
  EXPECT_EQ(Docs[2]["rows"][0]["value"], "OrdersSource");
  json Editor = Docs[5]["controls"];
  ASSERT_TRUE(Editor.is_array());
  bool Listed = false;
  for (const json& C : Editor)
    if (C["name"] == "FormListView") Listed = C["items"].size() == 6;
  EXPECT_TRUE(Listed) << Editor.dump();
  EXPECT_EQ(Docs[6]["text"], "quotes \" and \\ stay text");
  // The expected failure: not ok, and the error names both values.
  EXPECT_EQ(Docs[7]["ok"], true);
  EXPECT_EQ(Docs[7]["error"], "expected OrdersGrid.Columns.Count = 2, but it is 6");
  // The about box looked at from inside, then the verb that opened it reports once it closed.
  EXPECT_EQ(Docs[8]["command"], "window");
  EXPECT_EQ(Docs[8]["controls"][0]["name"], "OMCAboutForm");
}

TEST_F(JsonTest, AFailureEndsTheScriptWithADocumentThatIsNotOk) {
  int Status;
  std::vector<json> Docs = Run("echo one\nexpect DemoForm.Caption = Nope\necho never\n", Status);
  EXPECT_EQ(Status, 1);
  ASSERT_EQ(Docs.size(), 2u);
  EXPECT_EQ(Docs[1]["ok"], false);
  EXPECT_EQ(Docs[1]["command"], "expect DemoForm.Caption = Nope");
  EXPECT_EQ(Docs[1]["error"], "s.omide:2: expected DemoForm.Caption = Nope, but it is Orders");
}

}  // namespace
