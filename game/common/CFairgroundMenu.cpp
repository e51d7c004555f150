#include "game/common/CFairgroundMenu.h"

#include "DAX/app/CDaxApp.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimSafeFormat.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/sound/CxWave.h"
#include "PIM/text/CxFont.h"
#include "game/common/CGameServices.h"
#include "game/common/GameCursors.h"
#include "game/common/GameData.h"
#include "game/common/GameDepth.h"

#include <algorithm>

namespace {

constexpr int32_t kBackgroundZ = GameDepth(0xBFFFFFFEu);
constexpr int32_t kRideZ = GameDepth(0xBFFFFF9Au);
constexpr int32_t kPigZ = GameDepth(0x800001F3u);
constexpr int32_t kSpinnerZ = GameDepth(0x7FFFFF9Bu);
constexpr int32_t kCannonZ = GameDepth(0x7FFFFFFFu);
constexpr int32_t kKidsZ = GameDepth(0x3FFFFFFFu);
// Behind the room's own buttons, in front of everything else of the fair.
constexpr int32_t kButtonZ = 900;
constexpr int32_t kTextZ = 800;

constexpr const char* kBackgrounds[2] = {"FairgroundMenu/S04_bg.tga", "FairgroundMenu/S04_bg2.tga"};
// In the order their hover is tried.
constexpr const char* kButtonFiles[GAME_FAIR_BUTTONS] = {"BU.xni", "duk.xni", "popcorn.xni"};
constexpr int kBumperButton = 0;
constexpr int kDuckButton = 1;
constexpr int kPopcornButton = 2;
constexpr CxPoint kTargetSpots[FAIR_CANNON_TARGETS] = {{299, 200}, {349, 200}, {299, 275}, {349, 275}};
constexpr CxPoint kKidsAt[2] = {{188, 312}, {0, 312}};
constexpr CxPoint kRideAt[2] = {{716, 231}, {-84, 231}};

const ST_GAME_CURSOR kCursors[] = {
    {FAIR_CURSOR_RIGHT, "FairgroundMenu/cursorright.tga", 0, 0, 67, 11},
    {FAIR_CURSOR_LEFT, "FairgroundMenu/cursorleft.tga", 0, 0, 0, 11},
    {FAIR_CURSOR_AIM, "FairgroundMenu/s04_mg1_aim.tga", 0, 0, 17, 17},
};

constexpr const char* kGame1 = "MiniGame1";
constexpr const char* kGame2 = "MiniGame2";
constexpr const char* kHighScore1 = "HighScore1";
constexpr const char* kHighScore2 = "HighScore2";
constexpr uint32_t kScoreColour = 0x000000;
constexpr uint32_t kHighScoreColour = 0xDE2802; // 222, 40, 2
constexpr int kGame1PointSize = 26;
constexpr int kGame2PointSize = 17;

CxPoint ReadPoint(CxOptions& options, const char* section, const char* key)
{
    int x = 0;
    int y = 0;
    options.GetPoint(section, key, &x, &y, 0, 0);
    return CxPoint(DaxClampCoordinate(x), DaxClampCoordinate(y));
}

// The rectangle two corners span, in whichever order the file gives them.
CxRect Span(CxPoint a, CxPoint b)
{
    return CxRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

// A scripted sprite of the fair: loaded into the room at `z`, shown or not
// by the view. A sprite that does not load has said why and stays out.
void LoadInto(CDaxSprite& sprite, const char* file, int32_t z, CxDisplayObject& room)
{
    if (sprite.Load(file) != PIM_OK && sprite.GetStateCount() == 0)
        return;
    sprite.SetZ(z);
    room.AddChild(&sprite);
    sprite.Hide();
}

void Loop(CDaxSprite& sprite)
{
    sprite.Show();
    sprite.PlayInfinite(0);
}

} // namespace

CFairgroundMenu::CFairgroundMenu(CxGameApp* app) : CGameRoom(app) {}

CFairgroundMenu::~CFairgroundMenu()
{
    ReleaseAll();
}

// --- loading ------------------------------------------------------------------------------------

int CFairgroundMenu::Load()
{
    if (!GetGoals().GetKey("HasSeenCutSceneMovie"))
        PlayArrivalMovie();
    const int code = CGameRoom::Load();
    m_state = EFairState::Idle;
    m_ambient = GameLoadOptionalSound(GAME_FAIR_AMBIENT);
    if (m_ambient) {
        m_ambient->SetLoopCount(9999999);
        m_ambient->Play();
    }
    CxString fontPath;
    if (GameFindData(GAME_FAIR_FONT, fontPath) && LoadFont(fontPath.GetText(), &m_font) != PIM_OK)
        m_font = 0;
    LoadCursors();
    if (CDaxButton* centre = FindButton("ActivityCenter"); centre && !GetGoals().GetKey("ActivityCenterUnlocked"))
        centre->Disable();
    LoadSprites();
    ReadAreas();
    GetGoals().SetRoomUnlocked("BumperCar");
    GetGoals().SetRoomUnlocked("PopTrail");
    LoadButtons();
    AnnounceFairGoals(false);
    ShowView();
    return code;
}

void CFairgroundMenu::PlayArrivalMovie()
{
    GetGoals().SetKey("HasSeenCutSceneMovie", 1);
    GamePlayCutScene(GAME_FAIR_ARRIVAL_MOVIE);
}

void CFairgroundMenu::LoadCursors()
{
    RegisterGameCursors(kCursors);
    m_cursorsMade = true;
}

void CFairgroundMenu::LoadSprites()
{
    for (int view = 0; view < 2; ++view) {
        CxSprite& background = m_backgrounds[static_cast<size_t>(view)];
        if (background.Load(kBackgrounds[view]) != PIM_OK)
            continue;
        background.SetZ(kBackgroundZ);
        AddChild(&background);
        background.Hide();
    }
    LoadInto(m_kids, "FairgroundMenu/kids.xni", kKidsZ, *this);
    LoadInto(m_pig, "FairgroundMenu/Tobble.xni", kPigZ, *this);
    LoadInto(m_ride, "FairgroundMenu/Ride.xni", kRideZ, *this);
    m_ride.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    LoadInto(m_spinner, "FairgroundMenu/Mg2.xni", kSpinnerZ, *this);
    m_spinner.GetAnimation().SetListener(this);
    LoadInto(m_cannon, "FairgroundMenu/cannon.xni", kCannonZ, *this);
    // One target read from its file, the others sharing its pictures (and
    // leaving its event name to it alone).
    for (int i = 0; i < FAIR_CANNON_TARGETS; ++i) {
        CDaxSprite& target = m_targets[static_cast<size_t>(i)];
        const CxPoint at = kTargetSpots[i];
        const int32_t z = GameDepth(0x7FFFFFFFu - static_cast<uint32_t>(at.x));
        if (i == 0) {
            LoadInto(target, "FairgroundMenu/Target.xni", z, *this);
        } else if (m_targets[0].GetStateCount() > 0 && target.CopyStatesFrom(m_targets[0]) == PIM_OK) {
            target.SetZ(z);
            AddChild(&target);
            target.Hide();
        }
        target.SetPosition(at.x, at.y);
    }
}

void CFairgroundMenu::ReadAreas()
{
    CxOptions& options = GetOptions();
    m_game1Area = Span(ReadPoint(options, kGame1, "Pos1"), ReadPoint(options, kGame1, "Pos2"));
    const CxRect hitBox = Span(ReadPoint(options, kGame1, "HitPos1"), ReadPoint(options, kGame1, "HitPos2"));
    m_game2Area = Span(ReadPoint(options, kGame2, "Pos1"), ReadPoint(options, kGame2, "Pos2"));
    std::array<CxPoint, FAIR_CANNON_TARGETS> spots{};
    std::copy(std::begin(kTargetSpots), std::end(kTargetSpots), spots.begin());
    m_cannonGame.Setup(m_game1Area, hitBox, spots);
}

void CFairgroundMenu::LoadButtons()
{
    m_hub.Clear();
    for (int i = 0; i < GAME_FAIR_BUTTONS; ++i) {
        CSpecialButton& button = m_buttons[static_cast<size_t>(i)];
        CxString file;
        file.Format("FairgroundMenu/%s", kButtonFiles[i]);
        button.Load(file.GetText());
        button.SetZ(kButtonZ);
        AddChild(&button);
        button.SetState(GAME_BUTTON_NORMAL);
        button.Hide();
        m_hub.Add(&button);
    }
}

// --- the goals ----------------------------------------------------------------------------------

void CFairgroundMenu::AnnounceFairGoals(bool inRoom)
{
    CGoalBook& goals = GetGoals();
    if (goals.GetGoalCount(EGoalChapter::Fair, 0) >= goals.GetGoalTarget(EGoalChapter::Fair, 0)) {
        goals.SetRoomUnlocked("PopCorn");
        goals.SetRoomUnlocked("Stackfall");
    }
    if (goals.GetGoalCount(EGoalChapter::Fair, 1) >= goals.GetGoalTarget(EGoalChapter::Fair, 1))
        goals.SetRoomUnlocked("SpiderEgg");

    const int current = goals.GetCurrentGoal(EGoalChapter::Fair);
    const int fresh = goals.GetNewGoal(EGoalChapter::Fair);
    if (fresh == -1) {
        // The second goal is the popcorn's, over there; unless the player
        // has just come back from the duck ride, on this side.
        if (current == 1 && !PimStrEqual(GetLastRoomName(), "PopTrail", true) && !inRoom)
            s_view = 1;
        if (!goals.IsChapterComplete(EGoalChapter::Fair))
            PlaySequence("FairgroundMenu/ufGoal%d%d.seq", current, 1 - s_view);
    } else {
        goals.SetNewGoal(EGoalChapter::Fair, -1);
        int side = 1 - s_view;
        if (current == 1) {
            if (s_view != 1) {
                if (inRoom)
                    Scroll(+1);
                else
                    s_view = 1;
            }
            side = 0;
        }
        PlaySequence("FairgroundMenu/goal%d%d.seq", fresh, side);
    }
    ShowMarker();
}

void CFairgroundMenu::ShowMarker()
{
    CGoalBook& goals = GetGoals();
    m_marker.Release();
    if (goals.IsChapterComplete(EGoalChapter::Fair))
        return;
    const int goal = goals.GetCurrentGoal(EGoalChapter::Fair);
    if (m_marker.LoadGoal(GetOptions(), goal) != PIM_OK)
        return;
    AddChild(&m_marker);
    m_marker.SetProgress(goals.GetGoalCount(EGoalChapter::Fair, goal));
    m_marker.Show();
}

void CFairgroundMenu::ApplyHighScore(int score, const char* key)
{
    CGoalBook& goals = GetGoals();
    if (!FairBeatsHighScore(score, goals.GetKey(key)))
        return;
    goals.SetKey(key, score);
    const int reached = AdvanceGoalProgress(true);
    if (goals.GetCurrentGoal(EGoalChapter::Fair) == 0 && !goals.IsChapterComplete(EGoalChapter::Fair))
        m_marker.SetProgress(goals.GetGoalCount(EGoalChapter::Fair, 0));
    if (!reached)
        return;
    CompleteCurrentGoal();
    if (GetApp() && GetApp()->HasPendingRoom()) {
        m_state = EFairState::Leaving;
        return;
    }
    AnnounceFairGoals(true);
}

// --- the views ----------------------------------------------------------------------------------

void CFairgroundMenu::HideViewSprites()
{
    m_hub.Unhover();
    for (CxSprite& background : m_backgrounds)
        background.Hide();
    // Stopped as well: a playing animation places its sprite again at each
    // loop, and that shows it.
    for (CDaxSprite* sprite : {&m_kids, &m_pig, &m_ride, &m_spinner, &m_cannon}) {
        sprite->Stop();
        sprite->Hide();
    }
    for (CDaxSprite& target : m_targets) {
        target.Stop();
        target.Hide();
    }
    for (CSpecialButton& button : m_buttons)
        button.PutAway();
    m_scoreText.Hide();
    m_highScoreText.Hide();
}

void CFairgroundMenu::ShowView()
{
    HideViewSprites();
    const size_t view = static_cast<size_t>(s_view);
    m_backgrounds[view].Show();
    if (s_view == 0) {
        CSpecialButton& duck = m_buttons[kDuckButton];
        duck.Show();
        duck.Enable();
        duck.SetState(GAME_BUTTON_NORMAL);
        Loop(m_pig);
        for (CDaxSprite& target : m_targets)
            target.Show();
        m_cannon.Show();
        m_cannon.SetState(0);
    } else {
        for (int index : {kPopcornButton, kBumperButton}) {
            CSpecialButton& button = m_buttons[static_cast<size_t>(index)];
            button.Show();
            button.Enable();
            button.SetState(GAME_BUTTON_NORMAL);
        }
        m_spinner.Show();
        m_spinner.SetState(0);
    }
    m_kids.SetPosition(kKidsAt[view].x, kKidsAt[view].y);
    m_ride.SetPosition(kRideAt[view].x, kRideAt[view].y);
    Loop(m_kids);
    Loop(m_ride);
}

void CFairgroundMenu::Scroll(int direction)
{
    m_state = EFairState::Scrolling;
    SetCursor(FAIR_CURSOR_ARROW);
    if (m_pig.IsPlaying() && GetChannel())
        FlushChannel(GetChannel());
    HideViewSprites();
    CxString name;
    name.Format("FairgroundMenu/%s", FairScrollMovie(s_view, direction).GetText());
    CxString movie;
    if (GameFindData(name.GetText(), movie))
        DaxServices().PlayMovie(movie.GetText(), -1, -1, false);
    s_view = FairNextView(s_view, direction);
    ShowView();
    m_state = EFairState::Idle;
}

// --- input --------------------------------------------------------------------------------------

bool CFairgroundMenu::IsSequencePlaying() const
{
    return GetChannel() && !IsChannelEmpty(GetChannel());
}

int CFairgroundMenu::ChooseCursor(CxPoint point)
{
    ST_FAIR_POINTER pointer;
    pointer.state = m_state;
    pointer.view = s_view;
    pointer.x = point.x;
    pointer.buttonHovered = m_hub.GetHovered() != nullptr;
    pointer.pigHovered = s_view == 0 && m_pig.IsShown() && m_pig.ContainsPoint(point, true);
    pointer.inGame1Area = m_game1Area.Contains(point);
    pointer.inGame2Area = m_game2Area.Contains(point);
    return FairChooseCursor(pointer);
}

void CFairgroundMenu::OnMouseMove(uint32_t buttons, CxPoint point)
{
    CGameRoom::OnMouseMove(buttons, point);
    if (m_state == EFairState::Idle && !IsSequencePlaying())
        m_hub.OnPointerMove(point);
    else if (m_state != EFairState::Idle)
        m_hub.Unhover();
    SetCursor(ChooseCursor(point));
}

void CFairgroundMenu::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    NoteInput();
    switch (m_state) {
    case EFairState::Idle:
        break;
    case EFairState::Game1Running:
        ClickCannonGame(point);
        return;
    case EFairState::Game2Running:
        ClickSpinnerGame(point);
        return;
    default:
        return;
    }
    // The hover follows the click's own point: a click can come without a
    // move before it (a touch screen, a replayed click).
    if (!IsSequencePlaying())
        m_hub.OnPointerMove(point);
    if (m_hub.GetHovered()) {
        if (IsSequencePlaying())
            return;
        const EHubClick click = m_hub.Click(
            [this](CSpecialButton&) { PlaySequence("FairgroundMenu/Locked%d.seq", 1 - s_view); },
            [this](CSpecialButton&) { m_state = EFairState::Leaving; });
        if (click == EHubClick::Opened && !(GetApp() && GetApp()->HasPendingRoom()))
            m_state = EFairState::Idle; // that game is not built yet: stay
        return;
    }
    if (s_view == 0 && m_pig.IsShown() && m_pig.ContainsPoint(point, true)) {
        Leave("PigPen");
        return;
    }
    if (point.x > FAIR_EDGE_RIGHT) {
        Scroll(-1);
        return;
    }
    if (point.x < FAIR_EDGE_LEFT) {
        Scroll(+1);
        return;
    }
    if (s_view == 0 && m_game1Area.Contains(point)) {
        StartCannonGame();
        return;
    }
    if (s_view == 1 && m_game2Area.Contains(point)) {
        StartSpinnerGame();
        return;
    }
    CGameRoom::OnLButtonDown(buttons, point);
}

