// The player store on its own, over a folder of the test's: what a first
// write makes, what reads give, what outside text is turned into, and that
// a save that fails at any step keeps the old file whole and tries again.
// Then the store's script functions, on a Lua engine of their own.
#include "PIM/core/CxError.h"
#include "PIM/os/PimOsFiles.h"
#include "PIM/script/CxLuaEngine.h"
#include "game/common/CPlayerStore.h"
#include "game/common/GameScriptPlayer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <climits>
#include <cmath>
#include <filesystem>
#include <string>

namespace {

class PlayerStore : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(m_store.Load(FileName().c_str()), PIM_OK); }
    void TearDown() override { PimOs::SetFaultHook(nullptr); }

    std::string FileName() const { return "<DEFAULT>" + (m_folder / "users.ini"); }
    bool FileExists() const { return std::filesystem::exists(m_folder / "users.ini"); }
    std::string File() const { return m_folder.Read("users.ini"); }

    TempFolder m_folder;
    CPlayerStore m_store;
};

PimOs::EStep g_failing;

bool FailOneStep(PimOs::EStep step, const char*)
{
    return step == g_failing;
}

} // namespace

TEST_F(PlayerStore, AFirstWriteMakesTheFileAndAFreshStoreReadsItBack)
{
    EXPECT_FALSE(FileExists());
    m_store.SetCurrentPlayer("Tessa");
    EXPECT_EQ(m_store.ReadInt("BaleOutLevel", 4), 4);
    EXPECT_STREQ(m_store.ReadString("Hat", "straw").GetText(), "straw");
    EXPECT_FALSE(FileExists()); // reads write nothing

    ASSERT_EQ(m_store.WriteInt("BaleOutLevel", 3), PIM_OK);
    ASSERT_TRUE(FileExists());
    EXPECT_FALSE(m_store.IsDirty());
    ASSERT_EQ(m_store.WriteString("Hat", "red"), PIM_OK);

    CPlayerStore again;
    ASSERT_EQ(again.Load(FileName().c_str()), PIM_OK);
    again.SetCurrentPlayer("tessa"); // sections match without regard to case
    EXPECT_EQ(again.ReadInt("BaleOutLevel", 0), 3);
    EXPECT_STREQ(again.ReadString("Hat", "").GetText(), "red");
    ASSERT_EQ(again.GetPlayerNames().size(), 1u);
    EXPECT_STREQ(again.GetPlayerNames()[0].GetText(), "Tessa");
}

TEST_F(PlayerStore, OutsideTextIsMadeSafeAndNobodySignedInWritesNothing)
{
    // Nobody signed in: no "[]" section every player would share.
    EXPECT_NE(m_store.WriteInt("Score", 1), PIM_OK);
    EXPECT_NE(m_store.WriteString("Hat", "red"), PIM_OK);
    EXPECT_FALSE(FileExists());
    EXPECT_EQ(m_store.GetOptions().GetSectionCount(), 0u);
    EXPECT_EQ(m_store.ReadInt("Score", 9), 9);

    // A name is kept to 11 characters.
    m_store.SetCurrentPlayer("Bartholomew99");
    EXPECT_STREQ(m_store.GetCurrentPlayer(), "Bartholomew");

    // Line ends would start lines of their own in the file.
    ASSERT_EQ(m_store.WriteString("Motto", "one\r\n[Evil]\nx=1"), PIM_OK);
    EXPECT_STREQ(m_store.ReadString("Motto", "").GetText(), "one  [Evil] x=1");
    EXPECT_EQ(File().find("\n[Evil]"), std::string::npos);

    // Reads give at most 127 characters.
    const std::string longText(200, 'z');
    ASSERT_EQ(m_store.WriteString("Long", longText.c_str()), PIM_OK);
    EXPECT_EQ(m_store.ReadString("Long", "").Length(), 127);
    EXPECT_EQ(m_store.ReadString("Long", "").GetText(), longText.substr(0, 127));
}

