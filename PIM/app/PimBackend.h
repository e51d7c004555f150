#pragma once
// A platform back end as the application sees it: the window it opens and
// the audio device the sound plays through, with the few ways a headless
// back end runs differently. The back ends (PIM/backends/sdl,
// PIM/backends/headless) each give one record; the program picks one and
// hands it to CxWindowApp::SetBackend, so nothing below the back ends names
// either of them.

#include "PIM/app/CxPlatformWindow.h"
#include "PIM/sound/CxAudioDevice.h"

struct ST_PLATFORM_BACKEND
{
    // "sdl", "headless": for traces and messages.
    const char* name = "";
    // Nobody watches: time is the virtual clock's (the replay runner paces
    // it), idle frames are not slept away, and the run can go unattended.
    bool headless = false;
    // A new window, not yet created; null when out of memory.
    CxPlatformWindow* (*makeWindow)() = nullptr;
    // The sound's output (the sound system opens it); null for none.
    PimAudioDeviceMaker makeAudioDevice = nullptr;
};
