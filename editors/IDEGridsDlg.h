// IDEGridsDlg: a unit of the package's windows and editors.
#pragma once

#include "System.h"

namespace Idegridsdlg {
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Idegridsdlg
