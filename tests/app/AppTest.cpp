#include "PIM/app/CxGameApp.h"
#include "PIM/app/CxGameConsole.h"
#include "PIM/app/CxReplayScript.h"
#include "PIM/app/PimKeyNames.h"
#include "PIM/backends/headless/CxHeadlessRunner.h"
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/display/CxCursorImage.h"
#include "PIM/display/CxScreenSurface.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/CxFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/files/PimTempFolder.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/widgets/CxCommonControls.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string>* g_journal = nullptr;

void Note(const std::string& what)
{
    if (g_journal)
        g_journal->push_back(what);
}

// A room that writes its life cycle into the journal.
class TestRoom : public CxGameWindow
{
public:
    explicit TestRoom(CxGameApp*) {}
    int BeforeLoad() override { return Log("BeforeLoad"); }
    int Load() override { return Log("Load"); }
    int Start() override { return Log("Start"); }
    int Stop() override
    {
        if (onStop)
            onStop();
        return Log("Stop");
    }
    int Unload() override
    {
        Log("Unload");
        return CxGameWindow::Unload();
    }
    int AfterLeave() override { return Log("AfterLeave"); }
    int Update() override
    {
        ++updates;
        return CxGameWindow::Update();
    }
    int QueryQuit() override { return allowQuit ? 1 : 0; }
    void OnTimer(CxTimerCallBack* timer) override { timerCalls.push_back(timer->GetId()); }
    // What reaches the room as a display object.
    void OnKeyDown(uint32_t key, uint32_t) override { keys.push_back(key); }
    void OnLButtonDown(uint32_t, CxPoint point) override { presses.push_back(point); }
    int OnNotify(int code, CxDisplayObject* sender, intptr_t, intptr_t) override
    {
        notices.push_back({code, sender});
        return 1;
    }

    std::vector<uint32_t> keys;
    std::vector<CxPoint> presses;
    std::vector<std::pair<int, CxDisplayObject*>> notices;
    int updates = 0;
    bool allowQuit = true;
    std::function<void()> onStop;
    std::vector<int> timerCalls;

private:
    int Log(const char* what)
    {
        Note(std::string(GetRoomName()) + "." + what);
        return 0;
    }
};

// The application under test: headless, single instance off, with a tiny
// stand-in for the script engine that knows the room calls.
class TestApp : public CxGameApp
{
public:
    explicit TestApp(const ST_APP_INIT& init) : CxGameApp(init)
    {
        SetBackend(HeadlessBackend());
        SetSingleInstance(false);
    }

    int InitInstance() override
    {
        Note("InitInstance");
        return CxGameApp::InitInstance();
    }
    int InitApplication() override
    {
        Note("InitApplication");
        return CxGameApp::InitApplication();
    }
    int StartGame() override
    {
        Note("StartGame");
        if (!firstRoom.empty())
            PushRoom(firstRoom.c_str());
        return CxGameApp::StartGame();
    }
    int MainLoop() override
    {
        Note("MainLoop");
        return CxGameApp::MainLoop();
    }
    int CloseRooms() override
    {
        Note("CloseRooms");
        return CxGameApp::CloseRooms();
    }
    int ExitApplication() override
    {
        Note("ExitApplication");
        return CxGameApp::ExitApplication();
    }
    int ExitInstance() override
    {
        Note("ExitInstance");
        return CxGameApp::ExitInstance();
    }

    int RunScript(const char* text) override
    {
        std::istringstream in(text ? text : "");
        std::string verb, arg, more;
        in >> verb >> arg;
        std::getline(in, more);
        scripts.push_back(text ? text : "");
        if (verb == "goto")
            GotoRoom(arg.c_str());
        else if (verb == "push")
            PushRoom(arg.c_str());
        else if (verb == "pop")
            PopRoom();
        else if (verb == "reload")
            ReloadRoom();
        else if (verb == "quit")
            RequestQuit();
        else if (verb == "restart")
            RequestRestart();
        else if (verb == "bind")
            BindKey(arg.c_str(), more.c_str() + (more.empty() ? 0 : 1));
        else if (verb == "error") {
            ReportError(PIM_ERR_READ, "disk said no");
            Note("after error");
        }
        return 0;
    }

    bool OnRootKey(uint32_t key, uint32_t flags) override
    {
        keysPassedOn.push_back(key);
        return CxGameApp::OnRootKey(key, flags);
    }
    void OnRootMouse(const ST_MOUSE_EVENT& event) override
    {
        if (event.action == EMouseAction::Down && event.button == EMouseButton::Left)
            clicks.push_back(event.point);
        CxGameApp::OnRootMouse(event);
    }

    void OnActivateApp(bool active) override
    {
        activations.push_back(active);
        CxGameApp::OnActivateApp(active);
    }

    TestRoom* Room(const char* name) const { return static_cast<TestRoom*>(FindRoom(name)); }

    // Queues a message and runs frames until the window has none left.
    void Send(const ST_MESSAGE& m, int extraFrames = 1)
    {
        HeadlessWindowOf(*this)->Post(m);
        while (HeadlessWindowOf(*this)->GetPendingCount() > 0)
            DoFrame();
        for (int i = 0; i < extraFrames; ++i)
            DoFrame();
    }
    void Key(uint32_t code)
    {
        ST_MESSAGE m;
        m.type = EMessage::KeyDown;
        m.key = code;
        Send(m);
    }

    std::string firstRoom;
    std::vector<std::string> scripts;
    std::vector<uint32_t> keysPassedOn;
    std::vector<CxPoint> clicks;
    std::vector<bool> activations;

    // A signed-in player's store for "expect player"; nobody is signed in
    // while it is empty.
    bool ReadPlayerValue(const char* key, CxString& value) const override
    {
        if (player.empty())
            return false;
        for (const auto& [name, stored] : player)
            if (name == key) {
                value = stored.c_str();
                return true;
            }
        value = "";
        return true;
    }
    std::vector<std::pair<std::string, std::string>> player;
};

