// A window built from its form description resource: controls in their parents,
// actions, menus and an image list, handlers bound by name, and written back equal.
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "WindowFixture.h"

namespace {

class TWindowsTestForm : public TForm {
  OM_CLASS(TWindowsTestForm, TForm)
 public:
  explicit TWindowsTestForm(TComponent* AOwner) : TForm(AOwner) {
    ReadForm();
    FormListView = static_cast<TListView*>(FindComponent("FormListView"));
    Memo = static_cast<TMemo*>(FindComponent("Memo"));
    DoCreate();
  }
  TListView* FormListView;
  TMemo* Memo;
  std::vector<String> Ran;
  void FormClose(TObject*, TCloseAction& Action) {
    Ran.push_back("close");
    Action = caFree;
  }
  void FormKeyPress(TObject*, char& Key) { Ran.push_back(String("key ") + Key); }
  void AddNewExecute(TObject*) { Ran.push_back("add"); }
  void DeleteExecute(TObject*) { Ran.push_back("delete"); }
  void StretchExecute(TObject*) { Ran.push_back("stretch"); }
  void ListSelectItem(TObject*, TListItem* Item, bool Selected) {
    Ran.push_back((Selected ? "+" : "-") + Item->Caption());
  }
  void ListDragOver(TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = false; }
  void ListDragDrop(TObject*, TObject*, int, int) {}
  void SplitterCanResize(TObject*, int&, bool&) {}
  void MemoChange(TObject*) { Ran.push_back("memo"); }
};

}  // namespace

template <>
struct TPublished<TWindowsTestForm> {
  static constexpr TMethodEntry Methods[] = {
      OM_METHOD(TWindowsTestForm, FormClose),         OM_METHOD(TWindowsTestForm, FormKeyPress),
      OM_METHOD(TWindowsTestForm, AddNewExecute),     OM_METHOD(TWindowsTestForm, DeleteExecute),
      OM_METHOD(TWindowsTestForm, StretchExecute),    OM_METHOD(TWindowsTestForm, ListSelectItem),
      OM_METHOD(TWindowsTestForm, ListDragOver),      OM_METHOD(TWindowsTestForm, ListDragDrop),
      OM_METHOD(TWindowsTestForm, SplitterCanResize), OM_METHOD(TWindowsTestForm, MemoChange),
  };
};
OM_IMPLEMENT_CLASS(TWindowsTestForm, "WindowsFormTest");

namespace {

class TNoResourceForm : public TForm {
  OM_CLASS(TNoResourceForm, TForm)
 public:
  explicit TNoResourceForm(TComponent* AOwner) : TForm(AOwner) { ReadForm(); }
};

}  // namespace

OM_IMPLEMENT_CLASS(TNoResourceForm, "WindowsFormTest");

