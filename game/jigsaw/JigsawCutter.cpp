#include "game/jigsaw/JigsawCutter.h"

#include "PIM/core/CxError.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "game/jigsaw/JigsawLevel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

uint16_t* Row(CxDrawSurface& surface, uint8_t* bits, int32_t y)
{
    return reinterpret_cast<uint16_t*>(bits + static_cast<ptrdiff_t>(y) * surface.GetPitch());
}

// A knob or notch: a filled circle, then a fill from the inner ends of its
// middle line. The circle already holds the value there, so the fills only
// matter to a circle the primitives drew with gaps; they are kept for that.
void DrawKnob(CxDrawSurface& mask, CxPoint centre, int radius, bool across, uint32_t value)
{
    mask.FillCircle(centre, radius, value);
    if (across) {
        mask.FloodFill(centre.x - radius + 1, centre.y, value);
        mask.FloodFill(centre.x + radius - 1, centre.y, value);
    } else {
        mask.FloodFill(centre.x, centre.y - radius + 1, value);
        mask.FloodFill(centre.x, centre.y + radius - 1, value);
    }
}

// The mask of piece (a, b) on `mask`, already made W x H.
void DrawMask(CxDrawSurface& mask, const ST_JIGSAW_SEAMS& seams, int a, int b, int pw, int ph)
{
    const int w = mask.GetWidth(), h = mask.GetHeight();
    mask.FillRect(mask.GetRect(), JIGSAW_OUTSIDE);
    mask.FillRect(CxRect(JIGSAW_MARGIN, JIGSAW_MARGIN, pw + JIGSAW_MARGIN - 1, ph + JIGSAW_MARGIN - 1), JIGSAW_INSIDE);
    // A seam's circle is the later piece's knob when its radius is above 0:
    // on the later piece (its left or top side) it is added, on the earlier
    // one (right or bottom side) it is cut away.
    auto side = [&](const ST_JIGSAW_SEAM& seam, CxPoint centre, bool later, bool across) {
        const bool knob = (seam.radius > 0) == later;
        DrawKnob(mask, centre, std::abs(seam.radius), across, knob ? JIGSAW_INSIDE : JIGSAW_OUTSIDE);
    };
    if (a > 0) {
        const ST_JIGSAW_SEAM& s = seams.vertical[a - 1][b];
        side(s, {JIGSAW_MARGIN - s.offset, h / 2}, true, true);
    }
    if (a < JIGSAW_COLUMNS - 1) {
        const ST_JIGSAW_SEAM& s = seams.vertical[a][b];
        side(s, {pw - s.offset + JIGSAW_MARGIN, h / 2}, false, true);
    }
    if (b > 0) {
        const ST_JIGSAW_SEAM& s = seams.horizontal[a][b - 1];
        side(s, {w / 2, JIGSAW_MARGIN - s.offset}, true, false);
    }
    if (b < JIGSAW_ROWS - 1) {
        const ST_JIGSAW_SEAM& s = seams.horizontal[a][b];
        side(s, {w / 2, ph - s.offset + JIGSAW_MARGIN}, false, false);
    }
}

// The picture's pixels on the mask's inside. The piece's surface starts at
// picture (a * pw - 65, b * ph - 65); inside pixels that fall off the
// picture (a knob reaching past its edge on small pieces) stay 0.
int Compose(CxDrawSurface& piece, CxDrawSurface& picture, int left, int top)
{
    uint8_t* pieceBits = piece.LockBits();
    uint8_t* pictureBits = picture.LockBits();
    if (pieceBits && pictureBits) {
        const int w = piece.GetWidth(), h = piece.GetHeight();
        const int pictureW = picture.GetWidth(), pictureH = picture.GetHeight();
        const int from = std::clamp(-left, 0, w), to = std::clamp(pictureW - left, 0, w);
        for (int y = 0; y < h; ++y) {
            uint16_t* out = Row(piece, pieceBits, y);
            const int py = top + y;
            const uint16_t* in = py >= 0 && py < pictureH ? Row(picture, pictureBits, py) + left : nullptr;
            for (int x = 0; x < w; ++x) {
                if (out[x] == JIGSAW_INSIDE)
                    out[x] = in && x >= from && x < to ? in[x] : 0;
            }
        }
    }
    picture.UnlockBits();
    piece.UnlockBits();
    if (!pieceBits)
        return piece.GetError() ? piece.GetError() : PIM_ERR_OUT_OF_MEMORY;
    return pictureBits ? PIM_OK : (picture.GetError() ? picture.GetError() : PIM_ERR_OUT_OF_MEMORY);
}

} // namespace

