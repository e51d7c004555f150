// A sequence file (".seq") from arbitrary bytes: read by the reader the game
// uses, then loaded into a sequence with the "system" kinds registered, a
// global interpolator, a short wave, a subtitle file and a second sequence
// file that names this one back (directly and through a dynamic entry) in a
// mounted folder, and run on the virtual clock with the headless mixer for a
// bounded number of frames: paused, resumed, flushed, run again and
// destroyed. Whatever the file says, the run must end without a fault or a
// hang, and the sequence must leave no channel or queued event behind.
#include "DAX/base/CDaxServices.h"
#include "DAX/sequences/CDaxSystemEvents.h"
#include "DAX/sequences/CxEventSequenceFile.h"
#include "DAX/sequences/DaxLingeringSounds.h"
#include "DAX/sequences/DaxSequenceReader.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/sound/PimSound.h"
#include "PIM/sound/PimWavFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

void Quiet(void*, int, const char*) {}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr int kFrames = 300;
constexpr int kSecondRunFrames = 60;

class FuzzServices : public CDaxServices
{
public:
    const CxInterpolator* GetInterpolator() const override { return &interpolator; }
    PimChannelId GetSystemChannel() const override { return channel; }
    CxInterpolator interpolator;
    PimChannelId channel = 0;
};

struct ST_FUZZ_WORLD
{
    std::string path;
    CxDirectoryFileSystem* fs = nullptr;
    CxVirtualClock clock{1000};
    FuzzServices services;
    CDaxSystemEvents system;

    ST_FUZZ_WORLD()
    {
        char pattern[] = "/tmp/fuzz-seq-XXXXXX";
        if (!::mkdtemp(pattern))
            std::abort();
        path = pattern;
        fs = new CxDirectoryFileSystem("<Seq>", path.c_str());
        PimSetClock(&clock);
        InitDisplay(CxSize(320, 200), 1);
        std::vector<int16_t> samples(2205);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>((i % 40) < 20 ? 3000 : -3000);
        WritePcmWav16("<Seq>ding.wav", samples.data(), samples.size(), 1, 22050);
        Write("line.txt", "-1, hello there\n0, one frame\n30, short\n");
        Write("inner.seq", "continue Event system.Notify(1)\nSequence input.seq\n"
                           "continue Dynamic Event system.Sequence(input.seq, ./inner.seq)\n"
                           "Event system.PlaySound(1, ding.wav, line.txt)\n");
        InitSound(nullptr, HeadlessBackend().makeAudioDevice);
        services.channel = CreateChannel();
        services.interpolator.AddString("SOUND", "ding.wav");
        services.interpolator.AddString("SELF", "input.seq");
        SetDaxServices(&services);
        system.Register();
    }
    ~ST_FUZZ_WORLD()
    {
        system.Unregister();
        SetDaxServices(nullptr);
        ResetEventSystem();
        DaxReleaseLingeringSounds();
        ShutdownSound();
        ShutdownDisplay();
        delete fs;
        for (const char* name : {"ding.wav", "line.txt", "inner.seq", "input.seq"})
            std::remove((path + "/" + name).c_str());
        ::rmdir(path.c_str());
    }
    ST_FUZZ_WORLD(const ST_FUZZ_WORLD&) = delete;
    ST_FUZZ_WORLD& operator=(const ST_FUZZ_WORLD&) = delete;

    bool Write(const char* name, const void* data, size_t size) const
    {
        FILE* file = std::fopen((path + "/" + name).c_str(), "wb");
        if (!file)
            return false;
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        return std::fclose(file) == 0 && written;
    }
    bool Write(const char* name, const std::string& text) const { return Write(name, text.data(), text.size()); }

    void Run(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            clock.Advance(10);
            RunMainLoopCallbacks();
            DispatchEvents();
        }
    }

    static ST_FUZZ_WORLD& Get()
    {
        static ST_FUZZ_WORLD world;
        return world;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        SetErrorHandler({&Quiet, nullptr});
        SetTraceToStdout(false);
        return ST_FUZZ_WORLD::Get().fs != nullptr;
    }();
    ST_FUZZ_WORLD& world = ST_FUZZ_WORLD::Get();
    if (!ready || !world.Write("input.seq", data, size))
        return 0;

    ST_SEQUENCE_ENTRIES parsed;
    ParseSequenceText(reinterpret_cast<const char*>(data), size, parsed);
    Check(parsed.entries.size() <= size / 4 + 1);
    for (const ST_SEQUENCE_ENTRY& entry : parsed.entries)
        Check(entry.text.Length() > 0 && static_cast<size_t>(entry.text.Length()) <= size);

    FlushSequenceCache();
    const size_t channels = GetChannelCount();
    const PimChannelId system = world.services.channel;
    {
        CxEventSequenceFile sequence;
        sequence.Load("input.seq", &world.services.interpolator);
        Check(sequence.GetEventCount() <= parsed.entries.size());
        Check(Post(&sequence, system) == PIM_OK);
        world.Run(kFrames / 3);
        PauseChannel(system);
        world.Run(kFrames / 3);
        ResumeChannel(system);
        world.Run(kFrames / 3);
        FlushChannel(system);
        Check(IsChannelEmpty(system) && IsChannelEmpty(sequence.GetSequenceChannel()));
        Check(!sequence.IsStarted());

        // Children are reset, not spent: the same sequence runs again.
        Check(Post(&sequence, system) == PIM_OK);
        world.Run(kSecondRunFrames);
        FlushChannel(system);
        Check(IsChannelEmpty(sequence.GetSequenceChannel()));
    }
    Check(GetChannelCount() == channels);
    DaxReleaseLingeringSounds();
    StopAllQueues();
    return 0;
}
