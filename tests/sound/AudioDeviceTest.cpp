// The audio devices: the headless one on the virtual clock (frame counts,
// stalls, recording and its failures) and the SDL one on SDL's silent
// driver.

#include "PIM/core/CxError.h"
#include "PIM/core/PimByteOrder.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/sound/CxAudioDevice.h"
#include "PIM/core/PimClock.h"
#include "PIM/os/PimOsFiles.h"
#include "PIM/sound/PimWavFile.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

static_assert(PIM_RECORD_HEADER_SIZE == PIM_WAV_HEADER_SIZE, "the recorder reserves the wave header's size");

namespace {

// Counts what it is asked for and fills every frame with its running
// number on the left (and its negative on the right).
struct ST_COUNTING_PULL
{
    uint16_t channels = 1;
    uint64_t frames = 0;
    size_t calls = 0;
    size_t largest = 0;

    static void Pull(void* context, int16_t* out, size_t count)
    {
        auto* self = static_cast<ST_COUNTING_PULL*>(context);
        for (size_t i = 0; i < count; ++i) {
            const auto value = static_cast<int16_t>(self->frames + i);
            out[i * self->channels] = value;
            if (self->channels == 2)
                out[i * 2 + 1] = static_cast<int16_t>(-value);
        }
        self->frames += count;
        ++self->calls;
        self->largest = std::max(self->largest, count);
    }
};

// Installs a virtual clock for the life of the object.
class ScopedVirtualClock
{
public:
    explicit ScopedVirtualClock(uint32_t start) : m_clock(start), m_previous(PimGetClock()) { PimSetClock(&m_clock); }
    ~ScopedVirtualClock() { PimSetClock(m_previous); }
    ScopedVirtualClock(const ScopedVirtualClock&) = delete;
    ScopedVirtualClock& operator=(const ScopedVirtualClock&) = delete;
    CxVirtualClock& operator*() { return m_clock; }
    CxVirtualClock* operator->() { return &m_clock; }

private:
    CxVirtualClock m_clock;
    CxClock* m_previous;
};

// Makes writes to files whose path contains a given text fail.
class ScopedWriteFault
{
public:
    explicit ScopedWriteFault(const char* text)
    {
        s_text = text;
        PimOs::SetFaultHook(&ScopedWriteFault::Hook);
    }
    ~ScopedWriteFault() { PimOs::SetFaultHook(nullptr); }
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

private:
    static bool Hook(PimOs::EStep step, const char* path)
    {
        return step == PimOs::EStep::Write && path && std::strstr(path, s_text);
    }
    static inline const char* s_text = nullptr;
};

} // namespace

