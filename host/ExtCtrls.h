// ExtCtrls: splitters, panels, bevels and images.
#pragma once

#include "Controls.h"

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
OM_ENUM_TYPE(TResizeStyle)
OM_EVENT_TYPE(TCanResizeEvent, TObject*, int&, bool&)

// The bar between two aligned controls. Dragging it proposes a new size for the control
// it sizes (the one beside it on the side it is aligned to): the size is held between
// MinSize and what leaves the rest of the parent MinSize, OnCanResize may change or
// refuse it, and only an accepted size is applied.
class PACKAGE TSplitter : public TGraphicControl {
  OM_CLASS(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* AOwner);
  int MinSize() const noexcept { return FMinSize; }
  void SetMinSize(int Value) { FMinSize = Value; }
  bool AutoSnap() const noexcept { return FAutoSnap; }
  void SetAutoSnap(bool Value) { FAutoSnap = Value; }
  bool Beveled() const noexcept { return FBeveled; }
  void SetBeveled(bool Value) { FBeveled = Value; }
  TResizeStyle ResizeStyle() const noexcept { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle Value) { FResizeStyle = Value; }
  // The control the splitter sizes, or null.
  TControl* SizedControl() const;
  // A drag of Delta pixels (down or right positive). True when a size was applied.
  bool DragBy(int Delta);
  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
  void Paint(TCanvas* Canvas) override;

 protected:
  virtual bool CanResize(int& NewSize);

 private:
  int FMinSize = 30;
  bool FAutoSnap = true;
  bool FBeveled = false;
  TResizeStyle FResizeStyle = rsPattern;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
OM_ENUM_TYPE(TBevelCut)
using TPanelBevel = TBevelCut;

class PACKAGE TCustomPanel : public TCustomControl {
  OM_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  bool AcceptsControls() const override { return true; }
  TAlignment Alignment() const noexcept { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }
  TPanelBevel BevelInner() const noexcept { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const noexcept { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  int BevelWidth() const noexcept { return FBevelWidth; }
  void SetBevelWidth(int Value);
  TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  void Paint(TCanvas* Canvas) override;

 protected:
  TRect AlignRect() const override;

 private:
  TAlignment FAlignment = taCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  TBorderStyle FBorderStyle = bsNone;
};

class PACKAGE TPanel : public TCustomPanel {
  OM_CLASS(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
OM_ENUM_TYPE(TBevelShape)
enum TBevelStyle { bsLowered, bsRaised };
OM_ENUM_TYPE(TBevelStyle)

class PACKAGE TBevel : public TGraphicControl {
  OM_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const noexcept { return FShape; }
  void SetShape(TBevelShape Value) { FShape = Value; }
  TBevelStyle Style() const noexcept { return FStyle; }
  void SetStyle(TBevelStyle Value) { FStyle = Value; }
  void Paint(TCanvas* Canvas) override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

class PACKAGE TImage : public TGraphicControl {
  OM_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const noexcept { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool AutoSize() const noexcept { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool Center() const noexcept { return FCenter; }
  void SetCenter(bool Value) { FCenter = Value; }
  bool Stretch() const noexcept { return FStretch; }
  void SetStretch(bool Value) { FStretch = Value; }
  bool Transparent() const noexcept { return FTransparent; }
  void SetTransparent(bool Value);
  void Paint(TCanvas* Canvas) override;

 private:
  void PictureChanged(TObject* Sender);
  TPicture* FPicture;
  bool FAutoSize = false;
  bool FCenter = false;
  bool FStretch = false;
  bool FTransparent = false;
};
