#include "game/baleout/BaleOutRoom.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimSafeFormat.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/sound/CxWave.h"
#include "PIM/text/CxFont.h"
#include "game/baleout/BaleOutLevel.h"
#include "game/common/CCodeDialog.h"
#include "game/common/CGameServices.h"
#include "game/common/GameCursors.h"
#include "game/common/GameData.h"

#include <algorithm>

namespace {

// Nearer pieces have smaller depths: the floor's pieces, then the goals'
// marks, then the bales and the pig on top.
constexpr int32_t kFloorZ = 3000;
constexpr int32_t kGoalZ = 2900;
constexpr int32_t kBaleZ = 2000;
constexpr int32_t kPigZ = 1900;
constexpr int32_t kTextZ = 1000;
constexpr CxRect kMoveText(697, 87, 793, 131); // the moves' sign of the panel

const ST_GAME_CURSOR kCursors[] = {
    {BALE_CURSOR_NORMAL, "normalCursor.TGA", 0, 36, 0, 0},
    {BALE_CURSOR_NORMAL + BALE_LEFT, "G02_arrow04.TGA", 0, 36, 24, 24},
    {BALE_CURSOR_NORMAL + BALE_UP, "G02_arrow01.TGA", 0, 0, 24, 24},
    {BALE_CURSOR_NORMAL + BALE_RIGHT, "G02_arrow02.TGA", 0, 36, 24, 24},
    {BALE_CURSOR_NORMAL + BALE_DOWN, "G02_arrow03.TGA", 0, 0, 24, 24},
};

constexpr const char* kSounds[] = {"sc_win.wav", "sc_plus.wav", "sc_minus.wav", "G02_sfx_belt.wav"};

// The special cells' frames (or, for belts, states) of "dax_specialBlock.xni".
int SpecialFrame(int code)
{
    switch (code) {
    case BALE_ICE:
        return 0;
    case BALE_BONUS100:
        return 1;
    case BALE_BONUS200:
        return 2;
    case BALE_DOOR:
        return 7;
    case BALE_SWITCH:
        return 8;
    case BALE_HINT:
        return 9;
    default:
        return 0;
    }
}

int BeltState(int code)
{
    return 3 + (code - BALE_BELT_LEFT) / 10; // left 3, up 4, right 5, down 6
}

bool IsBelt(int code)
{
    return code == BALE_BELT_LEFT || code == BALE_BELT_UP || code == BALE_BELT_RIGHT || code == BALE_BELT_DOWN;
}

// The arrow keys' engine codes and the directions they give.
int DirectionOfKey(uint32_t key)
{
    switch (key) {
    case 272:
        return BALE_LEFT;
    case 273:
        return BALE_RIGHT;
    case 274:
        return BALE_UP;
    case 275:
        return BALE_DOWN;
    default:
        return BALE_NONE;
    }
}

// The level file's bytes through the file layer; false when it is not there.
bool ReadLevelBytes(const char* name, std::vector<uint8_t>& bytes)
{
    CxString path;
    if (!GameFindData(name, path))
        return false;
    int code = PIM_OK;
    CxFsHandle* file = FsOpen(path.GetText(), CBF_BINARY | CBF_READONLY, &code);
    if (!file)
        return false;
    // One byte more than a level holds: enough to see that a file is too long.
    bytes.assign(BALE_CELLS + 1, 0);
    size_t got = 0;
    code = FsRead(file, bytes.data(), bytes.size(), &got);
    FsClose(file);
    bytes.resize(code == PIM_OK ? std::min(got, bytes.size()) : 0);
    return code == PIM_OK;
}

} // namespace

BaleOut::BaleOut(CxGameApp* app) : CGameRoom(app) {}

BaleOut::~BaleOut()
{
    ReleaseAll();
}

// --- loading ------------------------------------------------------------------------------------

