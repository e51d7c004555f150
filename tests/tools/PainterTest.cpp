// The demo pictures: painted, readable by the game's own loaders, and the
// same bytes every time (the build paints them anew on every build). The
// fairground's are held to what its room relies on: the score slots plain
// for the numbers, the targets' bullseyes inside the box where a shot
// counts, the spinner clear outside its dial and pointing where its frames
// say, and the big wheel soft-edged over the seam.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/text/CxBitmapFont.h"
#include "tests/support/TempFolder.h"
#include "tools/painter/DemoPainter.h"
#include "tools/painter/FairgroundScenery.h"
#include "tools/painter/FarmyardLayout.h"
#include "tools/painter/PigPenLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

TEST(DemoPainter, PaintsLoadablePicturesTheSameEveryTime)
{
    TempFolder first, second;
    ASSERT_EQ(PaintDemoPictures(first.Path().c_str(), false), PIM_OK);
    ASSERT_EQ(PaintDemoPictures(second.Path().c_str(), false), PIM_OK);
    const std::vector<ST_DEMO_PICTURE> pictures = GetDemoPictures();
    EXPECT_GE(pictures.size(), 5u);
    for (const ST_DEMO_PICTURE& entry : pictures) {
        SCOPED_TRACE(entry.path);
        const std::string bytes = first.Read(entry.path);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes, second.Read(entry.path));
        CxDrawSurface picture;
        ASSERT_EQ(picture.Load((first / entry.path).c_str()), PIM_OK);
        EXPECT_EQ(picture.GetWidth(), entry.width);
        EXPECT_EQ(picture.GetHeight(), entry.height);
        EXPECT_EQ(picture.GetDepth(), entry.depth);
    }
    // A folder that cannot be made is reported, not called success.
    EXPECT_NE(PaintDemoPictures("/proc/no-such-place", false), PIM_OK);
}

namespace {

ST_ARGB At(CxDrawSurface& s, int32_t x, int32_t y)
{
    return SplitPixel(s.GetFormat(), s.GetPixel(x, y));
}

bool Keyed(CxDrawSurface& s, int32_t x, int32_t y)
{
    return s.GetPixel(x, y) == s.GetPixel(0, 0);
}

bool Reddish(const ST_ARGB& c)
{
    return c.red > 180 && c.green < 80 && c.blue < 80;
}

// Paints the demo pictures once for the tests below.
class PaintedDemo : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = new TempFolder;
        ASSERT_EQ(PaintDemoPictures(s_folder->Path().c_str(), false), PIM_OK);
    }
    static void TearDownTestSuite()
    {
        delete s_folder;
        s_folder = nullptr;
    }
    // The shared test main empties the image filters between tests.
    static void Load(CxDrawSurface& picture, const std::string& path)
    {
        RegisterDefaultImageFilters();
        ASSERT_EQ(picture.Load((*s_folder / path).c_str()), PIM_OK) << path;
    }
    static TempFolder* s_folder;
};
TempFolder* PaintedDemo::s_folder = nullptr;

} // namespace

