#include "PIM/display/CxOffsetTarget.h"

#include "PIM/display/CxDisplayObject.h"
#include "PIM/graphics/CxDrawSurface.h"

int CxOffsetTarget::DrawSurface(CxSurfaceBase* source, int32_t x, int32_t y, const CxRect* sourceRect,
                                uint32_t key, const ST_DRAW_PARAMS* params)
{
    return m_surface.DrawSurface(source, x - m_origin.x, y - m_origin.y, sourceRect, key, params);
}

int CxOffsetTarget::DrawSurface(CxSurfaceBase* source, const CxRect* destinationRect, const CxRect* sourceRect,
                                uint32_t key, const ST_DRAW_PARAMS* params)
{
    if (!source)
        return m_surface.DrawSurface(source, destinationRect, sourceRect, key, params);
    const CxRect whole = CxRect::FromSize(CxPoint(), CxSize(source->GetWidth(), source->GetHeight()));
    const CxRect destination = Shift(destinationRect ? *destinationRect : whole);
    return m_surface.DrawSurface(source, &destination, sourceRect, key, params);
}

void CxOffsetTarget::OnBeginDraw()
{
    m_surface.OnBeginDraw();
}

void CxOffsetTarget::OnEndDraw()
{
    m_surface.OnEndDraw();
}

int CxOffsetTarget::LockTarget()
{
    return m_surface.LockTarget();
}

void CxOffsetTarget::UnlockTarget()
{
    m_surface.UnlockTarget();
}

int32_t CxOffsetTarget::GetTargetWidth() const
{
    return m_surface.GetTargetWidth();
}

int32_t CxOffsetTarget::GetTargetHeight() const
{
    return m_surface.GetTargetHeight();
}

uint32_t CxOffsetTarget::MakeColour(uint8_t red, uint8_t green, uint8_t blue) const
{
    return m_surface.MakeColour(red, green, blue);
}

int CxOffsetTarget::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)
{
    return m_surface.DrawLine(x1 - m_origin.x, y1 - m_origin.y, x2 - m_origin.x, y2 - m_origin.y, colour);
}

int CxOffsetTarget::FillRect(const CxRect& rect, uint32_t colour)
{
    return m_surface.FillRect(Shift(rect), colour);
}

int CxOffsetTarget::BlendLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float opacity)
{
    return m_surface.BlendLine(x1 - m_origin.x, y1 - m_origin.y, x2 - m_origin.x, y2 - m_origin.y, colour, opacity);
}

void DrawObjectInto(CxDisplayObject& object, CxDrawSurface& surface, const CxRect* clip)
{
    CxOffsetTarget target(surface, object.LocalToScreen(CxPoint()));
    const CxRect room = CxRect::FromSize(CxPoint(), surface.GetSize());
    const CxRect area = clip ? clip->Intersection(room) : object.GetExtent().Intersection(room);
    if (area.IsEmpty())
        return;
    target.OnBeginDraw();
    object.Draw(target, area);
    target.OnEndDraw();
}
