// DesignEditors: the property and component editors of IDE release 6.
#pragma once

#if OM_HOST_RELEASE != 6
#error "DesignEditors belongs to release 6; release 5 has Dsgnintf"
#endif

#include "DesignIntf.h"