// Each test gets its own configuration folder, journal, rooms and clock.
class App : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_journal = &journal;
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        PimSetClock(&clock);
        rooms.push_back(std::make_unique<CxGameRoomRegistrar>("Title", &MakeRoom<TestRoom>));
        rooms.push_back(std::make_unique<CxGameRoomRegistrar>("Login", &MakeRoom<TestRoom>));
        rooms.push_back(std::make_unique<CxGameRoomRegistrar>("FarmyardMenu", &MakeRoom<TestRoom>));
    }
    void TearDown() override
    {
        g_journal = nullptr;
        PimSetClock(nullptr);
        ResetMainLoopCallbacks();
    }

    // An application whose configuration file holds `ini`, started up to its
    // main loop (the tests drive the frames themselves).
    std::unique_ptr<TestApp> Start(const std::string& ini = "")
    {
        config = folder.Write("Marrowdale.ini", ini);
        init.name = "MarrowTest";
        init.configFile = config.c_str();
        init.build = "test build";
        auto app = std::make_unique<TestApp>(init);
        app->SetInstallPathOverride(folder.Path());
        app->InitInstance();
        app->InitApplication();
        app->StartGame();
        return app;
    }
    void Stop(TestApp& app)
    {
        app.CloseRooms();
        app.ExitApplication();
        app.ExitInstance();
    }

    TempFolder folder;
    std::string config;
    ST_APP_INIT init;
    CxVirtualClock clock{1000};
    std::vector<std::string> journal;
    std::vector<std::unique_ptr<CxGameRoomRegistrar>> rooms;
};

ST_MESSAGE Message(EMessage type, int32_t x = 0, int32_t y = 0)
{
    ST_MESSAGE m;
    m.type = type;
    m.x = x;
    m.y = y;
    return m;
}

ST_MESSAGE Mouse(EMouseAction action, int32_t x, int32_t y)
{
    ST_MESSAGE m;
    m.type = EMessage::Mouse;
    m.mouse = MouseEvent(action, EMouseButton::Left, CxPoint(x, y), action == EMouseAction::Down ? uint32_t{PIM_MK_LBUTTON} : 0u);
    return m;
}

// Quits after a number of frames.
struct FrameLimit : CxMainLoopHook
{
    FrameLimit(CxApp& a, int n) : app(a), left(n) {}
    void OnMainLoop() override
    {
        if (--left <= 0)
            app.SetQuit(true);
    }
    CxApp& app;
    int left;
};

} // namespace

TEST_F(App, StagesRunInOrderAndRestartRunsThemAgain)
{
    config = folder.Write("Marrowdale.ini", "");
    init.name = "MarrowTest";
    init.configFile = config.c_str();
    TestApp app(init);
    app.SetInstallPathOverride(folder.Path());
    app.firstRoom = "Title";
    int frames = 0;
    struct Restarter : CxMainLoopHook
    {
        Restarter(TestApp& a, int& f) : app(a), frames(f) {}
        void OnMainLoop() override
        {
            if (++frames == 3)
                app.RequestRestart();
            else if (frames == 6)
                app.RequestQuit();
        }
        TestApp& app;
        int& frames;
    } restarter(app, frames);

    EXPECT_EQ(app.Run(), PIM_OK);
    // The first room is entered by the first frame of the loop.
    const std::vector<std::string> once = {"InitInstance", "InitApplication", "StartGame", "MainLoop",
                                           "Title.BeforeLoad", "Title.Load", "Title.Start", "CloseRooms", "Title.Stop",
                                           "Title.Unload", "Title.AfterLeave", "ExitApplication", "ExitInstance"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(journal, twice);
    EXPECT_FALSE(app.IsRestarting());
}

TEST_F(App, RoomStackRules)
{
    auto app = Start("[Engine.Game]\nRoomStackSize=2\n");
    // A full stack keeps its names, but the third room is still entered.
    app->PushRoom("Title");
    app->PushRoom("Login");
    app->PushRoom("FarmyardMenu");
    EXPECT_EQ(app->GetRoomStackDepth(), 2u);
    EXPECT_STREQ(app->PeekRoom().GetText(), "Login");
    EXPECT_EQ(app->GetPendingRoom(), app->FindRoom("FarmyardMenu"));
    app->DoFrame();
    EXPECT_STREQ(app->GetCurRoomName(), "FarmyardMenu");

    // Unknown names change nothing; GotoRoom does not drop the top for them.
    app->PushRoom("Nowhere");
    app->GotoRoom("Nowhere");
    EXPECT_EQ(app->GetRoomStackDepth(), 2u);
    EXPECT_EQ(app->GetPendingRoom(), nullptr);

    EXPECT_STREQ(app->PopRoom().GetText(), "Title");
    EXPECT_EQ(app->GetPendingRoom(), app->FindRoom("title")); // names ignore case
    // With one name left, PopRoom clears the pending room and pops nothing.
    EXPECT_STREQ(app->PopRoom().GetText(), "");
    EXPECT_EQ(app->GetPendingRoom(), nullptr);
    EXPECT_EQ(app->GetRoomStackDepth(), 1u);
    // GotoRoom at the bottom pushes on top.
    app->GotoRoom("Login");
    EXPECT_EQ(app->GetRoomStackDepth(), 2u);
    app->DoFrame();
    EXPECT_STREQ(app->GetCurRoomName(), "Login");

    // The current room as pending room: nothing happens.
    journal.clear();
    app->PushRoom("Login");
    app->DoFrame();
    EXPECT_TRUE(journal.empty());
    Stop(*app);
}

TEST_F(App, ARoomChoosingAnotherWhileLeavingIsNotEntered)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    app->Room("Title")->onStop = [&] { app->GotoRoom("FarmyardMenu"); };
    app->GotoRoom("Login");
    journal.clear();
    app->DoFrame();
    EXPECT_STREQ(app->GetCurRoomName(), "");
    EXPECT_EQ(std::find(journal.begin(), journal.end(), "Login.Load"), journal.end());
    app->Room("Title")->onStop = nullptr;
    app->DoFrame();
    EXPECT_STREQ(app->GetCurRoomName(), "FarmyardMenu");
    Stop(*app);
}

