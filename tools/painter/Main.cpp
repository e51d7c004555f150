// painter DATA_FOLDER: paints the demo pictures and makes the demo sounds in
// the data folder, and turns the bale game's text maps and the pig run's
// level texts into their level files (the build runs it after copying data/
// beside the program).
// painter --icons FOLDER: paints the program's desktop icons there instead.
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "tools/painter/BaleOutLevels.h"
#include "tools/painter/DemoPainter.h"
#include "tools/painter/DemoSounds.h"
#include "tools/painter/PigsOutLevels.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: painter DATA_FOLDER [--quiet]\n       painter --icons FOLDER\n");
        return 2;
    }
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        SetTraceToStdout(false);
        const int icons = PaintPictures(IconPictures(), argv[2], false);
        if (icons != PIM_OK)
            std::fprintf(stderr, "painter: %s\n", ErrorText(icons));
        return icons == PIM_OK ? 0 : 1;
    }
    const bool verbose = !(argc == 3 && std::strcmp(argv[2], "--quiet") == 0);
    SetTraceToStdout(verbose);
    int code = PaintDemoPictures(argv[1], verbose);
    const int sounds = MakeDemoSounds(argv[1], verbose);
    const int levels = MakeBaleOutLevels(argv[1], verbose);
    const int runs = MakePigsOutLevels(argv[1], verbose);
    if (code == 0)
        code = sounds;
    if (code == 0)
        code = levels;
    if (code == 0)
        code = runs;
    if (code != PIM_OK)
        std::fprintf(stderr, "painter: %s\n", ErrorText(code));
    return code == PIM_OK ? 0 : 1;
}