TEST_F(PlayerStore, ASaveFailingAtAnyStepKeepsTheOldFileAndTheNextWriteSavesAll)
{
    m_store.SetCurrentPlayer("Tessa");
    ASSERT_EQ(m_store.WriteInt("Level", 1), PIM_OK);
    int value = 1;
    for (PimOs::EStep step : {PimOs::EStep::Write, PimOs::EStep::Sync, PimOs::EStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        const std::string before = File();
        g_failing = step;
        PimOs::SetFaultHook(&FailOneStep);
        EXPECT_NE(m_store.WriteInt("Level", ++value), PIM_OK);
        PimOs::SetFaultHook(nullptr);
        // Whole, not a mix; kept in memory; not the game's error.
        EXPECT_EQ(File(), before);
        EXPECT_TRUE(m_store.IsDirty());
        EXPECT_EQ(m_store.ReadInt("Level", 0), value);
        EXPECT_EQ(GetErrorCount(), 0);

        // The next write saves both.
        ASSERT_EQ(m_store.WriteString("Step", std::to_string(value).c_str()), PIM_OK);
        EXPECT_FALSE(m_store.IsDirty());
        CPlayerStore reread;
        ASSERT_EQ(reread.Load(FileName().c_str()), PIM_OK);
        reread.SetCurrentPlayer("Tessa");
        EXPECT_EQ(reread.ReadInt("Level", 0), value);
    }
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
        EXPECT_EQ(entry.path().filename(), "users.ini"); // no temporary file left behind
}

// --- the script functions ---------------------------------------------------------------------

namespace {

class PlayerScripts : public PlayerStore
{
protected:
    void SetUp() override
    {
        PlayerStore::SetUp();
        ASSERT_EQ(m_lua.CreateState(), PIM_OK);
        RegisterPlayerScriptFunctions(m_lua, m_store);
        m_store.SetCurrentPlayer("Tessa");
    }
    void TearDown() override
    {
        m_lua.DestroyState();
        PlayerStore::TearDown();
    }
    // The value of a Lua expression, as text.
    std::string Eval(const std::string& expression)
    {
        EXPECT_EQ(m_lua.DoString(("result = tostring(" + expression + ")").c_str()), PIM_OK) << expression;
        lua_State* L = m_lua.GetState();
        lua_getglobal(L, "result");
        std::string text = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
        lua_pop(L, 1);
        return text;
    }

    CxLuaEngine m_lua;
};

} // namespace

TEST(PlayerNumbers, ScriptNumbersAreCutTowardZeroAndHeldInRange)
{
    EXPECT_EQ(PlayerIntFromNumber(3.9), 3);
    EXPECT_EQ(PlayerIntFromNumber(-3.9), -3);
    EXPECT_EQ(PlayerIntFromNumber(std::nan("")), 0);
    EXPECT_EQ(PlayerIntFromNumber(1e300), INT_MAX);
    EXPECT_EQ(PlayerIntFromNumber(-1e300), INT_MIN);
    EXPECT_EQ(PlayerIntFromNumber(2147483647.5), INT_MAX);
    EXPECT_EQ(PlayerIntFromNumber(-2147483648.0), INT_MIN);
}

TEST_F(PlayerScripts, WritesAndReadsGoThroughTheStoreAndSaveAtOnce)
{
    ASSERT_EQ(m_lua.DoString("WritePlayerInt('Up', 3.9) WritePlayerInt('Down', -3.9) "
                             "WritePlayerInt('Nan', 0/0) WritePlayerInt('Huge', math.huge) "
                             "WritePlayerString('Hat', 'red')"),
              PIM_OK);
    EXPECT_EQ(m_store.ReadInt("Up", 0), 3);
    EXPECT_EQ(m_store.ReadInt("Down", 0), -3);
    EXPECT_EQ(m_store.ReadInt("Nan", 5), 0);
    EXPECT_EQ(m_store.ReadInt("Huge", 0), INT_MAX);
    EXPECT_NE(File().find("Hat=red"), std::string::npos);

    EXPECT_EQ(Eval("ReadPlayerInt('Up', 0)"), "3");
    EXPECT_EQ(Eval("ReadPlayerInt('Never', 7.8)"), "7");
    EXPECT_EQ(Eval("ReadPlayerString('Hat', '')"), "red");
    EXPECT_EQ(Eval("ReadPlayerString('Never', 'straw')"), "straw");
}

TEST_F(PlayerScripts, AWrongArgumentTypeIsALuaArgumentError)
{
    for (const char* call : {"WritePlayerInt(5, 1)", "WritePlayerInt('k', 'one')", "WritePlayerString('k', 5)",
                             "ReadPlayerInt('k')", "ReadPlayerString(nil, 'x')", "WritePlayerInt({}, 1)"}) {
        SCOPED_TRACE(call);
        const std::string text = std::string("ok, message = pcall(function() ") + call + " end)";
        ASSERT_EQ(m_lua.DoString(text.c_str()), PIM_OK);
        EXPECT_EQ(Eval("ok"), "false");
        EXPECT_NE(Eval("message").find("bad argument"), std::string::npos) << Eval("message");
    }
    EXPECT_FALSE(FileExists()); // nothing was written
}
