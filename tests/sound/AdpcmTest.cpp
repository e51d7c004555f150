#include "PIM/core/PimByteOrder.h"
#include "PIM/sound/PimImaAdpcm.h"
#include "PIM/sound/PimWaveFormat.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <unistd.h>
#include <vector>

namespace {

// A loud chord with a little noise, `channels` interleaved, each channel its own.
std::vector<int16_t> Chord(size_t frames, uint16_t channels, uint32_t rate)
{
    std::vector<int16_t> samples(frames * channels);
    uint32_t noise = 12345;
    for (size_t i = 0; i < frames; ++i) {
        for (uint16_t c = 0; c < channels; ++c) {
            const double t = static_cast<double>(i) / rate;
            noise = noise * 1103515245u + 12345u;
            const double value = 12000 * std::sin(2 * std::numbers::pi * (330 + 110 * c) * t) +
                                 6000 * std::sin(2 * std::numbers::pi * 1250 * t) + static_cast<int>(noise >> 22) - 512;
            samples[i * channels + c] = static_cast<int16_t>(value);
        }
    }
    return samples;
}

double RmsError(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += (a[i] - b[i]) * static_cast<double>(a[i] - b[i]);
    return std::sqrt(sum / static_cast<double>(a.size()));
}

} // namespace

TEST(ImaAdpcm, EncodesCompleteWavesThatDecodeCloseToTheOriginal)
{
    const struct
    {
        uint32_t rate;
        uint16_t channels;
        size_t frames;
        uint32_t blockAlign;
    } cases[] = {{22050, 1, 3001, 256}, {11025, 2, 505, 512}, {44100, 2, 4444, 1024}, {48000, 1, 1, 512}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        const std::vector<int16_t> original = Chord(c.frames, c.channels, c.rate);
        std::vector<uint8_t> wave;
        ASSERT_EQ(ImaEncodeWave(original.data(), c.frames, c.channels, c.rate, wave), PIM_OK);

        ST_WAVE_INFO info;
        ASSERT_EQ(GetWaveFormat(wave.data(), wave.size(), false, info), PIM_OK);
        EXPECT_TRUE(info.adpcm);
        EXPECT_EQ(info.bits, 4);
        EXPECT_EQ(info.blockAlign, c.blockAlign);
        EXPECT_TRUE(info.hasFact);
        EXPECT_EQ(info.samples, c.frames);
        EXPECT_EQ(info.dataBytes % c.blockAlign, 0u); // whole blocks only
        EXPECT_EQ(ReadLe16(wave.data() + 38), ImaSamplesPerBlock(c.blockAlign, c.channels));

        std::vector<int16_t> decoded;
        uint32_t rate = 0;
        uint16_t channels = 0;
        ASSERT_EQ(ImaDecodeWave(wave.data(), wave.size(), decoded, rate, channels), PIM_OK);
        EXPECT_EQ(rate, c.rate);
        EXPECT_EQ(channels, c.channels);
        ASSERT_EQ(decoded.size(), original.size());
        EXPECT_EQ(decoded[0], original[0]); // block headers carry exact samples
        EXPECT_LT(RmsError(original, decoded), 400.0);
    }

    // Nothing to encode is a valid, empty sound.
    std::vector<uint8_t> wave;
    ASSERT_EQ(ImaEncodeWave(nullptr, 0, 1, 22050, wave), PIM_OK);
    std::vector<int16_t> decoded;
    uint32_t rate = 0;
    uint16_t channels = 0;
    EXPECT_EQ(ImaDecodeWave(wave.data(), wave.size(), decoded, rate, channels), PIM_OK);
    EXPECT_TRUE(decoded.empty());
}

