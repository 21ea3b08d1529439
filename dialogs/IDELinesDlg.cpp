#include "IDELinesDlg.h"

namespace Idelinesdlg {
int InitCount = 0;
void Initialization() {}
void Finalization() {}
}  // namespace Idelinesdlg
