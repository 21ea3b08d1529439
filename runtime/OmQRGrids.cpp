#include "OmQRGrids.h"

OM_ENUM_TYPE_INFO(TOmReportOption, "roPrintTitle", "roPrintHeader", "roPrintFooter", "roPrintGrid",
                  "roPrintTotals", "roPrintPageNumbers", "roPrintDate", "roPreviewMode", "roFitToPage",
                  "roRepeatTitles", "roColorPrint", "roLandscape");
OM_SET_TYPE_INFO(TOmReportOptions, TOmReportOption);
OM_ENUM_TYPE_INFO(TOmReportPart, "rpAll", "rpSelection", "rpCurrentPage");
OM_ENUM_TYPE_INFO(TOmReportStyle, "rsList", "rsTable", "rsCards");
OM_EVENT_TYPE_INFO(TOmReportEvent);

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
      FReportNames(new TStringList) {}

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

String TOmQRGrid::BuildReport() {
  if (!FReportDBGrid) throw EInvalidOperation(Format("%s has no grid to report", {Name()}));
  String Out;
  const TOmReportText* T = FReportTitle;
  if (FOptions.Contains(roPrintTitle))
    Out += T->LeftCaption + " | " + T->CenterCaption + " | " + T->RightCaption + "\n";
  auto* Grid = dynamic_cast<TOmDBGrid*>(FReportDBGrid);
  std::vector<TOmColumn*> Columns;
  if (Grid)
    for (int I = 0; I < Grid->Columns()->Count(); ++I)
      if (Grid->Columns()->GetColumn(I)->Visible() && Grid->Columns()->GetColumn(I)->Report()->Printed)
        Columns.push_back(Grid->Columns()->GetColumn(I));
  if (FOptions.Contains(roPrintHeader)) {
    String Line;
    for (TOmColumn* C : Columns) Line += (Line.empty() ? "" : " | ") + C->Title()->DisplayCaption();
    Out += Line + "\n";
  }
  TDataSource* Source = FReportDBGrid->GetDataSource();
  TDataSet* Data = Source ? Source->DataSet() : nullptr;
  if (Data && Data->Active()) {
    Data->DisableControls();
    try {
      for (Data->First(); !Data->Eof(); Data->Next()) {
        String Line;
        for (TOmColumn* C : Columns) {
          TField* F = Data->FindField(C->FieldName());
          Line += (Line.empty() ? "" : " | ") + (F ? F->DisplayText() : String());
        }
        Out += Line + "\n";
      }
    } catch (...) {
      Data->EnableControls();
      throw;
    }
    Data->EnableControls();
  }
  if (FOptions.Contains(roPrintTotals)) {
    String Line;
    for (TOmColumn* C : Columns) Line += (Line.empty() ? "" : " | ") + C->Report()->TotalText;
    Out += Line + "\n";
  }
  FLastReport = Out;
  return Out;
}

void TOmQRGrid::Preview() {
  BuildReport();
  ++PreviewCount;
  if (AfterPreview) AfterPreview(this);
}

void TOmQRGrid::ShowReport() {
  BuildReport();
  ++ShowCount;
}

void TOmQRGrid::SaveReport(const String& FileName) {
  // A unit that prints the same report: its rows as they are now, as constants.
  String Report = BuildReport();
  String Unit = ChangeFileExt(ExtractFileName(FileName), "");
  TStringList Lines;
  bool Pascal = SameText(ExtractFileExt(FileName), ".pas");
  if (Pascal) {
    Lines.Add("unit " + Unit + ";");
    Lines.Add("");
    Lines.Add("interface");
    Lines.Add("");
    Lines.Add("const");
    Lines.Add("  ReportText =");
  } else {
    Lines.Add("// " + Unit + ": the report of " + Name());
    Lines.Add("const char* const ReportText =");
  }
  TStringList Rows;
  Rows.SetText(Report);
  for (int I = 0; I < Rows.Count(); ++I) {
    String Row = Rows.Strings(I);
    if (Pascal) Lines.Add("    " + QuotedStr(Row) + "#13#10" + (I + 1 < Rows.Count() ? " +" : ";"));
    else Lines.Add("    \"" + StringReplaceAll(StringReplaceAll(Row, "\\", "\\\\"), "\"", "\\\"") + "\\n\"" + (I + 1 < Rows.Count() ? "" : ";"));
  }
  if (Pascal) {
    Lines.Add("");
    Lines.Add("implementation");
    Lines.Add("");
    Lines.Add("end.");
  }
  Lines.SaveToFile(FileName);
}

namespace Omqrgrids {
int InitCount = 0;
void Initialization() { RegisterClasses({TOmQRGrid::StaticClass()}); }
void Finalization() { UnRegisterClass(TOmQRGrid::StaticClass()); }
}  // namespace Omqrgrids
