// The canvas: what it records of a drawing, the pixels it paints, its text metrics;
// bitmaps, image lists, and a whole window painted as a person would see it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ComCtrls.h"
#include "StdCtrls.h"
#include "WindowFixture.h"

namespace fs = std::filesystem;

namespace {

std::vector<String> Record(const TCanvas& C) {
  std::vector<String> R;
  for (const TCanvasOp& Op : C.Operations()) R.push_back(Op.ToString());
  return R;
}

TEST(CanvasTest, RecordsEveryOperationWithItsDrawingState) {
  TCanvas C;
  C.Pen()->SetColor(clBtnFace);
  C.Brush()->SetColor(clWindow);
  C.Rectangle(0, 0, 24, 20);
  C.Brush()->SetStyle(bsClear);
  C.TextRect(Rect(24, 0, 100, 20), 26, 3, "-2");
  C.Font()->SetColor(clRed);
  C.TextOut(5, 6, "x");
  C.Brush()->SetColor(clHighlight);
  C.FillRect(Rect(1, 2, 3, 4));
  EXPECT_EQ(Record(C), (std::vector<String>{
                           "Rectangle(0,0,24,20) pen=clBtnFace brush=clWindow",
                           "TextRect(24,0,100,20,26,3,'-2') font=clWindowText brush=clear",
                           "TextOut(5,6,'x') font=clRed brush=clear",
                           "FillRect(1,2,3,4) brush=clHighlight",
                       }));
  C.ClearOperations();
  EXPECT_TRUE(C.Operations().empty());
}

TEST(CanvasTest, TextMetricsAreDeterministicAndFollowTheFont) {
  TCanvas C;
  EXPECT_EQ(C.TextExtent("Add"), Point(18, 13));
  EXPECT_EQ(C.TextWidth(""), 0);
  C.Font()->SetStyle(TFontStyles{fsBold});
  EXPECT_EQ(C.TextWidth("Add"), 21);
  C.Font()->SetHeight(-29);
  EXPECT_EQ(C.TextHeight("A"), 31);
  C.Font()->SetSize(8);
  EXPECT_EQ(C.Font()->Height(), -11);
}

TEST(CanvasTest, PaintsIntoTheBitmapBehindIt) {
  TBitmap B(20, 10);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clNavy);
  C->FillRect(Rect(0, 0, 20, 10));
  C->Pen()->SetColor(clRed);
  C->Brush()->SetColor(clWhite);
  C->Rectangle(2, 2, 8, 8);
  EXPECT_EQ(B.Pixel(0, 0), clNavy);
  EXPECT_EQ(B.Pixel(2, 2), clRed) << "outline";
  EXPECT_EQ(B.Pixel(7, 7), clRed) << "right and bottom edges are inside";
  EXPECT_EQ(B.Pixel(8, 8), clNavy);
  EXPECT_EQ(B.Pixel(4, 4), clWhite) << "filled with the brush";
  // Text is clipped to its rectangle.
  C->Font()->SetColor(clYellow);
  C->Brush()->SetStyle(bsClear);
  C->TextRect(Rect(10, 0, 13, 10), 10, 0, "WWW");
  bool Inside = false, Outside = false;
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 20; ++X)
      if (B.Pixel(X, Y) == clYellow) (X >= 10 && X < 13 ? Inside : Outside) = true;
  EXPECT_TRUE(Inside);
  EXPECT_FALSE(Outside);
}

TEST(CanvasTest, AnImageListDrawsItsMaskedImagesAndIsRecorded) {
  TImageList L(nullptr);
  L.SetName("FormImageList");
  TBitmap Strip(32, 16);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 32; ++X) Strip.SetPixel(X, Y, X % 16 == Y ? clGreen : clFuchsia);
  EXPECT_EQ(L.AddMasked(&Strip, clFuchsia), 0);
  EXPECT_EQ(L.Count(), 2);
  TBitmap Target(40, 20);
  Target.Canvas()->Brush()->SetColor(clWhite);
  Target.Canvas()->FillRect(Rect(0, 0, 40, 20));
  Target.Canvas()->ClearOperations();
  L.Draw(Target.Canvas(), 2, 2, 0);
  L.Draw(Target.Canvas(), 20, 2, 1, false);
  L.Draw(Target.Canvas(), 20, 2, 7);
  EXPECT_EQ(Record(*Target.Canvas()),
            (std::vector<String>{"ImageDraw(FormImageList,0,2,2)",
                                 "ImageDraw(FormImageList,1,20,2,disabled)"}));
  EXPECT_EQ(Target.Pixel(2 + 5, 2 + 5), clGreen);
  EXPECT_EQ(Target.Pixel(2 + 5, 2 + 6), clWhite) << "masked out";
  EXPECT_NE(Target.Pixel(20 + 5, 2 + 5), clGreen) << "a disabled image is drawn greyed";
  EXPECT_NE(Target.Pixel(20 + 5, 2 + 5), clWhite);
  EXPECT_THROW(L.Delete(5), EInvalidImageList);
}

