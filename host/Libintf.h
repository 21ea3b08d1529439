// Libintf: the services of IDE release 5 that editors reach through `DelphiIDE`.
#pragma once

#if OM_HOST_RELEASE != 5
#error "Libintf belongs to release 5; release 6 reaches these services through IDesigner::Environment"
#endif

#include "DesignCommon.h"

class TDesignWindow;

class PACKAGE TIDEServices : public TObject {
  OM_CLASS(TIDEServices, TObject)
 public:
  // The IDE's key below the current user, without a trailing separator.
  virtual String GetBaseRegKey() = 0;
  // Activates the object inspector as if Key had been typed into its current row, and
  // returns to ReturnWindow afterwards.
  virtual void ModalEdit(char Key, TObject* ReturnWindow) = 0;
};

extern PACKAGE TIDEServices* DelphiIDE;
