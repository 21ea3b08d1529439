#include "ImgList.h"

#include <algorithm>

#include "BitmapFile.h"

OM_ENUM_TYPE_INFO(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent");
OM_ENUM_TYPE_INFO(TImageType, "itImage", "itMask");
OM_IMPLEMENT_CLASS(EInvalidImageList, "ImgList");
OM_IMPLEMENT_CLASS(TCustomImageList, "ImgList");

namespace {
// The platform's image list stream: a 28-byte header, the images four to a row as one
// bitmap, then the mask in the same layout (white: not drawn).
constexpr unsigned ILMagic = 0x4C49;  // "IL"
constexpr unsigned ILVersion = 0x0101;
constexpr unsigned ILC_MASK = 0x0001;
constexpr unsigned ILC_COLOR24 = 0x0018;
constexpr int Columns = 4;

using om_bmp::Put16;
using om_bmp::Put32;
using om_bmp::U16;

// The mask as the platform stores it: a bitmap of one bit a pixel, white where the
// image is not drawn.
void WriteMonochrome(const TBitmap& Mask, TStream* Stream) {
  int W = Mask.Width(), H = Mask.Height();
  size_t Stride = om_bmp::RowStride(W, 1);
  std::vector<Byte> B;
  om_bmp::PutHeaders(B, W, H, 1, {0x000000, 0xFFFFFF});
  for (int Row = H - 1; Row >= 0; --Row) {
    std::vector<Byte> Line(Stride, 0);
    for (int X = 0; X < W; ++X)
      if (ColorToRGB(Mask.Pixel(X, Row)) != 0) Line[size_t(X) / 8] |= Byte(0x80 >> (X % 8));
    B.insert(B.end(), Line.begin(), Line.end());
  }
  Stream->WriteBuffer(B.data(), long(B.size()));
}
}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight) : TComponent(nullptr) {
  CheckSize(AWidth, AHeight);
  FWidth = AWidth;
  FHeight = AHeight;
}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::CheckSize(int W, int H) {
  if (W <= 0 || H <= 0 || W > 1024 || H > 1024)
    throw EInvalidImageList(Format("Invalid image size %d by %d", {W, H}));
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* L = dynamic_cast<TCustomImageList*>(Source);
  if (!L) return TComponent::Assign(Source);
  FWidth = L->FWidth;
  FHeight = L->FHeight;
  FAllocBy = L->FAllocBy;
  FBkColor = L->FBkColor;
  FBlendColor = L->FBlendColor;
  FDrawingStyle = L->FDrawingStyle;
  FImageType = L->FImageType;
  FMasked = L->FMasked;
  FImages = L->FImages;
  Change();
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

// Changing the size drops the images, as the platform does.
void TCustomImageList::SetWidth(int Value) {
  if (Value == FWidth) return;
  CheckSize(Value, FHeight);
  FWidth = Value;
  Clear();
}

void TCustomImageList::SetHeight(int Value) {
  if (Value == FHeight) return;
  CheckSize(FWidth, Value);
  FHeight = Value;
  Clear();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image) throw EInvalidImageList("No image to add");
  int N = std::max(1, Image->Width() / FWidth);
  int First = Count();
  for (int I = 0; I < N; ++I) {
    TImage Img;
    Img.Pixels.resize(size_t(FWidth) * FHeight, clBlack);
    Img.Mask.resize(size_t(FWidth) * FHeight, false);
    for (int Y = 0; Y < FHeight; ++Y)
      for (int X = 0; X < FWidth; ++X) {
        int SX = I * FWidth + X;
        if (SX >= Image->Width() || Y >= Image->Height()) continue;
        size_t At = size_t(Y) * FWidth + X;
        Img.Pixels[At] = Image->Pixel(SX, Y);
        Img.Mask[At] = !Mask || ColorToRGB(Mask->Pixel(SX, Y)) == 0;
      }
    FImages.push_back(std::move(Img));
  }
  Change();
  return First;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image) throw EInvalidImageList("No image to add");
  if (MaskColor == clDefault) MaskColor = Image->Pixel(0, Image->Height() - 1);
  int Plain = ColorToRGB(MaskColor);
  TBitmap Mask(Image->Width(), Image->Height());
  for (int Y = 0; Y < Image->Height(); ++Y)
    for (int X = 0; X < Image->Width(); ++X)
      Mask.SetPixel(X, Y, ColorToRGB(Image->Pixel(X, Y)) == Plain ? clWhite : clBlack);
  return Add(Image, &Mask);
}

void TCustomImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count())
    throw EInvalidImageList(Format("Image index out of bounds (%d)", {Index}));
  FImages.erase(FImages.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FImages.empty()) return;
  FImages.clear();
  Change();
}

