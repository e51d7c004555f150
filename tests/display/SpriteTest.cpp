// Sprites: frames, stretching, pixel hit tests, collisions, loading and its
// failures, drawing outside the tree, and movie sprites with their registry.
#include "PIM/core/CxError.h"
#include "PIM/display/CxSprite.h"
#include "PIM/image/PimImageFilters.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <memory>

using namespace DisplayTest;

namespace {

constexpr uint32_t kPoison = 0xF81F;

class Sprites : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(200, 200), 1), PIM_OK);
        DrainDirty();
        FlatColourMovie::renders = 0;
    }
};

// Each pixel of a 100 x 100 picture tells where it came from.
uint32_t Pattern(int32_t x, int32_t y)
{
    return static_cast<uint32_t>(1 + x + 100 * y);
}

int LoadThreeFrames(CxDrawSurface& surface, const char*, int)
{
    if (surface.Create(30, 10, 16) != PIM_OK)
        return surface.GetError();
    surface.FillRect(CxRect(10, 0, 19, 9), 2);
    return PIM_OK;
}

int FailToLoad(CxDrawSurface& surface, const char*, int)
{
    return surface.SetError(PIM_ERR_FILE_TYPE, "not a picture");
}

} // namespace

TEST_F(Sprites, FramesWrapAndUnusableCountsAreIgnored)
{
    CxSprite sprite;
    MakeSprite(sprite, GetRootObject(), 0, 0, 10, 8, 1, 5);
    sprite.Show();
    EXPECT_EQ(sprite.GetFrameCount(), 5);
    sprite.SetFrame(-1);
    EXPECT_EQ(sprite.GetFrame(), 4);
    EXPECT_EQ(sprite.GetFrameRect(), CxRect(40, 0, 49, 7));
    sprite.SetFrame(-7);
    EXPECT_EQ(sprite.GetFrame(), 3);
    sprite.SetFrame(12);
    EXPECT_EQ(sprite.GetFrame(), 2);
    sprite.PrevFrame();
    sprite.PrevFrame();
    sprite.PrevFrame();
    EXPECT_EQ(sprite.GetFrame(), 4);
    // A frame change costs one mark of the extent; no change, none.
    DrainDirty();
    sprite.NextFrame();
    EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(0, 0, 9, 7)}));
    DrainDirty();
    sprite.SetFrame(5);
    EXPECT_EQ(GetDirtyRectCount(), 0);

    for (int bad : {3, 0, -2, 51})
        sprite.SetFrameCount(bad);
    EXPECT_EQ(sprite.GetFrameCount(), 5);
    sprite.SetFrameCount(10);
    EXPECT_EQ(sprite.GetFrameSize(), CxSize(5, 8));
    EXPECT_EQ(sprite.GetFrame(), 0);

    // Counts beyond 16 bits are refused, not wrapped.
    CxSprite wide;
    wide.SetSurface(MakeSurface(65536, 1, 8, 0), 1);
    wide.SetFrameCount(32768);
    EXPECT_EQ(wide.GetFrameCount(), 1);
    wide.SetSurface(MakeSurface(65534, 1, 8, 0), 32767);
    EXPECT_EQ(wide.GetFrameCount(), 32767);
    wide.SetFrame(-1);
    EXPECT_EQ(wide.GetFrame(), 32766);

    CxSprite empty;
    empty.SetFrameCount(2);
    empty.SetFrame(-1);
    EXPECT_EQ(empty.GetFrameCount(), 1);
    EXPECT_EQ(empty.GetFrame(), 0);
}

