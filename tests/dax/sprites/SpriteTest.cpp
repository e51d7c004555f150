// Scripted sprites on the virtual clock: loading (eager, preload list, lazy
// through what is mounted later), state selection, per-frame paths, the
// events and commands addressed by name, state sounds, pausing, shared
// states and movie states.
#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxDeferredDelete.h"
#include "DAX/sprites/CDaxSprite.h"
#include "DAX/sprites/CDaxSpritePlayOnceEvent.h"
#include "DAX/sprites/CSuperState.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/CxRandom.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/sound/CxWave.h"
#include "tests/dax/sprites/SpriteTestSupport.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// Three states: a strip of four frames at 8 fps; a path of three frames
// with StartFrame 2; a still picture with a sound.
constexpr const char* kProp = R"([PimSprite]
Name=Prop
NumStates=3
PreLoadList=2, 0

[State000]
FileName=strip.tga
NumFrames=4
FrameRate=8

[State001]
FileName=path.tga
XYPerFrame=1
StartFrame=2
NumFrames=3
FrameRate=10
Frame002=10, 20
Frame003=30, 40, 0
Frame004=50, 60, 1

[State002]
FileName=still.tga
WaveFileName=ding.wav
)";

class Sprites : public SpriteTest::SpriteFiles
{
protected:
    void SetUp() override
    {
        SpriteFiles::SetUp();
        Text("prop.xni", kProp);
        Picture("strip.tga", 4, 8, 6);
        Picture("path.tga", 3, 10, 10);
        Picture("still.tga", 1, 12, 12);
    }
    static CxEvent* Event(const char* text, CxEventCreator* extra = nullptr)
    {
        return CreateEventFromText(text, nullptr, extra);
    }
};

} // namespace

TEST_F(Sprites, ThePreloadListLoadsNowAndAStateLeftOutLoadsLaterThroughWhatIsMountedThen)
{
    // State 1's picture is not there when the sprite loads.
    std::filesystem::remove(m_folder / "path.tga");
    TempFolder later;
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("prop.xni"), PIM_OK);
    EXPECT_EQ(sprite.GetStateCount(), 3);
    EXPECT_TRUE(sprite.IsStateLoaded(0));
    EXPECT_FALSE(sprite.IsStateLoaded(1));
    EXPECT_TRUE(sprite.IsStateLoaded(2));
    EXPECT_EQ(sprite.GetState(), 0);
    EXPECT_EQ(sprite.GetFrameSize(), CxSize(8, 6));
    EXPECT_FALSE(sprite.AreAllStatesMovies()); // a preload list clears it

    CxDirectoryFileSystem mounted("<Later>", later.Path().c_str());
    CxDrawSurface picture;
    ASSERT_EQ(picture.Create(30, 7, 16), PIM_OK);
    ASSERT_EQ(picture.Save("<Later>path.tga"), PIM_OK);
    ASSERT_EQ(sprite.SetState(1), PIM_OK);
    EXPECT_TRUE(sprite.IsStateLoaded(1));
    EXPECT_EQ(sprite.GetFrameSize(), CxSize(10, 7)); // 30 wide, three frames

    // The caller's list wins over the file's.
    CxOptions::IntList only;
    only.Append(2);
    ASSERT_EQ(sprite.Load("prop.xni", &only), PIM_OK);
    EXPECT_FALSE(sprite.IsStateLoaded(1));
    EXPECT_TRUE(sprite.IsStateLoaded(2));
    EXPECT_TRUE(sprite.IsStateLoaded(0)); // loaded on demand as the first state shown
}

TEST_F(Sprites, APathStatePlacesTheSpriteFrameByFrame)
{
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("prop.xni"), PIM_OK);
    ASSERT_EQ(sprite.PlayOnce(1), PIM_OK);
    // Frame002 has no third number: it shows its own frame, 2.
    EXPECT_EQ(sprite.GetPosition(), CxPoint(10, 20));
    EXPECT_EQ(sprite.GetFrame(), 2);
    Run(50);
    EXPECT_EQ(sprite.GetPosition(), CxPoint(10, 20));
    Run(100); // 1000 / FrameRate = 100 ms a frame
    EXPECT_EQ(sprite.GetPosition(), CxPoint(30, 40));
    EXPECT_EQ(sprite.GetFrame(), 0);
    Run(100);
    EXPECT_EQ(sprite.GetPosition(), CxPoint(50, 60));
    EXPECT_EQ(sprite.GetFrame(), 1);
    EXPECT_TRUE(sprite.IsPlaying());
    Run(100);
    EXPECT_TRUE(sprite.IsStopped());
}