namespace {

class WindowsFormTest : public WindowTest {
 protected:
  template <class C>
  C* Find(TComponent* Root, const char* Name) {
    auto* X = dynamic_cast<C*>(Root->FindComponent(Name));
    EXPECT_NE(X, nullptr) << Name;
    return X;
  }
  static String ResourceText() {
    const TResourceEntry* R = FindResource(&OmThisModule, "TWINDOWSTESTFORM", RT_RCDATA);
    return String(reinterpret_cast<const char*>(R->Data), R->Size);
  }
};

TEST_F(WindowsFormTest, TheDescriptionBuildsTheWindow) {
  auto* F = new TWindowsTestForm(Application);
  EXPECT_EQ(F->Name(), "WindowsTestForm");
  EXPECT_EQ(F->Owner(), Application);
  EXPECT_EQ(F->Caption(), "Editing Grid1.Columns");
  EXPECT_EQ(F->ClientWidth(), 272);
  EXPECT_EQ(F->ClientHeight(), 293);
  EXPECT_EQ(F->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_TRUE(F->KeyPreview());
  // Controls sit in their parents and the aligned ones fill the window.
  auto* Bar = Find<TToolBar>(F, "FormToolBar");
  auto* Panel = Find<TPanel>(F, "Panel");
  EXPECT_EQ(Bar->ButtonCount(), 4);
  EXPECT_EQ(Find<TLabel>(F, "LinesLabel")->Parent(), Panel);
  EXPECT_EQ(Find<TLabel>(F, "LinesLabel")->FocusControl(), F->Memo);
  EXPECT_EQ(F->FormListView->BoundsRect(), Rect(0, 33, 272, 205));
  EXPECT_EQ(F->Memo->Lines()->Count(), 2);
  EXPECT_EQ(Find<TToolButton>(F, "Break1ToolButton")->Width(), 8);
  // Buttons and menu items follow their actions; what the form set itself stays.
  auto* AddButton = Find<TToolButton>(F, "AddNewToolButton");
  EXPECT_EQ(AddButton->Caption(), "&Add");
  EXPECT_EQ(AddButton->ImageIndex(), 0);
  EXPECT_EQ(Find<TToolButton>(F, "StretchToolButton")->ImageIndex(), 6);
  auto* DeleteItem = Find<TMenuItem>(F, "DeleteMenuItem");
  EXPECT_EQ(DeleteItem->Caption(), "&Delete");
  EXPECT_EQ(DeleteItem->ShortCut(), VK_DELETE);
  EXPECT_EQ(F->Menu()->FindItem("File|Delete"), DeleteItem);
  Find<TAction>(F, "Delete")->SetEnabled(false);
  EXPECT_FALSE(DeleteItem->Enabled());
  // The image list holds the two masked images of the form's bitmap data.
  auto* Images = Find<TImageList>(F, "FormImageList");
  ASSERT_EQ(Images->Count(), 2);
  EXPECT_TRUE(Images->IsOpaque(0, 7, 5));
  EXPECT_FALSE(Images->IsOpaque(0, 0, 0));
  TBitmap Cross;
  Images->GetBitmap(1, &Cross);
  EXPECT_EQ(Cross.Pixel(3, 3), clRed);
  auto* Image = Find<TImage>(F, "Image1");
  EXPECT_EQ(Image->Picture()->Bitmap()->Pixel(0, 0), clNavy);
  EXPECT_EQ(Find<TOpenDialog>(F, "OpenDialog")->Options(),
            (TOpenOptions{ofHideReadOnly, ofPathMustExist, ofFileMustExist}));
}

TEST_F(WindowsFormTest, ItsHandlersAreBoundByName) {
  auto* F = new TWindowsTestForm(Application);
  F->Show();
  // The first control that takes the focus, depth first in tab order: the memo on the
  // panel comes before the list.
  EXPECT_EQ(F->ActiveControl(), F->Memo);
  F->FormListView->Items()->Add()->SetCaption("0 - Name");
  Input().Key(VK_INSERT).ClickItem(F->FormListView, 0).Type("q");
  Input().Choose(Find<TMenuItem>(F, "StretchMenuItem"));
  Application->ProcessInput();
  EXPECT_EQ(F->Ran, (std::vector<String>{"add", "+0 - Name", "key q", "stretch"}));
  // Its OnClose frees it once closed.
  F->Close();
  Application->ProcessMessages();
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(WindowsFormTest, ItPaintsItsToolBarImagesMenuAndRows) {
  auto* F = new TWindowsTestForm(Application);
  F->FormListView->Items()->Add()->SetCaption("0 - Name");
  F->Show();
  TBitmap Window;
  F->PaintWindow(&Window);
  TRect M = F->BorderMargins();
  EXPECT_EQ(M.Top, 4 + 19 + 19) << "caption bar and menu bar";
  // The add button's image (a green plus) sits centred in the first button, inside the
  // bar's border (1) and top edge (2).
  auto* AddButton = static_cast<TControl*>(F->FindComponent("AddNewToolButton"));
  TPoint Img = Point(M.Left + 1 + AddButton->Left() + 3, M.Top + 3 + AddButton->Top() + 3);
  EXPECT_EQ(Window.Pixel(Img.X + 7, Img.Y + 5), clGreen);
  EXPECT_EQ(Window.Pixel(Img.X + 1, Img.Y + 5), TColor(ColorToRGB(clBtnFace))) << "masked";
  if (const char* Dir = std::getenv("OM_KEEP_PICTURES"))
    SaveBitmapAsPng(&Window, String(Dir) + "/windows-test-form.png");
}

TEST_F(WindowsFormTest, ItIsWrittenBackAsItWasRead) {
  auto* F = new TWindowsTestForm(Application);
  EXPECT_EQ(ComponentToText(F), ResourceText());
}

TEST_F(WindowsFormTest, ASecondWindowOfTheClassGetsANameOfItsOwn) {
  auto* A = new TWindowsTestForm(Application);
  auto* B = new TWindowsTestForm(Application);
  EXPECT_EQ(A->Name(), "WindowsTestForm");
  EXPECT_EQ(B->Name(), "WindowsTestForm_1");
  EXPECT_EQ(B->FindComponent("FormListView")->Owner(), B);
}

TEST_F(WindowsFormTest, AClassWithoutADescriptionIsRefused) {
  EXPECT_THROW(new TNoResourceForm(Application), EResNotFound);
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_EQ(Application->ComponentCount(), 0);
}

}  // namespace