TEST_F(Sprites, StretchScalesOnlyWhenBothSidesDiffer)
{
    CxDrawSurface* picture = MakeSurface(100, 100, 16, 0);
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 100; ++x)
            picture->SetPixel(x, y, Pattern(x, y));
    CxSprite sprite;
    sprite.SetSurface(picture);
    sprite.Create(0, 0, 200, 100, GetRootObject());
    sprite.ModifyFlags(PIM_DO_STRETCH, 0);
    sprite.Show();

    CxDrawSurface screen;
    screen.Create(200, 200, 16);
    screen.FillRect(screen.GetRect(), kPoison);
    RedrawAll(screen);
    EXPECT_FALSE(sprite.IsStretched());
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 200; ++x)
            ASSERT_EQ(screen.GetPixel(x, y), x < 100 && y < 100 ? Pattern(x, y) : kPoison) << x << "," << y;

    sprite.Resize(CxSize(200, 200));
    EXPECT_TRUE(sprite.IsStretched());
    RedrawAll(screen);
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 200; ++x)
            ASSERT_EQ(screen.GetPixel(x, y), Pattern(x / 2, y / 2)) << x << "," << y;

    // A part redrawn alone maps into the frame the same way.
    DrainDirty();
    Invalidate(CxRect(20, 40, 59, 79));
    screen.FillRect(screen.GetRect(), kPoison);
    RedrawDirty(screen);
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            const bool inside = x >= 20 && x <= 59 && y >= 40 && y <= 79;
            ASSERT_EQ(screen.GetPixel(x, y), inside ? Pattern(x / 2, y / 2) : kPoison) << x << "," << y;
        }

    // The pixel test looks where the stretched pixel comes from.
    sprite.SetTransparentColour(Pattern(10, 10));
    EXPECT_FALSE(sprite.ContainsPoint(CxPoint(21, 21), true));
    EXPECT_TRUE(sprite.ContainsPoint(CxPoint(19, 19), true));
}

TEST_F(Sprites, PixelHitTestsSkipSeeThroughPixels)
{
    CxDisplayObject* root = GetRootObject();
    // 32-bit: alpha decides.
    CxSprite ghost;
    MakeSprite(ghost, root, 10, 10, 4, 4, 0xFF102030u, 1, 32);
    ghost.GetSurface()->SetPixel(1, 1, 0x00102030u);
    ghost.SetPixelHitTest(true);
    ghost.Show();
    EXPECT_EQ(FindObjectAt(CxPoint(11, 11)), root);
    EXPECT_EQ(FindObjectAt(CxPoint(12, 12)), &ghost);
    EXPECT_FALSE(ghost.IsOpaqueAt(1, 1));
    EXPECT_FALSE(ghost.IsOpaqueAt(4, 0)); // beyond the frame
    ghost.SetPixelHitTest(false);
    EXPECT_EQ(FindObjectAt(CxPoint(11, 11)), &ghost);

    // Keyed pictures: the key colour is see-through, per frame.
    CxSprite keyed;
    MakeSprite(keyed, root, 50, 50, 4, 4, 7, 2, 8);
    keyed.SetTransparentColour(7);
    keyed.SetPixelHitTest(true);
    keyed.Show();
    EXPECT_EQ(FindObjectAt(CxPoint(51, 51)), root);
    keyed.SetFrame(1); // frame 1 is colour 8
    EXPECT_EQ(FindObjectAt(CxPoint(51, 51)), &keyed);
    // The surface's own key counts when the sprite has none.
    keyed.SetTransparentColour(PIM_NO_KEY);
    keyed.GetSurface()->SetTransparentColour(8);
    EXPECT_EQ(FindObjectAt(CxPoint(51, 51)), root);
    // Without any key a non-32-bit picture is solid everywhere.
    keyed.GetSurface()->SetTransparentColour(PIM_NO_KEY);
    EXPECT_EQ(FindObjectAt(CxPoint(51, 51)), &keyed);

    // Over a see-through pixel a clipping sprite hides its children; one
    // that does not clip lets them be hit but is never hit itself.
    CxSprite child;
    MakeSprite(child, &ghost, 1, 1, 1, 1, 0xFF000000u, 1, 32);
    child.Show();
    ghost.SetPixelHitTest(true);
    EXPECT_EQ(FindObjectAt(CxPoint(11, 11)), root);
    ghost.ModifyFlags(0, PIM_DO_CLIP);
    EXPECT_EQ(FindObjectAt(CxPoint(11, 11)), &child);
    child.Hide();
    EXPECT_EQ(FindObjectAt(CxPoint(11, 11)), root);
}

