#pragma once
// The first half of every enter-leave-enter test: two visits to a room, each
// followed by the title and a few quiet seconds, so that whatever the game
// makes once per run already exists; then what lives, to compare with after
// the visit under test.

#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"

#include <cstddef>

struct ST_ROOM_LIVE
{
    size_t sprites = 0;
    ST_LIVE live{};
    bool operator==(const ST_ROOM_LIVE&) const = default;
};

inline ST_ROOM_LIVE RoomLive(GameTestApp& game)
{
    return {LiveRoomSprites(game.App().GetConsole()), Live()};
}

// `enter` enters the room and returns whether it did. False when a visit
// or a return to the title failed.
template <class Enter>
bool VisitTwiceAndSettle(GameTestApp& game, Enter enter)
{
    for (int visit = 0; visit < 2; ++visit) {
        if (!enter() || !game.Enter("Title"))
            return false;
        game.Run(3000);
    }
    return true;
}
