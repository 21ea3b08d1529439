#include "Graphics.h"

#include <algorithm>
#include <cstring>

#include "BitmapFile.h"
#include "FileUtil.h"
#include "Glyphs.h"

OM_ENUM_TYPE_INFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut");
OM_SET_TYPE_INFO(TFontStyles, TFontStyle);
OM_ENUM_TYPE_INFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed");
OM_ENUM_TYPE_INFO(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                  "psInsideFrame");
OM_ENUM_TYPE_INFO(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                  "bsBDiagonal", "bsCross", "bsDiagCross");

namespace {
constexpr TIdentMapEntry CharsetIdents[] = {
    {0, "ANSI_CHARSET"},         {1, "DEFAULT_CHARSET"},       {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},         {128, "SHIFTJIS_CHARSET"},    {129, "HANGEUL_CHARSET"},
    {134, "GB2312_CHARSET"},     {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},
    {162, "TURKISH_CHARSET"},    {177, "HEBREW_CHARSET"},      {178, "ARABIC_CHARSET"},
    {186, "BALTIC_CHARSET"},     {204, "RUSSIAN_CHARSET"},     {222, "THAI_CHARSET"},
    {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};
}  // namespace
const TTypeInfo TypeInfo_TFontCharset{
    tkInteger, "TFontCharset", 0,       255,           nullptr,
    nullptr,   nullptr,        nullptr, CharsetIdents, int(std::size(CharsetIdents))};

OM_IMPLEMENT_CLASS(EInvalidGraphic, "Graphics");

TRect IntersectRect(const TRect& A, const TRect& B) {
  TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
  if (R.IsEmpty()) return TRect{};
  return R;
}

int ColorToRGB(TColor Color) {
  int C = int(Color);
  if (C >= 0) return C & 0xFFFFFF;
  // The classic scheme of the platform's system colours.
  switch (C & 0xFF) {
    case 0:
      return 0xC8D0D4;  // scroll bar
    case 1:
      return 0x808000;  // desktop
    case 2:
      return 0x6A240A;  // active caption
    case 3:
      return 0x808080;  // inactive caption
    case 4:
      return 0xC8D0D4;  // menu
    case 5:
      return 0xFFFFFF;  // window
    case 6:
      return 0x000000;  // window frame
    case 7:
      return 0x000000;  // menu text
    case 8:
      return 0x000000;  // window text
    case 9:
      return 0xFFFFFF;  // caption text
    case 13:
      return 0x6A240A;  // highlight
    case 14:
      return 0xFFFFFF;  // highlight text
    case 15:
      return 0xC8D0D4;  // button face
    case 16:
      return 0x808080;  // button shadow
    case 17:
      return 0x808080;  // grey text
    case 18:
      return 0x000000;  // button text
    case 20:
      return 0xFFFFFF;  // button highlight
    case 21:
      return 0x404040;  // 3D dark shadow
    case 22:
      return 0xC8D0D4;  // 3D light
    case 24:
      return 0xE1FFFF;  // info background
    default:
      return 0xC8D0D4;
  }
}

// --- Drawing objects ------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TGraphicsObject, "Graphics");

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

template <>
struct TPublished<TFont> {
  static constexpr TPropInfo Props[] = {
      Property<&TFont::Charset, &TFont::SetCharset>("Charset", NoDefault),
      Property<&TFont::Color, &TFont::SetColor>("Color", NoDefault),
      Property<&TFont::Height, &TFont::SetHeight>("Height", NoDefault),
      Property<&TFont::Name, &TFont::SetName>("Name"),
      Property<&TFont::Pitch, &TFont::SetPitch>("Pitch", fpDefault),
      Property<&TFont::Size, &TFont::SetSize, &TFont::IsSizeStored>("Size", NoDefault),
      Property<&TFont::Style, &TFont::SetStyle>("Style", NoDefault),
  };
};
OM_IMPLEMENT_CLASS(TFont, "Graphics");

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source) {
  auto* F = dynamic_cast<TFont*>(Source);
  if (!F) return TPersistent::Assign(Source);
  if (Equals(F)) return;
  FName = F->FName;
  FHeight = F->FHeight;
  FColor = F->FColor;
  FStyle = F->FStyle;
  FCharset = F->FCharset;
  FPitch = F->FPitch;
  Changed();
}

