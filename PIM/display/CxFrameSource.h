#pragma once
// What a sprite needs of a movie: frames rendered into a surface the source
// prepares. The display floor knows nothing of decoders; the movie floor's
// driver registry installs itself as the provider when a driver registers,
// and from then on a sprite whose picture names a movie extension gets its
// frames from a driver (CxMovieDriver, PIM/movie).

#include "PIM/core/CxError.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/PimDefs.h"

class CxDrawSurface;

// Open flags.
enum : uint32_t
{
    PIM_MOVIE_PRELOAD = 0x1,
    PIM_MOVIE_SOUND = 0x2,
    PIM_MOVIE_ALPHA = 0x4, // set by the source when its frames have an alpha plane
    PIM_MOVIE_OWN_BUFFER = 0x8,
};

// Render request flags: in, then the source's answers.
enum : uint32_t
{
    PIM_RENDER_SEQUENTIAL = 0x1,
    PIM_RENDER_TIMED = 0x2,
    PIM_RENDER_NOT_YET = 0x20000000u,
    PIM_RENDER_DECODED = 0x40000000u,
    PIM_RENDER_SKIPPED = 0x80000000u,
};

struct ST_MOVIE_RENDER
{
    uint32_t flags = 0;
    CxDrawSurface* surface = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t frame = 0;
    // Filled with the changed parts of the surface when given.
    CxRect* changed = nullptr;
    int changedCapacity = 0;
    int changedCount = 0;
};

class CxFrameSource : public CxObject, public CxError
{
public:
    ~CxFrameSource() override = default;
    virtual void Close() = 0;
    virtual int32_t GetFrameCount() const = 0;
    // The number of the last frame decoded, from 1; 0 when none.
    virtual int32_t GetLastFrame() const = 0;
    virtual int Render(ST_MOVIE_RENDER& request) = 0;
    // A new, empty surface from the surface factory; null when none.
    virtual CxDrawSurface* CreateSurfaceObject() = 0;
    virtual int PrepareSurface(CxDrawSurface& surface, int depth) = 0;
    uint32_t GetOpenFlags() const { return m_openFlags; }

protected:
    uint32_t m_openFlags = 0;
};

// Whether a file name is a movie, and an opened source for it (null when
// none could be made; the provider has reported why).
using PimFrameSourceMatcher = bool (*)(const char* fileName);
using PimFrameSourceOpener = CxFrameSource* (*)(const char* fileName, uint32_t openFlags);
void SetFrameSourceProvider(PimFrameSourceMatcher matcher, PimFrameSourceOpener opener);
// False, and null, while no provider is installed: every picture is a still.
bool IsFrameSourceFile(const char* fileName);
CxFrameSource* OpenFrameSource(const char* fileName, uint32_t openFlags);
