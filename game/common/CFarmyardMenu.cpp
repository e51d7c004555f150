#include "game/common/CFarmyardMenu.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/sound/CxWave.h"
#include "game/common/CGameServices.h"
#include "game/common/GameData.h"

namespace {

constexpr int kCheerSize = 56;
// In the order their hover is tried.
constexpr const char* kButtonFiles[GAME_FARM_BUTTONS] = {"CH.xni", "RPM.xni", "BO.xni", "PO.xni",
                                                          "PP.xni", "WW.xni", "NW.xni"};
constexpr int kWordWebButton = 5;
constexpr int kPigPenButton = 4;
// Behind the room's own buttons (1000), in front of its picture.
constexpr int32_t kButtonZ = 900;

} // namespace

CFarmyardMenu::CFarmyardMenu(CxGameApp* app) : CGameRoom(app) {}

CFarmyardMenu::~CFarmyardMenu()
{
    ReleaseAll();
}

int CFarmyardMenu::Load()
{
    const int code = CGameRoom::Load();
    CGoalBook& goals = GetGoals();
    if (CDaxButton* fair = FindButton("FairgroundMenu"); fair && !goals.IsChapterComplete(EGoalChapter::Farm))
        fair->Disable();
    if (CDaxButton* centre = FindButton("ActivityCenter"); centre && !goals.GetKey("ActivityCenterUnlocked"))
        centre->Disable();
    for (const char* room : {"PigPen", "BaleOut", "PigsOut"})
        goals.SetRoomUnlocked(room);
    LoadButtons();

    m_ambient = GameLoadOptionalSound(GAME_FARM_AMBIENT);
    if (m_ambient) {
        m_ambient->SetLoopCount(GAME_AMBIENT_LOOPS);
        m_ambient->Play();
    }
    WriteEarnedUnlocks();
    Announce();
    if (!goals.IsChapterComplete(EGoalChapter::Farm)) {
        const int goal = goals.GetCurrentGoal(EGoalChapter::Farm);
        if (m_marker.LoadGoal(GetOptions(), goal) == PIM_OK) {
            AddChild(&m_marker);
            m_marker.SetProgress(goals.GetGoalCount(EGoalChapter::Farm, goal));
            m_marker.Show();
        }
    }
    return code;
}

void CFarmyardMenu::LoadButtons()
{
    m_hub.Clear();
    const bool english = PimStrEqual(GameServices().GetLanguage(), GAME_DEFAULT_LANGUAGE, true);
    for (int i = 0; i < GAME_FARM_BUTTONS; ++i) {
        CSpecialButton& button = m_buttons[static_cast<size_t>(i)];
        CxString file;
        file.Format("FarmyardMenu/%s", kButtonFiles[i]);
        button.Load(file.GetText());
        button.SetZ(kButtonZ);
        AddChild(&button);
        button.SetState(GAME_BUTTON_NORMAL);
        button.Show();
        button.Enable();
        // The word game is in English only.
        if (i == kWordWebButton && !english)
            button.PutAway();
        m_hub.Add(&button);
    }
}

void CFarmyardMenu::WriteEarnedUnlocks()
{
    CGoalBook& goals = GetGoals();
    if (goals.GetGoalCount(EGoalChapter::Farm, 0) >= goals.GetGoalTarget(EGoalChapter::Farm, 0))
        for (const char* room : {"Croquet", "WordWeb", "NumberWeb"})
            goals.SetRoomUnlocked(room);
    if (goals.GetGoalCount(EGoalChapter::Farm, 1) >= goals.GetGoalTarget(EGoalChapter::Farm, 1))
        goals.SetRoomUnlocked("SwinginAranelle");
}

void CFarmyardMenu::Announce()
{
    CGoalBook& goals = GetGoals();
    CxString file;
    const int fresh = goals.GetNewGoal(EGoalChapter::Farm);
    if (fresh != -1) {
        file.Format("FarmyardMenu/goal%d.seq", fresh);
        goals.SetNewGoal(EGoalChapter::Farm, -1);
    } else if (!goals.IsChapterComplete(EGoalChapter::Farm)) {
        file.Format("FarmyardMenu/unfGoal%d.seq", goals.GetCurrentGoal(EGoalChapter::Farm));
    }
    if (!file.IsEmpty())
        PostSequence(file.GetText());
}

bool CFarmyardMenu::IsSequencePlaying() const
{
    return GetChannel() && !IsChannelEmpty(GetChannel());
}

void CFarmyardMenu::OnMouseMove(uint32_t buttons, CxPoint point)
{
    CGameRoom::OnMouseMove(buttons, point);
    if (!IsSequencePlaying())
        m_hub.OnPointerMove(point);
}

void CFarmyardMenu::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    // The hover follows the click's own point: a click can come without a
    // move before it (a touch screen, a replayed click).
    if (!IsSequencePlaying())
        m_hub.OnPointerMove(point);
    if (m_hub.GetHovered()) {
        NoteInput();
        if (IsSequencePlaying())
            return;
        m_hub.Click([this](CSpecialButton&) { PostSequence("FarmyardMenu/Locked1.seq"); },
                    [this](CSpecialButton& button) {
                        // The bale game is played over the pig pen's corner of the yard.
                        if (PimStrEqual(button.GetRegisteredName(), "BaleOutButton", true))
                            m_buttons[kPigPenButton].PutAway();
                    });
        return;
    }
    CGameRoom::OnLButtonDown(buttons, point);
}

void CFarmyardMenu::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (IsSequencePlaying())
        return;
    CGameRoom::OnKeyDown(key, flags);
}

void CFarmyardMenu::OnMilestone(int index)
{
    GetScore().Bulge(kCheerSize);
    CxString file;
    file.Format("FarmyardMenu/eggs%d.seq", index + 1);
    PostSequence(file.GetText());
}

int CFarmyardMenu::Unload()
{
    ReleaseAll();
    return CGameRoom::Unload();
}

void CFarmyardMenu::ReleaseAll()
{
    m_hub.Clear();
    m_marker.Release();
    if (m_ambient)
        m_ambient->Stop();
    m_ambient.Reset();
    for (CSpecialButton& button : m_buttons) {
        button.Release();
        button.UnloadStates();
    }
}
