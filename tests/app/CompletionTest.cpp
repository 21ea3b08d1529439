// What Tab offers, by the place of the word in its command, on the demo form.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Packages.h"
#include "Session.h"

namespace {

using TWords = std::vector<String>;

class CompletionTest : public ::testing::Test {
 protected:
  TSession Session{false};
  void SetUp() override {
    Session.Ide().Packages().Load(String(OM_BIN_DIR) + "/DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0.so");
    Session.Ide().OpenForm(OM_DEMO_FORM);
  }
  TWords Offered(const String& Line) { return Session.Complete(Line).Candidates; }
};

TEST_F(CompletionTest, CommandsAtTheStartWithoutRegardToCase) {
  EXPECT_EQ(Offered("sel"), (TWords{"select", "selection"}));
  EXPECT_EQ(Offered("  SEL"), (TWords{"select", "selection"}));
  EXPECT_EQ(Offered("closew"), (TWords{"closewindow"}));
  EXPECT_EQ(Offered("zz"), TWords{});
  EXPECT_EQ(Session.Complete("  SEL").Start, 2u);
  // What `ahead` gives is a command of its own.
  EXPECT_EQ(Offered("ahead ans"), (TWords{"answer"}));
  EXPECT_EQ(Offered("ahead answer c"), (TWords{"Cancel"}));
}

TEST_F(CompletionTest, FormsAndComponentsAndTheirPaths) {
  EXPECT_EQ(Offered("activate d"), (TWords{"DemoForm"}));
  EXPECT_EQ(Offered("close "), (TWords{"--discard", "DemoForm"}));
  EXPECT_EQ(Offered("menu orders"),
            (TWords{"Orders", "OrdersColumnsDialog", "OrdersGrid", "OrdersReport", "OrdersSource"}));
  EXPECT_EQ(Offered("select OrdersGrid.Col"), (TWords{"OrdersGrid.Columns", "OrdersGrid.Columns["}));
  // The items the collection has now.
  TWords Items = Offered("select OrdersGrid.Columns[");
  ASSERT_FALSE(Items.empty());
  EXPECT_EQ(Items.front(), "OrdersGrid.Columns[0]");
  Session.Run("verb OrdersGrid 'Columns Editor...'");
  Session.Run("click AddNewToolButton");
  EXPECT_EQ(Offered("select OrdersGrid.Columns[").size(), Items.size() + 1);
  // After a comma, the next object of the same word.
  EXPECT_EQ(Offered("select OrdersGrid.Columns[0],OrdersGrid.Columns[1"), (TWords{"OrdersGrid.Columns[0],OrdersGrid.Columns[1]"}));
  EXPECT_EQ(Offered("select Nothing.Col"), TWords{});
}

TEST_F(CompletionTest, PropertiesOfTheSelectionAndTheirValues) {
  EXPECT_EQ(Offered("set Da"), TWords{}) << "nothing is selected";
  Session.Run("select OrdersGrid");
  EXPECT_EQ(Offered("inspect datas"), (TWords{"DataSource"}));
  EXPECT_EQ(Offered("set DataSource "), (TWords{"ContactsSource", "ItemsSource", "OrdersSource"}));
  EXPECT_EQ(Offered("set Align alc"), (TWords{"alClient"}));
  // Expanded rows go on with dots.
  TWords Before = Offered("set HeaderFont.");
  EXPECT_EQ(Before, TWords{});
  Session.Run("expand HeaderFont");
  EXPECT_NE(Offered("set HeaderFont.").size(), 0u);
  EXPECT_EQ(Offered("set headerfont.si"), (TWords{"HeaderFont.Size"}));
  EXPECT_EQ(Offered("draw HeaderFont.Size "), (TWords{"list", "row"}));
}

TEST_F(CompletionTest, ContextMenuItemsComeQuotedWhenTheyHaveBlanks) {
  EXPECT_EQ(Offered("verb OrdersGrid col"), (TWords{"'Columns Editor...'"}));
  // A quote the person opened is kept, and its own quotes in a caption are doubled.
  EXPECT_EQ(Offered("verb OrdersGrid \"col"), (TWords{"\"Columns Editor...\""}));
  EXPECT_EQ(Offered("verb OrdersGrid 'Columns Ed"), (TWords{"'Columns Editor...'"}));
  EXPECT_EQ(Session.Complete("verb OrdersGrid 'Columns Ed").Start, 16u);
  EXPECT_EQ(Offered("verb NoSuchComponent "), TWords{});
}

TEST_F(CompletionTest, WindowsAndTheirControls) {
  EXPECT_EQ(Offered("window "), (TWords{"DemoForm"}));
  Session.Run("verb OrdersGrid 'Columns Editor...'");
  EXPECT_EQ(Offered("window omdbgridc"), (TWords{"OmDBGridColumnsEditor"}));
  // The active window's controls by name, or any window's after its name and a dot.
  EXPECT_EQ(Offered("click AddN"), (TWords{"AddNewToolButton"}));
  EXPECT_EQ(Offered("click omdbgridcolumnseditor.AddN"), (TWords{"omdbgridcolumnseditor.AddNewToolButton"}));
  EXPECT_EQ(Offered("click OmDBGridC"), (TWords{"OmDBGridColumnsEditor."}));
  EXPECT_EQ(Offered("item FormListView 0 "), (TWords{"ctrl", "shift"}));
  EXPECT_EQ(Offered("click NoWindow.A"), TWords{});
}

TEST_F(CompletionTest, FileNamesWithFoldersEndingInASlash) {
  auto Folder = std::filesystem::temp_directory_path() / ("omide-complete-" + IntToStr(getpid()));
  std::filesystem::create_directories(Folder / "Sub Folder");
  std::ofstream(Folder / "Form1.dfm") << "";
  String F = Folder.string();
  EXPECT_EQ(Offered("open " + F + "/f"), (TWords{F + "/Form1.dfm"}));
  EXPECT_EQ(Offered("open " + F + "/s"), (TWords{"'" + F + "/Sub Folder/'"}));
  EXPECT_EQ(Offered("save as " + F + "/"), (TWords{F + "/Form1.dfm", "'" + F + "/Sub Folder/'"}));
  EXPECT_EQ(Offered("open " + F + "/nothing/"), TWords{});
  std::filesystem::remove_all(Folder);
}

}  // namespace