int BaleOut::Load()
{
    const int code = CGameRoom::Load();
    ClearBoard();
    if (GameDataExists("G02_BG.tga"))
        LoadSurface("G02_BG.tga");
    RegisterCursors();
    SetCursor(BALE_CURSOR_NORMAL);
    LoadButtons();
    m_sounds.clear();
    for (const char* sound : kSounds)
        m_sounds.push_back(GameLoadOptionalSound(sound));

    // The moves sit on the panel right of the board; a 200-wide line at
    // x 700 would run off the screen, so the text wraps in the panel.
    m_moveText.Create(kMoveText.left, kMoveText.top, static_cast<int32_t>(kMoveText.Width()),
                      static_cast<int32_t>(kMoveText.Height()), this);
    m_moveText.SetZ(kTextZ);
    m_moveText.SetFont(GameServices().GetGameFont());
    m_moveText.SetPointSize(17);
    m_moveText.SetColour(0x000000);
    m_moveText.SetTextFlags(PIM_DRAWTEXT_DEFAULT_FLAGS | PIM_TEXT_CENTRE | PIM_TEXT_WRAP);
    m_moveText.Show();
    m_moveTextMade = true;

    SetScore(0);
    m_levelScore = 0;
    SetLevelRange(0, std::max(0, GetNumLevels() - 1));
    SetLevel(NextLevelToPlay());
    return code;
}

int BaleOut::Start()
{
    const int code = CGameRoom::Start();
    // The level's dialog opens over the board, now that it is on screen.
    // Then the board's own pointer, over the rooms' usual one; and the arrow
    // keys are the board's, whatever had the keys before the room came.
    SetFocus();
    StartLevel();
    SetCursor(BALE_CURSOR_NORMAL);
    SetFocus();
    return code;
}

void BaleOut::RegisterCursors()
{
    RegisterGameCursors(kCursors);
    m_cursorsMade = true;
}

void BaleOut::LoadButtons()
{
    const struct
    {
        const char* name;
        const char* file;
        CxPoint at;
        std::unique_ptr<CDaxButton>& button;
    } buttons[] = {{"Undo", "undobut.tga", {700, 140}, m_undoButton},
                   {"Restart", "restart.TGA", {700, 200}, m_restartButton}};
    for (const auto& b : buttons) {
        b.button.reset();
        if (!GameDataExists(b.file))
            continue;
        ST_DAX_BUTTON_SECTION section;
        section.name = b.name;
        section.fileName = b.file;
        section.position = b.at;
        ST_DAX_BUTTON_PLACEMENT placement;
        placement.parent = this;
        placement.z = DAX_ROOM_BUTTON_Z;
        placement.shown = true;
        b.button.reset(DaxMakeButton(section, placement));
    }
}

// --- the board ----------------------------------------------------------------------------------

void BaleOut::ClearBoard()
{
    m_pig.reset();
    m_bales.clear();
    m_floor.clear();
    m_pending = BALE_NONE;
    m_state = EBaleState::Idle;
}

void BaleOut::SetLevel(int level)
{
    ClearBoard();
    CGameRoom::SetLevel(level);
    m_levelFile = GetLevel();
    SetScore(m_levelScore);
    BuildBoard();
    m_state = EBaleState::Idle;
}

void BaleOut::BuildBoard()
{
    const CxString file = BaleLevelFileName(m_levelFile);
    std::vector<uint8_t> bytes;
    m_levelMissing = !ReadLevelBytes(file.GetText(), bytes);
    if (m_levelMissing)
        ReportError(PIM_ERR_NOT_FOUND, "The bale game has no level %d (%s): the board holds only the pig",
                    m_levelFile, file.GetText());
    const ST_BALE_LEVEL level = ReadBaleLevel(bytes.data(), bytes.size());
    if (!m_levelMissing && (level.shortFile || level.longFile || level.unknownCodes || level.extraPigs ||
                            level.pigPlaced))
        Trace("%s is not a whole level: it was mended to play\n", file.GetText());
    CxString key;
    key.Format("level%02d", m_levelFile);
    const int limit = std::clamp(GetOptions().GetInt("Move", key.GetText(), BALE_DEFAULT_MOVE_LIMIT), 1, 9999);
    m_board.Load(level, limit);

    for (const ST_BALE_FLOOR_PIECE& floor : m_board.FloorPieces()) {
        const int code = floor.code;
        std::unique_ptr<CSokobanPiece> piece;
        if (code == BALE_BLOCK) {
            piece = MakePiece("dax_block.xni", code, floor.cell, kFloorZ);
            if (piece && piece->GetFrameCount() > 1)
                piece->SetFrame(RandomRange(0, piece->GetFrameCount() - 1));
        } else if (code == BALE_GOAL) {
            piece = MakePiece("dax_goal.xni", code, floor.cell, kGoalZ);
        } else {
            piece = MakePiece("dax_specialBlock.xni", code, floor.cell, kFloorZ);
            if (piece && IsBelt(code)) {
                piece->PlayInfinite(BeltState(code));
            } else if (piece) {
                piece->SetFrame(std::min(SpecialFrame(code), piece->GetFrameCount() - 1));
            }
            if (piece && code == BALE_HINT)
                piece->Hide();
        }
        if (piece)
            m_floor.push_back(std::move(piece));
    }
    m_pig = MakePiece("dax_pig.xni", BALE_PIG, m_board.PigCell(), kPigZ);
    for (int i = 0; i < m_board.BaleCount(); ++i) {
        auto bale = MakePiece("dax_movable.xni", BALE_BALE, m_board.BaleCell(i), kBaleZ);
        if (bale) {
            bale->flag = i;
            bale->SetFrame(std::min(m_board.BaleFrame(i), bale->GetFrameCount() - 1));
        }
        m_bales.push_back(std::move(bale));
    }
    ShowMoves();
}

