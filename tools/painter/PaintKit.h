#pragma once
// What every painter of the demo pictures shares: colours in the form the
// surfaces take them, a few shapes beyond the surface's own, and the record
// of one picture (where it goes, what it is, and the function that paints
// it). Each room or character has its file of painters (TitlePictures.cpp,
// FarmerPictures.cpp, ...), which lists its pictures; DemoPainter.cpp
// paints every list.

#include "PIM/core/CxPoint.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <cstdint>
#include <span>

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t Argb(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);
// A colour as the surface's pixel operations take it: 32-bit surfaces get
// full alpha, and 24-bit pixel values read their first byte in memory
// (blue) as the most significant, unlike MakeColour's.
uint32_t Colour(const CxDrawSurface& s, uint8_t red, uint8_t green, uint8_t blue);
void FillRect(CxDrawSurface& s, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);
// An ellipse of radii rx, ry around (cx, cy), filled row by row.
void FillEllipse(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour);
// A thick line: circles of `radius` along it.
void ThickLine(CxDrawSurface& s, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int radius, uint32_t colour);
// A filled triangle.
void FillTriangle(CxDrawSurface& s, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  uint32_t colour);
// A filled polygon of `count` corners (any shape: a row is inside between
// every other crossing of the outline).
void FillPolygon(CxDrawSurface& s, const CxPoint* corners, int count, uint32_t colour);
// Makes `s` a `width` x `height` picture of `depth` bits filled with the key
// colour magenta (or fully transparent at 32 bits), the key set.
void StartKeyed(CxDrawSurface& s, int32_t width, int32_t height, int depth);
// Softens every outline of a 32-bit picture: an opaque pixel next to the
// clear outside becomes half see-through.
void SoftenEdges(CxDrawSurface& s);

// Starts a strip font of the digits: 24-bit on a magenta key, the top row
// marking where each glyph starts (the engine's bitmap fonts cut it there).
// Glyph i has code i, so 48 one-pixel empty glyphs come first and the digit
// d starts at column DigitCell(d, cellWidth). The markers take pixel (0, 0)'s
// colour; everything else in the top row must stay key.
void StartDigitStrip(CxDrawSurface& s, int32_t cellWidth, int32_t height);
constexpr int32_t DigitCell(int digit, int32_t cellWidth)
{
    return '0' + digit * cellWidth;
}

struct ST_DEMO_PICTURE
{
    const char* path; // relative to the data folder
    void (*paint)(CxDrawSurface& s);
    // What the tests check the painted file against.
    int32_t width;
    int32_t height;
    int depth;
};

// The pictures of each painter file.
std::span<const ST_DEMO_PICTURE> TitlePictures();
std::span<const ST_DEMO_PICTURE> FarmerPictures();
std::span<const ST_DEMO_PICTURE> PropPictures();
std::span<const ST_DEMO_PICTURE> ButtonPictures();
std::span<const ST_DEMO_PICTURE> CreditsPictures();
std::span<const ST_DEMO_PICTURE> YesNoButtonPictures();
std::span<const ST_DEMO_PICTURE> CommonPictures();
std::span<const ST_DEMO_PICTURE> FarmyardPictures();
std::span<const ST_DEMO_PICTURE> CursorPictures();
std::span<const ST_DEMO_PICTURE> DialogPictures();
std::span<const ST_DEMO_PICTURE> ActivityCenterPictures();
std::span<const ST_DEMO_PICTURE> FairgroundPictures();
std::span<const ST_DEMO_PICTURE> FairgroundSprites();
std::span<const ST_DEMO_PICTURE> LoginPictures();
std::span<const ST_DEMO_PICTURE> OptionsPictures();
std::span<const ST_DEMO_PICTURE> PigPenPictures();
std::span<const ST_DEMO_PICTURE> BaleOutPictures();
std::span<const ST_DEMO_PICTURE> CroquetPictures();
std::span<const ST_DEMO_PICTURE> CroquetSprites();
std::span<const ST_DEMO_PICTURE> PuzzlePictures();
std::span<const ST_DEMO_PICTURE> QuizPictures();
std::span<const ST_DEMO_PICTURE> PaintRoomPictures();
std::span<const ST_DEMO_PICTURE> PigsOutPictures();
std::span<const ST_DEMO_PICTURE> PigsOutSprites();
// Not demo data: the program's icons for the desktop (painter --icons).
std::span<const ST_DEMO_PICTURE> IconPictures();
