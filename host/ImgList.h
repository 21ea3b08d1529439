// ImgList: lists of equally sized images that menus, tool bars, list views and the
// object inspector draw from.
#pragma once

#include "Graphics.h"

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
OM_ENUM_TYPE(TDrawingStyle)
enum TImageType { itImage, itMask };
OM_ENUM_TYPE(TImageType)

// Images of Width by Height pixels, each with a mask: pixels of the mask colour given
// when the image was added (or every pixel outside the mask) are not drawn. A form file
// stores the images as the platform's image list stream: a header, then the images
// four to a row as one bitmap, then the monochrome mask bitmap.
class PACKAGE TCustomImageList : public TComponent {
  OM_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(int AWidth, int AHeight);
  ~TCustomImageList() override;
  void Assign(TPersistent* Source) override;

  int Width() const noexcept { return FWidth; }
  void SetWidth(int Value);
  int Height() const noexcept { return FHeight; }
  void SetHeight(int Value);
  int Count() const noexcept { return int(FImages.size()); }
  int AllocBy() const noexcept { return FAllocBy; }
  void SetAllocBy(int Value) { FAllocBy = Value; }
  TColor BkColor() const noexcept { return FBkColor; }
  void SetBkColor(TColor Value) { FBkColor = Value; }
  TColor BlendColor() const noexcept { return FBlendColor; }
  void SetBlendColor(TColor Value) { FBlendColor = Value; }
  TDrawingStyle DrawingStyle() const noexcept { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }
  TImageType ImageType() const noexcept { return FImageType; }
  void SetImageType(TImageType Value) { FImageType = Value; }
  bool Masked() const noexcept { return FMasked; }
  void SetMasked(bool Value) { FMasked = Value; }
  bool ShareImages() const noexcept { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }

  // The image (and its mask, where a pixel is not drawn when the mask is white) cut into
  // as many images as it is wide; returns the index of the first.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Every pixel of MaskColor is left out.
  int AddMasked(TBitmap* Image, TColor MaskColor);
  void Delete(int Index);
  void Clear();
  // Draws image Index at X, Y; a disabled image is drawn greyed. Out-of-range indexes
  // draw nothing.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
  void GetBitmap(int Index, TBitmap* Image) const;
  // Whether the pixel X, Y of image Index is drawn.
  bool IsOpaque(int Index, int X, int Y) const;

  TNotifyEvent OnChange;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Change();

 private:
  struct TImage {
    std::vector<TColor> Pixels;
    std::vector<bool> Mask;  // true: drawn
  };
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream) const;
  void CheckSize(int W, int H);
  int FWidth = 16;
  int FHeight = 16;
  int FAllocBy = 4;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FMasked = true;
  bool FShareImages = false;
  std::vector<TImage> FImages;
  TDesignPosition FDesign;
};

OM_EXCEPTION(EInvalidImageList, Exception)
