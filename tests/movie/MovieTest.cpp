// CxMovie and the global movie list, driven by a scripted driver on the
// virtual clock: modal and non-modal playing, loops, reverse, pauses, input,
// listeners that delete movies, and drivers that fail to open or to decode.
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/movie/CxMovie.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/movie/PimMovies.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// What the fake driver does, and what it saw.
struct DriverScript
{
    int32_t frames = 3;
    int32_t width = 16;
    int32_t height = 8;
    // Milliseconds between frames of a timed request.
    uint32_t frameTime = 50;
    int openError = PIM_OK;
    bool alpha = false;
    // Every decode fails with the skipped answer; every timed request is early.
    bool failFrames = false;
    bool neverTime = false;
    // Decodes, but always says no frame has been decoded yet.
    bool frozenNumber = false;
    std::vector<int> shown;
    std::vector<std::string> commands;
    uint32_t openFlags = 0;
    int drivers = 0;
    int volume = -1;
};

// Paints frame n as the flat colour n + 1 and reports the whole surface as changed.
class ScriptedDriver : public CxMovieDriver
{
public:
    explicit ScriptedDriver(DriverScript& script) : m_script(script) { ++m_script.drivers; }
    ~ScriptedDriver() override { --m_script.drivers; }
    int Open(const char*, uint32_t openFlags) override
    {
        m_script.openFlags = openFlags;
        if (m_script.openError != PIM_OK)
            return SetError(m_script.openError, "scripted open failure");
        m_openFlags = openFlags | (m_script.alpha ? PIM_MOVIE_ALPHA : 0u);
        m_open = true;
        return PIM_OK;
    }
    void Close() override { m_open = false; }
    int32_t GetWidth() const override { return m_script.width; }
    int32_t GetHeight() const override { return m_script.height; }
    int GetNativeDepth() const override { return 32; }
    int32_t GetFrameCount() const override { return m_open ? m_script.frames : 0; }
    int GotoFrame(int32_t index) override
    {
        m_next = index;
        m_last = index;
        return PIM_OK;
    }
    int32_t GetLastFrame() const override { return m_last; }
    int Render(ST_MOVIE_RENDER& request) override
    {
        if (!m_open || !request.surface)
            return PIM_OK;
        const uint32_t now = PimGetTicks();
        if ((request.flags & PIM_RENDER_TIMED) && (m_script.neverTime || static_cast<int32_t>(now - m_due) < 0)) {
            request.flags |= PIM_RENDER_NOT_YET;
            return PIM_OK;
        }
        if (!(request.flags & PIM_RENDER_SEQUENTIAL))
            m_next = request.frame;
        // This driver does not wrap by itself: past the end is a failed frame.
        if (m_script.failFrames || m_next < 0 || m_next >= m_script.frames) {
            request.flags |= PIM_RENDER_SKIPPED;
            return PIM_OK;
        }
        request.surface->FillRect(request.surface->GetRect(), static_cast<uint32_t>(m_next + 1));
        m_script.shown.push_back(m_next);
        if (request.changed && request.changedCapacity > 0)
            request.changed[request.changedCount++] = CxRect(1, 2, 4, 5);
        request.flags |= PIM_RENDER_DECODED;
        m_last = m_script.frozenNumber ? 0 : m_next + 1;
        ++m_next;
        m_due = now + m_script.frameTime;
        return PIM_OK;
    }
    int SetVolume(int volume, int) override
    {
        m_script.volume = volume;
        return PIM_OK;
    }
    CxDrawSurface* CreateSurfaceObject() override { return CreateDrawSurface(); }
    int PrepareSurface(CxDrawSurface& surface, int) override
    {
        return surface.Create(m_script.width, m_script.height, 32);
    }
    int Command(const char* name, intptr_t) override
    {
        m_script.commands.push_back(name);
        return PIM_OK;
    }

private:
    DriverScript& m_script;
    bool m_open = false;
    int32_t m_next = 0;
    int32_t m_last = 0;
    uint32_t m_due = 0;
};

CxMovieDriver* CreateScripted(const char* fileName, uint32_t openFlags, intptr_t script)
{
    auto* driver = new ScriptedDriver(*reinterpret_cast<DriverScript*>(script));
    driver->Open(fileName, openFlags);
    return driver;
}

