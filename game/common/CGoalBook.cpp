#include "game/common/CGoalBook.h"

#include "PIM/core/CxString.h"
#include "PIM/core/Pimstr.h"

namespace {

struct ST_CHAPTER_KEYS
{
    const char* name;     // "Farm": CurrentFarmGoal, FarmGoal%02d, NewFarmGoal, g_FarmGoal%d
    const char* complete; // the chapter's end flag
};

constexpr ST_CHAPTER_KEYS kChapters[] = {
    {"Farm", "FarmYardComplete"},
    {"Fair", "FairComplete"},
    {"Closing", "ClosingComplete"},
};

constexpr const char* kFarmGames[] = {"Croquet", "PigsOut", "BaleOut", "SokobanClone",
                                      "SwinginAranelle", "WordWeb", "NumberWeb"};
constexpr const char* kFairGames[] = {"BumperCar", "PopTrail", "PopCorn", "Stackfall"};
// During this farm goal only the swinging game counts.
constexpr int kSwingingFarmGoal = 2;
constexpr const char* kSwingingGame = "SwinginAranelle";

const ST_CHAPTER_KEYS& Keys(EGoalChapter chapter)
{
    return kChapters[static_cast<int>(chapter)];
}

// `before` + the chapter's name + `after`: "Current" "Farm" "Goal".
CxString KeyOf(const char* before, EGoalChapter chapter, const char* after)
{
    CxString key;
    key.Format("%s%s%s", before, Keys(chapter).name, after);
    return key;
}

CxString CountKey(const char* chapter, int index)
{
    CxString key;
    key.Format("%sGoal%02d", chapter, index);
    return key;
}

template <size_t N>
bool InList(const char* room, const char* const (&list)[N])
{
    for (const char* name : list)
        if (PimStrEqual(room, name, true))
            return true;
    return false;
}

} // namespace

CGoalBook::CGoalBook(CLevelStore& store, CLevelNavigator& navigator) : m_store(store), m_navigator(navigator) {}

bool CGoalBook::IsFarmGame(const char* room)
{
    return room && InList(room, kFarmGames);
}

bool CGoalBook::IsFairGame(const char* room)
{
    return room && InList(room, kFairGames);
}

int CGoalBook::GetNumGoals(EGoalChapter chapter)
{
    return m_store.ReadGlobal(KeyOf("g_Num", chapter, "Goals").GetText());
}

int CGoalBook::GetGoalTarget(EGoalChapter chapter, int index)
{
    CxString name;
    name.Format("g_%sGoal%d", Keys(chapter).name, index);
    return m_store.ReadGlobal(name.GetText());
}

int CGoalBook::GetCurrentGoal(EGoalChapter chapter)
{
    return m_store.ReadInt(KeyOf("Current", chapter, "Goal").GetText(), 0);
}

void CGoalBook::SetCurrentGoal(EGoalChapter chapter, int index)
{
    m_store.WriteInt(KeyOf("Current", chapter, "Goal").GetText(), index);
}

int CGoalBook::GetGoalCount(EGoalChapter chapter, int index)
{
    if (index == -1)
        index = GetCurrentGoal(chapter);
    return m_store.ReadInt(CountKey(Keys(chapter).name, index).GetText(), 0);
}

void CGoalBook::SetGoalCount(EGoalChapter chapter, int index, int value)
{
    if (index == -1)
        index = GetCurrentGoal(chapter);
    const CxString key = CountKey(Keys(chapter).name, index);
    if (value == -1)
        value = m_store.ReadInt(key.GetText(), 0) + 1;
    m_store.WriteInt(key.GetText(), value);
}

int CGoalBook::GetNewGoal(EGoalChapter chapter)
{
    return m_store.ReadInt(KeyOf("New", chapter, "Goal").GetText(), 0);
}

void CGoalBook::SetNewGoal(EGoalChapter chapter, int index)
{
    m_store.WriteInt(KeyOf("New", chapter, "Goal").GetText(), index);
}

bool CGoalBook::IsChapterComplete(EGoalChapter chapter)
{
    return m_store.ReadInt(Keys(chapter).complete, 0) != 0;
}

void CGoalBook::SetChapterComplete(EGoalChapter chapter, bool complete)
{
    m_store.WriteInt(Keys(chapter).complete, complete ? 1 : 0);
}

bool CGoalBook::IsRoomUnlocked(const char* room)
{
    CxString key;
    key.Format("%sUnLocked", room ? room : "");
    return room && *room && m_store.ReadInt(key.GetText(), 0) != 0;
}

