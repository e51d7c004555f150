#include "game/pigpen/PigPenRoom.h"

#include "DAX/app/CDaxApp.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/sound/CxWave.h"
#include "PIM/sound/PimSound.h"
#include "game/common/CGameServices.h"
#include "game/common/GameCursors.h"
#include "game/common/GameData.h"
#include "game/common/GameDepth.h"

#include <cstdlib>

namespace {

constexpr int32_t kFloorZ = GameDepth(0xBFFFFFFEu);
constexpr int32_t kWallZ = GameDepth(0xBFFFFFFDu);
constexpr int32_t kArchZ = GameDepth(0xBFFFFFFCu);
constexpr int32_t kBedZ = GameDepth(0xBFFFFFF9u);
constexpr int32_t kPumpZ = GameDepth(0xBFFFFFCCu);
constexpr int32_t kPigZ = GameDepth(0x3FFFFFCDu);
constexpr int32_t kDoorZ = GameDepth(0x3FFFFFCDu - 10u);
constexpr int32_t kBowlZ = GameDepth(0x3FFFFFFFu);
constexpr int32_t kBowlFillingZ = GameDepth(0x7FFFFFFFu);
constexpr int32_t kMeterZ = GameDepth(0x3FFFFFFFu);
constexpr int32_t kMaskZ = GameDepth(0x7FFFFFF5u);
constexpr int32_t kButtonZ = GameDepth(0x80000009u);
constexpr int32_t kTroughZ = GameDepth(0x80000063u);
constexpr int32_t kHeldZ = 0; // on top of everything

constexpr const char* kWantIcons[6] = {"g10_thought_eat.tga",    "g10_thought_drink.tga", "g10_thought_love.tga",
                                       "g10_thought_energy.tga", "g10_thought_groom.tga", "g10_thought_Decor.tga"};
constexpr const char* kButtonNames[PIG_BUTTONS] = {"UIButton0", "UIButton1",    "UIButton2",
                                                   "UIButton3", "NextUIButton", "PrevUIButton"};
constexpr const char* kItemPrefix = "PigItem";
constexpr int kButtonStripFrames = 5;
const CxPoint kPumpSparkle(60, 60);
const CxPoint kDecorSparkle(10, 10);
constexpr const char* kHook = "111";

// A plain picture of the pen: loaded when there, alpha blended when it has alpha.
bool LoadPenPicture(CxSprite& sprite, const char* file, int frames = 1)
{
    if (!GameDataExists(file) || sprite.Load(file, frames) != PIM_OK)
        return false;
    if (sprite.GetSurface() && sprite.GetSurface()->GetDepth() == 32)
        sprite.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    return true;
}

void Place(CxSprite& sprite, CxDisplayObject& parent, int32_t z, CxPoint at, bool shown)
{
    sprite.SetZ(z);
    parent.AddChild(&sprite);
    sprite.SetPosition(at.x, at.y);
    if (shown)
        sprite.Show();
    else
        sprite.Hide();
}

CDaxButton* MakeButton(const char* name, const char* file, int frames)
{
    ST_DAX_BUTTON_SECTION section;
    section.name = name;
    section.fileName = file;
    section.numFrames = frames;
    ST_DAX_BUTTON_PLACEMENT placement;
    placement.usePosition = false;
    return GameDataExists(file) ? DaxMakeButton(section, placement) : nullptr;
}

bool IsLastAction(const CxAnimation& animation)
{
    return animation.GetCurActionIndex() >= animation.GetActionCount() - 1;
}

} // namespace

CPig::CPig(CxGameApp* app) : CGameRoom(app) {}

CPig::~CPig()
{
    ReleaseAll();
}

// --- loading ------------------------------------------------------------------------------------

int CPig::Load()
{
    CGoalBook& goals = GetGoals();
    if (!goals.GetKey("HasSeenIntroMovie"))
        PlayIntroMovie();
    const int code = CGameRoom::Load();
    goals.SetKey("PigPenUnLocked", 1);
    m_mode = EPigMode::Loading;
    m_actionType = PIG_ACTION_NONE;
    m_actionState = -1;
    m_nextStateDue = false;
    if (GameDataExists("G10_BG.tga"))
        LoadSurface("G10_BG.tga");

    m_setup = ReadPigPenSetup(GetOptions());
    m_model = CPigPenModel(m_setup.neutralPercent);
    CxInterpolator& variables = GetInterpolator();
    variables.AddIntVariable("action", &m_actionState);
    variables.AddIntVariable("ambient", &m_mood);
    variables.AddIntVariable("talk_state", &m_talkState);

    LoadPig();
    LoadPump();
    LoadButtons();
    LoadThought();
    LoadFixtures();
    LoadSounds();

    m_model.ResetNeeds();
    UpdateMood();
    UpdateMeter();
    SetBowlLevel(0);
    LoopMood();
    FindAvailableItems();
    ShowCategory(0);
    RestoreDecor();

    if (goals.GetKey("PigPenEnter")) {
        m_mode = EPigMode::Idle;
    } else {
        m_mode = EPigMode::Intro;
        goals.SetKey("PigPenEnter", 1);
        PlayAwaited("intro.seq");
    }
    LoadSparkle();
    return code;
}