TEST_F(PaintedDemo, ScoreLoadsAsAStripFontOfTheDigits)
{
    RegisterDefaultImageFilters();
    std::unique_ptr<CxFont> loaded(CreatePcxStripFont((*s_folder / "common/score.pcx").c_str()));
    ASSERT_TRUE(loaded);
    auto& font = static_cast<CxBitmapFont&>(*loaded);
    ASSERT_EQ(font.GetGlyphCount(), '9' + 1);
    EXPECT_EQ(font.GetNativeSize(), 40);
    EXPECT_EQ(font.MeasureText("0123456789", 40), 280);
    CxDrawSurface& strip = font.GetStrip();
    const uint32_t key = strip.GetTransparentColour();
    ASSERT_NE(key, PIM_NO_KEY);
    std::vector<std::string> shapes;
    for (int code = '0'; code <= '9'; ++code) {
        SCOPED_TRACE(code);
        const ST_BITMAP_GLYPH* glyph = font.GetGlyph(code);
        ASSERT_TRUE(glyph);
        EXPECT_EQ(glyph->right - glyph->left + 1, 28);
        // Ink and its dark edge, and a shape of its own.
        std::string shape;
        int ink = 0, edge = 0;
        for (int32_t y = 0; y < 40; ++y)
            for (int32_t x = glyph->left; x <= glyph->right; ++x) {
                const ST_ARGB c = At(strip, x, y);
                const bool keyed = c.red == 255 && c.green == 0 && c.blue == 255;
                shape += keyed ? '.' : '#';
                ink += !keyed && c.red == 255 && c.green > 120;
                edge += !keyed && c.red < 128;
            }
        EXPECT_GT(ink, 200);
        EXPECT_GT(edge, 100);
        for (const std::string& other : shapes)
            EXPECT_NE(shape, other);
        shapes.push_back(shape);
    }
}

// The farmyard room draws its score on the sky, plays its pond movie over
// the water and stands its buttons on the grass: those places hold nothing
// else.
TEST_F(PaintedDemo, FarmyardBackdropKeepsItsPlainPlaces)
{
    CxDrawSurface backdrop;
    ASSERT_NO_FATAL_FAILURE(Load(backdrop, "FarmyardMenu/backdrop.tga"));
    auto rowsPlain = [&](const ST_FARMYARD_AREA& area, bool sky) {
        for (int32_t y = area.top; y <= area.bottom; ++y) {
            const ST_ARGB first = At(backdrop, area.left, y);
            if (sky)
                ASSERT_TRUE(first.blue > first.red && first.blue > first.green) << y;
            else
                ASSERT_TRUE(first.green > first.red && first.green > first.blue) << y;
            for (int32_t x = area.left; x <= area.right; ++x)
                ASSERT_EQ(At(backdrop, x, y), first) << x << ", " << y;
        }
    };
    rowsPlain(kPlainSky, true);
    // The water wins where the button place meets it; below and beside the
    // pond's bank the grass is plain.
    rowsPlain({kPlainGrass.left, 550, kPlainGrass.right, kPlainGrass.bottom}, false);
    rowsPlain({730, kPlainGrass.top, kPlainGrass.right, kPlainGrass.bottom}, false);
    const ST_ARGB water{255, kPondWater.red, kPondWater.green, kPondWater.blue};
    for (int32_t y = kPlainWater.top; y <= kPlainWater.bottom; ++y)
        for (int32_t x = kPlainWater.left; x <= kPlainWater.right; ++x)
            ASSERT_EQ(At(backdrop, x, y), water) << x << ", " << y;
    // Told apart from the title's backdrop at a glance: most pixels differ.
    CxDrawSurface title;
    ASSERT_NO_FATAL_FAILURE(Load(title, "title/backdrop.tga"));
    int same = 0;
    for (int32_t y = 0; y < 600; y += 4)
        for (int32_t x = 0; x < 800; x += 4)
            same += At(title, x, y) == At(backdrop, x, y);
    EXPECT_LT(same, 150 * 200 / 10);
}

