// DesignWindows: the designer window of IDE release 6.
#pragma once

#if OM_HOST_RELEASE != 6
#error "DesignWindows belongs to release 6; release 5 has Dsgnwnds"
#endif

#include "DesignWindowCommon.h"
