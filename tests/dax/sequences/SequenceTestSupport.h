#pragma once
// What the sequence tests share: a mounted folder of sequence, subtitle and
// sound files written by the test, the virtual clock, the headless sound
// system, a 640 x 480 display, the "system" category registered, services
// with an interpolator, a Lua engine, a system channel and a recording
// command handler, and frames that run the main loop's services and then
// the event channels.

#include "DAX/base/CDaxServices.h"
#include "DAX/sequences/CDaxSystemEvents.h"
#include "DAX/sequences/CNotifyEvent.h"
#include "DAX/sequences/DaxLingeringSounds.h"
#include "DAX/sequences/DaxSequenceReader.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxOptions.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/sound/PimSound.h"
#include "tests/support/Recorders.h"
#include "tests/support/SoundBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace SequenceTest {

struct ST_COMMAND
{
    std::string name;
    std::vector<std::string> args;
};

class RecordingCommands : public CCommandHandler
{
public:
    void OnCommand(const char* name, const CxEventArgs& args) override
    {
        ST_COMMAND command{name, {}};
        for (size_t i = 0; i < args.GetCount(); ++i)
            command.args.emplace_back(args.Get(i)->GetText());
        commands.push_back(command);
    }
    std::vector<ST_COMMAND> commands;
};

class SequenceServices : public CDaxServices
{
public:
    SequenceServices() { engine.CreateState(); }
    const CxInterpolator* GetInterpolator() const override { return &interpolator; }
    CxLuaEngine* GetLuaEngine() const override { return &engine; }
    PimChannelId GetSystemChannel() const override { return systemChannel; }
    CCommandHandler* GetSystemCommandHandler() const override { return &commands; }

    CxInterpolator interpolator;
    mutable CxLuaEngine engine;
    mutable RecordingCommands commands;
    PimChannelId systemChannel = 0;
};

struct ST_HEARD
{
    PimChannelId channel;
    uint32_t tick;
    // The code of a notice, -1 for any other event.
    int code;
};

// Hears every event of the channels it is told, with the time.
class Ears : public CxEventListener
{
public:
    int OnEvent(PimChannelId channel, CxEvent* event) override
    {
        const auto* notice = dynamic_cast<const CNotifyEvent*>(event);
        heard.push_back({channel, PimGetTicks(), notice ? notice->GetCode() : -1});
        return 0;
    }
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const ST_HEARD& one : heard)
            if (one.code >= 0)
                codes.push_back(one.code);
        return codes;
    }
    std::vector<ST_HEARD> heard;
};

class Sequences : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PimSetClock(&m_clock);
        ResetMainLoopCallbacks();
        FlushSequenceCache();
        ASSERT_EQ(InitDisplay(CxSize(640, 480), 1), PIM_OK);
        m_fs = std::make_unique<CxDirectoryFileSystem>("<Seq>", m_folder.Path().c_str());
        CxOptions config;
        ASSERT_EQ(InitSound(&config, HeadlessBackend().makeAudioDevice), PIM_OK);
        m_services.systemChannel = CreateChannel();
        SetDaxServices(&m_services);
        ASSERT_EQ(m_system.Register(), PIM_OK);
    }
    void TearDown() override
    {
        ClearRandomScript();
        ResetEventSystem();
        DaxReleaseLingeringSounds();
        m_system.Unregister();
        SetDaxServices(nullptr);
        FlushSequenceCache();
        ShutdownSound();
        ResetMainLoopCallbacks();
        m_fs.reset();
        ShutdownDisplay();
        PimSetClock(nullptr);
    }

    void Text(const std::string& name, const std::string& text) { m_folder.Write(name, text); }

    // A 16-bit mono wave of `ms` milliseconds of a square tone.
    void Wave(const std::string& name, int ms) { m_folder.Write(name, SquareToneWave(ms)); }

    // Frames of 10 ms: the main loop's services (timers, subtitles, sounds),
    // then the event channels, in that order whoever registered first.
    void Frame()
    {
        m_clock.Advance(10);
        RemoveMainLoopCallback(&DispatchEvents);
        RunMainLoopCallbacks();
        DispatchEvents();
    }
    void Run(int ms)
    {
        for (int t = 0; t < ms; t += 10)
            Frame();
    }
    // Frames until `done` (at most `limit` ms); the time it took.
    template <class Done>
    int RunUntil(Done done, int limit = 20000)
    {
        int t = 0;
        while (!done() && t < limit) {
            Frame();
            t += 10;
        }
        return t;
    }
    uint32_t Now() const { return PimGetTicks(); }
    PimChannelId System() const { return m_services.systemChannel; }

    CxVirtualClock m_clock{1000};
    TempFolder m_folder;
    std::unique_ptr<CxDirectoryFileSystem> m_fs;
    SequenceServices m_services;
    CDaxSystemEvents m_system;
    ErrorRecorder m_errors;
};

} // namespace SequenceTest
