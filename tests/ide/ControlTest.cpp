// Controls as a person sees them: labels sized to their captions, constraints, images,
// splitters on every side, tool bars that wrap, fonts taken from the parent.
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "WindowFixture.h"

namespace {

class ControlTest : public WindowTest {
 protected:
  void SetUp() override {
    Form = NewForm("Form", 300, 200);
    Form->Show();
  }
  TForm* Form;
};

TEST_F(ControlTest, ALabelSizesItselfToItsCaption) {
  auto* L = Add<TLabel>(Form, "LinesLabel");
  L->SetCaption("0 &Lines");
  EXPECT_EQ(L->Width(), 6 * 7);
  EXPECT_EQ(L->Height(), 13);
  EXPECT_EQ(L->Accelerator(), 'L');
  L->SetAlignment(taRightJustify);
  L->SetLeft(100);
  L->SetCaption("Row No. 10");
  EXPECT_EQ(L->Left() + L->Width(), 100 + 42) << "a right-aligned label keeps its right edge";
  L->SetAutoSize(false);
  L->SetCaption("x");
  EXPECT_EQ(L->Width(), 60);
  L->Font()->SetColor(clPurple);
  EXPECT_FALSE(L->ParentFont());
  EXPECT_EQ(L->Font()->Color(), clPurple);
}

TEST_F(ControlTest, ControlsTakeTheirParentsFontUntilTheySetTheirOwn) {
  auto* Panel = Add<TPanel>(Form, "Panel");
  auto* Label = Add<TLabel>(Panel, "Label");
  Form->Font()->SetName("Arial");
  EXPECT_EQ(Panel->Font()->Name(), "Arial");
  EXPECT_EQ(Label->Font()->Name(), "Arial");
  EXPECT_TRUE(Label->ParentFont());
  Label->Font()->SetHeight(-29);
  Form->Font()->SetName("Courier");
  EXPECT_EQ(Label->Font()->Name(), "Arial");
  EXPECT_EQ(Panel->Font()->Name(), "Courier");
  Label->SetParentFont(true);
  EXPECT_EQ(Label->Font()->Height(), -11);
}

TEST_F(ControlTest, ConstraintsHoldTheSize) {
  auto* Bar = Add<TToolBar>(Form, "Bar");
  Bar->Constraints()->SetMinHeight(30);
  Bar->Constraints()->SetMaxHeight(44);
  Bar->SetHeight(10);
  EXPECT_EQ(Bar->Height(), 30);
  Bar->SetHeight(100);
  EXPECT_EQ(Bar->Height(), 44);
  Bar->Constraints()->SetMaxHeight(20);
  EXPECT_EQ(Bar->Constraints()->MinHeight(), 20) << "a maximum below the minimum lowers it";
  EXPECT_EQ(Bar->Height(), 20);
}

TEST_F(ControlTest, SplittersOnEverySideSizeTheirNeighbour) {
  auto* Left = Add<TPanel>(Form, "Left");
  Left->SetAlign(alLeft);
  Left->SetWidth(80);
  auto* Split = Add<TSplitter>(Form, "Split");
  Split->SetLeft(80);
  auto* Bottom = Add<TPanel>(Form, "Bottom");
  Bottom->SetAlign(alBottom);
  Bottom->SetHeight(50);
  auto* BottomSplit = Add<TSplitter>(Form, "BottomSplit");
  BottomSplit->SetAlign(alBottom);
  BottomSplit->SetHeight(3);
  auto* Rest = Add<TPanel>(Form, "Rest");
  Rest->SetAlign(alClient);
  EXPECT_EQ(Split->SizedControl(), Left);
  EXPECT_EQ(BottomSplit->SizedControl(), Bottom);
  EXPECT_TRUE(Split->DragBy(20));
  EXPECT_EQ(Left->Width(), 100);
  EXPECT_EQ(Rest->Left(), 103);
  EXPECT_TRUE(BottomSplit->DragBy(-10));
  EXPECT_EQ(Bottom->Height(), 60);
  EXPECT_EQ(Rest->Height(), 200 - 63);
  // Below the minimum it snaps the neighbour away, as the platform's AutoSnap does.
  EXPECT_TRUE(Split->DragBy(-90));
  EXPECT_EQ(Left->Width(), 0);
}

TEST_F(ControlTest, AToolBarWrapsItsButtonsAndSizesItself) {
  auto* Bar = Add<TToolBar>(Form, "Bar");
  Bar->SetAutoSize(true);
  for (int I = 0; I < 15; ++I) Add<TToolButton>(Bar, ("B" + IntToStr(I)).c_str());
  // 300 pixels take 13 buttons of 23; the rest go to a second row.
  EXPECT_EQ(Bar->Buttons(12)->Top(), 0);
  EXPECT_EQ(Bar->Buttons(13)->BoundsRect(), Rect(0, 22, 23, 44));
  EXPECT_EQ(Bar->Height(), 44 + 2);
  Bar->SetWrapable(false);
  EXPECT_EQ(Bar->Buttons(14)->Left(), 14 * 23);
  Bar->Buttons(3)->Hide();
  EXPECT_EQ(Bar->Buttons(4)->Left(), 3 * 23);
}

TEST_F(ControlTest, AnImageShowsItsPictureAndAPictureRefusesWhatItCannotRead) {
  auto* Image = Add<TImage>(Form, "Image1");
  TBitmap Logo(4, 4);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) Logo.SetPixel(X, Y, Y == 3 ? clSilver : clMaroon);
  Image->SetAutoSize(true);
  Image->Picture()->SetGraphic(&Logo);
  EXPECT_EQ(Image->Width(), 4);
  Image->SetTransparent(true);
  TBitmap Window;
  Form->PaintWindow(&Window);
  TRect M = Form->BorderMargins();
  EXPECT_EQ(Window.Pixel(M.Left + 1, M.Top + 1), clMaroon);
  EXPECT_EQ(ColorToRGB(Window.Pixel(M.Left + 1, M.Top + 3)), ColorToRGB(clBtnFace))
      << "silver left out";
  TComponent Owner(nullptr);
  RegisterClass(TImage::StaticClass());
  EXPECT_THROW(ComponentFromText("object I: TImage\n  Picture.Data = {0449636F6E00}\nend\n",
                                 "I.dfm", nullptr, &Owner),
               EReadError);
  UnRegisterClass(TImage::StaticClass());
}

TEST_F(ControlTest, TabOrderAndFocus) {
  auto* A = Add<TEdit>(Form, "A");
  auto* B = Add<TEdit>(Form, "B");
  EXPECT_EQ(A->TabOrder(), 0);
  EXPECT_EQ(B->TabOrder(), 1);
  B->SetFocus();
  EXPECT_TRUE(B->Focused());
  B->Hide();
  EXPECT_THROW(B->SetFocus(), EInvalidOperation);
  delete A;
  EXPECT_EQ(B->TabOrder(), 0);
  B->Show();
  B->SetFocus();
  delete B;
  EXPECT_EQ(Form->ActiveControl(), nullptr) << "the focus does not stay on a freed control";
}

#if OM_HOST_RELEASE >= 6
TEST_F(ControlTest, AnAutoCheckActionTogglesItself) {
  auto* List = new TActionList(Form);
  auto* A = new TAction(Form);
  A->SetActionList(List);
  A->SetAutoCheck(true);
  A->Execute();
  EXPECT_TRUE(A->Checked());
}
#endif

}  // namespace
