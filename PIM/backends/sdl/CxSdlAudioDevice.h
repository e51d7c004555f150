#pragma once
// The system's audio output through SDL: SDL's own thread calls the pull
// whenever the sound card wants more.

#include "PIM/sound/CxAudioDevice.h"

// With `driver` the SDL driver of that name is asked for ("dummy" plays to
// nowhere and works on any machine, for tests); null leaves the choice to
// SDL. The driver is chosen when SDL's audio starts, so it applies only when
// no other device has it running.
std::unique_ptr<CxAudioDevice> CreateSdlAudioDevice(const char* driver = nullptr);
