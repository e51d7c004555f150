#pragma once
// The game's application object.
//
// Seam: it derives from the engine's game application until the game layer's
// application (and then the game's own data) exists.

#include "PIM/app/CxGameApp.h"

class CMarrowdaleApp : public CxGameApp
{
public:
    explicit CMarrowdaleApp(const ST_APP_INIT& init);

    // The game's initialisation record, with `configFile` and `build` filled in.
    static ST_APP_INIT MakeInit(const char* configFile, const char* build);

protected:
    // Registers the picture formats before anything is loaded.
    int InitApplication() override;
    // Runs "startup.lua" (when there is one), which enters the first room.
    int StartGame() override;
};

// Makes sure the game's room registrars are part of the program.
void RegisterMarrowdaleRooms();