void CPig::PlayIntroMovie()
{
    GetGoals().SetKey("HasSeenIntroMovie", 1);
    GamePlayCutScene(PIG_INTRO_MOVIE);
}

void CPig::LoadPig()
{
    if (m_pig.Load("pig.xni") != PIM_OK && m_pig.GetStateCount() == 0)
        return;
    m_pig.SetName("Pig");
    m_pig.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    m_pig.SetZ(kPigZ);
    AddChild(&m_pig);
    m_pig.Show();
    m_pig.PlayInfinite(1);
    m_pig.GetAnimation().SetListener(this);
    m_pigPosition = m_pig.GetPosition();
    for (int i = 0; i < PIG_PET_AREAS; ++i)
        m_petAreas[static_cast<size_t>(i)] = m_setup.petAreas[static_cast<size_t>(i)].Offset(m_pigPosition.x,
                                                                                            m_pigPosition.y);
}

void CPig::LoadPump()
{
    if (m_pump.Load(m_setup.pumpFile.GetText()) != PIM_OK && m_pump.GetStateCount() == 0)
        return;
    m_pump.SetName("Pump");
    Place(m_pump, *this, kPumpZ, m_setup.pumpPosition, true);
    m_pump.GetAnimation().SetListener(this);
}

void CPig::LoadButtons()
{
    for (int i = 0; i < PIG_BUTTONS; ++i) {
        const ST_PIGPEN_BUTTON& shelf = m_setup.buttons[static_cast<size_t>(i)];
        // A five-frame strip shows its own look per state; one picture
        // shows itself in all of them.
        CDaxButton* button = MakeButton(kButtonNames[i], shelf.fileName.GetText(), kButtonStripFrames);
        m_uiButtons[static_cast<size_t>(i)].reset(button);
        if (!button)
            continue;
        button->SetZ(kButtonZ);
        AddChild(button);
        button->SetPosition(shelf.position.x, shelf.position.y);
        button->Show();
    }
}

void CPig::LoadThought()
{
    if (LoadPenPicture(m_bubble, "g10_thought.tga"))
        Place(m_bubble, *this, kButtonZ, m_setup.thoughtPosition, false);
    for (size_t i = 0; i < m_wantIcons.size(); ++i)
        if (LoadPenPicture(m_wantIcons[i], kWantIcons[i])) {
            m_wantIcons[i].SetPosition(m_setup.wantOffset.x, m_setup.wantOffset.y);
            m_wantIcons[i].Hide();
        }
    m_shownWant = -1;
}

void CPig::LoadFixtures()
{
    if (LoadPenPicture(m_bowl, m_setup.bowlFile.GetText(), m_setup.bowlStates))
        Place(m_bowl, *this, kBowlZ, m_setup.bowlPosition, true);
    const CxRect& meter = m_setup.meter;
    if (LoadPenPicture(m_meter, "G10_Meter.tga"))
        Place(m_meter, *this, kMeterZ, CxPoint(meter.left, meter.top + (meter.bottom - meter.top + 1) / 2), true);
    if (LoadPenPicture(m_mask, "G10_foodmask.tga"))
        Place(m_mask, *this, kMaskZ, m_setup.foodMaskPosition, true);
    if (LoadPenPicture(m_door, "G10_Door.tga"))
        Place(m_door, *this, m_pig.GetParent() ? kDoorZ : GameDepth(0x3FFFFF9Bu), m_setup.doorPosition, true);
}

void CPig::LoadSounds()
{
    m_drinkSound = GameLoadOptionalSound("s13_rtDrink.wav");
    m_brushSound = GameLoadOptionalSound("s13_rtBrush.wav"); // kept for the data; the brush is quiet
    m_fillSound = GameLoadOptionalSound("s13_rtFillBowl.wav");
}

