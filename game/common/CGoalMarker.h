#pragma once
// The picture a hub shows of the current goal's progress: one frame per
// counted win, so it fills up as the player wins. Read from the hub's room
// file, one section per goal:
//     [Goal0]
//     Name=FarmyardMenu/goal0.tga   ; frames side by side; none: no marker
//     Position=620, 20
//     Frames=2
// A 32-bit picture is drawn alpha blended, any other with its colour key.
// A Frames of 0 or less counts as 1; the frame shown is held to 0 .. Frames - 1.

#include "PIM/display/CxSprite.h"
#include "PIM/files/CxOptions.h"

constexpr int GAME_GOAL_MARKER_NAME_MAX = 255;
// In front of the room's picture, behind its buttons.
constexpr int32_t GAME_GOAL_MARKER_Z = 500;

class CGoalMarker : public CxSprite
{
public:
    // Reads section "Goal<goal>" of `options` and loads the picture. PIM_OK;
    // 9 when the section names no picture (nothing shown), or the loader's code.
    int LoadGoal(CxOptions& options, int goal);
    // The frame of `count` wins, held within the picture's frames.
    void SetProgress(int count);
    int GetFrames() const { return m_frames; }
    bool HasPicture() const { return GetSurface() != nullptr; }

    // Frames from the file: at least 1.
    static int SaneFrames(int frames) { return frames > 0 ? frames : 1; }
    // `count` as a frame of `frames` (taken as SaneFrames).
    static int FrameOf(int count, int frames);

private:
    int m_frames = 1;
};