TEST_F(App, ReloadFromAScriptWaitsForTheNextFrame)
{
    auto app = Start("[Engine.Game.KeyBinds]\nF5=reload\n");
    app->PushRoom("Title");
    app->DoFrame();
    journal.clear();
    app->ReloadRoom();
    EXPECT_TRUE(journal.empty()); // not inside the caller
    app->DoFrame();
    EXPECT_EQ(journal, (std::vector<std::string>{"Title.Unload", "Title.Load"}));
    Stop(*app);
}

TEST_F(App, KeyBindingsMatchUpperCaseAndMayRebindWhileRunning)
{
    auto app = Start("[Engine.Game.KeyBinds]\nA=goto Login\nF2=bind F2 goto Title\nunknown=ignored\n");
    ASSERT_EQ(app->GetKeyBindings().size(), 2u);
    app->PushRoom("Title");
    app->DoFrame();

    app->Key('a'); // typed "a"
    EXPECT_STREQ(app->GetCurRoomName(), "Login");
    app->Key('A'); // Shift-A
    EXPECT_EQ(app->scripts.size(), 2u);

    // A command that rebinds its own key: the first match runs once.
    app->Key((PIM_KEY_F1 + 1));
    EXPECT_EQ(app->scripts.back(), "bind F2 goto Title");
    app->Key((PIM_KEY_F1 + 1));
    EXPECT_STREQ(app->GetCurRoomName(), "Title");

    // Every key passes on to the display tree, "~" too when there is no console.
    app->keysPassedOn.clear();
    app->Key('~');
    app->Key('`');
    EXPECT_EQ(app->keysPassedOn, (std::vector<uint32_t>{'~', '`'}));

    app->UnBindKey("a");
    EXPECT_EQ(app->GetKeyBindings().size(), 1u);
    EXPECT_EQ(KeyCodeFromName("alt_f4"), PIM_KEY_ALT | 260u);
    size_t names = 0;
    KeyNameTable(names);
    EXPECT_EQ(names, 145u);
    Stop(*app);
}

TEST_F(App, AltF4AndAltQQuitUnlessTheRoomRefuses)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    app->Room("Title")->allowQuit = false;
    app->Key(PIM_KEY_ALT | 'q');
    EXPECT_FALSE(app->IsQuitting());
    // A refused quit does not leave a restart behind.
    app->RequestRestart();
    EXPECT_FALSE(app->IsRestarting());
    app->Room("Title")->allowQuit = true;
    app->Key(PIM_KEY_ALT | (PIM_KEY_F1 + 3));
    EXPECT_TRUE(app->IsQuitting());
    Stop(*app);
}

TEST_F(App, MinimisedGameStandsStillButPumpsMessages)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    TestRoom* room = app->Room("Title");
    room->GetTimers().SetTimer(7, 100, 0);
    static int callbacks;
    callbacks = 0;
    AddMainLoopCallback([] { ++callbacks; });

    ST_MESSAGE minimised = Message(EMessage::Size);
    minimised.minimized = true;
    app->Send(minimised, 0);
    int updates = room->updates;
    int calls = callbacks;
    size_t timerCalls = room->timerCalls.size();
    for (int i = 0; i < 10; ++i) {
        clock.Advance(100);
        app->Key('x'); // messages still reach the game
    }
    EXPECT_EQ(room->updates, updates);
    EXPECT_EQ(callbacks, calls);
    EXPECT_EQ(room->timerCalls.size(), timerCalls);
    EXPECT_EQ(app->keysPassedOn.size(), 10u);

    ST_MESSAGE restored = Message(EMessage::Size, 0, 0);
    restored.width = 800;
    restored.height = 600;
    app->Send(restored, 1);
    EXPECT_GT(room->updates, updates);
    EXPECT_GT(room->timerCalls.size(), timerCalls);
    Stop(*app);
}

TEST_F(App, MousePointsScaleToTheInternalSize)
{
    auto app = Start("[Engine.Window]\nInternalSize=400, 300\n");
    ASSERT_EQ(app->GetClientWidth(), 800);
    app->Send(Mouse(EMouseAction::Down, 200, 100));
    ASSERT_EQ(app->clicks.size(), 1u);
    EXPECT_EQ(app->clicks[0], CxPoint(100, 50));
    Stop(*app);

    // A size that would divide by nothing falls back to the window's.
    auto bad = Start("[Engine.Window]\nInternalSize=0, 300\n");
    EXPECT_EQ(bad->GetInternalSize(), CxSize(-1, -1));
    bad->Send(Mouse(EMouseAction::Down, 200, 100));
    EXPECT_EQ(bad->clicks.back(), CxPoint(200, 100));
    Stop(*bad);
}

TEST_F(App, AWindowWithoutSizeDropsMouseEvents)
{
    config = folder.Write("Marrowdale.ini", "");
    init.configFile = config.c_str();
    init.width = 0;
    init.height = 0;
    TestApp app(init);
    app.SetInstallPathOverride(folder.Path());
    app.InitInstance();
    app.InitApplication();
    ASSERT_EQ(app.GetClientWidth(), 0);
    app.Send(Mouse(EMouseAction::Down, 10, 10)); // no division by a zero size
    EXPECT_TRUE(app.clicks.empty());
    Stop(app);
}

