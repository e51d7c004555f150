// Run-length BMPs: hand-made streams for every code, for runs and moves
// that leave the picture, and for cut and overlong streams; then pictures
// ImageMagick writes, and pictures of every code ImageMagick reads, against
// its own decoding pixel for pixel.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageReaders.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Indices = std::vector<Bytes>; // top row first

const char kMagick[] = "/usr/bin/convert";

void Put(Bytes& out, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A run-length BMP around `stream`; palette entry i is red i, green 255 - i,
// blue 7i. `compression` 0 picks the one the depth has.
Bytes RleFile(int32_t width, int32_t height, int depth, const Bytes& stream, uint32_t imageSize = 0,
              uint32_t compression = 0)
{
    const size_t colours = size_t{1} << depth, dataAt = 54 + 4 * colours;
    Bytes out(dataAt);
    out[0] = 'B', out[1] = 'M';
    Put(out, 2, static_cast<uint32_t>(dataAt + stream.size()), 4);
    Put(out, 10, static_cast<uint32_t>(dataAt), 4);
    Put(out, 14, 40, 4);
    Put(out, 18, static_cast<uint32_t>(width), 4);
    Put(out, 22, static_cast<uint32_t>(height), 4);
    Put(out, 26, 1, 2);
    Put(out, 28, static_cast<uint32_t>(depth), 2);
    Put(out, 30, compression ? compression : depth == 8 ? 1 : 2, 4);
    Put(out, 34, imageSize ? imageSize : static_cast<uint32_t>(stream.size()), 4);
    for (size_t i = 0; i < colours; ++i)
        Put(out, 54 + 4 * i, static_cast<uint32_t>((i << 16) | ((255 - i) << 8) | (7 * i & 255)), 4);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

int Decode(CxDrawSurface& s, const Bytes& file)
{
    return DecodeBmp(s, file.data(), file.size(), "rle.bmp");
}

// The surface's indices as hex digits, top row first.
std::vector<std::string> Digits(CxDrawSurface& s)
{
    std::vector<std::string> rows;
    for (int32_t y = 0; y < s.GetHeight(); ++y) {
        rows.emplace_back();
        for (int32_t x = 0; x < s.GetWidth(); ++x)
            rows.back() += "0123456789ABCDEF"[s.GetPixel(x, y) & 15];
    }
    return rows;
}

using Rows = std::vector<std::string>;

// 6 x 4 at 8 bits: encoded and absolute runs (odd, so padded, and even),
// a row ended early, moves right and up, and the picture ended early.
const Bytes kEveryCode8 = {3, 1, 0, 3, 7, 8, 9, 0, 0, 0,    // row 0
                           0, 4, 1, 2, 3, 4, 0, 0,          // row 1
                           0, 2, 2, 0, 2, 5, 0, 2, 1, 1,    // row 2, then up to row 3
                           1, 6, 0, 1};
const Rows kEveryCode8Rows = {"000006", "005500", "123400", "111789"};

// Encodes indices as a writer using every code would: index 0 is skipped
// with moves and row ends, repeats (at 4 bits, of a pair) become encoded
// runs, the rest absolute runs. The runs never pass a row's end.
Bytes Encode(const Indices& rows, int depth)
{
    Bytes out;
    auto emit = [&out](std::initializer_list<int> codes) {
        for (int c : codes)
            out.push_back(static_cast<uint8_t>(c));
    };
    const int w = static_cast<int>(rows[0].size()), period = depth == 8 ? 1 : 2;
    int emptyRows = 0;
    for (size_t r = rows.size(); r-- > 0;) {
        const Bytes& row = rows[r];
        int end = w;
        while (end > 0 && row[end - 1] == 0)
            --end;
        if (end == 0) {
            ++emptyRows;
            continue;
        }
        for (; emptyRows > 0; emptyRows -= std::min(emptyRows, 255))
            emit({0, 2, 0, std::min(emptyRows, 255)});
        auto repeats = [&](int x) {
            int n = 0;
            while (x + n < end && n < 255 && row[x + n] == row[x + n % period])
                ++n;
            return n;
        };
        for (int x = 0; x < end;) {
            int zeros = 0;
            while (row[x + zeros] == 0 && zeros < 255)
                ++zeros;
            if (zeros >= 4) {
                emit({0, 2, zeros, 0});
                x += zeros;
            } else if (const int n = repeats(x); n >= 3 || n == end - x) {
                emit({n, depth == 8 ? row[x] : row[x] << 4 | (n > 1 ? row[x + 1] : 0)});
                x += n;
            } else {
                int n2 = 1;
                while (x + n2 < end && n2 < 255 && repeats(x + n2) < 3)
                    ++n2;
                if (n2 < 3) {
                    emit({1, depth == 8 ? row[x] : row[x] << 4});
                    ++x;
                    continue;
                }
                emit({0, n2});
                for (int i = 0; i < n2; i += period)
                    out.push_back(depth == 8 ? row[x + i]
                                             : static_cast<uint8_t>(row[x + i] << 4 | (i + 1 < n2 ? row[x + i + 1] : 0)));
                if ((n2 + period - 1) / period % 2)
                    out.push_back(0);
                x += n2;
            }
        }
        emit({0, 0});
    }
    emit({0, 1});
    return out;
}

std::string MagickPixels(const std::string& file)
{
    FILE* pipe = ::popen((std::string(kMagick) + " '" + file + "' -depth 8 rgb:- 2>/dev/null").c_str(), "r");
    if (!pipe)
        return {};
    std::string bytes;
    std::array<char, 65536> chunk;
    for (size_t n; (n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
        bytes.append(chunk.data(), n);
    ::pclose(pipe);
    return bytes;
}

// Our colours of the picture in the file, as ImageMagick's rgb: gives them.
std::string OurPixels(const std::string& bytes)
{
    CxDrawSurface s;
    EXPECT_EQ(DecodeBmp(s, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "im.bmp"), PIM_OK);
    std::string rgb;
    for (int32_t y = 0; y < s.GetHeight(); ++y)
        for (int32_t x = 0; x < s.GetWidth(); ++x) {
            const ST_RGB c = s.GetPaletteEntries()[s.GetPixel(x, y)];
            rgb += {static_cast<char>(c.red), static_cast<char>(c.green), static_cast<char>(c.blue)};
        }
    return rgb;
}

// Segments of index 0, of one index, of a pair by turns, and of noise.
Indices Picture(int width, int height, int depth, uint32_t seed)
{
    std::mt19937 random(seed);
    const int top = (1 << depth) - 1;
    Indices rows(static_cast<size_t>(height), Bytes(static_cast<size_t>(width)));
    for (Bytes& row : rows) {
        if (random() % 4 == 0)
            continue;
        for (int x = 0; x < width;) {
            const int kind = static_cast<int>(random() % 4), length = 1 + static_cast<int>(random() % 300);
            const auto a = static_cast<uint8_t>(random() % (top + 1)), b = static_cast<uint8_t>(random() % (top + 1));
            for (int i = 0; i < length && x < width; ++i, ++x)
                row[x] = kind == 0 ? 0 : kind == 1 ? a : kind == 2 ? (i % 2 ? b : a) : static_cast<uint8_t>(random() % (top + 1));
        }
    }
    return rows;
}

} // namespace

TEST(ImageBmpRunLength, EveryCodeAtBothDepths)
{
    CxDrawSurface s;
    ASSERT_EQ(Decode(s, RleFile(6, 4, 8, kEveryCode8)), PIM_OK);
    EXPECT_EQ(s.GetDepth(), 8);
    EXPECT_EQ(Digits(s), kEveryCode8Rows);
    EXPECT_EQ(s.GetPaletteEntries()[255].green, 0);

    // At 4 bits, runs and moves starting on either nibble; a padded
    // absolute run of 5; an encoded run cut at the row's end.
    const Bytes four = {5, 0x12, 0, 3, 0xAB, 0xC0, 3, 0xEF, 0, 0,
                        0, 2, 1, 0, 3, 0xDE, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1};
    ASSERT_EQ(Decode(s, RleFile(9, 2, 4, four)), PIM_OK);
    EXPECT_EQ(s.GetDepth(), 4);
    EXPECT_EQ(Digits(s), (Rows{"0DED34567", "12121ABCE"}));
}

TEST(ImageBmpRunLength, RunsAndMovesStayInsideThePicture)
{
    ErrorRecorder errors;
    CxDrawSurface s;
    // An encoded run into the row's padding (ImageMagick writes those) and
    // past it, an absolute run past the end, a move past the end: each
    // drops the rest of its row, and the next row starts afresh.
    const Bytes clipped = {6, 1, 2, 2, 0, 0, 0, 6, 9, 8, 7, 6, 5, 4, 0, 0,
                           1, 3, 0, 2, 9, 0, 1, 2, 0, 0, 1, 5, 0, 1};
    ASSERT_EQ(Decode(s, RleFile(4, 4, 8, clipped)), PIM_OK);
    EXPECT_EQ(Digits(s), (Rows{"5000", "3000", "9876", "1111"}));

    // Past the top: the end-of-line closing the top row may only be
    // followed by the end of the picture; a move up out of the picture
    // ends it. Both keep what was drawn and give error 10.
    ASSERT_EQ(Decode(s, RleFile(2, 1, 8, {2, 1, 0, 0, 0, 1})), PIM_OK);
    for (const Bytes& overlong : {Bytes{2, 1, 0, 0, 1, 2, 0, 1}, Bytes{2, 1, 0, 0, 0, 0, 0, 1},
                                  Bytes{2, 1, 0, 2, 0, 1, 0, 1}}) {
        EXPECT_EQ(Decode(s, RleFile(2, 1, 8, overlong)), PIM_ERR_FILE_TYPE);
        EXPECT_EQ(Digits(s), Rows{"11"});
    }
    EXPECT_EQ(errors.errors.back().message, "Run-length BMP data of 2 x 1 goes on past its top row");

    // Bytes after the end of the picture are no fault.
    Bytes padded = kEveryCode8;
    padded.insert(padded.end(), {7, 7, 0, 0});
    ASSERT_EQ(Decode(s, RleFile(6, 4, 8, padded)), PIM_OK);
    EXPECT_EQ(Digits(s), kEveryCode8Rows);
}

TEST(ImageBmpRunLength, CutStreamsKeepWhatArrived)
{
    ErrorRecorder errors;
    // Cut anywhere before its end-of-picture, by the file's end or by the
    // header's image size, a stream keeps every pixel that arrived.
    for (bool byHeader : {false, true})
        for (size_t length = 0; length < kEveryCode8.size() - 1; ++length) {
            Bytes file = RleFile(6, 4, 8, Bytes(kEveryCode8.begin(), kEveryCode8.begin() + length),
                                 static_cast<uint32_t>(length));
            if (byHeader)
                file = RleFile(6, 4, 8, kEveryCode8, static_cast<uint32_t>(length ? length : 1));
            CxDrawSurface s;
            ASSERT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE) << length;
            ASSERT_TRUE(s.IsCreated());
            const Rows got = Digits(s);
            for (size_t y = 0; y < got.size(); ++y)
                for (size_t x = 0; x < got[y].size(); ++x)
                    EXPECT_TRUE(got[y][x] == '0' || got[y][x] == kEveryCode8Rows[y][x]) << length;
            if (length == kEveryCode8.size() - 2) {
                EXPECT_EQ(got, kEveryCode8Rows);
            }
        }
    EXPECT_EQ(errors.errors.back().message, "Run-length BMP data ends after 3 of its 4 rows");
    // An image size larger than the file leaves the stream to the file.
    CxDrawSurface s;
    EXPECT_EQ(Decode(s, RleFile(6, 4, 8, kEveryCode8, 5000)), PIM_OK);

    // Refused before anything is made: top-down, codes of the other depth,
    // and a picture of millions of pixels from a stream of a few bytes
    // (a million are always allowed).
    auto refused = [](const Bytes& file) {
        CxDrawSurface t;
        EXPECT_EQ(Decode(t, file), PIM_ERR_FILE_TYPE);
        EXPECT_FALSE(t.IsCreated());
    };
    refused(RleFile(6, -4, 8, kEveryCode8));
    refused(RleFile(6, 4, 8, kEveryCode8, 0, 2));
    refused(RleFile(6, 4, 4, kEveryCode8, 0, 1));
    refused(RleFile(3000, 3000, 8, {0, 1}));
    EXPECT_EQ(Decode(s, RleFile(1024, 1024, 4, {0, 1})), PIM_OK);
}

TEST(ImageBmpRunLength, MatchesImageMagickPixelForPixel)
{
    if (::access(kMagick, X_OK) != 0)
        GTEST_SKIP() << "ImageMagick is not installed";
    TempFolder folder;
    // Pictures ImageMagick writes: gradients, noise, stripes (runs longer
    // than 255 at 300 wide), small odd sizes.
    const char* const sources[] = {
        "-size 17x9 gradient:red-blue",
        "-size 1x1 xc:orange",
        "-size 3x5 xc:gray -seed 3 +noise Random",
        "-size 31x12 gradient:yellow-navy -seed 5 +noise Random",
        "-size 300x7 gradient:white-black",
        "-size 23x6 pattern:vertical",
        "-size 65x33 pattern:checkerboard -seed 8 +noise Impulse",
    };
    for (const char* source : sources) {
        SCOPED_TRACE(source);
        const std::string made = folder / "made.bmp";
        const std::string command = std::string(kMagick) + " " + source + " -colors 256 -compress RLE 'BMP3:" + made + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string bytes = folder.Read("made.bmp");
        ASSERT_GT(bytes.size(), 34u);
        ASSERT_EQ(bytes[30], 1); // RLE8 indeed
        EXPECT_TRUE(OurPixels(bytes) == MagickPixels(made));
    }
    // ImageMagick writes no RLE4 nor moves: pictures of every code written
    // here, read by it.
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 5}, {17, 9}, {300, 6}, {64, 40}};
    for (int depth : {4, 8})
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE(std::to_string(depth) + " bits " + std::to_string(width) + " x " + std::to_string(height));
            const Indices picture = Picture(width, height, depth, static_cast<uint32_t>(width * 31 + height + depth));
            const Bytes file = RleFile(width, height, depth, Encode(picture, depth));
            const std::string written = folder.Write("ours.bmp", std::string(file.begin(), file.end()));
            const std::string theirs = MagickPixels(written);
            ASSERT_EQ(theirs.size(), static_cast<size_t>(width * height * 3));
            EXPECT_TRUE(OurPixels(std::string(file.begin(), file.end())) == theirs);
        }
}
