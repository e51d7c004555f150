#pragma once
// Anything with a size in pixels that can be drawn.

#include "PIM/core/PimDefs.h"

class CxSurfaceBase
{
public:
    virtual ~CxSurfaceBase() = default;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
};