TEST_F(App, ConfigurationKeysAndPaths)
{
    auto app = Start("[Engine.Window]\nRect=0, 0, 640, 480\nPosition=10, 20\n[Startup]\nCDPath=" + folder.Path() +
                     "\\disc\\\n");
    EXPECT_EQ(app->GetClientWidth(), 640);
    EXPECT_EQ(app->GetClientHeight(), 480);
    const ST_HEADLESS_RECORD& record = HeadlessWindowOf(*app)->GetRecord();
    EXPECT_EQ(record.setup.title, "MarrowTest");
    EXPECT_EQ(record.left, 10);
    EXPECT_EQ(std::string(app->GetDiscPath()), folder.Path() + "/disc/");
    EXPECT_EQ(std::string(app->GetInstallPath()), folder.Path() + "/");
    // The install path is mounted in front of the disc.
    folder.Write("both.txt", "install");
    folder.Write("disc/both.txt", "disc");
    CxFileSystem* first = FindFileSystem("both.txt", nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->GetName(), "<InstallPath>");
    EXPECT_EQ(app->GetRooms().size(), 3u);
    Stop(*app);
}

TEST_F(App, NoRoomsRegisteredEndsTheRunWithError13)
{
    rooms.clear();
    config = folder.Write("Marrowdale.ini", "");
    init.configFile = config.c_str();
    TestApp app(init);
    EXPECT_EQ(app.Run(), PIM_ERR_UNKNOWN);
    EXPECT_EQ(GetLastReportedError(), PIM_ERR_UNKNOWN);
    EXPECT_STREQ(GetLastErrorMessage(), "No rooms have been registered.  Game will now terminate");
    EXPECT_EQ(std::find(journal.begin(), journal.end(), "MainLoop"), journal.end());
    EXPECT_EQ(journal.back(), "ExitInstance");
}

TEST_F(App, WithoutABackEndTheWindowDoesNotStartAndTheRunEndsInOrder)
{
    config = folder.Write("Marrowdale.ini", "");
    init.name = "MarrowTest";
    init.configFile = config.c_str();
    TraceRecorder trace;
    CxGameApp app(init); // no SetBackend
    app.SetSingleInstance(false);
    app.SetInstallPathOverride(folder.Path());
    EXPECT_FALSE(app.IsHeadless());
    EXPECT_EQ(app.GetBackend(), nullptr);
    EXPECT_EQ(app.Run(), PIM_ERR_BAD_ARG);
    EXPECT_EQ(app.GetPlatformWindow(), nullptr);
    EXPECT_EQ(app.GetStagesRun(), "InitInstance, InitApplication, StartGame, CloseRooms, ExitApplication, ExitInstance");
    // The first error says why, and nothing further was attempted with no window.
    std::vector<std::string> errors;
    for (const std::string& line : trace.lines)
        if (line.rfind("Error ", 0) == 0)
            errors.push_back(line);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0], std::string("Error 16 (") + ErrorText(PIM_ERR_BAD_ARG) +
                             "): No platform back end was chosen: MarrowTest has no window to open\n");
}

TEST_F(App, AbortEndsTheRunInOrderWithoutThrowing)
{
    config = folder.Write("Marrowdale.ini", "");
    init.configFile = config.c_str();
    TestApp app(init);
    app.SetInstallPathOverride(folder.Path());
    app.firstRoom = "Title";
    struct Aborter : CxMainLoopHook
    {
        explicit Aborter(CxApp& a) : app(a) {}
        void OnMainLoop() override
        {
            if (++frames == 2) // the room has been entered by now
                app.Abort();
        }
        CxApp& app;
        int frames = 0;
    } aborter(app);
    app.Run();
    const std::vector<std::string> tail = {"CloseRooms", "Title.Stop", "Title.Unload", "Title.AfterLeave",
                                           "ExitApplication", "ExitInstance"};
    ASSERT_GE(journal.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(journal.end() - static_cast<long>(tail.size()), journal.end()), tail);
}

TEST_F(App, ErrorsAreCountedAndEndTheLoopAtTheMaximum)
{
    config = folder.Write("Marrowdale.ini", "[Engine]\nMaxErrorCount=2\n");
    init.configFile = config.c_str();
    TraceRecorder trace;
    TestApp app(init);
    app.SetInstallPathOverride(folder.Path());
    app.SetUnattended(true);
    struct Failer : CxMainLoopHook
    {
        void OnMainLoop() override { ReportError(PIM_ERR_READ, "frame %d", ++frames); }
        int frames = 0;
    } failer;
    app.Run();
    EXPECT_EQ(failer.frames, 2);
    // With nobody to answer a box, the display's handler still traces each error.
    bool traced = false;
    for (const std::string& line : trace.lines)
        traced = traced || line == "Error 5 (Error reading file): frame 1\n";
    EXPECT_TRUE(traced);
    EXPECT_EQ(GetErrorHandler().handler, nullptr); // restored at exit
}

TEST_F(App, ReplayDrivesRoomsThroughKeyBindings)
{
    config = folder.Write("Marrowdale.ini", "[Engine.Game.KeyBinds]\nF1=goto Login\nL=goto FarmyardMenu\n");
    init.configFile = config.c_str();
    TestApp app(init);
    app.SetInstallPathOverride(folder.Path());
    app.firstRoom = "Title";
    const char script[] = "# start\n"
                          "expect room Title\n"
                          "wait 250\n"
                          "key F1\n"
                          "expect room login\n"
                          "text l\n"
                          "click 10 20\n"
                          "drag 0 0 80 80\n"
                          "expect room FarmyardMenu\n"
                          "expect no-errors\n";
    CxReplayScript replay;
    std::string error;
    ASSERT_TRUE(replay.Parse(script, sizeof script - 1, error)) << error;
    CxHeadlessRunner runner(app, &replay, "drive.rpl", 0);
    app.Run();
    EXPECT_EQ(runner.GetExitCode(), 0) << runner.GetFailure();
    EXPECT_TRUE(runner.IsFinished());
    EXPECT_GE(runner.GetClock().GetTicks(), 251u);
    EXPECT_EQ(app.clicks.size(), 2u);
}