bool TFont::Equals(const TFont* Other) const {
  if (!Other) return false;
  return FName == Other->FName && FHeight == Other->FHeight && FColor == Other->FColor &&
         FStyle == Other->FStyle && FCharset == Other->FCharset && FPitch == Other->FPitch;
}

void TFont::SetName(const String& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}
void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}
int TFont::Size() const {
  int H = FHeight < 0 ? -FHeight : FHeight;
  return -((-H * 72 - PixelsPerInch / 2) / PixelsPerInch);
}
void TFont::SetSize(int Value) { SetHeight(-((Value * PixelsPerInch + 36) / 72)); }
void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}
void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}
void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}
void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

template <>
struct TPublished<TPen> {
  static constexpr TPropInfo Props[] = {
      Property<&TPen::Color, &TPen::SetColor>("Color", clBlack),
      Property<&TPen::Style, &TPen::SetStyle>("Style", psSolid),
      Property<&TPen::Width, &TPen::SetWidth>("Width", 1),
  };
};
OM_IMPLEMENT_CLASS(TPen, "Graphics");

void TPen::Assign(TPersistent* Source) {
  auto* P = dynamic_cast<TPen*>(Source);
  if (!P) return TPersistent::Assign(Source);
  FColor = P->FColor;
  FWidth = P->FWidth;
  FStyle = P->FStyle;
  Changed();
}
void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}
void TPen::SetWidth(int Value) {
  if (Value == FWidth || Value < 0) return;
  FWidth = Value;
  Changed();
}
void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

template <>
struct TPublished<TBrush> {
  static constexpr TPropInfo Props[] = {
      Property<&TBrush::Color, &TBrush::SetColor>("Color", clWhite),
      Property<&TBrush::Style, &TBrush::SetStyle>("Style", bsSolid),
  };
};
OM_IMPLEMENT_CLASS(TBrush, "Graphics");

void TBrush::Assign(TPersistent* Source) {
  auto* B = dynamic_cast<TBrush*>(Source);
  if (!B) return TPersistent::Assign(Source);
  FColor = B->FColor;
  FStyle = B->FStyle;
  Changed();
}
void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  // A colour makes a clear brush solid again, as on the platform.
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

// --- TCanvas --------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TCanvas, "Graphics");

namespace {
String ColorText(TColor C) {
  String Ident;
  if (IntToIdent(&TypeInfo_TColor, C, Ident)) return Ident;
  return "$" + IntToHex(int(C) & 0xFFFFFFFF, 8);
}
String RectText(const TRect& R) {
  return Format("%d,%d,%d,%d", {R.Left, R.Top, R.Right, R.Bottom});
}
}  // namespace

String TCanvasOp::ToString() const {
  String Brush = BrushStyle == bsClear ? String("clear") : ColorText(BrushColor);
  switch (Kind) {
    case Rectangle:
      return "Rectangle(" + RectText(Rect) + ") pen=" + ColorText(PenColor) + " brush=" + Brush;
    case FillRect:
      return "FillRect(" + RectText(Rect) + ") brush=" + Brush;
    case FrameRect:
      return "FrameRect(" + RectText(Rect) + ") brush=" + Brush;
    case TextRect:
      return "TextRect(" + RectText(Rect) + Format(",%d,%d,'", {At.X, At.Y}) + Text +
             "') font=" + ColorText(FontColor) + " brush=" + Brush;
    case TextOut:
      return Format("TextOut(%d,%d,'", {At.X, At.Y}) + Text + "') font=" + ColorText(FontColor) +
             " brush=" + Brush;
    case Line:
      return Format("Line(%d,%d,%d,%d) pen=", {Rect.Left, Rect.Top, At.X, At.Y}) +
             ColorText(PenColor);
    case Draw:
      return Format("Draw(%d,%d) ", {At.X, At.Y}) + RectText(Rect);
    case ImageDraw:
      return "ImageDraw(" + Text + Format(",%d,%d,%d", {Index, At.X, At.Y}) +
             (Enabled ? ")" : ",disabled)");
  }
  return String();
}

