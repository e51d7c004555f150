#pragma once
// The game's application object: the game layer's application (the
// configuration, services, global buttons and dialogs, music, intro and
// credits) with the game's own name, version and window, over the rooms
// that GameRooms.cpp registers.

#include "DAX/app/CDaxApp.h"

class CMarrowdaleApp : public CDaxApp
{
public:
    explicit CMarrowdaleApp(const ST_APP_INIT& init);

    // The game's initialisation record, with `configFile` and `build` filled in.
    static ST_APP_INIT MakeInit(const char* configFile, const char* build);
};

// Makes sure the game's room registrars are part of the program.
void RegisterMarrowdaleRooms();
