#pragma once
// The ".SMK" driver: paletted movies at heart (native depth 8). Surfaces are
// at most 16 bits - 8 with the movie's palette when the movie is paletted -
// except for a movie with alpha, which needs 32. Open flag 0x8 decodes into
// an 8-bit surface of the driver's own (16 bits for a true-colour movie) and
// draws that onto the caller's surface. No "Pause" or "Resume".

#include "PIM/movie/CxAvDriver.h"

class CxSmackerDriver : public CxAvDriver
{
public:
    int GetNativeDepth() const override { return 8; }

    static CxMovieDriver* Create(const char* fileName, uint32_t openFlags, intptr_t userValue);

protected:
    const char* GetLibraryName() const override { return "Smack"; }
    int ChooseDepth(int depth) const override;
    bool CanPause() const override { return false; }
    bool HasOwnBufferMode() const override { return true; }
};