TEST_F(App, AFailedExpectationEndsTheReplayWithItsLine)
{
    config = folder.Write("Marrowdale.ini", "");
    init.configFile = config.c_str();
    TestApp app(init);
    app.SetInstallPathOverride(folder.Path());
    app.firstRoom = "Title";
    const char script[] = "wait 20\n\nexpect room Login\nquit\n";
    CxReplayScript replay;
    std::string error;
    ASSERT_TRUE(replay.Parse(script, sizeof script - 1, error));
    CxHeadlessRunner runner(app, &replay, "bad.rpl", 0);
    app.Run();
    EXPECT_EQ(runner.GetExitCode(), 1);
    EXPECT_EQ(runner.GetFailure(), "replay bad.rpl:3: expected room \"Login\", but the current room is \"Title\"");
}

namespace {

// Runs `script` as a replay over an app started in Title with `ini`;
// returns the runner's failure ("" when none).
std::string RunReplay(TestApp& app, const char* script)
{
    app.firstRoom = "Title";
    CxReplayScript replay;
    std::string error;
    if (!replay.Parse(script, std::strlen(script), error))
        return "parse: " + error;
    CxHeadlessRunner runner(app, &replay, "box.rpl", 0);
    app.Run();
    return runner.GetFailure();
}

bool Contains(const std::vector<std::string>& lines, const std::string& what)
{
    return std::find(lines.begin(), lines.end(), what) != lines.end();
}

} // namespace

TEST_F(App, AReplaysFocusChangesReachTheApplicationAsARealWindowsDo)
{
    config = folder.Write("Marrowdale.ini", "");
    init.configFile = config.c_str();
    TestApp app(init);
    app.SetInstallPathOverride(folder.Path());
    EXPECT_EQ(RunReplay(app, "wait 20\nfocus out\nwait 20\nfocus in\nwait 20\nquit\n"), "");
    // The window's own activation when it appeared, then the replay's two.
    ASSERT_EQ(app.activations.size(), 3u);
    EXPECT_TRUE(app.activations[0]);
    EXPECT_FALSE(app.activations[1]);
    EXPECT_TRUE(app.activations[2]);
}

TEST_F(App, ErrorBoxContinueReturnsToTheCallerAndQuitEndsTheRunInOrder)
{
    const std::string ini = "[Engine.Game.KeyBinds]\nF1=error\nF2=goto Login\n";
    {
        config = folder.Write("Marrowdale.ini", ini);
        init.configFile = config.c_str();
        TestApp app(init);
        app.SetInstallPathOverride(folder.Path());
        // A room change asked for under the box waits until the box is gone.
        EXPECT_EQ(RunReplay(app, "wait 20\nkey F1\nexpect box Error reading file\nkey F2\nexpect room Title\n"
                                 "click Continue\nexpect no-box\nwait 20\nexpect room Login\nquit\n"),
                  "");
        EXPECT_TRUE(Contains(journal, "after error"));
        EXPECT_TRUE(Contains(journal, "Login.Start"));
        EXPECT_EQ(GetErrorHandler().handler, nullptr);
    }
    journal.clear();
    {
        TestApp app(init);
        app.SetInstallPathOverride(folder.Path());
        // "Quit" returns to the caller too, then every loop ends and the run
        // leaves through every exit stage; the rest of the replay never runs.
        EXPECT_EQ(RunReplay(app, "wait 20\nkey F1\nexpect box \"Error reading file\"\nclick \"Quit\"\n"
                                 "wait 1000\nexpect room Nowhere\n"),
                  "");
        EXPECT_TRUE(app.IsAborting());
        const std::vector<std::string> tail = {"after error", "CloseRooms", "Title.Stop", "Title.Unload",
                                               "Title.AfterLeave", "ExitApplication", "ExitInstance"};
        ASSERT_GE(journal.size(), tail.size());
        EXPECT_EQ(std::vector<std::string>(journal.end() - static_cast<long>(tail.size()), journal.end()), tail);
        EXPECT_EQ(app.GetStagesRun(),
                  "InitInstance, InitApplication, StartGame, MainLoop, CloseRooms, ExitApplication, ExitInstance");
        EXPECT_EQ(GetErrorHandler().handler, nullptr);
    }
}

TEST_F(App, BoxesEndWithoutAnAnswerOnQuitAndNeverHoldAFinishedReplay)
{
    config = folder.Write("Marrowdale.ini", "[Engine.Game.KeyBinds]\nF1=error\n");
    init.configFile = config.c_str();
    {
        // Alt+Q under the box ends its loop (no button: "Continue"), then the game.
        TestApp app(init);
        app.SetInstallPathOverride(folder.Path());
        EXPECT_EQ(RunReplay(app, "wait 20\nkey F1\nexpect box Error reading file\nkey ALT_Q\nwait 1000\n"), "");
        EXPECT_TRUE(Contains(journal, "after error"));
        EXPECT_FALSE(app.IsAborting());
    }
    journal.clear();
    {
        // An error on the way out, after the replay ended, puts up no box.
        TestApp app(init);
        app.SetInstallPathOverride(folder.Path());
        app.firstRoom = "Title";
        CxReplayScript replay;
        std::string error;
        ASSERT_TRUE(replay.Parse("wait 20\nquit\n", 12, error));
        CxHeadlessRunner runner(app, &replay, "late.rpl", 0);
        app.StartGame(); // rooms are made by Run; the hook is set after
        struct LateError : CxMainLoopHook
        {
            explicit LateError(TestApp& a) : app(a) {}
            void OnMainLoop() override
            {
                if (app.IsQuitting() && app.Room("Title") && !app.Room("Title")->onStop)
                    app.Room("Title")->onStop = [] { ReportError(PIM_ERR_WRITE, "could not save"); };
            }
            TestApp& app;
        } late(app);
        app.Run();
        EXPECT_EQ(GetLastReportedError(), PIM_ERR_WRITE);
        EXPECT_EQ(journal.back(), "ExitInstance");
    }
}

