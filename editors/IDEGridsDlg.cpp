#include "IDEGridsDlg.h"

namespace Idegridsdlg {
int InitCount = 0;
void Initialization() {}
void Finalization() {}
}  // namespace Idegridsdlg