void CFairgroundMenu::Leave(const char* room)
{
    m_state = EFairState::Leaving;
    if (CxGameApp* app = GetApp()) {
        app->GotoRoom(room);
        if (app->HasPendingRoom())
            return;
    }
    m_state = EFairState::Idle; // not built yet: the fair goes on
}

// --- per frame ------------------------------------------------------------------------------------

int CFairgroundMenu::Update()
{
    const int code = CGameRoom::Update();
    switch (m_state) {
    case EFairState::Game1Running:
        if (m_cannonGame.Step(GetGameTime()))
            ShakeAim();
        break;
    case EFairState::Game1Ending:
        UpdateCannonGame();
        break;
    case EFairState::Game2Running:
    case EFairState::Game2Ending:
        UpdateSpinnerGame();
        break;
    default:
        break;
    }
    return code;
}

void CFairgroundMenu::OnAnimationEvent(CxAnimation* animation)
{
    if (animation == &m_spinner.GetAnimation())
        m_spinnerGame.OnAnimationEnd();
}

// --- the cannon game ----------------------------------------------------------------------------

void CFairgroundMenu::StartCannonGame()
{
    m_state = EFairState::Game1Running;
    PlaySequence("FairgroundMenu/mini1.seq", -1);
    m_cannonGame.Start(GetGameTime());
    NewCannonTurn();
}

