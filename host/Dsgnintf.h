// Dsgnintf: the design-time interface of IDE release 5: registration, property and
// component editors, the form designer, property categories.
#pragma once

#if OM_HOST_RELEASE != 5
#error "Dsgnintf is the design-time interface of release 5; release 6 has DesignIntf and DesignEditors"
#endif

#include "DesignCommon.h"

// Wraps a persistent for the designer's notifications, as the release-5 IDE passes it.
class PACKAGE IPersistent : public virtual IInterface {
 public:
  virtual TPersistent* Persistent() = 0;
};
using _di_IPersistent = DelphiInterface<IPersistent>;
PACKAGE _di_IPersistent MakeIPersistent(TPersistent* Instance);
PACKAGE TPersistent* ExtractPersistent(const _di_IPersistent& Intf);