bool TCustomImageList::IsOpaque(int Index, int X, int Y) const {
  if (Index < 0 || Index >= Count() || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return false;
  return FImages[size_t(Index)].Mask[size_t(Y) * FWidth + X];
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  Canvas->RecordImage(Name(), X, Y, Index, Enabled, FWidth, FHeight);
  const TImage& Img = FImages[size_t(Index)];
  for (int PY = 0; PY < FHeight; ++PY)
    for (int PX = 0; PX < FWidth; ++PX) {
      size_t At = size_t(PY) * FWidth + PX;
      if (!Img.Mask[At]) continue;
      if (Enabled) {
        Canvas->SetPixel(X + PX, Y + PY, Img.Pixels[At]);
        continue;
      }
      // Greyed as the platform greys a disabled image: dark pixels embossed.
      int C = ColorToRGB(Img.Pixels[At]);
      int Lum = (GetRValue(C) * 3 + GetGValue(C) * 6 + GetBValue(C)) / 10;
      if (Lum < 192) {
        Canvas->SetPixel(X + PX + 1, Y + PY + 1, TColor(0x80000014));
        Canvas->SetPixel(X + PX, Y + PY, TColor(0x80000010));
      }
    }
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) const {
  if (!Image || Index < 0 || Index >= Count()) return;
  Image->SetSize(FWidth, FHeight);
  const TImage& Img = FImages[size_t(Index)];
  for (int Y = 0; Y < FHeight; ++Y)
    for (int X = 0; X < FWidth; ++X) {
      size_t At = size_t(Y) * FWidth + X;
      Image->SetPixel(X, Y, Img.Mask[At] ? Img.Pixels[At] : clBlack);
    }
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  FDesign.Define(Filer);
  Filer->DefineBinaryProperty(
      "Bitmap", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); },
      !FImages.empty());
}

void TCustomImageList::ReadData(TStream* Stream) {
  Stream->SetPosition(0);
  Byte H[28];
  if (Stream->Read(H, 28) != 28 || U16(H) != ILMagic)
    throw EInvalidImageList("Image list data is not valid: no IL header");
  if (U16(H + 2) != ILVersion)
    throw EInvalidImageList(Format("Image list data is not valid: version %x", {int(U16(H + 2))}));
  int Cur = int(U16(H + 4));
  int CX = int(U16(H + 10)), CY = int(U16(H + 12));
  unsigned Flags = U16(H + 18);
  CheckSize(CX, CY);
  TBitmap Image, Mask;
  try {
    Image.LoadFromStream(Stream);
    if (Flags & ILC_MASK) Mask.LoadFromStream(Stream);
  } catch (EInvalidGraphic& E) {
    throw EInvalidImageList("Image list data is not valid: " + E.Message);
  }
  int Rows = (Cur + Columns - 1) / Columns;
  if (Image.Width() < CX * Columns || Image.Height() < CY * Rows)
    throw EInvalidImageList(
        Format("Image list data is not valid: %d images of %d by %d need a "
               "bitmap of %d by %d, not %d by %d",
               {Cur, CX, CY, CX * Columns, CY * Rows, Image.Width(), Image.Height()}));
  bool HasMask = (Flags & ILC_MASK) && Mask.Width() >= CX * Columns && Mask.Height() >= CY * Rows;
  std::vector<TImage> Images;
  for (int I = 0; I < Cur; ++I) {
    TImage Img;
    Img.Pixels.resize(size_t(CX) * CY);
    Img.Mask.resize(size_t(CX) * CY);
    int OX = (I % Columns) * CX, OY = (I / Columns) * CY;
    for (int Y = 0; Y < CY; ++Y)
      for (int X = 0; X < CX; ++X) {
        size_t At = size_t(Y) * CX + X;
        Img.Pixels[At] = Image.Pixel(OX + X, OY + Y);
        Img.Mask[At] = !HasMask || ColorToRGB(Mask.Pixel(OX + X, OY + Y)) == 0;
      }
    Images.push_back(std::move(Img));
  }
  FWidth = CX;
  FHeight = CY;
  FImages = std::move(Images);
  FBkColor = U16(H + 14) == 0xFFFF && U16(H + 16) == 0xFFFF
                 ? clNone
                 : TColor(U16(H + 14) | U16(H + 16) << 16);
  Change();
}

void TCustomImageList::WriteData(TStream* Stream) const {
  int Cur = Count();
  int Max = std::max(Columns, (Cur + Columns - 1) / Columns * Columns);
  std::vector<Byte> H;
  Put16(H, ILMagic);
  Put16(H, ILVersion);
  Put16(H, unsigned(Cur));
  Put16(H, unsigned(Max));
  Put16(H, unsigned(FAllocBy));
  Put16(H, unsigned(FWidth));
  Put16(H, unsigned(FHeight));
  Put32(H, FBkColor == clNone ? 0xFFFFFFFFu : unsigned(ColorToRGB(FBkColor)));
  Put16(H, ILC_MASK | ILC_COLOR24);
  for (int I = 0; I < 4; ++I) Put16(H, 0xFFFF);
  Stream->WriteBuffer(H.data(), long(H.size()));
  int Rows = Max / Columns;
  TBitmap Image(FWidth * Columns, FHeight * Rows), Mask(FWidth * Columns, FHeight * Rows);
  for (int Y = 0; Y < Image.Height(); ++Y)
    for (int X = 0; X < Image.Width(); ++X) {
      Image.SetPixel(X, Y, clBlack);
      Mask.SetPixel(X, Y, clWhite);
    }
  for (int I = 0; I < Cur; ++I) {
    const TImage& Img = FImages[size_t(I)];
    int OX = (I % Columns) * FWidth, OY = (I / Columns) * FHeight;
    for (int Y = 0; Y < FHeight; ++Y)
      for (int X = 0; X < FWidth; ++X) {
        size_t At = size_t(Y) * FWidth + X;
        Image.SetPixel(OX + X, OY + Y, Img.Pixels[At]);
        Mask.SetPixel(OX + X, OY + Y, Img.Mask[At] ? clBlack : clWhite);
      }
  }
  Image.SaveToStream(Stream);
  WriteMonochrome(Mask, Stream);
}