void CFairgroundMenu::NewCannonTurn()
{
    SetCursor(FAIR_CURSOR_AIM);
    ShowScores(kGame1, 40, 30, kGame1PointSize, kHighScore1, m_cannonGame.GetScore());
    for (CDaxSprite& target : m_targets) {
        target.Stop();
        target.SetState(0);
    }
}

int CFairgroundMenu::TargetAt(CxPoint point) const
{
    // The topmost first: the later target of two that overlap is drawn on top.
    for (int i = FAIR_CANNON_TARGETS - 1; i >= 0; --i) {
        const CDaxSprite& target = m_targets[static_cast<size_t>(i)];
        if (target.IsShown() && target.GetRect().Contains(point))
            return i;
    }
    return -1;
}

void CFairgroundMenu::ClickCannonGame(CxPoint point)
{
    const int target = TargetAt(point);
    const bool fresh = target >= 0 && !m_cannonGame.IsTargetHit(target);
    const EFairCannonShot shot = m_cannonGame.Click(point, target, GetGameTime());
    if (shot == EFairCannonShot::Ignored)
        return;
    if (fresh)
        m_cannon.PlayOnce(0);
    if (shot == EFairCannonShot::Hit || shot == EFairCannonShot::TurnWon) {
        PlaySequence("FairgroundMenu/feed1.seq", -1);
        m_targets[static_cast<size_t>(target)].PlayOnce(0);
    }
    if (m_cannonGame.GetState() == EFairCannonState::Ending)
        m_state = EFairState::Game1Ending;
}

