#include "OmQRGrids.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

OM_ENUM_TYPE_INFO(TOmReportOption, "roPrintTitle", "roPrintHeader", "roPrintFooter", "roPrintGrid",
                  "roPrintTotals", "roPrintPageNumbers", "roPrintDate", "roPreviewMode", "roFitToPage",
                  "roRepeatTitles", "roColorPrint", "roLandscape");
OM_SET_TYPE_INFO(TOmReportOptions, TOmReportOption);
OM_ENUM_TYPE_INFO(TOmReportPart, "rpAll", "rpSelection", "rpCurrentPage");
OM_ENUM_TYPE_INFO(TOmReportStyle, "rsList", "rsTable", "rsCards");
OM_EVENT_TYPE_INFO(TOmReportEvent);
OM_IMPLEMENT_CLASS(EOmReportError, "OmQRGrids");

template <>
struct TPublished<TOmReportText> {
  static constexpr TPropInfo Props[] = {
      Property<&TOmReportText::CenterCaption, &TOmReportText::CenterCaption>("CenterCaption"),
      Property<&TOmReportText::LeftCaption, &TOmReportText::LeftCaption>("LeftCaption"),
      Property<&TOmReportText::RightCaption, &TOmReportText::RightCaption>("RightCaption"),
  };
};
OM_IMPLEMENT_CLASS(TOmReportText, "OmQRGrids");

void TOmReportText::Assign(TPersistent* Source) {
  auto* T = dynamic_cast<TOmReportText*>(Source);
  if (!T) return TPersistent::Assign(Source);
  LeftCaption = T->LeftCaption;
  CenterCaption = T->CenterCaption;
  RightCaption = T->RightCaption;
}

template <>
struct TPublished<TOmReportBands> {
  static constexpr TPropInfo Props[] = {
      Property<&TOmReportBands::GroupExpression, &TOmReportBands::GroupExpression>("GroupExpression"),
      Property<&TOmReportBands::GroupFooter, &TOmReportBands::GroupFooter>("GroupFooter", 0),
      Property<&TOmReportBands::GroupHeader, &TOmReportBands::GroupHeader>("GroupHeader", 1),
      Property<&TOmReportBands::NewPageOnGroup, &TOmReportBands::NewPageOnGroup>("NewPageOnGroup", 0),
  };
};
OM_IMPLEMENT_CLASS(TOmReportBands, "OmQRGrids");

void TOmReportBands::Assign(TPersistent* Source) {
  auto* B = dynamic_cast<TOmReportBands*>(Source);
  if (!B) return TPersistent::Assign(Source);
  GroupExpression = B->GroupExpression;
  GroupHeader = B->GroupHeader;
  GroupFooter = B->GroupFooter;
  NewPageOnGroup = B->NewPageOnGroup;
}

template <>
struct TPublished<TOmPrinterSettings> {
  static constexpr TPropInfo Props[] = {
      Property<&TOmPrinterSettings::Copies, &TOmPrinterSettings::Copies>("Copies", 1),
      Property<&TOmPrinterSettings::FirstPage, &TOmPrinterSettings::FirstPage>("FirstPage", 0),
      Property<&TOmPrinterSettings::LastPage, &TOmPrinterSettings::LastPage>("LastPage", 0),
      Property<&TOmPrinterSettings::PrinterName, &TOmPrinterSettings::PrinterName>("PrinterName"),
  };
};
OM_IMPLEMENT_CLASS(TOmPrinterSettings, "OmQRGrids");

void TOmPrinterSettings::Assign(TPersistent* Source) {
  auto* P = dynamic_cast<TOmPrinterSettings*>(Source);
  if (!P) return TPersistent::Assign(Source);
  Copies = P->Copies;
  FirstPage = P->FirstPage;
  LastPage = P->LastPage;
  PrinterName = P->PrinterName;
}

template <>
struct TPublished<TOmQRGrid> {
  using Q = TOmQRGrid;
  static constexpr TPropInfo Props[] = {
      Property<&Q::Options, &Q::SetOptions>("Options", (TOmReportOptions{roPrintTitle, roPrintHeader, roPrintGrid}).Bits()),
#if OM_HOST_RELEASE == 5
      Property<&Q::PrepareNeeded, &Q::PrepareNeeded>("PrepareNeeded", 1),
#endif
      Property<&Q::PrintCurrentRow, &Q::PrintCurrentRow>("PrintCurrentRow", 0),
      Property<&Q::PrinterPage, &Q::PrinterPage>("PrinterPage", 0),
      Property<&Q::PrinterSettings, &Q::SetPrinterSettings>("PrinterSettings"),
      Property<&Q::PrintSelectedRows, &Q::PrintSelectedRows>("PrintSelectedRows", 0),
      Property<&Q::ReportAlign, &Q::ReportAlign>("ReportAlign", taLeftJustify),
      Property<&Q::ReportBands, &Q::SetReportBands>("ReportBands"),
      Property<&Q::ReportDBGrid, &Q::SetReportDBGrid>("ReportDBGrid"),
      Property<&Q::ReportNames, &Q::SetReportNames>("ReportNames"),
      Property<&Q::ReportPart, &Q::ReportPart>("ReportPart", rpAll),
      Property<&Q::ReportStyle, &Q::ReportStyle>("ReportStyle", rsTable),
      Property<&Q::ReportTitle, &Q::SetReportTitle>("ReportTitle"),
      Property<&Q::AfterBandPrint, &Q::AfterBandPrint>("AfterBandPrint"),
      Property<&Q::AfterPagePrint, &Q::AfterPagePrint>("AfterPagePrint"),
#if OM_HOST_RELEASE == 5
      Property<&Q::AfterPrepare, &Q::AfterPrepare>("AfterPrepare"),
#endif
      Property<&Q::AfterPreview, &Q::AfterPreview>("AfterPreview"),
      Property<&Q::AfterPrint, &Q::AfterPrint>("AfterPrint"),
      Property<&Q::BeforeBandPrint, &Q::BeforeBandPrint>("BeforeBandPrint"),
      Property<&Q::BeforePagePrint, &Q::BeforePagePrint>("BeforePagePrint"),
      Property<&Q::BeforePrint, &Q::BeforePrint>("BeforePrint"),
      Property<&Q::OnPrint, &Q::OnPrint>("OnPrint"),
      Property<&Q::OnReportCreate, &Q::OnReportCreate>("OnReportCreate"),
  };
};
OM_IMPLEMENT_CLASS(TOmQRGrid, "OmQRGrids");

TOmQRGrid::TOmQRGrid(TComponent* AOwner)
    : TComponent(AOwner),
      FReportBands(new TOmReportBands(this)),
      FReportTitle(new TOmReportText(this)),
      FPrinterSettings(new TOmPrinterSettings(this)),
      FReportNames(new TStringList),
      FPages(std::make_shared<const TOmReportPages>()) {}

