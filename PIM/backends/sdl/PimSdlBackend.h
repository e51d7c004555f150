#pragma once
// The SDL back end: the real window (CxSdlWindow, with its software and
// accelerated screens) and the system's sound card.

#include "PIM/app/PimBackend.h"

#include <string>

const ST_PLATFORM_BACKEND& SdlBackend();

// Whether SDL's video finds a display a person can see; `driver` gets the
// video driver SDL chose ("" when video would not start at all). SDL falls
// back to its off-screen and dummy drivers when there is no X11 or Wayland
// session: they draw nowhere, so they count only when asked for by name.
bool SdlFindsDisplay(std::string& driver);

// The environment variable a user names SDL's video driver with.
constexpr const char kSdlVideoDriverVariable[] = "SDL_VIDEODRIVER";

// The rule itself: `driver` is one SDL may choose; `asked` is the user's
// SDL_VIDEODRIVER (null when unset), which may list several, separated by
// commas.
bool IsVisibleVideoDriver(const std::string& driver, const char* asked);
