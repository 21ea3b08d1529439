#include "IDEAboutDlg.h"

namespace Ideaboutdlg {
int InitCount = 0;
void Initialization() {}
void Finalization() {}
}  // namespace Ideaboutdlg
