// VCLEditors: owner drawing of property editors in IDE release 6.
#pragma once

#if OM_HOST_RELEASE != 6
#error "VCLEditors belongs to release 6; release 5 draws through TPropertyEditor itself"
#endif

#include "DesignEditors.h"

class PACKAGE ICustomPropertyDrawing : public virtual IInterface {
 public:
  virtual void PropDrawName(TCanvas* ACanvas, const TRect& ARect, bool ASelected) = 0;
  virtual void PropDrawValue(TCanvas* ACanvas, const TRect& ARect, bool ASelected) = 0;
};

class PACKAGE ICustomPropertyListDrawing : public virtual IInterface {
 public:
  virtual void ListMeasureWidth(const String& Value, TCanvas* ACanvas, int& AWidth) = 0;
  virtual void ListMeasureHeight(const String& Value, TCanvas* ACanvas, int& AHeight) = 0;
  virtual void ListDrawValue(const String& Value, TCanvas* ACanvas, const TRect& ARect,
                             bool ASelected) = 0;
};

// What the inspector draws for an editor that does not draw itself.
PACKAGE void DefaultPropertyDrawName(TPropertyEditor* Prop, TCanvas* Canvas, const TRect& Rect);
PACKAGE void DefaultPropertyDrawValue(TPropertyEditor* Prop, TCanvas* Canvas, const TRect& Rect);
PACKAGE void DefaultPropertyListDrawValue(const String& Value, TCanvas* Canvas, const TRect& Rect,
                                          bool Selected);
