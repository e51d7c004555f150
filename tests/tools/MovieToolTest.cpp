// pimtool's movie commands on movies written by the movie writer.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipWriter.h"
#include "tests/tools/PimToolRunner.h"
#include "tools/moviemaker/MovieWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::string WriteTestMovie(const TempFolder& folder, const std::string& name, bool alpha, int soundTracks)
{
    ST_MOVIE_PLAN movie;
    movie.width = 24;
    movie.height = 16;
    movie.frames = 20;
    movie.fps = 15;
    movie.alpha = alpha;
    movie.soundRate = soundTracks ? 11025 : 0;
    movie.soundTracks = soundTracks ? soundTracks : 1;
    const std::string path = folder / name;
    EXPECT_EQ(WriteMovie(path.c_str(), movie), PIM_OK);
    return path;
}

} // namespace

TEST(PimToolMovies, DescribeMoviesWhateverTheirNames)
{
    TempFolder folder;
    const std::string withAlpha = WriteTestMovie(folder, "intro.smk", true, 2);
    const std::string plain = WriteTestMovie(folder, "plain.bik", false, 0);

    ToolResult result = RunTool({"movie-info", withAlpha});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "24 16 20 15 1 2\n");
    result = RunTool({"movie-info", plain});
    EXPECT_EQ(result.out, "24 16 20 15 0 0\n");

    // Through a mounted archive, as the game would find it.
    ZipWriter zip;
    zip.Add("movies/intro.smk", folder.Read("intro.smk"), true);
    folder.Write("data.zip", zip.Build());
    result = RunTool({"movie-info", "--root", "Data=" + (folder / "data.zip"), "<Data>movies/intro.smk"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "24 16 20 15 1 2\n");

    // What is not there, or not a movie, fails with a message.
    result = RunTool({"movie-info", folder / "none.smk"});
    EXPECT_EQ(result.code, 1);
    folder.Write("text.smk", "this is no movie at all");
    result = RunTool({"movie-info", folder / "text.smk"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("text.smk"), std::string::npos);
    EXPECT_EQ(RunTool({"movie-info"}).code, 2);
}

TEST(PimToolMovies, WriteTheFrameAsked)
{
    TempFolder folder;
    const std::string withAlpha = WriteTestMovie(folder, "fade.smk", true, 0);
    const std::string plain = WriteTestMovie(folder, "plain.bik", false, 1);

    for (const auto& [movie, alpha] : {std::pair{withAlpha, true}, std::pair{plain, false}}) {
        const std::string png = folder / (alpha ? "alpha.png" : "plain.png");
        ToolResult result = RunTool({"movie-frame", movie, "13", png});
        ASSERT_EQ(result.code, 0) << result.err;
        std::unique_ptr<CxDrawSurface> picture(LoadDrawSurface(("<DEFAULT>" + png).c_str()));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->GetDepth(), alpha ? 32 : 24);
        for (int32_t x : {0, 9, 23}) {
            ST_ARGB c = SplitPixel(picture->GetFormat(), picture->GetPixel(x, 5));
            const uint32_t argb =
                (uint32_t{c.alpha} << 24) | (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue;
            EXPECT_EQ(argb, MoviePatternPixel(13, x, 5, alpha)) << movie << " x " << x;
        }
    }
    EXPECT_EQ(RunTool({"movie-frame", plain, "20", folder / "late.png"}).code, 1);
    EXPECT_EQ(RunTool({"movie-frame", plain, "-1", folder / "early.png"}).code, 2);
    EXPECT_EQ(RunTool({"movie-frame", plain, "x", folder / "x.png"}).code, 2);
}