// The platform stores 16-colour images and a one-bit mask; they read as they look.
TEST(CanvasTest, AnImageListReadsThePlatformsStream) {
  auto Bmp = [](int Bits, int W, int H, const std::vector<unsigned>& Palette, auto Index) {
    int Stride = ((W * Bits + 31) / 32) * 4;
    std::vector<Byte> B;
    auto P32 = [&](unsigned V) {
      for (int I = 0; I < 4; ++I) B.push_back(Byte(V >> (8 * I)));
    };
    auto P16 = [&](unsigned V) {
      for (int I = 0; I < 2; ++I) B.push_back(Byte(V >> (8 * I)));
    };
    unsigned Off = 54 + unsigned(Palette.size()) * 4;
    B.push_back('B');
    B.push_back('M');
    P32(Off + Stride * H);
    P32(0);
    P32(Off);
    P32(40);
    P32(W);
    P32(H);
    P16(1);
    P16(Bits);
    P32(0);
    P32(Stride * H);
    P32(0);
    P32(0);
    P32(unsigned(Palette.size()));
    P32(0);
    for (unsigned C : Palette) P32(C);
    for (int Y = H - 1; Y >= 0; --Y) {
      std::vector<Byte> Row(size_t(Stride), 0);
      for (int X = 0; X < W; ++X) {
        unsigned V = Index(X, Y);
        if (Bits == 4)
          Row[size_t(X / 2)] |= Byte(V << (X % 2 ? 0 : 4));
        else
          Row[size_t(X / 8)] |= Byte(V << (7 - X % 8));
      }
      B.insert(B.end(), Row.begin(), Row.end());
    }
    return B;
  };
  std::vector<Byte> Data = {0x49, 0x4C, 0x01, 0x01, 1,    0,    4,    0,    4,    0,
                            16,   0,    16,   0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  // Palette entry 1 is blue (0x00RRGGBB); the image is a blue square in the middle.
  auto Image = Bmp(4, 64, 16, {0x000000, 0x0000FF, 0xC0C0C0, 0xFFFFFF},
                   [](int X, int Y) { return X >= 4 && X < 12 && Y >= 4 && Y < 12 ? 1u : 2u; });
  auto Mask = Bmp(1, 64, 16, {0x000000, 0xFFFFFF},
                  [](int X, int Y) { return X >= 4 && X < 12 && Y >= 4 && Y < 12 ? 0u : 1u; });
  Data.insert(Data.end(), Image.begin(), Image.end());
  Data.insert(Data.end(), Mask.begin(), Mask.end());
  String Hex;
  for (Byte B : Data) Hex += IntToHex(B, 2);
  TComponent Owner(nullptr);
  RegisterClass(TImageList::StaticClass());
  auto* L = static_cast<TImageList*>(ComponentFromText(
      "object L: TImageList\n  Bitmap = {" + Hex + "}\nend\n", "L.dfm", nullptr, &Owner));
  UnRegisterClass(TImageList::StaticClass());
  ASSERT_EQ(L->Count(), 1);
  TBitmap Out;
  L->GetBitmap(0, &Out);
  EXPECT_EQ(Out.Pixel(5, 5), clBlue);
  EXPECT_TRUE(L->IsOpaque(0, 5, 5));
  EXPECT_FALSE(L->IsOpaque(0, 1, 1));
  // Data that is not an image list is refused with a message that says so.
  EXPECT_THROW(ComponentFromText("object L: TImageList\n  Bitmap = {00112233}\nend\n", "Bad.dfm",
                                 nullptr, &Owner),
               EReadError);
}

// What an image list writes into a form, five images over two rows of the stream's bitmap
// and the mask beside them, reads back image for image and pixel for pixel.
TEST(CanvasTest, AnImageListReadsBackWhatItWrote) {
  TComponent Owner(nullptr);
  auto* L = new TImageList(&Owner);
  L->SetName("L");
  for (int I = 0; I < 5; ++I) {
    TBitmap Image(16, 16);
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) Image.SetPixel(X, Y, X == I || Y == I ? clRed : clSilver);
    Image.SetPixel(15, 15, TColor(0x123456 + I));
    L->AddMasked(&Image, clSilver);
  }
  RegisterClass(TImageList::StaticClass());
  TComponent Other(nullptr);
  auto* Back =
      static_cast<TImageList*>(ComponentFromText(ComponentToText(L), "L.dfm", nullptr, &Other));
  UnRegisterClass(TImageList::StaticClass());
  ASSERT_EQ(Back->Count(), 5);
  for (int I = 0; I < 5; ++I) {
    TBitmap A, B;
    L->GetBitmap(I, &A);
    Back->GetBitmap(I, &B);
    EXPECT_TRUE(A.Equals(&B)) << "image " << I;
    EXPECT_TRUE(Back->IsOpaque(I, I, 7));
    EXPECT_FALSE(Back->IsOpaque(I, (I + 1) % 16, 7)) << "image " << I;
    EXPECT_EQ(B.Pixel(15, 15), TColor(0x123456 + I));
  }
}

