// A level dialog's option file from arbitrary bytes: the keys every dialog
// reads (its own target covers those) and the text keys the game adds
// (EndOnEnterKey, TextArea, TextColor, TextSize, <Language>Text, IconPos),
// loaded into each of the game's level dialogs, whose texts and pictures
// are then set from the same bytes and drawn once. Whatever the file says,
// the text stays within its bound, its area is a real one of sane size,
// the colour is a colour, and drawing ends.
#include "DAX/base/CDaxServices.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzPicture.h"
#include "game/common/CStartLevelDialog.h"
#include "game/common/CWinLevelDialog.h"
#include "game/common/CYesNoDialog.h"

#include <cstring>
#include <string>

namespace {

struct ST_FUZZ_WORLD
{
    fuzz::MountedFolder folder{"<Fuzz>"};
    CxDrawSurface screen;
    ST_FUZZ_WORLD()
    {
        SetErrorHandler({&fuzz::Quiet, nullptr});
        SetTraceToStdout(false);
        RegisterDefaultImageFilters();
        folder.Picture("icon.tga", 1, 20, 20, 32, 0x30);
        fuzz::Check(InitDisplay(CxSize(320, 240), 1) == PIM_OK);
        fuzz::Check(screen.Create(320, 240, 16, -1, nullptr, PIM_LAYOUT_565) == PIM_OK);
    }
    ~ST_FUZZ_WORLD() { ShutdownDisplay(); }
};

ST_FUZZ_WORLD& World()
{
    static ST_FUZZ_WORLD world;
    return world;
}

void CheckText(CLocalizedDialog& dialog, ST_FUZZ_WORLD& world)
{
    fuzz::Check(std::strlen(dialog.GetText()) <= size_t(GAME_DIALOG_TEXT_MAX));
    const CxRect& area = dialog.GetTextArea();
    fuzz::Check(area.right >= area.left && area.bottom >= area.top);
    fuzz::Check(area.right - area.left <= 4096 && area.bottom - area.top <= 4096);
    fuzz::Check(dialog.GetTextColour() <= 0x00FFFFFFu);
    fuzz::Check(dialog.GetTextSize() >= 1 && dialog.GetTextSize() <= 400);
    // Drawn once over the screen, as a frame would.
    GetRootObject()->AddChild(&dialog);
    dialog.Show();
    RedrawAll(world.screen);
    dialog.Detach();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ST_FUZZ_WORLD& world = World();
    if (!world.folder.Write("dialog.ini", data, size))
        return 0;
    const std::string file = world.folder.Tagged("dialog.ini");
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        CStartLevelDialog dialog;
        dialog.LoadDialog(file.c_str());
        dialog.SetTitle(text.c_str());
        dialog.SetIcon(world.folder.Tagged("icon.tga").c_str());
        dialog.SetPreview(text.c_str());
        CheckText(dialog, world);
    }
    {
        CWinLevelDialog dialog;
        dialog.LoadDialog(file.c_str());
        dialog.SetText(text.c_str());
        const CxPoint at = dialog.GetIconPos();
        fuzz::Check(at.x >= -DAX_COORDINATE_LIMIT && at.x <= DAX_COORDINATE_LIMIT);
        CheckText(dialog, world);
    }
    {
        CYesNoDialog dialog;
        dialog.LoadDialog(file.c_str());
        CheckText(dialog, world);
    }
    fuzz::Check(CLocalizedDialog::ScanColour(text.c_str(), 0x00F8E8C8) <= 0x00FFFFFFu);
    // Missing pictures are reported; three would end a real game, not this run.
    SetErrorCount(0);
    return 0;
}
