// The loudness envelope as a pure function of the samples: its length, the
// scaling between the quietest and loudest window, the clamp that keeps the
// loudest sound on the widest mouth, and sound it cannot or must not read.
#include "DAX/sprites/DaxPrepareWave.h"
#include "PIM/core/CxMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kRate = 22050;
constexpr uint32_t kWindow = kRate / 10;

// Mono 16-bit samples: one window per level, each sample +level or -level.
std::vector<int16_t> Windows(const std::vector<int>& levels, size_t tail = 0)
{
    std::vector<int16_t> samples;
    for (int level : levels)
        for (uint32_t k = 0; k < kWindow; ++k)
            samples.push_back(static_cast<int16_t>(k % 2 ? level : -level));
    samples.insert(samples.end(), tail, 30000);
    return samples;
}

ST_WAVE_INFO Info(const void* data, size_t bytes, uint16_t bits = 16, uint16_t channels = 1, uint32_t rate = kRate)
{
    ST_WAVE_INFO info;
    info.data = static_cast<const uint8_t*>(data);
    info.dataBytes = static_cast<uint32_t>(bytes);
    info.samples = bits ? static_cast<uint32_t>(bytes * 8 / bits) : 0;
    info.rate = rate;
    info.bits = bits;
    info.channels = channels;
    return info;
}

std::vector<uint32_t> Frames(const ST_LIP_ENVELOPE& envelope)
{
    return std::vector<uint32_t>(envelope.frames.begin(), envelope.frames.end());
}

} // namespace

TEST(PrepareWave, OneSecondGivesElevenWindowsTheLastOneEmpty)
{
    const std::vector<int16_t> samples = Windows(std::vector<int>(10, 500));
    ST_LIP_ENVELOPE envelope;
    ASSERT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2), 5, envelope), PIM_OK);
    ASSERT_EQ(envelope.frames.GetCount(), 11u);
    EXPECT_EQ(*envelope.frames.Get(10), 0u);
    EXPECT_EQ(envelope.lowest, 255u); // the quietest starts at 255: every window here is louder
    EXPECT_EQ(envelope.highest, 500u);
    // A trailing part shorter than a window stores nothing.
    const std::vector<int16_t> longer = Windows(std::vector<int>(10, 500), kWindow - 1);
    ASSERT_EQ(PrepareWave(Info(longer.data(), longer.size() * 2), 5, envelope), PIM_OK);
    EXPECT_EQ(envelope.frames.GetCount(), 11u);
    EXPECT_EQ(*envelope.frames.Get(10), 0u);
}

TEST(PrepareWave, WindowsAreScaledBetweenTheQuietestAndTheLoudestAndTheLoudestStaysOpen)
{
    // Raw loudness 40 .. 139 over five mouth frames: step (139 - 40 + 1) / 5 = 20.
    const std::vector<int16_t> wide = Windows({40, 59, 60, 100, 139});
    ST_LIP_ENVELOPE envelope;
    ASSERT_EQ(PrepareWave(Info(wide.data(), wide.size() * 2), 5, envelope), PIM_OK);
    EXPECT_EQ(envelope.lowest, 40u);
    EXPECT_EQ(envelope.highest, 139u);
    EXPECT_EQ(Frames(envelope), (std::vector<uint32_t>{0, 0, 1, 3, 4, 0}));

    // 40 .. 51: step 12 / 5 = 2, so 50 and 51 would be 5, past the last
    // frame (where a frame count's wrap would close the mouth): frame 4.
    const std::vector<int16_t> narrow = Windows({40, 44, 50, 51});
    ASSERT_EQ(PrepareWave(Info(narrow.data(), narrow.size() * 2), 5, envelope), PIM_OK);
    EXPECT_EQ(Frames(envelope), (std::vector<uint32_t>{0, 2, 4, 4, 0}));

    // 8-bit samples count their distance from 128.
    std::vector<uint8_t> bytes;
    for (int level : {40, 139})
        for (uint32_t k = 0; k < kWindow; ++k)
            bytes.push_back(static_cast<uint8_t>(k % 2 ? 128 + level / 2 : 128 - level / 2));
    ASSERT_EQ(PrepareWave(Info(bytes.data(), bytes.size(), 8), 5, envelope), PIM_OK);
    EXPECT_EQ(envelope.lowest, 20u);
    EXPECT_EQ(envelope.highest, 69u);
    EXPECT_EQ(Frames(envelope), (std::vector<uint32_t>{0, 4, 0}));
}

