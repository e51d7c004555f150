#pragma once
// The bale-pushing puzzle ("BaleOut"): the pig pushes hay bales onto the
// goals of a 12 x 12 farmyard board, with ice, belts, switches and doors,
// bonus cells, a hint cell, undo and a move limit. The board's rules are
// CBaleOutModel; this room draws its pieces (CSokobanPiece), walks and
// slides them on the game clock (a step is 48 px at 6 px every 10 ms, a
// slide 2 px every 10 ms), turns keys, pointer and buttons into moves, and
// plays the win through the common level flow.
//
// The room file adds, beside the level flow's keys,
//     [Move]
//     level00=40          ; the move limit of level 0 (default 400)
// and the levels are "sLevel00.skc" ... in the room's folder (144 bytes, one
// a cell, byte x * 12 + y). The text "Move" (language.ini) shows the moves
// made and the limit: two integer conversions, nothing else is filled in.

#include "DAX/base/CDaxSoundCache.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/display/CxDrawText.h"
#include "game/baleout/BaleOutModel.h"
#include "game/baleout/CSokobanPiece.h"
#include "game/common/CGameRoom.h"

#include <memory>
#include <vector>

// The room's game states.
enum class EBaleState
{
    Idle = 0,
    Stepping = 1,
    Sliding = 2,
    Won = 3,       // over to the level flow
    WinSound = 4,
    MoveBonus = 5,
    GoalBonus = 6,
    OutOfMoves = 7,
};

constexpr int BALE_CURSOR_NORMAL = 100; // 101 .. 104: the arrows of directions 1 .. 4
constexpr int BALE_STEP_SPEED = 6;      // px a tick
constexpr int BALE_SLIDE_SPEED = 2;
constexpr uint32_t BALE_TICK = 10;        // ms of the game clock
constexpr uint32_t BALE_BONUS_PAUSE = 300; // ms between the win's steps
constexpr int BALE_UNDO_COST = 200;
constexpr const char* BALE_HINT_DIALOG = "COMMON/hintdialog.ini";

class BaleOut : public CGameRoom
{
public:
    explicit BaleOut(CxGameApp* app);
    ~BaleOut() override;

    int Load() override;
    int Start() override;
    int Unload() override;
    int Update() override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnButton(const char* name) override;
    // Builds the level's board (the level flow then shows its dialog).
    void SetLevel(int level) override;

    // Starts a step of the pig, as a key or a click does (state 0 only).
    void Step(int direction);
    void Undo();

    // --- for tests ----------------------------------------------------------------------------
    EBaleState GetGameState() const { return m_state; }
    const CBaleOutModel& GetBoard() const { return m_board; }
    int GetPendingDirection() const { return m_pending; }
    CSokobanPiece* GetPig() { return m_pig.get(); }
    CSokobanPiece* GetBale(int index);
    size_t GetFloorPieceCount() const { return m_floor.size(); }
    const CxDrawText& GetMoveText() const { return m_moveText; }
    int GetLevelScore() const { return m_levelScore; }
    bool IsLevelMissing() const { return m_levelMissing; }

private:
    void RegisterCursors();
    void LoadButtons();
    void ClearBoard();
    void BuildBoard();
    std::unique_ptr<CSokobanPiece> MakePiece(const char* file, int kind, CxPoint cell, int32_t z);
    CSokobanPiece* FloorPieceAt(CxPoint cell, int code);
    void ShowMoves();
    void Tick();
    void MovePieces();
    void OnArrival(const ST_BALE_ARRIVAL& arrival);
    void ApplyUndo(const ST_BALE_UNDO& undo);
    void ShowDoors(const std::vector<CxPoint>& cells, bool shown);
    void AskHint();
    void SetPigLook(int state);
    void AddPoints(int points, int bulge);
    void PlaySound(const char* name);
    void PlaySequence(const char* name);
    void ReleaseAll();

    CBaleOutModel m_board;
    EBaleState m_state = EBaleState::Idle;
    int m_pending = BALE_NONE;
    int m_levelScore = 0;
    int m_levelFile = 0;
    bool m_levelMissing = false;
    uint32_t m_nextTick = 0;
    bool m_cursorsMade = false;

    std::unique_ptr<CSokobanPiece> m_pig;
    std::vector<std::unique_ptr<CSokobanPiece>> m_bales;
    std::vector<std::unique_ptr<CSokobanPiece>> m_floor;
    std::unique_ptr<CDaxButton> m_undoButton;
    std::unique_ptr<CDaxButton> m_restartButton;
    CxDrawText m_moveText;
    bool m_moveTextMade = false;
    std::vector<CDaxSound> m_sounds;
};
