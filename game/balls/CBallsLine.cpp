#include "game/balls/CBallsLine.h"

#include "PIM/display/CxDisplayObject.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"

#include <algorithm>
#include <cmath>

bool BallsClipLine(const CxRect& box, float& x1, float& y1, float& x2, float& y2)
{
    // Liang-Barsky: the part of the segment at t in [lo, hi] lies in the box.
    const float left = static_cast<float>(box.left), top = static_cast<float>(box.top);
    const float right = static_cast<float>(box.right), bottom = static_cast<float>(box.bottom);
    if (right < left || bottom < top)
        return false;
    const float dx = x2 - x1, dy = y2 - y1;
    float lo = 0.0f, hi = 1.0f;
    const float p[4] = {-dx, dx, -dy, dy};
    const float q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0f) {
            if (q[i] < 0.0f)
                return false; // parallel to this edge and outside it
            continue;
        }
        const float t = q[i] / p[i];
        if (p[i] < 0.0f)
            lo = std::max(lo, t);
        else
            hi = std::min(hi, t);
        if (lo > hi)
            return false;
    }
    const float ox = x1, oy = y1;
    x1 = ox + lo * dx;
    y1 = oy + lo * dy;
    x2 = ox + hi * dx;
    y2 = oy + hi * dy;
    return true;
}

int CBallsLine::Draw(int color, const CxRect& screen, CxDisplayObject* parent)
{
    m_color = color;
    HideDrawing();
    float x1 = m_p1.x, y1 = m_p1.y, x2 = m_p2.x, y2 = m_p2.y;
    if (!BallsClipLine(screen, x1, y1, x2, y2))
        return PIM_OK;
    const int32_t ax = static_cast<int32_t>(std::lround(x1)), ay = static_cast<int32_t>(std::lround(y1));
    const int32_t bx = static_cast<int32_t>(std::lround(x2)), by = static_cast<int32_t>(std::lround(y2));
    const int32_t left = std::min(ax, bx), top = std::min(ay, by);
    const int32_t width = std::abs(bx - ax) + 1, height = std::abs(by - ay) + 1;
    const int code = m_sprite.CreateSurface(width, height, 32);
    CxDrawSurface* surface = m_sprite.GetSurface();
    if (code != PIM_OK || !surface)
        return code != PIM_OK ? code : PIM_ERR_OUT_OF_MEMORY;
    surface->FillRect(CxRect(0, 0, width - 1, height - 1), 0);
    // From the corner the line starts in: falling lines top-left to
    // bottom-right, rising ones bottom-left to top-right.
    surface->DrawLine(ax - left, ay - top, bx - left, by - top, 0xFF000000u | (static_cast<uint32_t>(color) & 0xFFFFFFu));
    m_sprite.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    m_sprite.SetZ(BALLS_LINE_Z);
    if (parent)
        parent->AddChild(&m_sprite);
    m_sprite.MoveTo(left, top, PIM_ANCHOR_TOP_LEFT);
    m_sprite.Show();
    return PIM_OK;
}

void CBallsLine::HideDrawing()
{
    m_sprite.Hide();
    m_sprite.Detach();
}