TOmQRGrid::~TOmQRGrid() {
  delete FReportNames;
  delete FPrinterSettings;
  delete FReportTitle;
  delete FReportBands;
}

void TOmQRGrid::SetReportDBGrid(TOmCustomDBGrid* Value) {
  if (Value == FReportDBGrid) return;
  if (FReportDBGrid) FReportDBGrid->RemoveFreeNotification(this);
  FReportDBGrid = Value;
  if (Value) Value->FreeNotification(this);
}

void TOmQRGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FReportDBGrid) FReportDBGrid = nullptr;
}

// --- Pages ------------------------------------------------------------------------------

std::string_view TOmReportPages::Page(int Index) const {
  if (Index < 0 || Index >= PageCount())
    throw EListError(Format("Page index out of bounds (%d): the report has %d pages", {Index, PageCount()}));
  std::size_t Begin = FStarts[std::size_t(Index)];
  // A form feed stands between a page and the next.
  std::size_t End = Index + 1 < PageCount() ? FStarts[std::size_t(Index) + 1] - 1 : FText.size();
  return std::string_view(FText).substr(Begin, End - Begin);
}

namespace {

// A letter page at 10 characters and 6 lines an inch, inside half-inch margins.
constexpr int PortraitWidth = 75, PortraitLength = 60, LandscapeWidth = 100, LandscapeLength = 45;
constexpr int PixelsPerChar = 8, MinColumnChars = 3;
// The date never reaches the page numbers: it is cut to half the page.
constexpr int DateShare = 2;

bool IsIntegerKind(TFieldType T) {
  return T == ftSmallint || T == ftInteger || T == ftWord || T == ftAutoInc || T == ftLargeint;
}

bool IsFloatKind(TFieldType T) {
#if OM_HOST_RELEASE >= 6
  if (T == ftFMTBcd) return true;
#endif
  return T == ftFloat || T == ftCurrency || T == ftBCD;
}

// Line and page breaks would split a line of the report: they print as spaces.
void BlankBreaks(char* P, char* End) {
  for (; P != End; ++P)
    if (*P == '\n' || *P == '\r' || *P == '\v' || *P == '\f') *P = ' ';
}

String Today() {
  std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  char Text[16];
  std::strftime(Text, sizeof Text, "%Y-%m-%d", &Local);
  return Text;
}

// A character as an error message shows it.
String CharName(char C) {
  auto U = (unsigned char)C;
  return U >= 32 && U < 127 ? String("\"") + C + "\"" : Format("#%d", {int(U)});
}

bool IsNameStart(char C) { return std::isalpha((unsigned char)C) || C == '_'; }
// Dotted names reach into object fields, bracketed ones into arrays ("Phones[0].Kind").
bool IsNameChar(char C) {
  return std::isalnum((unsigned char)C) || C == '_' || C == '.' || C == '[' || C == ']';
}

// One term of a group expression: a field's text, or a quoted text.
struct TGroupTerm {
  bool IsField;
  TField* Field;  // null while the dataset is closed: there are no rows to read then
  String Text;    // the text, or the field's name
};

[[noreturn]] void GroupError(const String& Expression, std::size_t Pos, const String& What) {
  throw EOmReportError(Format("The group expression \"%s\" is wrong at position %d: %s",
                              {Expression, int(Pos + 1), What}));
}

// Terms joined by "+": field names (any case) and texts in single quotes, a quote doubled
// within one. Blank gives none: no grouping.
std::vector<TGroupTerm> ParseGroupExpression(const String& E, TDataSet* Data) {
  std::vector<TGroupTerm> Terms;
  std::size_t I = 0, N = E.size();
  auto SkipBlanks = [&] {
    while (I < N && std::isspace((unsigned char)E[I])) ++I;
  };
  SkipBlanks();
  if (I == N) return Terms;
  for (;;) {
    SkipBlanks();
    if (I == N) GroupError(E, I, "a field name or a quoted text is missing at the end");
    char C = E[I];
    if (C == '\'') {
      std::size_t Start = I++;
      String Text;
      for (;;) {
        if (I == N) GroupError(E, Start, "the quoted text is not closed");
        if (E[I] == '\'') {
          if (I + 1 < N && E[I + 1] == '\'') {
            Text += '\'';
            I += 2;
            continue;
          }
          ++I;
          break;
        }
        Text += E[I++];
      }
      Terms.push_back({false, nullptr, std::move(Text)});
    } else if (IsNameStart(C)) {
      std::size_t Start = I;
      while (I < N && IsNameChar(E[I])) ++I;
      String Name = E.substr(Start, I - Start);
      TField* F = nullptr;
      if (Data && Data->Active() && !(F = Data->FindField(Name)))
        GroupError(E, Start, Format("the dataset has no field named \"%s\"", {Name}));
      Terms.push_back({true, F, std::move(Name)});
    } else {
      GroupError(E, I, Format("a field name or a quoted text is expected, not %s", {CharName(C)}));
    }
    SkipBlanks();
    if (I == N) return Terms;
    if (E[I] != '+') GroupError(E, I, Format("\"+\" is expected, not %s", {CharName(E[I])}));
    ++I;
  }
}

}  // namespace

// --- Laying a report out ----------------------------------------------------------------------

// Builds one report: the columns once, then line after line into the one text of the
// pages, each line ended as it is made (cut to its cells, trailing blanks dropped).
class OM_HIDDEN TOmReportBuilder {
 public:
  TOmReportBuilder(TOmQRGrid* Report, bool Events) : R(Report), FEvents(Events), O(Report->FOptions) {}

  TOmReportPages Build() {
    Setup();
    TDataSource* Source = R->FReportDBGrid->GetDataSource();
    TDataSet* Data = Source ? Source->DataSet() : nullptr;
    bool HasRows = Data && Data->Active();
    FGroup = ParseGroupExpression(R->FReportBands->GroupExpression, HasRows ? Data : nullptr);
    Reserve(HasRows ? Data->RecordCount() : 0);
    if (FEvents && R->BeforePrint) R->BeforePrint(R);
    if (HasRows) WalkRows(Data);
    if (O.Contains(roPrintTotals)) Totals();
    if (!FPageOpen) StartPage();
    FinishPage();
    NumberPages();
    return std::move(P);
  }

 private:
  struct TPrinted {
    const TOmColumn* Column;
    TField* Field;
    int Width;
    TAlignment Align, TitleAlign;
    bool Integer, Float;  // summed as whole numbers, or as floating-point ones
    long long IntSum;
    double FloatSum;
  };

