// Forms and what a person does on them: opening, making, saving and closing forms, their
// components and text, the palette's drop, component editors and the Edit menu.
#include <algorithm>

#include "Commands.h"
#include "ComponentEditors.h"
#include "DesignWindowCommon.h"
#include "Dialogs.h"
#include "Registries.h"

using namespace Commands;

namespace {

// Takes a flag out of a command's words: true when it was there.
bool TakeFlag(std::vector<String>& Words, const char* Flag) {
  auto It = std::find(Words.begin(), Words.end(), String(Flag));
  if (It == Words.end()) return false;
  Words.erase(It);
  return true;
}

}  // namespace

bool TSession::LetGo(TDesigner* D, bool Discard, const String& Command) {
  if (!D->IsModified() || Discard) return true;
  String Name = D->GetRoot()->Name();
  if (!FFeed || !FFeed->Where.empty())
    throw EConvertError(Format("%s has changes that are not saved: save it first, or %s --discard",
                               {Name, Command}));
  // The box waits for the answer at the prompt, which shows only its name: the question
  // is told first.
  String Question = Format("Save changes to %s?", {Name});
  std::fprintf(FFeed->Out, "%s (answer Yes, No or Cancel)\n", Question.c_str());
  int Answer = MessageDlg(Question, mtConfirmation,
                          TMsgDlgButtons{mbYes, mbNo, mbCancel}, 0);
  if (Answer == mrYes) {
    if (D->FileName().empty()) throw EConvertError(Format("%s has no file yet: save as FILE first", {Name}));
    return SaveForm(D, D->FileName(), false);
  }
  return Answer == mrNo;
}

bool TSession::LetAllGo(bool Discard, const String& Command) {
  for (const auto& D : FIde->Designers())
    if (!LetGo(D.get(), Discard, Command)) return false;
  return true;
}

