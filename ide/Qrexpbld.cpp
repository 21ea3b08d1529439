#include "Qrexpbld.h"

#include "StdCtrls.h"

OM_IMPLEMENT_CLASS(TQREvEnvironment, "Qrexpbld");

bool GetExpression(const String& Description, String& Value, TCustomForm* Form, TWinControl* Parent,
                   TQREvEnvironment* Environment) {
  if (!Application)
    throw EInvalidOperation("There is no application to run the expression builder");
  auto* F = new TForm(Application, 0);
  int Result;
  String Edited;
  String Line = "Expression builder: " + Description + " = '" + Value + "'" +
                (Form ? " (form " + (Form->Name().empty() ? Form->ClassName() : Form->Name()) + ")"
                      : String(" (no form)"));
  try {
    F->SetName("ExpressionBuilder");
    F->SetBorderStyle(bsDialog);
    F->SetBorderIcons(TBorderIcons{biSystemMenu});
    F->SetPosition(Parent ? poOwnerFormCenter : poScreenCenter);
    F->SetCaption("Expression builder");
    F->SetClientWidth(368);
    F->SetClientHeight(112);
    auto* Label = new TLabel(F);
    Label->SetName("DescriptionLabel");
    Label->SetParent(F);
    Label->SetLeft(8);
    Label->SetTop(8);
    Label->SetShowAccelChar(false);
    Label->SetCaption(Description);
    auto* Edit = new TEdit(F);
    Edit->SetName("ExpressionEdit");
    Edit->SetParent(F);
    Edit->SetBounds(8, 28, 352, 21);
    Edit->SetText(Value);
    auto* Ok = new TButton(F);
    Ok->SetName("OKButton");
    Ok->SetParent(F);
    Ok->SetCaption("OK");
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Ok->SetBounds(204, 76, 75, 25);
    auto* Cancel = new TButton(F);
    Cancel->SetName("CancelButton");
    Cancel->SetParent(F);
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    Cancel->SetBounds(285, 76, 75, 25);
    F->SetActiveControl(Edit);
    Edit->SelectAll();
    Result = F->ShowModal();
    Edited = Edit->Text();
  } catch (...) {
    Application->LogDialog(Line + " -> no answer");
    delete F;
    throw;
  }
  delete F;
  (void)Environment;
  if (Result != mrOk) {
    Application->LogDialog(Line + " -> cancelled");
    return false;
  }
  Application->LogDialog(Line + " -> '" + Edited + "'");
  Value = Edited;
  return true;
}