TEST_F(App, VersionBoxAndTheWindowClosedUnderABox)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    EXPECT_EQ(app->VersionText(), "MarrowTest v1.00 build 0\ntest build");
    // The box's loop runs frames; a hook answers from inside it.
    struct Answer : CxMainLoopHook
    {
        void OnMainLoop() override
        {
            if (CxCommonMessageBox* box = GetOpenMessageBox()) {
                titles.push_back(box->GetTitle());
                texts.push_back(box->GetText());
                if (closeWindow) {
                    ST_MESSAGE m;
                    m.type = EMessage::Quit;
                    window->Post(m);
                } else {
                    ClickMessageBoxButton("Ok");
                }
            }
        }
        std::vector<std::string> titles, texts;
        bool closeWindow = false;
        CxHeadlessWindow* window = nullptr;
    } answer;
    answer.window = HeadlessWindowOf(*app);
    app->Key(PIM_KEY_ALT | 'v');
    ASSERT_EQ(answer.titles.size(), 1u);
    EXPECT_EQ(answer.titles[0], "Product Version");
    EXPECT_EQ(answer.texts[0], "MarrowTest v1.00 build 0\ntest build");
    EXPECT_EQ(GetOpenMessageBox(), nullptr);
    EXPECT_FALSE(app->IsQuitting());
    // Closing the window under a box ends the box and the game.
    answer.closeWindow = true;
    app->Key(PIM_KEY_ALT | 'V');
    EXPECT_EQ(GetOpenMessageBox(), nullptr);
    EXPECT_TRUE(app->IsQuitting());
    Stop(*app);
}

TEST_F(App, ACloseRequestPendingWhenABoxOpensIsNotLost)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    // Answers the box only after a while: a close request the box's flush
    // had lost would leave it to be answered, and the game running.
    struct LateAnswer : CxMainLoopHook
    {
        void OnMainLoop() override
        {
            if (GetOpenMessageBox() && ++frames == 20)
                ClickMessageBoxButton("Ok");
        }
        int frames = 0;
    } answer;
    CxHeadlessWindow* window = HeadlessWindowOf(*app);
    while (window->GetPendingCount() > 0)
        app->DoFrame();
    ST_MESSAGE open = Message(EMessage::KeyDown);
    open.key = PIM_KEY_ALT | 'v';
    window->Post(open);
    window->Post(Message(EMessage::Close));
    window->Post(Message(EMessage::Paint));
    ST_MESSAGE typed = Message(EMessage::KeyDown);
    typed.key = 'x';
    window->Post(typed);
    // One frame takes the key, which opens the box; its loop takes the rest.
    app->DoFrame();
    EXPECT_EQ(GetOpenMessageBox(), nullptr);
    EXPECT_TRUE(app->IsQuitting());
    EXPECT_LT(answer.frames, 20);
    // The box ended with the close; the paint behind it waits for the main
    // loop, and the key typed after it went with the flush.
    ST_MESSAGE left;
    ASSERT_TRUE(window->PollMessage(left));
    EXPECT_EQ(left.type, EMessage::Paint);
    EXPECT_EQ(window->GetPendingCount(), 0u);
    Stop(*app);
}

TEST_F(App, TheConsoleTogglesOnItsKeysAndRunsAliases)
{
    {
        // Without the console "~" is a key like any other.
        auto app = Start();
        app->DoFrame();
        EXPECT_EQ(app->GetConsole(), nullptr);
        app->Key('~');
        EXPECT_EQ(app->keysPassedOn, std::vector<uint32_t>{'~'});
        Stop(*app);
    }
    auto app = Start("[Engine.Game]\nAllowCommandConsole=1\nCommandConsoleHeight=20\n"
                     "[Engine.Game.CommandConsole.Aliases]\nq=Quit()\n");
    app->PushRoom("Title");
    app->DoFrame();
    CxGameConsole* console = app->GetConsole();
    ASSERT_NE(console, nullptr);
    EXPECT_FALSE(console->IsShown());
    EXPECT_EQ(console->GetHeight(), CxGameConsole::kMinHeight); // 20 is too low to lay out
    EXPECT_EQ(console->GetWidth(), app->GetRootSize().width);
    app->Key('`');
    EXPECT_TRUE(console->IsShown());
    app->Key('~');
    EXPECT_FALSE(console->IsShown());
    EXPECT_TRUE(app->keysPassedOn.empty()); // the toggle keys stop at the console
    // The one-letter alias runs the engine's Quit.
    app->Key('`');
    app->Key('q');
    EXPECT_STREQ(console->GetEditText(), "q");
    app->Key(PIM_KEY_ENTER);
    EXPECT_TRUE(app->IsQuitting());
    Stop(*app);
    EXPECT_EQ(app->GetConsole(), nullptr);
}

