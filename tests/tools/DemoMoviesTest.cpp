// The demo movies: written and read back as planned; the fades run the way
// the rooms play them, and the looping movies join their last frame to their
// first without a jump.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/PimToolRunner.h"
#include "tools/moviemaker/DemoMovies.h"
#include "tools/painter/FairgroundScenery.h"
#include "tools/painter/FarmyardLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const ST_DEMO_MOVIE& Find(const std::vector<ST_DEMO_MOVIE>& movies, const std::string& path)
{
    for (const ST_DEMO_MOVIE& movie : movies)
        if (movie.path == path)
            return movie;
    ADD_FAILURE() << "no movie " << path;
    return movies.front();
}

std::vector<uint8_t> Paint(const ST_MOVIE_PLAN& plan, int frame)
{
    std::vector<uint8_t> bgra(static_cast<size_t>(plan.width) * static_cast<size_t>(plan.height) * 4);
    plan.paint(frame, bgra.data(), plan.width, plan.height, plan.context);
    return bgra;
}

int LargestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

} // namespace

TEST(DemoMovies, WritesEveryMovieAsPlanned)
{
    TempFolder folder;
    ASSERT_EQ(MakeDemoMovies(folder.Path().c_str(), false), PIM_OK);
    const std::vector<ST_DEMO_MOVIE> movies = GetDemoMovies();
    for (const ST_DEMO_MOVIE& movie : movies) {
        SCOPED_TRACE(movie.path);
        const ST_MOVIE_PLAN& plan = movie.plan;
        const ToolResult info = RunTool({"movie-info", folder / movie.path});
        ASSERT_EQ(info.code, 0) << info.err;
        EXPECT_EQ(info.out, std::to_string(plan.width) + " " + std::to_string(plan.height) + " " +
                                std::to_string(plan.frames) + " " + std::to_string(plan.fps) + " " + (plan.alpha ? "1" : "0") + " " +
                                (plan.soundRate ? "1" : "0") + "\n");
    }
    for (const char* path : {"common/fade0.smk", "common/fade1.smk"}) {
        const ST_MOVIE_PLAN& plan = Find(movies, path).plan;
        EXPECT_EQ(plan.width * 1000 + plan.height, 800600) << path;
        EXPECT_EQ(plan.frames, 10) << path;
    }

    // The fade-in starts opaque black and ends clear; the fade-out the other
    // way round. Read back from the files, as the game sees them.
    const std::string png = folder / "frame.png";
    auto alphaOf = [&](const char* path, int frame) {
        const ToolResult result = RunTool({"movie-frame", folder / path, std::to_string(frame), png});
        EXPECT_EQ(result.code, 0) << result.err;
        std::unique_ptr<CxDrawSurface> picture(LoadDrawSurface(("<DEFAULT>" + png).c_str()));
        if (!picture)
            return -1;
        const ST_ARGB c = SplitPixel(picture->GetFormat(), picture->GetPixel(400, 300));
        EXPECT_EQ(c.red + c.green + c.blue, 0) << path;
        return int{c.alpha};
    };
    EXPECT_EQ(alphaOf("common/fade0.smk", 0), 255);
    EXPECT_EQ(alphaOf("common/fade0.smk", 9), 0);
    EXPECT_EQ(alphaOf("common/fade1.smk", 0), 0);
    EXPECT_EQ(alphaOf("common/fade1.smk", 9), 255);
}

TEST(DemoMovies, FadesEaseAllTheWay)
{
    const std::vector<ST_DEMO_MOVIE> movies = GetDemoMovies();
    const ST_MOVIE_PLAN& in = Find(movies, "common/fade0.smk").plan;
    const ST_MOVIE_PLAN& out = Find(movies, "common/fade1.smk").plan;
    std::vector<int> falling, rising;
    for (int frame = 0; frame < in.frames; ++frame) {
        falling.push_back(Paint(in, frame)[3]);
        rising.push_back(Paint(out, frame)[3]);
    }
    for (size_t i = 1; i < falling.size(); ++i) {
        EXPECT_LT(falling[i], falling[i - 1]) << i;
        EXPECT_GT(rising[i], rising[i - 1]) << i;
    }
    // Eased: gentle at both ends, quickest in the middle.
    EXPECT_LT(2 * (255 - falling[1]), falling[4] - falling[5]);
    EXPECT_LT(2 * falling[8], falling[4] - falling[5]);
    EXPECT_LT(2 * rising[1], rising[5] - rising[4]);
}

TEST(DemoMovies, FairgroundScrollsStartOnOneViewAndEndOnTheOther)
{
    auto scene = [](int view) {
        std::vector<uint8_t> bgra;
        for (int32_t y = 0; y < FAIR_SCENE_HEIGHT; ++y)
            for (int32_t x = 0; x < FAIR_SCENE_WIDTH; ++x) {
                const ST_FAIR_RGB c = FairSceneryPixel(view, x, y);
                bgra.insert(bgra.end(), {c.b, c.g, c.r, 255});
            }
        return bgra;
    };
    const std::vector<uint8_t> views[] = {scene(0), scene(1)};
    const std::vector<ST_DEMO_MOVIE> movies = GetDemoMovies();
    for (int from = 0; from < 2; ++from)
        for (char side : {'L', 'R'}) {
            const std::string path = "FairgroundMenu/S04_BG" + std::to_string(from + 1) + "_" + side + ".bik";
            SCOPED_TRACE(path);
            const ST_MOVIE_PLAN& plan = Find(movies, path).plan;
            EXPECT_EQ(Paint(plan, 0), views[from]);
            // The room shows the other view's background right after.
            EXPECT_EQ(Paint(plan, plan.frames - 1), views[1 - from]);
            // Halfway it is neither, and the two directions slide differently.
            const std::vector<uint8_t> half = Paint(plan, plan.frames / 2);
            EXPECT_NE(half, views[0]);
            EXPECT_NE(half, views[1]);
            const char other[] = {side == 'L' ? 'R' : 'L', 0};
            const std::string otherPath = "FairgroundMenu/S04_BG" + std::to_string(from + 1) + "_" + other + ".bik";
            EXPECT_NE(half, Paint(Find(movies, otherPath).plan, plan.frames / 2));
        }
}

