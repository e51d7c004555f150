// Cutting pictures into pieces: the pieces' sizes, that the nine pieces put
// in their places cover the picture exactly once whatever the seams, the
// pixels that must not become holes or show unset memory, the sizes
// refused, and the dark border along the cut.
#include "game/jigsaw/JigsawCutter.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "game/jigsaw/JigsawLevel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kPictureValue = 0x1234;

void Picture(CxDrawSurface& s, int w, int h, uint32_t value = kPictureValue, int depth = 16)
{
    ASSERT_EQ(s.Create(w, h, depth), PIM_OK);
    s.FillRect(s.GetRect(), value);
}

int Cut(CxDrawSurface& picture, JigsawPieceSurfaces& pieces, uint32_t seed = 3)
{
    SeedRandom(seed);
    return JigsawCutPicture(picture, DrawJigsawSeams(), pieces);
}

TEST(JigsawCutterTest, PiecesAreAThirdOfThePictureWithTheirMargin)
{
    CxDrawSurface picture;
    Picture(picture, 481, 362);
    JigsawPieceSurfaces pieces;
    ASSERT_EQ(Cut(picture, pieces), PIM_OK);
    for (const auto& piece : pieces) {
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->GetWidth(), 160 + 2 * JIGSAW_MARGIN);
        EXPECT_EQ(piece->GetHeight(), 120 + 2 * JIGSAW_MARGIN);
        EXPECT_EQ(piece->GetDepth(), 16);
        EXPECT_EQ(piece->GetTransparentColour(), JIGSAW_OUTSIDE);
    }
    // The picture given is left as it was.
    EXPECT_EQ(picture.CountPixelsOfValue(kPictureValue), 481 * 362);
}

TEST(JigsawCutterTest, PlacedPiecesCoverThePictureExactlyOnceForAnySeams)
{
    constexpr int w = 600, h = 450, pw = w / 3, ph = h / 3;
    CxDrawSurface picture;
    Picture(picture, w, h);
    for (uint32_t seed : {1u, 2u, 5u, 11u, 29u}) {
        JigsawPieceSurfaces pieces;
        ASSERT_EQ(Cut(picture, pieces, seed), PIM_OK);
        // Counted on the picture with a margin round it, which no piece reaches.
        const int m = JIGSAW_MARGIN;
        std::vector<int> covered(static_cast<size_t>((w + 2 * m) * (h + 2 * m)), 0);
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b) {
                CxDrawSurface& piece = *pieces[static_cast<size_t>(a * 3 + b)];
                for (int y = 0; y < piece.GetHeight(); ++y)
                    for (int x = 0; x < piece.GetWidth(); ++x)
                        if (piece.GetPixel(x, y) != JIGSAW_OUTSIDE)
                            ++covered[static_cast<size_t>((b * ph + y) * (w + 2 * m) + a * pw + x)];
            }
        }
        int once = 0, wrong = 0;
        for (int y = 0; y < h + 2 * m; ++y) {
            for (int x = 0; x < w + 2 * m; ++x) {
                const bool inside = x >= m && x < m + w && y >= m && y < m + h;
                const int count = covered[static_cast<size_t>(y * (w + 2 * m) + x)];
                once += inside && count == 1;
                wrong += count != (inside ? 1 : 0);
            }
        }
        EXPECT_EQ(once, w * h) << "seed " << seed;
        EXPECT_EQ(wrong, 0) << "seed " << seed;
    }
}

