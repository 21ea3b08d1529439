// The pictures omide paints of what a person looks at, against the expected pictures in
// tests/app/pictures (NAME.rN.png where the releases differ, else NAME.png). To make them
// again after a deliberate change of how something looks, run the tests with
// OMIDE_REGENERATE_PICTURES=1: each picture test then writes its expected picture and is
// reported skipped, never passed; look at the pictures before committing them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FileUtil.h"
#include "Packages.h"
#include "PictureCompare.h"
#include "Session.h"
#include "Settings.h"

namespace fs = std::filesystem;

namespace {

const char* const Package = OM_HOST_RELEASE == 5 ? "/DCLOmbrix50.so" : "/DCLOmbrix60.so";

class PicturesTest : public ::testing::Test {
 protected:
  String Dir;
  std::unique_ptr<TSession> Session;

  void SetUp() override {
    Dir = (fs::temp_directory_path() /
           ("omide-pictures-" + IntToStr(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name()))
              .string();
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    // A store of its own: the columns editor keeps its tool bar's look there.
    SetSettingsStoreFile(Dir + "/settings.db");
    Session = std::make_unique<TSession>(false);
    Session->Ide().Packages().Load(String(OM_BIN_DIR) + Package);
    Session->Ide().OpenForm(OM_DEMO_FORM);
  }
  void TearDown() override {
    Session.reset();
    SetSettingsStoreFile("");
    fs::remove_all(Dir);
  }

  // Runs a script (${DIR} is the scratch folder); what it printed.
  String Script(String Text) {
    for (size_t At; (At = Text.find("${DIR}")) != String::npos;) Text.replace(At, 6, Dir);
    char* Buffer = nullptr;
    size_t Size = 0;
    FILE* Out = open_memstream(&Buffer, &Size);
    testing::internal::CaptureStderr();
    int Status = Session->RunScript(Text, "pictures.omide", Out);
    String Errors = testing::internal::GetCapturedStderr();
    std::fclose(Out);
    String R(Buffer, Size);
    std::free(Buffer);
    EXPECT_EQ(Status, 0) << Errors << R;
    return R;
  }

  om_test::TPicture Read(const String& File) {
    om_test::TPicture P;
    std::string Error;
    EXPECT_TRUE(om_test::ReadPng(File, P, Error)) << Error;
    return P;
  }
  om_test::TPicture Painted(const String& Name) { return Read(Dir + "/" + Name + ".png"); }

  // The picture NAME.png the script painted into the scratch folder looks like the
  // expected one.
  void ExpectLooksLike(const String& Name) {
    String Own = Format("%s/%s.r%d.png", {String(OM_PICTURES_DIR), Name, OM_HOST_RELEASE});
    String Expected = FileExists(Own) ? Own : String(OM_PICTURES_DIR) + "/" + Name + ".png";
    String Actual = Dir + "/" + Name + ".png";
    if (getenv("OMIDE_REGENERATE_PICTURES")) {
      fs::copy_file(Actual, Expected, fs::copy_options::overwrite_existing);
      GTEST_SKIP() << "wrote " << Expected << ": look at it before committing it";
    }
    om_test::TPicture E = Read(Expected), A = Read(Actual);
    if (HasFailure()) return;
    std::string Why = om_test::Differences(E, A);
    if (!Why.empty()) {
      // Kept beside the build for a person to look at.
      String Kept = fs::current_path().string() + "/" + Name + ".actual.png";
      fs::copy_file(Actual, Kept, fs::copy_options::overwrite_existing);
      ADD_FAILURE() << Name << ": " << Why << " (the picture painted is " << Kept << ", the expected "
                    << Expected << ")";
    }
  }
};

constexpr std::uint32_t BtnFace = 0xD4D0C8, Shadow = 0x808080, Highlight = 0x0A246A, White = 0xFFFFFF,
                        Black = 0x000000;

// Whether a pixel of that colour is in the rectangle.
bool Has(const om_test::TPicture& P, int L, int T, int R, int B, std::uint32_t Colour) {
  for (int Y = T; Y < B; ++Y)
    for (int X = L; X < R; ++X)
      if (P.At(X, Y) == Colour) return true;
  return false;
}

TEST_F(PicturesTest, TheColumnsEditorWithAndWithoutTextLabels) {
  Script(
      "dblclick OrdersGrid\n"
      "click AddAllToolButton\n"
      "item FormListView 2\n"
      "picture OmDBGridColumnsEditor ${DIR}/columns-editor.png\n"
      "choose LabelsMenuItem\n"
      "picture OmDBGridColumnsEditor ${DIR}/columns-editor-labels.png\n");
  ExpectLooksLike("columns-editor");
  ExpectLooksLike("columns-editor-labels");
}

TEST_F(PicturesTest, TheAboutBoxWhileItWaits) {
  Script(
      "verb OrdersGrid 0\n"
      "picture OMCAboutForm ${DIR}/about.png\n"
      "answer OK\n");
  ExpectLooksLike("about");
}

TEST_F(PicturesTest, AMessageBoxByItsCaption) {
  Script(
      "message confirmation 'Delete existing columns?' YesNoCancel\n"
      "picture Confirm ${DIR}/confirm.png\n"
      "answer No\n");
  ExpectLooksLike("confirm");
  om_test::TPicture P = Painted("confirm");
  // The question mark's disc stands left of the text.
  EXPECT_TRUE(Has(P, 19, 34, 51, 66, White));
}

TEST_F(PicturesTest, TheImageIndexDropDownIsTheDrawnList) {
  Script(String("open ") + OM_SCRIPTS_DIR + "/Images.dfm\n" +
         "select Grid1\n"
         "picture dropdown FillerIndex ${DIR}/image-index-dropdown.png\n"
         "draw FillerIndex list ${DIR}/drawn.png\n");
  ExpectLooksLike("image-index-dropdown");
  om_test::TPicture Dropped = Painted("image-index-dropdown"), Drawn = Painted("drawn");
  EXPECT_EQ(om_test::Differences(Dropped, Drawn, 0, 0), "");
  // The list's border is the window frame, all round.
  EXPECT_EQ(Dropped.At(0, 0), Black);
  EXPECT_EQ(Dropped.At(Dropped.Width - 1, Dropped.Height - 1), Black);
}

TEST_F(PicturesTest, ThePaletteShowsThePageBitmapsOnButtons) {
  Script("picture palette 'Data Controls' ${DIR}/palette.png\npicture palette ${DIR}/first.png\n"
         "picture palette 'Data Access' ${DIR}/page.png\n");
  ExpectLooksLike("palette");
  om_test::TPicture P = Painted("palette");
  // Four components on buttons of 28 pixels from x 4 below the tabs.
  EXPECT_EQ(P.Height, 56);
  for (int B = 0; B < 4; ++B)
    EXPECT_TRUE(Has(P, 4 + B * 28 + 2, 26, 4 + B * 28 + 26, 50, Black)) << "button " << B;
  // Without a page named, the first is in front.
  EXPECT_EQ(om_test::Differences(Painted("first"), Painted("page"), 0, 0), "");
}

TEST_F(PicturesTest, TheContextMenuGreysWhatIsDisabled) {
  Script("picture menu OrdersGrid ${DIR}/menu.png\nmenu OrdersGrid\n");
  ExpectLooksLike("menu");
  om_test::TPicture P = Painted("menu");
  // Below a border of 3, items of 17 pixels and separators of 8: the about item, a
  // separator, the columns editor, a separator, then Cut at 53, Copy, Paste at 87.
  auto Row = [&](int Top, std::uint32_t Colour) { return Has(P, 20, Top, P.Width - 20, Top + 17, Colour); };
  EXPECT_TRUE(Row(53, Black));
  EXPECT_FALSE(Row(87, Black));  // nothing to paste: embossed grey
  EXPECT_TRUE(Row(87, Shadow));
}

TEST_F(PicturesTest, TheInspectorHighlightsItsRowAndShowsItsTab) {
  Script(
      "select OrdersGrid\n"
      "row DataSource\n"
      "picture inspector ${DIR}/inspector.png\n"
      "row OnHeaderClick\n"
      "picture inspector ${DIR}/inspector-events.png\n");
  ExpectLooksLike("inspector");
  ExpectLooksLike("inspector-events");
  om_test::TPicture P = Painted("inspector");
  // DataSource is the fifth row of 18 pixels from y 50; its name cell is highlighted and
  // its value has the drop-down button.
  EXPECT_EQ(P.At(60, 50 + 4 * 18 + 8), Highlight);
  EXPECT_NE(P.At(60, 50 + 3 * 18 + 8), Highlight);
}

TEST_F(PicturesTest, AWaitingFileDialogShowsTheFilesOfItsFilter) {
  String Folder = Dir + "/Units";
  fs::create_directories(Folder + "/Forms");
  for (const char* F : {"Orders.pas", "Customers.pas", "Notes.txt"}) std::ofstream(Folder + "/" + F) << "x";
  fs::path Was = fs::current_path();
  fs::current_path(Folder);
  String Out = Script(
      "savedialog 'Delphi unit (*.pas)|*.pas|Text (*.txt)|*.txt' pas\n"
      "picture 'Save As' ${DIR}/save-dialog.png\n"
      "file Report 2\n");
  fs::current_path(Was);
  ExpectLooksLike("save-dialog");
  EXPECT_NE(Out.find("chose " + Folder + "/Report.txt"), String::npos) << Out;
}

TEST_F(PicturesTest, PicturesRefuseWhatTheyCannotPaint) {
  auto Error = [&](const String& Line) -> String {
    try {
      Session->Run(Line);
    } catch (Exception& E) {
      return E.Message;
    }
    return "(no error)";
  };
  EXPECT_EQ(Error("picture palette Nowhere " + Dir + "/p.png"), "the palette has no page Nowhere");
  EXPECT_EQ(Error("select OrdersGrid"), "(no error)");
  EXPECT_EQ(Error("picture dropdown Name " + Dir + "/d.png"), "Name has no drop-down list to paint");
  EXPECT_EQ(Error("picture menu " + Dir + "/m.png").rfind("usage: picture WINDOW", 0), 0u);
  EXPECT_EQ(Error("picture NoWindow " + Dir + "/w.png"), "no window NoWindow is open (see 'windows')");
  EXPECT_FALSE(FileExists(Dir + "/p.png") || FileExists(Dir + "/d.png") || FileExists(Dir + "/w.png"));
}

// --pictures: one picture for each line that changed a window, none for lines that look,
// named in order after the line.
TEST_F(PicturesTest, PicturesAsTheScriptGoes) {
  Session->SetPicturesFolder(Dir + "/run");
  Script(
      "windows\n"
      "dblclick OrdersGrid\n"
      "window\n"
      "inspect\n"
      "click AddAllToolButton\n"
      "verb OrdersGrid 0\n"
      "window\n"
      "picture OMCAboutForm ${DIR}/about.png\n"
      "answer OK\n"
      "help picture\n");
  std::vector<String> Files;
  for (const auto& E : fs::directory_iterator(Dir + "/run")) Files.push_back(E.path().filename().string());
  std::sort(Files.begin(), Files.end());
  EXPECT_EQ(Files, (std::vector<String>{"0001-line2-dblclick-OmDBGridColumnsEditor.png",
                                        "0002-line5-click-OmDBGridColumnsEditor.png",
                                        "0003-line6-verb-OMCAboutForm.png",
                                        "0004-line9-answer-OmDBGridColumnsEditor.png"}));
  EXPECT_EQ(om_test::Differences(Painted("about"), Read(Dir + "/run/0003-line6-verb-OMCAboutForm.png"), 0, 0), "");
}

}  // namespace
