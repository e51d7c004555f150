// moviemaker DATA_FOLDER [--quiet]: makes the demo movies in the data folder
// (the build runs it after copying data/ beside the program). Every frame is
// painted by code (DemoMovies.cpp), so the demo ships no movie of anyone
// else's. All run at 15 fps:
//
//   common/intro.smk      3 s: a sunrise over the farm's hills, the name
//                         fading in, with a tone track.
//   common/fade0.smk      10 frames, 800 x 600 with alpha: black fading out,
//                         eased (a room appearing).
//   common/fade1.smk      10 frames, 800 x 600 with alpha: black fading in,
//                         eased (before a room is left).
//   title/rainbow.smk     2 s: a rainbow growing across the sky, then fading
//                         (alpha), played in the title room's scene.
//   title/windmill.smk    16 frames, 120 x 160 with alpha: a white windmill
//                         whose sails turn a quarter turn, looping.
//   FarmyardMenu/pond.smk 16 frames, 200 x 80 with soft alpha edges: ripples
//                         spreading from a bobbing duck on the pond, looping.
#include "PIM/core/CxError.h"
#include "tools/moviemaker/DemoMovies.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--quiet") != 0)) {
        std::fprintf(stderr, "usage: moviemaker DATA_FOLDER [--quiet]\n");
        return 2;
    }
    return MakeDemoMovies(argv[1], argc == 2) == PIM_OK ? 0 : 1;
}
