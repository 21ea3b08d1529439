#include "ExtCtrls.h"

#include <algorithm>

#include "Paint.h"

OM_ENUM_TYPE_INFO(TResizeStyle, "rsNone", "rsLine", "rsUpdate", "rsPattern");
OM_EVENT_TYPE_INFO(TCanResizeEvent);
OM_ENUM_TYPE_INFO(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace");
OM_ENUM_TYPE_INFO(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
                  "bsRightLine", "bsSpacer");
OM_ENUM_TYPE_INFO(TBevelStyle, "bsLowered", "bsRaised");

// --- TSplitter -----------------------------------------------------------------------------------

template <>
struct TPublished<TSplitter> {
  static constexpr TPropInfo Props[] = {
      Property<&TSplitter::Align, &TSplitter::SetAlign>("Align", alLeft),
      Property<&TSplitter::AutoSnap, &TSplitter::SetAutoSnap>("AutoSnap", 1),
      Property<&TSplitter::Beveled, &TSplitter::SetBeveled>("Beveled", 0),
      Property<&TSplitter::Color, &TSplitter::SetColor, &TSplitter::IsColorStored>("Color",
                                                                                   NoDefault),
      Property<&TSplitter::Constraints, &TSplitter::SetConstraints>("Constraints"),
      Property<&TSplitter::MinSize, &TSplitter::SetMinSize>("MinSize", 30),
      Property<&TSplitter::ParentColor, &TSplitter::SetParentColor>("ParentColor", 1),
      Property<&TSplitter::ResizeStyle, &TSplitter::SetResizeStyle>("ResizeStyle", rsPattern),
      Property<&TSplitter::Visible, &TSplitter::SetVisible, &TSplitter::IsVisibleStored>("Visible",
                                                                                         1),
      Property<&TSplitter::OnCanResize, &TSplitter::OnCanResize>("OnCanResize"),
      Property<&TSplitter::OnMoved, &TSplitter::OnMoved>("OnMoved"),
  };
};
OM_IMPLEMENT_CLASS(TSplitter, "ExtCtrls");

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
  SetParentColor(true);
}

TControl* TSplitter::SizedControl() const {
  TWinControl* P = Parent();
  if (!P) return nullptr;
  TPoint At;
  switch (Align()) {
    case alLeft:
      At = Point(Left() - 1, Top());
      break;
    case alRight:
      At = Point(Left() + Width(), Top());
      break;
    case alTop:
      At = Point(Left(), Top() - 1);
      break;
    case alBottom:
      At = Point(Left(), Top() + Height());
      break;
    default:
      return nullptr;
  }
  for (int I = 0; I < P->ControlCount(); ++I) {
    TControl* C = P->Controls(I);
    if (C == this || !C->Visible() || !C->Enabled()) continue;
    TRect R = C->BoundsRect();
    if (R.Width() == 0) --R.Left;
    if (R.Height() == 0) --R.Top;
    if (R.Contains(At)) return C;
  }
  return nullptr;
}

bool TSplitter::CanResize(int& NewSize) {
  bool Accept = true;
  if (OnCanResize) OnCanResize(this, NewSize, Accept);
  return Accept;
}

bool TSplitter::DragBy(int Delta) {
  TControl* C = SizedControl();
  if (!C || !Parent()) return false;
  bool Vertical = Align() == alTop || Align() == alBottom;
  // The largest size leaves MinSize for the rest after the other bars and panes on
  // that axis.
  int Max = (Vertical ? Parent()->ClientHeight() : Parent()->ClientWidth()) - FMinSize;
  for (int I = 0; I < Parent()->ControlCount(); ++I) {
    TControl* O = Parent()->Controls(I);
    if (!O->Visible()) continue;
    if (Vertical && (O->Align() == alTop || O->Align() == alBottom)) Max -= O->Height();
    if (!Vertical && (O->Align() == alLeft || O->Align() == alRight)) Max -= O->Width();
  }
  Max += Vertical ? C->Height() : C->Width();
  int Old = Vertical ? C->Height() : C->Width();
  int Proposed = Align() == alTop || Align() == alLeft ? Old + Delta : Old - Delta;
  int NewSize = Proposed < FMinSize ? FMinSize : Proposed > Max ? Max : Proposed;
  if (!CanResize(NewSize)) return false;
  if (NewSize <= FMinSize && FAutoSnap) NewSize = 0;
  switch (Align()) {
    case alTop:
      C->SetHeight(NewSize);
      break;
    case alBottom:
      C->SetBounds(C->Left(), C->Top() + C->Height() - NewSize, C->Width(), NewSize);
      break;
    case alLeft:
      C->SetWidth(NewSize);
      break;
    case alRight:
      C->SetBounds(C->Left() + C->Width() - NewSize, C->Top(), NewSize, C->Height());
      break;
    default:
      break;
  }
  if (OnMoved) OnMoved(this);
  return true;
}

