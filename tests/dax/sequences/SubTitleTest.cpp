// Timed subtitles: the lines and durations of a subtitle file, the strip
// under the root, lines of one frame, empty files, pauses, queues, the
// completion callback, and a subtitle that plays on after its event.
#include "DAX/sequences/CSoundEvent.h"
#include "DAX/sequences/CxAudioSubTitle.h"
#include "DAX/sequences/DaxSequences.h"
#include "PIM/app/PimEventCategories.h"
#include "tests/dax/sequences/SequenceTestSupport.h"

#include <string>

namespace {

using SequenceTest::Sequences;

std::string Repeat(const std::string& part, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += part;
    return out;
}

TEST(SubtitleLines, DurationsTextsAndLineEnds)
{
    const std::string text = "-1, abcd\r\n0, zero\n-5,negative\n  250,   spaced  \nno comma here\n\n-1, " +
                             Repeat("\xC3\xA9", 10) + "\r99999999999, long\n-1,\n";
    std::vector<ST_SUBTITLE_LINE> lines;
    CxAudioSubTitle::ParseLines(text.data(), text.size(), lines);
    ASSERT_EQ(lines.size(), 7u);
    const struct
    {
        const char* text;
        uint32_t duration;
    } expected[] = {
        {"abcd", 200},
        {"zero", 0},
        {"negative", 0},
        {"spaced  ", 250},
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 500},
        {"long", 2147483647u},
        {"", 0},
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_STREQ(lines[i].text.GetText(), expected[i].text) << i;
        EXPECT_EQ(lines[i].duration, expected[i].duration) << i;
    }
}

class Subtitles : public Sequences
{
protected:
    // The subtitle of the front event of the system channel's last post.
    CxAudioSubTitle* Post(const char* text)
    {
        CxEvent* event = CreateEventFromText(text);
        auto* sound = dynamic_cast<CSoundEvent*>(event);
        if (!sound)
            return nullptr;
        ::Post(event, System());
        return dynamic_cast<CxAudioSubTitle*>(sound->GetSound());
    }
    int UntilEmpty() { return RunUntil([this] { return IsChannelEmpty(System()); }); }
};

TEST_F(Subtitles, AMinusOneLineLastsFiftyMillisecondsACharacter)
{
    Text("line.txt", "-1, abcdefghijklmnopqrst\n");
    Text("accents.txt", "-1, " + Repeat("\xC3\xA9", 20) + "\n");
    for (const char* file : {"line.txt", "accents.txt"}) {
        CxAudioSubTitle* subtitle = Post(("system.PlaySound(-1, " + std::string(file) + ")").c_str());
        ASSERT_NE(subtitle, nullptr);
        Frame();
        EXPECT_EQ(subtitle->GetShownLine(), 0);
        EXPECT_EQ(UntilEmpty(), 1000) << file;
    }
}

TEST_F(Subtitles, EmptyFilesAndOneFrameLinesNeverHold)
{
    Text("empty.txt", "");
    Text("nolines.txt", "no comma\n\n");
    for (const char* file : {"empty.txt", "nolines.txt"}) {
        ASSERT_NE(Post(("system.PlaySound(-1, " + std::string(file) + ")").c_str()), nullptr);
        Frame();
        EXPECT_TRUE(IsChannelEmpty(System())) << file;
    }
    Text("flash.txt", "0, a\n-7, b\n");
    CxAudioSubTitle* subtitle = Post("system.PlaySound(-1, flash.txt)");
    ASSERT_NE(subtitle, nullptr);
    Frame();
    EXPECT_STREQ(subtitle->GetStrip().GetText(), "a");
    Frame();
    EXPECT_STREQ(subtitle->GetStrip().GetText(), "b");
    EXPECT_EQ(UntilEmpty(), 10);

    // A missing file is a sound that cannot start.
    ASSERT_NE(Post("system.PlaySound(-1, missing.TXT)"), nullptr);
    Frame();
    EXPECT_TRUE(IsChannelEmpty(System()));
}

