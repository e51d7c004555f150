// The game layer's application from start to exit: its configuration file,
// the global buttons and dialogs, the intro movies, startup.lua, the
// pending dialog, and the credits at exit.
#include "DAX/buttons/DaxGlobalButtons.h"
#include "DAX/dialogs/CDaxDialog.h"
#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxMainLoopHook.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/sound/CxWave.h"
#include "tests/dax/app/DaxAppTestSupport.h"
#include "tests/support/Recorders.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace {

using DaxAppTest::DaxApps;
using DaxAppTest::TestDaxApp;

size_t Mentions(const TraceRecorder& trace, const char* text)
{
    size_t count = 0;
    for (const std::string& line : trace.lines)
        count += line.find(text) != std::string::npos;
    return count;
}

} // namespace

TEST_F(DaxApps, AMissingOrUnreadableConfigurationIsTracedOnceAndTheGameGoesOn)
{
    {
        TraceRecorder trace;
        TestDaxApp& app = Start(nullptr);
        EXPECT_EQ(Mentions(trace, "dax.ini"), 1u);
        EXPECT_EQ(GetErrorCount(), 0);
        // Everything the game layer needs is there all the same.
        EXPECT_EQ(&DaxServices(), static_cast<CDaxServices*>(&app));
        EXPECT_NE(app.GetInterpolator(), nullptr);
        EXPECT_NE(app.GetSystemChannel(), 0u);
        EXPECT_EQ(FindEventCategory("SYSTEM"), static_cast<CxEventCreator*>(&app));
        Stop();
    }
    // A folder where the file should be: there, but no file to read.
    std::filesystem::create_directories(m_folder / "dax.ini");
    TraceRecorder trace;
    Start(nullptr);
    EXPECT_EQ(Mentions(trace, "dax.ini"), 1u);
    EXPECT_EQ(GetErrorCount(), 0);
    EXPECT_EQ(m_app->GetGameLayerOptions().GetSectionCount(), 0u);
    Stop();
    EXPECT_EQ(FindEventCategory("system"), nullptr);
}

TEST_F(DaxApps, GlobalButtonsAndDialogsComeFromTheConfigurationAndGoAtExit)
{
    Picture("ui/help.tga", 20, 10);
    // Data names: "%s" in a dialog's file name is two characters of it.
    File("dialogs/quit%s.ini", "[Options]\nName=QuitBox\nOnLoad=loaded = (loaded or 0) + 1\n");
    Start("[Button0]\nFileName=ui/help.tga\nNumFrames=1\nName=Help\nPosition=5, 6\n"
          "[Dialogs]\nQuit=dialogs/quit%s.ini\nLost=dialogs/none.ini\n");
    ASSERT_NE(DaxFindGlobalButton("help"), nullptr);
    EXPECT_NE(DaxFindGlobalDialog("QuitBox"), nullptr);
    EXPECT_EQ(m_app->Global("loaded"), "1");
    // A dialog without its file stays, named after its entry.
    EXPECT_NE(DaxFindGlobalDialog("Lost"), nullptr);
    EXPECT_EQ(DaxGetGlobalDialogCount(), 2u);
    Stop();
    EXPECT_EQ(DaxGetGlobalDialogCount(), 0u);
    EXPECT_EQ(DaxGetGlobalButtons().GetCount(), 0u);
}

