// The game layer's configuration file from arbitrary bytes, read the quiet
// way the application reads "dax.ini", and its "Cursors" lines registered
// as the application registers them, from a mounted folder made at start
// (a 16-bit picture, a 32-bit one, a strip). The bytes are also parsed as
// one cursor line by themselves. Whatever the file says: at most
// DAX_CURSORS_MAX cursors, numbered one after another from
// DAX_FIRST_CURSOR_ID, each registered with its hot spot inside its
// picture, each name answering a number no later than its own, and a parsed
// line that claims three fields holds a picture name within the game path's
// input limit.
#include "DAX/app/CDaxCursorNames.h"
#include "DAX/app/DaxConfigFile.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/CxCursorImage.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzPicture.h"

#include <string>

namespace {

struct ST_FUZZ_WORLD
{
    fuzz::MountedFolder folder{"<Cur>"};

    ST_FUZZ_WORLD()
    {
        RegisterDefaultImageFilters();
        folder.Picture("arrow.tga", 1, 12, 16, 16, 0x30);
        folder.Picture("glow.tga", 1, 20, 10, 32, 0x30);
        folder.Picture("spin.tga", 4, 8, 8, 24, 0x30);
    }
};

ST_FUZZ_WORLD& World()
{
    static ST_FUZZ_WORLD world;
    return world;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        SetErrorHandler({&fuzz::Quiet, nullptr});
        SetTraceToStdout(false);
        return World().folder.IsMounted();
    }();
    if (!ready || !World().folder.Write("input.ini", data, size))
        return 0;

    const std::string line(reinterpret_cast<const char*>(data), size);
    int hotX = 0, hotY = 0;
    CxString file;
    const int fields = CDaxCursorNames::ParseEntry(line.c_str(), hotX, hotY, file);
    fuzz::Check(fields >= 0 && fields <= 3);
    fuzz::Check(fields < 3 || (file.Length() > 0 && file.Length() <= PIM_GAME_PATH_INPUT_MAX));

    CxOptions options;
    DaxLoadConfigFile(options, "<Cur>input.ini");
    fuzz::Check(InitCursors(true, 16, PIM_LAYOUT_565) == PIM_OK);
    CDaxCursorNames names;
    const int count = names.Load(options);
    fuzz::Check(count >= 0 && count <= DAX_CURSORS_MAX);
    fuzz::Check(static_cast<size_t>(count) == names.GetCount());
    for (int i = 0; i < count; ++i) {
        const int id = DAX_FIRST_CURSOR_ID + i;
        const CxCursorImage* cursor = FindCursor(id);
        fuzz::Check(cursor != nullptr);
        const CxPoint hot = cursor->GetHotSpot();
        const CxDrawSurface* picture = cursor->GetSurface();
        fuzz::Check(hot.x >= 0 && hot.y >= 0 && hot.x < picture->GetWidth() && hot.y < picture->GetHeight());
        const int answer = names.GetId(names.GetName(static_cast<size_t>(i)));
        fuzz::Check(answer >= DAX_FIRST_CURSOR_ID && answer <= id);
    }
    fuzz::Check(FindCursor(DAX_FIRST_CURSOR_ID + count) == nullptr);
    if (count > 0)
        fuzz::Check(GetCursor() == DAX_FIRST_CURSOR_ID + count - 1);
    ShutdownCursors();
    return 0;
}