TCanvas::TCanvas() : FFont(new TFont), FPen(new TPen), FBrush(new TBrush) {}

TCanvas::TCanvas(TBitmap* Target) : TCanvas() { FTarget = Target; }

TCanvas::~TCanvas() {
  delete FBrush;
  delete FPen;
  delete FFont;
}

TCanvasOp TCanvas::MakeOp(TCanvasOp::TKind Kind) const {
  TCanvasOp Op{Kind, TRect{}, TPoint{}, String()};
  Op.PenColor = FPen->Color();
  Op.BrushColor = FBrush->Color();
  Op.BrushStyle = FBrush->Style();
  Op.FontColor = FFont->Color();
  return Op;
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  if (!FTarget || !FClip.Contains(Point(X, Y))) return;
  FTarget->SetPixel(X + FOrigin.X, Y + FOrigin.Y, Color);
}

TColor TCanvas::Pixel(int X, int Y) const {
  if (!FTarget) return clNone;
  return FTarget->Pixel(X + FOrigin.X, Y + FOrigin.Y);
}

void TCanvas::FillPixels(const TRect& R, TColor Color) {
  if (!FTarget) return;
  TRect C = IntersectRect(R, FClip);
  TColor Plain = TColor(ColorToRGB(Color));
  for (int Y = C.Top; Y < C.Bottom; ++Y)
    for (int X = C.Left; X < C.Right; ++X) FTarget->SetPixel(X + FOrigin.X, Y + FOrigin.Y, Plain);
}

void TCanvas::FramePixels(const TRect& R, TColor Color) {
  if (R.IsEmpty()) return;
  FillPixels(Rect(R.Left, R.Top, R.Right, R.Top + 1), Color);
  FillPixels(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom), Color);
  FillPixels(Rect(R.Left, R.Top, R.Left + 1, R.Bottom), Color);
  FillPixels(Rect(R.Right - 1, R.Top, R.Right, R.Bottom), Color);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  TCanvasOp Op = MakeOp(TCanvasOp::Rectangle);
  Op.Rect = Rect(X1, Y1, X2, Y2);
  FOps.push_back(Op);
  if (FBrush->Style() != bsClear) FillPixels(Op.Rect, FBrush->Color());
  if (FPen->Style() != psClear)
    for (int W = 0; W < std::max(1, FPen->Width()); ++W)
      FramePixels(Rect(X1 + W, Y1 + W, X2 - W, Y2 - W), FPen->Color());
}

void TCanvas::FillRect(const TRect& R) {
  TCanvasOp Op = MakeOp(TCanvasOp::FillRect);
  Op.Rect = R;
  FOps.push_back(Op);
  if (FBrush->Style() != bsClear) FillPixels(R, FBrush->Color());
}

void TCanvas::FrameRect(const TRect& R) {
  TCanvasOp Op = MakeOp(TCanvasOp::FrameRect);
  Op.Rect = R;
  FOps.push_back(Op);
  if (FBrush->Style() != bsClear) FramePixels(R, FBrush->Color());
}

TPoint TCanvas::TextExtent(const String& Text) const {
  // Every character takes one cell of the screen font, scaled to the font's height;
  // bold text is one pixel wider a character. Deterministic, so layouts and tests do
  // not depend on the fonts of the machine.
  int H = std::abs(FFont->Height());
  if (H == 0) H = om_glyphs::CellHeight;
  int Advance =
      std::max(1, (om_glyphs::CellWidth * H + om_glyphs::CellHeight / 2) / om_glyphs::CellHeight);
  if (FFont->Style().Contains(fsBold)) ++Advance;
  return Point(int(Text.size()) * Advance, H + 2);
}