TEST(HeadlessAudio, TheClockSaysHowManyFramesAreMixed)
{
    // Starts near the wrap of the 32-bit tick count, which must not matter.
    ScopedVirtualClock clock(0xFFFFF000u);
    auto device = CreateHeadlessAudioDevice();
    std::mt19937 random(7);
    for (uint32_t rate : {22050u, 44100u, 11025u, 8000u}) {
        for (uint16_t channels : {uint16_t{1}, uint16_t{2}}) {
            ST_COUNTING_PULL pull;
            pull.channels = channels;
            ASSERT_EQ(device->Open(rate, channels, &ST_COUNTING_PULL::Pull, &pull), PIM_OK);
            EXPECT_TRUE(device->IsOpen());
            EXPECT_EQ(device->GetRate(), rate);
            EXPECT_EQ(device->GetChannels(), channels);
            // Uneven steps, none a whole number of frames: no rounding may
            // build up over thousands of pumps.
            uint64_t milliseconds = 0;
            for (int i = 0; i < 5000; ++i) {
                const uint32_t step = random() % 37;
                clock->Advance(step);
                milliseconds += step;
                device->Pump();
            }
            EXPECT_EQ(pull.frames, milliseconds * rate / 1000) << rate << " Hz";
            EXPECT_EQ(device->GetFramesMixed(), pull.frames);
            EXPECT_EQ(device->GetFramesDropped(), 0u);
            EXPECT_LE(pull.largest, CxHeadlessAudioDevice::kChunkFrames);
            // Pumping without time passing mixes nothing.
            const uint64_t before = pull.frames;
            device->Pump();
            EXPECT_EQ(pull.frames, before);
            device->Close();
            EXPECT_FALSE(device->IsOpen());
            // Closed, it pulls nothing more.
            clock->Advance(100);
            device->Pump();
            EXPECT_EQ(pull.frames, before);
        }
    }

    // A stall of an hour mixes one second and drops the rest.
    ST_COUNTING_PULL pull;
    ASSERT_EQ(device->Open(22050, 2, &ST_COUNTING_PULL::Pull, &pull), PIM_OK);
    clock->Advance(3600 * 1000);
    const auto start = std::chrono::steady_clock::now();
    device->Pump();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(pull.frames, 22050u);
    EXPECT_EQ(device->GetFramesDropped(), 3599u * 22050u);
    // ... and goes on at the normal pace afterwards.
    clock->Advance(10);
    device->Pump();
    EXPECT_EQ(pull.frames, 22050u + 220u);

    // Formats it cannot play are refused and leave the device closed.
    int dummy = 0;
    EXPECT_EQ(device->Open(22050, 3, &ST_COUNTING_PULL::Pull, &dummy), PIM_ERR_BAD_ARG);
    EXPECT_EQ(device->Open(0, 1, &ST_COUNTING_PULL::Pull, &dummy), PIM_ERR_BAD_ARG);
    EXPECT_EQ(device->Open(22050, 1, nullptr, nullptr), PIM_ERR_BAD_ARG);
    EXPECT_FALSE(device->IsOpen());
}

TEST(HeadlessAudio, RecordsWhatItMixesToAWaveFile)
{
    ScopedVirtualClock clock(1000);
    TempFolder root;
    CxDirectoryFileSystem fs("<Rec>", root.Path().c_str());
    root.Write("take.wav", "an older take, replaced");

    auto device = CreateHeadlessAudioDevice();
    device->SetRecordFile("<Rec>take.wav", &BuildPcmWavHeader);
    ST_COUNTING_PULL pull;
    pull.channels = 2;
    ASSERT_EQ(device->Open(11025, 2, &ST_COUNTING_PULL::Pull, &pull), PIM_OK);
    EXPECT_TRUE(device->IsRecording());
    for (int i = 0; i < 30; ++i) {
        clock->Advance(17 + i);
        device->Pump();
    }
    const uint64_t frames = pull.frames;
    ASSERT_GT(frames, CxHeadlessAudioDevice::kChunkFrames);
    device->Close();
    EXPECT_EQ(device->GetRecordResult(), PIM_OK);

    const std::string file = root.Read("take.wav");
    ASSERT_EQ(file.size(), PIM_WAV_HEADER_SIZE + frames * 4);
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    std::vector<uint8_t> expected(PIM_WAV_HEADER_SIZE);
    BuildPcmWavHeader(expected.data(), 11025, 2, 16, frames * 4);
    EXPECT_EQ(std::memcmp(bytes, expected.data(), PIM_WAV_HEADER_SIZE), 0);
    EXPECT_EQ(std::memcmp(bytes, "RIFF", 4), 0);
    EXPECT_EQ(ReadLe32(bytes + 24), 11025u);
    EXPECT_EQ(ReadLe16(bytes + 22), 2u);
    EXPECT_EQ(ReadLe32(bytes + 40), frames * 4);
    for (uint64_t i = 0; i < frames; ++i) {
        const uint8_t* frame = bytes + PIM_WAV_HEADER_SIZE + i * 4;
        ASSERT_EQ(static_cast<int16_t>(ReadLe16(frame)), static_cast<int16_t>(i)) << i;
        ASSERT_EQ(static_cast<int16_t>(ReadLe16(frame + 2)), static_cast<int16_t>(-static_cast<int16_t>(i))) << i;
    }
    // Nothing but the finished file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.Path()), {}), 1);

    // Opening again starts a new recording, here of nothing at all.
    ASSERT_EQ(device->Open(22050, 1, &ST_COUNTING_PULL::Pull, &pull), PIM_OK);
    device->Close();
    EXPECT_EQ(root.Read("take.wav").size(), PIM_WAV_HEADER_SIZE);
}

