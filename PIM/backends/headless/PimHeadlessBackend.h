#pragma once
// The headless back end: a window that exists only in memory, fed by tests
// and replays (CxHeadlessWindow, showing a CxMemoryScreen), and sound mixed
// on the engine clock by nobody's sound card (CxHeadlessAudioDevice).

#include "PIM/app/PimBackend.h"

class CxHeadlessWindow;
class CxWindowApp;

const ST_PLATFORM_BACKEND& HeadlessBackend();

// The window of an application on the headless back end: null for another
// back end, or before the application's InitInstance made it.
CxHeadlessWindow* HeadlessWindowOf(const CxWindowApp& app);