void TCanvas::DrawText(int X, int Y, const String& Text, const TRect& Clip, bool Opaque) {
  TPoint Extent = TextExtent(Text);
  TRect Box = Rect(X, Y, X + Extent.X, Y + Extent.Y);
  if (Opaque && FBrush->Style() != bsClear) {
    TRect Saved = FClip;
    FClip = IntersectRect(FClip, Clip);
    FillPixels(Box, FBrush->Color());
    FClip = Saved;
  }
  if (!FTarget) return;
  int H = std::abs(FFont->Height());
  if (H == 0) H = om_glyphs::CellHeight;
  int Scale = std::max(1, H / om_glyphs::CellHeight);
  int Advance = Text.empty() ? 0 : Extent.X / int(Text.size());
  bool Bold = FFont->Style().Contains(fsBold);
  TColor Ink = TColor(ColorToRGB(FFont->Color()));
  TRect Saved = FClip;
  FClip = IntersectRect(FClip, Clip);
  int Top = Y + 1 + (Extent.Y - 2 - 8 * Scale) / 2;
  for (size_t I = 0; I < Text.size(); ++I) {
    int Left = X + int(I) * Advance;
    const std::uint8_t* G = om_glyphs::Glyph(static_cast<unsigned char>(Text[I]));
    for (int Col = 0; Col < 5; ++Col)
      for (int Row = 0; Row < 8; ++Row) {
        bool On =
            G ? (G[Col] >> Row) & 1 : (Row == 0 || Row == 6 || Col == 0 || Col == 4) && Row < 7;
        if (!On) continue;
        for (int SY = 0; SY < Scale; ++SY)
          for (int SX = 0; SX < Scale + (Bold ? 1 : 0); ++SX)
            SetPixel(Left + Col * Scale + SX, Top + Row * Scale + SY, Ink);
      }
    if (FFont->Style().Contains(fsUnderline))
      FillPixels(Rect(Left, Top + 8 * Scale, Left + Advance, Top + 8 * Scale + 1), Ink);
  }
  FClip = Saved;
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
  TCanvasOp Op = MakeOp(TCanvasOp::TextOut);
  Op.At = Point(X, Y);
  Op.Text = Text;
  TPoint E = TextExtent(Text);
  Op.Rect = Rect(X, Y, X + E.X, Y + E.Y);
  FOps.push_back(Op);
  DrawText(X, Y, Text, FClip, true);
  FPenPos = Point(X + E.X, Y);
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text) {
  TCanvasOp Op = MakeOp(TCanvasOp::TextRect);
  Op.Rect = R;
  Op.At = Point(X, Y);
  Op.Text = Text;
  FOps.push_back(Op);
  // The whole rectangle takes the brush, and the text is clipped to it.
  if (FBrush->Style() != bsClear) FillPixels(IntersectRect(R, FClip), FBrush->Color());
  DrawText(X, Y, Text, R, false);
}

void TCanvas::MoveTo(int X, int Y) { FPenPos = Point(X, Y); }

void TCanvas::LineTo(int X, int Y) {
  TCanvasOp Op = MakeOp(TCanvasOp::Line);
  Op.Rect = Rect(FPenPos.X, FPenPos.Y, FPenPos.X, FPenPos.Y);
  Op.At = Point(X, Y);
  FOps.push_back(Op);
  if (FPen->Style() != psClear) {
    // Straight lines are what windows draw; the end point is left out, as on the platform.
    int DX = X - FPenPos.X, DY = Y - FPenPos.Y;
    int Steps = std::max(std::abs(DX), std::abs(DY));
    for (int I = 0; I < Steps; ++I)
      SetPixel(FPenPos.X + DX * I / Steps, FPenPos.Y + DY * I / Steps,
               TColor(ColorToRGB(FPen->Color())));
  }
  FPenPos = Point(X, Y);
}

void TCanvas::Draw(int X, int Y, TBitmap* Graphic) {
  if (!Graphic) return;
  TCanvasOp Op = MakeOp(TCanvasOp::Draw);
  Op.At = Point(X, Y);
  Op.Rect = Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height());
  FOps.push_back(Op);
  if (!FTarget) return;
  TColor Skip = Graphic->Transparent() ? Graphic->TransparentColor() : clNone;
  for (int PY = 0; PY < Graphic->Height(); ++PY)
    for (int PX = 0; PX < Graphic->Width(); ++PX) {
      TColor C = Graphic->Pixel(PX, PY);
      if (C != Skip) SetPixel(X + PX, Y + PY, C);
    }
}