void CPig::LoadSparkle()
{
    if (m_sparkle.Load("COMMON/sparkle.xni") != PIM_OK && m_sparkle.GetStateCount() == 0)
        return;
    Place(m_sparkle, *this, kHeldZ, CxPoint(m_setup.foodBin.left, m_setup.foodBin.top), false);
    m_sparkle.GetAnimation().SetListener(this);
}

// --- the items ----------------------------------------------------------------------------------

bool CPig::IsItemLocked(const ST_PIGPEN_ITEM& item)
{
    return PigItemLocked(GetGoals().GetKey("Unlocked"), item.unlockOrder);
}

void CPig::FindAvailableItems()
{
    for (int c = 0; c < PIG_CATEGORIES; ++c) {
        const std::vector<ST_PIGPEN_ITEM>& items = m_setup.items[static_cast<size_t>(c)];
        std::vector<bool>& available = m_available[static_cast<size_t>(c)];
        available.assign(items.size(), false);
        bool usable = false;
        for (size_t i = 0; i < items.size(); ++i) {
            available[i] = GameDataExists(items[i].icon.GetText()) && GameDataExists(items[i].drag.GetText());
            usable = usable || (available[i] && !IsItemLocked(items[i]));
        }
        if (c < PIG_WANT_CATEGORIES)
            m_hasItem[c] = usable;
    }
}

std::unique_ptr<CPigSprite> CPig::MakeHeldSprite(const ST_PIGPEN_ITEM& item)
{
    auto sprite = std::make_unique<CPigSprite>();
    sprite->type = item.type;
    sprite->stateIndex = item.stateIndex;
    sprite->level = item.level;
    sprite->subCategory = item.subCategory;
    sprite->id = item.id;
    sprite->locked = IsItemLocked(item);
    sprite->LoadItemPicture(item.drag.GetText());
    return sprite;
}

void CPig::ShowCategory(int category)
{
    if (category == m_category || category < 0 || category >= PIG_CATEGORIES)
        return;
    // The held item may be one of the list about to go: it is let go first.
    if (m_held) {
        ReleaseHeld();
        m_actionType = PIG_ACTION_NONE;
        if (m_mode == EPigMode::Brushing)
            m_mode = EPigMode::Idle;
    }
    if (m_category >= 0)
        if (CDaxButton* old = m_uiButtons[static_cast<size_t>(m_category)].get())
            old->SetVisualState(PIM_BUTTON_NORMAL);
    if (CDaxButton* chosen = m_uiButtons[static_cast<size_t>(category)].get())
        chosen->SetVisualState(PIM_BUTTON_HIGHLIGHTED);
    m_category = category;
    m_items.clear();

    const std::vector<ST_PIGPEN_ITEM>& items = m_setup.items[static_cast<size_t>(category)];
    for (size_t i = 0; i < items.size(); ++i) {
        if (!m_available[static_cast<size_t>(category)][i])
            continue;
        const ST_PIGPEN_ITEM& item = items[i];
        ST_ITEM_SLOT slot;
        slot.item = &item;
        slot.held = MakeHeldSprite(item);
        CxString name;
        name.Format("%s%d", kItemPrefix, static_cast<int>(m_items.size()));
        const char* icon = slot.held->locked ? item.lockedIcon.GetText() : item.icon.GetText();
        slot.icon.reset(MakeButton(name.GetText(), icon, kButtonStripFrames));
        if (slot.icon)
            CPigSprite::ApplyTransparency(*slot.icon, item.id);
        m_items.push_back(std::move(slot));
    }
    m_page = -1;
    ShowItemPage(0);
}

void CPig::ShowItemPage(int page)
{
    if (page == m_page)
        return;
    const int count = static_cast<int>(m_items.size());
    const int perPage = m_setup.maxIcons;
    for (ST_ITEM_SLOT& slot : m_items)
        if (slot.icon) {
            slot.icon->Hide();
            slot.icon->Detach();
        }
    m_page = PigWrapPage(page, count, perPage);
    const ST_PIG_PAGE_ITEMS shown = PigPageItems(m_page, count, perPage);
    int32_t x = m_setup.iconStart.x;
    for (int i = shown.first; i < shown.end; ++i) {
        CDaxButton* icon = m_items[static_cast<size_t>(i)].icon.get();
        if (!icon)
            continue;
        icon->SetZ(kButtonZ);
        AddChild(icon);
        icon->SetPosition(x, m_setup.iconStart.y);
        icon->Show();
        x += icon->GetWidth();
    }
    Invalidate();
}

