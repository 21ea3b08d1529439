// Keys reach a window as the platform routes them: a form with KeyPreview first, then
// the shortcuts of its actions and menus, then the focused control; Enter and Escape
// fall to the default and cancel buttons when the focused control does not keep them.
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "StdCtrls.h"
#include "WindowFixture.h"

namespace {

// Writes down, in order, who saw which key.
class TKeyLog : public TObject {
 public:
  std::vector<String> Seen;
  bool SwallowInPreview = false;
  void FormKeyDown(TObject*, Word& Key, TShiftState) {
    Seen.push_back("form down " + IntToStr(Key));
    if (SwallowInPreview) Key = 0;
  }
  void FormKeyPress(TObject*, char& Key) { Seen.push_back(String("form press ") + Key); }
  void ControlKeyDown(TObject* Sender, Word& Key, TShiftState) {
    Seen.push_back(static_cast<TComponent*>(Sender)->Name() + " down " + IntToStr(Key));
  }
  void ControlKeyPress(TObject* Sender, char& Key) {
    Seen.push_back(static_cast<TComponent*>(Sender)->Name() + " press " + String(1, Key));
    if (Key == 'x') Key = 0;
  }
  void ActionExecute(TObject* Sender) {
    Seen.push_back(static_cast<TComponent*>(Sender)->Name() + " runs");
  }
  void MenuClick(TObject* Sender) {
    Seen.push_back(static_cast<TComponent*>(Sender)->Name() + " chosen");
  }
};

class KeyRoutingTest : public WindowTest {
 protected:
  void SetUp() override {
    Form = NewForm("Form");
    Edit = Add<TEdit>(Form, "Edit");
    List = Add<TListView>(Form, "List");
    List->SetTop(40);
    Edit->OnKeyDown = Closure<&TKeyLog::ControlKeyDown>(&Log);
    Edit->OnKeyPress = Closure<&TKeyLog::ControlKeyPress>(&Log);
    Form->OnKeyDown = Closure<&TKeyLog::FormKeyDown>(&Log);
    Form->OnKeyPress = Closure<&TKeyLog::FormKeyPress>(&Log);
    Actions = new TActionList(Form);
    Insert = new TAction(Form);
    Insert->SetName("AddNew");
    Insert->SetActionList(Actions);
    Insert->SetShortCut(VK_INSERT);
    Insert->OnExecute = Closure<&TKeyLog::ActionExecute>(&Log);
    Form->Show();
  }
  TKeyLog Log;
  TForm* Form;
  TEdit* Edit;
  TListView* List;
  TActionList* Actions;
  TAction* Insert;
};

TEST_F(KeyRoutingTest, TheFocusedControlAloneSeesKeysWithoutPreview) {
  EXPECT_EQ(Form->ActiveControl(), Edit) << "the first control in tab order takes the focus";
  Input().Type("ab");
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen,
            (std::vector<String>{"Edit down 65", "Edit press a", "Edit down 66", "Edit press b"}));
  EXPECT_EQ(Edit->Text(), "ab");
}

TEST_F(KeyRoutingTest, KeyPreviewShowsTheFormEveryKeyFirst) {
  Form->SetKeyPreview(true);
  Input().Type("a");
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen,
            (std::vector<String>{"form down 65", "Edit down 65", "form press a", "Edit press a"}));
}

TEST_F(KeyRoutingTest, AKeyTheFormSwallowsGoesNoFurther) {
  Form->SetKeyPreview(true);
  Log.SwallowInPreview = true;
  Input().Key(VK_INSERT);
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"form down 45"}));
}

TEST_F(KeyRoutingTest, ShortcutsRunTheirActionBeforeTheControlSeesTheKey) {
  Form->SetKeyPreview(true);
  Input().Key(VK_INSERT);
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"form down 45", "AddNew runs"}));
  // A disabled action lets the key through to the control.
  Log.Seen.clear();
  Insert->SetEnabled(false);
  Input().Key(VK_INSERT);
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"form down 45", "Edit down 45"}));
  // The shortcut wants exactly its modifiers.
  Log.Seen.clear();
  Insert->SetEnabled(true);
  Input().Key(VK_INSERT, {ssCtrl});
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"form down 45", "Edit down 45"}));
}