TEST(PrepareWave, StereoCountsFramesAndHearsTheLouderChannel)
{
    // One second of stereo: 22,050 frames, 11 entries (not 21). The left
    // channel is quiet throughout; the right one rises.
    std::vector<int16_t> samples;
    for (int w = 0; w < 10; ++w)
        for (uint32_t k = 0; k < kWindow; ++k) {
            samples.push_back(10);
            samples.push_back(static_cast<int16_t>(k % 2 ? 1000 * (w + 1) : -1000 * (w + 1)));
        }
    ST_LIP_ENVELOPE envelope;
    ASSERT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2, 16, 2), 5, envelope), PIM_OK);
    ASSERT_EQ(envelope.frames.GetCount(), 11u);
    EXPECT_EQ(envelope.highest, 10000u);
    EXPECT_EQ(*envelope.frames.Get(0), 0u);
    EXPECT_EQ(*envelope.frames.Get(9), 4u);
}

TEST(PrepareWave, SoundItCannotReadGivesNoEnvelopeAndNothingDividesByZero)
{
    const std::vector<int16_t> samples = Windows({100, 200});
    ST_LIP_ENVELOPE envelope;
    // Below 10 Hz a window has no samples.
    EXPECT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2, 16, 1, 9), 5, envelope), PIM_ERR_UNKNOWN);
    EXPECT_TRUE(envelope.frames.IsEmpty());
    EXPECT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2, 16, 1, 0), 5, envelope), PIM_ERR_UNKNOWN);
    // Depths it does not read, and no channels.
    EXPECT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2, 24), 5, envelope), PIM_ERR_UNKNOWN);
    EXPECT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2, 4), 5, envelope), PIM_ERR_UNKNOWN);
    EXPECT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2, 16, 0), 5, envelope), PIM_ERR_UNKNOWN);
    EXPECT_TRUE(envelope.frames.IsEmpty());
    // A mouth of no frames is one of one frame: closed throughout.
    ASSERT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2), 0, envelope), PIM_OK);
    EXPECT_EQ(Frames(envelope), (std::vector<uint32_t>{0, 0, 0}));
    // Shorter than a window: one entry, nothing stored, nothing scaled.
    ASSERT_EQ(PrepareWave(Info(samples.data(), 100), 5, envelope), PIM_OK);
    EXPECT_EQ(Frames(envelope), (std::vector<uint32_t>{0}));
}

TEST(PrepareWave, ReadsOnlyTheBytesPresentWhateverTheCountSays)
{
    // A header that promises ten times the samples the data holds: only the
    // bytes there are read (the sanitizer build would see one more).
    const std::vector<int16_t> samples = Windows({100, 200});
    auto* exact = static_cast<uint8_t*>(std::malloc(samples.size() * 2));
    std::memcpy(exact, samples.data(), samples.size() * 2);
    ST_WAVE_INFO info = Info(exact, samples.size() * 2);
    info.samples *= 10;
    ST_LIP_ENVELOPE envelope;
    ASSERT_EQ(PrepareWave(info, 5, envelope), PIM_OK);
    EXPECT_EQ(envelope.frames.GetCount(), 3u);
    // And a sample count below the bytes wins as well.
    info.samples = kWindow;
    ASSERT_EQ(PrepareWave(info, 5, envelope), PIM_OK);
    EXPECT_EQ(envelope.frames.GetCount(), 2u);
    std::free(exact);
}

TEST(PrepareWave, AnEnvelopeThatCannotBeAllocatedIsNone)
{
    const std::vector<int16_t> samples = Windows({100, 200});
    ST_LIP_ENVELOPE envelope;
    SetAllocationFailHook([](size_t) { return true; });
    EXPECT_EQ(PrepareWave(Info(samples.data(), samples.size() * 2), 5, envelope), PIM_ERR_OUT_OF_MEMORY);
    SetAllocationFailHook(nullptr);
    EXPECT_TRUE(envelope.frames.IsEmpty());
}