  void Setup() {
    bool Landscape = O.Contains(roLandscape);
    FWidth = P.FWidth = Landscape ? LandscapeWidth : PortraitWidth;
    FLength = P.FLength = Landscape ? LandscapeLength : PortraitLength;
    FGrid = O.Contains(roPrintGrid);
    FFooter = O.Contains(roPrintFooter);
    if (FFooter && O.Contains(roPrintDate)) {
      FDate = R->ReportDate.empty() ? Today() : R->ReportDate;
      std::size_t Max = O.Contains(roPrintPageNumbers) ? std::size_t(FWidth / DateShare) : std::size_t(FWidth);
      if (FDate.size() > Max) FDate.resize(Max);
      BlankBreaks(FDate.data(), FDate.data() + FDate.size());
    }
    if (auto* Grid = dynamic_cast<TOmDBGrid*>(R->FReportDBGrid)) {
      TOmDBGridColumns* Columns = Grid->Columns();
      for (int I = 0; I < Columns->Count(); ++I) {
        TOmColumn* C = Columns->GetColumn(I);
        if (!C->Visible() || !C->Report()->Printed) continue;
        int Pixels = C->Report()->PrintWidth > 0 ? C->Report()->PrintWidth : C->Width();
        TField* F = C->Field();
        TFieldType Kind = F ? F->DataType() : ftUnknown;
        TPrinted Col{C, F, std::max(MinColumnChars, (Pixels + PixelsPerChar / 2) / PixelsPerChar),
                     C->Alignment, C->Title()->Alignment(), IsIntegerKind(Kind), IsFloatKind(Kind), 0, 0};
        if (Col.Align == taLeftJustify && (Col.Integer || Col.Float)) Col.Align = taRightJustify;
        FCols.push_back(Col);
      }
    }
    FitColumns();
    FRule.assign(std::size_t(FTableWidth), '-');
    if (FGrid && !FCols.empty()) {
      std::size_t At = 0;
      FRule[At] = '+';
      for (const TPrinted& C : FCols) FRule[At += std::size_t(C.Width) + 1] = '+';
    }
  }

  // Shrinks the columns in proportion with roFitToPage, then cuts them at the page's edge.
  void FitColumns() {
    int N = int(FCols.size());
    int Separators = FGrid ? N + 1 : std::max(N - 1, 0);
    if (O.Contains(roFitToPage) && N > 0) {
      long long Total = 0;
      for (const TPrinted& C : FCols) Total += C.Width;
      int Room = FWidth - Separators;
      // Every column is at least MinColumnChars wide, so Total is never 0 here; the static
      // analyzer cannot know that.
      if (Total > Room && Total > 0)
        for (TPrinted& C : FCols) C.Width = std::max(1, int(C.Width * (long long)std::max(Room, 0) / Total));
    }
    int Pos = FGrid ? 1 : 0;
    for (int I = 0; I < N; ++I) {
      int Separator = FGrid ? 1 : (I > 0 ? 1 : 0);
      int Width = FCols[std::size_t(I)].Width;
      if (Pos + Width + Separator > FWidth) {
        int Rest = FWidth - Pos - Separator;
        if (Rest >= 1) {
          FCols[std::size_t(I)].Width = Rest;
          Pos += Rest + Separator;
          ++I;
        }
        FCols.resize(std::size_t(I));
        break;
      }
      Pos += Width + Separator;
    }
    FTableWidth = FCols.empty() ? 0 : Pos;
  }

  void Reserve(int Rows) {
    std::size_t Line = std::size_t(std::max(FTableWidth, 16)) + 1;
    std::size_t Pages = std::size_t(Rows) / std::size_t(std::max(FLength - 6, 1)) + 1;
    P.FText.reserve(std::size_t(Rows) * Line + Pages * 8 * (std::size_t(FWidth) + 1));
    P.FStarts.reserve(Pages);
  }

  void WalkRows(TDataSet* Data) {
    int Saved = Data->RecNo();
    bool WasEof = Data->Eof(), WasBof = Data->Bof();
    // The record that was current before, as the dataset can tell it: its number.
    auto Restore = [&] {
      if (!Data->Active() || Saved < 1 || Saved > Data->RecordCount()) return;
      Data->SetRecNo(Saved);
      if (WasEof && Saved == Data->RecordCount()) Data->Next();  // past the last, not moving
      if (WasBof && Saved == 1) Data->Prior();                   // before the first
    };
    Data->DisableControls();
    try {
      bool Grouped = !FGroup.empty(), First = true;
      for (Data->First(); !Data->Eof(); Data->Next()) {
        if (Grouped) {
          GroupValue();
          if (First || FValue != FCurrent) {
            if (!First) EndGroup();
            std::swap(FValue, FCurrent);
            BeginGroup(!First);
          }
        }
        First = false;
        NeedRoom(1);
        Before(rbDetail);
        Row();
        After(rbDetail);
        ++FGroupRows;
      }
      if (Grouped && !First) EndGroup();
    } catch (...) {
      Restore();
      Data->EnableControls();
      throw;
    }
    Restore();
    Data->EnableControls();
  }

  void GroupValue() {
    FValue.clear();
    for (const TGroupTerm& T : FGroup) {
      if (!T.IsField)
        FValue += T.Text;
      else
        FValue += T.Field->DisplayText();
    }
  }

  void BeginGroup(bool AfterAnother) {
    FGroupRows = 0;
    const TOmReportBands* B = R->FReportBands;
    if (AfterAnother && B->NewPageOnGroup && FPageOpen && FBodyLines > 0) {
      FinishPage();
      StartPage();
    }
    if (!B->GroupHeader) return;
    NeedRoom(2);  // the header never stands alone at the foot of a page
    Before(rbGroupHeader);
    BandLine(FCurrent);
    After(rbGroupHeader);
  }

  void EndGroup() {
    if (!R->FReportBands->GroupFooter) return;
    NeedRoom(1);
    Before(rbGroupFooter);
    BandLine("Count: " + IntToStr(FGroupRows));
    After(rbGroupFooter);
  }

  void Totals() {
    NeedRoom(FGrid ? 2 : 1);
    Before(rbSummary);
    if (FGrid) RuleLine();
    BeginLine();
    OpenTable();
    char Digits[40];
    for (std::size_t I = 0; I < FCols.size(); ++I) {
      const TPrinted& C = FCols[I];
      Separate(I);
      String Text = C.Column->Report()->TotalText;
      if (C.Integer || C.Float) {
        int N = C.Integer ? std::snprintf(Digits, sizeof Digits, "%lld", C.IntSum)
                          : std::snprintf(Digits, sizeof Digits, "%.15g", C.FloatSum);
        if (!Text.empty()) Text += ' ';
        Text.append(Digits, std::size_t(N));
      }
      Cell(Text.data(), Text.size(), C.Width, C.Align);
    }
    EndLine();
    ++FBodyLines;
    After(rbSummary);
  }

  // --- Pages

  void NeedRoom(int Lines) {
    if (!FPageOpen) {
      StartPage();
    } else if (FBodyLines > 0 && FBodyLines + Lines > FBodyRoom) {
      FinishPage();
      StartPage();
    }
  }

