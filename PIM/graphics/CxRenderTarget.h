#pragma once
// What display objects draw through. Drawing a surface onto a target is a
// double dispatch: the target checks that the source is a CxDrawSurface and
// asks it to draw itself onto the target's own surface.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/graphics/CxSurfaceBase.h"
#include "PIM/graphics/PimDrawParams.h"

class CxRenderTarget
{
public:
    virtual ~CxRenderTarget() = default;

    // 16 when the source is not a CxDrawSurface. A null source rectangle is
    // the whole source; a key of PIM_NO_KEY (-1) means the source's own
    // transparent colour; null parameters mean mode 0.
    virtual int DrawSurface(CxSurfaceBase* source, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                            const ST_DRAW_PARAMS* params) = 0;
    virtual int DrawSurface(CxSurfaceBase* source, const CxRect* destinationRect, const CxRect* sourceRect,
                            uint32_t key, const ST_DRAW_PARAMS* params) = 0;
    // Hooks a screen may give meaning to; nothing on memory surfaces.
    virtual void OnBeginDraw() {}
    virtual void OnEndDraw() {}
    virtual int LockTarget() = 0;
    virtual void UnlockTarget() = 0;

    virtual int32_t GetTargetWidth() const = 0;
    virtual int32_t GetTargetHeight() const = 0;
    virtual uint32_t MakeColour(uint8_t red, uint8_t green, uint8_t blue) const = 0;
    int DrawLine(CxPoint a, CxPoint b, uint32_t colour) { return DrawLine(a.x, a.y, b.x, b.y, colour); }
    virtual int DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) = 0;
    virtual int FillRect(const CxRect& rect, uint32_t colour)
    {
        (void)rect;
        (void)colour;
        return 0;
    }
    // opacity is clamped to 0..1: result = colour x opacity + old x (1 - opacity).
    virtual int BlendLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float opacity)
    {
        (void)x1, (void)y1, (void)x2, (void)y2, (void)colour, (void)opacity;
        return 0;
    }
};
