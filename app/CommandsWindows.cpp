// The IDE's windows: which are open, what a window holds, closing and activating them,
// running a form as a window, and the message boxes and dialogs a person meets.
#include <algorithm>
#include <filesystem>

#include "ComCtrls.h"
#include "Commands.h"
#include "DataAccess.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "FileUtil.h"
#include "Menus.h"
#include "Qrexpbld.h"
#include "StdCtrls.h"

using namespace Commands;

namespace {

String Flags(TControl* C) {
  String F;
  if (!C->Visible()) F += " (hidden)";
  if (!C->Enabled()) F += " (disabled)";
  return F;
}

void DescribeControl(TControl* C, int Depth, TCommandResult& R, TJson& Into) {
  String Pad(size_t(Depth) * 2, ' ');
  String Line = Pad + (C->Name().empty() ? String("(unnamed)") : C->Name()) + ": " + C->ClassName();
  // A memo's text follows as its lines.
  if (!C->Caption().empty() && !dynamic_cast<TCustomMemo*>(C)) Line += " '" + C->Caption() + "'";
  Line += Format(" [%d,%d %dx%d]", {C->Left(), C->Top(), C->Width(), C->Height()});
  TJson J = {{"name", C->Name()},     {"class", C->ClassName()}, {"caption", C->Caption()},
             {"left", C->Left()},     {"top", C->Top()},         {"width", C->Width()},
             {"height", C->Height()}, {"visible", C->Visible()}, {"enabled", C->Enabled()}};
  auto* B = dynamic_cast<TToolButton*>(C);
  if (B && B->ImageIndex() >= 0) Line += Format(" image %d", {B->ImageIndex()});
  Line += Flags(C);
  if (B) {
    if (B->Down()) Line += " (down)";
    J["imageIndex"] = B->ImageIndex();
    J["down"] = B->Down();
  }
  R.Text += Line + "\n";
  if (auto* L = dynamic_cast<TListView*>(C)) {
    J["items"] = TJson::array();
    for (int I = 0; I < L->Items()->Count(); ++I) {
      TListItem* Item = L->Items()->Item(I);
      R.Text += Pad + "  " + (Item->Selected() ? "[x] " : "[ ] ") + Item->Caption() +
                (Item->Focused() ? "  (focused)" : "") +
                (Item == L->DropTarget() ? "  (drop target)" : "") + "\n";
      J["items"].push_back({{"caption", Item->Caption()},
                            {"selected", Item->Selected()},
                            {"focused", Item->Focused()},
                            {"dropTarget", Item == L->DropTarget()}});
    }
  }
  if (auto* M = dynamic_cast<TCustomMemo*>(C)) {
    J["lines"] = TJson::array();
    for (int I = 0; I < M->Lines()->Count(); ++I) {
      R.Text += Pad + "  | " + M->Lines()->Strings(I) + "\n";
      J["lines"].push_back(M->Lines()->Strings(I));
    }
  }
  Into.push_back(J);
  if (auto* W = dynamic_cast<TWinControl*>(C))
    for (int I = 0; I < W->ControlCount(); ++I) DescribeControl(W->Controls(I), Depth + 1, R, Into);
}

String ItemFlags(TMenuItem* Item) {
  String F;
  if (!Item->Enabled()) F += " (disabled)";
  if (Item->Checked()) F += " (checked)";
  if (!Item->Visible()) F += " (hidden)";
  return F;
}

void DescribeMenuItems(TMenuItem* Parent, int Depth, TCommandResult& R, TJson& Into) {
  String Pad(size_t(Depth) * 2, ' ');
  for (int I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    String Name = Item->Name().empty() ? String("(unnamed)") : Item->Name();
    R.Text += Pad + Name + (Item->IsLine() ? String(" ----------") : " '" + Item->Caption() + "'") +
              ItemFlags(Item) + "\n";
    TJson J = {{"name", Item->Name()},       {"caption", Item->Caption()},
               {"enabled", Item->Enabled()}, {"checked", Item->Checked()},
               {"visible", Item->Visible()}, {"shortcut", ShortCutToText(Item->ShortCut())},
               {"items", TJson::array()}};
    DescribeMenuItems(Item, Depth + 1, R, J["items"]);
    Into.push_back(J);
  }
}

// The window's main menu, then the pop-up menus it owns, each with its items as they nest.
void DescribeMenus(TCustomForm* F, TCommandResult& R, TJson& Into) {
  std::vector<TMenu*> Menus;
  if (F->Menu()) Menus.push_back(F->Menu());
  for (int I = 0; I < F->ComponentCount(); ++I)
    if (auto* M = dynamic_cast<TMenu*>(F->Components(I)))
      if (M != F->Menu()) Menus.push_back(M);
  for (TMenu* M : Menus) {
    R.Text +=
        "  " + (M->Name().empty() ? String("(unnamed)") : M->Name()) + ": " + M->ClassName() + "\n";
    TJson J = {{"name", M->Name()}, {"class", M->ClassName()}, {"items", TJson::array()}};
    DescribeMenuItems(M->Items(), 2, R, J["items"]);
    Into.push_back(J);
  }
}

String ModalResultName(int Result) {
  static const std::pair<int, const char*> Names[] = {
      {mrOk, "OK"},       {mrCancel, "Cancel"}, {mrYes, "Yes"},       {mrNo, "No"},
      {mrAbort, "Abort"}, {mrRetry, "Retry"},   {mrIgnore, "Ignore"}, {mrAll, "All"}};
  for (auto [Value, Text] : Names)
    if (Value == Result) return Text;
  return IntToStr(Result);
}

// A file dialog as a person sees it while it waits: where it looks, the name it shows,
// its filters with the chosen one, and what it checks.
TCommandResult DescribeFileDialog(TOpenDialog* D, const String& Title) {
  TCommandResult R;
  String Folder = D->InitialDir().empty() ? String(std::filesystem::current_path().string()) : D->InitialDir();
  R.Text = Format("%s: %s\n  folder: %s\n  file name: %s\n", {Title, D->ClassName(), Folder, D->FileName()});
  TJson Filters = TJson::array();
  int Index = 1;
  for (const TOpenDialog::TFilterPair& F : D->Filters()) {
    bool Chosen = Index++ == std::max(1, D->FilterIndex());
    R.Text += Format("  %s %s  %s\n", {Chosen ? "[x]" : "[ ]", F.Description, F.Patterns});
    Filters.push_back({{"caption", F.Description}, {"mask", F.Patterns}, {"chosen", Chosen}});
  }
  String Options = SetToString(TypeInfo<TOpenOptions>(), D->Options().Bits());
  R.Text += Format("  default extension: %s\n  options: %s\n", {D->DefaultExt(), Options});
  R.Json["dialog"] = {{"title", Title},          {"class", D->ClassName()}, {"folder", Folder},
                      {"file_name", D->FileName()}, {"filters", Filters},     {"default_extension", D->DefaultExt()},
                      {"options", Options}};
  return R;
}

}  // namespace