TEST(HeadlessAudio, AFailedRecordingIsReportedAndLeavesNoFile)
{
    ScopedVirtualClock clock(0);
    TempFolder root;
    CxDirectoryFileSystem fs("<Rec>", root.Path().c_str());
    ErrorRecorder errors;
    auto device = CreateHeadlessAudioDevice();
    ST_COUNTING_PULL pull;

    // A folder that is not there: the device plays on, unrecorded.
    device->SetRecordFile("<Rec>missing/take.wav", &BuildPcmWavHeader);
    ASSERT_EQ(device->Open(22050, 1, &ST_COUNTING_PULL::Pull, &pull), PIM_OK);
    EXPECT_FALSE(device->IsRecording());
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_NE(errors.errors[0].message.find("missing/take.wav"), std::string::npos);
    clock->Advance(100);
    device->Pump();
    EXPECT_EQ(pull.frames, 2205u);
    device->Close();
    EXPECT_NE(device->GetRecordResult(), PIM_OK);

    // A write that fails halfway ends the recording, once, and the file is
    // never made.
    device->SetRecordFile("<Rec>take.wav", &BuildPcmWavHeader);
    ASSERT_EQ(device->Open(22050, 1, &ST_COUNTING_PULL::Pull, &pull), PIM_OK);
    EXPECT_TRUE(device->IsRecording());
    clock->Advance(100);
    device->Pump();
    {
        ScopedWriteFault fault("take.wav");
        for (int i = 0; i < 5; ++i) {
            clock->Advance(100);
            device->Pump();
        }
    }
    EXPECT_FALSE(device->IsRecording());
    device->Close();
    EXPECT_EQ(device->GetRecordResult(), PIM_ERR_WRITE);
    EXPECT_EQ(errors.errors.size(), 2u);
    EXPECT_EQ(errors.errors.back().code, PIM_ERR_WRITE);
    EXPECT_TRUE(std::filesystem::is_empty(root.Path()));

    // Without a header writer there is nothing to record with.
    device->SetRecordFile("<Rec>take.wav", nullptr);
    ASSERT_EQ(device->Open(22050, 1, &ST_COUNTING_PULL::Pull, &pull), PIM_OK);
    EXPECT_FALSE(device->IsRecording());
    device->Close();
    EXPECT_EQ(device->GetRecordResult(), PIM_OK);
}

TEST(SdlAudio, PullsFromItsOwnThreadOnTheSilentDriver)
{
    struct ST_SHARED
    {
        std::atomic<uint64_t> frames{0};
        std::atomic<uint16_t> channels{2};
    } shared;
    auto pull = [](void* context, int16_t* out, size_t count) {
        auto* self = static_cast<ST_SHARED*>(context);
        std::memset(out, 0, count * self->channels.load() * sizeof(int16_t));
        self->frames += count;
    };
    auto device = CreateSdlAudioDevice("dummy");
    const int opened = device->Open(22050, 2, pull, &shared);
    if (opened != PIM_OK)
        GTEST_SKIP() << "no audio at all on this machine (" << opened << ")";
    EXPECT_TRUE(device->IsOpen());
    EXPECT_EQ(device->GetRate(), 22050u);
    EXPECT_EQ(device->GetChannels(), 2);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (shared.frames.load() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GT(shared.frames.load(), 0u);
    device->Pump(); // nothing to do for a device with a thread of its own
    device->Close();
    EXPECT_FALSE(device->IsOpen());
    // Closed means the thread has left the pull for good.
    const uint64_t after = shared.frames.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(shared.frames.load(), after);
    // Reopening works; a bad format is refused before SDL is asked.
    shared.channels = 1;
    EXPECT_EQ(device->Open(22050, 1, pull, &shared), PIM_OK);
    EXPECT_EQ(device->Open(22050, 5, pull, &shared), PIM_ERR_BAD_ARG);
    EXPECT_FALSE(device->IsOpen());
}
