// DesignMenus: the menu item a release-6 component editor prepares in PrepareItem.
#pragma once

#if OM_HOST_RELEASE != 6
#error "DesignMenus belongs to release 6; release 5 passes a TMenuItem"
#endif

#include "DesignCommon.h"

class PACKAGE IMenuItem : public virtual IInterface {
 public:
  virtual String GetCaption() = 0;
  virtual void SetCaption(const String& Value) = 0;
  virtual bool GetEnabled() = 0;
  virtual void SetEnabled(bool Value) = 0;
  virtual bool GetChecked() = 0;
  virtual void SetChecked(bool Value) = 0;
  virtual bool GetVisible() = 0;
  virtual void SetVisible(bool Value) = 0;
};
