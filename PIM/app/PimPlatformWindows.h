#pragma once
// Makers of the platform's windows, so that the application never names the
// library underneath.

#include "PIM/app/CxPlatformWindow.h"

// The real window (SDL). Null when out of memory.
CxPlatformWindow* PimCreateSdlWindow();
// The memory window of tests and replays (a CxHeadlessWindow).
CxPlatformWindow* PimCreateHeadlessWindow();
