// DesignIntf: the design-time interface of IDE release 6: registration, the designer,
// the property interface, selections, design notifications.
#pragma once

#if OM_HOST_RELEASE != 6
#error "DesignIntf is the design-time interface of release 6; release 5 has Dsgnintf"
#endif

#include "DesignCommon.h"

// What the IDE tells every registered listener about its designers.
class PACKAGE IDesignNotification : public virtual IInterface {
 public:
  virtual void ItemDeleted(const _di_IDesigner& ADesigner, TPersistent* AItem) = 0;
  virtual void ItemInserted(const _di_IDesigner& ADesigner, TPersistent* AItem) = 0;
  virtual void ItemsModified(const _di_IDesigner& ADesigner) = 0;
  virtual void SelectionChanged(const _di_IDesigner& ADesigner,
                                const _di_IDesignerSelections& ASelection) = 0;
  virtual void DesignerOpened(const _di_IDesigner& ADesigner, bool AResurrecting) = 0;
  virtual void DesignerClosed(const _di_IDesigner& ADesigner, bool AGoingDormant) = 0;
};
using _di_IDesignNotification = DelphiInterface<IDesignNotification>;

PACKAGE void RegisterDesignNotification(const _di_IDesignNotification& DesignNotification);
PACKAGE void UnregisterDesignNotification(const _di_IDesignNotification& DesignNotification);
