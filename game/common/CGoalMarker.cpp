#include "game/common/CGoalMarker.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/core/CxError.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"

#include <algorithm>

int CGoalMarker::FrameOf(int count, int frames)
{
    return std::clamp(count, 0, SaneFrames(frames) - 1);
}

int CGoalMarker::LoadGoal(CxOptions& options, int goal)
{
    Release();
    CxString section;
    section.Format("Goal%d", goal);
    char name[GAME_GOAL_MARKER_NAME_MAX + 1];
    options.GetString(section.GetText(), "Name", name, "", sizeof name);
    m_frames = SaneFrames(options.GetInt(section.GetText(), "Frames", 1));
    if (!*name)
        return PIM_ERR_NOT_FOUND;
    const int code = Load(name, m_frames);
    if (code != PIM_OK)
        return code;
    if (GetSurface() && GetSurface()->GetDepth() == 32)
        SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    int x = 0;
    int y = 0;
    options.GetPoint(section.GetText(), "Position", &x, &y, 0, 0);
    SetPosition(std::clamp(x, -DAX_COORDINATE_LIMIT, DAX_COORDINATE_LIMIT),
                std::clamp(y, -DAX_COORDINATE_LIMIT, DAX_COORDINATE_LIMIT));
    SetZ(GAME_GOAL_MARKER_Z);
    return PIM_OK;
}

void CGoalMarker::SetProgress(int count)
{
    // A picture whose width the frame count did not divide has fewer frames.
    SetFrame(FrameOf(count, std::min(m_frames, GetFrameCount())));
}
