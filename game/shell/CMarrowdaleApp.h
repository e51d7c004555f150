#pragma once
// The game's application object.
//
// Seam: it derives from the engine's game application until the game layer's
// application (and then the game's own data) exists.

#include "DAX/base/DaxDeferredDelete.h"
#include "PIM/app/CxGameApp.h"

#include <memory>

class CMarrowdaleApp : public CxGameApp
{
public:
    explicit CMarrowdaleApp(const ST_APP_INIT& init);

    // The game's initialisation record, with `configFile` and `build` filled in.
    static ST_APP_INIT MakeInit(const char* configFile, const char* build);

    // Registers the picture, font and movie formats before anything is
    // loaded, then plays the intro movies.
    int InitApplication() override;
    // Every movie of "IntroMovies" that exists, in file order, modally and
    // skippable; none with "Startup" / "SkipIntroMovies" set.
    virtual void PlayIntroMovies();
    // Runs "startup.lua" (when there is one), which enters the first room.
    int StartGame() override;
    int ExitApplication() override;

private:
    // What Lua destroys from inside its own handler goes at the next pass.
    std::unique_ptr<CDaxDeferredFlush> m_deferred;
};

// Makes sure the game's room registrars are part of the program.
void RegisterMarrowdaleRooms();
