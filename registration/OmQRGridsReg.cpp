#include "OmQRGridsReg.h"

#include "Controls.h"
#include "Dialogs.h"
#include "IDEAboutDlg.h"
#include "OmReg.h"
#include "Qrexpbld.h"
#if OM_HOST_RELEASE == 5
#include "Menus.h"
#else
#include "DesignMenus.h"
#endif

namespace {

using Omreg::PalettePage;
const char* const ExpressionDescription = "QuickReport's expression";

enum TReportVerb { rvAbout, rvSeparator, rvPreview, rvShowReport, rvSaveReport, rvCount };
const char* const Verbs[rvCount] = {Omreg::AboutVerb, Omreg::SeparatorVerb, "Preview", "Show Report",
                                    "Save Report As..."};

// The form whose datasets an expression may name: the designed form. Release 6 designs
// data modules without a form, and the builder then has none.
TCustomForm* DesignedForm(const TDesignerRef& Designer) {
#if OM_HOST_RELEASE == 5
  return Designer->GetCustomForm();
#else
  return dynamic_cast<TCustomForm*>(Designer->GetRoot());
#endif
}

// Steps 2 and 3 of both editors: the builder on Value, written back only when confirmed.
void EditExpression(TPropertyEditor* Editor, String Value) {
  if (GetExpression(ExpressionDescription, Value, DesignedForm(Editor->Designer()), nullptr, nullptr))
    Editor->SetValue(Value);
}

}  // namespace

#if OM_HOST_RELEASE == 5
OM_IMPLEMENT_CLASS(TOmQRGridCategory, "OmQRGridsReg");
String TOmQRGridCategory::Name() { return "OmQRGrid"; }
#endif

OM_IMPLEMENT_CLASS(TOmQRExprProperty, "OmQRGridsReg");

void TOmQRExprProperty::Edit() { EditExpression(this, GetValue()); }

TPropertyAttributes TOmQRExprProperty::GetAttributes() { return TPropertyEditor::GetAttributes() << paDialog; }

OM_IMPLEMENT_CLASS(TOmCaptionProperty, "OmQRGridsReg");

void TOmCaptionProperty::Edit() {
  String Old = GetValue();
  TOmStringProperty::Edit();
  if (GetValue() != Old) return;
  EditExpression(this, Old);
}

OM_IMPLEMENT_CLASS(TOmQRGridEditor, "OmQRGridsReg");

bool TOmQRGridEditor::ReportReady() {
  TControl* Grid = static_cast<TOmQRGrid*>(Component())->ReportDBGrid();
  return Grid && Grid->Enabled();
}

// A double-click previews, and never walks the properties to create an event handler.
void TOmQRGridEditor::Edit() { Preview(); }

void TOmQRGridEditor::ExecuteVerb(int Index) {
  switch (Index) {
    case rvAbout: About(); break;
    case rvPreview: Preview(); break;
    case rvShowReport: ShowReport(); break;
    case rvSaveReport: SaveReport(); break;
    default: break;
  }
}

String TOmQRGridEditor::GetVerb(int Index) { return Index >= 0 && Index < rvCount ? Verbs[Index] : ""; }

int TOmQRGridEditor::GetVerbCount() { return rvCount; }

#if OM_HOST_RELEASE == 5
void TOmQRGridEditor::PrepareItem(int Index, TMenuItem* AItem) {
  AItem->SetEnabled(Index == rvAbout || ReportReady());
}
#else
void TOmQRGridEditor::PrepareItem(int Index, const _di_IMenuItem& AItem) {
  AItem->SetEnabled(Index == rvAbout || ReportReady());
}
#endif

void TOmQRGridEditor::About() { ShowAboutForm(); }

void TOmQRGridEditor::Preview() {
  if (!ReportReady()) return;
  auto* Report = static_cast<TOmQRGrid*>(Component());
  TOmReportOptions Kept = Report->Options();
  Report->SetOptions(TOmReportOptions(Kept) << roPreviewMode);
  // Put back whatever happens: a preview that raises must not leave the option set in the
  // designed form, whose file would then store what nobody chose.
  try {
    Report->Preview();
  } catch (...) {
    Report->SetOptions(Kept);
    throw;
  }
  Report->SetOptions(Kept);
}