TEST_F(Sprites, StateNumbersWrapWithATrueModulo)
{
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("prop.xni"), PIM_OK);
    const std::pair<int, int> cases[] = {{-1, 2}, {-3, 0}, {-4, 2}, {-7, 2}, {4, 1}, {INT_MIN, 1}, {INT_MAX, 1}};
    for (const auto& [asked, selected] : cases) {
        ASSERT_EQ(sprite.SetState(asked), PIM_OK) << asked;
        EXPECT_EQ(sprite.GetState(), selected) << asked;
    }
    // Keep-frame carries the frame over; without it a state starts at 0.
    sprite.SetState(0);
    sprite.SetFrame(3);
    sprite.SetKeepFrame(true);
    sprite.SetState(1);
    EXPECT_EQ(sprite.GetFrame(), 0); // frame 3 wraps in a strip of three
    sprite.SetState(0);
    sprite.SetFrame(2);
    sprite.SetState(1);
    EXPECT_EQ(sprite.GetFrame(), 2);
    sprite.SetKeepFrame(false);
    sprite.SetState(0);
    EXPECT_EQ(sprite.GetFrame(), 0);
}

TEST_F(Sprites, APlayOnceEventPlaysAStateChosenByTheRandomDrawAndHoldsItsChannelUntilTheEnd)
{
    Text("four.xni", "[PimSprite]\nName=Four\nNumStates=4\n"
                     "[State000]\nFileName=strip.tga\nNumFrames=4\nFrameRate=10\n"
                     "[State001]\nFileName=strip.tga\nNumFrames=4\nFrameRate=10\n"
                     "[State002]\nFileName=strip.tga\nNumFrames=4\nFrameRate=10\n"
                     "[State003]\nFileName=strip.tga\nNumFrames=4\nFrameRate=10\n");
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("four.xni"), PIM_OK);
    const int draws[] = {1, 2};
    ScriptRandomDraws(draws, 2);
    std::unique_ptr<CxEvent> first(Event("Four.PlayOnce(1, 3)"));
    auto* chosen = dynamic_cast<CDaxSpritePlayOnceEvent*>(first.get());
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->GetPlayState(), 3); // draw 1 of two arguments
    CxEvent* second = Event("four.playonce(1, 3)");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(dynamic_cast<CDaxSpritePlayOnceEvent*>(second)->GetPlayState(), 1);
    std::unique_ptr<CxEvent> none(Event("Four.PlayOnce()"));
    EXPECT_EQ(dynamic_cast<CDaxSpritePlayOnceEvent*>(none.get())->GetPlayState(), 0);

    const PimChannelId channel = CreateChannel();
    ASSERT_EQ(Post(first.release(), channel), PIM_OK);
    ASSERT_EQ(Post(second, channel), PIM_OK);
    DispatchEvents();
    EXPECT_EQ(sprite.GetState(), 3);
    EXPECT_TRUE(sprite.IsPlaying());
    // Four frames at 10 fps: frame 3, the last, comes 300 ms on.
    Run(250);
    EXPECT_EQ(GetChannelEventCount(channel), 2u);
    Run(70);
    EXPECT_EQ(sprite.GetState(), 1); // the next one has begun
    Run(350);
    EXPECT_TRUE(IsChannelEmpty(channel));
    EXPECT_TRUE(sprite.IsStopped());
}