struct Completion
{
    std::vector<int> codes;
    std::vector<CxMovie*> movies;
};
Completion* g_completion = nullptr;

void OnDone(CxMovie* movie, int code)
{
    g_completion->movies.push_back(movie);
    g_completion->codes.push_back(code);
}

// A listener that runs whatever the test gives it.
class LambdaListener : public CxMovieListener
{
public:
    explicit LambdaListener(std::function<void(CxMovie&)> done) : m_done(std::move(done)) {}
    void OnMovieDone(CxMovie& movie) override { m_done(movie); }

private:
    std::function<void(CxMovie&)> m_done;
};

class Movies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(320, 240), 1), PIM_OK);
        ResetMainLoopCallbacks();
        PimSetClock(&m_clock);
        ASSERT_EQ(RegisterMovieDriver(".fak", &CreateScripted, reinterpret_cast<intptr_t>(&m_script)), PIM_OK);
        SetModalLoop(ST_MODAL_LOOP{&Movies::Step, nullptr, nullptr, 0, this});
        g_completion = &m_completion;
    }
    void TearDown() override
    {
        g_completion = nullptr;
        ResetModalLoop();
        PimSetClock(nullptr);
        ResetMainLoopCallbacks();
        ShutdownDisplay();
    }

    // One frame of a modal loop: the main-loop pass, then time goes on.
    static int Step(void* context)
    {
        auto* self = static_cast<Movies*>(context);
        ++self->m_steps;
        if (self->m_onStep)
            self->m_onStep();
        RunMainLoopCallbacks();
        self->m_clock.Advance(10);
        // A loop that runs away is a failure, not a hang.
        return self->m_steps > 10000 ? 1 : 0;
    }
    // Main-loop passes outside any modal loop, 10 ms apart.
    void Passes(int count)
    {
        for (int i = 0; i < count; ++i) {
            RunMainLoopCallbacks();
            m_clock.Advance(10);
        }
    }

    CxVirtualClock m_clock{1000};
    DriverScript m_script;
    Completion m_completion;
    ErrorRecorder m_errors;
    int m_steps = 0;
    std::function<void()> m_onStep;
};