void TCanvas::RecordImage(const String& ListName, int X, int Y, int Index, bool Enabled, int Width,
                          int Height) {
  TCanvasOp Op = MakeOp(TCanvasOp::ImageDraw);
  Op.At = Point(X, Y);
  Op.Rect = Rect(X, Y, X + Width, Y + Height);
  Op.Index = Index;
  Op.Enabled = Enabled;
  Op.Text = ListName;
  FOps.push_back(Op);
}

// --- Bitmaps --------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TGraphic, "Graphics");
OM_IMPLEMENT_CLASS(TBitmap, "Graphics");

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() { delete FCanvas; }

void TBitmap::Assign(TPersistent* Source) {
  auto* B = dynamic_cast<TBitmap*>(Source);
  if (!B) return TPersistent::Assign(Source);
  FWidth = B->FWidth;
  FHeight = B->FHeight;
  FPixels = B->FPixels;
  FPixelFormat = B->FPixelFormat;
  FTransparentColor = B->FTransparentColor;
  FTransparentMode = B->FTransparentMode;
  SetTransparent(B->Transparent());
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  if (AWidth < 0 || AHeight < 0)
    throw EInvalidGraphic(Format("Invalid bitmap size %d by %d", {AWidth, AHeight}));
  std::vector<std::uint32_t> P(size_t(AWidth) * size_t(AHeight), 0xFFFFFF);
  for (int Y = 0; Y < std::min(AHeight, FHeight); ++Y)
    for (int X = 0; X < std::min(AWidth, FWidth); ++X)
      P[size_t(Y) * AWidth + X] = FPixels[size_t(Y) * FWidth + X];
  FPixels = std::move(P);
  FWidth = AWidth;
  FHeight = AHeight;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = new TCanvas(this);
  return FCanvas;
}

TColor TBitmap::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return clNone;
  return TColor(FPixels[size_t(Y) * FWidth + X]);
}

void TBitmap::SetPixel(int X, int Y, TColor Color) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  FPixels[size_t(Y) * FWidth + X] = std::uint32_t(ColorToRGB(Color));
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  return FHeight > 0 && FWidth > 0 ? Pixel(0, FHeight - 1) : clNone;
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
}

namespace {
using om_bmp::U16;
using om_bmp::U32;
using om_bmp::Put32;
}  // namespace

