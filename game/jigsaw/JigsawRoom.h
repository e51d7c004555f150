#pragma once
// The jigsaw ("Puzzle"), free play behind the activity centre's button: a
// picture cut into nine pieces with round knobs, scattered over the table;
// the child drags them into the frame at (105, 123), where a piece dropped
// near enough its place snaps in. Two arrows step through the pictures
// FirstLevel .. LastLevel of the room file (JigsawLevel.h). No levels,
// scores or rewards: the room never calls the level operations.
//
// The rules are CJigsawModel; the cutting is JigsawCutter.h; this room
// turns the pointer into model calls and the model's pieces into sprites.
// Sounds: "puzzle\scPuzzle_change.wav" for a new picture,
// "puzzle\scPuzzle_complete.wav" for a snap, and one of Tobble's cheers
// when the last piece goes in.

#include "PIM/widgets/CxButton.h"
#include "game/common/CGameRoom.h"
#include "game/jigsaw/JigsawModel.h"
#include "game/jigsaw/JigsawPieceSprite.h"

#include <memory>

constexpr CxPoint JIGSAW_PREV_AT{100, 20};
constexpr CxPoint JIGSAW_NEXT_AT{200, 20};

class CJigsaw : public CGameRoom
{
public:
    explicit CJigsaw(CxGameApp* app);
    ~CJigsaw() override;

    int Load() override;
    int Unload() override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;

    // Picture n, wrapped round FirstLevel .. LastLevel; the old pieces go.
    void ShowPicture(int n);
    // The pieces of `fileName` (a data name); PIM_OK, or the error, reported,
    // and then no pieces.
    int CutPicture(const char* fileName);
    void DropPiece(CxPoint point);
    bool IsComplete() const { return m_model.IsComplete(); }

    // --- for tests ----------------------------------------------------------------------------
    const CJigsawModel& GetModel() const { return m_model; }
    int GetPicture() const { return m_picture; }
    JigsawPieceSprite* GetPiece(int a, int b) const;
    CxButton* GetPrevButton() const { return m_prev.get(); }
    CxButton* GetNextButton() const { return m_next.get(); }
    // The last sound the room played (a data name), "" before any.
    const char* GetLastSound() const { return m_lastSound.GetText(); }
    // Pieces and buttons alive: what a visit leaves behind shows here.
    size_t CountLiveObjects() const;

private:
    std::unique_ptr<CxButton> MakeButton(const char* name, const char* file, CxPoint at);
    void DeletePieces();
    // The sprite of piece `index` takes the model's place, depth and flag.
    void ShowPiece(int index);
    void PlaySound(const char* name);

    CJigsawModel m_model;
    int m_picture = 1;
    std::unique_ptr<JigsawPieceSprite> m_pieces[JIGSAW_COLUMNS][JIGSAW_ROWS];
    std::unique_ptr<CxButton> m_prev, m_next;
    CxString m_lastSound;
};
