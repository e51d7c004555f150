#pragma once
// Anything with a size in pixels that can be drawn.

#include "PIM/core/PimDefs.h"

class CxDrawSurface;

class CxSurfaceBase
{
public:
    virtual ~CxSurfaceBase() = default;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    // The draw surface this is, or null: cheaper than a dynamic_cast, which
    // every blit through a render target would pay.
    virtual CxDrawSurface* AsDrawSurface() { return nullptr; }
};
