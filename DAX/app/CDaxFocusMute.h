#pragma once
// The game goes quiet and holds still while its window is in the
// background: when the window loses the focus the current room takes one
// pause (it pauses on its first) and the master volume is put aside and set
// to 0; when the focus comes back the volume put aside is set again,
// exactly, and the pause is given back.
//
// The pause is given back to the room that took it, found again by its
// handle, even when another room has been entered meanwhile (a script or an
// event went on running); a room that is gone gives nothing back. Without a
// current room nothing is paused. Losing the focus twice, or regaining it
// twice, counts once, so no pause count goes below zero or stays above it.
//
// While the window is in the background the player's volume is the one put
// aside: it is what GetMasterVolume answers and what SetMasterVolume
// changes (applied when the focus comes back), so a script that sets the
// volume then, and whatever saves the volume at exit, deal in the player's
// volume, never in the silence.
//
// A volume put aside of 0 comes back as 0: the player had the game muted,
// and it stays so.

#include <cstdint>

class CxGameApp;

class CDaxFocusMute
{
public:
    void LoseFocus(CxGameApp& app);
    void RegainFocus(CxGameApp& app);
    bool IsInBackground() const { return m_background; }

    // 0..127, the player's.
    int GetMasterVolume() const;
    void SetMasterVolume(int volume);

    // The handle of the room that holds the pause; 0 for none.
    uint32_t GetPausedRoom() const { return m_pausedRoom; }

private:
    bool m_background = false;
    int m_volume = 0;
    uint32_t m_pausedRoom = 0;
};
