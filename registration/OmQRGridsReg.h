// OmQRGridsReg: registration of the unit's components, editors and categories.
#pragma once

#include "System.h"

namespace Omqrgridsreg {
PACKAGE void Register();
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omqrgridsreg
