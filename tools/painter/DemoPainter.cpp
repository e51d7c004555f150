// The demo pictures. Everything is drawn from rectangles, lines and circles
// so that the pictures stay small to describe and exact to reproduce: the
// same build paints the same bytes. Each room's pictures are painted in its
// own file (TitlePictures.cpp, FarmerPictures.cpp, ...); this one paints
// them all.
#include "tools/painter/DemoPainter.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/image/PimImageFilters.h"
#include "tools/painter/PaintKit.h"
#include "tools/painter/PcxWriter.h"

#include <filesystem>
#include <string>
#include <vector>

std::vector<ST_DEMO_PICTURE> GetDemoPictures()
{
    std::vector<ST_DEMO_PICTURE> all;
    for (auto list : {TitlePictures(), FarmerPictures(), PropPictures(), ButtonPictures(), CreditsPictures(),
                      YesNoButtonPictures(), CommonPictures(), FarmyardPictures(), CursorPictures(),
                      DialogPictures(),
                      FairgroundPictures(), FairgroundSprites(), ActivityCenterPictures(),
                      LoginPictures(),
                      OptionsPictures(), PigPenPictures(), BaleOutPictures(),
                      CroquetPictures(), CroquetSprites(),
                      PuzzlePictures(), QuizPictures(), PaintRoomPictures(),
                      PigsOutPictures(), PigsOutSprites()})
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

int PaintDemoPictures(const char* dataFolder, bool verbose)
{
    return PaintPictures(GetDemoPictures(), dataFolder, verbose);
}

int PaintPictures(std::span<const ST_DEMO_PICTURE> pictures, const char* dataFolder, bool verbose)
{
    RegisterDefaultImageFilters();
    int result = PIM_OK;
    for (const ST_DEMO_PICTURE& entry : pictures) {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / entry.path;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        CxDrawSurface picture;
        entry.paint(picture);
        // A path of the system's own, whatever mounts exist.
        const std::string target = "<DEFAULT>" + path.string();
        int code = picture.GetError();
        // The engine reads PCX but writes none, so the painter has its own writer.
        if (code == PIM_OK)
            code = MatchesExtension(entry.path, ".pcx") ? SavePcx(picture, target.c_str())
                                                        : picture.Save(target.c_str(), 1); // run-length coded
        if (code != PIM_OK && result == PIM_OK)
            result = code;
        if (verbose)
            Trace("%s %s\n", code == PIM_OK ? "painted" : "FAILED", path.string().c_str());
    }
    return result;
}