void TBitmap::LoadFromStream(TStream* Stream) {
  long long Start = Stream->Position();
  Byte File[14];
  if (Stream->Read(File, 14) != 14 || File[0] != 'B' || File[1] != 'M')
    throw EInvalidGraphic("Bitmap image is not valid: no BM header");
  unsigned OffBits = U32(File + 10);
  Byte Info[40];
  if (Stream->Read(Info, 4) != 4) throw EInvalidGraphic("Bitmap image is not valid: truncated");
  unsigned InfoSize = U32(Info);
  if (InfoSize < 40 || InfoSize > 124)
    throw EInvalidGraphic(Format("Bitmap image is not valid: header of %d bytes", {int(InfoSize)}));
  if (Stream->Read(Info + 4, 36) != 36)
    throw EInvalidGraphic("Bitmap image is not valid: truncated");
  int W = int(U32(Info + 4));
  int H = int(U32(Info + 8));
  unsigned Bits = U16(Info + 14), Compression = U32(Info + 16), Used = U32(Info + 32);
  bool TopDown = H < 0;
  if (TopDown) H = -H;
  if (W <= 0 || H <= 0 || W > 16384 || H > 16384)
    throw EInvalidGraphic(Format("Bitmap image is not valid: size %d by %d", {W, H}));
  if (Compression != 0 && !(Compression == 3 && (Bits == 32 || Bits == 16)))
    throw EInvalidGraphic("Bitmap image is not valid: compressed bitmaps are not supported");
  if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32)
    throw EInvalidGraphic(Format("Bitmap image is not valid: %d bits per pixel", {int(Bits)}));
  Stream->Seek(Start + 14 + InfoSize, soFromBeginning);
  std::vector<std::uint32_t> Palette;
  if (Bits <= 8) {
    unsigned N = Used ? Used : 1u << Bits;
    if (N > 256) throw EInvalidGraphic("Bitmap image is not valid: palette too large");
    std::vector<Byte> Pal(N * 4);
    if (Stream->Read(Pal.data(), long(Pal.size())) != long(Pal.size()))
      throw EInvalidGraphic("Bitmap image is not valid: truncated palette");
    for (unsigned I = 0; I < N; ++I)
      Palette.push_back(std::uint32_t(Pal[I * 4 + 2]) | std::uint32_t(Pal[I * 4 + 1]) << 8 |
                        std::uint32_t(Pal[I * 4]) << 16);
    Palette.resize(256, 0);
  }
  size_t Stride = ((size_t(W) * Bits + 31) / 32) * 4;
  std::vector<Byte> Data(Stride * size_t(H));
  Stream->Seek(Start + OffBits, soFromBeginning);
  if (Stream->Read(Data.data(), long(Data.size())) != long(Data.size()))
    throw EInvalidGraphic("Bitmap image is not valid: truncated pixels");
  std::vector<std::uint32_t> Pixels(size_t(W) * size_t(H));
  for (int Row = 0; Row < H; ++Row) {
    const Byte* Src = Data.data() + Stride * size_t(Row);
    int Y = TopDown ? Row : H - 1 - Row;
    for (int X = 0; X < W; ++X) {
      std::uint32_t C;
      switch (Bits) {
        case 1:
          C = Palette[(Src[X / 8] >> (7 - X % 8)) & 1];
          break;
        case 4:
          C = Palette[(Src[X / 2] >> (X % 2 ? 0 : 4)) & 15];
          break;
        case 8:
          C = Palette[Src[X]];
          break;
        case 24:
          C = Src[X * 3 + 2] | Src[X * 3 + 1] << 8 | std::uint32_t(Src[X * 3]) << 16;
          break;
        default:
          C = Src[X * 4 + 2] | Src[X * 4 + 1] << 8 | std::uint32_t(Src[X * 4]) << 16;
          break;
      }
      Pixels[size_t(Y) * W + X] = C;
    }
  }
  FWidth = W;
  FHeight = H;
  FPixels = std::move(Pixels);
  FPixelFormat = Bits == 1    ? pf1bit
                 : Bits == 4  ? pf4bit
                 : Bits == 8  ? pf8bit
                 : Bits == 24 ? pf24bit
                              : pf32bit;
}

void TBitmap::SaveToStream(TStream* Stream) const {
  // Written as 24 bits per pixel, bottom-up, as the platform writes a device bitmap.
  size_t Stride = om_bmp::RowStride(FWidth, 24);
  std::vector<Byte> B;
  B.reserve(54 + Stride * FHeight);
  om_bmp::PutHeaders(B, FWidth, FHeight, 24);
  for (int Row = FHeight - 1; Row >= 0; --Row) {
    size_t RowStart = B.size();
    for (int X = 0; X < FWidth; ++X) {
      std::uint32_t C = FPixels[size_t(Row) * FWidth + X];
      B.push_back(Byte(C >> 16));
      B.push_back(Byte(C >> 8));
      B.push_back(Byte(C));
    }
    while (B.size() - RowStart < Stride) B.push_back(0);
  }
  Stream->WriteBuffer(B.data(), long(B.size()));
}

void om_bmp::PutHeaders(std::vector<Byte>& B, int Width, int Height, int Bits,
                        std::initializer_list<std::uint32_t> Palette) {
  unsigned OffBits = unsigned(14 + 40 + 4 * Palette.size());
  unsigned ImageSize = unsigned(RowStride(Width, Bits) * size_t(Height));
  B.push_back('B');
  B.push_back('M');
  Put32(B, OffBits + ImageSize);
  Put32(B, 0);
  Put32(B, OffBits);
  Put32(B, 40);
  Put32(B, unsigned(Width));
  Put32(B, unsigned(Height));
  Put16(B, 1);
  Put16(B, unsigned(Bits));
  Put32(B, 0);  // uncompressed
  Put32(B, ImageSize);
  Put32(B, 0);
  Put32(B, 0);
  Put32(B, unsigned(Palette.size()));
  Put32(B, 0);
  for (std::uint32_t Colour : Palette) Put32(B, Colour);
}