TEST_F(Movies, ModalPlayShowsEachFrameOnceThenEndsAndCallsBack)
{
    EXPECT_EQ(GetMovieCount(), 0u);
    EXPECT_FALSE(HasMainLoopCallback(&UpdateMovies));
    {
        CxMovie movie;
        EXPECT_TRUE(HasMainLoopCallback(&UpdateMovies));
        EXPECT_EQ(movie.GetPlayFlags(), PIM_MOVIE_WITH_SOUND | PIM_MOVIE_HIDE_WHEN_DONE);
        ASSERT_EQ(movie.Open("intro.FAK"), PIM_OK);
        EXPECT_EQ(m_script.openFlags, PIM_MOVIE_SOUND);
        EXPECT_EQ(movie.GetSize(), CxSize(16, 8));
        EXPECT_EQ(movie.GetFrameCount(), 3);
        movie.SetParent(GetRootObject());
        movie.SetCallback(&OnDone);

        // Timed at 50 ms a frame against 10 ms steps: most updates hear "not yet".
        std::vector<bool> playingWhenShown;
        m_onStep = [&] { playingWhenShown.push_back(movie.IsPlaying()); };
        EXPECT_EQ(movie.Play(true, true), PIM_OK);
        EXPECT_EQ(m_script.shown, (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(m_completion.codes, std::vector<int>{0});
        EXPECT_EQ(m_completion.movies, std::vector<CxMovie*>{&movie});
        EXPECT_EQ(m_script.commands, (std::vector<std::string>{"Play", "Stop"}));
        EXPECT_FALSE(movie.IsPlaying());
        EXPECT_FALSE(movie.IsShown());
        EXPECT_EQ(movie.GetSurface()->GetPixel(0, 0), 3u);
        // Three frames 50 ms apart, then one more update to end: about 11 steps, not hundreds.
        EXPECT_GE(m_steps, 11);
        EXPECT_LE(m_steps, 15);
        EXPECT_TRUE(playingWhenShown.back());

        // Untimed (no sound) the same movie takes exactly one update a frame, plus the end.
        m_script.shown.clear();
        m_steps = 0;
        movie.SetSound(false);
        movie.SetPreload(true);
        movie.SetHideWhenDone(false);
        EXPECT_EQ(movie.Open("intro.fak"), PIM_OK);
        EXPECT_EQ(m_script.openFlags, PIM_MOVIE_PRELOAD);
        movie.SetVolume(300);
        EXPECT_EQ(m_script.volume, 127);
        movie.SetParent(GetRootObject());
        EXPECT_EQ(movie.Play(true, false), PIM_OK);
        EXPECT_EQ(m_script.shown, (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(m_steps, 4);
        EXPECT_TRUE(movie.IsShown());
        EXPECT_EQ(m_completion.codes.size(), 2u);
    }
    // The last movie takes the update routine and the list with it; the driver is gone.
    EXPECT_EQ(GetMovieCount(), 0u);
    EXPECT_FALSE(HasMainLoopCallback(&UpdateMovies));
    EXPECT_EQ(m_script.drivers, 0);
    // Destruction told no one.
    EXPECT_EQ(m_completion.codes.size(), 2u);
}

TEST_F(Movies, LoopReverseAndPauseStepTheRightFrames)
{
    m_script.frames = 3;
    CxMovie movie;
    movie.SetSound(false);
    ASSERT_EQ(movie.Open("loop.fak"), PIM_OK);
    movie.SetCallback(&OnDone);

    // Looping never finishes: the first frame follows the last, on and on.
    movie.SetLoop(true);
    EXPECT_EQ(movie.Play(false, false), PIM_OK);
    EXPECT_TRUE(IsAnyMoviePlaying());
    Passes(9);
    EXPECT_EQ(m_script.shown, (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1, 2, 0}));
    EXPECT_TRUE(movie.IsPlaying());
    EXPECT_TRUE(m_completion.codes.empty());

    // Paused twice: two resumes are needed, and it goes on where it stopped.
    movie.Pause();
    movie.Pause();
    Passes(5);
    movie.Resume();
    Passes(5);
    EXPECT_EQ(m_script.shown.size(), 10u);
    movie.Resume();
    movie.Resume(); // one too many does not bank a resume against the next pause
    Passes(1);
    EXPECT_EQ(m_script.shown.back(), 1);
    movie.Pause();
    Passes(1);
    EXPECT_EQ(m_script.shown.size(), 11u);
    movie.Resume();

    // Loop off: it plays out to the end, then one more pass stops it.
    movie.SetLoop(false);
    Passes(1);
    EXPECT_EQ(m_script.shown.back(), 2);
    EXPECT_TRUE(movie.IsFinished());
    EXPECT_TRUE(movie.IsPlaying());
    Passes(1);
    EXPECT_FALSE(movie.IsPlaying());
    EXPECT_FALSE(IsAnyMoviePlaying());
    EXPECT_EQ(m_completion.codes, std::vector<int>{0});
    Passes(3);
    EXPECT_EQ(m_script.shown.size(), 12u);

    // Backwards from the last frame down to the first, then it stops.
    m_script.shown.clear();
    movie.SetReverse(true);
    EXPECT_EQ(movie.Play(false, false), PIM_OK);
    Passes(4);
    EXPECT_EQ(m_script.shown, (std::vector<int>{2, 1, 0}));
    EXPECT_FALSE(movie.IsPlaying());
    EXPECT_EQ(m_completion.codes.size(), 2u);
}

TEST_F(Movies, FramesAreClampedAndCountFromTheEnd)
{
    m_script.frames = 10;
    CxMovie movie;
    // Without a driver nothing moves.
    movie.SetFrame(4);
    EXPECT_EQ(movie.GetCurrentIndex(), 0);
    EXPECT_EQ(movie.GetFrameCount(), 0);
    EXPECT_EQ(movie.Play(false, false), PIM_ERR_BAD_ARG);

    ASSERT_EQ(movie.Open("ten.fak"), PIM_OK);
    movie.SetFrame(-1);
    EXPECT_EQ(movie.GetCurrentIndex(), 9);
    EXPECT_EQ(movie.GetFrame(), 9);
    movie.SetFrame(-10);
    EXPECT_EQ(movie.GetCurrentIndex(), 0);
    movie.SetFrame(-11);
    EXPECT_EQ(movie.GetCurrentIndex(), 0);
    movie.SetFrame(25);
    EXPECT_EQ(movie.GetCurrentIndex(), 9);
    movie.SetFrame(4);
    movie.NextFrame();
    EXPECT_EQ(movie.GetCurrentIndex(), 5);
    movie.StepBack();
    EXPECT_EQ(movie.GetCurrentIndex(), 4);
    movie.Rewind();
    EXPECT_EQ(movie.GetCurrentIndex(), 0);

    // A movie of no frames: no division by its count, and a modal play of it
    // that nobody can skip still ends.
    m_script.frames = 0;
    movie.SetSound(false);
    ASSERT_EQ(movie.Open("empty.fak"), PIM_OK);
    movie.SetFrame(-1);
    EXPECT_EQ(movie.GetCurrentIndex(), 0);
    movie.PrevFrame();
    EXPECT_EQ(movie.GetFrame(), 0);
    EXPECT_EQ(movie.Play(true, false), PIM_OK);
    EXPECT_LE(m_steps, 3);
    EXPECT_FALSE(movie.IsPlaying());
}

TEST_F(Movies, SkippableMoviesEndOnKeysAndClicksOthersIgnoreThem)
{
    m_script.frames = 100;
    CxMovie movie;
    movie.SetSound(false);
    ASSERT_EQ(movie.Open("long.fak"), PIM_OK);
    movie.SetParent(GetRootObject());
    movie.SetCallback(&OnDone);

    // Modal: the key (to the focus, which DoModal gave the movie) ends the loop.
    movie.SetSkippable(true);
    m_onStep = [&] {
        if (m_steps == 5)
            DispatchKeyDown(' ', 0);
    };
    EXPECT_EQ(movie.Play(true, false), PIM_OK);
    EXPECT_EQ(m_steps, 5);
    EXPECT_LT(m_script.shown.size(), 10u);
    EXPECT_EQ(m_completion.codes.size(), 1u);
    EXPECT_FALSE(movie.IsShown());

    // Not modal: a left click, then a right click, stop and hide it.
    m_onStep = nullptr;
    const CxPoint centre = movie.LocalToScreen(CxPoint(8, 4));
    for (EMouseButton click : {EMouseButton::Left, EMouseButton::Right}) {
        EXPECT_EQ(movie.Play(false, false), PIM_OK);
        Passes(2);
        EXPECT_TRUE(movie.IsPlaying());
        EXPECT_EQ(DispatchMouse(MouseEvent(EMouseAction::Down, click, centre, 1)), 0);
        EXPECT_FALSE(movie.IsPlaying());
        EXPECT_FALSE(movie.IsShown());
    }
    EXPECT_EQ(m_completion.codes.size(), 3u);

    // Not skippable: keys and clicks change nothing.
    movie.SetSkippable(false);
    EXPECT_EQ(movie.Play(false, false), PIM_OK);
    movie.SetFocus();
    DispatchKeyDown(' ', 0);
    DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, centre, 1));
    DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Right, centre, 2));
    EXPECT_TRUE(movie.IsPlaying());
    EXPECT_TRUE(movie.IsShown());
    const size_t before = m_script.shown.size();
    Passes(3);
    EXPECT_EQ(m_script.shown.size(), before + 3);
    EXPECT_EQ(m_completion.codes.size(), 3u);
}