TEST_F(Sprites, CommandsReachTheSpriteByItsRegisteredNameAndNothingOnceItIsGone)
{
    ErrorRecorder errors;
    auto* sprite = new CDaxSprite;
    ASSERT_EQ(sprite->Load("prop.xni"), PIM_OK);
    EXPECT_STREQ(sprite->GetRegisteredName(), "Prop");
    EXPECT_EQ(FindEventCategory("PROP"), sprite);
    const PimChannelId channel = CreateChannel();
    for (const char* text : {"Prop.SetState(2)", "Prop.Paint(5, 7)", "prop.LoadState(9)", "Prop.UnLoadState(0)"})
        Post(Event(text), channel);
    Run(40);
    EXPECT_EQ(sprite->GetState(), 2);
    EXPECT_EQ(sprite->GetPosition(), CxPoint(5, 7));
    EXPECT_TRUE(sprite->IsShown());
    EXPECT_FALSE(sprite->IsStateLoaded(0));
    ASSERT_EQ(errors.errors.size(), 1u); // state 9 is no state
    EXPECT_EQ(errors.errors[0].code, PIM_ERR_BAD_ARG);
    Post(Event("Prop.PlayInfinite(0)"), channel);
    Post(Event("Prop.Erase()"), channel);
    Run(20);
    EXPECT_FALSE(sprite->IsShown());
    EXPECT_TRUE(sprite->IsPlaying());
    EXPECT_TRUE(sprite->IsStateLoaded(0)); // loaded again on demand

    // "this" reaches it when it is the extra creator.
    std::unique_ptr<CxEvent> local(Event("this.PlayOnce()", sprite));
    EXPECT_NE(dynamic_cast<CDaxSpritePlayOnceEvent*>(local.get()), nullptr);
    EXPECT_EQ(Event("Other.PlayOnce()", sprite), nullptr);

    // Queued commands and events outlive their sprite harmlessly.
    Post(Event("Prop.SetState(1)"), channel);
    Post(Event("Prop.PlayOnce(0)"), channel);
    delete sprite;
    EXPECT_EQ(FindEventCategory("Prop"), nullptr);
    local->Start();
    EXPECT_TRUE(local->IsDone());
    Run(30);
    EXPECT_TRUE(IsChannelEmpty(channel));
}

TEST_F(Sprites, KillFromASequenceReleasesTheSpriteWhichItsOwnerDeletesLater)
{
    auto* sprite = new CDaxSprite;
    CxDisplayObject parent;
    sprite->SetParent(&parent);
    ASSERT_EQ(sprite->Load("prop.xni"), PIM_OK);
    sprite->Show();
    const PimChannelId playing = CreateChannel();
    const PimChannelId killing = CreateChannel();
    Post(Event("Prop.PlayOnce(0)"), playing);
    Run(10);
    Post(Event("Prop.Kill()"), killing);
    Run(10);
    // Whole, hidden, detached, without states or name; the play is over.
    EXPECT_FALSE(sprite->IsShown());
    EXPECT_EQ(sprite->GetParent(), nullptr);
    EXPECT_EQ(sprite->GetStateCount(), 0);
    EXPECT_EQ(FindEventCategory("Prop"), nullptr);
    Run(10);
    EXPECT_TRUE(IsChannelEmpty(playing));
    DaxDeleteLater(sprite);
    DaxFlushDeferred();
}

TEST_F(Sprites, StateSoundsFollowTheManualAndAutoStopSettings)
{
    StartSound();
    Speech("ding.wav", 2000);
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("prop.xni"), PIM_OK);
    CxWave* ding = sprite.GetSuperState(2)->GetSound().Get();
    ASSERT_NE(ding, nullptr);
    EXPECT_EQ(DaxServices().GetDefaultSoundCache().GetUsers("ding.wav"), 1u); // the state's handle

    sprite.PlayOnce(2);
    EXPECT_TRUE(ding->IsStarted());
    sprite.Stop(); // auto-stop, the setting of a new sprite
    EXPECT_FALSE(ding->IsStarted());
    // Playing the current state (-1) does not start its sound again.
    sprite.PlayOnce(-1);
    EXPECT_FALSE(ding->IsStarted());

    sprite.SetAutoStopStateSounds(false);
    sprite.PlayOnce(2);
    sprite.Stop();
    EXPECT_TRUE(ding->IsStarted());
    ding->Stop();

    Text("manual.xni", std::string(kProp).replace(std::string(kProp).find("NumStates"), 0, "ManualStateSounds=1\n"));
    ASSERT_EQ(sprite.Load("manual.xni"), PIM_OK);
    EXPECT_TRUE(sprite.GetManualStateSounds());
    ding = sprite.GetSuperState(2)->GetSound().Get();
    sprite.PlayOnce(2);
    EXPECT_TRUE(sprite.IsPlaying());
    EXPECT_FALSE(ding->IsStarted());
}