TEST(CanvasTest, BitmapsReadBackWhatTheyWrote) {
  TBitmap A(5, 3);
  A.SetPixel(0, 0, clRed);
  A.SetPixel(4, 2, clBlue);
  TMemoryStream S;
  A.SaveToStream(&S);
  S.SetPosition(0);
  TBitmap B;
  B.LoadFromStream(&S);
  EXPECT_TRUE(A.Equals(&B));
  TMemoryStream Junk;
  Junk.WriteBuffer("BMxx", 4);
  Junk.SetPosition(0);
  EXPECT_THROW(B.LoadFromStream(&Junk), EInvalidGraphic);
  EXPECT_TRUE(A.Equals(&B)) << "a failed load changes nothing";
}

class WindowPictureTest : public WindowTest {};

TEST_F(WindowPictureTest, AWindowPaintsAsAPersonSeesIt) {
  TForm* F = NewForm("Picture", 200, 120);
  F->SetCaption("Columns");
  auto* List = Add<TListView>(F, "List");
  List->SetAlign(alClient);
  List->SetViewStyle(vsReport);
  List->SetShowColumnHeaders(false);
  List->Columns()->Add()->SetWidth(-1);
  for (const char* S : {"0 - Name", "1 - City"}) List->Items()->Add()->SetCaption(S);
  auto* Ok = Add<TButton>(F, "OK");
  Ok->SetAlign(alBottom);
  Ok->SetCaption("OK");
  F->Show();
  Input().ClickItem(List, 1);
  Application->ProcessInput();
  TBitmap Window;
  F->PaintWindow(&Window);
  ASSERT_EQ(Window.Width(), F->Width());
  TRect M = F->BorderMargins();
  // The caption bar of the active window, the white list with its selected row in the
  // highlight colour, the button face below.
  EXPECT_EQ(ColorToRGB(Window.Pixel(F->Width() / 2, 6)), ColorToRGB(TColor(0x80000002)));
  TPoint ListAt = Point(M.Left + List->Left() + 2, M.Top + List->Top() + 2);
  EXPECT_EQ(Window.Pixel(ListAt.X + 150, ListAt.Y + 2), clWhite);
  TRect Row = List->ItemRect(1);
  EXPECT_EQ(ColorToRGB(Window.Pixel(ListAt.X + Row.Left + 4, ListAt.Y + Row.Top + 1)),
            ColorToRGB(clHighlight));
  EXPECT_EQ(ColorToRGB(Window.Pixel(M.Left + Ok->Left() + 3, M.Top + Ok->Top() + 3)),
            ColorToRGB(clBtnFace));
  TBitmap* Client = F->GetFormImage();
  EXPECT_EQ(Client->Width(), 200);
  EXPECT_EQ(Client->Pixel(List->Left() + 50, List->Top() + 50),
            Window.Pixel(M.Left + 50, M.Top + 50));
  delete Client;
  // And as a PNG file a person can open.
  fs::path Png = fs::temp_directory_path() / ("om-window-" + std::to_string(::getpid()) + ".png");
  SaveBitmapAsPng(&Window, Png.string());
  std::ifstream In(Png, std::ios::binary);
  char Sig[8] = {};
  In.read(Sig, 8);
  EXPECT_EQ(String(Sig + 1, 3), "PNG");
  if (!std::getenv("OM_KEEP_PICTURES")) fs::remove(Png);
}

}  // namespace
