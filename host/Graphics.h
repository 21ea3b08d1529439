// Graphics: geometry, fonts, pens, brushes, bitmaps, pictures and the canvas that draws
// with them. A canvas records every operation it performs and, when it has a bitmap
// behind it, paints into that bitmap's pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "Classes.h"

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const noexcept { return Right - Left; }
  int Height() const noexcept { return Bottom - Top; }
  bool Contains(TPoint P) const noexcept {
    return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
  }
  bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) {
  return TRect{Left, Top, Right, Bottom};
}
PACKAGE TRect IntersectRect(const TRect& A, const TRect& B);

// The colour a TColor stands for (system colours resolved), as 0x00BBGGRR.
PACKAGE int ColorToRGB(TColor Color);
inline int GetRValue(int RGB) { return RGB & 0xFF; }
inline int GetGValue(int RGB) { return (RGB >> 8) & 0xFF; }
inline int GetBValue(int RGB) { return (RGB >> 16) & 0xFF; }
inline TColor RGB(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

// Character sets are their own type, written in form files by name.
enum TFontCharset : int {
  ANSI_CHARSET = 0,
  DEFAULT_CHARSET = 1,
  SYMBOL_CHARSET = 2,
  RUSSIAN_CHARSET = 204,
  EASTEUROPE_CHARSET = 238,
  OEM_CHARSET = 255
};
extern PACKAGE const TTypeInfo TypeInfo_TFontCharset;
template <>
struct TTypeInfoOf<TFontCharset> {
  static constexpr PTypeInfo Get() { return &TypeInfo_TFontCharset; }
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
OM_ENUM_TYPE(TFontStyle)
OM_SET_TYPE(TFontStyles, TFontStyle)
enum TFontPitch { fpDefault, fpVariable, fpFixed };
OM_ENUM_TYPE(TFontPitch)
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
OM_ENUM_TYPE(TPenStyle)
enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
OM_ENUM_TYPE(TBrushStyle)

// Change-notifying drawing objects: the owner of one hears of every change.
class PACKAGE TGraphicsObject : public TPersistent {
  OM_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

// Screen fonts at 96 pixels per inch. Height is the character height in pixels,
// negative as the platform stores it; Size is in points.
class PACKAGE TFont : public TGraphicsObject {
  OM_CLASS(TFont, TGraphicsObject)
 public:
  static constexpr int PixelsPerInch = 96;
  TFont();
  void Assign(TPersistent* Source) override;
  const String& Name() const noexcept { return FName; }
  void SetName(const String& Value);
  int Height() const noexcept { return FHeight; }
  void SetHeight(int Value);
  int Size() const;
  void SetSize(int Value);
  TColor Color() const noexcept { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const noexcept { return FStyle; }
  void SetStyle(TFontStyles Value);
  TFontCharset Charset() const noexcept { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const noexcept { return FPitch; }
  void SetPitch(TFontPitch Value);
  bool Equals(const TFont* Other) const;

 private:
  bool IsSizeStored() const { return false; }  // stored as Height
  String FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
};

class PACKAGE TPen : public TGraphicsObject {
  OM_CLASS(TPen, TGraphicsObject)
 public:
  TPen() = default;
  void Assign(TPersistent* Source) override;
  TColor Color() const noexcept { return FColor; }
  void SetColor(TColor Value);
  int Width() const noexcept { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const noexcept { return FStyle; }
  void SetStyle(TPenStyle Value);

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
};

class PACKAGE TBrush : public TGraphicsObject {
  OM_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush() = default;
  void Assign(TPersistent* Source) override;
  TColor Color() const noexcept { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle Style() const noexcept { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TBitmap;

// One thing a canvas did, with the drawing state it did it in.
struct PACKAGE TCanvasOp {
  enum TKind { Rectangle, FillRect, FrameRect, TextRect, TextOut, Line, Draw, ImageDraw };
  TKind Kind;
  TRect Rect;      // the rectangle drawn, clipped to, or covered
  TPoint At;       // where text or an image starts; a line's end
  String Text;     // text, or for images the image list's name
  int Index = -1;  // image index
  bool Enabled = true;
  TColor PenColor = clBlack;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  TColor FontColor = clBlack;
  // "Rectangle(2,3,20,17) pen=clBlack brush=clWindow" and so on, for test messages.
  String ToString() const;
};

class PACKAGE TCanvas : public TPersistent {
  OM_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  explicit TCanvas(TBitmap* Target);
  ~TCanvas() override;

  TFont* Font() const noexcept { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const noexcept { return FPen; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const noexcept { return FBrush; }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPoint PenPos() const noexcept { return FPenPos; }

  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void TextOut(int X, int Y, const String& Text);
  void TextRect(const TRect& R, int X, int Y, const String& Text);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Draw(int X, int Y, TBitmap* Graphic);
  // Deterministic metrics of the current font (see TextExtent).
  TPoint TextExtent(const String& Text) const;
  int TextWidth(const String& Text) const { return TextExtent(Text).X; }
  int TextHeight(const String& Text) const { return TextExtent(Text).Y; }

  // Where drawing goes on the target, and what it is clipped to, in canvas coordinates.
  TPoint Origin() const noexcept { return FOrigin; }
  void SetOrigin(TPoint Value) { FOrigin = Value; }
  TRect ClipRect() const noexcept { return FClip; }
  void SetClipRect(const TRect& Value) { FClip = Value; }

  const std::vector<TCanvasOp>& Operations() const noexcept { return FOps; }
  void ClearOperations() { FOps.clear(); }
  // Recorded by image lists drawing themselves here.
  void RecordImage(const String& ListName, int X, int Y, int Index, bool Enabled, int Width,
                   int Height);
  TBitmap* Target() const noexcept { return FTarget; }
  // Pixel access on the target (canvas coordinates; outside it nothing happens).
  void SetPixel(int X, int Y, TColor Color);
  TColor Pixel(int X, int Y) const;

 private:
  TCanvasOp MakeOp(TCanvasOp::TKind Kind) const;
  void FillPixels(const TRect& R, TColor Color);
  void FramePixels(const TRect& R, TColor Color);
  void DrawText(int X, int Y, const String& Text, const TRect& Clip, bool Opaque);
  TFont* FFont;
  TPen* FPen;
  TBrush* FBrush;
  TBitmap* FTarget = nullptr;
  TPoint FPenPos;
  TPoint FOrigin;
  TRect FClip{-1000000, -1000000, 1000000, 1000000};
  std::vector<TCanvasOp> FOps;
};

enum TPixelFormat {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
enum TTransparentMode { tmAuto, tmFixed };

// The base of pictures a TPicture can hold.
class PACKAGE TGraphic : public TPersistent {
  OM_CLASS(TGraphic, TPersistent)
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) const = 0;
  virtual void Draw(TCanvas* Canvas, const TRect& R) = 0;
  bool Transparent() const noexcept { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }

 private:
  bool FTransparent = false;
};

// A device-independent bitmap: 24-bit pixels in memory, read from and written to the
// platform's BMP format (1, 4, 8, 24 and 32 bits per pixel are read).
class PACKAGE TBitmap : public TGraphic {
  OM_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  void SetSize(int AWidth, int AHeight);
  TPixelFormat PixelFormat() const noexcept { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value) { FPixelFormat = Value; }
  TCanvas* Canvas();
  // 0x00BBGGRR, the layout of a plain TColor.
  TColor Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Color);
  // The colour that a transparent bitmap leaves out: the bottom-left pixel unless fixed.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const noexcept { return FTransparentMode; }

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) const override;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;
  // A BITMAP resource of the module (names compare without regard to case).
  void LoadFromResourceName(const TLibModule* Module, const String& ResName);
  void Draw(TCanvas* Canvas, const TRect& R) override;
  bool Equals(const TBitmap* Other) const;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;
  TPixelFormat FPixelFormat = pf24bit;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  TCanvas* FCanvas = nullptr;
};

OM_EXCEPTION(EInvalidGraphic, Exception)

// Holds one graphic; a form file stores it as `Picture.Data`, the graphic's class name
// followed by its data.
class PACKAGE TPicture : public TPersistent {
  OM_CLASS(TPicture, TPersistent)
 public:
  TPicture();
  ~TPicture() override;
  void Assign(TPersistent* Source) override;
  TGraphic* Graphic() const noexcept { return FGraphic; }
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap, made empty first if it holds none.
  TBitmap* Bitmap();
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }
  void LoadFromFile(const String& FileName);
  TNotifyEvent OnChange;

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  void Changed();
  TGraphic* FGraphic = nullptr;
};

// Where a non-visual component sits on its form in the designer: the platform stores it
// as `Left` and `Top` beside the published properties.
struct PACKAGE TDesignPosition {
  int Left = 0;
  int Top = 0;
  void Define(TFiler* Filer);
};
