// A subtitle file from arbitrary bytes: its lines read, then played as a
// sound on the virtual clock with the headless mixer, with the strip under
// a small root, paused and resumed on the way, for a bounded number of
// frames or until it has shown its last line. Every line must have a
// duration a timer can hold and a text cut from the input, the line shown
// must be one of them, and stopping must take the strip away.
#include "DAX/sequences/CxAudioSubTitle.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxTimer.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/sound/PimSound.h"

#include <cstdlib>

namespace {

void Quiet(void*, int, const char*) {}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr int kFrames = 400;

struct ST_FUZZ_WORLD
{
    CxVirtualClock clock{1000};
    ST_FUZZ_WORLD()
    {
        PimSetClock(&clock);
        InitDisplay(CxSize(200, 120), 1);
        InitSound(nullptr, HeadlessBackend().makeAudioDevice);
    }
    ~ST_FUZZ_WORLD()
    {
        ShutdownSound();
        ShutdownDisplay();
    }
    ST_FUZZ_WORLD(const ST_FUZZ_WORLD&) = delete;
    ST_FUZZ_WORLD& operator=(const ST_FUZZ_WORLD&) = delete;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ST_FUZZ_WORLD world;
    static const bool quiet = [] {
        SetErrorHandler({&Quiet, nullptr});
        SetTraceToStdout(false);
        return true;
    }();
    (void)quiet;

    CxAudioSubTitle subtitle;
    Check(subtitle.LoadFromMemory(data, size, size > 0 && (data[0] & 1)) == PIM_OK);
    const size_t count = subtitle.GetLineCount();
    Check(count <= size);
    for (size_t i = 0; i < count; ++i) {
        const ST_SUBTITLE_LINE* line = subtitle.GetLine(i);
        Check(line->duration <= kMaxTimerSpan);
        Check(static_cast<size_t>(line->text.Length()) <= size);
    }
    if (subtitle.Play() != PIM_OK)
        return 0;
    for (int frame = 0; frame < kFrames && !subtitle.IsDone(); ++frame) {
        if (frame == kFrames / 4)
            subtitle.Pause();
        if (frame == kFrames / 4 + 20)
            subtitle.Resume();
        world.clock.Advance(10);
        RunMainLoopCallbacks();
        const int shown = subtitle.GetShownLine();
        Check(shown >= -1 && shown < static_cast<int>(count));
        if (shown >= 0)
            Check(subtitle.GetStrip().GetParent() == GetRootObject());
    }
    subtitle.Stop();
    Check(subtitle.IsDone() && !subtitle.GetStrip().IsShown() && !subtitle.GetStrip().GetParent());
    return 0;
}
