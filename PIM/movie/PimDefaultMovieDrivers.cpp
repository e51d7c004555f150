#include "PIM/movie/PimDefaultMovieDrivers.h"

#include "PIM/core/CxError.h"
#include "PIM/movie/CxBinkDriver.h"
#include "PIM/movie/CxSmackerDriver.h"

int RegisterDefaultMovieDrivers()
{
    if (int error = RegisterMovieDriver(".BIK", CxBinkDriver::Create, 0))
        return error;
    if (int error = RegisterMovieDriver(".SMK", CxSmackerDriver::Create, 0))
        return error;
    return RegisterMovieDriver(".MKV", CxAvDriver::Create, 0);
}