void CFairgroundMenu::UpdateCannonGame()
{
    const int last = m_cannonGame.GetLastHitTarget();
    const bool lastDone = last < 0 || !m_targets[static_cast<size_t>(last)].IsPlaying();
    if (m_cannonGame.FinishTurn(lastDone, GetGameTime())) {
        PlaySequence("FairgroundMenu/lose01.seq", -1);
        m_state = EFairState::Idle;
        ApplyHighScore(m_cannonGame.GetScore(), kHighScore1);
        return;
    }
    if (m_cannonGame.GetState() == EFairCannonState::Running) {
        m_state = EFairState::Game1Running;
        NewCannonTurn();
    }
}

void CFairgroundMenu::ShakeAim()
{
    CxGameApp* app = GetApp();
    int32_t x = 0;
    int32_t y = 0;
    if (!app || !app->GetMousePosition(x, y) || !m_game1Area.Contains(CxPoint(x, y)))
        return;
    const CxPoint step = CFairCannonGame::ShakeOffset(m_cannonGame.GetHits());
    app->WarpMouse(x + step.x, y + step.y);
}

// --- the spinner --------------------------------------------------------------------------------

void CFairgroundMenu::StartSpinnerGame()
{
    m_state = EFairState::Game2Running;
    PlaySequence("FairgroundMenu/mini2.seq", -1);
    m_spinnerGame.Start();
    ShowScores(kGame2, 40, 20, kGame2PointSize, kHighScore2, 0);
    m_spinner.PlayInfinite(FAIR_SPINNER_SPINNING);
}