TEST(ImaAdpcm, DecoderKeepsToTheDataItHas)
{
    const std::vector<int16_t> original = Chord(2000, 2, 22050);
    std::vector<uint8_t> blocks;
    ASSERT_EQ(ImaEncode(original.data(), 2000, 2, 256, blocks), PIM_OK);
    const uint32_t perBlock = ImaSamplesPerBlock(256, 2); // 249
    ASSERT_EQ(blocks.size(), (2000 + perBlock - 1) / perBlock * 256);

    std::vector<int16_t> out;
    // A limit on frames, and a cut block: its headers and whole groups of 8 bytes.
    ASSERT_EQ(ImaDecode(blocks.data(), blocks.size(), 256, 2, 700, out), PIM_OK);
    EXPECT_EQ(out.size(), 1400u);
    ASSERT_EQ(ImaDecode(blocks.data(), 256 + 8 + 8 * 3 + 5, 256, 2, UINT64_MAX, out), PIM_OK);
    EXPECT_EQ(out.size(), 2u * (perBlock + 1 + 3 * 8));
    ASSERT_EQ(ImaDecode(blocks.data(), 256 + 7, 256, 2, UINT64_MAX, out), PIM_OK);
    EXPECT_EQ(out.size(), 2u * perBlock);

    // Layouts the groups do not fit.
    EXPECT_EQ(ImaDecode(blocks.data(), blocks.size(), 6, 2, UINT64_MAX, out), PIM_ERR_UNKNOWN);
    EXPECT_EQ(ImaDecode(blocks.data(), blocks.size(), 258, 2, UINT64_MAX, out), PIM_ERR_UNKNOWN);
    EXPECT_EQ(ImaDecode(blocks.data(), blocks.size(), 256, 0, UINT64_MAX, out), PIM_ERR_UNKNOWN);

    // A header's step index past 88 decodes as 88, never past the table.
    std::vector<uint8_t> block(36, 0x77);
    WriteLe16(block.data(), 0);
    block[2] = 88;
    block[3] = 0;
    std::vector<int16_t> at88, at250;
    ASSERT_EQ(ImaDecode(block.data(), block.size(), 36, 1, UINT64_MAX, at88), PIM_OK);
    block[2] = 250;
    ASSERT_EQ(ImaDecode(block.data(), block.size(), 36, 1, UINT64_MAX, at250), PIM_OK);
    EXPECT_EQ(at88, at250);
    EXPECT_EQ(at88.size(), 65u);
    EXPECT_EQ(at88.back(), 32767); // nibble 7 at the largest step saturates
}

TEST(ImaAdpcm, OtherDecodersReadOurFilesAsWeDo)
{
    if (::access("/usr/bin/sox", X_OK) != 0)
        GTEST_SKIP() << "sox is not installed";
    TempFolder folder;
    for (uint16_t channels = 1; channels <= 2; ++channels) {
        SCOPED_TRACE(channels);
        const std::vector<int16_t> original = Chord(3333, channels, 44100);
        std::vector<uint8_t> wave;
        ASSERT_EQ(ImaEncodeWave(original.data(), 3333, channels, 44100, wave), PIM_OK);
        folder.Write("ima.wav", std::string(wave.begin(), wave.end()));
        ASSERT_EQ(std::system(("sox '" + (folder / "ima.wav") + "' -t raw -e signed -b 16 -L '" +
                               (folder / "ima.raw") + "' 2>/dev/null")
                                  .c_str()),
                  0);
        const std::string raw = folder.Read("ima.raw");
        std::vector<int16_t> ours;
        uint32_t rate = 0;
        uint16_t count = 0;
        ASSERT_EQ(ImaDecodeWave(wave.data(), wave.size(), ours, rate, count), PIM_OK);
        // sox may go on to the end of the last block; the frames we wrote must agree.
        ASSERT_GE(raw.size() / 2, ours.size());
        int worst = 0;
        for (size_t i = 0; i < ours.size(); ++i) {
            const int theirs = static_cast<int16_t>(ReadLe16(reinterpret_cast<const uint8_t*>(raw.data()) + 2 * i));
            worst = std::max(worst, std::abs(theirs - ours[i]));
        }
        EXPECT_LE(worst, 1);
    }
}