std::unique_ptr<CSokobanPiece> BaleOut::MakePiece(const char* file, int kind, CxPoint cell, int32_t z)
{
    auto piece = std::make_unique<CSokobanPiece>();
    if (piece->Load(file) != PIM_OK && piece->GetStateCount() == 0)
        return nullptr;
    piece->kind = kind;
    piece->UseAlphaWhenItHasIt();
    piece->SetZ(z);
    AddChild(piece.get());
    piece->PlaceAt(cell);
    piece->Show();
    return piece;
}

CSokobanPiece* BaleOut::FloorPieceAt(CxPoint cell, int code)
{
    for (auto& piece : m_floor)
        if (piece && piece->cell == cell && piece->kind == code)
            return piece.get();
    return nullptr;
}

CSokobanPiece* BaleOut::GetBale(int index)
{
    return index >= 0 && static_cast<size_t>(index) < m_bales.size() ? m_bales[static_cast<size_t>(index)].get()
                                                                     : nullptr;
}

void BaleOut::ShowMoves()
{
    if (!m_moveTextMade)
        return;
    const int values[] = {m_board.Moves(), m_board.MoveLimit()};
    const CxString pattern = GameServices().GetLocalizedString("Move");
    m_moveText.SetText(PimSafeFormatted(pattern.GetText(), values, 2).GetText());
}

// --- moving -------------------------------------------------------------------------------------

void BaleOut::SetPigLook(int state)
{
    if (m_pig && m_pig->GetStateCount() > 0)
        m_pig->PlayInfinite(state);
}

void BaleOut::Step(int direction)
{
    if (m_state != EBaleState::Idle || direction < BALE_LEFT || direction > BALE_DOWN)
        return;
    const ST_BALE_STEP step = m_board.StartStep(direction);
    if (step.result == EBaleStep::Stuck) {
        PlaySequence("stuck.seq");
        m_pending = BALE_NONE;
        return;
    }
    if (step.result == EBaleStep::OutOfMoves) {
        m_state = EBaleState::OutOfMoves;
        return;
    }
    if (m_pig)
        m_pig->StartMove(direction, BALE_STEP_SPEED);
    if (CSokobanPiece* bale = GetBale(step.bale))
        bale->StartMove(direction, BALE_STEP_SPEED);
    SetPigLook(step.bale >= 0 ? direction + 4 : direction);
    m_state = EBaleState::Stepping;
    m_nextTick = GetGameTime() + BALE_TICK;
    ShowMoves();
}

void BaleOut::MovePieces()
{
    // The pushed bale arrives before the pig: the pig's next cell is the
    // bale's until then.
    std::vector<int> arrived;
    for (size_t i = 0; i < m_bales.size(); ++i)
        if (m_bales[i] && m_bales[i]->Tick())
            arrived.push_back(static_cast<int>(i));
    const bool pigArrived = m_pig && m_pig->Tick();
    for (int bale : arrived)
        OnArrival(m_board.Arrive(bale));
    if (pigArrived)
        OnArrival(m_board.Arrive(BALE_PIG_PIECE));
}

