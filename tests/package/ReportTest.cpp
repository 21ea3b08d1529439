// The report grid: how its pages are laid out by the options and the grouping, the window
// that shows them, the events a print fires, and the units SaveReport writes, compiled
// and run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>

#include "DBClient.h"
#include "Desktop.h"
#include "Forms.h"
#include "OmQRGrids.h"
#include "StdCtrls.h"
#include "TempFolder.h"

namespace {

using TLines = std::vector<String>;

TLines LinesOf(std::string_view Page) {
  TLines R;
  for (std::size_t At = 0; At < Page.size();) {
    std::size_t End = Page.find('\n', At);
    R.emplace_back(Page.substr(At, End - At));
    At = End + 1;
  }
  return R;
}

// The report window as a person sees it.
struct TWindow {
  explicit TWindow(TCustomForm* F) : Form(F) {}
  template <class T>
  T* Part(const char* Name) const {
    auto* C = dynamic_cast<T*>(Form->FindComponent(Name));
    if (!C) ADD_FAILURE() << "the report window has no " << Name;
    return C;
  }
  TCustomForm* Form;
  TButton *First = Part<TButton>("FirstPageButton"), *Prior = Part<TButton>("PriorPageButton"),
          *Next = Part<TButton>("NextPageButton"), *Last = Part<TButton>("LastPageButton"),
          *Close = Part<TButton>("CloseButton");
  TLabel* Label = Part<TLabel>("PageLabel");
  TMemo* Memo = Part<TMemo>("PageMemo");
};

// Every event of a report, in the order heard.
class TEventLog : public TObject {
 public:
  String Log;
  int RaiseAtRow = 0;  // a row handler that fails on this row
  template <int Kind>
  void Heard(TObject*) {
    static const char* const Names[] = {"BeforePrint", "OnPrint", "AfterPrint", "OnReportCreate", "AfterPreview"};
    Log += String(Names[Kind]) + " ";
  }
  void BeforeBand(TObject*, int Band) {
    Log += "<" + IntToStr(Band);
    if (Band == rbDetail && --RaiseAtRow == 0) throw EAbort("the handler failed");
  }
  void AfterBand(TObject*, int Band) { Log += IntToStr(Band) + "> "; }
  void BeforePage(TObject*, int Page) { Log += "[" + IntToStr(Page) + " "; }
  void AfterPage(TObject*, int Page) { Log += IntToStr(Page) + "] "; }
  void Listen(TOmQRGrid* R) {
    R->BeforePrint = Closure<&TEventLog::Heard<0>>(this);
    R->OnPrint = Closure<&TEventLog::Heard<1>>(this);
    R->AfterPrint = Closure<&TEventLog::Heard<2>>(this);
    R->OnReportCreate = Closure<&TEventLog::Heard<3>>(this);
    R->AfterPreview = Closure<&TEventLog::Heard<4>>(this);
    R->BeforeBandPrint = Closure<&TEventLog::BeforeBand>(this);
    R->AfterBandPrint = Closure<&TEventLog::AfterBand>(this);
    R->BeforePagePrint = Closure<&TEventLog::BeforePage>(this);
    R->AfterPagePrint = Closure<&TEventLog::AfterPage>(this);
  }
};

class ReportTest : public ::testing::Test {
 protected:
  TDesktop Desktop;
  TForm Form{nullptr, 0};
  TOmDBGrid* Grid = new TOmDBGrid(&Form);
  TDataSource* Source = new TDataSource(&Form);
  TClientDataSet* Data = new TClientDataSet(&Form);
  TOmQRGrid* Report = new TOmQRGrid(&Form);

  void SetUp() override {
    Form.SetName("Form1");
    Grid->SetName("Grid1");
    Grid->SetParent(&Form);
    Report->SetName("Report1");
    Data->FieldDefs()->Add("Id", ftInteger);
    Data->FieldDefs()->Add("Country", ftString, 20);
    Data->FieldDefs()->Add("Name", ftString, 400);
    Data->FieldDefs()->Add("Amount", ftFloat);
    Source->SetDataSet(Data);
    Grid->SetDataSource(Source);
    Report->SetReportDBGrid(Grid);
    Data->Open();
    Grid->Columns()->SetState(csCustomized);
    int Widths[] = {40, 64, 80, 64};  // 5, 8, 10 and 8 characters
    for (int I = 0; I < 4; ++I) Grid->Columns()->GetColumn(I)->SetWidth(Widths[I]);
    Report->ReportDate = "2003-04-01";
  }

