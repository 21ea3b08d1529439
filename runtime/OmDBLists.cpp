#include "OmDBLists.h"

#include <algorithm>
#include <utility>

#include "ComCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

OM_ENUM_TYPE_INFO(TOmColumnsDialogOption, "cdoApplyButton", "cdoResizeColumns", "cdoShowHidden", "cdoSortByName");
OM_SET_TYPE_INFO(TOmColumnsDialogOptions, TOmColumnsDialogOption);

template <>
struct TPublished<TOmDBColumnsDialog> {
  using D = TOmDBColumnsDialog;
  static constexpr TPropInfo Props[] = {
      Property<&D::BorderStyle, &D::BorderStyle>("BorderStyle", bsDialog),
      Property<&D::ButtonsTitles, &D::SetButtonsTitles, &D::IsButtonsTitlesStored>("ButtonsTitles"),
      Property<&D::ColumnsTitle, &D::ColumnsTitle, &D::IsColumnsTitleStored>("ColumnsTitle"),
      Property<&D::DBGrid, &D::SetDBGrid>("DBGrid"),
      Property<&D::DefaultCount, &D::DefaultCount>("DefaultCount", 0),
      Property<&D::DefaultWidth, &D::DefaultWidth>("DefaultWidth", 64),
      Property<&D::HelpContext, &D::HelpContext>("HelpContext", 0),
      Property<&D::MinimumCount, &D::MinimumCount>("MinimumCount", 1),
      Property<&D::MinimumWidth, &D::MinimumWidth>("MinimumWidth", 8),
      Property<&D::Options, &D::Options>("Options", 0),
      Property<&D::Title, &D::Title, &D::IsTitleStored>("Title"),
      Property<&D::OnApply, &D::OnApply>("OnApply"),
      Property<&D::OnClose, &D::OnClose>("OnClose"),
      Property<&D::OnCreate, &D::OnCreate>("OnCreate"),
      Property<&D::OnShow, &D::OnShow>("OnShow"),
  };
};
OM_IMPLEMENT_CLASS(TOmDBColumnsDialog, "OmDBLists");
OM_IMPLEMENT_CLASS(TOmDBPrintColumnsDialog, "OmDBLists");

namespace {
const char* const DefaultButtonsTitles = "OK\r\nCancel\r\nApply\r\nHelp\r\n";
}

TOmDBColumnsDialog::TOmDBColumnsDialog(TComponent* AOwner)
    : TComponent(AOwner), FButtonsTitles(new TStringList) {
  FButtonsTitles->SetText(DefaultButtonsTitles);
}

String TOmDBColumnsDialog::DefaultTitle() const {
  return Is<TOmDBPrintColumnsDialog>() ? "Print Columns" : "Columns";
}

bool TOmDBColumnsDialog::IsButtonsTitlesStored() const { return FButtonsTitles->Text() != DefaultButtonsTitles; }

TOmDBColumnsDialog::~TOmDBColumnsDialog() { delete FButtonsTitles; }

void TOmDBColumnsDialog::SetDBGrid(TOmDBGrid* Value) {
  if (Value == FDBGrid) return;
  if (FDBGrid) FDBGrid->RemoveFreeNotification(this);
  FDBGrid = Value;
  if (Value) Value->FreeNotification(this);
}

void TOmDBColumnsDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDBGrid) FDBGrid = nullptr;
}