TEST_F(PaintedDemo, BoardButtonsShowEveryStateOnTheirBoards)
{
    for (const char* path : {"common/button_home.tga", "FarmyardMenu/button_hen.tga", "FarmyardMenu/button_sheep.tga"}) {
        SCOPED_TRACE(path);
        CxDrawSurface strip;
        ASSERT_NO_FATAL_FAILURE(Load(strip, path));
        auto differ = [&](int a, int b) {
            for (int32_t y = 0; y < 96; ++y)
                for (int32_t x = 0; x < 96; ++x)
                    if (strip.GetPixel(a * 96 + x, y) != strip.GetPixel(b * 96 + x, y))
                        return true;
            return false;
        };
        for (int a = 0; a < 5; ++a)
            for (int b = a + 1; b < 5; ++b)
                EXPECT_TRUE(differ(a, b)) << "frames " << a << " and " << b << " look the same";
        for (int32_t y = 0; y < 96; ++y)
            for (int32_t x = 0; x < 96; ++x) {
                // Disabled has no colour left to speak of; the faces stay off
                // the boards' rims.
                const ST_ARGB grey = At(strip, 4 * 96 + x, y);
                ASSERT_LE(std::max({grey.red, grey.green, grey.blue}) - std::min({grey.red, grey.green, grey.blue}), 20)
                    << x << ", " << y;
                if (x >= 3 && y >= 3 && x <= 92 && y <= 92)
                    continue;
                for (int frame = 0; frame < 4; ++frame)
                    ASSERT_EQ(At(strip, frame * 96 + x, y), At(strip, frame * 96, 0)) << frame << ": " << x << ", " << y;
            }
    }
}

TEST_F(PaintedDemo, ScoreSlotsArePlainAndLightAndTheArrowsSitHigh)
{
    const char* views[] = {"FairgroundMenu/S04_bg.tga", "FairgroundMenu/S04_bg2.tga"};
    for (int view = 0; view < 2; ++view) {
        SCOPED_TRACE(views[view]);
        CxDrawSurface bg;
        ASSERT_NO_FATAL_FAILURE(Load(bg, views[view]));
        for (const ST_FAIR_SLOT& slot : FAIR_SCORE_SLOTS[view]) {
            const ST_ARGB first = At(bg, slot.x, slot.y);
            EXPECT_GT(std::min({first.red, first.green, first.blue}), 200);
            for (int32_t y = slot.y; y < slot.y + slot.height; ++y)
                for (int32_t x = slot.x; x < slot.x + slot.width; ++x)
                    ASSERT_EQ(At(bg, x, y), first) << x << ", " << y;
            // Outlined, so the slot reads as a box on the plaque.
            EXPECT_NE(At(bg, slot.x - 1, slot.y + 1), first);
            EXPECT_NE(At(bg, slot.x + slot.width, slot.y + 1), first);
        }
        // The best score's star: gold beside its slot.
        const ST_FAIR_SLOT& best = FAIR_SCORE_SLOTS[view][1];
        const ST_FAIR_SLOT& plaque = FAIR_SCORE_PLAQUES[view];
        const ST_ARGB star = At(bg, (best.x + best.width + plaque.x + plaque.width) / 2, best.y + best.height / 2);
        EXPECT_TRUE(star.red > 200 && star.green > 150 && star.blue < 100);
        // The scroll arrows stand high at both edges, clear of the kids below.
        for (int32_t x : {30, FAIR_SCENE_WIDTH - 31}) {
            EXPECT_EQ(At(bg, x, FAIR_ARROW_Y).red, 250) << x;
            EXPECT_NE(At(bg, x, 300).red, 250) << x;
        }
    }
}

TEST_F(PaintedDemo, TargetsShowTheirBullseyeInTheHitBoxUntilTheyFall)
{
    CxDrawSurface targets;
    ASSERT_NO_FATAL_FAILURE(Load(targets, "FairgroundMenu/target.tga"));
    ASSERT_EQ(targets.GetWidth(), 46 * 4);
    int shown[4] = {};
    for (int frame = 0; frame < 4; ++frame)
        for (int32_t y = 0; y < 70; ++y)
            for (int32_t x = 0; x < 46; ++x) {
                if (Keyed(targets, frame * 46 + x, y))
                    continue;
                ++shown[frame];
                // Red is the bullseye's alone: it stays where a shot counts.
                if (frame == 0 && Reddish(At(targets, x, y))) {
                    EXPECT_TRUE(x >= 6 && x <= 40 && y >= 4 && y <= 40) << x << ", " << y;
                }
            }
    EXPECT_TRUE(Reddish(At(targets, 23, 22)));
    // Each frame tips further back, and the last one is flat: no bullseye
    // left standing to aim at.
    EXPECT_GT(shown[0], shown[1]);
    EXPECT_GT(shown[1], shown[2]);
    EXPECT_GT(shown[2], shown[3]);
    for (int32_t y = 4; y <= 30; ++y)
        for (int32_t x = 6; x <= 40; ++x)
            ASSERT_TRUE(Keyed(targets, 3 * 46 + x, y)) << x << ", " << y;
}

