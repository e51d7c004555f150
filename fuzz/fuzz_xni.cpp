// A sprite description file (".xni") from arbitrary bytes, read by the one
// reader the game, the data checker and this target share, into a talking
// character whose states load from a few pictures made at start in a
// mounted folder (a strip of four frames, a 32-bit still, a 24-bit strip of
// three) with a short wave for state sounds. Then every state (the first
// few of a large count) is selected, played and stopped over a bounded run
// of virtual time, the states are copied into a second sprite, and one is
// unloaded and loaded again: what any description can make the sprite do,
// it must do without a fault, a hang or a state outside its range.
#include "DAX/sprites/CDaxCharacter.h"
#include "DAX/sprites/CSuperState.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/sound/PimSound.h"
#include "PIM/sound/PimWavFile.h"
#include "fuzz/FuzzFolder.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Quiet(void*, int, const char*) {}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// States played per input, and the virtual time each is given.
constexpr int kStatesPlayed = 6;
constexpr int kStepsPerState = 30;

struct ST_FUZZ_FILES
{
    fuzz::MountedFolder folder{"<Xni>"};
    CxVirtualClock clock{1000};

    ST_FUZZ_FILES()
    {
        PimSetClock(&clock);
        RegisterDefaultImageFilters();
        folder.Picture("strip.tga", 4, 8, 6, 16, 0x40);
        folder.Picture("alpha.tga", 1, 5, 5, 32, 0x40);
        folder.Picture("mouth.tga", 5, 4, 2, 16, 0x40);
        folder.Picture("deep.tga", 3, 6, 4, 24, 0x40);
        std::vector<int16_t> samples(2205 * 3);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>((i % 40) < 20 ? 3000 : -3000);
        folder.Remember("ding.wav");
        WritePcmWav16("<Xni>ding.wav", samples.data(), samples.size(), 1, 22050);
        InitSound(nullptr, HeadlessBackend().makeAudioDevice);
    }
    ~ST_FUZZ_FILES() { ShutdownSound(); }
    ST_FUZZ_FILES(const ST_FUZZ_FILES&) = delete;
    ST_FUZZ_FILES& operator=(const ST_FUZZ_FILES&) = delete;

    static ST_FUZZ_FILES& Get()
    {
        static ST_FUZZ_FILES files;
        return files;
    }
};

void CheckWhole(const CDaxSprite& sprite)
{
    const int count = sprite.GetStateCount();
    Check(count >= 0 && count <= DAX_MAX_SPRITE_STATES);
    if (count > 0)
        Check(sprite.GetState() >= 0 && sprite.GetState() < count);
    Check(sprite.GetFrameCount() >= 0);
    Check(sprite.GetFrame() >= 0 && (sprite.GetFrameCount() == 0 || sprite.GetFrame() < sprite.GetFrameCount()));
}

void Advance(ST_FUZZ_FILES& files, int steps)
{
    for (int i = 0; i < steps; ++i) {
        files.clock.Advance(10);
        CxAnimation::UpdateAll();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        SetErrorHandler({&Quiet, nullptr});
        SetTraceToStdout(false);
        return ST_FUZZ_FILES::Get().folder.IsMounted();
    }();
    ST_FUZZ_FILES& files = ST_FUZZ_FILES::Get();
    if (!ready || !files.folder.Write("input.xni", data, size))
        return 0;

    CDaxCharacter sprite;
    sprite.Load("<Xni>input.xni");
    CheckWhole(sprite);
    const int count = sprite.GetStateCount();
    const int played = count < kStatesPlayed ? count : kStatesPlayed;
    for (int state = 0; state < played; ++state) {
        sprite.SetState(state);
        CheckWhole(sprite);
        sprite.PlayOnce(state);
        Advance(files, kStepsPerState);
        CheckWhole(sprite);
        sprite.Stop();
    }
    sprite.SetState(-1);
    sprite.PlayInfinite(-1);
    Advance(files, 5);
    CheckWhole(sprite);

    CDaxSprite copy;
    copy.CopyStatesFrom(sprite);
    CheckWhole(copy);
    sprite.UnloadState(sprite.GetState());
    copy.PlayOnce(0);
    Advance(files, 5);
    CheckWhole(copy);
    if (count > 1)
        sprite.LoadState(1);
    sprite.UnloadStates();
    copy.SetState(count - 1);
    CheckWhole(copy);
    return 0;
}