  void StartPage() {
    if (!P.FStarts.empty()) P.FText += '\f';
    P.FStarts.push_back(P.FText.size());
    FPageOpen = true;
    FBodyLines = FLines = 0;
    FLastWasRule = false;
    int Page = int(P.FStarts.size());
    if (FEvents && R->BeforePagePrint) R->BeforePagePrint(R, Page);
    if (O.Contains(roPrintTitle) && (Page == 1 || O.Contains(roRepeatTitles))) {
      Before(rbTitle);
      TitleLine();
      After(rbTitle);
    }
    if (O.Contains(roPrintHeader)) {
      Before(rbColumnHeader);
      if (FGrid) RuleLine();
      HeaderLine();
      if (FGrid) RuleLine();
      After(rbColumnHeader);
    } else if (FGrid) {
      RuleLine();
    }
    FBodyRoom = std::max(1, FLength - FLines - (FGrid ? 1 : 0) - (FFooter ? 1 : 0));
  }

  void FinishPage() {
    if (FGrid) RuleLine();
    if (FFooter) {
      while (FLines < FLength - 1) {
        P.FText += '\n';
        ++FLines;
      }
      Before(rbPageFooter);
      BeginLine();
      if (O.Contains(roPrintPageNumbers)) {
        // Room for "Page N of M" at the right edge, filled in once M is known.
        FFooters.push_back(P.FText.size());
        P.FText.append(std::size_t(FWidth), ' ');
        std::memcpy(&P.FText[FFooters.back()], FDate.data(), FDate.size());
        P.FText += '\n';
        ++FLines;
      } else {
        P.FText += FDate;
        EndLine();
      }
      After(rbPageFooter);
    }
    FPageOpen = false;
    if (FEvents && R->AfterPagePrint) R->AfterPagePrint(R, int(P.FStarts.size()));
  }

  void NumberPages() {
    String Count = IntToStr(int(P.FStarts.size()));
    for (std::size_t I = 0; I < FFooters.size(); ++I) {
      String Text = "Page " + IntToStr(int(I + 1)) + " of " + Count;
      std::size_t N = std::min(Text.size(), std::size_t(FWidth));
      std::memcpy(&P.FText[FFooters[I] + std::size_t(FWidth) - N], Text.data(), N);
    }
  }

  // --- Lines

  void BeginLine() { FLineStart = P.FText.size(); }

  void EndLine() {
    String& T = P.FText;
    std::size_t End = T.size();
    while (End > FLineStart && T[End - 1] == ' ') --End;
    T.resize(End);
    T += '\n';
    ++FLines;
    FLastWasRule = false;
  }

  // A rule never follows a rule: a page without rows has one below its header, not two.
  void RuleLine() {
    if (FLastWasRule || FTableWidth == 0) return;
    P.FText += FRule;
    P.FText += '\n';
    ++FLines;
    FLastWasRule = true;
  }

  // A table line begins with the grid's "|"; without columns there is no table to frame.
  void OpenTable() {
    if (FGrid && !FCols.empty()) P.FText += '|';
  }

  void Separate(std::size_t Index) {
    if (!FGrid && Index > 0) P.FText += ' ';
  }

  // Text placed in Width characters: cut, padded, its breaks blanked.
  void Put(const char* S, std::size_t N, int Width, TAlignment Align) {
    String& T = P.FText;
    std::size_t W = std::size_t(Width);
    if (N > W) N = W;
    std::size_t Pad = W - N;
    std::size_t Left = Align == taRightJustify ? Pad : Align == taCenter ? Pad / 2 : 0;
    if (Left) T.append(Left, ' ');
    std::size_t At = T.size();
    T.append(S, N);
    BlankBreaks(&T[At], &T[At] + N);
    if (Pad - Left) T.append(Pad - Left, ' ');
  }

  void Cell(const char* S, std::size_t N, int Width, TAlignment Align) {
    Put(S, N, Width, Align);
    if (FGrid) P.FText += '|';
  }

  void Row() {
    BeginLine();
    OpenTable();
    bool Sum = O.Contains(roPrintTotals);
    for (std::size_t I = 0; I < FCols.size(); ++I) {
      TPrinted& C = FCols[I];
      Separate(I);
      if (!C.Field) {
        Cell("", 0, C.Width, C.Align);
        continue;
      }
      String Text = C.Field->DisplayText();
      Cell(Text.data(), Text.size(), C.Width, C.Align);
      if (Sum && (C.Integer || C.Float) && !C.Field->IsNull()) {
        if (C.Integer)
          C.IntSum += C.Field->AsLargeInt();
        else
          C.FloatSum += C.Field->AsFloat();
      }
    }
    EndLine();
    ++FBodyLines;
  }

  void HeaderLine() {
    BeginLine();
    OpenTable();
    for (std::size_t I = 0; I < FCols.size(); ++I) {
      Separate(I);
      String Caption = FCols[I].Column->Title()->DisplayCaption();
      Cell(Caption.data(), Caption.size(), FCols[I].Width, FCols[I].TitleAlign);
    }
    EndLine();
  }

  // A line across the table: a group's header or footer.
  void BandLine(const String& Text) {
    BeginLine();
    if (FTableWidth == 0) {
      Put(Text.data(), Text.size(), FWidth, taLeftJustify);
    } else if (FGrid) {
      P.FText += '|';
      Cell(Text.data(), Text.size(), FTableWidth - 2, taLeftJustify);
    } else {
      Put(Text.data(), Text.size(), FTableWidth, taLeftJustify);
    }
    EndLine();
    ++FBodyLines;
  }

  void TitleLine() {
    const TOmReportText* T = R->FReportTitle;
    BeginLine();
    String& Out = P.FText;
    Out.append(std::size_t(FWidth), ' ');
    char* Line = &Out[FLineStart];
    std::size_t W = std::size_t(FWidth);
    auto Put = [&](const String& S, std::size_t (*At)(std::size_t W, std::size_t N)) {
      std::size_t N = std::min(S.size(), W);
      // NOLINTNEXTLINE(bugprone-not-null-terminated-result): into a line of the page, padded
      std::memcpy(Line + At(W, N), S.data(), N);
    };
    Put(T->RightCaption, [](std::size_t W, std::size_t N) { return W - N; });
    Put(T->CenterCaption, [](std::size_t W, std::size_t N) { return (W - N) / 2; });
    Put(T->LeftCaption, [](std::size_t, std::size_t) { return std::size_t(0); });
    BlankBreaks(Line, Line + W);
    EndLine();
  }

  void Before(TOmReportBand Band) {
    if (FEvents && R->BeforeBandPrint) R->BeforeBandPrint(R, Band);
  }
  void After(TOmReportBand Band) {
    if (FEvents && R->AfterBandPrint) R->AfterBandPrint(R, Band);
  }

