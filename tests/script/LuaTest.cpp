#include "PIM/app/CxGameApp.h"
#include "PIM/backends/headless/CxHeadlessRunner.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxZipFileSystem.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptFunctions.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipWriter.h"

#include <gtest/gtest.h>

#include <lua.hpp>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The engine alone, with a folder mounted as "<Scripts>" and the default.
class LuaEngine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs = std::make_unique<CxDirectoryFileSystem>("<Scripts>", folder.Path().c_str());
        ASSERT_EQ(engine.CreateState(), PIM_OK);
    }

    // Traced lines since the last call.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        lines.swap(trace.lines);
        return lines;
    }
    bool Traced(const std::string& part)
    {
        for (const std::string& line : trace.lines)
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }
    lua_Integer Global(const char* name)
    {
        lua_getglobal(engine.GetState(), name);
        lua_Integer value = lua_tointeger(engine.GetState(), -1);
        lua_pop(engine.GetState(), 1);
        return value;
    }

    TempFolder folder;
    std::unique_ptr<CxDirectoryFileSystem> fs;
    TraceRecorder trace;
    CxLuaEngine engine;
};

} // namespace

TEST_F(LuaEngine, PrintHelpAndTheReplacedFunctions)
{
    engine.DoString("print(1, nil, 'a')");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1    nil    a\n"}));
    engine.DoString("_ALERT('alert')");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"alert\n"}));

    engine.DoString("zz_b = function() end zz_a = print zz_c = print zz_not = 5");
    engine.DoString("Help(3)");
    std::vector<std::string> names;
    for (const std::string& line : Lines()) {
        std::istringstream words(line);
        std::string name;
        size_t inLine = 0;
        while (words >> name) {
            names.push_back(name);
            ++inLine;
        }
        EXPECT_LE(inLine, 3u) << line;
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
              (std::vector<std::string>{"zz_a", "zz_b", "zz_c"})); // functions only
    engine.DoString("Help(0)"); // no division by zero: one per line
    EXPECT_GT(Lines().size(), 20u);

    // No io, no os, no native libraries, no way to move the instruction hook.
    engine.DoString("r = (io == nil and os == nil and package.loadlib == nil) and 1 or 0");
    EXPECT_EQ(Global("r"), 1);
    engine.DoString("t = date() r = (t.month >= 1 and t.month <= 12 and t.year > 2000 and "
                    "type(t.isdst) == 'boolean') and 1 or 0");
    EXPECT_EQ(Global("r"), 1);
    engine.DoString("r = (pim.app.IsQuiting() == 0 and IsQuiting() == false) and 1 or 0");
    EXPECT_EQ(Global("r"), 1);
}

TEST_F(LuaEngine, DoStringAndGetNumberEdgeCases)
{
    ErrorRecorder errors;
    EXPECT_EQ(engine.DoString(""), PIM_ERR_BAD_ARG);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].message, "Invalid command string");

    EXPECT_EQ(engine.GetNumber("3 * 7", -1), 21);
    EXPECT_EQ(engine.GetNumber("'text'", -1), -1);
    EXPECT_EQ(engine.GetNumber("1/0", -5), -5);   // not finite
    EXPECT_EQ(engine.GetNumber("0/0", -5), -5);
    EXPECT_EQ(engine.GetNumber("1e30", -5), -5);  // no int holds it
    lua_getglobal(engine.GetState(), "_tmp");
    EXPECT_TRUE(lua_isnil(engine.GetState(), -1));
    lua_pop(engine.GetState(), 1);

    // Errors are traced, whatever the error object is; the game goes on.
    Lines();
    EXPECT_EQ(engine.DoString("error('boom')"), PIM_ERR_SCRIPT);
    EXPECT_TRUE(Traced("boom"));
    engine.DoString("error({})");
    EXPECT_TRUE(Traced("(error object is a table value)"));
    engine.DoString("error()");
    EXPECT_TRUE(Traced("(error object is a nil value)"));
    engine.DoString("this is not lua");
    EXPECT_EQ(errors.errors.size(), 1u); // script errors are not counted errors
}