TEST_F(Subtitles, TheStripLiesAlongTheBottomOfTheRoot)
{
    Text("two.txt", "100, first line\n100, second line\n");
    for (const CxSize size : {CxSize(640, 480), CxSize(320, 200)}) {
        ShutdownDisplay();
        ASSERT_EQ(InitDisplay(size, 1), PIM_OK);
        CxAudioSubTitle* subtitle = Post("system.PlaySound(-1, two.txt)");
        ASSERT_NE(subtitle, nullptr);
        Frame();
        const CxDrawText& strip = subtitle->GetStrip();
        EXPECT_EQ(strip.GetParent(), GetRootObject());
        EXPECT_EQ(strip.GetRect(), CxRect(0, size.height - 40, size.width - 1, size.height - 1));
        EXPECT_TRUE(strip.IsShown());
        EXPECT_EQ(strip.GetTextFlags(), 0xA4u);
        EXPECT_EQ(strip.GetBackground(), 255u);
        EXPECT_EQ(strip.GetFontHandle(), PIM_DEFAULT_FONT);
        EXPECT_STREQ(strip.GetText(), "first line");
        Run(100);
        EXPECT_STREQ(strip.GetText(), "second line");
        EXPECT_EQ(UntilEmpty(), 100);
        EXPECT_FALSE(strip.IsShown());
        EXPECT_EQ(strip.GetParent(), nullptr);
    }
}

int g_finished = 0;
uint32_t g_finishedAt = 0;

void Finished(int code, CxSound*)
{
    ++g_finished;
    g_finishedAt = PimGetTicks() + static_cast<uint32_t>(code);
}

TEST_F(Subtitles, PausesHoldTheLineAndTheCallbackComesAfterTheLast)
{
    const char text[] = "300, a\n100, b\n";
    CxAudioSubTitle subtitle;
    ASSERT_EQ(subtitle.LoadFromMemory(text, sizeof text - 1, false), PIM_OK);
    g_finished = 0;
    subtitle.SetCallback(&Finished);
    ASSERT_EQ(subtitle.Play(), PIM_OK);
    const uint32_t start = Now();
    Run(100);
    subtitle.Pause();
    Run(1000);
    EXPECT_EQ(subtitle.GetShownLine(), 0);
    subtitle.Resume();
    Run(190);
    EXPECT_EQ(subtitle.GetShownLine(), 0);
    Run(10);
    EXPECT_EQ(subtitle.GetShownLine(), 1);
    EXPECT_EQ(g_finished, 0);
    Run(100);
    EXPECT_EQ(subtitle.GetShownLine(), -1);
    EXPECT_TRUE(subtitle.IsDone());
    EXPECT_EQ(g_finished, 1);
    EXPECT_EQ(g_finishedAt - start, 1400u);
    Run(500);
    EXPECT_EQ(g_finished, 1);
}

TEST_F(Subtitles, AQueuedSubtitleWaitsForTheSoundsAheadOfIt)
{
    Wave("long.wav", 500);
    Text("after.txt", "100, after the wave\n");
    const PimChannelId other = CreateChannel();
    ASSERT_EQ(DoEvent("system.PlaySound(0, long.wav)", other), PIM_OK);
    Frame();
    CxAudioSubTitle* subtitle = Post("system.PlaySound(0, after.txt)");
    ASSERT_NE(subtitle, nullptr);
    Run(300);
    EXPECT_TRUE(subtitle->IsQueued());
    EXPECT_EQ(subtitle->GetShownLine(), -1);
    RunUntil([&] { return subtitle->GetShownLine() == 0; });
    EXPECT_TRUE(IsChannelEmpty(other));
    EXPECT_GE(UntilEmpty(), 90);
}

// Done as soon as it has begun, the event goes at once; its subtitle plays
// to its end, then the sound system deletes it.
TEST_F(Subtitles, AStartedSubtitleOutlivesItsEvent)
{
    Text("two.txt", "100, one\n100, two\n");
    const size_t sounds = GetSoundCount();
    ASSERT_EQ(DoEvent("system.StartSound(-1, two.txt)"), PIM_OK);
    Frame();
    EXPECT_TRUE(IsChannelEmpty(System()));
    EXPECT_EQ(GetSoundCount(), sounds + 1);
    EXPECT_EQ(GetRootObject()->CountChildren(PIM_COUNT_SHOWN_ONLY), 1);
    Run(400);
    EXPECT_EQ(GetSoundCount(), sounds);
    EXPECT_EQ(GetRootObject()->CountChildren(PIM_COUNT_SHOWN_ONLY), 0);

    // Not started, an owned subtitle goes with its event.
    {
        std::unique_ptr<CxEvent> unstarted(CreateEventFromText("system.StartSound(-1, two.txt)"));
        EXPECT_EQ(GetSoundCount(), sounds + 1);
    }
    EXPECT_EQ(GetSoundCount(), sounds);
}

} // namespace
