#include "game/jigsaw/JigsawLevel.h"

#include "PIM/files/CxOptions.h"

#include <algorithm>

namespace {

constexpr int kFallback = 1;

} // namespace

ST_JIGSAW_OPTIONS ReadJigsawOptions(CxOptions& options)
{
    ST_JIGSAW_OPTIONS read;
    read.firstLevel = std::clamp(options.GetInt("General", "FirstLevel", kFallback), 0, JIGSAW_MAX_PICTURE_NUMBER);
    read.lastLevel = std::clamp(options.GetInt("General", "LastLevel", kFallback), 0, JIGSAW_MAX_PICTURE_NUMBER);
    read.lastLevel = std::max(read.lastLevel, read.firstLevel);
    return read;
}

CxString JigsawOptionsProblem(CxOptions& options)
{
    const int first = options.GetInt("General", "FirstLevel", kFallback);
    const int last = options.GetInt("General", "LastLevel", kFallback);
    for (int value : {first, last}) {
        if (value < 0 || value > JIGSAW_MAX_PICTURE_NUMBER)
            return CxString::Formatted("picture number %d is outside 0 .. %d", value, JIGSAW_MAX_PICTURE_NUMBER);
    }
    if (last < first)
        return CxString::Formatted("\"LastLevel\" %d is below \"FirstLevel\" %d", last, first);
    return CxString();
}

CxString JigsawPictureName(int number)
{
    return CxString::Formatted("puzzle\\puzzle_%02d.tga", number);
}

CxString JigsawPictureSizeProblem(int width, int height)
{
    if (width < JIGSAW_MIN_PICTURE_SIDE || height < JIGSAW_MIN_PICTURE_SIDE || width > JIGSAW_MAX_PICTURE_SIDE ||
        height > JIGSAW_MAX_PICTURE_SIDE)
        return CxString::Formatted("the picture is %d x %d pixels; a puzzle needs %d .. %d each way", width, height,
                                   JIGSAW_MIN_PICTURE_SIDE, JIGSAW_MAX_PICTURE_SIDE);
    return CxString();
}