void BaleOut::OnArrival(const ST_BALE_ARRIVAL& arrival)
{
    if (!arrival.accepted)
        return;
    CSokobanPiece* piece = arrival.piece == BALE_PIG_PIECE ? m_pig.get() : GetBale(arrival.piece);
    if (piece)
        piece->PlaceAt(arrival.to);
    if (arrival.baleFrame >= 0 && piece)
        piece->SetFrame(std::min(arrival.baleFrame, piece->GetFrameCount() - 1));
    if (arrival.bonusHidden) {
        for (int code : {BALE_BONUS100, BALE_BONUS200})
            if (CSokobanPiece* bonus = FloorPieceAt(arrival.to, code))
                bonus->Hide();
        if (arrival.bonus > 0) {
            AddPoints(arrival.bonus, 50);
            PlaySound("sc_plus.wav");
            PlaySequence("bonus.seq");
        } else if (arrival.bonusLost) {
            PlaySound("sc_minus.wav");
        }
    }
    ShowDoors(arrival.doorsOpened, false);
    ShowDoors(arrival.doorsClosed, true);
    if (arrival.goesOn && piece) {
        piece->StartMove(arrival.direction, BALE_SLIDE_SPEED);
        m_state = EBaleState::Sliding;
        if (arrival.belt)
            PlaySound("G02_sfx_belt.wav");
    }
    if (arrival.undo.done)
        ApplyUndo(arrival.undo);
    if (arrival.askHint)
        AskHint();
    if (arrival.idle && !m_board.IsMoving()) {
        m_pending = BALE_NONE;
        m_state = m_board.IsWon() ? EBaleState::WinSound : EBaleState::Idle;
        if (m_state == EBaleState::Idle)
            SetPigLook(0);
    }
}

void BaleOut::AskHint()
{
    PlaySequence("oops.seq");
    if (ShowYesNo(BALE_HINT_DIALOG) == 1) {
        PlaySound("s00_vo_tb_001.wav");
        return;
    }
    // Taken back once the step it interrupted has come to rest.
    ApplyUndo(m_board.RequestUndo());
}

void BaleOut::ShowDoors(const std::vector<CxPoint>& cells, bool shown)
{
    for (const CxPoint& cell : cells)
        if (CSokobanPiece* door = FloorPieceAt(cell, BALE_DOOR)) {
            if (shown)
                door->Show();
            else
                door->Hide();
        }
}

void BaleOut::Undo()
{
    if (m_board.UndoSteps() == 0 || m_board.IsMoving() || m_state != EBaleState::Idle)
        return;
    const ST_BALE_UNDO undo = m_board.Undo();
    if (!undo.done)
        return;
    ApplyUndo(undo);
    AddPoints(-BALE_UNDO_COST, 40);
    PlaySound("sc_minus.wav");
}

void BaleOut::ApplyUndo(const ST_BALE_UNDO& undo)
{
    if (!undo.done)
        return;
    if (m_pig)
        m_pig->PlaceAt(undo.pig);
    if (CSokobanPiece* bale = GetBale(undo.bale)) {
        bale->PlaceAt(undo.baleCell);
        bale->SetFrame(std::min(undo.baleFrame, bale->GetFrameCount() - 1));
    }
    ShowDoors(undo.doorsOpened, false);
    ShowDoors(undo.doorsClosed, true);
    ShowMoves();
    SetPigLook(0);
}

void BaleOut::AddPoints(int points, int bulge)
{
    SetScore(GetScoreValue() + points);
    GetScore().Bulge(bulge);
}

// --- per frame ----------------------------------------------------------------------------------

int BaleOut::Update()
{
    const int code = CGameRoom::Update();
    // At most a few dozen ticks a frame: a stalled frame is a short catch-up.
    const uint32_t now = GetGameTime();
    for (int i = 0; i < 32 && now >= m_nextTick; ++i)
        Tick();
    return code;
}

