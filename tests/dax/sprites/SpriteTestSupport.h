#pragma once
// What the scripted sprite and talking character tests share: a folder of
// pictures, sounds and description files made by the test and mounted as a
// file system, the virtual clock, the headless sound system, and frames of
// the main loop (timers, animations, sounds) with the event dispatch.

#include "PIM/app/PimEventChannels.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/sound/PimSound.h"
#include "PIM/sound/PimWavFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace SpriteTest {

// 16-bit samples of `ms` milliseconds at 22,050 Hz whose loudness climbs
// window by window (100 ms each) from quiet to `peak`, a square wave.
inline std::vector<int16_t> RisingSpeech(int ms, int peak = 12000)
{
    const size_t frames = static_cast<size_t>(22050) * static_cast<size_t>(ms) / 1000;
    const size_t windows = std::max<size_t>(1, frames / 2205);
    std::vector<int16_t> samples(frames);
    for (size_t i = 0; i < frames; ++i) {
        const size_t window = std::min(i / 2205, windows - 1);
        const int level = static_cast<int>(peak * (window + 1) / windows);
        samples[i] = static_cast<int16_t>((i / 20) % 2 ? level : -level);
    }
    return samples;
}

class SpriteFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PimSetClock(&m_clock);
        RegisterDefaultImageFilters();
        m_fs = std::make_unique<CxDirectoryFileSystem>("<Art>", m_folder.Path().c_str());
    }
    void TearDown() override
    {
        ShutdownSound();
        ResetMainLoopCallbacks();
        m_fs.reset();
        PimSetClock(nullptr);
    }

    // A text file (a description, a list) in the folder.
    void Text(const std::string& name, const std::string& text) { m_folder.Write(name, text); }

    // A strip of `frames` frames of `width` x `height`: frame f is filled
    // with `colour` + f, except pixel (0, 0) of the whole strip, `corner`.
    void Picture(const std::string& name, int frames, int32_t width, int32_t height, uint32_t colour = 0x100,
                 int depth = 16, uint32_t corner = 0x1F)
    {
        CxDrawSurface strip;
        ASSERT_EQ(strip.Create(width * frames, height, depth), PIM_OK);
        for (int f = 0; f < frames; ++f)
            strip.FillRect(CxRect(f * width, 0, (f + 1) * width - 1, height - 1), colour + static_cast<uint32_t>(f));
        strip.SetPixel(0, 0, corner);
        ASSERT_EQ(strip.Save(("<Art>" + name).c_str()), PIM_OK);
    }

    // A 16-bit mono wave of RisingSpeech.
    void Speech(const std::string& name, int ms)
    {
        const std::vector<int16_t> samples = RisingSpeech(ms);
        const std::vector<uint8_t> bytes = BuildPcmWav16(samples.data(), samples.size(), 1, 22050);
        m_folder.Write(name, std::string(bytes.begin(), bytes.end()));
    }

    void StartSound()
    {
        CxOptions config;
        ASSERT_EQ(InitSound(&config, HeadlessBackend().makeAudioDevice), PIM_OK);
    }

    // `ms` of frames, 10 ms each: the main loop's callbacks (timers,
    // animations, sounds), then the event channels.
    void Run(int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            m_clock.Advance(10);
            RunMainLoopCallbacks();
            DispatchEvents();
        }
    }

    CxVirtualClock m_clock{1000};
    TempFolder m_folder;
    std::unique_ptr<CxDirectoryFileSystem> m_fs;
};

} // namespace SpriteTest