TEST(DemoMovies, FairWelcomeBannerDropsOntoTheFairsFirstViewAndSettles)
{
    // Kept: the plan is found in the list, which must outlive it.
    const auto movies = GetDemoMovies();
    const ST_MOVIE_PLAN& plan = Find(movies, "m04_fairgrounds.bik").plan;
    ASSERT_EQ(plan.width, FAIR_SCENE_WIDTH);
    ASSERT_EQ(plan.height, FAIR_SCENE_HEIGHT);
    EXPECT_EQ(plan.frames, 3 * plan.fps);
    auto same = [](const std::vector<uint8_t>& bgra, int32_t x, int32_t y) {
        const ST_FAIR_RGB c = FairSceneryPixel(0, x, y);
        const uint8_t* p = &bgra[(static_cast<size_t>(y) * FAIR_SCENE_WIDTH + x) * 4];
        return p[0] == c.b && p[1] == c.g && p[2] == c.r;
    };
    // It opens on the room's own view 0, the banner still above the screen.
    const std::vector<uint8_t> first = Paint(plan, 0);
    for (int32_t y = 0; y < FAIR_SCENE_HEIGHT; y += 3)
        for (int32_t x = 0; x < FAIR_SCENE_WIDTH; x += 3)
            ASSERT_TRUE(same(first, x, y)) << x << ", " << y;
    // It ends with the banner at rest across the sky, the fair below it
    // untouched, and holds still over the last frames.
    const std::vector<uint8_t> last = Paint(plan, plan.frames - 1);
    EXPECT_FALSE(same(last, 400, 105));
    EXPECT_TRUE(same(last, 400, 90));
    EXPECT_TRUE(same(last, 400, 200));
    EXPECT_EQ(Paint(plan, plan.frames - 3), last);
    // Halfway in it is moving: two neighbouring frames differ.
    EXPECT_NE(Paint(plan, plan.frames / 4), Paint(plan, plan.frames / 4 + 1));
}

TEST(DemoMovies, LoopsJoinTheirEndsWithoutAJump)
{
    const std::vector<ST_DEMO_MOVIE> movies = GetDemoMovies();
    for (const char* path : {"title/windmill.smk", "FarmyardMenu/pond.smk"}) {
        SCOPED_TRACE(path);
        const ST_MOVIE_PLAN& plan = Find(movies, path).plan;
        const std::vector<uint8_t> first = Paint(plan, 0);
        // The frame after the last is the first one again...
        EXPECT_LE(LargestDifference(Paint(plan, plan.frames), first), 1);
        // ...and the movie does move in between.
        const std::vector<uint8_t> half = Paint(plan, plan.frames / 2);
        int moved = 0;
        for (size_t i = 0; i < half.size(); i += 4)
            moved += half[i] != first[i] || half[i + 1] != first[i + 1] || half[i + 2] != first[i + 2];
        EXPECT_GT(moved, 300);
        // See-through at the corners, solid in the middle.
        for (size_t corner : {size_t{0}, static_cast<size_t>(plan.width - 1),
                              static_cast<size_t>(plan.width) * static_cast<size_t>(plan.height - 1)})
            EXPECT_EQ(first[corner * 4 + 3], 0);
        const size_t middle = static_cast<size_t>(plan.height / 2) * static_cast<size_t>(plan.width) + plan.width / 2;
        EXPECT_EQ(first[middle * 4 + 3], 255);
    }

    // The pond's soft edges are the backdrop's own water, so that only the
    // ripples and the duck are seen to move.
    const ST_MOVIE_PLAN& pond = Find(movies, "FarmyardMenu/pond.smk").plan;
    EXPECT_EQ(pond.width, kPondMovie.right - kPondMovie.left + 1);
    EXPECT_EQ(pond.height, kPondMovie.bottom - kPondMovie.top + 1);
    for (int frame = 0; frame < pond.frames; frame += 5) {
        const std::vector<uint8_t> bgra = Paint(pond, frame);
        int soft = 0;
        for (size_t i = 0; i < bgra.size(); i += 4) {
            if (bgra[i + 3] == 0 || bgra[i + 3] == 255)
                continue;
            ++soft;
            ASSERT_EQ(bgra[i + 2], kPondWater.red) << frame << " at " << i / 4;
            ASSERT_EQ(bgra[i + 1], kPondWater.green) << frame << " at " << i / 4;
            ASSERT_EQ(bgra[i], kPondWater.blue) << frame << " at " << i / 4;
        }
        EXPECT_GT(soft, 1000);
    }
}