TEST_F(Sprites, CollisionsWalkOnlyInsideBothFrames)
{
    CxDisplayObject* root = GetRootObject();
    // Three 10 x 10 frames: 0 see-through, 1 solid only in its right
    // column, 2 solid everywhere (right next to frame 1).
    CxSprite mover;
    mover.SetSurface(MakeSurface(30, 10, 16, 0), 3);
    mover.GetSurface()->FillRect(CxRect(19, 0, 19, 9), 1);
    mover.GetSurface()->FillRect(CxRect(20, 0, 29, 9), 1);
    mover.SetTransparentColour(0);
    mover.Create(0, 0, 10, 10, root);
    mover.SetFrame(1);
    mover.Show();
    CxSprite wall;
    MakeSprite(wall, root, 10, 0, 10, 10, 3);
    wall.SetTransparentColour(0);
    wall.Show();

    CxPoint where(-1, -1);
    EXPECT_EQ(mover.CollidesWith(wall, &where), 0);
    // A rectangle wider than the frame must not reach into frame 2.
    const CxRect wide(0, 0, 19, 9);
    EXPECT_EQ(mover.CollidesWith(wall, &where, &wide), 0);
    wall.MoveTo(9, 3);
    EXPECT_EQ(mover.CollidesWith(wall, &where), 1);
    EXPECT_EQ(where, CxPoint(9, 3));
    EXPECT_EQ(wall.CollidesWith(mover, &where), 1);
    EXPECT_EQ(where, CxPoint(0, 0));
    mover.SetFrame(0);
    EXPECT_EQ(mover.CollidesWith(wall), 0);

    // The last frame at the surface's edge, with rectangles far larger
    // than either picture: the walk stays inside the surfaces.
    mover.SetFrame(2);
    const CxRect huge(0, 0, 99, 99);
    EXPECT_EQ(mover.CollidesWith(wall, &where, &huge, &huge), 1);
    EXPECT_EQ(where, CxPoint(0, 0));
    wall.Hide();
    EXPECT_EQ(mover.CollidesWith(wall), 0);
    wall.Show();

    // 32-bit in alpha mode: only the alpha byte counts.
    CxSprite glass;
    MakeSprite(glass, root, 9, 3, 2, 2, 0x00FFFFFFu, 1, 32);
    glass.Show();
    EXPECT_EQ(glass.CollidesWith(wall), 1);
    glass.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    EXPECT_EQ(glass.CollidesWith(wall), 0);
    glass.GetSurface()->SetPixel(1, 1, 0x01000000u);
    EXPECT_EQ(glass.CollidesWith(wall, &where), 1);
    EXPECT_EQ(where, CxPoint(1, 1));

    // 24-bit keys compare as they are drawn.
    CxSprite deep;
    MakeSprite(deep, root, 9, 3, 2, 2, 0, 1, 24);
    deep.SetTransparentColour(0);
    deep.Show();
    EXPECT_EQ(deep.CollidesWith(wall), 0);
    deep.GetSurface()->SetPixel(0, 1, 0x000001u);
    EXPECT_EQ(deep.CollidesWith(wall, &where), 1);
    EXPECT_EQ(where, CxPoint(0, 1));
    CxSprite bare;
    EXPECT_EQ(bare.CollidesWith(wall), 0);
}