void TSplitter::Paint(TCanvas* Canvas) {
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(Rect(0, 0, Width(), Height()));
  if (FBeveled)
    om_paint::Frame3D(Canvas, Rect(0, 0, Width(), Height()), TColor(0x80000014),
                      TColor(0x80000010));
}

// --- TCustomPanel
// ---------------------------------------------------------------------------------

template <>
struct TPublished<TCustomPanel> {
  static constexpr TPropInfo Props[] = {
      Property<&TCustomPanel::Align, &TCustomPanel::SetAlign>("Align", alNone),
      Property<&TCustomPanel::Alignment, &TCustomPanel::SetAlignment>("Alignment", taCenter),
      Property<&TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner>("BevelInner", bvNone),
      Property<&TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter>("BevelOuter", bvRaised),
      Property<&TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth>("BevelWidth", 1),
      Property<&TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth>("BorderWidth", 0),
      Property<&TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle>("BorderStyle", bsNone),
      Property<&TCustomPanel::Caption, &TCustomPanel::SetCaption>("Caption"),
      Property<&TCustomPanel::Color, &TCustomPanel::SetColor, &TCustomPanel::IsColorStored>(
          "Color", clBtnFace),
      Property<&TCustomPanel::Constraints, &TCustomPanel::SetConstraints>("Constraints"),
      Property<&TCustomPanel::Enabled, &TCustomPanel::SetEnabled>("Enabled", 1),
      Property<&TCustomPanel::Font, &TCustomPanel::SetFont, &TCustomPanel::IsFontStored>("Font"),
      Property<&TCustomPanel::ParentColor, &TCustomPanel::SetParentColor>("ParentColor", 0),
      Property<&TCustomPanel::ParentFont, &TCustomPanel::SetParentFont>("ParentFont", 1),
      Property<&TCustomPanel::PopupMenu, &TCustomPanel::SetPopupMenu>("PopupMenu"),
      Property<&TCustomPanel::TabOrder, &TCustomPanel::SetTabOrder>("TabOrder", -1),
      Property<&TCustomPanel::TabStop, &TCustomPanel::SetTabStop>("TabStop", 0),
      Property<&TCustomPanel::Visible, &TCustomPanel::SetVisible>("Visible", 1),
      Property<&TCustomPanel::OnClick, &TCustomPanel::OnClick>("OnClick"),
      Property<&TCustomPanel::OnResize, &TCustomPanel::OnResize>("OnResize"),
  };
};
OM_IMPLEMENT_CLASS(TCustomPanel, "ExtCtrls");
OM_IMPLEMENT_CLASS(TPanel, "ExtCtrls");

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  FBevelInner = Value;
  Realign();
}
void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  FBevelOuter = Value;
  Realign();
}
void TCustomPanel::SetBevelWidth(int Value) {
  FBevelWidth = std::max(1, Value);
  Realign();
}
void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  FBorderStyle = Value;
  Realign();
}

TRect TCustomPanel::AlignRect() const {
  TRect R = ClientRect();
  int B = (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0) +
          (FBorderStyle == bsSingle ? 1 : 0);
  return Rect(R.Left + B, R.Top + B, R.Right - B, R.Bottom - B);
}