  TOmQRGrid* R;
  bool FEvents;
  TOmReportOptions O;
  TOmReportPages P;
  std::vector<TPrinted> FCols;
  std::vector<TGroupTerm> FGroup;
  String FValue, FCurrent;  // the group value of this row, and of the group it is in
  int FGroupRows = 0;
  String FRule, FDate;
  int FWidth = 0, FLength = 0, FTableWidth = 0;
  bool FGrid = false, FFooter = false;
  bool FPageOpen = false, FLastWasRule = false;
  int FLines = 0, FBodyLines = 0, FBodyRoom = 0;
  std::size_t FLineStart = 0;
  std::vector<std::size_t> FFooters;  // where each page's footer line begins
};

// --- The window -----------------------------------------------------------------------

namespace {

// A report's pages, one at a time: only the page shown is in the memo.
class TReportWindow : public TObject {
 public:
  TReportWindow(std::shared_ptr<const TOmReportPages> Pages, const String& Caption)
      : FPages(std::move(Pages)), FForm(new TForm(nullptr, 0)) {
    try {
      Build(Caption);
    } catch (...) {
      delete FForm;
      throw;
    }
  }
  ~TReportWindow() override { delete FForm; }
  void Run() { FForm->ShowModal(); }

 private:
  void Build(const String& Caption) {
    constexpr int CharWidth = 6, LineHeight = 13, BarHeight = 33;  // the default font's cell
    FForm->SetName("OmQRPreviewForm");
    FForm->SetCaption(Caption);
    FForm->SetPosition(poScreenCenter);
    FForm->SetKeyPreview(true);
    FForm->OnKeyDown = Closure<&TReportWindow::KeyDown>(this);
    // A whole line across, and as many lines as the screen has room for.
    FForm->SetClientWidth(std::max(FPages->PageWidth() * CharWidth + 32, 400));
    FForm->SetClientHeight(BarHeight + std::min(FPages->PageLength() * LineHeight + 24, 560));
    auto* Bar = new TPanel(FForm);
    Bar->SetName("ButtonPanel");
    Bar->SetParent(FForm);
    Bar->SetCaption("");
    Bar->SetBevelOuter(bvNone);
    Bar->SetAlign(alTop);
    Bar->SetHeight(BarHeight);
    FFirst = AddButton(Bar, "FirstPageButton", "|<", 4);
    FPrior = AddButton(Bar, "PriorPageButton", "<", 34);
    FNext = AddButton(Bar, "NextPageButton", ">", 64);
    FLast = AddButton(Bar, "LastPageButton", ">|", 94);
    FLabel = new TLabel(FForm);
    FLabel->SetName("PageLabel");
    FLabel->SetParent(Bar);
    FLabel->SetLeft(132);
    FLabel->SetTop(10);
    auto* Close = new TButton(FForm);
    Close->SetName("CloseButton");
    Close->SetParent(Bar);
    Close->SetCaption("Close");
    Close->SetBounds(FForm->ClientWidth() - 79, 4, 75, 25);
    Close->SetModalResult(mrOk);
    Close->SetCancel(true);
    FMemo = new TMemo(FForm);
    FMemo->SetName("PageMemo");
    FMemo->SetParent(FForm);
    FMemo->SetAlign(alClient);
    FMemo->SetReadOnly(true);
    FMemo->SetWordWrap(false);
    FMemo->SetScrollBars(ssBoth);
    FMemo->Font()->SetName("Courier New");
    FMemo->Font()->SetPitch(fpFixed);
    FForm->SetActiveControl(FMemo);
    ShowPage(0);
  }

  TButton* AddButton(TWinControl* Bar, const char* Name, const char* Caption, int Left) {
    auto* B = new TButton(FForm);
    B->SetName(Name);
    B->SetParent(Bar);
    B->SetCaption(Caption);
    B->SetBounds(Left, 4, 26, 25);
    B->OnClick = Closure<&TReportWindow::Turn>(this);
    return B;
  }

  void ShowPage(int Index) {
    int Count = FPages->PageCount();
    FPage = Index;
    FMemo->SetText(String(FPages->Page(Index)));
    FLabel->SetCaption(Format("Page %d of %d", {Index + 1, Count}));
    FFirst->SetEnabled(Index > 0);
    FPrior->SetEnabled(Index > 0);
    FNext->SetEnabled(Index + 1 < Count);
    FLast->SetEnabled(Index + 1 < Count);
  }

  void Go(int Index) {
    Index = std::clamp(Index, 0, FPages->PageCount() - 1);
    if (Index != FPage) ShowPage(Index);
  }

  void Turn(TObject* Sender) {
    if (Sender == FFirst) Go(0);
    else if (Sender == FPrior) Go(FPage - 1);
    else if (Sender == FNext) Go(FPage + 1);
    else if (Sender == FLast) Go(FPages->PageCount() - 1);
  }

  void KeyDown(TObject*, Word& Key, TShiftState Shift) {
    if (!Shift.Empty()) return;
    switch (Key) {
      case VK_NEXT: Go(FPage + 1); break;
      case VK_PRIOR: Go(FPage - 1); break;
      case VK_HOME: Go(0); break;
      case VK_END: Go(FPages->PageCount() - 1); break;
      default: return;
    }
    Key = 0;
  }