CDaxButton* CPig::GetItemIcon(size_t index)
{
    return index < m_items.size() ? m_items[index].icon.get() : nullptr;
}

CPigSprite* CPig::GetItemSprite(size_t index)
{
    return index < m_items.size() ? m_items[index].held.get() : nullptr;
}

CxSprite* CPig::GetDecor(int place)
{
    const int index = place - PIG_DECOR_WALL1;
    return index >= 0 && index < PIG_DECOR_PARTS ? m_decor[static_cast<size_t>(index)].get() : nullptr;
}

// --- needs and mood -----------------------------------------------------------------------------

void CPig::SatisfyNeed(int type)
{
    if (!m_model.SatisfyNeed(type, m_actionState))
        return;
    UpdateMood();
    UpdateMeter();
    PlayFeedback();
}

void CPig::UpdateMood()
{
    m_mood = m_model.GetMood();
    m_talkState = m_model.GetTalkState();
}

void CPig::UpdateMeter()
{
    if (!m_meter.GetSurface())
        return;
    const CxRect& meter = m_setup.meter;
    m_meter.MoveTo(meter.left, m_model.MeterY(meter.top, meter.bottom), PIM_ANCHOR_TOP_LEFT);
}

void CPig::PlayFeedback()
{
    const ST_PIG_FEEDBACK feedback = m_model.ChooseFeedback(m_actionType);
    PlaySequence(feedback.feed.GetText());
    PlaySequence(feedback.well.GetText());
}

void CPig::LoopMood()
{
    if (m_pig.GetStateCount() > 0)
        m_pig.PlayInfinite(m_mood);
}

int CPig::PetAreaAt(CxPoint point) const
{
    return PigPetAreaAt(point, m_petAreas.data());
}

bool CPig::IsOnPig(CxPoint point)
{
    return m_pig.IsShown() && m_pig.ContainsPoint(point, true);
}

bool CPig::IsOnPump(CxPoint point)
{
    return m_setup.pumpRect.Contains(point) || (m_pump.IsShown() && m_pump.ContainsPoint(point, true));
}

void CPig::PlaySparkle(CxPoint at)
{
    if (m_sparkle.GetStateCount() == 0)
        return;
    m_sparkle.SetPosition(at.x, at.y);
    m_sparkle.Show();
    m_sparkle.PlayOnce(0);
}

void CPig::ShowWant()
{
    HideWant();
    const int want = m_model.ChooseWant(m_hasItem);
    if (want < 0 || want >= static_cast<int>(m_wantIcons.size()) || !m_bubble.GetSurface())
        return;
    m_bubble.Show();
    CxSprite& icon = m_wantIcons[static_cast<size_t>(want)];
    if (icon.GetSurface()) {
        m_bubble.AddChild(&icon);
        icon.SetPosition(m_setup.wantOffset.x, m_setup.wantOffset.y);
        icon.Show();
    }
    m_shownWant = want;
    Flush();
    CxString file;
    file.Format("want%d.seq", want);
    PlaySequence(file.GetText());
}

void CPig::HideWant()
{
    if (m_shownWant >= 0) {
        CxSprite& icon = m_wantIcons[static_cast<size_t>(m_shownWant)];
        icon.Hide();
        icon.Detach();
    }
    m_shownWant = -1;
    m_bubble.Hide();
}

// --- decoration ---------------------------------------------------------------------------------

int CPig::ChooseWallPlace(const CxPoint* point)
{
    ST_PIG_WALL_CHOICE choice;
    choice.holding = m_held != nullptr;
    choice.heldX = m_held ? m_held->GetPosition().x : 0;
    choice.hasPoint = point != nullptr;
    for (size_t i = 0; i < 3; ++i) {
        CxSprite* wall = m_decor[i].get();
        choice.filled[i] = wall && wall->GetSurface();
        choice.placeX[i] = wall ? wall->GetPosition().x : m_setup.decorPositions[i].x;
        if (wall && m_held)
            choice.overlapsHeld[i] = m_held->CollidesWith(*wall) != 0;
        if (wall && point)
            choice.underPoint[i] = wall->ContainsPoint(*point, true);
    }
    return PigChooseWallPlace(choice);
}

