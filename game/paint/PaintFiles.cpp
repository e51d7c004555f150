#include "game/paint/PaintFiles.h"

#include "game/paint/PaintModel.h"

namespace {

constexpr ST_PAINT_ENGINE_BUTTON kEngineButtons[PAINT_ENGINE_COUNT] = {
    {"Print", "art\\pt_prntbut.tga", {623, 533}, true},
    {"Delete", "art\\pt_delbut.tga", {739, 533}, true},
    {"Save", "art\\pt_savebut.tga", {681, 533}, true},
    {"Previous", "art\\pt_prevbut.tga", {206, 518}, true},
    {"Next", "art\\pt_nextbut.tga", {544, 517}, true},
    {"NextSpare", "art\\pt_nextbut.tga", {755, 517}, false},
};

constexpr ST_GAME_CURSOR kCursors[] = {
    {100, "art\\pt_curcolr0.tga", 0, 0, 0, 29}, {101, "art\\pt_curcolr1.tga", 0, 0, 0, 29},
    {102, "art\\pt_curcolr2.tga", 0, 0, 0, 29}, {103, "art\\pt_curcolr3.tga", 0, 0, 0, 29},
    {104, "art\\pt_curcolr4.tga", 0, 0, 0, 29}, {105, "art\\pt_curcolr5.tga", 0, 0, 0, 29},
    {106, "art\\pt_curcolr6.tga", 0, 0, 0, 29}, {107, "art\\pt_curcolr7.tga", 0, 0, 0, 29},
    {108, "art\\pt_curcolr8.tga", 0, 0, 0, 29}, {109, "art\\pt_curcolr9.tga", 0, 0, 0, 29},
    {PAINT_CURSOR_HAND, "art\\pt_curhand.tga", 0, 0, 5, 0},
    {PAINT_CURSOR_PAINT, "art\\pt_curpaint.tga", 0, 0, 0, 29},
    {PAINT_CURSOR_OVER_STICKER, "art\\pt_curgrab0.tga", 0, 0, 10, 10},
    {PAINT_CURSOR_HOLD_STICKER, "art\\pt_curgrab1.tga", 0, 0, 10, 10},
    {PAINT_CURSOR_ERASE, "art\\pt_curerase.tga", 0, 0, 10, 10},
};

} // namespace

std::span<const ST_PAINT_ENGINE_BUTTON> PaintEngineButtons()
{
    return kEngineButtons;
}

std::span<const ST_GAME_CURSOR> PaintCursors()
{
    return kCursors;
}

CxString PaintCrayonButtonFile(int crayon)
{
    return CxString::Formatted("art\\pt_colrbut%d.tga", crayon);
}

CxString PaintSetButtonFile(int set)
{
    return CxString::Formatted("art\\pt_charbut%d.tga", set);
}

CxString PaintStickerFile(int set, int number, bool button)
{
    return CxString::Formatted(button ? "art\\pr_stickbut%d%02d.tga" : "art\\pr_stick%d%02d.tga", set, number);
}

std::vector<CxString> PaintButtonFiles()
{
    std::vector<CxString> files;
    for (const ST_PAINT_ENGINE_BUTTON& button : kEngineButtons)
        files.emplace_back(button.file);
    for (int i = 0; i < PAINT_CRAYON_COUNT; ++i)
        files.push_back(PaintCrayonButtonFile(i));
    for (int j = 0; j < PAINT_SET_COUNT; ++j)
        files.push_back(PaintSetButtonFile(j));
    return files;
}
