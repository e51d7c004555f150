#include "PIM/movie/CxSmackerDriver.h"

#include "PIM/graphics/PimPixelFormat.h"

CxMovieDriver* CxSmackerDriver::Create(const char* fileName, uint32_t openFlags, intptr_t)
{
    return CreateOpened<CxSmackerDriver>(fileName, openFlags);
}

int CxSmackerDriver::ChooseDepth(int depth) const
{
    // An alpha plane needs the one depth that carries it.
    if (m_movie.HasAlpha())
        return 32;
    if (IsValidDepth(depth) && depth <= 8 && m_movie.IsPaletted())
        return 8;
    return 16;
}