void CPig::PlaceDecor(int subCategory, int id, const CxPoint* point, bool apply, int savedPlace)
{
    int place = PigDecorPlaceOf(subCategory);
    if (place < 0)
        return;
    if (place == 0)
        place = ChooseWallPlace(point);
    const size_t index = static_cast<size_t>(place - PIG_DECOR_WALL1);
    if (index >= m_decor.size())
        return;
    CxString picture = PigDecorPicture(subCategory, id);
    // Wall picture 0 is the player's own painting, when the paint room has saved one.
    if (subCategory == PIG_SUB_WALL && id == 0 && GameDataExists(PIG_PAINTING_PICTURE))
        picture = PIG_PAINTING_PICTURE;
    const bool exists = GameDataExists(picture.GetText());
    std::unique_ptr<CxSprite>& sprite = m_decor[index];
    if (exists) {
        if (!sprite)
            sprite = std::make_unique<CxSprite>();
        sprite->Hide();
        if (sprite->Load(picture.GetText(), 1) == PIM_OK) {
            CPigSprite::ApplyTransparency(*sprite, id);
            static const int32_t kZ[PIG_DECOR_PARTS] = {kWallZ, kWallZ, kWallZ, kFloorZ, kBedZ, kArchZ};
            Place(*sprite, *this, kZ[index], m_setup.decorPositions[index], true);
        }
    } else {
        sprite.reset();
    }
    for (const ST_PIG_KEY_WRITE& write : PigDecorKeyWrites(place, id, exists, savedPlace))
        GameServices().GetPlayers().WriteInt(write.key.GetText(), write.value);
    if (!exists)
        return;
    if (apply)
        SatisfyNeed(place);
    if (apply && (subCategory == PIG_SUB_BED || subCategory == PIG_SUB_ARCH))
        PlaySparkle(m_setup.decorPositions[index] + kDecorSparkle);
}

void CPig::RestoreDecor()
{
    CPlayerStore& players = GameServices().GetPlayers();
    const PigDecorIds ids =
        ReadPigDecorIds([&players](const char* key, int fallback) { return players.ReadInt(key, fallback); });
    for (const ST_PIG_RESTORE_ITEM& item : PigRestoreOrder(ids))
        PlaceDecor(item.subCategory, item.id, nullptr, false, item.savedPlace);
}

// --- the bowl and the pump -----------------------------------------------------------------------

void CPig::SetBowlLevel(int level)
{
    m_bowlLevel = PigBowlSet(level, m_setup.bowlStates);
    if (m_bowl.GetSurface())
        m_bowl.SetFrame(std::min(m_bowlLevel, m_bowl.GetFrameCount() - 1));
}

void CPig::UsePump()
{
    Flush();
    m_actionState = PIG_STATE_DRINK;
    m_actionType = PIG_ACTION_DRINK;
    if (!PigBowlFull(m_bowlLevel, m_setup.bowlStates) && m_pump.GetStateCount() > 0) {
        m_pump.PlayOnce(0);
        m_bowl.SetZ(kBowlFillingZ);
        if (m_fillSound)
            m_fillSound->Play();
        m_mode = EPigMode::Action;
    }
    NoteInput();
}

void CPig::FillBowlDone()
{
    if (m_drinkSound)
        m_drinkSound->Play();
    SetBowlLevel(PigBowlRaise(m_bowlLevel, m_setup.bowlStates));
    UpdateMood();
    m_mode = m_actionState >= 0 ? EPigMode::Action : EPigMode::Idle;
    if (m_model.CanAct(m_actionType)) {
        Flush();
        PlayAwaited("action.seq");
        SatisfyNeed(m_actionType);
    } else {
        LoopMood();
        m_mode = EPigMode::Idle;
    }
}

// --- holding and dropping ------------------------------------------------------------------------

void CPig::TakeItem(size_t slot)
{
    ST_ITEM_SLOT& chosen = m_items[slot];
    if (!chosen.held || chosen.held->locked) {
        Flush();
        PlaySequence("locked.seq");
        return;
    }
    if (m_held && m_held != chosen.held.get())
        ReleaseHeld();
    CPigSprite& held = *chosen.held;
    HidePointer();
    held.SetZ(kHeldZ);
    AddChild(&held);
    const CxPoint at = GetCursorPosition();
    held.MoveTo(at.x, at.y, PIM_ANCHOR_CENTRE);
    held.Show();
    m_held = &held;
    m_actionState = held.stateIndex;
    m_actionType = held.type;
    if (held.type == PIG_ACTION_BRUSH)
        m_mode = EPigMode::Brushing;
    if (held.type == PIG_ACTION_FOOD)
        PlaySparkle(CxPoint(m_setup.foodBin.left, m_setup.foodBin.top));
    NoteInput();
}

