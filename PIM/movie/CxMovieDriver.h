#pragma once
// A movie decoder behind one file extension, and the registry that picks a
// driver by file name. Sprites whose picture names a registered movie
// extension are movies: the driver renders the sprite's current frame into
// the sprite's surface. The drivers themselves arrive with the movie player.

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
    PIM_MOVIE_ALPHA = 0x4, // set by the driver when the movie has an alpha plane
    PIM_MOVIE_OWN_BUFFER = 0x8,
};

// Render request flags: in, then the driver's answers.
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

class CxMovieDriver : public CxObject, public CxError
{
public:
    ~CxMovieDriver() override = default;
    virtual int Open(const char* fileName, uint32_t openFlags) = 0;
    virtual void Close() = 0;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    virtual int GetNativeDepth() const = 0;
    virtual int32_t GetFrameCount() const = 0;
    virtual int GotoFrame(int32_t index) = 0;
    // The number of the last frame decoded, from 1; 0 when none.
    virtual int32_t GetLastFrame() const = 0;
    virtual int Render(ST_MOVIE_RENDER& request) = 0;
    virtual int SetVolume(int volume, int track) = 0;
    // A new, empty surface from the surface factory; null when none.
    virtual CxDrawSurface* CreateSurfaceObject() = 0;
    virtual int PrepareSurface(CxDrawSurface& surface, int depth) = 0;
    virtual int Command(const char* name, intptr_t argument) = 0;
    uint32_t GetOpenFlags() const { return m_openFlags; }

protected:
    uint32_t m_openFlags = 0;
};

constexpr int PIM_MOVIE_DRIVER_COUNT = 20;

// The create function hands back an opened driver, or null.
using PimMovieDriverCreator = CxMovieDriver* (*)(const char* fileName, uint32_t openFlags, intptr_t userValue);
// 0; 16 with "Extension MUST include the period as in '.smk'" when the
// extension does not begin with a period, and 16 (reported) when the table
// is full. The extension is kept cut to 8 characters; registering one that
// is already there (any case) replaces its create function.
int RegisterMovieDriver(const char* extension, PimMovieDriverCreator create, intptr_t userValue);
// Clears every entry whose extension equals `extension`, ignoring case.
void UnregisterMovieDriver(const char* extension);
// The driver of the first entry whose extension ends the name; null (error
// 13 "No movie filter registered for '%s'") when none results, after error
// 16 "No Load function registered for '%s'" when that entry has no create
// function.
CxMovieDriver* CreateMovieDriver(const char* fileName, uint32_t openFlags);
bool IsMovieFile(const char* fileName);
// Empties the table (tests).
void ResetMovieDrivers();