TEST_F(PaintedDemo, SpinnerStaysOnItsDialAndPointsWhereItsFramesSay)
{
    const std::pair<const char*, int> pictures[] = {{"rest", 1},    {"spin", 9},    {"miss160", 6}, {"miss120", 6},
                                                    {"miss80", 6},  {"miss40", 6},  {"perfect", 6}};
    for (const auto& [path, frames] : pictures) {
        SCOPED_TRACE(path);
        CxDrawSurface s;
        ASSERT_NO_FATAL_FAILURE(Load(s, std::string("FairgroundMenu/spinner_") + path + ".tga"));
        ASSERT_EQ(s.GetWidth(), 170 * frames);
        for (int frame = 0; frame < frames; ++frame)
            for (int32_t y = 0; y < 170; ++y)
                for (int32_t x = 0; x < 170; ++x)
                    if ((x - 85) * (x - 85) + (y - 85) * (y - 85) > 85 * 85) {
                        ASSERT_TRUE(Keyed(s, frame * 170 + x, y)) << frame << ": " << x << ", " << y;
                    }
    }
    // Up at the green mark is drawn on only when the arrow points there.
    CxDrawSurface rest, spin;
    ASSERT_NO_FATAL_FAILURE(Load(rest, "FairgroundMenu/spinner_rest.tga"));
    ASSERT_NO_FATAL_FAILURE(Load(spin, "FairgroundMenu/spinner_spin.tga"));
    EXPECT_TRUE(Keyed(rest, 85, 25));
    EXPECT_FALSE(Keyed(rest, 85, 145));
    for (int frame = 0; frame < 9; ++frame)
        EXPECT_EQ(Keyed(spin, frame * 170 + 85, 20), frame != 4) << frame;
    // The misses flash red on the rim, on and off.
    CxDrawSurface miss;
    ASSERT_NO_FATAL_FAILURE(Load(miss, "FairgroundMenu/spinner_miss80.tga"));
    EXPECT_TRUE(Reddish(At(miss, 85, 5)));
    EXPECT_TRUE(Keyed(miss, 170 + 85, 5));
}

TEST_F(PaintedDemo, TheBigWheelHasSoftEdgesAndStandsOnTheSeam)
{
    CxDrawSurface ride;
    ASSERT_NO_FATAL_FAILURE(Load(ride, "FairgroundMenu/ride.tga"));
    ASSERT_EQ(ride.GetDepth(), 32);
    int soft = 0;
    for (int32_t y = 0; y < ride.GetHeight(); ++y)
        for (int32_t x = 0; x < 168; ++x) {
            const uint8_t alpha = At(ride, x, y).alpha;
            soft += alpha > 0 && alpha < 255;
        }
    EXPECT_GT(soft, 200);
    EXPECT_EQ(At(ride, 0, 0).alpha, 0);
    for (int frame = 0; frame < 4; ++frame) {
        // The hub on the seam (x 84), the feet spread evenly either side.
        EXPECT_EQ(At(ride, frame * 168 + 84, 92).alpha, 255) << frame;
        EXPECT_EQ(At(ride, frame * 168 + 84 - 56, 242).alpha, 255) << frame;
        EXPECT_EQ(At(ride, frame * 168 + 84 + 56, 242).alpha, 255) << frame;
    }
}

namespace {

// How many opaque pixels of `rect` (in the pig's frame) frame `frame` has.
int OpaqueIn(CxDrawSurface& strip, int frame, const CxRect& rect)
{
    int count = 0;
    for (int32_t y = rect.top; y <= rect.bottom; ++y)
        for (int32_t x = rect.left; x <= rect.right; ++x)
            count += SplitPixel(strip.GetFormat(), strip.GetPixel(frame * kPigFrameW + x, y)).alpha == 255;
    return count;
}

} // namespace