TEST_F(Movies, ListenersMayDeleteTheirOwnAndOtherMovies)
{
    m_script.frames = 2;
    // A listener deleting the movie it hears about, from inside the update
    // routine's walk; the last movie gone takes the routine out after the walk.
    auto* own = new CxMovie;
    own->SetSound(false);
    ASSERT_EQ(own->Open("own.fak"), PIM_OK);
    int heard = 0;
    LambdaListener deleteSelf([&](CxMovie& movie) {
        ++heard;
        delete &movie;
    });
    own->SetListener(&deleteSelf);
    own->SetCallback(&OnDone); // the listener takes precedence
    EXPECT_EQ(own->GetListener(), &deleteSelf);
    EXPECT_EQ(own->Play(false, false), PIM_OK);
    Passes(5);
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(m_completion.codes.empty());
    EXPECT_EQ(GetMovieCount(), 0u);
    EXPECT_FALSE(HasMainLoopCallback(&UpdateMovies));

    // The first movie's listener deletes the second one, later in the same walk.
    auto* first = new CxMovie;
    auto* second = new CxMovie;
    for (CxMovie* movie : {first, second}) {
        movie->SetSound(false);
        ASSERT_EQ(movie->Open("pair.fak"), PIM_OK);
        EXPECT_EQ(movie->Play(false, false), PIM_OK);
    }
    LambdaListener deleteOther([&](CxMovie&) {
        delete second;
        second = nullptr;
    });
    first->SetListener(&deleteOther);
    Passes(3);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(GetMovieCount(), 1u);
    EXPECT_FALSE(first->IsPlaying());

    // Deleted by its listener at the end of a modal play: Play returns without touching it.
    first->SetListener(&deleteSelf);
    EXPECT_EQ(first->Play(true, false), PIM_OK);
    EXPECT_EQ(heard, 2);
    EXPECT_EQ(GetMovieCount(), 0u);
    EXPECT_EQ(m_script.drivers, 0);

    // Serials tell a new movie at an old address from the old one.
    CxMovie kept;
    EXPECT_TRUE(IsMovieAlive(&kept, kept.GetSerial()));
    EXPECT_FALSE(IsMovieAlive(&kept, kept.GetSerial() + 1));
}