TEST(JigsawCutterTest, PicturePixelsNeverBecomeHolesOrUnsetMemory)
{
    // A picture all of the outside's value: every pixel still belongs to a piece.
    CxDrawSurface outside;
    Picture(outside, 600, 450, JIGSAW_OUTSIDE);
    JigsawPieceSurfaces pieces;
    ASSERT_EQ(Cut(outside, pieces), PIM_OK);
    int inside = 0, standIns = 0;
    for (const auto& piece : pieces) {
        inside += piece->GetWidth() * piece->GetHeight() - piece->CountPixelsOfValue(JIGSAW_OUTSIDE);
        standIns += piece->CountPixelsOfValue(JIGSAW_OUTSIDE_STANDIN);
    }
    EXPECT_EQ(inside, 600 * 450);
    EXPECT_GT(standIns, 600 * 450 / 2); // all but the borders

    // Small pieces: knobs reach past the picture, and what they show there
    // is the border's dark 0, nothing else.
    CxDrawSurface small;
    Picture(small, 30, 30);
    for (uint32_t seed : {1u, 4u, 9u}) {
        ASSERT_EQ(Cut(small, pieces, seed), PIM_OK);
        int zeros = 0;
        for (const auto& piece : pieces) {
            const int total = piece->GetWidth() * piece->GetHeight();
            const int known = piece->CountPixelsOfValue(JIGSAW_OUTSIDE) + piece->CountPixelsOfValue(kPictureValue) +
                              piece->CountPixelsOfValue(0);
            EXPECT_EQ(known, total);
            zeros += piece->CountPixelsOfValue(0);
        }
        EXPECT_GT(zeros, 0);
    }

    // A 24-bit picture is brought to the pieces' format.
    CxDrawSurface deep;
    Picture(deep, 600, 450, 0xFF8000, 24);
    ASSERT_EQ(Cut(deep, pieces), PIM_OK);
    EXPECT_EQ(pieces[4]->GetDepth(), 16);
    CxDrawSurface converted;
    converted.CreateCopy(deep);
    converted.ConvertFormat(16, PIM_LAYOUT_DEFAULT);
    EXPECT_NE(converted.GetPixel(0, 0), 0u);
    EXPECT_EQ(pieces[4]->GetPixel(JIGSAW_MARGIN + 100, JIGSAW_MARGIN + 75), converted.GetPixel(0, 0));
}

TEST(JigsawCutterTest, PicturesTooSmallOrTooLargeAreRefused)
{
    const int errors = GetErrorCount();
    struct
    {
        int w, h;
        bool ok;
    } cases[] = {{2, 360, false}, {480, 2, false}, {3000, 10, false}, {10, 2049, false}, {3, 3, true},
                 {2048, 4, true}};
    for (const auto& c : cases) {
        CxDrawSurface picture;
        Picture(picture, c.w, c.h);
        JigsawPieceSurfaces pieces;
        pieces[0] = std::make_unique<CxDrawSurface>(); // an old piece goes either way
        const int code = Cut(picture, pieces);
        EXPECT_EQ(code == PIM_OK, c.ok) << c.w << " x " << c.h;
        EXPECT_EQ(pieces[0] != nullptr, c.ok) << c.w << " x " << c.h;
    }
    EXPECT_EQ(GetErrorCount(), errors); // the room names the picture when it reports
}

TEST(JigsawCutterTest, TheBorderFollowsTheCutAsTheSurfaceWasBefore)
{
    // A 5 x 5 block of 9 on a key of 0 in a 9 x 9 surface: only its outer
    // ring touches the key. Read from the surface as it changes, the ring's
    // new 0 (the key) would eat the block inwards.
    CxDrawSurface s;
    ASSERT_EQ(s.Create(9, 9, 16), PIM_OK);
    s.FillRect(s.GetRect(), 0);
    s.FillRect(CxRect(2, 2, 6, 6), 9);
    ASSERT_EQ(JigsawOutlinePiece(s, 0), PIM_OK);
    EXPECT_EQ(s.CountPixelsOfValue(9), 9);
    EXPECT_EQ(s.GetPixel(4, 4), 9u);
    EXPECT_EQ(s.GetPixel(2, 4), 0u);

    // The surface's own edge is never bordered; a pixel of 0 is left as is.
    s.FillRect(s.GetRect(), 5);
    s.SetPixel(4, 4, 6);
    s.SetPixel(0, 3, 6);
    s.SetPixel(5, 4, 0);
    ASSERT_EQ(JigsawOutlinePiece(s, 6), PIM_OK);
    EXPECT_EQ(s.GetPixel(4, 3), 0u);
    EXPECT_EQ(s.GetPixel(3, 4), 0u);
    EXPECT_EQ(s.GetPixel(4, 5), 0u);
    EXPECT_EQ(s.GetPixel(0, 2), 5u);
    EXPECT_EQ(s.GetPixel(1, 3), 0u);
    EXPECT_EQ(s.CountPixelsOfValue(0), 5);

    const int errors = GetErrorCount();
    CxDrawSurface deep;
    deep.Create(4, 4, 32);
    EXPECT_NE(JigsawOutlinePiece(deep, 0), PIM_OK);
    SetErrorCount(errors);
}

} // namespace