  std::shared_ptr<const TOmReportPages> FPages;
  TForm* FForm;
  TButton *FFirst = nullptr, *FPrior = nullptr, *FNext = nullptr, *FLast = nullptr;
  TLabel* FLabel = nullptr;
  TMemo* FMemo = nullptr;
  int FPage = -1;
};

// --- The unit SaveReport writes ----------------------------------------------------------

enum class TLanguage { Pascal, Cpp };

// Literals are cut into pieces of this many source characters, one a line: short lines,
// and no Pascal literal near its 255 characters.
constexpr std::size_t PieceChars = 64;

const char* const PascalWords[] = {
    "and", "array", "as", "asm", "begin", "case", "class", "const", "constructor", "destructor",
    "dispinterface", "div", "do", "downto", "else", "end", "except", "exports", "file",
    "finalization", "finally", "for", "function", "goto", "if", "implementation", "in",
    "inherited", "initialization", "inline", "interface", "is", "label", "library", "mod", "nil",
    "not", "object", "of", "on", "operator", "or", "out", "packed", "procedure", "program",
    "property", "raise", "record", "repeat", "resourcestring", "set", "shl", "shr", "string",
    "then", "threadvar", "to", "try", "type", "unit", "until", "uses", "var", "while", "with",
    "xor", "generic", "specialize"};
// What the Pascal unit declares, the runtime's identifiers it uses (a unit of one of these
// names would hide it), and the runtime's units.
const char* const PascalTaken[] = {
    "ReportPageCount", "ReportPageLineCount", "ReportLine", "PrintReport", "PrintReportToFile",
    "PageCount", "LineCount", "PageStarts", "Lines", "Text", "Integer", "AnsiString", "AnsiChar",
    "Boolean", "Length", "Write", "BlockWrite", "Rewrite", "AssignFile", "CloseFile", "IOResult",
    "Output", "System", "objpas"};
const char* const CppWords[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break",
    "case", "catch", "char", "char8_t", "char16_t", "char32_t", "class", "compl", "concept",
    "const", "consteval", "constexpr", "constinit", "const_cast", "continue", "co_await",
    "co_return", "co_yield", "decltype", "default", "delete", "do", "double", "dynamic_cast",
    "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto",
    "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
    "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register",
    "reinterpret_cast", "requires", "return", "short", "signed", "sizeof", "static",
    "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local",
    "throw", "true", "try", "typedef", "typeid", "typename", "union", "unsigned", "using",
    "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq", "std"};
// What the C library's <cstdio> and <cstddef> declare at global scope (the standard's names
// and those of POSIX and the GNU library), which a namespace of that name would clash with.
const char* const CppLibraryNames[] = {
    "BUFSIZ", "EOF", "FILE", "FILENAME_MAX", "FOPEN_MAX", "L_ctermid", "L_cuserid", "L_tmpnam",
    "NULL", "P_tmpdir", "RENAME_EXCHANGE", "RENAME_NOREPLACE", "RENAME_WHITEOUT", "SEEK_CUR",
    "SEEK_DATA", "SEEK_END", "SEEK_HOLE", "SEEK_SET", "TMP_MAX", "asprintf", "clearerr",
    "clearerr_unlocked", "cookie_close_function_t", "cookie_io_functions_t",
    "cookie_read_function_t", "cookie_seek_function_t", "cookie_write_function_t", "ctermid",
    "cuserid", "dprintf", "fclose", "fcloseall", "fdopen", "feof", "feof_unlocked", "ferror",
    "ferror_unlocked", "fflush", "fflush_unlocked", "fgetc", "fgetc_unlocked", "fgetpos",
    "fgetpos64", "fgets", "fgets_unlocked", "fileno", "fileno_unlocked", "flockfile", "fmemopen",
    "fopen", "fopen64", "fopencookie", "fpos64_t", "fpos_t", "fprintf", "fputc", "fputc_unlocked",
    "fputs", "fputs_unlocked", "fread", "fread_unlocked", "freopen", "freopen64", "fscanf", "fseek",
    "fseeko", "fseeko64", "fsetpos", "fsetpos64", "ftell", "ftello", "ftello64", "ftrylockfile",
    "funlockfile", "fwrite", "fwrite_unlocked", "getc", "getc_unlocked", "getchar",
    "getchar_unlocked", "getdelim", "getline", "gets", "getw", "max_align_t", "nullptr_t",
    "obstack", "obstack_printf", "obstack_vprintf", "off64_t", "off_t", "offsetof",
    "open_memstream", "pclose", "perror", "popen", "printf", "ptrdiff_t", "putc", "putc_unlocked",
    "putchar", "putchar_unlocked", "puts", "putw", "remove", "rename", "renameat", "renameat2",
    "rewind", "scanf", "setbuf", "setbuffer", "setlinebuf", "setvbuf", "size_t", "snprintf",
    "sprintf", "sscanf", "ssize_t", "stderr", "stdin", "stdout", "tempnam", "tmpfile", "tmpfile64",
    "tmpnam", "tmpnam_r", "ungetc", "va_list", "vasprintf", "vdprintf", "vfprintf", "vfscanf",
    "vprintf", "vscanf", "vsnprintf", "vsprintf", "vsscanf"};

// Why Name cannot name a unit of the language, or empty when it can.
String UnitNameFault(const String& Name, TLanguage Language) {
  const char* Identifier = "it is not an identifier (letters, digits and underscores, not beginning with a digit)";
  if (Name.empty() || std::isdigit((unsigned char)Name[0])) return Identifier;
  for (char C : Name)
    if (!std::isalnum((unsigned char)C) && C != '_') return Identifier;
  if (Language == TLanguage::Pascal) {
    for (const char* W : PascalWords)
      if (SameText(Name, W)) return "it is a reserved word of Pascal";
    for (const char* W : PascalTaken)
      if (SameText(Name, W)) return "the unit declares or uses an identifier of that name, or the runtime a unit";
  } else {
    for (const char* W : CppWords)
      if (Name == W) return "it is a keyword of C++";
    for (const char* W : CppLibraryNames)
      if (Name == W) return "<cstdio> or <cstddef> declares that name at global scope";
    // At global scope a name beginning with an underscore is reserved, and one holding two anywhere.
    if (Name[0] == '_' || Name.find("__") != String::npos) return "C++ reserves such names to the compiler";
  }
  return String();
}

void AppendNumber(String& Out, std::size_t N) {
  char Digits[24];
  int Length = std::snprintf(Digits, sizeof Digits, "%zu", N);
  Out.append(Digits, std::size_t(Length));
}

// A byte a literal can hold as it is: printable ASCII but the language's quotes.
bool PascalPlain(unsigned char C) { return C >= 32 && C < 127 && C != '\''; }
bool CppPlain(unsigned char C) { return C >= 32 && C < 127 && C != '\\' && C != '"' && C != '?'; }

// Line as Pascal literals, in pieces joined by "+" one a source line: printable runs in
// quotes, a quote doubled, every other byte as #nnn.
void PascalLiteral(String& Out, std::string_view Line, const char* Indent) {
  Out += Indent;
  if (Line.empty()) {
    Out += "''";
    return;
  }
  std::size_t PieceStart = Out.size();
  bool Quoted = false;
  std::size_t I = 0, N = Line.size();
  while (I < N) {
    if (Out.size() - PieceStart >= PieceChars) {
      if (Quoted) Out += '\'';
      Quoted = false;
      Out += " +\n";
      Out += Indent;
      PieceStart = Out.size();
    }
    auto C = (unsigned char)Line[I];
    if (PascalPlain(C) || C == '\'') {
      if (!Quoted) Out += '\'';
      Quoted = true;
      if (C == '\'') {
        Out += "''";
        ++I;
        continue;
      }
      std::size_t Room = PieceChars - std::min(PieceChars, Out.size() - PieceStart);
      std::size_t End = I + 1;
      while (End < N && End - I < Room && PascalPlain((unsigned char)Line[End])) ++End;
      Out.append(Line.data() + I, End - I);
      I = End;
    } else {
      if (Quoted) Out += '\'';
      Quoted = false;
      Out += '#';
      AppendNumber(Out, C);
      ++I;
    }
  }
  if (Quoted) Out += '\'';
}

// Line as C++ literals, one a source line (adjacent literals join): printable runs as
// they are, a backslash, a quote and a question mark (no trigraph) escaped, every other
// byte as a three-digit octal escape, which no following digit can extend.
void CppLiteral(String& Out, std::string_view Line, const char* Indent) {
  Out += Indent;
  Out += '"';
  std::size_t PieceStart = Out.size();
  std::size_t I = 0, N = Line.size();
  while (I < N) {
    if (Out.size() - PieceStart >= PieceChars) {
      Out += "\"\n";
      Out += Indent;
      Out += '"';
      PieceStart = Out.size();
    }
    auto C = (unsigned char)Line[I];
    if (CppPlain(C)) {
      std::size_t Room = PieceChars - std::min(PieceChars, Out.size() - PieceStart);
      std::size_t End = I + 1;
      while (End < N && End - I < Room && CppPlain((unsigned char)Line[End])) ++End;
      Out.append(Line.data() + I, End - I);
      I = End;
      continue;
    }
    Out += '\\';
    if (C == '\\' || C == '"' || C == '?') {
      Out += char(C);
    } else {
      Out += char('0' + (C >> 6));
      Out += char('0' + ((C >> 3) & 7));
      Out += char('0' + (C & 7));
    }
    ++I;
  }
  Out += '"';
}

// Calls Each(Line) for every line of the report, and Page(First) where each page begins.
template <class FPage, class FLine>
void ForEachLine(const TOmReportPages& Pages, FPage&& Page, FLine&& Each) {
  std::size_t Lines = 0;
  for (int P = 0; P < Pages.PageCount(); ++P) {
    Page(Lines);
    std::string_view Text = Pages.Page(P);
    std::size_t At = 0;
    while (At < Text.size()) {
      std::size_t End = Text.find('\n', At);
      Each(Text.substr(At, End - At));
      At = End + 1;
      ++Lines;
    }
  }
  Page(Lines);
}

// The page starts, ten a line.
void AppendStarts(String& Out, const TOmReportPages& Pages) {
  int I = 0;
  ForEachLine(
      Pages,
      [&](std::size_t First) {
        Out += I == 0 ? "    " : I % 10 == 0 ? ",\n    " : ", ";
        AppendNumber(Out, First);
        ++I;
      },
      [](std::string_view) {});
}

String PascalUnit(const String& Unit, const String& Of, const TOmReportPages& Pages) {
  const String& Text = Pages.Text();
  std::size_t LineCount = std::size_t(std::count(Text.begin(), Text.end(), '\n'));
  String Out;
  Out.reserve(Text.size() + Text.size() / 4 + LineCount * 12 + 4096);
  Out += "unit " + Unit + ";\n\n";
  Out += "{ The report of " + Of + " as it printed when it was saved: its pages as constants, and\n"
         "  ways to read and print them. It needs no library, in Delphi or in Free Pascal. }\n\n"
         "{$H+}\n\n"
         "interface\n\n"
         "{ The number of pages. }\n"
         "function ReportPageCount: Integer;\n"
         "{ The number of lines of page Page (from 1); 0 for a page the report does not have. }\n"
         "function ReportPageLineCount(Page: Integer): Integer;\n"
         "{ Line Line (from 1) of page Page; empty for a line the report does not have. }\n"
         "function ReportLine(Page, Line: Integer): AnsiString;\n"
         "{ The whole report: each line ended by a line feed, a form feed between two pages. }\n"
         "procedure PrintReport(var F: Text);\n"
         "{ The same into a file made anew; False when it cannot be written. }\n"
         "function PrintReportToFile(const FileName: AnsiString): Boolean;\n\n"
         "implementation\n\n"
         "const\n";
  Out += "  PageCount = ";
  AppendNumber(Out, std::size_t(Pages.PageCount()));
  Out += ";\n  LineCount = ";
  AppendNumber(Out, LineCount);
  Out += ";\n  PageStarts: array[1..PageCount + 1] of Integer = (\n";
  AppendStarts(Out, Pages);
  Out += ");\n  { The lines, and one more so that the list is never empty. }\n"
         "  Lines: array[0..LineCount] of AnsiString = (\n";
  ForEachLine(Pages, [](std::size_t) {}, [&](std::string_view Line) {
    PascalLiteral(Out, Line, "    ");
    Out += ",\n";
  });
  Out += "    '');\n\n";
  Out += "function ReportPageCount: Integer;\n"
         "begin\n"
         "  Result := PageCount;\n"
         "end;\n\n"
         "function ReportPageLineCount(Page: Integer): Integer;\n"
         "begin\n"
         "  if (Page >= 1) and (Page <= PageCount) then\n"
         "    Result := PageStarts[Page + 1] - PageStarts[Page]\n"
         "  else\n"
         "    Result := 0;\n"
         "end;\n\n"
         "function ReportLine(Page, Line: Integer): AnsiString;\n"
         "begin\n"
         "  if (Line >= 1) and (Line <= ReportPageLineCount(Page)) then\n"
         "    Result := Lines[PageStarts[Page] + Line - 1]\n"
         "  else\n"
         "    Result := '';\n"
         "end;\n\n"
         "procedure PrintReport(var F: Text);\n"
         "var\n"
         "  Page, I: Integer;\n"
         "begin\n"
         "  for Page := 1 to PageCount do\n"
         "  begin\n"
         "    if Page > 1 then\n"
         "      Write(F, #12);\n"
         "    for I := PageStarts[Page] to PageStarts[Page + 1] - 1 do\n"
         "      Write(F, Lines[I], #10);\n"
         "  end;\n"
         "end;\n\n"
         "function PrintReportToFile(const FileName: AnsiString): Boolean;\n"
         "const\n"
         "  LineFeed: AnsiChar = #10;\n"
         "  FormFeed: AnsiChar = #12;\n"
         "var\n"
         "  F: file;\n"
         "  Page, I: Integer;\n"
         "begin\n"
         "  {$I-}\n"
         "  AssignFile(F, FileName);\n"
         "  Rewrite(F, 1);\n"
         "  for Page := 1 to PageCount do\n"
         "  begin\n"
         "    if Page > 1 then\n"
         "      BlockWrite(F, FormFeed, 1);\n"
         "    for I := PageStarts[Page] to PageStarts[Page + 1] - 1 do\n"
         "    begin\n"
         "      if Length(Lines[I]) > 0 then\n"
         "        BlockWrite(F, Lines[I][1], Length(Lines[I]));\n"
         "      BlockWrite(F, LineFeed, 1);\n"
         "    end;\n"
         "  end;\n"
         "  CloseFile(F);\n"
         "  {$I+}\n"
         "  Result := IOResult = 0;\n"
         "end;\n\n"
         "end.\n";
  return Out;
}

String CppUnit(const String& Unit, const String& Of, const TOmReportPages& Pages) {
  const String& Text = Pages.Text();
  std::size_t LineCount = std::size_t(std::count(Text.begin(), Text.end(), '\n'));
  String Out;
  Out.reserve(Text.size() + Text.size() / 4 + LineCount * 24 + 4096);
  String Declarations =
      "// The number of pages.\n"
      "int ReportPageCount();\n"
      "// The number of lines of page Page (from 1); 0 for a page the report does not have.\n"
      "int ReportPageLineCount(int Page);\n"
      "// Line Line (from 1) of page Page, and its length (a line may hold a NUL); \"\" and 0\n"
      "// for a line the report does not have.\n"
      "const char* ReportLine(int Page, int Line);\n"
      "std::size_t ReportLineLength(int Page, int Line);\n"
      "// The whole report: each line ended by a line feed, a form feed between two pages;\n"
      "// false when it could not be written.\n"
      "bool PrintReport(std::FILE* File);\n"
      "bool PrintReport(const char* FileName);\n";
  Out += "// " + Unit + ": the report of " + Of + " as it printed when it was saved: its pages as\n"
         "// constants, and ways to read and print them, in standard C++ alone. Declare what\n"
         "// you call as below, in namespace " + Unit + ".\n"
         "#include <cstddef>\n"
         "#include <cstdio>\n\n"
         "namespace " + Unit + " {\n\n" + Declarations +
         "\nnamespace {\n\n"
         "struct TLine {\n"
         "  std::size_t Length;\n"
         "  const char* Text;\n"
         "};\n\n"
         "const int PageCount = ";
  AppendNumber(Out, std::size_t(Pages.PageCount()));
  Out += ";\nconst int PageStarts[PageCount + 1] = {\n";
  AppendStarts(Out, Pages);
  Out += "};\n// The lines, and one more so that the list is never empty.\n"
         "const TLine Lines[] = {\n";
  ForEachLine(Pages, [](std::size_t) {}, [&](std::string_view Line) {
    Out += "    {";
    AppendNumber(Out, Line.size());
    Out += ",\n";
    CppLiteral(Out, Line, "     ");
    Out += "},\n";
  });
  Out += "    {0, \"\"}};\n\n"
         "const TLine* LineAt(int Page, int Line) {\n"
         "  if (Line < 1 || Line > ReportPageLineCount(Page)) return nullptr;\n"
         "  return &Lines[PageStarts[Page - 1] + Line - 1];\n"
         "}\n\n"
         "}  // namespace\n\n"
         "int ReportPageCount() { return PageCount; }\n\n"
         "int ReportPageLineCount(int Page) {\n"
         "  return Page >= 1 && Page <= PageCount ? PageStarts[Page] - PageStarts[Page - 1] : 0;\n"
         "}\n\n"
         "const char* ReportLine(int Page, int Line) {\n"
         "  const TLine* L = LineAt(Page, Line);\n"
         "  return L ? L->Text : \"\";\n"
         "}\n\n"
         "std::size_t ReportLineLength(int Page, int Line) {\n"
         "  const TLine* L = LineAt(Page, Line);\n"
         "  return L ? L->Length : 0;\n"
         "}\n\n"
         "bool PrintReport(std::FILE* File) {\n"
         "  for (int Page = 0; Page < PageCount; ++Page) {\n"
         "    if (Page > 0) std::fputc('\\f', File);\n"
         "    for (int I = PageStarts[Page]; I < PageStarts[Page + 1]; ++I) {\n"
         "      std::fwrite(Lines[I].Text, 1, Lines[I].Length, File);\n"
         "      std::fputc('\\n', File);\n"
         "    }\n"
         "  }\n"
         "  return std::ferror(File) == 0;\n"
         "}\n\n"
         "bool PrintReport(const char* FileName) {\n"
         "  std::FILE* File = std::fopen(FileName, \"wb\");\n"
         "  if (!File) return false;\n"
         "  bool Written = PrintReport(File);\n"
         "  return std::fclose(File) == 0 && Written;\n"
         "}\n\n"
         "}  // namespace " + Unit + "\n";
  return Out;
}

}  // namespace