void TBitmap::LoadFromFile(const String& FileName) {
  TMemoryStream S;
  S.LoadFromFile(FileName);
  try {
    LoadFromStream(&S);
  } catch (EInvalidGraphic& E) {
    throw EInvalidGraphic(FileName + ": " + E.Message);
  }
}

void TBitmap::SaveToFile(const String& FileName) const {
  TMemoryStream S;
  SaveToStream(&S);
  S.SaveToFile(FileName);
}

void TBitmap::LoadFromResourceName(const TLibModule* Module, const String& ResName) {
  const TResourceEntry* R = FindResource(Module, ResName, RT_BITMAP);
  if (!R) throw EInvalidGraphic(Format("Bitmap resource %s not found", {ResName}));
  TMemoryStream S;
  S.WriteBuffer(R->Data, long(R->Size));
  S.SetPosition(0);
  LoadFromStream(&S);
}

void TBitmap::Draw(TCanvas* Canvas, const TRect& R) { Canvas->Draw(R.Left, R.Top, this); }

bool TBitmap::Equals(const TBitmap* Other) const {
  return Other && FWidth == Other->FWidth && FHeight == Other->FHeight && FPixels == Other->FPixels;
}

// --- TPicture -------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TPicture, "Graphics");

TPicture::TPicture() = default;
TPicture::~TPicture() { delete FGraphic; }

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
    return;
  }
  if (auto* P = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(P->FGraphic);
    return;
  }
  if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(G);
    return;
  }
  TPersistent::Assign(Source);
}

void TPicture::SetGraphic(TGraphic* Value) {
  TGraphic* New = nullptr;
  if (Value) {
    New = static_cast<TGraphic*>(TClassRef<TGraphic>(Value->ClassType()).Create());
    New->Assign(Value);
  }
  delete FGraphic;
  FGraphic = New;
  Changed();
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic)) {
    delete FGraphic;
    FGraphic = new TBitmap;
    Changed();
  }
  return static_cast<TBitmap*>(FGraphic);
}

void TPicture::LoadFromFile(const String& FileName) {
  auto* B = new TBitmap;
  try {
    B->LoadFromFile(FileName);
  } catch (...) {
    delete B;
    throw;
  }
  delete FGraphic;
  FGraphic = B;
  Changed();
}

void TPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data",
      [this](TStream* S) {
        // The class name as a short string, then the graphic's own data; a bitmap's
        // starts with its size.
        S->SetPosition(0);
        Byte Len = 0;
        S->ReadBuffer(&Len, 1);
        String Name(Len, '\0');
        S->ReadBuffer(Name.data(), Len);
        if (!SameText(Name, "TBitmap"))
          throw EInvalidGraphic(Format("Unknown picture file extension (%s)", {Name}));
        Byte Size[4];
        S->ReadBuffer(Size, 4);
        auto* B = new TBitmap;
        try {
          B->LoadFromStream(S);
        } catch (...) {
          delete B;
          throw;
        }
        delete FGraphic;
        FGraphic = B;
      },
      [this](TStream* S) {
        String Name = FGraphic->ClassName();
        Byte Len = Byte(Name.size());
        S->WriteBuffer(&Len, 1);
        S->WriteBuffer(Name.data(), Len);
        TMemoryStream Data;
        FGraphic->SaveToStream(&Data);
        std::vector<Byte> Size;
        Put32(Size, unsigned(Data.Size()));
        S->WriteBuffer(Size.data(), 4);
        S->WriteBuffer(Data.Memory(), long(Data.Size()));
      },
      FGraphic != nullptr && FGraphic->Width() > 0);
}

// --- Design positions ---------------------------------------------------------------------

void TDesignPosition::Define(TFiler* Filer) {
  Filer->DefineProperty(
      "Left", [this](TReader* R) { Left = R->ReadInteger(); },
      [this](TWriter* W) { W->WriteInteger(Left); }, Left != 0 || Top != 0);
  Filer->DefineProperty(
      "Top", [this](TReader* R) { Top = R->ReadInteger(); },
      [this](TWriter* W) { W->WriteInteger(Top); }, Left != 0 || Top != 0);
}