  void Add(int Id, const String& Country, const String& Name, std::optional<double> Amount) {
    Data->Append();
    Data->FieldByName("Id")->SetAsInteger(Id);
    Data->FieldByName("Country")->SetAsString(Country);
    Data->FieldByName("Name")->SetAsString(Name);
    if (Amount) Data->FieldByName("Amount")->SetAsFloat(*Amount);
  }
  void AddRows(int N) {
    for (int I = 1; I <= N; ++I) Add(I, "DE", "Name " + IntToStr(I), I);
  }
  void Options(std::initializer_list<TOmReportOption> O) { Report->SetOptions(TOmReportOptions(O)); }
  TOmColumn* Column(int I) { return Grid->Columns()->GetColumn(I); }
  std::vector<TLines> Pages() {
    TOmReportPages P = Report->BuildPages();
    std::vector<TLines> R;
    for (int I = 0; I < P.PageCount(); ++I) R.push_back(LinesOf(P.Page(I)));
    return R;
  }
  static bool WindowOpen() {
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (Screen->Forms(I)->Name() == "OmQRPreviewForm") return true;
    return false;
  }
  static int Count(const TLines& Lines, const String& Begin) {
    return int(std::count_if(Lines.begin(), Lines.end(), [&](const String& L) { return L.rfind(Begin, 0) == 0; }));
  }
  // Runs Steps while the report's window is open, one each time it waits for input; a
  // step looks at the window and may queue what a person does next.
  void Drive(std::function<void()> Show, std::vector<std::function<void(TWindow&)>> Steps) {
    std::deque<std::function<void(TWindow&)>> Left(Steps.begin(), Steps.end());
    Desktop.Input().SetWhenEmpty([&](const TInputWait&) {
      auto* F = dynamic_cast<TCustomForm*>(Screen->ActiveForm());
      if (Left.empty() || !F || F->Name() != "OmQRPreviewForm") return false;
      TWindow W(F);
      auto Step = Left.front();
      Left.pop_front();
      Step(W);
      return true;
    });
    Show();
    Desktop.Input().SetWhenEmpty(nullptr);
    EXPECT_TRUE(Left.empty()) << Left.size() << " steps were not taken";
  }
};

TEST_F(ReportTest, CellsAreCutPaddedAndAlignedByTypeAndColumnBetweenTheRulesAndTotals) {
  Add(1, "DE", "Ann", 2.5);
  Add(2, "DE", "A very long name", 10);
  Add(3, "FR", "Bob\r\nSmith", std::nullopt);
  Report->ReportTitle()->LeftCaption = "L";
  Report->ReportTitle()->CenterCaption = "Sales";
  Report->ReportTitle()->RightCaption = "R";
  Column(1)->Alignment = taCenter;
  Column(1)->Report()->TotalText = "Total";
  Column(3)->Title()->SetAlignment(taRightJustify);
  Options({roPrintTitle, roPrintHeader, roPrintGrid, roPrintTotals});
  String Rule = "+-----+--------+----------+--------+\n";
  EXPECT_EQ(Report->BuildPages().Text(),
            "L" + String(34, ' ') + "Sales" + String(34, ' ') + "R\n" + Rule +
                "|Id   |Country |Name      |  Amount|\n" + Rule +
                "|    1|   DE   |Ann       |     2.5|\n"
                "|    2|   DE   |A very lon|      10|\n"
                "|    3|   FR   |Bob  Smith|        |\n" +
                Rule + "|    6| Total  |          |    12.5|\n" + Rule);
  Options({roPrintHeader});  // a space between cells, no blanks at the end
  Column(2)->SetVisible(false);
  Column(3)->Report()->Printed = false;
  EXPECT_EQ(Report->BuildPages().Text(), "Id    Country\n    1    DE\n    2    DE\n    3    FR\n");
  Data->Close();  // no rows, one page
  EXPECT_EQ(Pages(), (std::vector<TLines>{{"Id    Country"}}));
}

TEST_F(ReportTest, PagesRepeatTheHeaderTheTitleWhenAskedAndEndInTheirFooter) {
  AddRows(130);
  Report->ReportTitle()->LeftCaption = "Title";
  Options({roPrintTitle, roPrintHeader, roPrintGrid});
  auto Rows = [](const TLines& L) { return Count(L, "|") - 1; };  // less the header
  std::vector<TLines> P = Pages();
  ASSERT_EQ(P.size(), 3u);  // 55 rows below the title, 56 without, then the rest
  EXPECT_EQ(Rows(P[0]), 55);
  EXPECT_EQ(Rows(P[1]), 56);
  EXPECT_EQ(Rows(P[2]), 19);
  for (const TLines& L : P) {
    EXPECT_EQ(Count(L, "|Id   |Country |Name      |Amount  |"), 1);
    EXPECT_LE(L.size(), 60u);
    EXPECT_EQ(L.back(), "+-----+--------+----------+--------+");
  }
  EXPECT_EQ(P[0][0], "Title");
  EXPECT_EQ(Count(P[1], "Title") + Count(P[2], "Title"), 0);
  Options({roPrintTitle, roPrintHeader, roPrintGrid, roRepeatTitles, roLandscape});
  P = Pages();
  ASSERT_EQ(P.size(), 4u);  // 45 lines a page: 40 rows each
  for (const TLines& L : P) EXPECT_EQ(L[0], "Title");
  EXPECT_EQ(Rows(P[3]), 10);
  Report->ReportTitle()->RightCaption = "Right";
  EXPECT_EQ(Pages()[0][0], "Title" + String(90, ' ') + "Right");  // 100 characters across

  Options({roPrintHeader, roPrintFooter, roPrintPageNumbers, roPrintDate});
  P = Pages();
  ASSERT_EQ(P.size(), 3u);  // 58 rows a page between the header and the footer
  for (int I = 0; I < 3; ++I) {
    ASSERT_EQ(P[size_t(I)].size(), 60u);
    EXPECT_EQ(P[size_t(I)][59], "2003-04-01" + String(54, ' ') + "Page " + IntToStr(I + 1) + " of 3");
  }
  EXPECT_EQ(P[2][15], "");  // the last page filled down to its footer
  Options({roPrintHeader, roPrintFooter, roPrintDate});
  EXPECT_EQ(Pages()[0][59], "2003-04-01");
  Options({roPrintHeader, roPrintPageNumbers});  // no footer: 59 rows a page, no filling
  EXPECT_EQ(Pages()[2].size(), 13u);
}

TEST_F(ReportTest, ColumnsPastTheEdgeAreCutUnlessFittedToThePage) {
  Add(1, "DE", "Ann", 2.5);
  for (int I = 0; I < 8; ++I) Grid->Columns()->Add()->SetFieldName("Name");
  for (int I = 0; I < 12; ++I) Column(I)->SetWidth(80);
  Options({roPrintHeader, roPrintGrid});
  TLines L = Pages()[0];
  EXPECT_EQ(L[1].size(), 75u);  // six whole columns and one cut at the edge
  EXPECT_EQ(std::count(L[1].begin(), L[1].end(), '|'), 8);
  EXPECT_EQ(L[3].substr(66), "|Ann    |");
  Options({roPrintHeader, roPrintGrid, roFitToPage});
  L = Pages()[0];
  EXPECT_EQ(std::count(L[1].begin(), L[1].end(), '|'), 13);  // all twelve, five wide
  String Ann;
  for (int I = 0; I < 8; ++I) Ann += "Ann  |";
  EXPECT_EQ(L[3], "|    1|DE   |Ann  |  2.5|" + Ann);
}

TEST_F(ReportTest, GroupsOfEqualValuesHaveHeadersFootersAndPagesOfTheirOwn) {
  const char* Countries[] = {"DE", "DE", "FR", "US", "US", "US"};
  for (int I = 0; I < 6; ++I) Add(I + 1, Countries[I], "N", I);
  Options({roPrintHeader});
  Column(2)->SetVisible(false);
  Column(3)->SetVisible(false);
  TOmReportBands* Bands = Report->ReportBands();
  Bands->GroupExpression = " 'It''s ' + country + '!' ";  // any case, quotes doubled
  Bands->GroupFooter = true;
  EXPECT_EQ(Pages()[0], (TLines{"Id    Country", "It's DE!", "    1 DE", "    2 DE", "Count: 2", "It's FR!",
                                "    3 FR", "Count: 1", "It's US!", "    4 US", "    5 US", "    6 US", "Count: 3"}));
  Bands->NewPageOnGroup = true;
  Bands->GroupHeader = false;
  std::vector<TLines> P = Pages();
  ASSERT_EQ(P.size(), 3u);
  EXPECT_EQ(P[1], (TLines{"Id    Country", "    3 FR", "Count: 1"}));
  // A group's header is never the last line of a page: it goes on with the group's first row.
  Data->Close();
  Data->Open();
  for (int I = 1; I <= 57; ++I) Add(I, "DE", "N", I);
  Add(58, "FR", "N", 58);
  Bands->NewPageOnGroup = Bands->GroupFooter = false;
  Bands->GroupHeader = true;
  Bands->GroupExpression = "Country";
  P = Pages();
  ASSERT_EQ(P.size(), 2u);
  EXPECT_EQ(P[0].back(), "   57 DE");
  EXPECT_EQ(P[1], (TLines{"Id    Country", "FR", "   58 FR"}));
}

TEST_F(ReportTest, AGroupExpressionThatCannotBeReadSaysWhereAndWhy) {
  Add(1, "DE", "N", 1);
  struct TCase {
    const char* Expression;
    int Position;
    const char* What;
  } Cases[] = {
      {"Country +", 10, "a field name or a quoted text is missing at the end"},
      {"Country + 'DE", 11, "the quoted text is not closed"},
      {"Country Name", 9, "\"+\" is expected, not \"N\""},
      {"Country + Nowhere", 11, "the dataset has no field named \"Nowhere\""},
      {"+ Country", 1, "a field name or a quoted text is expected, not \"+\""},
      {"Country + \x01", 11, "a field name or a quoted text is expected, not #1"},
  };
  for (const TCase& C : Cases) {
    Report->ReportBands()->GroupExpression = C.Expression;
    Data->SetRecNo(1);
    try {
      Report->BuildPages();
      ADD_FAILURE() << C.Expression << " was accepted";
    } catch (const EOmReportError& E) {
      EXPECT_EQ(E.Message, Format("The group expression \"%s\" is wrong at position %d: %s",
                                  {C.Expression, C.Position, C.What}));
    }
  }
}

TEST_F(ReportTest, TheWindowShowsOnePageAtATimeTurnedByButtonsAndKeys) {
  AddRows(130);  // three pages
  Options({roPrintHeader});
  TOmReportPages P = Report->BuildPages();
  auto On = [&](int Page) {
    return [&, Page](TWindow& W) {
      EXPECT_EQ(W.Label->Caption(), "Page " + IntToStr(Page + 1) + " of 3");
      EXPECT_EQ(W.Memo->Lines()->Text(), StringReplaceAll(String(P.Page(Page)), "\n", "\r\n"));
      EXPECT_EQ(W.First->Enabled(), Page > 0);
      EXPECT_EQ(W.Prior->Enabled(), Page > 0);
      EXPECT_EQ(W.Next->Enabled(), Page < 2);
      EXPECT_EQ(W.Last->Enabled(), Page < 2);
    };
  };
  auto Then = [](std::function<void(TWindow&)> Look, std::function<void(TWindow&)> Act) {
    return [=](TWindow& W) {
      Look(W);
      Act(W);
    };
  };
  auto Click = [&](TButton* TWindow::*B) { return [&, B](TWindow& W) { Desktop.Input().Click(W.*B); }; };
  auto Key = [&](Word K) { return [&, K](TWindow&) { Desktop.Input().Key(K); }; };
  Drive([&] { Report->ShowReport(); },
        {[&](TWindow& W) {
           EXPECT_EQ(W.Form->Caption(), "Report - Report1");
           EXPECT_TRUE(W.Memo->ReadOnly());
           EXPECT_EQ(W.Memo->Font()->Pitch(), fpFixed);
           EXPECT_EQ(W.Close->Caption(), "Close");
           Desktop.Input().Click(W.Next);
         },
         Then(On(1), Click(&TWindow::Next)), Then(On(2), Click(&TWindow::Prior)), Then(On(1), Click(&TWindow::Last)),
         Then(On(2), Click(&TWindow::First)), Then(On(0), Key(VK_END)), Then(On(2), Key(VK_NEXT)),
         Then(On(2), Key(VK_PRIOR)), Then(On(1), Key(VK_HOME)), Then(On(0), Key(VK_NEXT)),
         Then(On(1), Key(VK_ESCAPE))});
  EXPECT_EQ(Report->Pages().Text(), P.Text());
  EXPECT_FALSE(WindowOpen());
}

TEST_F(ReportTest, APrintFiresItsEventsInOrderAndAPreviewRunsOnlyToBeLookedAt) {
  Add(1, "DE", "N", 1);
  Add(2, "DE", "N", 2);
  Options({roPrintTitle, roPrintHeader, roPrintFooter});
  Report->ReportTitle()->CenterCaption = "Sales";
  TEventLog Events;
  Events.Listen(Report);
  auto Caption = [&](const String& Expected) {
    return [&, Expected](TWindow& W) {
      EXPECT_EQ(W.Form->Caption(), Expected);
      Desktop.Input().Key(VK_ESCAPE);
    };
  };
  String Printed = "BeforePrint [1 <00> <11> <33> <33> <66> 1] OnPrint OnReportCreate AfterPrint ";
  Drive([&] { Report->ShowReport(); }, {Caption("Report - Sales")});
  EXPECT_EQ(Events.Log, Printed);
  Events.Log.clear();
  Drive([&] { Report->Preview(); }, {Caption("Report - Sales")});
  EXPECT_EQ(Events.Log, Printed + "AfterPreview ");
  Events.Log.clear();
  Options({roPrintTitle, roPrintHeader, roPrintFooter, roPreviewMode});
  Drive([&] { Report->Preview(); }, {Caption("Preview - Sales")});
  EXPECT_EQ(Events.Log, "OnReportCreate AfterPreview ");
  Events.Log.clear();
  Report->BuildPages();
  Options({roPrintTitle});
  Report->BuildPages();
  EXPECT_EQ(Events.Log, "");
}

TEST_F(ReportTest, TheCurrentRecordAndTheControlsComeBackAlsoWhenTheReportFails) {
  AddRows(5);
  Data->SetRecNo(3);
  TEventLog Events;
  Events.Listen(Report);
  Drive([&] { Report->ShowReport(); }, {[&](TWindow&) {
          EXPECT_FALSE(Data->ControlsDisabled());
          EXPECT_EQ(Data->RecNo(), 3);
          Desktop.Input().Answer(mrOk);
        }});
  Events.RaiseAtRow = 4;
  EXPECT_THROW(Report->ShowReport(), EAbort);  // no window: the queue is never asked
  EXPECT_EQ(Data->RecNo(), 3);
  EXPECT_FALSE(Data->ControlsDisabled());
  Data->Last();
  Data->Next();  // past the end
  Events.RaiseAtRow = 2;
  EXPECT_THROW(Report->ShowReport(), EAbort);
  EXPECT_TRUE(Data->Eof());
  EXPECT_EQ(Data->RecNo(), 5);
  EXPECT_FALSE(WindowOpen());
  Report->SetReportDBGrid(nullptr);
  EXPECT_THROW(Report->ShowReport(), EInvalidOperation);
}

// --- Saved units -------------------------------------------------------------------------

int RunCommand(const String& Command, String& Output) {
  Output.clear();
  FILE* P = popen((Command + " 2>&1").c_str(), "r");
  if (!P) return -1;
  char Buffer[4096];
  for (std::size_t N; (N = fread(Buffer, 1, sizeof Buffer, P)) > 0;) Output.append(Buffer, N);
  return pclose(P);
}

bool OnPath(const char* Tool) {
  String Ignored;
  return RunCommand(String("command -v ") + Tool, Ignored) == 0;
}

class ReportUnitTest : public ReportTest {
 protected:
  TTempFolder Folder;
  void SetUp() override {
    ReportTest::SetUp();
    // Every byte a literal must quote, in captions and values, and a value of 300.
    Report->ReportTitle()->LeftCaption = "It's \"q\" \\ ?\?= ?\?/";
    Report->ReportTitle()->CenterCaption = String("\t\x01\x1b\x7f\0z", 6);
    Report->ReportTitle()->RightCaption = "\xe9\x80\xff" "1";
    Add(1, "D'E", "O'Brien \\n \"x\" ?\?( 07\x07" "8", 1.5);
    Add(2, "D'E", "caf\xc3\xa9 \xe9t\xe9 #13'", 2);
    String Long;
    while (Long.size() < 300) Long += "'?\\\x01\xe9";
    Add(3, "Z", Long, std::nullopt);
    Column(2)->SetWidth(560);
    Options({roPrintTitle, roPrintHeader, roPrintGrid, roPrintTotals, roLandscape});
    Report->ReportBands()->GroupExpression = "Country + ' ' + Name";
  }
  // Compiles the unit at FileName with Main, runs it and checks that what it printed, in
  // each of its three ways, is the report byte for byte.
  void CompileAndRun(const String& FileName, const String& Main, const String& Compile) {
    String Output;
    WriteWholeFile(Folder / "main.src", Main);
    ASSERT_EQ(RunCommand(Compile, Output), 0) << Compile << "\n" << Output;
    String Run = Folder / "main" + " " + Folder / "printed" + " " + Folder / "read";
    ASSERT_EQ(RunCommand(Run + " >" + Folder / "stdout", Output), 0) << Output;
    String Expected = Report->BuildPages().Text();
    EXPECT_EQ(ReadWholeFile(Folder / "printed"), Expected) << FileName;
    EXPECT_EQ(ReadWholeFile(Folder / "read"), Expected) << FileName;
    EXPECT_EQ(ReadWholeFile(Folder / "stdout"), Expected) << FileName;
  }
  // Short lines of printable ASCII: every other byte is quoted.
  static void ExpectPlainSource(const String& Source) {
    for (const String& Line : LinesOf(Source)) {
      EXPECT_LE(Line.size(), 100u) << Line;
      EXPECT_TRUE(std::all_of(Line.begin(), Line.end(), [](char C) { return C >= 32 && C < 127; })) << Line;
    }
  }
  std::vector<String> Files() const {
    std::vector<String> R;
    for (auto& E : std::filesystem::directory_iterator(Folder.Path())) R.push_back(E.path().filename().string());
    std::sort(R.begin(), R.end());
    return R;
  }
};

TEST_F(ReportUnitTest, ADelphiUnitCompilesWithFreePascalInBothModesAndPrintsTheReport) {
  ASSERT_TRUE(OnPath("fpc")) << "fpc (Free Pascal) is not on PATH: tools/deps installs fp-compiler";
  Report->SaveReport(Folder / "SalesReport.pas");
  EXPECT_GT(Report->BuildPages().PageCount(), 0);
  ExpectPlainSource(ReadWholeFile(Folder / "SalesReport.pas"));
  const char* Main =
      "program Main;\n"
      "uses SalesReport;\n"
      "var\n"
      "  P, L: Integer;\n"
      "  F: Text;\n"
      "begin\n"
      "  if not PrintReportToFile(ParamStr(1)) then Halt(2);\n"
      "  AssignFile(F, ParamStr(2));\n"
      "  Rewrite(F);\n"
      "  for P := 1 to ReportPageCount do\n"
      "  begin\n"
      "    if P > 1 then Write(F, #12);\n"
      "    for L := 1 to ReportPageLineCount(P) do Write(F, ReportLine(P, L), #10);\n"
      "  end;\n"
      "  CloseFile(F);\n"
      "  PrintReport(Output);\n"
      "end.\n";
  for (const char* Mode : {"-Mdelphi", "-Mobjfpc"}) {
    std::filesystem::create_directories(Folder / "units" + Mode);
    CompileAndRun("SalesReport.pas", Main,
                  "cp " + Folder / "main.src " + Folder / "main.pas && fpc -vew " + Mode + " -FU" + Folder / "units" + Mode +
                      " -o" + Folder / "main " + Folder / "main.pas");
  }
}

TEST_F(ReportUnitTest, ACppUnitCompilesWithoutWarningsAndPrintsTheReport) {
  ASSERT_TRUE(OnPath("g++")) << "g++ is not on PATH";
  for (const char* Name : {"SalesReport.cpp", "SalesReport.cc", "SalesReport.cxx"}) {
    Report->SaveReport(Folder / Name);
    ExpectPlainSource(ReadWholeFile(Folder / Name));
  }
  const char* Main =
      "#include <cstddef>\n"
      "#include <cstdio>\n"
      "namespace SalesReport {\n"
      "int ReportPageCount();\n"
      "int ReportPageLineCount(int Page);\n"
      "const char* ReportLine(int Page, int Line);\n"
      "std::size_t ReportLineLength(int Page, int Line);\n"
      "bool PrintReport(std::FILE* File);\n"
      "bool PrintReport(const char* FileName);\n"
      "}\n"
      "int main(int, char** Args) {\n"
      "  using namespace SalesReport;\n"
      "  if (!PrintReport(Args[1])) return 2;\n"
      "  std::FILE* F = std::fopen(Args[2], \"wb\");\n"
      "  for (int P = 1; P <= ReportPageCount(); ++P) {\n"
      "    if (P > 1) std::fputc('\\f', F);\n"
      "    for (int L = 1; L <= ReportPageLineCount(P); ++L) {\n"
      "      std::fwrite(ReportLine(P, L), 1, ReportLineLength(P, L), F);\n"
      "      std::fputc('\\n', F);\n"
      "    }\n"
      "  }\n"
      "  std::fclose(F);\n"
      "  return PrintReport(stdout) ? 0 : 3;\n"
      "}\n";
  CompileAndRun("SalesReport.cc", Main,
                "g++ -std=c++17 -Wall -Wextra -Werror -x c++ " + Folder / "main.src -x none " + Folder / "SalesReport.cc -o " +
                    Folder / "main");
}

TEST_F(ReportUnitTest, ANameOrPlaceItCannotTakeLeavesNothingWrittenAndTheOldFileAsItWas) {
  for (const char* Name : {"Sales.txt", "Sales", "my report.pas", "1st.pas", "Begin.pas", "PrintReport.pas",
                           ".pas", "class.cpp", "a__b.cc", "std.cxx"}) {
    try {
      Report->SaveReport(Folder / Name);
      ADD_FAILURE() << Name << " was taken";
    } catch (const EInvalidOperation& E) {
      EXPECT_NE(E.Message.find(Folder / Name), String::npos) << E.Message;
      bool Extension = E.Message.find("(.pas) or a C++ unit (.cpp, .cc, .cxx)") != String::npos;
      EXPECT_EQ(Extension, !String(Name).ends_with("pas") && !String(Name).ends_with("c") &&
                               !String(Name).ends_with("cpp") && !String(Name).ends_with("cxx"))
          << E.Message;
    }
  }
  EXPECT_EQ(Files(), std::vector<String>{});
  EXPECT_THROW(Report->SaveReport(Folder / "missing/Sales.pas"), EFCreateError);
  WriteWholeFile(Folder / "Sales.cpp", "old");
  chmod((Folder / "Sales.cpp").c_str(), 0444);
  try {
    Report->SaveReport(Folder / "Sales.cpp");
    ADD_FAILURE() << "a read-only file was written";
  } catch (const EFCreateError& E) {
    EXPECT_NE(E.Message.find("Sales.cpp"), String::npos) << E.Message;
  }
  EXPECT_EQ(ReadWholeFile(Folder / "Sales.cpp"), "old");
  EXPECT_EQ(Files(), std::vector<String>{"Sales.cpp"});
  chmod((Folder / "Sales.cpp").c_str(), 0644);
  Report->SaveReport(Folder / "Sales.cpp");  // replaced whole
  EXPECT_EQ(ReadWholeFile(Folder / "Sales.cpp"), Report->ReportSource(Folder / "Sales.cpp"));
  Report->SetReportDBGrid(nullptr);
  EXPECT_THROW(Report->SaveReport(Folder / "Other.pas"), EInvalidOperation);
  EXPECT_EQ(Files(), std::vector<String>{"Sales.cpp"});
}

}  // namespace
