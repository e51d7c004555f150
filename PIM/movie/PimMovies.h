#pragma once
// Every CxMovie in existence, in one process-wide list, and the routine that
// steps the playing ones once per main-loop pass. The first movie made adds
// the routine to the main loop; the last one destroyed takes it out again.

#include "PIM/core/PimDefs.h"

class CxMovie;

// Plays `fileName` modally in front of everything and closes it: centred in
// the root when x and y are both -1, else at (x, y). `transparent` shows the
// first frame at once and keys out the colour of its top-left pixel (the
// screen is then not cleared under the movie first). The code of Open or Play.
int PlayMovie(const char* fileName, int32_t x, int32_t y, bool transparent, bool fullRedraw, bool skippable);
bool IsAnyMoviePlaying();

// The main-loop routine: Update for every playing, unpaused movie. Listeners
// told from inside it may delete movies, any of them.
void UpdateMovies();
size_t GetMovieCount();
// True when `movie` is in the list and is still the movie numbered `serial`.
bool IsMovieAlive(const CxMovie* movie, uint64_t serial);

// For CxMovie: joins the list and returns the movie's serial (0 when memory
// for the entry could not be had), and leaves it.
namespace PimMovieInternal {
uint64_t AddMovie(CxMovie* movie);
void RemoveMovie(const CxMovie* movie);
} // namespace PimMovieInternal