void TCustomPanel::Paint(TCanvas* Canvas) {
  TRect R = Rect(0, 0, ClientWidth(), ClientHeight());
  Canvas->Brush()->SetColor(Color());
  Canvas->FillRect(R);
  auto Bevel = [&](TPanelBevel B) {
    if (B == bvNone) return;
    for (int I = 0; I < FBevelWidth; ++I) {
      if (B == bvLowered)
        om_paint::Frame3D(Canvas, R, TColor(0x80000010), TColor(0x80000014));
      else if (B == bvRaised)
        om_paint::Frame3D(Canvas, R, TColor(0x80000014), TColor(0x80000010));
      R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    }
  };
  if (FBorderStyle == bsSingle) {
    Canvas->Brush()->SetColor(clBlack);
    Canvas->FrameRect(R);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  Bevel(FBevelOuter);
  Bevel(FBevelInner);
  if (!Caption().empty()) {
    int W = Canvas->TextWidth(Caption());
    int X = FAlignment == taCenter         ? (ClientWidth() - W) / 2
            : FAlignment == taRightJustify ? R.Right - W - 2
                                           : R.Left + 2;
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->TextRect(R, X, (ClientHeight() - Canvas->TextHeight(Caption())) / 2, Caption());
  }
}

// --- TBevel -------------------------------------------------------------------------------------

template <>
struct TPublished<TBevel> {
  static constexpr TPropInfo Props[] = {
      Property<&TBevel::Align, &TBevel::SetAlign>("Align", alNone),
      Property<&TBevel::Shape, &TBevel::SetShape>("Shape", bsBox),
      Property<&TBevel::Style, &TBevel::SetStyle>("Style", bsLowered),
      Property<&TBevel::Visible, &TBevel::SetVisible>("Visible", 1),
  };
};
OM_IMPLEMENT_CLASS(TBevel, "ExtCtrls");

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::Paint(TCanvas* Canvas) {
  TColor Dark = TColor(0x80000010), Light = TColor(0x80000014);
  TColor First = FStyle == bsLowered ? Dark : Light, Second = FStyle == bsLowered ? Light : Dark;
  int W = Width(), H = Height();
  auto HLine = [&](int Y, TColor C) {
    Canvas->Pen()->SetColor(C);
    Canvas->MoveTo(0, Y);
    Canvas->LineTo(W, Y);
  };
  auto VLine = [&](int X, TColor C) {
    Canvas->Pen()->SetColor(C);
    Canvas->MoveTo(X, 0);
    Canvas->LineTo(X, H);
  };
  switch (FShape) {
    case bsBox:
      om_paint::Frame3D(Canvas, Rect(0, 0, W, H), First, Second);
      break;
    case bsFrame:
      om_paint::Frame3D(Canvas, Rect(0, 0, W - 1, H - 1), First, First);
      om_paint::Frame3D(Canvas, Rect(1, 1, W, H), Second, Second);
      break;
    case bsTopLine:
      HLine(0, First);
      HLine(1, Second);
      break;
    case bsBottomLine:
      HLine(H - 2, First);
      HLine(H - 1, Second);
      break;
    case bsLeftLine:
      VLine(0, First);
      VLine(1, Second);
      break;
    case bsRightLine:
      VLine(W - 2, First);
      VLine(W - 1, Second);
      break;
    case bsSpacer:
      break;
  }
}

// --- TImage -------------------------------------------------------------------------------------

template <>
struct TPublished<TImage> {
  static constexpr TPropInfo Props[] = {
      Property<&TImage::Align, &TImage::SetAlign>("Align", alNone),
      Property<&TImage::AutoSize, &TImage::SetAutoSize>("AutoSize", 0),
      Property<&TImage::Center, &TImage::SetCenter>("Center", 0),
      Property<&TImage::Picture, &TImage::SetPicture>("Picture"),
      Property<&TImage::Stretch, &TImage::SetStretch>("Stretch", 0),
      Property<&TImage::Transparent, &TImage::SetTransparent>("Transparent", 0),
      Property<&TImage::Visible, &TImage::SetVisible>("Visible", 1),
      Property<&TImage::OnClick, &TImage::OnClick>("OnClick"),
  };
};
OM_IMPLEMENT_CLASS(TImage, "ExtCtrls");

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture) {
  FPicture->OnChange = Closure<&TImage::PictureChanged>(this);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { delete FPicture; }

void TImage::PictureChanged(TObject*) {
  if (TGraphic* G = FPicture->Graphic()) G->SetTransparent(FTransparent);
  if (FAutoSize && FPicture->Width() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetAutoSize(bool Value) {
  FAutoSize = Value;
  PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  FTransparent = Value;
  PictureChanged(this);
}

void TImage::Paint(TCanvas* Canvas) {
  auto* B = dynamic_cast<TBitmap*>(FPicture->Graphic());
  if (!B) return;
  B->SetTransparent(FTransparent);
  int X = FCenter ? (Width() - B->Width()) / 2 : 0;
  int Y = FCenter ? (Height() - B->Height()) / 2 : 0;
  if (!FStretch || B->Width() == 0 || B->Height() == 0) {
    Canvas->Draw(X, Y, B);
    return;
  }
  TBitmap Scaled(Width(), Height());
  Scaled.SetTransparent(FTransparent);
  for (int SY = 0; SY < Height(); ++SY)
    for (int SX = 0; SX < Width(); ++SX)
      Scaled.SetPixel(SX, SY, B->Pixel(SX * B->Width() / Width(), SY * B->Height() / Height()));
  if (FTransparent) Scaled.SetTransparentColor(B->TransparentColor());
  Canvas->Draw(0, 0, &Scaled);
}
