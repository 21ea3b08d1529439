// What a person sees of a window's layout: aligned controls filling their parent, the
// splitter between the tool bar and the list and its accept rule, tool bars and their
// buttons, panels.
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "WindowFixture.h"

namespace {

// The tool bar snaps between a small form (30) and a labelled one (44), as the columns
// editor's splitter handler does; sizes in between are refused.
class TSnap : public TObject {
 public:
  TToolBar* Bar = nullptr;
  std::vector<int> Proposed;
  void CanResize(TObject*, int& NewSize, bool& Accept) {
    Proposed.push_back(NewSize);
    if (NewSize <= 30 && Bar->ShowCaptions()) Labels(false);
    if (NewSize >= 44 && !Bar->ShowCaptions()) Labels(true);
    Accept = NewSize <= 30 || NewSize >= 44;
  }
  void Labels(bool On) {
    if (On) {
      Bar->SetHeight(44);
      Bar->SetShowCaptions(true);
    } else {
      Bar->SetShowCaptions(false);
      Bar->SetButtonHeight(22);
      Bar->SetButtonWidth(23);
      Bar->SetHeight(30);
    }
  }
};

class LayoutTest : public WindowTest {
 protected:
  void SetUp() override {
    Form = NewForm("Editor", 264, 205);
    Bar = Add<TToolBar>(Form, "FormToolBar");
    Bar->SetHeight(30);
    Bar->Constraints()->SetMinHeight(30);
    Bar->Constraints()->SetMaxHeight(44);
    Bar->SetEdgeBorders({ebTop, ebBottom});
    Bar->SetBorderWidth(1);
    Bar->SetIndent(4);
    Splitter = Add<TSplitter>(Form, "FormSplitter");
    Splitter->SetTop(30);
    Splitter->SetAlign(alTop);
    Splitter->SetHeight(3);
    List = Add<TListView>(Form, "FormListView");
    List->SetAlign(alClient);
    Snap.Bar = Bar;
    Splitter->OnCanResize = Closure<&TSnap::CanResize>(&Snap);
    Form->Show();
  }
  TSnap Snap;
  TForm* Form;
  TToolBar* Bar;
  TSplitter* Splitter;
  TListView* List;
};

TEST_F(LayoutTest, AlignedControlsFillTheWindow) {
  EXPECT_EQ(Bar->BoundsRect(), Rect(0, 0, 264, 30));
  EXPECT_EQ(Splitter->BoundsRect(), Rect(0, 30, 264, 33));
  EXPECT_EQ(List->BoundsRect(), Rect(0, 33, 264, 205));
  Form->SetBounds(Form->Left(), Form->Top(), 400, 300);
  EXPECT_EQ(List->BoundsRect(), Rect(0, 33, 392, 273));
  // Hidden, the bar and splitter leave the list the whole window.
  Splitter->Hide();
  Bar->Hide();
  EXPECT_EQ(List->BoundsRect(), Rect(0, 0, 392, 273));
  Splitter->Show();
  Bar->Show();
  EXPECT_EQ(Splitter->Top(), 30);
  EXPECT_EQ(List->Top(), 33);
}

TEST_F(LayoutTest, TheSplitterSizesTheControlAboveIt) {
  EXPECT_EQ(Splitter->SizedControl(), Bar);
  // Refused: 31 to 43.
  Input().DragSplitter(Splitter, 5);
  Application->ProcessInput();
  EXPECT_EQ(Snap.Proposed, (std::vector<int>{35}));
  EXPECT_EQ(Bar->Height(), 30);
  // Accepted at 44 or more: labels on, held at the bar's maximum.
  Input().DragSplitter(Splitter, 20);
  Application->ProcessInput();
  EXPECT_EQ(Snap.Proposed.back(), 50);
  EXPECT_TRUE(Bar->ShowCaptions());
  EXPECT_EQ(Bar->Height(), 44);
  EXPECT_EQ(List->Top(), 47);
  // Dragging up proposes no less than the splitter's minimum, and snaps back small.
  Input().DragSplitter(Splitter, -40);
  Application->ProcessInput();
  EXPECT_EQ(Snap.Proposed.back(), 30);
  EXPECT_FALSE(Bar->ShowCaptions());
  EXPECT_EQ(Bar->Height(), 30);
  EXPECT_EQ(Bar->ButtonHeight(), 22);
}

TEST_F(LayoutTest, TheSplitterLeavesTheRestItsMinimum) {
  Splitter->OnCanResize = nullptr;
  Bar->Constraints()->SetMaxHeight(0);
  Input().DragSplitter(Splitter, 1000);
  Application->ProcessInput();
  EXPECT_EQ(Bar->Height(), 205 - 3 - 30);
  EXPECT_EQ(List->Height(), 30);
}

TEST_F(LayoutTest, ToolButtonsLineUpAndFollowTheirActions) {
  auto* Images = new TImageList(Form);
  TBitmap Pic(16 * 3, 16);
  Images->AddMasked(&Pic, clNone);
  Bar->SetImages(Images);
  auto* Actions = new TActionList(Form);
  auto* Add = new TAction(Form);
  Add->SetActionList(Actions);
  Add->SetCaption("&Add");
  Add->SetHint("Add New");
  Add->SetImageIndex(1);
  auto* Stretch = new TAction(Form);
  Stretch->SetActionList(Actions);
  Stretch->SetCaption("Stretch &Mode");
  auto* AddButton = WindowTest::Add<TToolButton>(Bar, "AddNewToolButton");
  AddButton->SetAction(Add);
  auto* Sep = WindowTest::Add<TToolButton>(Bar, "Break1ToolButton");
  Sep->SetStyle(tbsSeparator);
  auto* StretchButton = WindowTest::Add<TToolButton>(Bar, "StretchToolButton");
  StretchButton->SetStyle(tbsCheck);
  StretchButton->SetGrouped(true);
  StretchButton->SetAllowAllUp(true);
  StretchButton->SetAction(Stretch);
  StretchButton->SetImageIndex(6);
  EXPECT_EQ(AddButton->BoundsRect(), Rect(4, 0, 27, 22));
  EXPECT_EQ(Sep->BoundsRect(), Rect(27, 0, 35, 22));
  EXPECT_EQ(StretchButton->Left(), 35);
  EXPECT_EQ(AddButton->Caption(), "&Add");
  EXPECT_EQ(AddButton->Hint(), "Add New");
  EXPECT_EQ(AddButton->ImageIndex(), 1);
  // The action changes, the button follows.
  Add->SetEnabled(false);
  EXPECT_FALSE(AddButton->Enabled());
  Stretch->SetChecked(true);
  EXPECT_TRUE(StretchButton->Down());
  Stretch->SetChecked(false);
  EXPECT_FALSE(StretchButton->Down());
  // Captions shown: the buttons grow to hold the widest one under the image.
  Bar->SetShowCaptions(true);
  EXPECT_EQ(Bar->ButtonWidth(), 6 * 12 + 8);
  EXPECT_EQ(Bar->ButtonHeight(), 16 + 13 + 7);
  EXPECT_EQ(StretchButton->Width(), Bar->ButtonWidth());
}

TEST_F(LayoutTest, GroupedCheckButtonsReleaseEachOther) {
  auto* A = Add<TToolButton>(Bar, "A");
  auto* B = Add<TToolButton>(Bar, "B");
  for (TToolButton* X : {A, B}) {
    X->SetStyle(tbsCheck);
    X->SetGrouped(true);
  }
  Input().Click(A);
  Application->ProcessInput();
  EXPECT_TRUE(A->Down());
  Input().Click(B);
  Application->ProcessInput();
  EXPECT_FALSE(A->Down());
  EXPECT_TRUE(B->Down());
  // Without all-up the last one down stays down; with it, a click lets it up.
  Input().Click(B);
  Application->ProcessInput();
  EXPECT_TRUE(B->Down());
  B->SetAllowAllUp(true);
  Input().Click(B);
  Application->ProcessInput();
  EXPECT_FALSE(B->Down());
}

TEST_F(LayoutTest, PanelsLayOutInsideTheirBevels) {
  auto* Panel = Add<TPanel>(Form, "Panel");
  Panel->SetAlign(alBottom);
  Panel->SetHeight(60);
  Panel->SetBevelInner(bvRaised);
  Panel->SetBevelOuter(bvLowered);
  Panel->SetBorderWidth(2);
  auto* Inner = Add<TPanel>(Panel, "Inner");
  Inner->SetAlign(alClient);
  EXPECT_EQ(Panel->BoundsRect(), Rect(0, 145, 264, 205));
  EXPECT_EQ(Inner->BoundsRect(), Rect(2, 2, 258, 54)) << "border width around, then the bevels";
  EXPECT_EQ(List->Height(), 145 - 33);
}

}  // namespace
