#include "OmQRGridsReg.h"

namespace Omqrgridsreg {
int InitCount = 0;
void Initialization() {}
void Finalization() {}
// Its registrations come with the editors they bind.
void Register() {}
}  // namespace Omqrgridsreg