int JigsawOutlinePiece(CxDrawSurface& surface, uint32_t key)
{
    if (surface.GetDepth() != 16)
        return ReportError(PIM_ERR_BAD_ARG, "OutlinePiece: a piece is 16-bit, not %d-bit", surface.GetDepth());
    const int w = surface.GetWidth(), h = surface.GetHeight();
    if (w < 3 || h < 3)
        return PIM_OK;
    uint8_t* bits = surface.LockBits();
    if (!bits) {
        surface.UnlockBits();
        return surface.GetError() ? surface.GetError() : PIM_ERR_OUT_OF_MEMORY;
    }
    // Each row's neighbours as they were: the row above before this pass
    // changed it, the row itself and the one below still untouched.
    std::vector<uint16_t> above(Row(surface, bits, 0), Row(surface, bits, 0) + w);
    std::vector<uint16_t> here(static_cast<size_t>(w));
    for (int y = 1; y < h - 1; ++y) {
        uint16_t* row = Row(surface, bits, y);
        const uint16_t* below = Row(surface, bits, y + 1);
        std::copy(row, row + w, here.begin());
        for (int x = 1; x < w - 1; ++x) {
            const uint32_t v = here[static_cast<size_t>(x)];
            if (v == key || v == 0)
                continue;
            if (here[static_cast<size_t>(x - 1)] == key || here[static_cast<size_t>(x + 1)] == key ||
                above[static_cast<size_t>(x)] == key || below[x] == key)
                row[x] = 0;
        }
        above.swap(here);
    }
    surface.UnlockBits();
    return PIM_OK;
}

int JigsawCutPicture(CxDrawSurface& picture, const ST_JIGSAW_SEAMS& seams, JigsawPieceSurfaces& pieces)
{
    for (auto& piece : pieces)
        piece.reset();
    const int pictureW = picture.GetWidth(), pictureH = picture.GetHeight();
    // The caller says what is wrong with the picture, and names it.
    if (!JigsawPictureSizeProblem(pictureW, pictureH).IsEmpty())
        return PIM_ERR_BAD_ARG;

    // The pieces are 16-bit; the picture is brought to their format once.
    CxDrawSurface work;
    if (work.CreateCopy(picture) != PIM_OK || work.ConvertFormat(16, PIM_LAYOUT_DEFAULT) != PIM_OK)
        return work.GetError() ? work.GetError() : PIM_ERR_OUT_OF_MEMORY;
    // The picture's own pixels of the outside's value would be holes.
    work.ReplaceColour(JIGSAW_OUTSIDE, JIGSAW_OUTSIDE_STANDIN);

    const int pw = pictureW / JIGSAW_COLUMNS, ph = pictureH / JIGSAW_ROWS;
    const int w = pw + 2 * JIGSAW_MARGIN, h = ph + 2 * JIGSAW_MARGIN;
    int code = PIM_OK;
    for (int a = 0; a < JIGSAW_COLUMNS && code == PIM_OK; ++a) {
        for (int b = 0; b < JIGSAW_ROWS && code == PIM_OK; ++b) {
            auto piece = std::make_unique<CxDrawSurface>();
            code = piece->Create(w, h, 16);
            if (code != PIM_OK)
                break;
            piece->FillRect(piece->GetRect(), 0);
            DrawMask(*piece, seams, a, b, pw, ph);
            code = Compose(*piece, work, a * pw - JIGSAW_MARGIN, b * ph - JIGSAW_MARGIN);
            if (code != PIM_OK)
                break;
            const uint32_t key = piece->GetPixel(0, 0);
            piece->SetTransparentColour(key);
            code = JigsawOutlinePiece(*piece, key);
            pieces[static_cast<size_t>(a * JIGSAW_ROWS + b)] = std::move(piece);
        }
    }
    if (code != PIM_OK) {
        for (auto& piece : pieces)
            piece.reset();
    }
    return code;
}