// --- The report grid ------------------------------------------------------------------

const TOmReportPages& TOmQRGrid::Pages() const noexcept { return *FPages; }

void TOmQRGrid::CheckGrid() const {
  if (!FReportDBGrid) throw EInvalidOperation(Format("%s has no grid to report", {Name()}));
}

TOmReportPages TOmQRGrid::BuildPages() {
  CheckGrid();
  return TOmReportBuilder(this, false).Build();
}

void TOmQRGrid::Show(bool AsPreview) {
  CheckGrid();
  bool Printing = !FOptions.Contains(roPreviewMode);
  auto Pages = std::make_shared<const TOmReportPages>(TOmReportBuilder(this, Printing).Build());
  FPages = Pages;
  if (Printing && OnPrint) OnPrint(this);
  String Title = !FReportTitle->CenterCaption.empty() ? FReportTitle->CenterCaption
                 : !Name().empty()                     ? Name()
                                                       : ClassName();
  TReportWindow Window(std::move(Pages), (Printing ? "Report - " : "Preview - ") + Title);
  if (OnReportCreate) OnReportCreate(this);
  Window.Run();
  if (Printing && AfterPrint) AfterPrint(this);
  if (AsPreview && AfterPreview) AfterPreview(this);
}

void TOmQRGrid::Preview() { Show(true); }

