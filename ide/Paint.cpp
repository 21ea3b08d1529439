#include "Paint.h"

#include "Menus.h"

namespace om_paint {

void PaintControl(TControl* Control, TCanvas* Canvas, TPoint Origin, TRect Clip) {
  TRect Bounds =
      Rect(Origin.X, Origin.Y, Origin.X + Control->Width(), Origin.Y + Control->Height());
  TRect Visible = IntersectRect(Clip, Bounds);
  if (Visible.IsEmpty()) return;
  TPoint SavedOrigin = Canvas->Origin();
  TRect SavedClip = Canvas->ClipRect();
  Canvas->SetOrigin(Point(SavedOrigin.X + Origin.X, SavedOrigin.Y + Origin.Y));
  Canvas->SetClipRect(Rect(Visible.Left - Origin.X, Visible.Top - Origin.Y,
                           Visible.Right - Origin.X, Visible.Bottom - Origin.Y));
  Canvas->Font()->Assign(Control->Font());
  Canvas->Brush()->SetColor(Control->Color());
  Canvas->Pen()->SetColor(clBlack);
  Control->Paint(Canvas);
  Canvas->SetOrigin(SavedOrigin);
  Canvas->SetClipRect(SavedClip);
  auto* W = dynamic_cast<TWinControl*>(Control);
  if (!W) return;
  TRect M = W->BorderMargins();
  TPoint ClientAt = Point(Origin.X + M.Left, Origin.Y + M.Top);
  TRect ClientClip = IntersectRect(
      Visible,
      Rect(ClientAt.X, ClientAt.Y, ClientAt.X + W->ClientWidth(), ClientAt.Y + W->ClientHeight()));
  for (int I = 0; I < W->ControlCount(); ++I) {
    TControl* C = W->Controls(I);
    if (!C->Visible()) continue;
    PaintControl(C, Canvas, Point(ClientAt.X + C->Left(), ClientAt.Y + C->Top()), ClientClip);
  }
}

void Frame3D(TCanvas* Canvas, TRect R, TColor TopLeft, TColor BottomRight) {
  Canvas->Pen()->SetColor(TopLeft);
  Canvas->MoveTo(R.Left, R.Bottom - 1);
  Canvas->LineTo(R.Left, R.Top);
  Canvas->LineTo(R.Right - 1, R.Top);
  Canvas->Pen()->SetColor(BottomRight);
  Canvas->LineTo(R.Right - 1, R.Bottom - 1);
  Canvas->LineTo(R.Left - 1, R.Bottom - 1);
}

void SunkenBorder(TCanvas* Canvas, TRect R) {
  Frame3D(Canvas, R, TColor(0x80000010), TColor(0x80000014));
  Frame3D(Canvas, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), TColor(0x80000015),
          TColor(0x80000016));
}

void ButtonFace(TCanvas* Canvas, TRect R, bool Down) {
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(R);
  if (Down) {
    Frame3D(Canvas, R, TColor(0x80000015), TColor(0x80000014));
    Frame3D(Canvas, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), TColor(0x80000010),
            TColor(0x80000016));
  } else {
    Frame3D(Canvas, R, TColor(0x80000014), TColor(0x80000015));
    Frame3D(Canvas, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), TColor(0x80000016),
            TColor(0x80000010));
  }
}

void AccelText(TCanvas* Canvas, int X, int Y, const String& Text, bool Enabled) {
  String Plain = StripHotkey(Text);
  TBrushStyle Style = Canvas->Brush()->Style();
  Canvas->Brush()->SetStyle(bsClear);
  TColor Ink = Canvas->Font()->Color();
  if (!Enabled) {
    Canvas->Font()->SetColor(TColor(0x80000014));
    Canvas->TextOut(X + 1, Y + 1, Plain);
    Canvas->Font()->SetColor(TColor(0x80000010));
  }
  Canvas->TextOut(X, Y, Plain);
  // The letter after a single & is underlined.
  int Pos = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '&') {
      if (I + 1 < Text.size() && Text[I + 1] != '&') {
        int CX = X + Canvas->TextWidth(Plain.substr(0, size_t(Pos)));
        int W = Canvas->TextWidth(Plain.substr(size_t(Pos), 1));
        int UY = Y + Canvas->TextHeight(Plain) - 2;
        Canvas->Pen()->SetColor(Canvas->Font()->Color());
        Canvas->MoveTo(CX, UY);
        Canvas->LineTo(CX + W - 1, UY);
        break;
      }
      ++I;
    }
    ++Pos;
  }
  Canvas->Font()->SetColor(Ink);
  Canvas->Brush()->SetStyle(Style);
}

void CaptionBar(TCanvas* Canvas, TRect R, const String& Caption, bool Active, bool CloseBox) {
  Canvas->Brush()->SetColor(Active ? TColor(0x80000002) : TColor(0x80000003));
  Canvas->FillRect(R);
  Canvas->Font()->SetColor(TColor(0x80000009));
  Canvas->Font()->SetStyle(TFontStyles{fsBold});
  TBrushStyle Style = Canvas->Brush()->Style();
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextRect(Rect(R.Left + 4, R.Top, R.Right - 20, R.Bottom), R.Left + 4, R.Top + 2, Caption);
  Canvas->Brush()->SetStyle(Style);
  Canvas->Font()->SetStyle(TFontStyles());
  if (!CloseBox) return;
  int H = R.Height();
  TRect Box = Rect(R.Right - H, R.Top + 2, R.Right - 2, R.Bottom - 2);
  ButtonFace(Canvas, Box, false);
  for (int I = 3; I < Box.Width() - 3; ++I) {
    Canvas->SetPixel(Box.Left + I, Box.Top + I, clBlack);
    Canvas->SetPixel(Box.Right - 1 - I, Box.Top + I, clBlack);
  }
}

void DownArrow(TCanvas* Canvas, TRect R) {
  // Seven pixels wide at the top, four rows down to one.
  int X = R.Left + (R.Width() - 7) / 2, Y = R.Top + (R.Height() - 4) / 2;
  Canvas->Brush()->SetColor(clBlack);
  for (int Row = 0; Row < 4; ++Row) Canvas->FillRect(Rect(X + Row, Y + Row, X + 7 - Row, Y + Row + 1));
}

void ComboBox(TCanvas* Canvas, TRect R, const String& Text) {
  Canvas->Brush()->SetColor(clWindow);
  Canvas->FillRect(R);
  SunkenBorder(Canvas, R);
  int H = R.Height();
  TRect Button = Rect(R.Right - 2 - (H - 4), R.Top + 2, R.Right - 2, R.Bottom - 2);
  TRect Field = Rect(R.Left + 2, R.Top + 2, Button.Left, R.Bottom - 2);
  Canvas->Brush()->SetColor(clWindow);
  Canvas->Font()->SetColor(clWindowText);
  Canvas->TextRect(Field, Field.Left + 2, Field.Top + (Field.Height() - Canvas->TextHeight(Text)) / 2, Text);
  ButtonFace(Canvas, Button, false);
  DownArrow(Canvas, Button);
}

}  // namespace om_paint
