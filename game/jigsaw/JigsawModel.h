#pragma once
// The jigsaw's rules without display, sound or files: a picture cut 3 x 3,
// the seams between its pieces (a round knob on one side, the notch it fits
// on the other), where each piece belongs, which piece a click picks up,
// and whether a dropped piece snaps into place.
//
// Pieces are indexed a * 3 + b: a across from the left, b down from the
// top. A piece's position is the top-left of its picture, which has a
// margin of JIGSAW_MARGIN pixels on every side for the knobs.
//
// Depths: smaller is nearer. A piece in hand lies at 0, loose pieces count
// down from JIGSAW_Z_START so the one dropped last lies on top of the
// others, and a placed piece lies at JIGSAW_Z_PLACED, under every loose one.

#include "PIM/core/CxPoint.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int JIGSAW_COLUMNS = 3;
constexpr int JIGSAW_ROWS = 3;
constexpr int JIGSAW_PIECES = JIGSAW_COLUMNS * JIGSAW_ROWS;
constexpr int JIGSAW_MARGIN = 65;
constexpr int JIGSAW_FRAME_X = 105; // where the finished picture's top-left lies
constexpr int JIGSAW_FRAME_Y = 123;
constexpr int JIGSAW_SNAP = 19;     // px off in x and in y that still snap
constexpr uint32_t JIGSAW_Z_START = 0x7FFFFFFEu;
constexpr uint32_t JIGSAW_Z_PLACED = 0x7FFFFFFFu;
constexpr uint32_t JIGSAW_Z_HELD = 0;
// Knob radii (either sign: the sign says which piece has the knob) and how
// far the knob's centre lies before the seam line.
constexpr int JIGSAW_KNOB_MIN = 20;
constexpr int JIGSAW_KNOB_MAX = 44;
constexpr int JIGSAW_KNOB_OFFSET_MIN = 10;
constexpr int JIGSAW_KNOB_OFFSET_MAX = 20;
// Where a new piece may land: its top-left in x 0..500, y 80..350.
constexpr int JIGSAW_SCATTER_RIGHT = 500;
constexpr int JIGSAW_SCATTER_TOP = 80;
constexpr int JIGSAW_SCATTER_BOTTOM = 350;

// One seam: radius > 0 puts the knob on the later piece (right or lower),
// < 0 on the earlier one.
struct ST_JIGSAW_SEAM
{
    int radius = JIGSAW_KNOB_MIN;
    int offset = JIGSAW_KNOB_OFFSET_MIN;
};

struct ST_JIGSAW_SEAMS
{
    // vertical[a][b]: between pieces (a, b) and (a + 1, b).
    ST_JIGSAW_SEAM vertical[JIGSAW_COLUMNS - 1][JIGSAW_ROWS];
    // horizontal[a][b]: between pieces (a, b) and (a, b + 1).
    ST_JIGSAW_SEAM horizontal[JIGSAW_COLUMNS][JIGSAW_ROWS - 1];
};

// New seams from the random numbers: the vertical table first, then the
// horizontal one, each a outer and b inner.
ST_JIGSAW_SEAMS DrawJigsawSeams();

struct ST_JIGSAW_PIECE
{
    CxPoint position{0, 0};
    CxPoint solution{0, 0};
    uint32_t z = JIGSAW_Z_START;
    bool placed = false;
};

enum class EJigsawDrop
{
    None = 0,      // nothing was in hand
    Loose = 1,     // too far off: it stays where it was let go
    Snapped = 2,   // into place
    Completed = 3, // into place, and it was the last one
};

// What the completion voice line is for a draw of 0 .. 4 (others are
// taken as the nearest end).
const char* JigsawCompletionVoice(int draw);

class CJigsawModel
{
public:
    // The pictures the arrows step through; last below first is taken as first.
    void SetPictureRange(int first, int last);
    int GetFirstPicture() const { return m_first; }
    int GetLastPicture() const { return m_last; }
    // n, or past either end the other end.
    int WrapPicture(int n) const;

    // A new picture begins: no pieces, none in hand, the z counter back at
    // its start.
    void ClearPieces();
    // The nine pieces of a picture of pw x ph pixels a piece, each a little
    // above the one before, scattered at random (a outer, b inner).
    void LayPieces(int pieceWidth, int pieceHeight);
    bool HasPieces() const { return !m_pieces.empty(); }
    const ST_JIGSAW_PIECE& GetPiece(int index) const { return m_pieces[static_cast<size_t>(index)]; }
    int GetPieceWidth() const { return m_pieceWidth; }
    int GetPieceHeight() const { return m_pieceHeight; }

    // The nearest piece of `under` (indices, in index order) is picked up:
    // its placed flag goes, it comes on top, and it keeps its grip on the
    // pointer. -1 when none of them is a piece.
    int PickUp(const std::vector<int>& under, CxPoint point);
    // The piece in hand follows the pointer; false without one.
    bool MoveHeld(CxPoint point);
    // Lets go of the piece in hand; GetLastDropped says which it was.
    EJigsawDrop Drop();
    int GetHeld() const { return m_held; }
    int GetLastDropped() const { return m_lastDropped; }
    // True without pieces, or when every piece is placed.
    bool IsComplete() const;
    uint32_t GetZCounter() const { return m_zCounter; }

private:
    uint32_t NextLooseZ();

    std::vector<ST_JIGSAW_PIECE> m_pieces;
    int m_first = 1, m_last = 1;
    int m_pieceWidth = 0, m_pieceHeight = 0;
    int m_held = -1;
    int m_lastDropped = -1;
    CxPoint m_grip{0, 0};
    uint32_t m_zCounter = JIGSAW_Z_START;
};
