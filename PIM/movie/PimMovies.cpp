// The global movie list and its update routine, and the one-call modal
// movie of PlayMovie.
//
// Updating a movie may stop it, and stopping tells listeners that may delete
// any movie, play another one modally (which runs whole frames, and so this
// routine, from inside the walk) or make new ones. So the walk goes over a
// copy of the list taken with each movie's serial, asks again before each
// step whether the movie is still the one it copied, and the list itself is
// only taken down once no walk is running.

#include "PIM/movie/PimMovies.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/movie/CxMovie.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

struct ST_MOVIE_REF
{
    CxMovie* movie;
    uint64_t serial;
};

struct MovieList
{
    std::vector<ST_MOVIE_REF> movies;
};

MovieList* g_list = nullptr;
uint64_t g_nextSerial = 1;
int g_walkDepth = 0;

// Called only when no walk is running: a walk still holds on to the routine's pass.
void TearDownIfEmpty()
{
    if (!g_list || !g_list->movies.empty() || g_walkDepth > 0)
        return;
    RemoveMainLoopCallback(&UpdateMovies);
    delete g_list;
    g_list = nullptr;
}

// The walk's copy. Most frames have a movie or two: those fit on the stack,
// so the pass allocates nothing.
constexpr size_t kLocalRefs = 16;

} // namespace

namespace PimMovieInternal {

uint64_t AddMovie(CxMovie* movie)
{
    if (!g_list) {
        g_list = new (std::nothrow) MovieList;
        if (!g_list) {
            ReportError(PIM_ERR_OUT_OF_MEMORY, "No memory for the movie list");
            return 0;
        }
    }
    const uint64_t serial = g_nextSerial++;
    g_list->movies.push_back({movie, serial});
    // Whoever cleared the main loop since the list began gets it back here.
    if (!AddMainLoopCallback(&UpdateMovies))
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Movies cannot join the main loop: they will not play on their own");
    return serial;
}

void RemoveMovie(const CxMovie* movie)
{
    if (!g_list)
        return;
    std::vector<ST_MOVIE_REF>& movies = g_list->movies;
    movies.erase(std::remove_if(movies.begin(), movies.end(), [movie](const ST_MOVIE_REF& ref) {
                     return ref.movie == movie;
                 }),
                 movies.end());
    TearDownIfEmpty();
}

} // namespace PimMovieInternal

bool IsMovieAlive(const CxMovie* movie, uint64_t serial)
{
    if (!g_list || !movie)
        return false;
    for (const ST_MOVIE_REF& ref : g_list->movies)
        if (ref.movie == movie)
            return ref.serial == serial;
    return false;
}

size_t GetMovieCount()
{
    return g_list ? g_list->movies.size() : 0;
}

void UpdateMovies()
{
    if (!g_list || g_list->movies.empty())
        return;
    ST_MOVIE_REF local[kLocalRefs];
    std::vector<ST_MOVIE_REF> spill;
    const size_t count = g_list->movies.size();
    ST_MOVIE_REF* refs = local;
    if (count > kLocalRefs) {
        spill = g_list->movies;
        refs = spill.data();
    } else {
        std::copy(g_list->movies.begin(), g_list->movies.end(), local);
    }

    ++g_walkDepth;
    for (size_t i = 0; i < count; ++i) {
        if (!IsMovieAlive(refs[i].movie, refs[i].serial))
            continue;
        CxMovie* movie = refs[i].movie;
        if (movie->IsPlaying() && movie->GetPauseCount() <= 0)
            movie->Update();
    }
    --g_walkDepth;
    TearDownIfEmpty();
}

bool IsAnyMoviePlaying()
{
    if (!g_list)
        return false;
    return std::any_of(g_list->movies.begin(), g_list->movies.end(),
                       [](const ST_MOVIE_REF& ref) { return ref.movie->IsPlaying(); });
}

int PlayMovie(const char* fileName, int32_t x, int32_t y, bool transparent, bool fullRedraw, bool skippable)
{
    CxMovie movie;
    movie.SetFullRedraw(fullRedraw);
    movie.SetShowFirstFrame(transparent);
    movie.SetSkippable(skippable);
    int code = movie.Open(fileName, nullptr);
    if (code != PIM_OK)
        return code;
    CxDrawSurface* surface = movie.GetSurface();
    if (transparent && surface && surface->GetWidth() > 0 && surface->GetHeight() > 0)
        movie.SetTransparentColour(surface->GetPixel(0, 0));
    // In front of everything the game shows, but behind what the engine keeps above all.
    movie.SetZ(0x3FFFFFFF);
    if (CxDisplayObject* root = GetRootObject()) {
        movie.SetParent(root);
        if (x == -1 && y == -1)
            movie.CenterInParent();
        else
            movie.SetPosition(x, y, PIM_ANCHOR_TOP_LEFT);
    }
    code = movie.Play(true, !transparent);
    movie.Close();
    return code;
}