void CFairgroundMenu::ClickSpinnerGame(CxPoint point)
{
    const int state = m_spinnerGame.Click(m_game2Area.Contains(point), m_spinner.GetFrame());
    if (state >= 0) {
        if (state == FAIR_SPINNER_PERFECT)
            PlaySequence("FairgroundMenu/feed0.seq", -1);
        m_spinner.PlayOnce(state);
    }
    if (m_spinnerGame.GetState() == EFairSpinnerState::Ending)
        m_state = EFairState::Game2Ending;
}

void CFairgroundMenu::UpdateSpinnerGame()
{
    switch (m_spinnerGame.Update()) {
    case EFairSpinnerResult::Scored:
        m_state = EFairState::Game2Running;
        ShowScoreValue(m_spinnerGame.GetScore());
        m_spinner.PlayInfinite(FAIR_SPINNER_SPINNING);
        break;
    case EFairSpinnerResult::Lost:
        PlaySequence("FairgroundMenu/lose00.seq", -1);
        m_spinner.Stop();
        m_spinner.SetState(0);
        m_state = EFairState::Idle;
        ApplyHighScore(m_spinnerGame.GetScore(), kHighScore2);
        break;
    case EFairSpinnerResult::None:
        if (m_spinnerGame.GetState() == EFairSpinnerState::Ending)
            m_state = EFairState::Game2Ending;
        break;
    }
}

