#pragma once
// The demo movies, painted frame by frame in code (see Main.cpp for the
// list): what the moviemaker writes, and what the tests check it against.

#include "tools/moviemaker/MovieWriter.h"

#include <vector>

struct ST_DEMO_MOVIE
{
    const char* path; // relative to the data folder
    ST_MOVIE_PLAN plan;
};

// Every demo movie, in the order made. The plans' painters may be asked for
// any frame, also past the last one (a looping movie's next frame is its
// first one again).
std::vector<ST_DEMO_MOVIE> GetDemoMovies();

// Writes every demo movie under `dataFolder` (making its folders) and
// returns 0, or the first error code met. `verbose` lists what was written.
int MakeDemoMovies(const char* dataFolder, bool verbose);