void CPig::ReleaseHeld()
{
    if (m_held) {
        m_held->Hide();
        m_held->Detach();
    }
    m_held = nullptr;
    ShowPointer();
}

void CPig::ClearTrough()
{
    if (m_trough)
        m_trough->Hide();
    m_trough.reset();
}

void CPig::DropHeld(CxPoint point)
{
    CPigSprite& held = *m_held;
    if (m_actionType == PIG_ACTION_FOOD) {
        if (!m_setup.foodBin.Contains(point)) {
            Flush();
            return;
        }
        // The food goes in the trough; its place in the list gets a fresh one.
        ClearTrough();
        for (ST_ITEM_SLOT& slot : m_items)
            if (slot.held.get() == &held) {
                m_trough = std::move(slot.held);
                slot.held = MakeHeldSprite(*slot.item);
                break;
            }
        if (m_trough)
            m_trough->SetZ(kTroughZ);
    } else if (m_actionType == PIG_ACTION_DECOR) {
        PlaceDecor(held.subCategory, held.id, &point, true);
        m_mode = EPigMode::Idle;
    } else if (m_actionType == PIG_ACTION_BRUSH || !m_pig.IsShown() || !held.CollidesWith(m_pig)) {
        Flush();
        return;
    }
    if (m_trough.get() != &held)
        ReleaseHeld();
    else {
        m_held = nullptr;
        ShowPointer();
    }
    if (m_trough)
        m_trough->MoveTo(m_setup.foodLoc.x, m_setup.foodLoc.y, PIM_ANCHOR_TOP_LEFT);
    if (m_actionState >= 0) {
        Flush();
        PlayAwaited("action.seq");
    }
    if (!m_model.CanAct(m_actionType))
        m_actionState = m_mood;
    UpdateMood();
    m_mode = m_actionState >= 0 ? EPigMode::Action : EPigMode::Idle;
}

// --- input ----------------------------------------------------------------------------------------

void CPig::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (m_mode >= EPigMode::Won)
        return;
    if (key == PIM_KEY_ESC && m_mode == EPigMode::Intro)
        ClickThrough();
    CGameRoom::OnKeyDown(key, flags);
}

void CPig::OnMouseMove(uint32_t buttons, CxPoint point)
{
    if (m_mode >= EPigMode::Won)
        return;
    CGameRoom::OnMouseMove(buttons, point);
    // The open shelf keeps its lit look: a pointer passing over its board
    // puts the board back to normal when it leaves.
    if (m_category >= 0)
        if (CDaxButton* open = m_uiButtons[static_cast<size_t>(m_category)].get();
            open && open->GetVisualState() == PIM_BUTTON_NORMAL)
            open->SetVisualState(PIM_BUTTON_HIGHLIGHTED);
    const bool petting = m_mode == EPigMode::Petting || m_mode == EPigMode::Brushing;
    if (petting && m_pig.GetState() == m_mood) {
        const int area = PetAreaAt(point);
        if (area >= 0)
            m_pig.PlayOnce(area);
    }
    if (m_held) {
        m_held->MoveTo(point.x, point.y, PIM_ANCHOR_CENTRE);
        return;
    }
    if (m_mode == EPigMode::Idle || m_mode == EPigMode::Petting) {
        if (IsOnPig(point)) {
            SetCursor(GAME_CURSOR_HAND);
            if (m_mode == EPigMode::Idle && !m_bubble.IsShown() && IsChannelEmpty(GetChannel()))
                ShowWant();
        } else {
            SetCursor(GAME_CURSOR_CLEAR);
            if (m_bubble.IsShown())
                HideWant();
        }
    }
    if (m_mode == EPigMode::Idle && !m_sparkle.IsPlaying() && IsOnPump(point))
        PlaySparkle(m_setup.pumpPosition + kPumpSparkle);
}

void CPig::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (m_mode >= EPigMode::Won)
        return;
    if (m_mode == EPigMode::Intro)
        ClickThrough();
    if (GetCursor() == GAME_CURSOR_HAND && m_mode == EPigMode::Idle && !m_held) {
        m_mode = EPigMode::Petting;
        m_actionType = PIG_ACTION_PET;
        const int area = PetAreaAt(point);
        if (area >= 0 && m_pig.GetState() != area)
            m_pig.PlayOnce(area);
        HideWant();
    }
    CGameRoom::OnLButtonDown(buttons, point);
}