TEST_F(Sprites, PausingNestsOverTheAnimationAndTheStateSound)
{
    StartSound();
    Speech("ding.wav", 3000);
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("prop.xni"), PIM_OK);
    sprite.PlayInfinite(2);
    CxWave* ding = sprite.GetSuperState(2)->GetSound().Get();
    sprite.Pause();
    sprite.Pause();
    EXPECT_TRUE(ding->IsPaused());
    sprite.Resume();
    EXPECT_TRUE(ding->IsPaused());
    sprite.Resume();
    EXPECT_FALSE(ding->IsPaused());
    EXPECT_TRUE(ding->IsStarted());
    sprite.Resume(); // one too many does nothing
    EXPECT_EQ(sprite.GetPauseCount(), 0);

    // Frames stand still while paused, even across a Play.
    sprite.PlayInfinite(0);
    sprite.Pause();
    Run(400);
    EXPECT_EQ(sprite.GetFrame(), 0);
    sprite.PlayInfinite(0);
    Run(400);
    EXPECT_EQ(sprite.GetFrame(), 0);
    sprite.Resume();
    Run(260); // 8 fps: two frames on
    EXPECT_EQ(sprite.GetFrame(), 2);

    // A play-once event's pause is one pause of the sprite, given back.
    std::unique_ptr<CxEvent> event(CreateEventFromText("Prop.PlayOnce(0)"));
    event->Start();
    event->Pause();
    event->Pause();
    EXPECT_EQ(sprite.GetPauseCount(), 1);
    event.reset();
    EXPECT_EQ(sprite.GetPauseCount(), 0);
}

TEST_F(Sprites, CopiedStatesOutliveTheOriginal)
{
    auto* original = new CDaxSprite;
    ASSERT_EQ(original->Load("prop.xni"), PIM_OK); // 2 and 0 loaded
    CDaxSprite copy;
    ASSERT_EQ(copy.CopyStatesFrom(*original), PIM_OK);
    EXPECT_TRUE(copy.HasSharedStates());
    EXPECT_STREQ(copy.GetName(), "Prop");
    EXPECT_STREQ(copy.GetRegisteredName(), ""); // the name stays the original's
    for (int state = 0; state < 3; ++state) {
        ASSERT_TRUE(original->IsStateLoaded(state)) << state; // state 1 loaded for the copy
        EXPECT_EQ(copy.GetSuperState(state), original->GetSuperState(state));
        EXPECT_EQ(copy.GetSuperState(state)->GetHolderCount(), 2);
    }
    // Each animates on its own.
    original->PlayInfinite(0);
    EXPECT_TRUE(copy.IsStopped());

    CSuperState* first = copy.GetSuperState(0);
    original->UnloadState(0);
    EXPECT_EQ(first->GetHolderCount(), 1);
    original->UnloadStates();
    delete original;
    // Still whole: the copy shows and plays what the original let go of.
    EXPECT_EQ(copy.GetSurface(), first->GetSurface());
    ASSERT_EQ(copy.PlayOnce(0), PIM_OK);
    Run(600);
    EXPECT_TRUE(copy.IsStopped());
    EXPECT_EQ(copy.GetFrame(), 3);
    EXPECT_EQ(copy.SetState(1), PIM_OK);
    EXPECT_EQ(copy.GetFrameSize(), CxSize(10, 10));
}

TEST_F(Sprites, UnloadingTheShownStateTakesItsPictureAndAnimationOffFirst)
{
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("prop.xni"), PIM_OK);
    sprite.PlayInfinite(0);
    ASSERT_EQ(sprite.UnloadState(0), PIM_OK);
    EXPECT_EQ(sprite.GetSurface(), nullptr);
    EXPECT_TRUE(sprite.IsStopped());
    EXPECT_EQ(sprite.GetAnimation().GetActionCount(), 0);
    Run(100);
    // Playing the current state, not loaded, does nothing.
    EXPECT_NE(sprite.Play(-1), PIM_OK);
    EXPECT_TRUE(sprite.IsStopped());
    ASSERT_EQ(sprite.PlayOnce(0), PIM_OK); // loads it again
    EXPECT_NE(sprite.GetSurface(), nullptr);
}