TEST_F(Sprites, PicturesThatFailDrawNothingAndReportOnce)
{
    ErrorRecorder errors;
    RegisterDefaultImageFilters();
    ASSERT_EQ(RegisterImageFilter(".spr", &LoadThreeFrames, nullptr), PIM_OK);
    ASSERT_EQ(RegisterImageFilter(".bad", &FailToLoad, nullptr), PIM_OK);
    CxDisplayObject* root = GetRootObject();
    CxDrawSurface screen;
    screen.Create(200, 200, 16);

    CxSprite sprite;
    sprite.Create(5, 5, 0, 0, root);
    ASSERT_EQ(sprite.Load("hero.spr", 3), PIM_OK);
    EXPECT_EQ(sprite.GetSize(), CxSize(10, 10));
    EXPECT_EQ(sprite.GetFrameCount(), 3);
    sprite.SetFrame(1);
    sprite.Show();
    RedrawAll(screen);
    EXPECT_EQ(screen.GetPixel(5, 5), 2u);
    EXPECT_TRUE(errors.errors.empty());

    EXPECT_NE(sprite.Load("hero.bad"), PIM_OK);
    EXPECT_EQ(sprite.GetSurface(), nullptr);
    const size_t reported = errors.errors.size();
    EXPECT_GE(reported, 1u);
    screen.FillRect(screen.GetRect(), kPoison);
    RedrawAll(screen);
    RedrawAll(screen);
    EXPECT_EQ(screen.GetPixel(5, 5), kPoison);
    EXPECT_EQ(errors.errors.size(), reported);

    EXPECT_EQ(sprite.SetSurface(nullptr), PIM_ERR_UNKNOWN);
    EXPECT_EQ(errors.errors.back().message, "No image for Sprite");

    // A surface carrying an error is refused and stays the caller's.
    std::unique_ptr<CxDrawSurface> broken(MakeSurface(4, 4, 16, 1));
    broken->SetError(PIM_ERR_READ, "bad bits");
    EXPECT_EQ(sprite.SetSurface(broken.get()), PIM_ERR_BAD_ARG);
    EXPECT_EQ(sprite.GetSurface(), nullptr);

    // A picture that goes bad after it was taken: reported once, never drawn.
    sprite.SetSurface(MakeSurface(4, 4, 16, 1));
    sprite.GetSurface()->SetError(PIM_ERR_READ, "swap file lost");
    const size_t before = errors.errors.size();
    screen.FillRect(screen.GetRect(), kPoison);
    RedrawAll(screen);
    RedrawAll(screen);
    EXPECT_EQ(errors.errors.size(), before + 1);
    EXPECT_EQ(screen.GetPixel(5, 5), kPoison);

    // Handing the sprite its own surface again keeps it alive.
    sprite.GetSurface()->ClearError();
    CxDrawSurface* own = sprite.GetSurface();
    EXPECT_EQ(sprite.SetSurface(own), PIM_OK);
    EXPECT_EQ(sprite.GetSurface(), own);
    EXPECT_EQ(own->GetPixel(0, 0), 1u);
}

TEST_F(Sprites, DrawingOutsideTheTreeLeavesTheSpriteAlone)
{
    CxSprite sprite;
    MakeSprite(sprite, GetRootObject(), 0, 0, 10, 10, 10, 3);
    sprite.GetSurface()->SetPixel(21, 1, 99); // frame 2, (1, 1)
    sprite.SetFrame(1);
    sprite.Show();
    DrainDirty();

    CxDrawSurface out;
    out.Create(40, 40, 16);
    EXPECT_EQ(sprite.DrawFrameAt(out, 5, 5, nullptr, PIM_SPRITE_OWN_KEY, 2), PIM_OK);
    EXPECT_EQ(out.GetPixel(5, 5), 12u);
    EXPECT_EQ(out.GetPixel(6, 6), 99u);
    EXPECT_EQ(out.GetPixel(15, 15), 0u);
    EXPECT_EQ(sprite.GetFrame(), 1);
    EXPECT_TRUE(sprite.IsShown());
    EXPECT_EQ(GetDirtyRectCount(), 0);

    // The current frame, a part of it, with a key.
    const CxRect part(0, 0, 1, 1);
    sprite.DrawFrameAt(out, 30, 30, &part);
    EXPECT_EQ(out.GetPixel(31, 31), 11u);
    EXPECT_EQ(out.GetPixel(32, 32), 0u);
    out.FillRect(out.GetRect(), 0);
    sprite.DrawFrameAt(out, 5, 5, nullptr, 12, 2); // frame 2's colour keyed out
    EXPECT_EQ(out.GetPixel(5, 5), 0u);
    EXPECT_EQ(out.GetPixel(6, 6), 99u);

    // Through Blit: stretched to the destination.
    const CxRect into(0, 20, 19, 39);
    EXPECT_EQ(sprite.DrawFrameInto(out, &into, nullptr, PIM_SPRITE_OWN_KEY, 2), PIM_OK);
    EXPECT_EQ(out.GetPixel(2, 22), 99u);
    EXPECT_EQ(out.GetPixel(3, 23), 99u);
    EXPECT_EQ(out.GetPixel(4, 24), 12u);
    EXPECT_EQ(sprite.GetFrame(), 1);
    EXPECT_EQ(GetDirtyRectCount(), 0);

    CxSprite empty;
    EXPECT_EQ(empty.DrawFrameAt(out, 0, 0), PIM_OK);
    EXPECT_EQ(empty.DrawFrameInto(out, nullptr), PIM_OK);
    EXPECT_FALSE(empty.IsOpaqueAt(0, 0));
}

