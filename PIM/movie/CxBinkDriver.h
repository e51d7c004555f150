#pragma once
// The ".BIK" driver: true-colour movies (native depth 32), surfaces of the
// caller's depth with 32 bits made 24 unless the movie has alpha, and the
// "Pause" / "Resume" commands.

#include "PIM/movie/CxAvDriver.h"

class CxBinkDriver : public CxAvDriver
{
public:
    int GetNativeDepth() const override { return 32; }

    static CxMovieDriver* Create(const char* fileName, uint32_t openFlags, intptr_t userValue);

protected:
    const char* GetLibraryName() const override { return "Bink"; }
};