// --- scores -------------------------------------------------------------------------------------

void CFairgroundMenu::ShowScores(const char* section, int32_t width, int32_t height, int pointSize,
                                 const char* highScoreKey, int score)
{
    if (!m_textsMade) {
        for (CxDrawText* text : {&m_scoreText, &m_highScoreText}) {
            text->Create(0, 0, width, height, this);
            text->SetZ(kTextZ);
            text->SetTextFlags(PIM_DRAWTEXT_DEFAULT_FLAGS | PIM_TEXT_CENTRE);
        }
        m_textsMade = true;
    }
    const CxPoint scoreAt = ReadPoint(GetOptions(), section, "ScorePos");
    const CxPoint highAt = ReadPoint(GetOptions(), section, "HighScorePos");
    const std::pair<CxDrawText*, CxPoint> places[] = {{&m_scoreText, scoreAt}, {&m_highScoreText, highAt}};
    for (const auto& [text, at] : places) {
        text->SetSize(width, height);
        text->SetPosition(at.x, at.y);
        text->SetFont(m_font ? m_font : GameServices().GetGameFont());
        text->SetPointSize(pointSize);
        text->Show();
    }
    m_scoreText.SetColour(kScoreColour);
    m_highScoreText.SetColour(kHighScoreColour);
    CxString best;
    best.Format("%d", GetGoals().GetKey(highScoreKey));
    m_highScoreText.SetText(best.GetText());
    ShowScoreValue(score);
}

void CFairgroundMenu::ShowScoreValue(int score)
{
    CxString text;
    text.Format("%d", score);
    m_scoreText.SetText(text.GetText());
}

void CFairgroundMenu::PlaySequence(const char* format, int first, int second)
{
    const int values[] = {first, second};
    const size_t count = first < 0 ? 0 : (second < 0 ? 1 : 2);
    const CxString file = PimSafeFormatted(format, values, count);
    CxString path;
    if (GameFindData(file.GetText(), path))
        PostSequence(file.GetText());
}

// --- stopping -----------------------------------------------------------------------------------

int CFairgroundMenu::Unload()
{
    ReleaseAll();
    return CGameRoom::Unload();
}

void CFairgroundMenu::ReleaseAll()
{
    if (m_cursorsMade) {
        UnregisterGameCursors(kCursors);
        if (GetCursor() >= FAIR_CURSOR_LEFT && GetCursor() <= FAIR_CURSOR_AIM)
            SetCursor(FAIR_CURSOR_ARROW);
        m_cursorsMade = false;
    }
    m_spinner.GetAnimation().SetListener(nullptr);
    m_hub.Clear();
    m_marker.Release();
    if (m_ambient)
        m_ambient->Stop();
    m_ambient.Reset();
    for (CxSprite& background : m_backgrounds)
        background.Release();
    for (CDaxSprite* sprite : {&m_kids, &m_pig, &m_ride, &m_spinner, &m_cannon}) {
        sprite->Release();
        sprite->UnloadStates();
    }
    for (CDaxSprite& target : m_targets) {
        target.Release();
        target.UnloadStates();
    }
    for (CSpecialButton& button : m_buttons) {
        button.Release();
        button.UnloadStates();
    }
    if (m_textsMade) {
        m_scoreText.Release();
        m_highScoreText.Release();
        m_scoreText.SetFont(PIM_DEFAULT_FONT);
        m_highScoreText.SetFont(PIM_DEFAULT_FONT);
        m_textsMade = false;
    }
    if (m_font)
        DeleteFont(m_font);
    m_font = 0;
    m_state = EFairState::Idle;
}
