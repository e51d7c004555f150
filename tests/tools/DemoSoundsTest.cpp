// The demo sounds: waves the engine decodes, of the lengths the rooms expect;
// the tunes loop cleanly and stay soft enough to play under the voices.
#include "PIM/sound/PimSoundDecode.h"
#include "tests/support/TempFolder.h"
#include "tools/painter/DemoSounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

namespace {

double Peak(const int16_t* samples, size_t count)
{
    int loudest = 0;
    for (size_t i = 0; i < count; ++i)
        loudest = std::max(loudest, std::abs(int{samples[i]}));
    return loudest / 32768.0;
}

} // namespace

TEST(DemoSounds, MakesEveryWaveLongAndLoudAsMeant)
{
    TempFolder first, second;
    ASSERT_EQ(MakeDemoSounds(first.Path().c_str(), false), PIM_OK);
    ASSERT_EQ(MakeDemoSounds(second.Path().c_str(), false), PIM_OK);
    struct Expected
    {
        double seconds;
        bool loops;
        bool endsSilent; // the chime's bells still ring when it ends
    };
    const std::map<std::string, Expected> expected = {
        {"common/chime.wav", {0.9, false, false}},       {"prop/chirp.wav", {0.5, false, true}},
        {"common/tune.wav", {8.0, true, true}},          {"credits/music.wav", {10.0, true, true}},
        {"FarmyardMenu/cluck.wav", {0.4, false, true}},  {"FarmyardMenu/baa.wav", {0.6, false, true}},
        {"FarmyardMenu/S03_sfx_farmamb.wav", {6.0, true, true}}, {"FairgroundMenu/S04_sfx_fairamb.wav", {4.8, true, true}},
        {"PigPen/s13_rtDrink.wav", {0.6, false, true}},  {"PigPen/s13_rtBrush.wav", {0.8, false, true}},
        {"PigPen/s13_rtFillBowl.wav", {1.2, false, true}},
        {"BaleOut/sc_win.wav", {1.4, false, true}},      {"BaleOut/sc_plus.wav", {0.3, false, true}},
        {"BaleOut/sc_minus.wav", {0.4, false, true}},    {"BaleOut/G02_sfx_belt.wav", {0.5, false, true}},
        {"Croquet/kick_ball.wav", {0.25, false, true}},  {"Croquet/losesound.wav", {1.2, false, true}},
        {"Croquet/throughwicket.wav", {0.6, false, true}}, {"Croquet/NewPlayerComing.wav", {0.5, false, true}},
        {"Croquet/mud.wav", {0.5, false, true}},         {"Croquet/gum.wav", {0.5, false, true}},
        {"Croquet/water.wav", {0.7, false, true}},       {"Croquet/soccer_musicloop.wav", {16 * 60.0 / 132, true, true}},
        {"Puzzle/scPuzzle_change.wav", {0.5, false, true}}, {"Puzzle/scPuzzle_complete.wav", {0.35, false, true}},
        {"Quiz/tr_swoosh.wav", {0.4, false, true}},      {"Quiz/tr_good.wav", {0.7, false, true}},
        {"Quiz/tr_bad.wav", {0.6, false, true}},
        {"sound/pt_crayonDraw.wav", {0.6, false, true}},  {"sound/save.wav", {0.7, false, true}},
        {"sound/print.wav", {0.8, false, true}},         {"sound/erase.wav", {0.5, false, true}},
        {"PigsOut/scPigsOut_collect.wav", {0.4, false, true}}, {"PigsOut/scPigsOut_trip.wav", {0.6, false, true}},
        {"PigsOut/pigcaught.wav", {0.7, false, true}},
    };
    size_t count = 0;
    for (const char* const* name = GetDemoSoundNames(); *name; ++name, ++count) {
        SCOPED_TRACE(*name);
        const std::string bytes = first.Read(*name);
        EXPECT_EQ(bytes, second.Read(*name));
        ST_PCM pcm;
        ASSERT_EQ(DecodeSound(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), PIM_SOUND_KIND_WAVE, pcm),
                  PIM_OK);
        EXPECT_EQ(pcm.rate, 22050u);
        EXPECT_EQ(pcm.channels, 1);
        const auto found = expected.find(*name);
        ASSERT_NE(found, expected.end()) << "a sound the test does not know";
        EXPECT_NEAR(pcm.frames / 22050.0, found->second.seconds, 0.001);
        const double peak = Peak(pcm.samples.data(), pcm.frames);
        EXPECT_GT(peak, 0.2);
        EXPECT_LT(peak, 0.7);
        // Every sound starts from silence and dies away to it: no click as
        // it starts or stops, and none where a loop joins its end to its
        // start.
        constexpr size_t kEdge = 22050 / 200; // 5 ms
        EXPECT_EQ(pcm.samples.front(), 0);
        if (found->second.endsSilent) {
            EXPECT_LT(Peak(pcm.samples.data() + pcm.frames - kEdge, kEdge), 0.01);
        }
        if (found->second.loops) {
            EXPECT_LT(Peak(pcm.samples.data() + pcm.frames - kEdge * 10, kEdge * 10), 0.01) << "rings into the loop";
            EXPECT_LT(peak, 0.35) << "too loud to play under the voices";
        }
    }
    EXPECT_EQ(count, expected.size());
    EXPECT_NEAR(Peak(reinterpret_cast<const int16_t*>(first.Read("common/tune.wav").data() + 44), 22050 * 8), 1 / 3.0,
                0.01);
}
