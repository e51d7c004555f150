#pragma once
// The SDL back end: the real window (CxSdlWindow, with its software and
// accelerated screens) and the system's sound card.

#include "PIM/app/PimBackend.h"

const ST_PLATFORM_BACKEND& SdlBackend();
