#pragma once
// A movie decoder behind one file extension, and the registry that picks a
// driver by file name. Sprites whose picture names a registered movie
// extension are movies: the registry is their frame-source provider, and the
// driver renders the sprite's current frame into the sprite's surface.

#include "PIM/display/CxFrameSource.h"

class CxMovieDriver : public CxFrameSource
{
public:
    virtual int Open(const char* fileName, uint32_t openFlags) = 0;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    virtual int GetNativeDepth() const = 0;
    virtual int GotoFrame(int32_t index) = 0;
    virtual int SetVolume(int volume, int track) = 0;
    virtual int Command(const char* name, intptr_t argument) = 0;
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
