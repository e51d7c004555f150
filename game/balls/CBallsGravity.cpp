#include "game/balls/CBallsGravity.h"

#include "PIM/display/CxDisplayObject.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"

#include <algorithm>
#include <cmath>

int CBallsGravity::DrawMarker(int color, CxDisplayObject* parent)
{
    m_color = color;
    HideMarker();
    const int code = m_sprite.CreateSurface(BALLS_MARKER_SIZE, BALLS_MARKER_SIZE, 32);
    CxDrawSurface* surface = m_sprite.GetSurface();
    if (code != PIM_OK || !surface)
        return code != PIM_OK ? code : PIM_ERR_OUT_OF_MEMORY;
    const uint32_t ink = 0xFF000000u | (static_cast<uint32_t>(color) & 0xFFFFFFu);
    constexpr int32_t bar = 4, middle = BALLS_MARKER_SIZE / 2 - bar / 2;
    constexpr int32_t last = BALLS_MARKER_SIZE - 1;
    surface->FillRect(CxRect(0, 0, last, last), 0);
    surface->FillRect(CxRect(0, middle, last, middle + bar - 1), ink);
    if (m_strength > 0.0f)
        surface->FillRect(CxRect(middle, 0, middle + bar - 1, last), ink);
    m_sprite.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    m_sprite.SetZ(BALLS_MARKER_Z);
    if (parent)
        parent->AddChild(&m_sprite);
    constexpr float LIMIT = 1e6f;
    m_sprite.MoveTo(static_cast<int32_t>(std::clamp(m_centre.x, -LIMIT, LIMIT)),
                    static_cast<int32_t>(std::clamp(m_centre.y, -LIMIT, LIMIT)), PIM_ANCHOR_CENTRE);
    m_sprite.Show();
    return PIM_OK;
}

void CBallsGravity::HideMarker()
{
    m_sprite.Hide();
    m_sprite.Detach();
}