TEST_F(PaintedDemo, TobbleIsSoftEdgedAndEveryPettingAreaLandsOnHim)
{
    for (const char* name : {"PigPen/pig_sad.tga", "PigPen/pig_soso.tga", "PigPen/pig_happy.tga"}) {
        SCOPED_TRACE(name);
        CxDrawSurface pig;
        ASSERT_NO_FATAL_FAILURE(Load(pig, name));
        ASSERT_EQ(pig.GetDepth(), 32);
        ASSERT_EQ(pig.GetHeight(), kPigFrameH);
        for (int frame = 0; frame < pig.GetWidth() / kPigFrameW; ++frame) {
            SCOPED_TRACE(frame);
            // Clear round him, so the room's pixel hit test finds only the pig.
            EXPECT_EQ(At(pig, frame * kPigFrameW, 0).alpha, 0);
            EXPECT_EQ(At(pig, frame * kPigFrameW + kPigFrameW - 1, 0).alpha, 0);
            // A good part of each area is pig (the feet's has the gaps between
            // his legs, and he hops in it when happy).
            for (const CxRect& area : {kPetHead, kPetChest, kPetFeet, kPetRump}) {
                const int size = (area.right - area.left + 1) * (area.bottom - area.top + 1);
                EXPECT_GT(OpaqueIn(pig, frame, area) * 3, size) << area.left << ", " << area.top;
            }
        }
        int soft = 0;
        for (int32_t y = 0; y < kPigFrameH; ++y)
            for (int32_t x = 0; x < kPigFrameW; ++x) {
                const uint8_t alpha = At(pig, x, y).alpha;
                soft += alpha > 0 && alpha < 255;
            }
        EXPECT_GT(soft, 100);
    }
}

TEST_F(PaintedDemo, TobbleShowsEachMoodAndTalksWithoutAPaintedMouth)
{
    CxDrawSurface moods[3], talks[3];
    const char* moodFiles[3] = {"PigPen/pig_sad.tga", "PigPen/pig_soso.tga", "PigPen/pig_happy.tga"};
    const char* talkFiles[3] = {"PigPen/pig_talk_sad.tga", "PigPen/pig_talk_soso.tga", "PigPen/pig_talk_happy.tga"};
    for (int m = 0; m < 3; ++m) {
        ASSERT_NO_FATAL_FAILURE(Load(moods[m], moodFiles[m]));
        ASSERT_NO_FATAL_FAILURE(Load(talks[m], talkFiles[m]));
    }
    // The face (the head's box) differs between every two moods in frame 0.
    auto faceDiffers = [](CxDrawSurface& a, CxDrawSurface& b) {
        int changed = 0;
        for (int32_t y = kPetHead.top; y <= kPetHead.bottom + 30; ++y)
            for (int32_t x = kPetHead.left; x <= kPetHead.right; ++x)
                changed += a.GetPixel(x, y) != b.GetPixel(x, y);
        return changed;
    };
    EXPECT_GT(faceDiffers(moods[0], moods[1]), 50);
    EXPECT_GT(faceDiffers(moods[1], moods[2]), 50);
    EXPECT_GT(faceDiffers(moods[0], moods[2]), 50);
    // Where the lips go (pig.xni: LipPosition 45, 125, 30 x 16) the mood
    // pictures draw a mouth and the talking ones do not: the lips are it.
    for (int m = 0; m < 3; ++m) {
        SCOPED_TRACE(m);
        int changed = 0;
        for (int32_t y = 125; y < 141; ++y)
            for (int32_t x = 46; x < 74; ++x)
                changed += talks[m].GetPixel(x, y) != moods[m].GetPixel(x, y);
        EXPECT_GT(changed, 10);
    }
}
