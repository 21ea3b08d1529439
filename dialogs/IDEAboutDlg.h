// IDEAboutDlg: a unit of the package's windows and editors.
#pragma once

#include "System.h"

namespace Ideaboutdlg {
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Ideaboutdlg