void CPig::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    if (m_mode >= EPigMode::Won)
        return;
    if (m_mode == EPigMode::Brushing) {
        m_mode = EPigMode::Released;
        ReleaseHeld();
        if (m_model.CanAct(PIG_ACTION_BRUSH))
            SatisfyNeed(PIG_ACTION_BRUSH);
        m_actionType = PIG_ACTION_NONE;
    } else if (m_mode == EPigMode::Petting) {
        m_mode = EPigMode::Released;
        if (m_model.CanAct(PIG_ACTION_PET))
            SatisfyNeed(PIG_ACTION_PET);
    } else if (m_mode == EPigMode::Intro) {
        ClickThrough();
    } else if (m_held) {
        DropHeld(point);
    } else if (m_mode == EPigMode::Idle) {
        if (IsOnPump(point))
            UsePump();
        else if (m_trough && m_trough->IsShown() && m_trough->ContainsPoint(point, true))
            ClearTrough();
    }
    CGameRoom::OnLButtonUp(buttons, point);
}

void CPig::OnButton(const char* name)
{
    if (m_mode >= EPigMode::Won || !name)
        return;
    int category = -1;
    for (int i = 0; i < PIG_CATEGORIES; ++i)
        if (PimStrEqual(name, kButtonNames[i], true))
            category = i;
    const bool next = PimStrEqual(name, kButtonNames[PIG_BUTTON_NEXT], true);
    const bool previous = PimStrEqual(name, kButtonNames[PIG_BUTTON_PREV], true);
    const size_t prefix = PimStrLen(kItemPrefix);
    const bool item = PimStrStrNoCase(name, kItemPrefix) == name;
    if (category < 0 && !next && !previous && !item) {
        CGameRoom::OnButton(name);
        return;
    }
    if (m_mode == EPigMode::Intro) {
        ClickThrough();
        m_mode = EPigMode::Idle;
    }
    if (m_mode != EPigMode::Idle)
        return;
    if (category >= 0) {
        UpdateMood();
        Flush();
        CxString roll;
        roll.Format("roll%d.seq", category);
        PlaySequence(roll.GetText());
        ShowCategory(category);
    } else if (next || previous) {
        ShowItemPage(m_page + (next ? 1 : -1));
    } else {
        const long slot = std::strtol(name + prefix, nullptr, 10);
        if (slot >= 0 && static_cast<size_t>(slot) < m_items.size())
            TakeItem(static_cast<size_t>(slot));
    }
}

void CPig::OnCommand(const char* name, const CxEventArgs& args)
{
    if (PimStrEqual(name, "Hook", true)) {
        if (args.GetCount() >= 1 && PimStrEqual(args.Get(0)->GetText(), kHook, true)) {
            SetBowlLevel(0);
            OnNextState();
        }
        return;
    }
    CGameRoom::OnCommand(name, args);
}

// --- animations, frames and sequences -----------------------------------------------------------

void CPig::OnAnimationEvent(CxAnimation* animation)
{
    if (!animation || !IsLastAction(*animation))
        return;
    if (animation == &m_sparkle.GetAnimation()) {
        m_sparkle.Stop();
        m_sparkle.Hide();
    } else if (animation == &m_pump.GetAnimation()) {
        FillBowlDone();
    } else if (animation == &m_pig.GetAnimation()) {
        if (m_pig.GetState() == PIG_STATE_DRINK) {
            SetBowlLevel(PigBowlLower(m_bowlLevel, m_setup.bowlStates));
            m_lastDrinkFrame = -1;
        }
        if (m_mode == EPigMode::Petting || m_mode == EPigMode::Brushing) {
            const int area = PetAreaAt(GetCursorPosition());
            m_pig.PlayInfinite(area >= 0 ? area : m_mood);
        } else if (m_mode == EPigMode::Released) {
            LoopMood();
            m_mode = EPigMode::Idle;
            SetCursor(GAME_CURSOR_CLEAR);
        } else if (m_mode < EPigMode::Won && m_mood == 2 && m_model.TakeWin(GetGoals().GetPigPenGoal())) {
            GetGoals().SetPigPenGoal(-1);
            m_mode = EPigMode::Won;
            Flush();
            PlayAwaited("Win0.seq");
        }
    }
}