TEST_F(Movies, FailingDriversEndTheirMoviesAndReportTheirErrors)
{
    // A driver whose opening failed: its error comes back, the driver is gone,
    // and PlayMovie reports it without ever running a frame.
    m_script.openError = PIM_ERR_OPEN;
    {
        CxMovie movie;
        EXPECT_EQ(movie.Open("broken.fak"), PIM_ERR_OPEN);
        EXPECT_EQ(movie.GetDriver(), nullptr);
        EXPECT_EQ(m_script.drivers, 0);
        EXPECT_EQ(movie.Play(true, false), PIM_ERR_OPEN);
    }
    EXPECT_EQ(PlayMovie("broken.fak", -1, -1, false, false, false), PIM_ERR_OPEN);
    EXPECT_EQ(m_steps, 0);
    // No driver for the extension, and no name at all.
    EXPECT_EQ(PlayMovie("intro.avi", 0, 0, false, false, false), PIM_ERR_UNKNOWN);
    EXPECT_EQ(PlayMovie(nullptr, 0, 0, false, false, false), PIM_ERR_BAD_ARG);
    EXPECT_EQ(m_errors.errors.back().code, PIM_ERR_BAD_ARG);
    EXPECT_EQ(GetMovieCount(), 0u);

    // Registering an extension without its period stores nothing.
    EXPECT_EQ(RegisterMovieDriver("fak2", &CreateScripted, 0), PIM_ERR_BAD_ARG);
    EXPECT_FALSE(IsMovieFile("a.fak2"));
    ResetErrorState();

    // A driver that fails every frame, modal and not skippable: the movie still ends.
    m_script.openError = PIM_OK;
    m_script.failFrames = true;
    CxMovie movie;
    movie.SetSound(false);
    ASSERT_EQ(movie.Open("bad.fak"), PIM_OK);
    movie.SetCallback(&OnDone);
    EXPECT_EQ(movie.Play(true, false), PIM_OK);
    EXPECT_EQ(m_steps, PIM_MOVIE_MAX_FAILED_UPDATES + 1);
    EXPECT_EQ(m_completion.codes, std::vector<int>{0});
    // Looping does not keep it going either.
    movie.SetLoop(true);
    EXPECT_EQ(movie.Play(false, false), PIM_OK);
    Passes(PIM_MOVIE_MAX_FAILED_UPDATES + 1);
    EXPECT_FALSE(movie.IsPlaying());

    // A driver that decodes but never counts its frames: the movie still moves on and ends.
    m_script.failFrames = false;
    m_script.frozenNumber = true;
    m_steps = 0;
    movie.SetLoop(false);
    ASSERT_EQ(movie.Open("frozen.fak"), PIM_OK);
    EXPECT_EQ(movie.Play(true, false), PIM_OK);
    EXPECT_EQ(m_script.shown, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(m_steps, 4);
    m_script.frozenNumber = false;

    // A driver whose time never comes: the stall limit ends it.
    m_script.shown.clear();
    m_script.neverTime = true;
    m_steps = 0;
    movie.SetSound(true);
    ASSERT_EQ(movie.Open("late.fak"), PIM_OK);
    EXPECT_EQ(movie.Play(true, false), PIM_OK);
    EXPECT_NEAR(m_steps, static_cast<int>(PIM_MOVIE_STALL_LIMIT_MS / 10), 5);
    EXPECT_TRUE(m_script.shown.empty());
}

TEST_F(Movies, ChangedRectanglesAreMarkedOnScreenOnlyWhenShown)
{
    m_script.frames = 50;
    CxMovie movie;
    movie.SetSound(false);
    ASSERT_EQ(movie.Open("rects.fak"), PIM_OK);

    // No parent: nothing to mark, and nothing dereferenced.
    EXPECT_EQ(movie.Play(false, false), PIM_OK);
    Passes(2);
    EXPECT_EQ(m_script.shown.size(), 3u);

    // On the root at (100, 50): the driver's rectangle (1, 2)-(4, 5) lands at (101, 52)-(104, 55).
    movie.SetParent(GetRootObject());
    movie.MoveTo(100, 50);
    DisplayTest::DrainDirty(1);
    Passes(1);
    EXPECT_EQ(DisplayTest::DirtyRects(), std::vector<CxRect>{CxRect(101, 52, 104, 55)});

    // Full redraw marks the whole movie.
    movie.SetFullRedraw(true);
    DisplayTest::DrainDirty(1);
    Passes(1);
    EXPECT_TRUE(DisplayTest::DirtyCovers(CxRect(100, 50, 115, 57)));

    // Hidden: nothing.
    movie.SetFullRedraw(false);
    movie.Hide();
    DisplayTest::DrainDirty(1);
    Passes(1);
    EXPECT_TRUE(DisplayTest::DirtyRects().empty());
}

TEST_F(Movies, PlayMovieCentresKeysOutAndCleansUp)
{
    m_script.alpha = true;
    CxPoint where;
    int32_t z = 0;
    uint32_t key = 0;
    int32_t mode = 0;
    uint32_t flags = 0;
    m_onStep = [&] {
        auto* movie = dynamic_cast<CxMovie*>(GetModalObject());
        ASSERT_NE(movie, nullptr);
        where = movie->GetPosition();
        z = movie->GetZ();
        key = movie->GetTransparentColour();
        mode = movie->GetDrawMode();
        flags = movie->GetPlayFlags();
    };
    // Transparent shows the first frame at once: its colour (1) is the key.
    EXPECT_EQ(PlayMovie("centre.fak", -1, -1, true, true, true), PIM_OK);
    EXPECT_EQ(where, CxPoint((320 - 16) / 2, (240 - 8) / 2));
    EXPECT_EQ(z, 0x3FFFFFFF);
    EXPECT_EQ(key, 1u);
    EXPECT_EQ(mode, PIM_DRAW_SOURCE_ALPHA);
    EXPECT_EQ(flags & (PIM_MOVIE_SKIPPABLE | PIM_MOVIE_FULL_REDRAW | PIM_MOVIE_SHOW_FIRST | PIM_MOVIE_IN_MODAL),
              PIM_MOVIE_SKIPPABLE | PIM_MOVIE_FULL_REDRAW | PIM_MOVIE_SHOW_FIRST | PIM_MOVIE_IN_MODAL);
    EXPECT_EQ(m_script.shown, (std::vector<int>{0, 0, 1, 2}));

    EXPECT_EQ(PlayMovie("placed.fak", 7, 9, false, false, false), PIM_OK);
    EXPECT_EQ(where, CxPoint(7, 9));
    EXPECT_EQ(flags & (PIM_MOVIE_SKIPPABLE | PIM_MOVIE_FULL_REDRAW | PIM_MOVIE_SHOW_FIRST), 0u);
    EXPECT_EQ(GetMovieCount(), 0u);
    EXPECT_EQ(m_script.drivers, 0);
    EXPECT_EQ(GetModalDepth(), 0);
}

} // namespace