void TOmQRGrid::ShowReport() { Show(false); }

String TOmQRGrid::ReportSource(const String& FileName) {
  CheckGrid();
  String Ext = ExtractFileExt(FileName);
  bool Pascal = SameText(Ext, ".pas");
  if (!Pascal && !SameText(Ext, ".cpp") && !SameText(Ext, ".cc") && !SameText(Ext, ".cxx"))
    throw EInvalidOperation(Format("Cannot save the report of %s as \"%s\": a report is saved as a "
                                   "Delphi unit (.pas) or a C++ unit (.cpp, .cc, .cxx)",
                                   {Name(), FileName}));
  TLanguage Language = Pascal ? TLanguage::Pascal : TLanguage::Cpp;
  String Unit = ChangeFileExt(ExtractFileName(FileName), "");
  String Fault = UnitNameFault(Unit, Language);
  if (!Fault.empty())
    throw EInvalidOperation(Format("Cannot save the report of %s as \"%s\": \"%s\" cannot name the unit: %s",
                                   {Name(), FileName, Unit, Fault}));
  TComponent* Root = Owner();
  String Of = Name().empty() ? String("a report grid")
              : Root && !Root->Name().empty() ? Root->Name() + "." + Name()
                                              : Name();
  TOmReportPages Pages = BuildPages();
  return Pascal ? PascalUnit(Unit, Of, Pages) : CppUnit(Unit, Of, Pages);
}

void TOmQRGrid::SaveReport(const String& FileName) {
  String Source = ReportSource(FileName);
  TMemoryStream Stream;
  Stream.Bytes().assign(Source.begin(), Source.end());
  Stream.SaveToFile(FileName);
}
namespace Omqrgrids {
int InitCount = 0;
void Initialization() { RegisterClasses({TOmQRGrid::StaticClass()}); }
void Finalization() { UnRegisterClass(TOmQRGrid::StaticClass()); }
}  // namespace Omqrgrids