namespace {

// The dialog's window: a list of the grid's columns, the shown ones selected.
class TColumnsWindow : public TObject {
 public:
  TColumnsWindow(TOmDBColumnsDialog* Dialog, bool Printing) : FDialog(Dialog), FPrinting(Printing) {
    FForm = new TForm(nullptr, 0);
    FForm->SetName("OmDBColumnsDialogForm");
    FForm->SetCaption(Dialog->Title);
    FForm->SetBorderStyle(Dialog->BorderStyle);
    FForm->SetPosition(poScreenCenter);
    FForm->SetClientWidth(260);
    FForm->SetClientHeight(300);
    auto* Label = new TLabel(FForm);
    Label->SetName("ColumnsLabel");
    Label->SetParent(FForm);
    Label->SetCaption(Dialog->ColumnsTitle);
    Label->SetBounds(8, 8, 240, 16);
    FList = new TListView(FForm);
    FList->SetName("ColumnsList");
    FList->SetParent(FForm);
    FList->SetViewStyle(vsReport);
    FList->SetMultiSelect(true);
    FList->SetBounds(8, 28, 244, 224);
    FList->Columns()->Add();
    TOmDBGridColumns* Columns = Dialog->DBGrid()->Columns();
    for (int I = 0; I < Columns->Count(); ++I) {
      TOmColumn* C = Columns->GetColumn(I);
      TListItem* Item = FList->Items()->Add();
      Item->SetCaption(C->Title()->DisplayCaption());
      Item->SetData(C);
      Item->SetSelected(Shown(C));
    }
    TStrings* Titles = Dialog->ButtonsTitles();
    auto Title = [&](int I, const char* Default) { return I < Titles->Count() ? Titles->Strings(I) : String(Default); };
    auto AddButton = [&](const char* Name, const String& Caption, int Left, TModalResult Result) {
      auto* B = new TButton(FForm);
      B->SetName(Name);
      B->SetParent(FForm);
      B->SetCaption(Caption);
      B->SetBounds(Left, 264, 75, 25);
      B->SetModalResult(Result);
      return B;
    };
    int Left = 8;
    auto Next = [&Left] { return std::exchange(Left, Left + 82); };
    AddButton("OkButton", Title(0, "OK"), Next(), mrOk)->SetDefault(true);
    AddButton("CancelButton", Title(1, "Cancel"), Next(), mrCancel)->SetCancel(true);
    if (Dialog->Options.Contains(cdoApplyButton))
      AddButton("ApplyButton", Title(2, "Apply"), Next(), mrNone)->OnClick = Closure<&TColumnsWindow::ApplyClick>(this);
    // Help is offered only for a topic the program names.
    if (Dialog->HelpContext != 0)
      AddButton("HelpButton", Title(3, "Help"), Next(), mrNone)->OnClick = Closure<&TColumnsWindow::HelpClick>(this);
    FForm->SetClientWidth(std::max(260, Left));
  }
  ~TColumnsWindow() override { delete FForm; }

  bool Run() {
    if (FDialog->OnShow) FDialog->OnShow(FDialog);
    bool Ok = FForm->ShowModal() == mrOk;
    if (Ok) Apply();
    if (FDialog->OnClose) FDialog->OnClose(FDialog);
    return Ok;
  }

  String Listing() const {
    String S;
    for (int I = 0; I < FList->Items()->Count(); ++I) {
      TListItem* Item = FList->Items()->Item(I);
      S += String(Item->Selected() ? "[x] " : "[ ] ") + Item->Caption() + "\n";
    }
    return S;
  }

  void HelpClick(TObject*) { Application->HelpContext(FDialog->HelpContext); }

  void ApplyClick(TObject*) {
    Apply();
    if (FDialog->OnApply) FDialog->OnApply(FDialog);
  }

 private:
  bool Shown(TOmColumn* C) const { return FPrinting ? C->Report()->Printed : C->Visible(); }
  void Apply() {
    // At least the minimum number of columns stays shown, as the dialog promises.
    int Selected = 0;
    for (int I = 0; I < FList->Items()->Count(); ++I) Selected += FList->Items()->Item(I)->Selected();
    if (Selected < FDialog->MinimumCount) return;
    TOmDBGridColumns* Columns = FDialog->DBGrid() ? FDialog->DBGrid()->Columns() : nullptr;
    if (!Columns) return;
    Columns->BeginUpdate();
    for (int I = 0; I < FList->Items()->Count(); ++I) {
      TListItem* Item = FList->Items()->Item(I);
      auto* C = static_cast<TOmColumn*>(Item->Data());
      if (FPrinting)
        C->Report()->Printed = Item->Selected();
      else
        C->SetVisible(Item->Selected());
    }
    Columns->EndUpdate();
  }

  TOmDBColumnsDialog* FDialog;
  bool FPrinting;
  TForm* FForm;
  TListView* FList;
};

}  // namespace

bool TOmDBColumnsDialog::Execute() {
  if (!FDBGrid) throw EInvalidOperation(Format("%s has no grid to choose columns of", {Name()}));
  TColumnsWindow Window(this, Is<TOmDBPrintColumnsDialog>());
  if (OnCreate) OnCreate(this);
  ++RunCount;
  LastShown = Window.Listing();
  return Window.Run();
}

TOmDBPrintColumnsDialog::TOmDBPrintColumnsDialog(TComponent* AOwner) : TOmDBColumnsDialog(AOwner) {
  Title = DefaultTitle();
}

bool TOmDBPrintColumnsDialog::Execute() { return TOmDBColumnsDialog::Execute(); }

namespace Omdblists {
int InitCount = 0;
void Initialization() { RegisterClasses({TOmDBColumnsDialog::StaticClass(), TOmDBPrintColumnsDialog::StaticClass()}); }
void Finalization() {
  UnRegisterClass(TOmDBPrintColumnsDialog::StaticClass());
  UnRegisterClass(TOmDBColumnsDialog::StaticClass());
}
}  // namespace Omdblists
