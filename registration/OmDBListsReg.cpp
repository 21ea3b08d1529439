#include "OmDBListsReg.h"

#include "IDEAboutDlg.h"
#include "OmReg.h"

namespace {

using Omreg::AboutVerb, Omreg::PalettePage, Omreg::SeparatorVerb;
const char* const TestDialogVerb = "Test Dialog";

enum TDialogVerb { dvAbout, dvSeparator, dvTestDialog, dvCount };

}  // namespace

#if OM_HOST_RELEASE == 5
OM_IMPLEMENT_CLASS(TOmDBColumnsDialogCategory, "OmDBListsReg");
String TOmDBColumnsDialogCategory::Name() { return "OmDBColumnsDialog"; }
#endif

OM_IMPLEMENT_CLASS(TOmDBColumnsDialogEditor, "OmDBListsReg");

// A double-click runs the dialog, never the default walk that would create a handler.
void TOmDBColumnsDialogEditor::Edit() { TestDialog(); }

void TOmDBColumnsDialogEditor::ExecuteVerb(int Index) {
  switch (Index) {
    case dvAbout: About(); break;
    case dvTestDialog: TestDialog(); break;
    default: break;
  }
}

String TOmDBColumnsDialogEditor::GetVerb(int Index) {
  switch (Index) {
    case dvAbout: return AboutVerb;
    case dvSeparator: return SeparatorVerb;
    case dvTestDialog: return TestDialogVerb;
    default: return "";
  }
}

int TOmDBColumnsDialogEditor::GetVerbCount() { return dvCount; }

void TOmDBColumnsDialogEditor::About() { ShowAboutForm(); }

void TOmDBColumnsDialogEditor::TestDialog() {
  auto* Dialog = static_cast<TOmDBColumnsDialog*>(Component());
  // The topic comes back also when the run raises: otherwise the form would store 0 for a
  // help topic the developer set, and nobody would have chosen that.
  struct TRestore {
    int& Field;
    int Saved;
    ~TRestore() { Field = Saved; }
  } Restore{Dialog->HelpContext, Dialog->HelpContext};
  Dialog->HelpContext = 0;
  Dialog->Execute();
}

namespace Omdblistsreg {

int InitCount = 0;
void Initialization() {}
void Finalization() {}

void Register() {
  TComponentClass Dialog = TOmDBColumnsDialog::StaticClass();
  RegisterComponents(PalettePage, {Dialog, TOmDBPrintColumnsDialog::StaticClass()});
  RegisterComponentEditor(Dialog, TOmDBColumnsDialogEditor::StaticClass());
  RegisterPropertiesInCategory(OM_CATEGORY(TLinkageCategory, "Linkage"), Dialog, {"DBGrid"});
  RegisterPropertiesInCategory(OM_CATEGORY(TLocalizableCategory, "Localizable"), Dialog,
                               {"ButtonsTitles", "ColumnsTitle", "Title"});
  RegisterPropertiesInCategory(OM_CATEGORY(TVisualCategory, "Visual"), Dialog,
                               {"ButtonsTitles", "ColumnsTitle", "DefaultCount", "DefaultWidth", "MinimumCount",
                                "MinimumWidth", "Title"});
  RegisterPropertiesInCategory(OM_CATEGORY(TOmDBColumnsDialogCategory, "OmDBColumnsDialog"), Dialog,
                               {"BorderStyle", "ButtonsTitles", "ColumnsTitle", "DBGrid", "DefaultCount",
                                "DefaultWidth", "HelpContext", "MinimumCount", "MinimumWidth", "Options", "Title"});
  // "onShow" stays as the library has always registered it: the category view finds
  // properties without regard to case, so it files OnShow.
  RegisterPropertiesInCategory(OM_CATEGORY(TOmDBColumnsDialogCategory, "OmDBColumnsDialog"), Dialog,
                               {"OnApply", "OnClose", "OnCreate", "onShow"});
}

}  // namespace Omdblistsreg