TEST(ReplayScript, RefusesBadLinesWithTheirNumbers)
{
    struct Case
    {
        const char* text;
        const char* error; // empty: parses
    };
    const Case cases[] = {
        {"wait 10\nmove 1 2\nclick -5 7\nrclick 0 0\ndrag 1 2 3 4\nkey esc\ntext Hello World\nexpect room A\n"
         "expect no-errors\nscreenshot shots/Frame 1.PNG\nscreenshot b.tga\nexpect box \"Error reading file\"\n"
         "expect no-box\nclick Quit\nclick \"Ok\"\nexpect no-room\nexpect pixel 10 20 255 0 128\nseed 42\nfocus out\n"
         "focus in\nquit\n",
         ""},
        {"expect pixel 10 20 255 0\n", "line 1: bad or missing arguments"},
        {"expect pixel 10 20 256 0 0\n", "line 1: bad or missing arguments"},
        {"expect pixel -1 20 0 0 0\n", "line 1: bad or missing arguments"},
        {"seed\n", "line 1: bad or missing arguments"},
        {"seed -3\n", "line 1: bad or missing arguments"},
        {"expect box\n", "line 1: bad or missing arguments"},
        {"expect no-box now\n", "line 1: bad or missing arguments"},
        {"click \"\"\n", "line 1: bad or missing arguments"},
        {"wait\n", "line 1: bad or missing arguments"},
        {"\n\nwait ten\n", "line 3: bad or missing arguments"},
        {"wait 99999999999\n", "line 1: bad or missing arguments"},
        {"move 1\n", "line 1: bad or missing arguments"},
        {"click 1 2 3\n", "line 1: bad or missing arguments"},
        {"key NOPE\n", "line 1: key needs one key name (ESC, F1, ALT_F4, A, ...)"},
        {"text caf\xc3\xa9\n", "line 1: text takes printable ASCII characters only"},
        {"expect weather sunny\n",
         "line 1: expect takes \"room NAME\", \"no-room\", \"no-errors\", \"player KEY VALUE\", \"box TITLE\", "
         "\"no-box\" or \"pixel X Y R G B\""},
        {"expect player\n", "line 1: expect player needs a key and a value"},
        {"expect player Score\n", "line 1: expect player needs a key and a value"},
        {"\nexpect player   Score   \t\n", "line 2: expect player needs a key and a value"},
        {"expect no-room Title\n", "line 1: bad or missing arguments"},
        {"dance\n", "line 1: unknown command"},
        {"focus\n", "line 1: bad or missing arguments"},
        {"focus away\n", "line 1: bad or missing arguments"},
        {"focus out now\n", "line 1: bad or missing arguments"},
        {"screenshot a.gif\n", "line 1: screenshot needs a file name ending in .png or .tga"},
        {"screenshot\n", "line 1: screenshot needs a file name ending in .png or .tga"},
        {"screenshot .png\n", "line 1: screenshot needs a file name ending in .png or .tga"},
    };
    for (const Case& c : cases) {
        CxReplayScript replay;
        std::string error;
        bool ok = replay.Parse(c.text, std::strlen(c.text), error);
        EXPECT_EQ(ok, c.error[0] == '\0') << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    CxReplayScript replay;
    std::string error;
    // A player's key is one word; the value is the rest of the line, trimmed.
    const char player[] = "expect player Name   Hob the  Pig \r\n";
    ASSERT_TRUE(replay.Parse(player, sizeof player - 1, error)) << error;
    ASSERT_EQ(replay.GetSteps().size(), 1u);
    EXPECT_EQ(replay.GetSteps()[0].op, EReplayOp::ExpectPlayer);
    EXPECT_EQ(replay.GetSteps()[0].name, "Name");
    EXPECT_EQ(replay.GetSteps()[0].text, "Hob the  Pig");
    const char zero[] = "wait 1\0\n";
    EXPECT_FALSE(replay.Parse(zero, sizeof zero - 1, error));
}

TEST(ReplayScript, PlayerValuesCompareAsIntegersWhenBothAreElseAsText)
{
    EXPECT_TRUE(CxReplayScript::SameValue("7", "07"));
    EXPECT_TRUE(CxReplayScript::SameValue("-3", "-03"));
    EXPECT_TRUE(CxReplayScript::SameValue("+5", "5"));
    EXPECT_FALSE(CxReplayScript::SameValue("7", "8"));
    EXPECT_TRUE(CxReplayScript::SameValue("Hob", "Hob"));
    EXPECT_FALSE(CxReplayScript::SameValue("Hob", "hob"));
    EXPECT_FALSE(CxReplayScript::SameValue("7", "7 pigs"));
    EXPECT_FALSE(CxReplayScript::SameValue("", "0"));
    // Too long for an integer: compared as text, never overflowing.
    EXPECT_FALSE(CxReplayScript::SameValue("99999999999999999999", "099999999999999999999"));
    EXPECT_TRUE(CxReplayScript::SameValue("99999999999999999999", "99999999999999999999"));
}

TEST_F(App, ExpectPlayerChecksTheSignedInPlayersStoredValue)
{
    config = folder.Write("Marrowdale.ini", "");
    init.configFile = config.c_str();
    {
        TestApp app(init);
        app.SetInstallPathOverride(folder.Path());
        app.player = {{"Name", "Hob the Pig"}, {"BaleOutLevel", "3"}};
        EXPECT_EQ(RunReplay(app, "wait 20\nexpect player BaleOutLevel 03\nexpect player Name Hob the Pig\nquit\n"),
                  "");
    }
    {
        TestApp app(init);
        app.SetInstallPathOverride(folder.Path());
        app.player = {{"BaleOutLevel", "3"}};
        EXPECT_EQ(RunReplay(app, "wait 20\n\nexpect player BaleOutLevel 4\nquit\n"),
                  "replay box.rpl:3: expected the player's \"BaleOutLevel\" to be \"4\", but it is \"3\"");
    }
    {
        TestApp app(init); // nobody signed in
        app.SetInstallPathOverride(folder.Path());
        EXPECT_EQ(RunReplay(app, "expect player Name Hob\nquit\n"),
                  "replay box.rpl:1: expected the player's \"Name\" to be \"Hob\", but no player is signed in (or "
                  "the game keeps no players)");
    }
}

namespace {

// A child of a room: a click on it tells its parent, as a button does; it
// takes the key 'B' and passes every other key on.
class NoticeChild : public CxSprite
{
public:
    void OnLButtonUp(uint32_t, CxPoint) override
    {
        if (CxDisplayObject* parent = GetParent())
            parent->OnNotify(42, this, 0, 0);
    }
    void OnKeyDown(uint32_t key, uint32_t flags) override
    {
        if (key != 'B')
            CxSprite::OnKeyDown(key, flags);
    }
};

int CountTree(const CxDisplayObject& object)
{
    return 1 + object.CountChildren(PIM_COUNT_RECURSIVE);
}

} // namespace

TEST_F(App, TheCurrentRoomIsInTheDisplayTreeBehindEverythingElse)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    TestRoom* title = app->Room("Title");
    CxDisplayObject* root = GetRootObject();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(title->GetParent(), root);
    EXPECT_TRUE(title->IsVisible());
    EXPECT_EQ(title->GetZ(), PIM_ROOM_Z);
    EXPECT_EQ(title->GetSize(), root->GetSize());
    EXPECT_STREQ(title->GetName(), "Title");

    app->GotoRoom("Login");
    app->DoFrame();
    EXPECT_EQ(title->GetParent(), nullptr);
    EXPECT_FALSE(title->IsShown());
    EXPECT_EQ(app->Room("Login")->GetParent(), root);
    Stop(*app);
}

