// A language resource module: the package's resources in another language, nothing else.
#include "System.h"

extern "C" PACKAGE TLibModule* GetResourceModule() { return &OmThisModule; }