TEST(MovieDrivers, RegistryRules)
{
    ErrorRecorder errors;
    EXPECT_EQ(RegisterMovieDriver("smk", &CreateFlatColourMovie, 3), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.back().message, "Extension MUST include the period as in '.smk'");
    EXPECT_EQ(RegisterMovieDriver(nullptr, &CreateFlatColourMovie, 3), PIM_ERR_BAD_ARG);
    EXPECT_FALSE(IsMovieFile("a.smk"));

    ASSERT_EQ(RegisterMovieDriver(".fmv", &CreateFlatColourMovie, 3), PIM_OK);
    EXPECT_TRUE(IsMovieFile("Intro.FMV"));
    EXPECT_FALSE(IsMovieFile("intro.fmvx"));
    EXPECT_FALSE(IsMovieFile(nullptr));
    std::unique_ptr<CxMovieDriver> movie(CreateMovieDriver("Movies/intro.fmv", PIM_MOVIE_SOUND));
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->GetFrameCount(), 3);
    EXPECT_EQ(movie->GetOpenFlags(), PIM_MOVIE_SOUND);

    // Stored cut to eight characters; matched and removed ignoring case.
    ASSERT_EQ(RegisterMovieDriver(".longextension", &CreateFlatColourMovie, 4), PIM_OK);
    EXPECT_TRUE(IsMovieFile("x.longext"));
    EXPECT_FALSE(IsMovieFile("x.longextension"));
    UnregisterMovieDriver(".LONGEXTENSION");
    EXPECT_FALSE(IsMovieFile("x.longext"));

    // A second registration replaces the first.
    ASSERT_EQ(RegisterMovieDriver(".FMV", &CreateFlatColourMovie, 9), PIM_OK);
    movie.reset(CreateMovieDriver("b.fmv", 0));
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->GetFrameCount(), 9);

    // No create function: 16 and then 13, and no driver.
    ASSERT_EQ(RegisterMovieDriver(".nul", nullptr, 0), PIM_OK);
    errors.errors.clear();
    EXPECT_EQ(CreateMovieDriver("clip.nul", 0), nullptr);
    ASSERT_EQ(errors.errors.size(), 2u);
    EXPECT_EQ(errors.errors[0].code, PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors[0].message, "No Load function registered for '.nul'");
    EXPECT_EQ(errors.errors[1].code, PIM_ERR_UNKNOWN);
    EXPECT_EQ(errors.errors[1].message, "No movie filter registered for 'clip.nul'");
    errors.errors.clear();
    EXPECT_EQ(CreateMovieDriver("clip.avi", 0), nullptr);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].code, PIM_ERR_UNKNOWN);

    // A full table says so instead of claiming success.
    for (int i = 0; i < PIM_MOVIE_DRIVER_COUNT; ++i)
        RegisterMovieDriver((".m" + std::to_string(i)).c_str(), &CreateFlatColourMovie, 1);
    EXPECT_EQ(RegisterMovieDriver(".last", &CreateFlatColourMovie, 1), PIM_ERR_BAD_ARG);
    EXPECT_FALSE(IsMovieFile("a.last"));
    ResetMovieDrivers();
    EXPECT_FALSE(IsMovieFile("a.fmv"));
}

