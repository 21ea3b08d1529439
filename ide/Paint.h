// Painting windows into a canvas: the walk over a window's controls, and the 3D frames
// the platform's controls are drawn with.
#pragma once

#include "Controls.h"

namespace om_paint {
// Paints Control with its top-left corner at Origin (canvas coordinates, without the
// canvas origin), clipped to Clip, then its visible children in their z-order.
void PaintControl(TControl* Control, TCanvas* Canvas, TPoint Origin, TRect Clip);
// A frame of one-pixel lines: TopLeft on the top and left, BottomRight on the others.
void Frame3D(TCanvas* Canvas, TRect R, TColor TopLeft, TColor BottomRight);
// The sunken two-line border of edits, memos and lists.
void SunkenBorder(TCanvas* Canvas, TRect R);
// A raised button face with its caption centred.
void ButtonFace(TCanvas* Canvas, TRect R, bool Down);
// Text with its accelerator mark removed and the marked letter underlined.
void AccelText(TCanvas* Canvas, int X, int Y, const String& Text, bool Enabled);
// A window's caption bar filling R: dark when the window is active, grey when not, the
// caption in the canvas font made bold, and the close box when the window has one.
void CaptionBar(TCanvas* Canvas, TRect R, const String& Caption, bool Active, bool CloseBox);
// The small arrow of drop-down buttons, pointing down, centred in R.
void DownArrow(TCanvas* Canvas, TRect R);
// A combo box: the sunken field with its text in the canvas font, and its drop-down button.
void ComboBox(TCanvas* Canvas, TRect R, const String& Text);
}  // namespace om_paint
