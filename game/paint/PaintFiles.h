#pragma once
// The paint room's pictures, by the names the room loads them under: the
// six tool buttons with their places, the crayon and sticker-set buttons,
// the stickers with their row buttons, and the room's fifteen cursors.
// The room and the data checker read them from here, so a renamed picture
// is missed by both or by neither.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"
#include "game/common/GameCursors.h"

#include <span>
#include <vector>

enum : int
{
    PAINT_ENGINE_PRINT,
    PAINT_ENGINE_DELETE,
    PAINT_ENGINE_SAVE,
    PAINT_ENGINE_PREVIOUS,
    PAINT_ENGINE_NEXT,
    PAINT_ENGINE_NEXT_SPARE, // a second "next" that stays hidden
    PAINT_ENGINE_COUNT,
};

struct ST_PAINT_ENGINE_BUTTON
{
    const char* name;
    const char* file;
    CxPoint position;
    bool shown;
};

// The sticker row's buttons are at most this wide, so four fit between the arrows.
constexpr int32_t PAINT_ROW_BUTTON_MAX_WIDTH = 66;

std::span<const ST_PAINT_ENGINE_BUTTON> PaintEngineButtons();
std::span<const ST_GAME_CURSOR> PaintCursors();
// "art\pt_colrbut<i>.tga" and "art\pt_charbut<j>.tga".
CxString PaintCrayonButtonFile(int crayon);
CxString PaintSetButtonFile(int set);
// "art\pr_stick<set><nn>.tga", or its row button "art\pr_stickbut<set><nn>.tga".
CxString PaintStickerFile(int set, int number, bool button);
// The 22 buttons' pictures: the tools (the spare "next" too), crayons and sets.
std::vector<CxString> PaintButtonFiles();
