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
#include <tuple>

#include "DBClient.h"
#include "Desktop.h"
#include "Forms.h"
#include "OmQRGrids.h"
#include "StdCtrls.h"
#include "Faults.h"
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
  TCustomForm* Form;
  TComponent* operator[](const char* Name) const { return Form->FindComponent(Name); }
  TButton* Button(const char* Name) const { return dynamic_cast<TButton*>((*this)[Name]); }
};

// Every event of a report, in the order heard: the notifications by name, a page's and
// a band's as brackets round its number.
class TEventLog : public TObject {
 public:
  String Log;
  int RaiseAtRow = 0;  // a row's handler fails on this row
  template <int Kind>
  void Heard(TObject*) {
    Log += String((const char*[]){"BeforePrint", "OnPrint", "AfterPrint", "OnReportCreate", "AfterPreview"}[Kind]) + " ";
  }
  template <char Open>
  void Begins(TObject*, int N) {
    Log += Open + IntToStr(N);
    if (Open == '<' && N == rbDetail && --RaiseAtRow == 0) throw EAbort("the handler failed");
  }
  template <char Close>
  void Ends(TObject*, int N) { Log += IntToStr(N) + Close + " "; }
  void Listen(TOmQRGrid* R) {
    R->BeforePrint = Closure<&TEventLog::Heard<0>>(this), R->OnPrint = Closure<&TEventLog::Heard<1>>(this);
    R->AfterPrint = Closure<&TEventLog::Heard<2>>(this), R->OnReportCreate = Closure<&TEventLog::Heard<3>>(this);
    R->AfterPreview = Closure<&TEventLog::Heard<4>>(this);
    R->BeforeBandPrint = Closure<&TEventLog::Begins<'<'>>(this), R->AfterBandPrint = Closure<&TEventLog::Ends<'>'>>(this);
    R->BeforePagePrint = Closure<&TEventLog::Begins<'['>>(this), R->AfterPagePrint = Closure<&TEventLog::Ends<']'>>(this);
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
    Report->SetName("Report1");
    for (auto [Name, Type, Size] : {std::tuple{"Id", ftInteger, 0}, {"Country", ftString, 20}, {"Name", ftString, 400},
                                    {"Amount", ftFloat, 0}})
      Data->FieldDefs()->Add(Name, Type, Size);
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
    Data->Fields(0)->SetAsInteger(Id);
    Data->Fields(1)->SetAsString(Country);
    Data->Fields(2)->SetAsString(Name);
    if (Amount) Data->Fields(3)->SetAsFloat(*Amount);
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
  void Drive(const std::function<void()>& Show, const std::vector<std::function<void(TWindow)>>& Steps) {
    std::size_t Next = 0;
    Desktop.Input().SetWhenEmpty([&](const TInputWait&) {
      TCustomForm* F = Screen->ActiveForm();
      if (Next == Steps.size() || !F || F->Name() != "OmQRPreviewForm") return false;
      Steps[Next++](TWindow{F});
      return true;
    });
    Show();
    Desktop.Input().SetWhenEmpty(nullptr);
    EXPECT_EQ(Next, Steps.size()) << "steps were not taken";
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
  Options({roPrintHeader, roPrintGrid});  // no column printed: no table, a line a row
  for (int I = 0; I < 2; ++I) Column(I)->SetVisible(false);
  EXPECT_EQ(Report->BuildPages().Text(), "\n\n\n\n");
  for (int I = 0; I < 2; ++I) Column(I)->SetVisible(true);
  Data->Close();  // no rows, one page
  EXPECT_EQ(Pages(), (std::vector<TLines>{{"+-----+--------+", "|Id   |Country |", "+-----+--------+"}}));
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
  // What a person does, and the page that is then shown.
  struct TTurn {
    const char* Button;
    Word Key;
    int Page;
  } Turns[] = {{"NextPageButton", 0, 1},  {"NextPageButton", 0, 2}, {"PriorPageButton", 0, 1},
               {"LastPageButton", 0, 2},  {"FirstPageButton", 0, 0}, {nullptr, VK_END, 2},
               {nullptr, VK_NEXT, 2},     {nullptr, VK_PRIOR, 1},    {nullptr, VK_HOME, 0},
               {nullptr, VK_NEXT, 1},     {nullptr, VK_ESCAPE, -1}};
  std::vector<std::function<void(TWindow)>> Steps;
  for (int I = 0; I < int(std::size(Turns)); ++I)
    Steps.push_back([&, I](TWindow W) {
      int Page = I == 0 ? 0 : Turns[I - 1].Page;
      auto* Label = dynamic_cast<TLabel*>(W["PageLabel"]);
      auto* Memo = dynamic_cast<TMemo*>(W["PageMemo"]);
      ASSERT_TRUE(Label && Memo && Memo->ReadOnly() && Memo->Font()->Pitch() == fpFixed);
      EXPECT_EQ(Label->Caption(), "Page " + IntToStr(Page + 1) + " of 3");
      EXPECT_EQ(Memo->Lines()->Text(), StringReplaceAll(String(P.Page(Page)), "\n", "\r\n")) << I;
      for (const char* B : {"FirstPageButton", "PriorPageButton"}) EXPECT_EQ(W.Button(B)->Enabled(), Page > 0) << I;
      for (const char* B : {"NextPageButton", "LastPageButton"}) EXPECT_EQ(W.Button(B)->Enabled(), Page < 2) << I;
      if (Turns[I].Button)
        Desktop.Input().Click(W.Button(Turns[I].Button));
      else
        Desktop.Input().Key(Turns[I].Key);
    });
  Steps.insert(Steps.begin(), [&](TWindow W) {  // looks only: the next step follows at once
    EXPECT_EQ(W.Form->Caption(), "Report - Report1");
    EXPECT_EQ(W.Button("CloseButton")->Caption(), "Close");
  });
  Drive([&] { Report->ShowReport(); }, Steps);
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
  // What a run shows as its window's caption and fires, the window closed by Escape.
  auto Run = [this, &Events](void (TOmQRGrid::*Show)(), const String& Caption) {
    Events.Log.clear();
    TOmQRGrid* R = Report;
    TInputQueue& Input = Desktop.Input();
    Drive([R, Show] { (R->*Show)(); }, {[&Input, Caption](TWindow W) {
            EXPECT_EQ(W.Form->Caption(), Caption);
            Input.Key(VK_ESCAPE);
          }});
    return Events.Log;
  };
  String Printed = "BeforePrint [1<00> <11> <33> <33> <66> 1] OnPrint OnReportCreate AfterPrint ";
  EXPECT_EQ(Run(&TOmQRGrid::ShowReport, "Report - Sales"), Printed);
  EXPECT_EQ(Run(&TOmQRGrid::Preview, "Report - Sales"), Printed + "AfterPreview ");
  Options({roPrintTitle, roPrintHeader, roPrintFooter, roPreviewMode});
  EXPECT_EQ(Run(&TOmQRGrid::Preview, "Preview - Sales"), "OnReportCreate AfterPreview ");
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
  Drive([&] { Report->ShowReport(); }, {[&](TWindow) {
          EXPECT_FALSE(Data->ControlsDisabled());
          EXPECT_EQ(Data->RecNo(), 3);
          Desktop.Input().Answer(mrOk);
        }});
  Events.RaiseAtRow = 4;
  EXPECT_THROW(Report->ShowReport(), EAbort);  // and no window waits for input none gives
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

// Each program prints the report to the file it is given first, line by line as read to
// the second, and to its output.
TEST_F(ReportUnitTest, ADelphiUnitCompilesWithFreePascalInBothModesAndPrintsTheReport) {
  ASSERT_TRUE(OnPath("fpc")) << "fpc (Free Pascal) is not on PATH: tools/deps installs fp-compiler";
  Report->SaveReport(Folder / "SalesReport.pas");
  ExpectPlainSource(ReadWholeFile(Folder / "SalesReport.pas"));
  const char* Main =
      "program Main;\nuses SalesReport;\nvar P, L: Integer; F: Text;\nbegin\n"
      "  if not PrintReportToFile(ParamStr(1)) then Halt(2);\n"
      "  AssignFile(F, ParamStr(2)); Rewrite(F);\n"
      "  for P := 1 to ReportPageCount do begin\n"
      "    if P > 1 then Write(F, #12);\n"
      "    for L := 1 to ReportPageLineCount(P) do Write(F, ReportLine(P, L), #10);\n"
      "  end;\n  CloseFile(F);\n  PrintReport(Output);\nend.\n";
  for (String Mode : {"-Mdelphi", "-Mobjfpc"}) {
    String Units = Folder / "units" + Mode;
    std::filesystem::create_directories(Units);
    String Command = "cp ";
    for (const String& Word : {Folder / "main.src", Folder / "main.pas && fpc -vew", Mode, "-FU" + Units,
                               "-o" + Folder / "main", Folder / "main.pas"})
      Command += Word + " ";
    CompileAndRun("SalesReport.pas", Main, Command);
  }
}

TEST_F(ReportUnitTest, ACppUnitCompilesWithoutWarningsAndPrintsTheReport) {
  ASSERT_TRUE(OnPath("g++")) << "g++ is not on PATH";
  for (const char* Name : {"SalesReport.cpp", "SalesReport.cxx", "SalesReport.cc"}) {
    Report->SaveReport(Folder / Name);
    ExpectPlainSource(ReadWholeFile(Folder / Name));
  }
  const char* Main =
      "#include <cstdio>\nnamespace SalesReport {\nint ReportPageCount();\nint ReportPageLineCount(int);\n"
      "const char* ReportLine(int, int);\nstd::size_t ReportLineLength(int, int);\n"
      "bool PrintReport(std::FILE*);\nbool PrintReport(const char*);\n}\n"
      "int main(int, char** Args) {\n  using namespace SalesReport;\n"
      "  if (!PrintReport(Args[1])) return 2;\n  std::FILE* F = std::fopen(Args[2], \"wb\");\n"
      "  for (int P = 1; P <= ReportPageCount(); ++P) {\n    if (P > 1) std::fputc('\\f', F);\n"
      "    for (int L = 1; L <= ReportPageLineCount(P); ++L)\n"
      "      std::fwrite(ReportLine(P, L), 1, ReportLineLength(P, L), F), std::fputc('\\n', F);\n"
      "  }\n  std::fclose(F);\n  return PrintReport(stdout) ? 0 : 3;\n}\n";
  CompileAndRun("SalesReport.cc", Main,
                "g++ -std=c++17 -Wall -Wextra -Werror -x c++ " + Folder / "main.src -x none " +
                    Folder / "SalesReport.cc -o " + Folder / "main");
}

TEST_F(ReportUnitTest, AFullDiskOrAReadOnlyFolderFailsTheSaveAndKeepsTheOldUnit) {
  const String Unit = Folder / "Sales.pas", Old = "unit Sales; { the developer's }";
  for (bool Disk : {true, false}) {
    SCOPED_TRACE(Disk ? "full disk" : "read-only folder");
    WriteWholeFile(Unit, Old);
    std::unique_ptr<TDiskFull> Full;
    std::unique_ptr<TReadOnlyFolder> ReadOnly;
    if (Disk) {
      Full = std::make_unique<TDiskFull>(64);
    } else {
      ReadOnly = std::make_unique<TReadOnlyFolder>(Folder.Path());
      if (!ReadOnly->Effective()) {
        std::printf("skipped the read-only folder: %s\n", TReadOnlyFolder::WhyNot);
        continue;
      }
    }
    try {
      Report->SaveReport(Unit);
      ADD_FAILURE() << "saved";
    } catch (const EFCreateError& E) {
      EXPECT_NE(E.Message.find(Unit), String::npos) << E.Message;
    }
    Full.reset();
    ReadOnly.reset();
    EXPECT_EQ(ReadWholeFile(Unit), Old);
    EXPECT_EQ(Files(), std::vector<String>{"Sales.pas"});
  }
}

TEST_F(ReportUnitTest, ANameOrPlaceItCannotTakeLeavesNothingWrittenAndTheOldFileAsItWas) {
  // Each refused by its extension (true) or by its unit's name.
  for (auto [Name, ByExtension] :
       {std::pair{"Sales.txt", true}, {"Sales", true}, {"my report.pas", false}, {"1st.pas", false}, {"Begin.pas", false},
        {"PrintReport.pas", false}, {"text.pas", false}, {".pas", false}, {"class.cpp", false}, {"a__b.cc", false},
        {"_x.cc", false}, {"std.cxx", false}, {"FILE.cpp", false}}) {
    try {
      Report->SaveReport(Folder / Name);
      ADD_FAILURE() << Name << " was taken";
    } catch (const EInvalidOperation& E) {
      EXPECT_NE(E.Message.find("\"" + Folder / Name + "\""), String::npos) << E.Message;
      EXPECT_EQ(E.Message.find("(.pas) or a C++ unit (.cpp, .cc, .cxx)") != String::npos, ByExtension) << E.Message;
    }
  }
  EXPECT_EQ(Files(), std::vector<String>{});
  WriteWholeFile(Folder / "Sales.cpp", "old");
  chmod((Folder / "Sales.cpp").c_str(), 0444);
  for (String Name : {"missing/Sales.pas", "Sales.cpp"}) {  // no folder; a read-only file
    try {
      Report->SaveReport(Folder / Name);
      ADD_FAILURE() << Name << " was written";
    } catch (const EFCreateError& E) {
      EXPECT_NE(E.Message.find(Folder / Name), String::npos) << E.Message;
    }
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