TEST_F(KeyRoutingTest, MenuShortcutsAndPopupMenusOfTheFormCountToo) {
  auto* Popup = new TPopupMenu(Form);
  auto* Item = new TMenuItem(Form);
  Item->SetName("SaveItem");
  Item->SetShortCut(ShortCut('S', {ssCtrl}));
  Item->OnClick = Closure<&TKeyLog::MenuClick>(&Log);
  Popup->Items()->Add(Item);
  Input().Key('S', {ssCtrl});
  Application->ProcessInput();
  EXPECT_EQ(Log.Seen, (std::vector<String>{"SaveItem chosen"}));
}

TEST_F(KeyRoutingTest, AKeyPressTheControlClearsIsNotTyped) {
  Input().Type("xy");
  Application->ProcessInput();
  EXPECT_EQ(Edit->Text(), "y");
}

TEST_F(KeyRoutingTest, TabMovesTheFocusInTabOrder) {
  Input().Key(VK_TAB);
  Application->ProcessInput();
  EXPECT_EQ(Form->ActiveControl(), List);
  Input().Key(VK_TAB, {ssShift});
  Application->ProcessInput();
  EXPECT_EQ(Form->ActiveControl(), Edit);
  List->SetTabOrder(0);
  EXPECT_EQ(Edit->TabOrder(), 1);
}

TEST_F(KeyRoutingTest, EnterAndEscapeClickTheDefaultAndCancelButtons) {
  TForm* D = NewForm("Dialog");
  auto* Memo = Add<TMemo>(D, "Memo");
  auto* Ok = Add<TButton>(D, "OK");
  Ok->SetDefault(true);
  Ok->SetModalResult(mrOk);
  auto* Cancel = Add<TButton>(D, "Cancel");
  Cancel->SetCancel(true);
  Cancel->SetModalResult(mrCancel);
  // The memo keeps Enter for its lines; Escape still cancels.
  Input().Type("one").Key(VK_RETURN).Type("two").Key(VK_ESCAPE);
  EXPECT_EQ(D->ShowModal(), mrCancel);
  EXPECT_EQ(Memo->Text(), "one\r\ntwo");
  // Without WantReturns, Enter is the default button's.
  Memo->SetWantReturns(false);
  Input().Type("!").Key(VK_RETURN);
  EXPECT_EQ(D->ShowModal(), mrOk);
  EXPECT_EQ(Memo->Lines()->Count(), 2);
}

TEST_F(KeyRoutingTest, AKeyThatEndsAModalLoopTypesNothingMore) {
  TForm* D = NewForm("Dialog");
  auto* Memo = Add<TMemo>(D, "Memo");
  auto* Ok = Add<TButton>(D, "OK");
  Ok->SetModalResult(mrOk);
  struct TCtrlEnter : TObject {
    TButton* Ok;
    void KeyDown(TObject*, Word& Key, TShiftState Shift) {
      if (Key == VK_RETURN && Shift == TShiftState{ssCtrl}) Ok->Click();
    }
  } Handler;
  Handler.Ok = Ok;
  Memo->OnKeyDown = Closure<&TCtrlEnter::KeyDown>(&Handler);
  Input().Type("a").Key(VK_RETURN, {ssCtrl});
  EXPECT_EQ(D->ShowModal(), mrOk);
  EXPECT_EQ(Memo->Text(), "a");
}

TEST_F(KeyRoutingTest, AltAndALabelsLetterFocusesItsControl) {
  auto* Label = Add<TLabel>(Form, "ListLabel");
  Label->SetCaption("&Columns");
  Label->SetFocusControl(List);
  auto* Apply = Add<TButton>(Form, "Apply");
  Apply->SetCaption("&Apply");
  Apply->SetModalResult(mrOk);
  Input().Key('C', {ssAlt});
  Application->ProcessInput();
  EXPECT_EQ(Form->ActiveControl(), List);
  Input().Key('A', {ssAlt});
  Application->ProcessInput();
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Edit->Text(), "") << "nothing typed";
}

TEST_F(KeyRoutingTest, AKeyWithoutAnActiveWindowIsAnError) {
  Form->Hide();
  Input().Key(VK_RETURN);
  EXPECT_THROW(Application->ProcessInput(), EInputError);
}

}  // namespace
