// Dsgnwnds: the designer window of IDE release 5.
#pragma once

#if OM_HOST_RELEASE != 5
#error "Dsgnwnds belongs to release 5; release 6 has DesignWindows"
#endif

#include "DesignWindowCommon.h"