TEST_F(App, NoticesClicksAndUntakenKeysReachTheRoom)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    TestRoom* room = app->Room("Title");
    NoticeChild child;
    child.Create(100, 100, 50, 50, room);
    child.Show();

    // A click beside the child lands on the room itself; one on the child
    // comes back as the child's notice.
    app->Send(Mouse(EMouseAction::Down, 10, 20));
    ASSERT_EQ(room->presses.size(), 1u);
    EXPECT_EQ(room->presses[0], CxPoint(10, 20));
    app->Send(Mouse(EMouseAction::Up, 120, 120));
    ASSERT_EQ(room->notices.size(), 1u);
    EXPECT_EQ(room->notices[0].first, 42);
    EXPECT_EQ(room->notices[0].second, &child);

    // Without a focus the room hears every key; with the focus on the child
    // it hears what the child does not take.
    app->Key('A');
    child.SetFocus();
    app->Key('B');
    app->Key('C');
    EXPECT_EQ(room->keys, (std::vector<uint32_t>{'A', 'C'}));
    child.Detach();
    Stop(*app);
}

TEST_F(App, EnteringLeavingAndEnteringAgainLeavesTheSameTree)
{
    auto app = Start();
    app->PushRoom("Title");
    app->DoFrame();
    CxDisplayObject* root = GetRootObject();
    const int entered = CountTree(*root);
    app->GotoRoom("Login");
    app->DoFrame();
    app->GotoRoom("Title");
    app->DoFrame();
    EXPECT_EQ(CountTree(*root), entered);
    EXPECT_EQ(app->Room("Login")->GetParent(), nullptr);
    Stop(*app);
}

TEST_F(App, CursorsRegisteredBeforeTheScreenOutliveItsArrival)
{
    auto app = Start("[Engine]\nUseCustomCursor=1\n");
    ASSERT_EQ(app->GetScreen(), nullptr);
    EXPECT_TRUE(UsesCustomCursors());
    EXPECT_EQ(GetCursor(), PIM_CURSOR_ARROW);
    // What a start-up script does: its own cursor, selected at once.
    CxPoint hot;
    ASSERT_EQ(RegisterCursor(CreateBuiltinCursor(1, hot), 9, hot.x, hot.y), PIM_OK);
    SetCursor(9);
    SetDefaultCursor(9);
    for (int i = 0; i < 10 && !app->GetScreen(); ++i)
        app->DoFrame();
    ASSERT_NE(app->GetScreen(), nullptr);
    const CxCursorImage* mine = FindCursor(9);
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->GetSurface()->GetDepth(), app->GetScreen()->GetDepth());
    EXPECT_EQ(GetCursor(), 9);
    EXPECT_EQ(GetDefaultCursor(), 9);
    EXPECT_EQ(CountCursors(), PIM_BUILTIN_CURSOR_COUNT + 1);
    Stop(*app);
    EXPECT_EQ(CountCursors(), 0);
}

TEST_F(App, ArchivesMountThroughTheFileLayerTaggedOrFoundInAMount)
{
    ZipWriter extra;
    extra.Add("notes.txt", "from the extra archive");
    folder.Write("extra.zip", extra.Build());
    ZipWriter nested;
    nested.Add("deep.txt", "from the archive in a mount");
    folder.Write("packs/nested.zip", nested.Build());
    auto app = Start();

    // A tag in the archive's name is honoured...
    ASSERT_EQ(app->NewFileSystem("<Extra>", "<InstallPath>extra.zip"), PIM_OK);
    CxBuffer bytes;
    ASSERT_EQ(LoadFile("<Extra>notes.txt", bytes), PIM_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize()), "from the extra archive");
    // ...and an untagged name is found in the mounts, like any file.
    ASSERT_EQ(app->NewFileSystem("<Nested>", "packs/nested.zip"), PIM_OK);
    ASSERT_EQ(LoadFile("<Nested>deep.txt", bytes), PIM_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize()),
              "from the archive in a mount");
    // The install folder itself, given as the system's path, still mounts.
    TempFolder other;
    ZipWriter data;
    data.Add("Marrowdale.ini", "");
    const std::string archive = other.Write("game.zip", data.Build());
    EXPECT_EQ(app->NewFileSystem("<Game>", ("<DEFAULT>" + archive).c_str()), PIM_OK);
    EXPECT_TRUE(FsExists("<Game>Marrowdale.ini"));
    Stop(*app);
}

TEST_F(App, TheCacheFolderComesFromTheConfiguration)
{
    TempFolder base;
    {
        auto app = Start("[Engine]\nCacheDir=" + base.Path() + "\n");
        ASSERT_NE(PimCacheFolder(), nullptr);
        EXPECT_EQ(std::string(PimCacheFolder()).rfind(base.Path() + "/", 0), 0u);
        Stop(*app);
    }
    EXPECT_EQ(PimCacheFolder(), nullptr); // gone with the application
    auto app = Start("[Engine]\nCacheDir=" + base.Path() + "/missing\n");
    EXPECT_EQ(PimCacheFolder(), nullptr);
    Stop(*app);
}
