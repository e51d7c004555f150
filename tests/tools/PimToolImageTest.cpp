#include "tests/support/TempFolder.h"
#include "tests/tools/PimToolRunner.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char kMagick[] = "/usr/bin/convert";

// What ImageMagick decodes a picture to: raw 8-bit red, green, blue bytes,
// top row first. ImageMagick keeps a Targa's origin as a note beside the
// rows as stored; -auto-orient applies it.
std::string MagickPixels(const std::string& file)
{
    std::string command = std::string(kMagick) + " '" + file + "' -auto-orient -depth 8 rgb:- 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {};
    std::string bytes;
    std::array<char, 65536> chunk;
    size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        bytes.append(chunk.data(), n);
    ::pclose(pipe);
    return bytes;
}

bool RunShell(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

} // namespace

TEST(PimToolImages, ConvertsPicturesOfOtherToolsPixelForPixel)
{
    if (::access(kMagick, X_OK) != 0)
        GTEST_SKIP() << "ImageMagick is not installed";
    TempFolder folder;
    const std::string source = folder / "source.png";
    // A picture with gradients, hard edges and noise: every channel varies.
    ASSERT_TRUE(RunShell(std::string(kMagick) + " -size 97x61 gradient:red-blue \\( -size 97x61 gradient:yellow-black "
                    "-rotate 90 -resize 97x61! \\) -compose Multiply -composite -fill green -draw "
                    "'rectangle 10,10 30,20' -seed 4 +noise Random -blur 0x0.4 -depth 8 '" +
                    source + "'"));

    const struct
    {
        const char* name;
        const char* options;
    } cases[] = {
        {"raw.tga", "-compress None"},
        {"rle.tga", "-compress RLE"},
        {"top.tga", "-compress None -orient TopLeft"},
        {"palette.tga", "-colors 200 -type Palette -compress RLE"},
        {"right.tga", "-compress RLE -orient BottomRight"},
        {"true.bmp", "-type TrueColor BMP3:"},
        {"palette.bmp", "-colors 200 -type Palette -compress None BMP3:"},
        {"rle.bmp", "-colors 200 -type Palette -compress RLE BMP3:"},
        {"palette.pcx", "-colors 200 -type Palette"},
        {"copy.png", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string options = c.options;
        std::string prefix;
        size_t colon = options.find(':');
        if (colon != std::string::npos) { // "BMP3:" goes in front of the output name
            size_t space = options.rfind(' ', colon);
            prefix = options.substr(space == std::string::npos ? 0 : space + 1);
            options = options.substr(0, space == std::string::npos ? 0 : space);
        }
        const std::string made = folder / c.name;
        ASSERT_TRUE(RunShell(std::string(kMagick) + " '" + source + "' " + options + " '" + prefix + made + "'"));
        const std::string ours = made + ".ours.png";
        ToolResult converted = RunTool({"convert", made, ours});
        ASSERT_EQ(converted.code, 0) << converted.err;
        const std::string theirs = MagickPixels(made);
        ASSERT_EQ(theirs.size(), 97u * 61u * 3u);
        EXPECT_TRUE(MagickPixels(ours) == theirs);
    }
}

TEST(PimToolImages, InfoAndConvertThroughTheMounts)
{
    TempFolder folder;
    // A 2 x 1 24-bit Targa made by hand: blue, then red.
    const unsigned char tga[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 24, 32, 255, 0, 0, 0, 0, 255};
    folder.Write("art/pic.tga", std::string(reinterpret_cast<const char*>(tga), sizeof tga));
    ToolResult info = RunTool({"info", "--root", "Art=" + (folder / "art"), "<Art>PIC.TGA"});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(info.out, "2 1 24 5\n");
    ToolResult converted = RunTool({"convert", "--root", "Art=" + (folder / "art"), "pic.tga", folder / "out.png"});
    EXPECT_EQ(converted.code, 0) << converted.err;
    ToolResult back = RunTool({"info", folder / "out.png"});
    EXPECT_EQ(back.out, "2 1 24 5\n");
    EXPECT_EQ(RunTool({"convert", folder / "art/pic.tga", folder / "out.gif"}).code, 1); // no writer for .gif
    EXPECT_EQ(RunTool({"info", folder / "missing.tga"}).code, 1);
    EXPECT_EQ(RunTool({"info"}).code, 2);
}
