#include "OmDBListsReg.h"

namespace Omdblistsreg {
int InitCount = 0;
void Initialization() {}
void Finalization() {}
// Its registrations come with the editors they bind.
void Register() {}
}  // namespace Omdblistsreg
