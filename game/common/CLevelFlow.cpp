#include "game/common/CLevelFlow.h"

#include "PIM/core/Pimstr.h"

namespace {

constexpr const char* kHubs[] = {"FarmyardMenu", "FairgroundMenu", "OptionsMenu", "ActivityCenter"};
// Answers 1 .. 4 of the start-level dialog.
constexpr const char* kExitRooms[] = {"FarmyardMenu", "FairgroundMenu", "PigPen", "ActivityCenter"};

} // namespace

CLevelFlow::CLevelFlow(CLevelStore& store, CLevelNavigator& navigator, CLevelDialogs& dialogs,
                       CLevelRandom& random, CLevelGoals& goals)
    : m_store(store), m_navigator(navigator), m_dialogs(dialogs), m_random(random), m_goals(goals)
{
}

bool CLevelFlow::IsHubRoom(const char* name)
{
    for (const char* hub : kHubs)
        if (PimStrEqual(name, hub, true))
            return true;
    return false;
}

const char* CLevelFlow::StartLevelExitRoom(int code)
{
    return code >= 1 && code <= 4 ? kExitRooms[code - 1] : nullptr;
}

CxString CLevelFlow::RoomKey(const char* suffix) const
{
    CxString key;
    key.Format("%s%s", m_navigator.GetRoomName(), suffix);
    return key;
}

int CLevelFlow::NextLevelToPlay(int numLevels)
{
    const char* room = m_navigator.GetRoomName();
    if (!room || !*room)
        return 0;
    const int saved = m_store.ReadInt(RoomKey("Level").GetText(), 0);
    if (m_store.ReadInt(RoomKey("HasWon").GetText(), 0)) {
        // A saved level below 0 (a hand-edited file) cycles from the top.
        if (numLevels <= 0)
            return saved;
        const int level = saved % numLevels;
        return level < 0 ? level + numLevels : level;
    }
    if (saved < numLevels)
        return saved;
    m_store.WriteInt(RoomKey("HasWon").GetText(), 1);
    return 0;
}

bool CLevelFlow::StartLevel()
{
    const char* room = StartLevelExitRoom(m_dialogs.ShowStartLevelDialog());
    if (!room)
        return true;
    m_navigator.GotoRoom(room);
    return false;
}

int CLevelFlow::PickReward()
{
    const bool puzzle = m_store.ReadInt("PuzzlesWon", 0) < m_store.ReadGlobal("g_NumPuzzleItems");
    const bool sticker = m_store.ReadInt("StickersWon", 0) < m_store.ReadGlobal("g_NumStickerItems");
    if (puzzle && sticker)
        return m_random.Range(1, 2);
    return puzzle ? 1 : sticker ? 2 : 0;
}

ST_LEVEL_WON CLevelFlow::LevelWon(int level, int numLevels)
{
    ST_LEVEL_WON won;
    const CxString levelKey = RoomKey("Level");
    const int saved = m_store.ReadInt(levelKey.GetText(), 0);
    if (level >= saved) {
        won.counted = true;
        m_store.WriteInt("Unlocked", m_store.ReadInt("Unlocked", m_store.ReadGlobal("g_DefaultUnlocked")) + 1);
        const CxString wonKey = RoomKey("HasWon");
        if (!m_store.ReadInt(wonKey.GetText(), 0) && saved >= numLevels - 1)
            m_store.WriteInt(wonKey.GetText(), 1);
        won.goalReached = m_goals.AdvanceGoalProgress(false) != 0;
        m_store.WriteInt("LevelsWon", m_store.ReadInt("LevelsWon", 0) + 1);
        won.reward = PickReward();
        if (won.reward && !m_store.ReadInt("ActivityCenterUnlocked", 0)) {
            won.rewardShown = true;
            m_dialogs.ShowRewardDialog(won.reward);
        }
    }
    m_store.WriteInt(levelKey.GetText(), level + 1);
    if (won.goalReached) {
        m_goals.CompleteCurrentGoal();
        // A goal that sent the player nowhere must not leave the room
        // without a level: play on as if it had not been reached.
        if (m_navigator.HasPendingRoom())
            return won;
    }
    won.playOn = true;
    won.nextLevel = NextLevelToPlay(numLevels);
    return won;
}

void CLevelFlow::OnBack()
{
    const char* room = m_navigator.GetRoomName();
    if (!PimStrEqual(room, "OptionsMenu", true)) {
        if (!m_dialogs.ShowYesNo(GAME_QUIT_DIALOG))
            return;
        if (PimStrEqual(room, "SpiderEgg", true) && !m_goals.IsClosingComplete()) {
            m_goals.FinishClosingGoal();
            // Finishing the goal normally leads to a hub; when it did not,
            // the player still leaves as from any game.
            if (m_navigator.HasPendingRoom())
                return;
        }
        if (!IsHubRoom(room)) {
            const CxString hub = m_navigator.GetLastHubName();
            m_navigator.GotoRoom(hub.IsEmpty() ? "Login" : hub.GetText());
            return;
        }
    }
    m_navigator.GotoRoom("Title");
    m_navigator.ClearLastHubName();
}