void CGoalBook::SetRoomUnlocked(const char* room, bool open)
{
    if (!room || !*room)
        return;
    CxString key;
    key.Format("%sUnLocked", room);
    m_store.WriteInt(key.GetText(), open ? 1 : 0);
}

int CGoalBook::CountWin(EGoalChapter chapter)
{
    SetGoalCount(chapter, -1, -1);
    const int current = GetCurrentGoal(chapter);
    return GetGoalCount(chapter, current) >= GetGoalTarget(chapter, current) ? 1 : 0;
}

int CGoalBook::AdvanceGoalProgress(bool fair)
{
    const char* room = m_navigator.GetRoomName();
    if (!IsChapterComplete(EGoalChapter::Farm)) {
        const bool counts = IsFarmGame(room) && (GetCurrentGoal(EGoalChapter::Farm) != kSwingingFarmGoal ||
                                                 PimStrEqual(room, kSwingingGame, true));
        return counts ? CountWin(EGoalChapter::Farm) : 0;
    }
    if (!IsChapterComplete(EGoalChapter::Fair))
        return IsFairGame(room) || fair ? CountWin(EGoalChapter::Fair) : 0;
    if (!IsChapterComplete(EGoalChapter::Closing) && PimStrEqual(room, "SpiderEgg", true))
        return CountWin(EGoalChapter::Closing);
    return 0;
}

void CGoalBook::CompleteCurrentGoal()
{
    if (!IsChapterComplete(EGoalChapter::Farm))
        CompleteFarmGoal();
    else if (IsChapterComplete(EGoalChapter::Fair))
        CompleteClosingGoal();
    else
        CompleteFairGoal();
}

void CGoalBook::CompleteFarmGoal()
{
    const int goal = GetCurrentGoal(EGoalChapter::Farm) + 1;
    SetCurrentGoal(EGoalChapter::Farm, goal);
    if (goal >= GetNumGoals(EGoalChapter::Farm)) {
        SetChapterComplete(EGoalChapter::Farm, true);
        SetKey("FairgroundUnlocked", 1);
    }
    if (goal == 1 || goal == 2) {
        SetNewGoal(EGoalChapter::Farm, goal);
        m_navigator.GotoRoom("FarmyardMenu");
    } else if (goal == 3) {
        // The pig pen hands out the errand that leads on to the fair.
        SetPigPenGoal(1);
        m_navigator.GotoRoom("PigPen");
    }
}

void CGoalBook::CompleteFairGoal()
{
    const int goal = GetCurrentGoal(EGoalChapter::Fair) + 1;
    SetCurrentGoal(EGoalChapter::Fair, goal);
    if (goal >= GetNumGoals(EGoalChapter::Fair))
        SetChapterComplete(EGoalChapter::Fair, true);
    if (goal == 1) {
        SetNewGoal(EGoalChapter::Fair, 1);
        // The fairground's own small games reach this goal too: it then
        // announces the goal itself, without leaving and entering again.
        if (!PimStrEqual(m_navigator.GetRoomName(), "FairgroundMenu", true))
            m_navigator.GotoRoom("FairgroundMenu");
    } else if (goal == 2) {
        SetPigPenGoal(2);
        m_navigator.GotoRoom("PigPen");
    }
}

void CGoalBook::CompleteClosingGoal()
{
    if (IsChapterComplete(EGoalChapter::Closing))
        return;
    const int goal = GetCurrentGoal(EGoalChapter::Closing) + 1;
    SetCurrentGoal(EGoalChapter::Closing, goal);
    if (goal >= GetNumGoals(EGoalChapter::Closing))
        SetChapterComplete(EGoalChapter::Closing, true);
    if (goal == 1) {
        SetNewGoal(EGoalChapter::Closing, 1);
        SetKey("ActivityCenterUnlocked", 1);
        m_navigator.GotoRoom("ActivityCenter");
    }
}

bool CGoalBook::IsClosingComplete()
{
    return IsChapterComplete(EGoalChapter::Closing);
}

void CGoalBook::FinishClosingGoal()
{
    // Only while the closing chapter is the one being played: a spider-egg
    // visit before the fair is done must not move a farm or fair goal on.
    if (m_closingFinished || IsClosingComplete() || !IsChapterComplete(EGoalChapter::Farm) ||
        !IsChapterComplete(EGoalChapter::Fair))
        return;
    m_closingFinished = true;
    const int current = GetCurrentGoal(EGoalChapter::Closing);
    SetGoalCount(EGoalChapter::Closing, current, GetGoalTarget(EGoalChapter::Closing, current) + 1);
    CompleteCurrentGoal();
}