bool TSession::SaveForm(TDesigner* D, const String& File, bool Overwrite) {
  bool Own = ExpandFileName(File) == ExpandFileName(D->FileName());
  if (Own && !Overwrite && D->FileChangedOnDisk()) {
    String What = Format("%s was changed by another program since it was opened or saved here", {File});
    if (!FFeed || !FFeed->Where.empty())
      throw EConvertError(What + ": save --overwrite replaces it, save as FILE keeps both");
    std::fprintf(FFeed->Out, "%s. Replace it? (answer Yes or No)\n", What.c_str());
    if (MessageDlg(What + ".\nReplace it?", mtWarning, TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes) return false;
  }
  D->Save(File);
  return true;
}

void TSession::DefineFormCommands() {
  Define("forms", "forms", "the open forms; * marks the active one",
         "forms", {0, 0}, [this](const auto&) {
    TCommandResult R;
    R.Json["forms"] = TJson::array();
    for (const auto& D : FIde->Designers()) {
      bool Active = D.get() == FIde->ActiveDesigner();
      R.Text += Format("%s %s: %s  %s%s\n",
                       {String(Active ? "*" : " "), D->GetRoot()->Name(), D->GetRootClassName(),
                        D->FileName().empty() ? String("(not saved)") : D->FileName(),
                        String(D->IsModified() ? "  (modified)" : "")});
      R.Json["forms"].push_back({{"name", D->GetRoot()->Name()},
                                 {"class", D->GetRootClassName()},
                                 {"designedAs", D->GetRoot()->ClassName()},
                                 {"file", D->FileName()},
                                 {"active", Active},
                                 {"modified", D->IsModified()}});
    }
    if (R.Text.empty()) R.Text = "(no form is open)\n";
    return R;
  });

  Define(
      "open", "open FILE", "opens a form file for design", "open examples/Demo.dfm", {1, 1},
      [this](const auto& A) {
        TDesigner* D = FIde->OpenForm(A[0]);
        TCommandResult R;
        R.Text =
            Format("opened %s (%s, %d components)\n",
                   {D->GetRoot()->Name(), D->GetRootClassName(), D->GetRoot()->ComponentCount()});
        R.Json["form"] = D->GetRoot()->Name();
        return R;
      },
      BehindModal);

  Define(
      "new", "new CLASS NAME", "a new form (or data module) of that class",
      "new TDataModule DataModule1", {2, 2},
      [this](const auto& A) {
        TPersistentClass C = GetClass(A[0]);
        if (!C || !C->InheritsFrom(TComponent::StaticClass()))
          throw EConvertError(Format("no component class %s", {A[0]}));
        TDesigner* D = FIde->NewForm(TClass(C), A[1]);
        TCommandResult R;
        R.Text = "new " + D->GetRoot()->Name() + "\n";
        return R;
      },
      BehindModal);

  Define(
      "activate", "activate FORM", "makes an open form the active one", "activate DemoForm", {1, 1},
      [this](const auto& A) {
        TDesigner* D = FIde->FindDesigner(A[0]);
        if (!D) throw EConvertError(Format("no form %s is open", {A[0]}));
        FIde->SetActiveDesigner(D);
        return TCommandResult{};
      },
      BehindModal);

  Define(
      "close", "close [--discard] [FORM]",
      "closes a form (the active one by default); a modified one only when saved, or with --discard",
      "close --discard DemoForm",
      {0, 2},
      [this](const auto& Words) {
        std::vector<String> A = Words;
        bool Discard = TakeFlag(A, "--discard");
        if (A.size() > 1) throw EConvertError("usage: close [--discard] [FORM]");
        TDesigner* D = A.empty() ? Form() : FIde->FindDesigner(A[0]);
        if (!D) throw EConvertError(Format("no form %s is open", {A[0]}));
        String Name = D->GetRoot()->Name();
        TCommandResult R;
        if (!LetGo(D, Discard, "close")) {
          R.Text = "kept " + Name + " open\n";
          return R;
        }
        FIde->CloseDesigner(D);
        R.Text = "closed " + Name + "\n";
        return R;
      },
      BehindModal);

  Define("components", "components", "the components of the active form", "components", {0, 0},
         [this](const auto&) {
           TComponent* Root = Form()->GetRoot();
           TCommandResult R;
           R.Text = Root->Name() + ": " + Form()->GetRootClassName() + "\n";
           R.Json["components"] = TJson::array();
           std::function<void(TComponent*, int)> Walk = [&](TComponent* C, int Depth) {
             C->GetChildren(
                 [&](TComponent* Child) {
                   R.Text += String(size_t(Depth) * 2, ' ') + Child->Name() + ": " +
                             Child->ClassName() + "\n";
                   R.Json["components"].push_back(
                       {{"name", Child->Name()}, {"class", Child->ClassName()}, {"depth", Depth}});
                   Walk(Child, Depth + 1);
                 },
                 Root);
           };
           Walk(Root, 1);
           return R;
         });

  Define("text", "text", "the active form as its file holds it",
         "text", {0, 0}, [this](const auto&) {
    TCommandResult R;
    R.Text = Form()->FormText();
    R.Json["text"] = R.Text;
    return R;
  });

  Define("save", "save [--overwrite] [as FILE]",
         "saves the active form to its file, or as FILE (which becomes its file); a file another "
         "program changed since is replaced only with --overwrite", "save as Orders.dfm",
         {0, 3}, [this](const auto& Words) {
           std::vector<String> A = Words;
           bool Overwrite = TakeFlag(A, "--overwrite");
           bool As = !A.empty() && A[0] == "as";  // `save FILE` too
           if (As) A.erase(A.begin());
           if (A.size() > 1 || (As && A.empty())) throw EConvertError("usage: save [--overwrite] [as FILE]");
           TDesigner* D = Form();
           String File = A.empty() ? D->FileName() : A[0];
           if (File.empty()) throw EConvertError("the form has no file yet: save as FILE");
           TCommandResult R;
           R.Json["file"] = File;
           bool Saved = SaveForm(D, File, Overwrite);
           R.Json["saved"] = Saved;
           R.Text = (Saved ? "saved " : "not saved: ") + File + "\n";
           return R;
         });

  Define("methods", "methods", "the event handlers in the form's source", "methods", {0, 0},
         [this](const auto&) {
           TDesigner* D = Form();
           TCommandResult R;
           for (const String& M : D->MethodNames()) R.Text += M + "\n";
           if (!D->LastShownMethod().empty())
             R.Text += "(the code editor shows " + D->LastShownMethod() + ")\n";
           R.Json["methods"] = D->MethodNames();
           R.Json["shown"] = D->LastShownMethod();
           return R;
         });

  // --- Component editors -------------------------------------------------------------------
  Define("menu", "menu COMPONENT", "the component's context menu",
         "menu OrdersGrid", {1, 1}, [this](const auto& A) {
    TComponent* C = ResolveComponent(A[0]);
    TCommandResult R;
    R.Json["editor"] = ComponentEditorClassOf(C)->ClassName();
    R.Json["items"] = TJson::array();
    int I = 0;
    for (const TContextMenuItem& Item : ComponentContextMenu(Form(), C)) {
      String Line = Item.Caption == "-" ? String("----------") : Item.Caption;
      if (!Item.Enabled) Line += "  (disabled)";
      if (Item.Checked) Line += "  (checked)";
      if (!Item.Visible) Line += "  (hidden)";
      R.Text += Format("%2d  %s\n", {I++, Line});
      R.Json["items"].push_back({{"caption", Item.Caption},
                                 {"enabled", Item.Enabled},
                                 {"checked", Item.Checked},
                                 {"visible", Item.Visible},
                                 {"verb", Item.Verb}});
    }
    return R;
  });

  Define(
      "verb", "verb COMPONENT ITEM", "chooses an item of the context menu, by position or caption",
      "verb OrdersGrid 'Columns Editor...'",
      {2, 2},
      [this](const auto& A) {
        TComponent* C = ResolveComponent(A[0]);
        int Position;
        if (!TryStrToInt(A[1], Position)) {
          auto Menu = ComponentContextMenu(Form(), C);
          auto Plain = [](String S) {
            S.erase(std::remove(S.begin(), S.end(), '&'), S.end());
            return S;
          };
          auto It = std::find_if(Menu.begin(), Menu.end(), [&](const TContextMenuItem& M) {
            return SameText(Plain(M.Caption), Plain(A[1]));
          });
          if (It == Menu.end())
            throw EConvertError(Format("the context menu of %s has no item %s", {A[0], A[1]}));
          Position = int(It - Menu.begin());
        }
        ChooseContextMenuItem(Form(), C, Position);
        return TCommandResult{};
      },
      BehindModal);

  Define(
      "dblclick", "dblclick COMPONENT", "double-clicks a component on the form",
      "dblclick OrdersGrid", {1, 1},
      [this](const auto& A) {
        DoubleClickComponent(Form(), ResolveComponent(A[0]));
        return TCommandResult{};
      },
      BehindModal);

  Define(
      "drop", "drop CLASS [PARENT]", "puts a component from the palette on the form",
      "drop TOmDBGrid", {1, 2},
      [this](const auto& A) {
        TRegistries& Reg = TRegistries::Instance();
        auto It = std::find_if(Reg.Palette.begin(), Reg.Palette.end(), [&](const TPaletteEntry& E) {
          return SameText(E.ComponentClass->ClassName(), A[0]);
        });
        if (It == Reg.Palette.end()) throw EConvertError(Format("the palette has no %s", {A[0]}));
        TComponent* Parent = A.size() > 1 ? ResolveComponent(A[1]) : Form()->GetRoot();
        TComponent* C = Form()->CreateComponent(It->ComponentClass, Parent, -1, -1, -1, -1);
        TCommandResult R;
        R.Text = "dropped " + C->Name() + "\n";
        R.Json["name"] = C->Name();
        return R;
      },
      BehindModal);

  // --- The Edit menu -----------------------------------------------------------------------
  auto EditCommand = [this](const char* Name, auto Action) {
    Define(
        Name, Name, String("the Edit menu's ") + Name + " on the selection", Name, {0, 0},
        [this, Action](const auto&) {
          Action(Form());
          return TCommandResult{};
        },
        BehindModal);
  };
  EditCommand("cut", [](TDesigner* D) { D->CutSelection(); });
  EditCommand("copy", [](TDesigner* D) { D->CopySelection(); });
  EditCommand("paste", [](TDesigner* D) { D->PasteSelection(); });
#if OM_HOST_RELEASE == 5
  EditCommand("delete", [](TDesigner* D) { D->DeleteSelection(); });
#else
  EditCommand("delete", [](TDesigner* D) { D->DeleteSelection(false); });
#endif

  Define(
      "editmenu", "editmenu [cut|copy|paste|delete]",
      "the IDE's Edit menu: what it offers now, or a choice of it (a design window that is active "
      "serves it, else the form)", "editmenu copy",
      {0, 1}, [this](const auto& A) {
        auto* W = dynamic_cast<TDesignWindow*>(Screen->ActiveForm());
        TDesigner* D = FIde->ActiveDesigner();
        TEditState State;
        if (W) {
          State = W->GetEditState();
        } else if (D) {
          bool Any = !D->Selection().empty();
          if (Any) State << esCanCut << esCanCopy << esCanDelete;
          if (D->CanPaste()) State << esCanPaste;
        }
        static const std::tuple<const char*, TEditStateItem, TEditAction> Items[] = {
            {"cut", esCanCut, eaCut},
            {"copy", esCanCopy, eaCopy},
            {"paste", esCanPaste, eaPaste},
            {"delete", esCanDelete, eaDelete}};
        TCommandResult R;
        if (A.empty()) {
          for (auto [Name, Can, Action] : Items) {
            R.Text += String(Name) + (State.Contains(Can) ? "" : "  (disabled)") + "\n";
            R.Json[Name] = State.Contains(Can);
          }
          return R;
        }
        // Looking at the menu is harmless; choosing from it changes the form behind.
        CheckNotBehindModal("editmenu " + A[0]);
        for (auto [Name, Can, Action] : Items) {
          if (!SameText(A[0], Name)) continue;
          if (!State.Contains(Can))
            throw EConvertError(Format("Edit|%s is disabled now", {String(Name)}));
          if (W) {
            W->EditAction(Action);
          } else if (D) {
            if (Action == eaCut)
              D->CutSelection();
            else if (Action == eaCopy)
              D->CopySelection();
            else if (Action == eaPaste)
              D->PasteSelection();
#if OM_HOST_RELEASE == 5
            else
              D->DeleteSelection();
#else
               else D->DeleteSelection(false);
#endif
          }
          return R;
        }
        throw EConvertError(Format("the Edit menu has no %s (cut, copy, paste, delete)", {A[0]}));
      });
}
