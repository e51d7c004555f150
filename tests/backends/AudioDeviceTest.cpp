// The back ends' audio devices: the headless one on the virtual clock (frame
// counts, stalls, refused formats) and the SDL one on SDL's silent driver.

#include "PIM/backends/headless/CxHeadlessAudioDevice.h"
#include "PIM/backends/sdl/CxSdlAudioDevice.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

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

} // namespace

TEST(HeadlessAudio, TheClockSaysHowManyFramesAreMixed)
{
    // Starts near the wrap of the 32-bit tick count, which must not matter.
    ScopedVirtualClock clock(0xFFFFF000u);
    auto device = std::make_unique<CxHeadlessAudioDevice>();
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
