// OmDBListsReg: registration of the unit's components, editors and categories.
#pragma once

#include "System.h"

namespace Omdblistsreg {
PACKAGE void Register();
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omdblistsreg