void BaleOut::Tick()
{
    const uint32_t now = GetGameTime();
    switch (m_state) {
    case EBaleState::Stepping:
    case EBaleState::Sliding:
        MovePieces();
        m_nextTick += BALE_TICK;
        return;
    case EBaleState::WinSound:
        PlaySound("sc_win.wav");
        PlaySequence("feed.seq");
        m_state = EBaleState::MoveBonus;
        m_nextTick = now + BALE_BONUS_PAUSE;
        return;
    case EBaleState::MoveBonus: {
        const int bonus = BaleMoveBonus(m_board.MoveLimit(), m_board.Moves());
        if (bonus > 0) {
            PlaySound("sc_plus.wav");
            AddPoints(bonus, 40);
        }
        m_state = EBaleState::GoalBonus;
        m_nextTick = now + BALE_BONUS_PAUSE;
        return;
    }
    case EBaleState::GoalBonus:
        PlaySound("sc_plus.wav");
        AddPoints(BaleGoalBonus(m_board.Goals()), 40);
        m_levelScore = GetScoreValue();
        m_state = EBaleState::Won;
        m_nextTick = now + BALE_BONUS_PAUSE;
        return;
    case EBaleState::Won:
        SetCursor(BALE_CURSOR_NORMAL);
        m_state = EBaleState::Idle;
        m_nextTick = UINT32_MAX;
        LevelWon();
        return;
    case EBaleState::OutOfMoves:
        SetCursor(BALE_CURSOR_NORMAL);
        m_state = EBaleState::Idle;
        m_nextTick = UINT32_MAX;
        RestartLevel();
        return;
    case EBaleState::Idle:
        m_nextTick = UINT32_MAX;
        return;
    }
}

// --- input --------------------------------------------------------------------------------------

void BaleOut::OnKeyDown(uint32_t key, uint32_t flags)
{
    const int direction = DirectionOfKey(key);
    if (direction != BALE_NONE) {
        if (m_state == EBaleState::Idle)
            Step(direction);
        return;
    }
    CGameRoom::OnKeyDown(key, flags);
}

void BaleOut::OnMouseMove(uint32_t buttons, CxPoint point)
{
    CGameRoom::OnMouseMove(buttons, point);
    if (m_state != EBaleState::Idle)
        return;
    const int direction = BaleChooseDirection(BaleCellAt(point), m_board.PigCell());
    // An arrow only where the pig can go: elsewhere the plain pointer.
    m_pending = direction != BALE_NONE && m_board.CanMove(direction) ? direction : BALE_NONE;
    SetCursor(BALE_CURSOR_NORMAL + m_pending);
}

void BaleOut::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (m_state == EBaleState::Idle && m_pending != BALE_NONE) {
        NoteInput();
        Step(m_pending);
        return;
    }
    CGameRoom::OnLButtonDown(buttons, point);
}

void BaleOut::OnButton(const char* name)
{
    if (PimStrEqual(name, "Undo", true)) {
        Undo();
    } else if (PimStrEqual(name, "Restart", true)) {
        if (m_state == EBaleState::Idle || m_state == EBaleState::Stepping || m_state == EBaleState::Sliding)
            SetLevel(m_levelFile);
    } else {
        CGameRoom::OnButton(name);
    }
}

// --- sounds and sequences -------------------------------------------------------------------------

void BaleOut::PlaySound(const char* name)
{
    for (size_t i = 0; i < std::size(kSounds) && i < m_sounds.size(); ++i)
        if (PimStrEqual(kSounds[i], name, true) && m_sounds[i]) {
            m_sounds[i]->Play();
            return;
        }
    GamePlayVoiceOnce(name);
}

void BaleOut::PlaySequence(const char* name)
{
    if (GameDataExists(name))
        PostSequence(name);
}

// --- stopping -----------------------------------------------------------------------------------

int BaleOut::Unload()
{
    ReleaseAll();
    return CGameRoom::Unload();
}

void BaleOut::ReleaseAll()
{
    ClearBoard();
    const bool live = IsLoaded();
    if (live && GetChannel())
        FlushChannel(GetChannel());
    if (m_cursorsMade) {
        SetCursor(GAME_CURSOR_CLEAR);
        UnregisterGameCursors(kCursors);
        m_cursorsMade = false;
    }
    m_undoButton.reset();
    m_restartButton.reset();
    if (m_moveTextMade) {
        m_moveText.Release();
        m_moveTextMade = false;
    }
    m_sounds.clear();
    m_nextTick = UINT32_MAX;
}
