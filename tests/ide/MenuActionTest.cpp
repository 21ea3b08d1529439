// Actions, action lists and menus: items follow their actions, choosing runs them, and
// shortcuts read and print as the platform writes them.
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "WindowFixture.h"

namespace {

class TRunLog : public TObject {
 public:
  std::vector<String> Ran;
  bool Handle = false;
  void Execute(TObject* Sender) { Ran.push_back(static_cast<TComponent*>(Sender)->Name()); }
  void Popup(TObject*) { Ran.push_back("popup"); }
  void ListExecute(TBasicAction* Action, bool& Handled) {
    Ran.push_back("list " + Action->Name());
    Handled = Handle;
  }
  void Update(TObject* Sender) { static_cast<TCustomAction*>(Sender)->SetEnabled(false); }
};

class MenuActionTest : public WindowTest {
 protected:
  void SetUp() override {
    Form = NewForm("Form");
    List = new TActionList(Form);
    Action = new TAction(Form);
    Action->SetName("Toolbar");
    Action->SetActionList(List);
    Action->SetCaption("&Toolbar");
    Action->SetChecked(true);
    Action->SetImageIndex(0);
    Action->OnExecute = Closure<&TRunLog::Execute>(&Log);
    Menu = new TPopupMenu(Form);
    Item = new TMenuItem(Form);
    Item->SetName("ToolbarMenuItem");
    Menu->Items()->Add(Item);
    Item->SetAction(Action);
    Form->SetPopupMenu(Menu);
    Form->Show();
  }
  TRunLog Log;
  TForm* Form;
  TActionList* List;
  TAction* Action;
  TPopupMenu* Menu;
  TMenuItem* Item;
};

TEST_F(MenuActionTest, ClientsTakeOnlyThePropertyThatChanged) {
  auto* Bar = new TToolBar(Form);
  Bar->SetParent(Form);
  auto* Button = new TToolButton(Form);
  Button->SetParent(Bar);
  Button->SetAction(Action);  // linked: it takes everything
  EXPECT_EQ(Button->ImageIndex(), 0);
  EXPECT_TRUE(Button->Down());
  Button->SetImageIndex(7);  // its own image, as a stretch button sets it
  Item->SetImageIndex(5);
  Action->SetEnabled(false);
  Action->SetCaption("Tool &bar");
  Action->SetHint("Shows the bar");
  EXPECT_FALSE(Button->Enabled());
  EXPECT_FALSE(Item->Enabled());
  EXPECT_EQ(Button->ImageIndex(), 7);
  EXPECT_EQ(Item->ImageIndex(), 5);
  EXPECT_EQ(Button->Hint(), "Shows the bar");
  Action->SetImageIndex(3);  // now the image itself changed
  EXPECT_EQ(Button->ImageIndex(), 3);
  EXPECT_EQ(Item->ImageIndex(), 3);
  Action->SetChecked(false);
  EXPECT_FALSE(Button->Down());
  EXPECT_FALSE(Item->Checked());
}

TEST_F(MenuActionTest, ItemsFollowTheirActions) {
  EXPECT_EQ(Item->Caption(), "&Toolbar");
  EXPECT_TRUE(Item->Checked());
  EXPECT_EQ(Item->ImageIndex(), 0);
  Action->SetChecked(false);
  Action->SetImageIndex(-1);
  Action->SetCaption("Tool &bar");
  EXPECT_FALSE(Item->Checked());
  EXPECT_EQ(Item->ImageIndex(), -1);
  EXPECT_EQ(Item->Caption(), "Tool &bar");
  // A freed action leaves nothing dangling.
  delete Action;
  EXPECT_EQ(Item->Action(), nullptr);
  EXPECT_EQ(List->ActionCount(), 0);
  Input().Choose(Item);
  Application->ProcessInput();
  EXPECT_TRUE(Log.Ran.empty());
}

TEST_F(MenuActionTest, ChoosingAnItemRunsItsActionAfterThePopup) {
  Menu->OnPopup = Closure<&TRunLog::Popup>(&Log);
  Input().ClickAt(Form, 10, 10, {}, mbRight).Choose(Item);
  Application->ProcessInput();
  EXPECT_EQ(Log.Ran, (std::vector<String>{"popup", "Toolbar"}));
  EXPECT_EQ(Menu->PopupComponent(), Form);
  // Disabled, it cannot be chosen: the menu opens, nothing runs.
  Log.Ran.clear();
  Action->SetEnabled(false);
  Input().Choose(Item);
  Application->ProcessInput();
  EXPECT_EQ(Log.Ran, (std::vector<String>{"popup"}));
}

TEST_F(MenuActionTest, TheListMayHandleItsActionsAndUpdateRunsBeforeExecute) {
  List->OnExecute = Closure<&TRunLog::ListExecute>(&Log);
  EXPECT_TRUE(Action->Execute());
  EXPECT_EQ(Log.Ran, (std::vector<String>{"list Toolbar", "Toolbar"}));
  Log.Ran.clear();
  Log.Handle = true;
  Action->Execute();
  EXPECT_EQ(Log.Ran, (std::vector<String>{"list Toolbar"}));
  Action->OnUpdate = Closure<&TRunLog::Update>(&Log);
  EXPECT_FALSE(Action->Execute()) << "its OnUpdate disabled it";
}

TEST_F(MenuActionTest, ActionsOfAGroupCheckOneAtATime) {
  auto* Other = new TAction(Form);
  Other->SetActionList(List);
  Action->SetGroupIndex(1);
  Other->SetGroupIndex(1);
  Other->SetChecked(true);
  EXPECT_FALSE(Action->Checked());
  EXPECT_FALSE(Item->Checked());
}

TEST(ShortCutTest, ReadsAndPrintsAsThePlatform) {
  EXPECT_EQ(ShortCut(VK_INSERT, {}), 45);
  EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl, ssShift})), "Shift+Ctrl+S");
  EXPECT_EQ(TextToShortCut("Ctrl+Enter"), ShortCut(VK_RETURN, {ssCtrl}));
  EXPECT_EQ(TextToShortCut("Del"), VK_DELETE);
  EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
  EXPECT_EQ(StripHotkey("Add All &Fields"), "Add All Fields");
  EXPECT_EQ(StripHotkey("Tom && Jerry"), "Tom & Jerry");
}

}  // namespace