TEST_F(LuaEngine, FilesGoThroughTheFileSystems)
{
    folder.Write("count.lua", "loads = (loads or 0) + 1 return 'done'");
    engine.DoString("require('<Scripts>count.lua') require('<Scripts>count.lua')");
    EXPECT_EQ(Global("loads"), 1); // once
    engine.DoString("r = dofile('<Scripts>count.lua') == 'done' and 1 or 0");
    EXPECT_EQ(Global("r"), 1);
    engine.DoString("r = dofile('<Scripts>missing.lua') == nil and 1 or 0"); // missing: nothing
    EXPECT_EQ(Global("r"), 1);
    engine.DoString("r = FileExists('<Scripts>count.lua') and not FileExists('<Scripts>nope.lua') and 1 or 0");
    EXPECT_EQ(Global("r"), 1);

    // A quote or a backslash in a path is part of the name, not code.
    folder.Write("odd\"name.lua", "odd = 42");
    EXPECT_EQ(engine.DoFile("<Scripts>odd\"name.lua"), PIM_OK);
    EXPECT_EQ(Global("odd"), 42);
    EXPECT_EQ(engine.DoFile("x\") os = 1 --"), PIM_OK);
    engine.DoString("r = os == nil and 1 or 0");
    EXPECT_EQ(Global("r"), 1);

    // Through a zip archive.
    ZipWriter zip;
    zip.Add("scripts/zipped.lua", "zipped = 7", true);
    std::string archive = zip.Build();
    CxZipFileSystem mounted(archive.data(), archive.size(), "<Zip>");
    engine.DoString("dofile('<Zip>SCRIPTS\\\\zipped.lua')");
    EXPECT_EQ(Global("zipped"), 7);
}

TEST_F(LuaEngine, HostileScriptsAreContained)
{
    // Precompiled chunks are refused: Lua 5.1 would run broken bytecode.
    engine.DoString("f, message = loadstring(string.dump(function() return 1 end)) "
                    "r = (f == nil and message:find('precompiled')) and 1 or 0");
    EXPECT_EQ(Global("r"), 1);
    engine.DoString("r = (load(function() return nil end) ~= nil) and 1 or 0");
    EXPECT_EQ(Global("r"), 1);

    // A loop that never ends is stopped; the state stays usable.
    engine.SetInstructionBudget(200000);
    EXPECT_EQ(engine.DoString("while true do end"), PIM_ERR_SCRIPT);
    EXPECT_TRUE(Traced("ran for too long"));
    engine.DoString("while true do pcall(function() end) end");
    engine.DoString("r = 5");
    EXPECT_EQ(Global("r"), 5);

    // Memory is capped: the script fails, the game does not.
    engine.SetMemoryLimit(8u << 20);
    EXPECT_EQ(engine.DoString("s = string.rep('x', 64 * 1024 * 1024)"), PIM_ERR_SCRIPT);
    EXPECT_TRUE(Traced("not enough memory"));
    engine.DoString("r = 6");
    EXPECT_EQ(Global("r"), 6);
    EXPECT_LT(engine.GetMemoryInUse(), 8u << 20);
}

TEST(ScriptPaths, PercentSignsAreLiteral)
{
    char out[64];
    UnescapePercents("100%% of %s and %d", out, sizeof out);
    EXPECT_STREQ(out, "100% of %s and %d");
    UnescapePercents("abcdef", out, 4);
    EXPECT_STREQ(out, "abc");
}

namespace {

class TimedRoom : public CxGameWindow
{
public:
    explicit TimedRoom(CxGameApp*) {}
    void OnTimer(CxTimerCallBack* timer) override { calls.push_back({timer->GetId(), timer->GetUserValue()}); }
    std::vector<std::pair<int, int>> calls;
};

class ScriptedApp : public CxGameApp
{
public:
    explicit ScriptedApp(const ST_APP_INIT& init) : CxGameApp(init)
    {
        SetBackend(HeadlessBackend());
        SetSingleInstance(false);
    }
    int StartGame() override
    {
        PushRoom("Barn");
        return CxGameApp::StartGame();
    }
};

// A game with two rooms, its data folder holding an autorun.lua.
class Scripts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        rooms.push_back(std::make_unique<CxGameRoomRegistrar>("Barn", &MakeRoom<TimedRoom>));
        rooms.push_back(std::make_unique<CxGameRoomRegistrar>("Yard", &MakeRoom<TimedRoom>));
    }
    void TearDown() override
    {
        PimSetClock(nullptr);
        ResetMainLoopCallbacks();
    }
    std::unique_ptr<ScriptedApp> Make(const std::string& autorun)
    {
        config = folder.Write("Marrowdale.ini", "");
        folder.Write("autorun.lua", autorun);
        init.name = "ScriptTest";
        init.configFile = config.c_str();
        auto app = std::make_unique<ScriptedApp>(init);
        app->SetInstallPathOverride(folder.Path());
        return app;
    }
    TimedRoom* Room(ScriptedApp& app, const char* name) { return static_cast<TimedRoom*>(app.FindRoom(name)); }

    TempFolder folder;
    std::string config;
    ST_APP_INIT init;
    std::vector<std::unique_ptr<CxGameRoomRegistrar>> rooms;
    TraceRecorder trace;
};

// Runs frames until `done` or a limit.
template <class Done>
void Frames(CxApp& app, Done done)
{
    for (int i = 0; i < 200 && !done(); ++i)
        app.DoFrame();
}

} // namespace

