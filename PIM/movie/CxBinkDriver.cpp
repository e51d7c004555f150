#include "PIM/movie/CxBinkDriver.h"

CxMovieDriver* CxBinkDriver::Create(const char* fileName, uint32_t openFlags, intptr_t)
{
    return CreateOpened<CxBinkDriver>(fileName, openFlags);
}