int CPig::Update()
{
    const int code = CGameRoom::Update();
    if (m_nextStateDue) {
        m_nextStateDue = false;
        OnNextState();
    }
    if (m_mode == EPigMode::Action) {
        const int state = m_pig.GetState();
        const int frame = m_pig.GetFrame();
        if ((state == PIG_STATE_EAT1 || state == PIG_STATE_EAT2) && frame >= m_setup.eatFoodFrame)
            ClearTrough();
        // One level a frame of the drinking, however often the room updates.
        if (state == PIG_STATE_DRINK && frame >= m_setup.drinkFrame && frame != m_lastDrinkFrame) {
            m_lastDrinkFrame = frame;
            SetBowlLevel(PigBowlLower(m_bowlLevel, m_setup.bowlStates));
        }
    }
    if (m_mode == EPigMode::Leaving && GetGameTime() >= m_leaveAt)
        Leave();
    return code;
}

void CPig::OnNextState()
{
    switch (m_mode) {
    case EPigMode::Intro:
        m_mode = EPigMode::Idle;
        UpdateMood();
        PlaySequence("ambient.seq");
        break;
    case EPigMode::Action:
        m_bowl.SetZ(kBowlZ);
        m_mode = EPigMode::Idle;
        m_lastDrinkFrame = -1;
        SatisfyNeed(m_actionType);
        break;
    case EPigMode::Won:
        m_mode = EPigMode::Leaving;
        m_leaveAt = GetGameTime() + PIG_LEAVE_DELAY;
        break;
    default:
        break;
    }
}

void CPig::RunTimeOut(int number)
{
    CGameRoom::RunTimeOut(number);
}

void CPig::PlaySequence(const char* file)
{
    if (file && *file && GameDataExists(file))
        PostSequence(file);
}

void CPig::PlayAwaited(const char* file)
{
    if (!GameDataExists(file) || PostSequence(file) != PIM_OK)
        m_nextStateDue = true;
}

void CPig::Flush()
{
    if (GetChannel())
        FlushChannel(GetChannel());
}

void CPig::ClickThrough()
{
    Flush();
    PlayAwaited("clikthru.seq");
}

void CPig::Leave()
{
    m_mode = EPigMode::Leaving;
    m_leaveAt = UINT32_MAX; // once
    CGoalBook& goals = GetGoals();
    goals.SetKey("HasWonPigPen", goals.GetKey("HasWonPigPen") + 1);
    const ST_PIG_ROUTE route =
        PigRouteAfterWin(goals.GetKey("FarmYardComplete"), goals.GetKey("FairComplete"),
                         goals.GetKey("HasSeenClosingMovie"));
    if (route.playClosingMovie) {
        goals.SetKey("HasSeenClosingMovie", 1);
        GamePlayCutScene(PIG_CLOSING_MOVIE);
    }
    if (CxGameApp* app = GetApp())
        app->GotoRoom(route.room);
}

void CPig::HidePointer()
{
    if (!m_pointerHidden)
        HideCursor();
    m_pointerHidden = true;
}

void CPig::ShowPointer()
{
    if (m_pointerHidden)
        ShowCursor();
    m_pointerHidden = false;
}

// --- stopping -----------------------------------------------------------------------------------

int CPig::Unload()
{
    ReleaseAll();
    return CGameRoom::Unload();
}

void CPig::ReleaseAll()
{
    m_nextStateDue = false;
    m_leaveAt = 0;
    m_held = nullptr;
    ClearTrough();
    for (CDaxSprite* listened : {static_cast<CDaxSprite*>(&m_pig), static_cast<CDaxSprite*>(&m_pump), &m_sparkle})
        listened->GetAnimation().SetListener(nullptr);
    m_sparkle.Release();
    m_sparkle.UnloadStates();
    for (std::unique_ptr<CxSprite>& decor : m_decor)
        decor.reset();
    for (std::unique_ptr<CDaxButton>& button : m_uiButtons)
        button.reset();
    HideWant();
    for (CxSprite& icon : m_wantIcons)
        icon.Release();
    m_bubble.Release();
    m_mask.Release();
    m_door.Release();
    m_items.clear();
    m_category = PIG_NO_CATEGORY;
    m_page = -1;
    const bool live = IsLoaded();
    if (live && GetChannel())
        FlushChannel(GetChannel());
    if (live) {
        StopQueue(1);
        StopQueue(2);
    }
    m_bowl.Release();
    m_meter.Release();
    ShowPointer();
    if (live)
        SetCursor(GAME_CURSOR_CLEAR);
    m_drinkSound.Reset();
    m_brushSound.Reset();
    m_fillSound.Reset();
    for (CDaxCharacter* character : {&m_pig, &m_pump}) {
        character->Stop();
        character->Release();
        character->UnloadStates();
    }
    m_mode = EPigMode::Loading;
}
