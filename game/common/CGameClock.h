#pragma once
// A room's own time, in milliseconds, on the engine clock: it runs only
// while the room runs (not while it is paused), and each frame adds at most
// GAME_CLOCK_MAX_STEP, so a stall (a slow disk, a debugger, the window
// dragged) arrives as one ordinary frame, never as one huge jump that would
// fling a ball through a wall or end a timer early.

#include <cstdint>

constexpr uint32_t GAME_CLOCK_MAX_STEP = 100;

class CGameClock
{
public:
    // Back to 0, counting from `now`.
    void Reset(uint32_t now);
    // A frame at `now`: the time since the last one is added (clamped)
    // unless `paused`; either way the next frame counts from `now`.
    uint32_t Tick(uint32_t now, bool paused);
    // The next frame counts from `now` (after a pause, whose time is not the room's).
    void Resync(uint32_t now) { m_last = now; }

    uint32_t GetElapsed() const { return m_elapsed; }
    // What the last frame added.
    uint32_t GetStep() const { return m_step; }

private:
    uint32_t m_last = 0;
    uint32_t m_elapsed = 0;
    uint32_t m_step = 0;
};
