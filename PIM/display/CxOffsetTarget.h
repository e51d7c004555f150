#pragma once
// A render target that forwards to a draw surface with its origin moved:
// the screen point `origin` lands on the surface's (0, 0). The display tree
// always draws in screen coordinates, so this is how a subtree is drawn
// into an off-screen surface (a snapshot, a cached panel, a transition).

#include "PIM/core/CxPoint.h"
#include "PIM/graphics/CxRenderTarget.h"

class CxDisplayObject;
class CxDrawSurface;

class CxOffsetTarget : public CxRenderTarget
{
public:
    CxOffsetTarget(CxDrawSurface& surface, CxPoint origin) : m_surface(surface), m_origin(origin) {}

    CxPoint GetOrigin() const { return m_origin; }
    void SetOrigin(CxPoint origin) { m_origin = origin; }
    CxDrawSurface& GetSurface() const { return m_surface; }

    int DrawSurface(CxSurfaceBase* source, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                    const ST_DRAW_PARAMS* params) override;
    // A null destination is the whole source at the screen's (0, 0), as on a surface.
    int DrawSurface(CxSurfaceBase* source, const CxRect* destinationRect, const CxRect* sourceRect, uint32_t key,
                    const ST_DRAW_PARAMS* params) override;
    void OnBeginDraw() override;
    void OnEndDraw() override;
    int LockTarget() override;
    void UnlockTarget() override;
    int32_t GetTargetWidth() const override;
    int32_t GetTargetHeight() const override;
    uint32_t MakeColour(uint8_t red, uint8_t green, uint8_t blue) const override;
    using CxRenderTarget::DrawLine;
    int DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) override;
    int FillRect(const CxRect& rect, uint32_t colour) override;
    int BlendLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float opacity) override;

private:
    CxRect Shift(const CxRect& rect) const { return rect.Offset(-m_origin.x, -m_origin.y); }

    CxDrawSurface& m_surface;
    CxPoint m_origin;
};

// Draws `object` (its picture and its shown children, whether or not the
// object itself is shown) into `surface`, the object's top-left corner on
// the surface's (0, 0). `clip` is in the object's coordinates; null is the
// part of its extent the surface can hold.
void DrawObjectInto(CxDisplayObject& object, CxDrawSurface& surface, const CxRect* clip = nullptr);