namespace {

// A movie of `frames` frames whose size is written in its name
// ("walk-8x4.mov" is 8 x 4); frame n is the flat colour n + 1.
class SizedMovie : public CxMovieDriver
{
public:
    explicit SizedMovie(const char* name)
    {
        const char* size = std::strrchr(name, '-');
        if (size)
            std::sscanf(size + 1, "%dx%d", &m_width, &m_height);
    }
    int Open(const char*, uint32_t) override { return PIM_OK; }
    void Close() override {}
    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    int GetNativeDepth() const override { return 16; }
    int32_t GetFrameCount() const override { return 6; }
    int GotoFrame(int32_t) override { return PIM_OK; }
    int32_t GetLastFrame() const override { return m_last; }
    int Render(ST_MOVIE_RENDER& request) override
    {
        CxRect area(0, 0, m_width - 1, m_height - 1);
        request.surface->FillRect(area.Intersection(request.surface->GetRect()), static_cast<uint32_t>(request.frame + 1));
        m_last = request.frame + 1;
        request.flags |= PIM_RENDER_DECODED;
        return PIM_OK;
    }
    int SetVolume(int, int) override { return PIM_OK; }
    CxDrawSurface* CreateSurfaceObject() override { return new CxDrawSurface; }
    int PrepareSurface(CxDrawSurface& surface, int) override { return surface.Create(m_width, m_height, 16); }
    int Command(const char*, intptr_t) override { return PIM_OK; }

private:
    int32_t m_width = 1;
    int32_t m_height = 1;
    int32_t m_last = 0;
};

CxMovieDriver* CreateSizedMovie(const char* fileName, uint32_t, intptr_t)
{
    return new SizedMovie(fileName);
}

} // namespace

TEST_F(Sprites, MovieStatesShareOneSurfaceAsLargeAsTheLargest)
{
    ASSERT_EQ(RegisterMovieDriver(".MOV", &CreateSizedMovie, 0), PIM_OK);
    Text("movies.xni", "[PimSprite]\nNumStates=2\n[State000]\nFileName=walk-8x4.mov\n"
                       "[State001]\nFileName=jump-16x6.mov\n");
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("movies.xni"), PIM_OK);
    ASSERT_TRUE(sprite.AreAllStatesMovies());
    ASSERT_NE(sprite.GetMovieSurface(), nullptr);
    EXPECT_EQ(sprite.GetMovieSurface()->GetSize(), CxSize(16, 6));
    // The states keep their drivers and give up their surfaces.
    EXPECT_EQ(sprite.GetSuperState(0)->GetSurface(), nullptr);
    EXPECT_TRUE(sprite.GetSuperState(0)->IsMovie());
    EXPECT_EQ(sprite.GetSurface(), sprite.GetMovieSurface());
    EXPECT_EQ(sprite.GetFrameCount(), 6);
    EXPECT_EQ(sprite.GetFrameSource(), sprite.GetSuperState(0)->GetFrameSource());
    ASSERT_EQ(sprite.SetState(1), PIM_OK);
    EXPECT_EQ(sprite.GetFrameSource(), sprite.GetSuperState(1)->GetFrameSource());
    sprite.PlayOnce(1);
    Run(1000);
    EXPECT_TRUE(sprite.IsStopped());
    EXPECT_EQ(sprite.GetFrame(), 5);

    // A copy draws into a surface of its own.
    CDaxSprite copy;
    ASSERT_EQ(copy.CopyStatesFrom(sprite), PIM_OK);
    ASSERT_NE(copy.GetMovieSurface(), nullptr);
    EXPECT_NE(copy.GetMovieSurface(), sprite.GetMovieSurface());
    EXPECT_EQ(copy.GetSurface(), copy.GetMovieSurface());

    // One still picture among them and each keeps its own surface.
    Text("mixed.xni", "[PimSprite]\nNumStates=2\n[State000]\nFileName=walk-8x4.mov\n"
                      "[State001]\nFileName=still.tga\n");
    ASSERT_EQ(sprite.Load("mixed.xni"), PIM_OK);
    EXPECT_FALSE(sprite.AreAllStatesMovies());
    EXPECT_EQ(sprite.GetMovieSurface(), nullptr);
    EXPECT_NE(sprite.GetSuperState(0)->GetSurface(), nullptr);
}