TEST_F(Scripts, AReplayKeyBoundInAutorunStartsARoomTimerOnTheVirtualClock)
{
    auto app = Make("BindKey('F5', \"_G['Room::SetTimer'](GetCurRoomPtr(), 7, 300)\")\n"
                    "BindKey('F6', \"_G['Room::SetTimer'](GetCurRoomPtr(), 8, 100, 55)\")\n"
                    "BindKey('F7', \"_G['Room::KillTimer'](GetCurRoomPtr(), 7)\")\n"
                    "BindKey('F8', 'GotoRoom(\\'Yard\\')')\n");
    const char script[] = "key F5\nwait 1000\nkey F7\nkey F6\nwait 250\nkey F8\nexpect room Yard\n";
    CxReplayScript replay;
    std::string error;
    ASSERT_TRUE(replay.Parse(script, sizeof script - 1, error)) << error;
    CxHeadlessRunner runner(*app, &replay, "timers", 0);
    TimedRoom* barn = nullptr;
    struct Watch : CxMainLoopHook
    {
        Watch(ScriptedApp& a, TimedRoom*& r) : app(a), room(r) {}
        void OnMainLoop() override
        {
            if (!room)
                room = static_cast<TimedRoom*>(app.FindRoom("Barn"));
            if (room)
                calls = room->calls;
        }
        ScriptedApp& app;
        TimedRoom*& room;
        std::vector<std::pair<int, int>> calls;
    } watch(*app, barn);
    app->Run();
    EXPECT_EQ(runner.GetExitCode(), 0) << runner.GetFailure();
    // Timer 7: at once, then every 300 ms of the 1000 waited; timer 8 (user
    // value 55): at once, then every 100 ms of the 250.
    int sevens = 0, eights = 0;
    for (auto [id, user] : watch.calls) {
        if (id == 7) {
            ++sevens;
            EXPECT_EQ(user, 0); // three arguments: user value 0
        } else if (id == 8) {
            ++eights;
            EXPECT_EQ(user, 55);
        }
    }
    EXPECT_EQ(sevens, 4);
    EXPECT_EQ(eights, 3);
}

TEST_F(Scripts, ScriptFunctionsCheckTheirArgumentsAndUseTheEnteredRoom)
{
    auto app = Make("");
    app->InitInstance();
    app->InitApplication();
    app->StartGame();
    CxLuaEngine* lua = app->GetLuaEngine();
    ASSERT_NE(lua, nullptr);

    // Pending is not entered: the current room is still none.
    lua->DoString("r = (GetCurRoomName() == '' and IsLeavingRoom() and PeekRoom() == 'Barn') and 1 or 0");
    EXPECT_EQ(lua->GetNumber("r", -1), 1);
    Frames(*app, [&] { return app->GetCurrentRoom() != nullptr; });
    lua->DoString("r = (GetCurRoomName() == 'Barn' and not IsLeavingRoom()) and 1 or 0");
    EXPECT_EQ(lua->GetNumber("r", -1), 1);

    // Wrong or missing arguments: Lua errors, traced, nothing else.
    const char* bad[] = {"PushRoom()",
                         "GotoRoom({})",
                         "_G['Room::SetTimer'](5, 1, 100)",
                         "_G['Room::SetTimer']('Barn', 1, 100)",
                         "_G['Room::SetTimer'](GetCurRoomPtr())",
                         "_G['Room::SetTimer'](GetCurRoomPtr(), 1, -5)",
                         "_G['Room::KillTimer']()",
                         "BindKey('F1')",
                         "NewFileSystem('<X>')",
                         "BuildGamePath()"};
    for (const char* text : bad) {
        trace.lines.clear();
        EXPECT_EQ(lua->DoString(text), PIM_ERR_SCRIPT) << text;
        EXPECT_FALSE(trace.lines.empty()) << text;
    }
    EXPECT_EQ(GetErrorCount(), 0);

    // A stale handle: a room of an earlier run is refused.
    lua->DoString("old = GetCurRoomPtr()");
    app->CloseRooms();
    app->InitApplication(); // new room objects, new handles
    trace.lines.clear();
    EXPECT_EQ(lua->DoString("_G['Room::SetTimer'](old, 1, 100)"), PIM_ERR_SCRIPT);

    // BuildGamePath takes its argument literally.
    lua->DoString("p = BuildGamePath('%s$INSTALLPATH\\\\x//y%%')");
    lua_getglobal(lua->GetState(), "p");
    EXPECT_STREQ(lua_tostring(lua->GetState(), -1), "%s<InstallPath>/x/y%");
    lua_pop(lua->GetState(), 1);

    // Quit through the script, refused by nobody.
    lua->DoString("exit()");
    EXPECT_TRUE(app->IsQuitting());
    app->CloseRooms();
    app->ExitApplication();
    app->ExitInstance();
}