TEST_F(DaxApps, ARestartBuildsTheGameLayerAgainFromItsConfiguration)
{
    Picture("cur/hand.tga", 4, 4);
    File("q.ini", "[Options]\nName=Question\n");
    Start("[Dialogs]\nQuestion=q.ini\n[Cursors]\nHand=0, 0, cur/hand.tga\n");
    Stop();
    struct Restart : CxMainLoopHook
    {
        explicit Restart(TestDaxApp& a) : app(a) {}
        void OnMainLoop() override
        {
            dialogs.push_back(DaxGetGlobalDialogCount());
            hand.push_back(app.GetCursorIdFromName("Hand"));
            if (dialogs.size() == 1)
                app.RequestRestart();
            else
                app.RequestQuit();
        }
        TestDaxApp& app;
        std::vector<size_t> dialogs;
        std::vector<int> hand;
    } restart(*m_app);
    EXPECT_EQ(m_app->Run(), PIM_OK);
    EXPECT_EQ(restart.dialogs, (std::vector<size_t>{1, 1}));
    EXPECT_EQ(restart.hand, (std::vector<int>{10, 10}));
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(DaxApps, IntroMoviesPlayInFileOrderCentredAndSkippableMissingOnesLeftOut)
{
    File("intro/b.smk", "movie");
    File("intro/a%s.smk", "movie");
    Start("[IntroMovies]\nFirst=intro/b.smk\nGone=intro/missing.smk\nLast=intro/a%s.smk\n");
    ASSERT_EQ(m_app->movies.size(), 2u);
    EXPECT_EQ(m_app->movies[0].path, "intro/b.smk");
    EXPECT_EQ(m_app->movies[1].path, "intro/a%s.smk");
    for (const DaxAppTest::ST_PLAYED& movie : m_app->movies)
        EXPECT_TRUE(movie.x == -1 && movie.y == -1 && movie.skippable); // centred, skippable
    EXPECT_EQ(GetErrorCount(), 0);
    Stop();

    Start("[Startup]\nSkipIntroMovies=1\n[IntroMovies]\nFirst=intro/b.smk\n");
    EXPECT_TRUE(m_app->movies.empty());
}

TEST_F(DaxApps, StartupLuaEntersTheFirstRoomAndTheSystemChannelRuns)
{
    File("startup.lua", "PushRoom('Barn')\n");
    Start("");
    Run(20);
    EXPECT_STREQ(m_app->GetCurRoomName(), "Barn");
    // Events of the system channel run with the frames.
    EXPECT_EQ(m_app->Lua("DoLuaEvent('ran = 1')"), PIM_OK);
    Run(20);
    EXPECT_EQ(m_app->Global("ran"), "1");
}

TEST_F(DaxApps, APendingDialogOpensAtTheEndOfTheFrameButNotWhenTheGameQuits)
{
    File("q.ini", "[Options]\nName=Question\nOnDoModal=opened = (opened or 0) + 1\n");
    Start("[Dialogs]\nQuestion=q.ini\n");
    m_app->Lua("StartModalDialog('Nobody')");
    EXPECT_EQ(DaxGetPendingDialog(), nullptr);
    m_app->Lua("StartModalDialog('question')");
    EXPECT_NE(DaxGetPendingDialog(), nullptr);
    Run(10);
    EXPECT_EQ(DaxGetPendingDialog(), nullptr);
    EXPECT_EQ(m_app->Global("opened"), "1");

    m_app->Lua("StartModalDialog('Question')");
    m_app->RequestQuit();
    EXPECT_EQ(DaxGetPendingDialog(), nullptr);
    Run(10);
    EXPECT_EQ(m_app->Global("opened"), "1");
}

namespace {

// While a modal loop runs: the clock moves, and `atFrame` runs each frame.
struct ModalFrames : CxMainLoopHook
{
    ModalFrames(TestDaxApp& a, CxVirtualClock& c) : app(a), clock(c) {}
    void OnMainLoop() override
    {
        clock.Advance(10);
        if (app.GetModalDepth() > 0 && atFrame)
            atFrame(++frames);
    }
    TestDaxApp& app;
    CxVirtualClock& clock;
    int frames = 0;
    std::function<void(int)> atFrame;
};

} // namespace

TEST_F(DaxApps, ADialogAlreadyOpenIsNotAskedForAgain)
{
    File("q.ini", "[Options]\nName=Question\nOnDoModal=opened = (opened or 0) + 1\n");
    Start("[Dialogs]\nQuestion=q.ini\n", false);
    Run(20);
    ModalFrames loop(*m_app, m_clock);
    loop.atFrame = [&](int frame) {
        if (frame == 1)
            m_app->Lua("again = StartModalDialog('Question') and 1 or 0");
        if (frame == 3)
            DaxEndModalDialog("Question");
    };
    m_app->Lua("StartModalDialog('Question')");
    Run(10);
    EXPECT_EQ(loop.frames, 3);
    EXPECT_EQ(m_app->Global("again"), "0");
    EXPECT_EQ(DaxGetPendingDialog(), nullptr);
    loop.atFrame = nullptr;
    Run(20);
    EXPECT_EQ(m_app->Global("opened"), "1");
}

TEST_F(DaxApps, CreditsComeAtExitOnlyAfterARunWithoutErrorsWithSomebodyWatching)
{
    // The screen comes with the window's first activation.
    Start("", false);
    Run(20);
    m_app->RequestQuit();
    Stop();
    EXPECT_EQ(m_app->credits, 1);
    EXPECT_TRUE(m_app->IsQuitting());

    Start("[Startup]\nSkipCredits=1\n", false);
    Run(20);
    Stop();
    EXPECT_EQ(m_app->credits, 0);

    // Nobody watching: a roll waiting for a key would never end.
    Start("", true);
    Run(20);
    Stop();
    EXPECT_EQ(m_app->credits, 0);

    Start("", false);
    Run(20);
    {
        // One counted error in the run is enough (the box is not put up).
        ErrorRecorder quiet;
        ReportError(PIM_ERR_READ, "a picture would not load");
    }
    Stop();
    EXPECT_EQ(m_app->credits, 0);
}

namespace {

// Moves the clock on every frame; counts the frames of modal loops (the
// credits', the only one of the test) and presses Space at `pressAt`.
struct CreditsWatch : CxMainLoopHook
{
    explicit CreditsWatch(TestDaxApp& a, CxVirtualClock& c) : app(a), clock(c) {}
    void OnMainLoop() override
    {
        clock.Advance(10);
        if (app.GetModalDepth() == 0)
            return;
        ++frames;
        interpolatorDuring = interpolatorDuring && app.GetInterpolator() != nullptr;
        musicDuring = musicDuring || app.GetMusic().IsPlaying();
        if (frames == abortAt)
            app.Abort(); // the error box's "Quit"
        if (frames == pressAt) {
            ST_MESSAGE space;
            space.type = EMessage::KeyDown;
            space.key = PIM_KEY_SPACE;
            HeadlessWindowOf(app)->Post(space);
        }
    }
    TestDaxApp& app;
    CxVirtualClock& clock;
    int frames = 0;
    int pressAt = 30;
    int abortAt = 0;
    bool interpolatorDuring = true;
    bool musicDuring = false;
};

} // namespace

TEST_F(DaxApps, TheCreditsRollRunsAtExitWithItsMusicUntilAKeyEndsIt)
{
    Wave("credits/tune.wav", 300);
    File("credits/roll.txt", "Made by\nthe farm\n");
    Start("[Credits]\nTextFile=credits/roll.txt\nMusic=credits/tune.wav\nScrollTimeInterval=1000\n", false);
    m_app->realCredits = true;
    Run(20);
    CreditsWatch watch(*m_app, m_clock);
    m_app->RequestQuit();
    Stop();
    EXPECT_EQ(m_app->credits, 1);
    // The roll ran its own frames, although the game was quitting, until Space.
    EXPECT_GE(watch.frames, watch.pressAt);
    EXPECT_LE(watch.frames, watch.pressAt + 2);
    EXPECT_TRUE(watch.interpolatorDuring);
    EXPECT_TRUE(watch.musicDuring);
    EXPECT_STREQ(m_app->GetMusic().GetFileName(), "credits/tune.wav");
    EXPECT_EQ(m_app->GetMusic().GetWave(), nullptr); // let go before the sound system stopped
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(DaxApps, AnAbortEndsTheCreditsAtOnceEvenAtExit)
{
    Start("[Credits]\nScrollTimeInterval=1000\n", false);
    m_app->realCredits = true;
    Run(20);
    CreditsWatch watch(*m_app, m_clock);
    watch.abortAt = 5;
    m_app->RequestQuit();
    Stop();
    EXPECT_EQ(m_app->credits, 1);
    EXPECT_EQ(watch.frames, 5);
    EXPECT_TRUE(m_app->IsQuitting());
}