TEST_F(Sprites, MovieSpritesRenderTheirFrameOnceWhenDrawn)
{
    ErrorRecorder errors;
    ASSERT_EQ(RegisterMovieDriver(".fmv", &CreateFlatColourMovie, 5), PIM_OK);
    ASSERT_EQ(RegisterMovieDriver(".afmv", &CreateFlatColourMovie, -2), PIM_OK);
    ASSERT_EQ(RegisterMovieDriver(".empty", &CreateFlatColourMovie, 0), PIM_OK);
    SetDisplayDepth(32);
    CxDisplayObject* root = GetRootObject();
    CxDrawSurface screen;
    screen.Create(200, 200, 16);

    CxSprite movie;
    movie.Create(0, 0, 0, 0, root);
    ASSERT_EQ(movie.Load("intro.fmv"), PIM_OK);
    EXPECT_TRUE(movie.IsMovie());
    EXPECT_EQ(static_cast<FlatColourMovie*>(movie.GetFrameSource())->preparedDepth, 32);
    SetDisplayDepth(16);
    EXPECT_EQ(movie.GetSize(), CxSize(8, 4));
    EXPECT_EQ(movie.GetFrameCount(), 5);
    EXPECT_EQ(FlatColourMovie::renders, 1);
    EXPECT_EQ(movie.GetSurface()->GetPixel(0, 0), 1u);
    movie.Show();

    movie.SetFrame(-2);
    EXPECT_EQ(movie.GetFrame(), 3);
    EXPECT_EQ(FlatColourMovie::renders, 1); // not before it is drawn
    RedrawDirty(screen);
    EXPECT_EQ(screen.GetPixel(7, 3), 4u);
    EXPECT_EQ(FlatColourMovie::renders, 2);
    movie.Invalidate();
    RedrawDirty(screen);
    EXPECT_EQ(FlatColourMovie::renders, 2);
    EXPECT_EQ(movie.FlipVertical(), PIM_ERR_BAD_ARG);
    errors.errors.clear();
    movie.SetFrameCount(2);
    EXPECT_EQ(movie.GetFrameCount(), 5);

    // Two sprites on one driver and surface each show their own frame.
    CxSprite twin;
    twin.Create(20, 0, 0, 0, root);
    ASSERT_EQ(twin.CopyFrom(movie), PIM_OK);
    EXPECT_TRUE(twin.IsShared());
    twin.SetFrame(1);
    twin.Show();
    RedrawDirty(screen);
    EXPECT_EQ(screen.GetPixel(20, 0), 2u);
    EXPECT_EQ(screen.GetPixel(0, 0), 4u);
    // Drawing from outside the tree renders the frame it asks for.
    CxDrawSurface out;
    out.Create(8, 4, 16);
    movie.DrawFrameAt(out, 0, 0, nullptr, PIM_SPRITE_OWN_KEY, 0);
    EXPECT_EQ(out.GetPixel(0, 0), 1u);
    Invalidate(CxRect(0, 0, 30, 10));
    RedrawDirty(screen);
    EXPECT_EQ(screen.GetPixel(0, 0), 4u);
    EXPECT_EQ(screen.GetPixel(20, 0), 2u);
    twin.Unload(); // shared: the picture stays with its owner
    EXPECT_EQ(movie.GetSurface()->GetWidth(), 8);

    CxSprite alpha;
    ASSERT_EQ(alpha.Load("glow.afmv"), PIM_OK);
    EXPECT_EQ(alpha.GetDrawMode(), PIM_DRAW_SOURCE_ALPHA);

    // A movie without frames ignores frame changes.
    CxSprite empty;
    ASSERT_EQ(empty.Load("none.empty"), PIM_OK);
    empty.SetFrame(3);
    EXPECT_EQ(empty.GetFrame(), 0);
    for (const RecordedError& e : errors.errors)
        ADD_FAILURE() << e.code << ": " << e.message;

    // A name no driver takes is loaded as a picture; none is found.
    EXPECT_NE(empty.Load("none.unknown"), PIM_OK);
    EXPECT_FALSE(empty.IsMovie());
}
