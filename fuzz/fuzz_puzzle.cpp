// The jigsaw from arbitrary bytes: read as its room file, then the first
// bytes give a small 16-bit picture (its size, then its pixels, the bytes
// over and over) that is cut into pieces, and the rest a run of clicks,
// drags and drops on the rules. Whatever the bytes, the numbers stay in
// their range, a picture the reader refuses gives no pieces, the pieces'
// surfaces are the size the rules say, and the pieces' depths keep the one
// in hand on top, placed ones below, and only placed ones in their places.
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "fuzz/FuzzPicture.h"
#include "game/jigsaw/JigsawCutter.h"
#include "game/jigsaw/JigsawLevel.h"
#include "game/jigsaw/JigsawModel.h"

namespace {

// Pictures up to this size each way keep a run quick; 0..2 are refused.
constexpr int kSideMax = 200;

uint8_t At(const uint8_t* data, size_t size, size_t i)
{
    return size ? data[i % size] : 0;
}

void CutPicture(const uint8_t* data, size_t size, CJigsawModel& model)
{
    const int w = At(data, size, 0) % kSideMax, h = At(data, size, 1) % kSideMax;
    CxDrawSurface picture;
    if (picture.Create(w, h, 16) != PIM_OK)
        return;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = 2 + static_cast<size_t>(y * w + x) * 2;
            picture.SetPixel(x, y, At(data, size, i) | uint32_t{At(data, size, i + 1)} << 8);
        }
    JigsawPieceSurfaces pieces;
    const bool usable = JigsawPictureSizeProblem(w, h).IsEmpty();
    const int code = JigsawCutPicture(picture, DrawJigsawSeams(), pieces);
    fuzz::Check((code == PIM_OK) == usable);
    model.ClearPieces();
    if (code != PIM_OK) {
        for (const auto& piece : pieces)
            fuzz::Check(piece == nullptr);
        return;
    }
    for (const auto& piece : pieces) {
        fuzz::Check(piece && piece->GetWidth() == w / 3 + 2 * JIGSAW_MARGIN &&
                    piece->GetHeight() == h / 3 + 2 * JIGSAW_MARGIN);
        fuzz::Check(piece->GetTransparentColour() == JIGSAW_OUTSIDE);
    }
    model.LayPieces(w / 3, h / 3);
}

void CheckPieces(const CJigsawModel& model)
{
    if (!model.HasPieces())
        return;
    for (int i = 0; i < JIGSAW_PIECES; ++i) {
        const ST_JIGSAW_PIECE& p = model.GetPiece(i);
        fuzz::Check(p.z < 0x80000000u);
        fuzz::Check((p.z == JIGSAW_Z_HELD) == (i == model.GetHeld()));
        fuzz::Check(p.placed == (p.z == JIGSAW_Z_PLACED));
        if (p.placed)
            fuzz::Check(p.position == p.solution);
    }
}

void RunRules(const uint8_t* data, size_t size, CJigsawModel& model)
{
    // Three bytes a step: what to do, and where, at most 300 steps.
    for (size_t i = 0; i + 2 < size && i < 900; i += 3) {
        const CxPoint point{data[i + 1] * 4 - 200, data[i + 2] * 3 - 100};
        switch (data[i] % 4) {
        case 0: {
            std::vector<int> under;
            for (int k = 0; k < 4; ++k)
                under.push_back(static_cast<int>(data[(i + k) % size] % 12) - 1);
            model.PickUp(under, point);
            break;
        }
        case 1:
            model.MoveHeld(point);
            break;
        case 2:
            if (model.GetHeld() >= 0)
                model.MoveHeld(model.GetPiece(model.GetHeld()).solution); // a good drop
            model.Drop();
            break;
        default:
            model.Drop();
            break;
        }
        CheckPieces(model);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    CxOptions options;
    fuzz::Check(options.ReadFromBuffer(reinterpret_cast<const char*>(data), size) == PIM_OK);
    const ST_JIGSAW_OPTIONS read = ReadJigsawOptions(options);
    fuzz::Check(read.firstLevel >= 0 && read.lastLevel <= JIGSAW_MAX_PICTURE_NUMBER);
    fuzz::Check(read.firstLevel <= read.lastLevel);
    CJigsawModel model;
    model.SetPictureRange(read.firstLevel, read.lastLevel);
    for (int n : {read.firstLevel - 1, read.lastLevel + 1, read.firstLevel}) {
        const int shown = model.WrapPicture(n);
        fuzz::Check(shown >= read.firstLevel && shown <= read.lastLevel);
    }
    SeedRandom(size);
    CutPicture(data, size, model);
    RunRules(data, size, model);
    return 0;
}