void TOmQRGridEditor::ShowReport() {
  if (ReportReady()) static_cast<TOmQRGrid*>(Component())->ShowReport();
}

void TOmQRGridEditor::SaveReport() {
  if (!ReportReady()) return;
  auto* Report = static_cast<TOmQRGrid*>(Component());
  auto* Dialog = new TSaveDialog(nullptr);
  try {
    Dialog->SetTitle("Save Report As");
    Dialog->SetFilter("Delphi unit (*.pas)|*.pas|C++Builder unit (*.cpp)|*.cpp");
    Dialog->SetFilterIndex(1);
    Dialog->SetFileName("OmReportUnit");
    Dialog->SetDefaultExt("pas");
    Dialog->SetOptions(Dialog->Options() << ofOverwritePrompt << ofPathMustExist);
    if (Dialog->Execute()) Report->SaveReport(Dialog->FileName());
  } catch (...) {
    delete Dialog;
    throw;
  }
  delete Dialog;
}

namespace Omqrgridsreg {

int InitCount = 0;
void Initialization() {}
void Finalization() {}

void Register() {
  TComponentClass Report = TOmQRGrid::StaticClass();
  RegisterComponents(PalettePage, {Report});
  RegisterComponentEditor(Report, TOmQRGridEditor::StaticClass());

  PTypeInfo StringType = TypeInfo<String>();
  TPropertyEditorClass Caption = TOmCaptionProperty::StaticClass();
  RegisterPropertyEditor(StringType, TOmReportText::StaticClass(), "LeftCaption", Caption);
  RegisterPropertyEditor(StringType, TOmReportText::StaticClass(), "RightCaption", Caption);
  RegisterPropertyEditor(StringType, TOmReportText::StaticClass(), "CenterCaption", Caption);
  RegisterPropertyEditor(StringType, TOmReportBands::StaticClass(), "GroupExpression",
                         TOmQRExprProperty::StaticClass());
  RegisterPropertyEditor(StringType, TOmColumnReport::StaticClass(), "TotalText", Caption);

  RegisterPropertiesInCategory(OM_CATEGORY(TLinkageCategory, "Linkage"), Report, {"ReportDBGrid"});
  RegisterPropertiesInCategory(OM_CATEGORY(TLocalizableCategory, "Localizable"), Report,
                               {"ReportBands", "ReportTitle"});
#if OM_HOST_RELEASE == 5
  RegisterPropertiesInCategory(OM_CATEGORY(TOmQRGridCategory, "OmQRGrid"), Report,
                               {"Options", "PrepareNeeded", "PrintCurrentRow", "PrinterPage", "PrinterSettings",
                                "PrintSelectedRows", "ReportAlign", "ReportBands", "ReportDBGrid", "ReportNames",
                                "ReportPart", "ReportStyle", "ReportTitle"});
  RegisterPropertiesInCategory(OM_CATEGORY(TOmQRGridCategory, "OmQRGrid"), Report,
                               {"AfterBandPrint", "AfterPagePrint", "AfterPrepare", "AfterPreview", "AfterPrint",
                                "BeforeBandPrint", "BeforePagePrint", "BeforePrint", "OnPrint", "OnReportCreate"});
#else
  RegisterPropertiesInCategory(OM_CATEGORY(TOmQRGridCategory, "OmQRGrid"), Report,
                               {"Options", "PrintCurrentRow", "PrinterPage", "PrinterSettings", "PrintSelectedRows",
                                "ReportAlign", "ReportBands", "ReportDBGrid", "ReportNames", "ReportPart",
                                "ReportStyle", "ReportTitle"});
  RegisterPropertiesInCategory(OM_CATEGORY(TOmQRGridCategory, "OmQRGrid"), Report,
                               {"AfterBandPrint", "AfterPagePrint", "AfterPreview", "AfterPrint", "BeforeBandPrint",
                                "BeforePagePrint", "BeforePrint", "OnPrint", "OnReportCreate"});
#endif
}

}  // namespace Omqrgridsreg