void TSession::DefineWindowCommands() {
  Define("windows", "windows", "the open windows, in the order they were made", "windows", {0, 0},
         [this](const auto&) {
           TCommandResult R;
           R.Json["windows"] = TJson::array();
           for (int I = 0; I < Screen->FormCount(); ++I) {
             TCustomForm* F = Screen->Forms(I);
             bool Modal =
                 std::find(Application->ModalForms().begin(), Application->ModalForms().end(), F) !=
                 Application->ModalForms().end();
             R.Text += Format("%s: %s '%s' %dx%d",
                              {F->Name(), F->ClassName(), F->Caption(), F->Width(), F->Height()});
             if (!F->Visible()) R.Text += " (hidden)";
             if (F == Screen->ActiveForm()) R.Text += " (active)";
             if (Modal) R.Text += " (modal)";
             R.Text += "\n";
             R.Json["windows"].push_back({{"name", F->Name()},
                                          {"class", F->ClassName()},
                                          {"caption", F->Caption()},
                                          {"width", F->Width()},
                                          {"height", F->Height()},
                                          {"visible", F->Visible()},
                                          {"active", F == Screen->ActiveForm()},
                                          {"modal", Modal}});
           }
           if (TOpenDialog* Dialog = WaitingFileDialog("")) {
             R.Text += Format("%s: %s (file dialog, waiting)\n", {FWaits.back().Name, Dialog->ClassName()});
             R.Json["windows"].push_back(
                 {{"name", FWaits.back().Name}, {"class", Dialog->ClassName()}, {"file_dialog", true}});
           }
           if (R.Text.empty()) R.Text = "(no window is open)\n";
           return R;
         });

  Define("window", "window [WINDOW|CONTROL]",
         "a window's controls and their state (the active one by default), or one control's",
         "window OmDBGridColumnsEditor", {0, 1}, [this](const auto& A) {
           if (TOpenDialog* Dialog = WaitingFileDialog(A.empty() ? String() : A[0]))
             return DescribeFileDialog(Dialog, FWaits.back().Name);
           TCommandResult R;
           if (!A.empty() && !FindWindow(A[0])) {
             auto* C = dynamic_cast<TControl*>(WindowPart(A[0]));
             if (!C) throw EConvertError(Format("%s is not a window or a control", {A[0]}));
             R.Json["controls"] = TJson::array();
             DescribeControl(C, 0, R, R.Json["controls"]);
             return R;
           }
           TCustomForm* F = Window(A.empty() ? String("active") : A[0]);
           R.Json["controls"] = TJson::array();
           DescribeControl(F, 0, R, R.Json["controls"]);
           R.Json["menus"] = TJson::array();
           DescribeMenus(F, R, R.Json["menus"]);
           // A drag held over the window or from it: what the cursor says there.
           if (const TApplication::TDragInfo* D = Application->Dragging();
               D && (GetParentForm(D->Source) == F || (D->Over && GetParentForm(D->Over) == F))) {
             TJson Drag;
             String Place = DragPlace(Drag);
             Drag["from"] = D->Source->Name();
             Drag["accepted"] = D->Accepted;
             R.Text += "drag from " + D->Source->Name() + ", held over " + Place +
                       (D->Accepted ? ": the cursor shows a drop\n" : ": the cursor shows no drop\n");
             R.Json["drag"] = Drag;
           }
           return R;
         });

  Define("closewindow", "closewindow [WINDOW]",
         "closes a window with its close box (the active one by default)",
         "closewindow OmDBGridColumnsEditor", {0, 1},
         [this](const auto& A) {
           TCustomForm* F = Window(A.empty() ? String("active") : A[0]);
           String Name = F->Name();
           F->Close();
           TCommandResult R;
           R.Text = "closed " + Name + "\n";
           return R;
         });

  Define("activatewindow", "activatewindow WINDOW",
         "clicks into a window, making it the active one",
         "activatewindow OmDBGridColumnsEditor", {1, 1}, [this](const auto& A) {
           Window(A[0])->Show();
           return TCommandResult{};
         });

  Define("dialogs", "dialogs",
         "what the message boxes and file dialogs showed and how they were answered",
         "dialogs", {0, 0},
         [](const auto&) {
           TCommandResult R;
           for (const String& L : Application->DialogLog()) R.Text += L + "\n";
           R.Json["dialogs"] = Application->DialogLog();
           if (R.Text.empty()) R.Text = "(no dialog was shown)\n";
           return R;
         });

  Define("run", "run FILE",
         "opens a form file as a running window (its handlers, without their code, do nothing)",
         "run tests/scripts/Editor.dfm",
         {1, 1}, [](const auto& A) {
           auto* F = new TForm(Application, 0);
           try {
             // Its datasets name their databases from the form file's folder, as in design.
             TFormFolderScope Folder(A[0]);
             TReader Reader(ReadFileToString(A[0]), A[0]);
             Reader.DropUnboundMethods = true;
             Reader.ReadRootComponent(F);
           } catch (...) {
             delete F;
             throw;
           }
           F->Show();
           TCommandResult R;
           R.Text = Format("running %s '%s'\n", {F->Name(), F->Caption()});
           R.Json["window"] = F->Name();
           return R;
         });

  // --- Message boxes and dialogs -----------------------------------------------------------
  Define("message", "message KIND TEXT [BUTTONS]",
         "shows a message box (KIND: information, warning, error, confirmation; BUTTONS: OK, "
         "OKCancel, "
         "YesNo, YesNoCancel) and prints the answer",
         "message confirmation 'Delete existing columns?' YesNoCancel",
         {2, 3}, [](const auto& A) {
           int Kind = GetEnumValue(TypeInfo<TMsgDlgType>(), "mt" + A[0]);
           if (Kind < 0) throw EConvertError(Format("no kind of message %s", {A[0]}));
           String B = A.size() == 3 ? A[2] : String("OK");
           TMsgDlgButtons Buttons;
           if (SameText(B, "OK"))
             Buttons = {mbOK};
           else if (SameText(B, "OKCancel"))
             Buttons = mbOKCancel;
           else if (SameText(B, "YesNo"))
             Buttons = {mbYes, mbNo};
           else if (SameText(B, "YesNoCancel"))
             Buttons = mbYesNoCancel;
           else
             throw EConvertError(Format("no buttons %s (OK, OKCancel, YesNo, YesNoCancel)", {B}));
           int Result = MessageDlg(A[1], TMsgDlgType(Kind), Buttons, 0);
           TCommandResult R;
           R.Text = "answered " + ModalResultName(Result) + "\n";
           R.Json["result"] = Result;
           return R;
         });

  auto FileDialog = [](bool Save, const std::vector<String>& A) {
    std::unique_ptr<TOpenDialog> D(Save ? new TSaveDialog(nullptr) : new TOpenDialog(nullptr));
    D->SetFilter(A[0]);
    TOpenOptions Options = DefaultOpenOptions;
    for (size_t I = 1; I < A.size(); ++I) {
      int O = GetEnumValue(TypeInfo<TOpenOption>(), "of" + A[I]);
      if (O >= 0)
        Options << TOpenOption(O);
      else if (Save && I == 1)
        D->SetDefaultExt(A[I]);
      else
        throw EConvertError(Format(
            "no dialog option %s (OverwritePrompt, PathMustExist, FileMustExist...)", {A[I]}));
    }
    D->SetOptions(Options);
    TCommandResult R;
    bool Ok = D->Execute();
    R.Text = Ok ? "chose " + D->FileName() + "\n" : String("cancelled\n");
    R.Json["file"] = Ok ? D->FileName() : String();
    return R;
  };
  Define("opendialog", "opendialog FILTER [OPTION...]",
         "shows an open dialog (filter 'Text|*.txt') and prints the choice",
         "opendialog 'Form files (*.dfm)|*.dfm' FileMustExist", {1, Unbounded},
         [FileDialog](const auto& A) { return FileDialog(false, A); });
  Define("savedialog", "savedialog FILTER [DEFAULTEXT] [OPTION...]",
         "shows a save dialog and prints the choice",
         "savedialog 'Delphi unit (*.pas)|*.pas' pas OverwritePrompt", {1, Unbounded},
         [FileDialog](const auto& A) { return FileDialog(true, A); });

  Define("expression", "expression DESCRIPTION [EXPRESSION]",
         "opens the report expression builder and prints what it gives back",
         "expression 'Group by' ShipVia", {1, 2},
         [](const auto& A) {
           String Value = A.size() > 1 ? A[1] : String();
           bool Ok = GetExpression(A[0], Value, nullptr, nullptr, nullptr);
           TCommandResult R;
           R.Text = Ok ? "expression " + Value + "\n" : String("cancelled\n");
           R.Json["confirmed"] = Ok;
           R.Json["expression"] = Value;
           return R;
         });
}
