#include "game/jigsaw/JigsawModel.h"

#include "PIM/core/CxRandom.h"

#include <algorithm>
#include <cstdlib>

namespace {

ST_JIGSAW_SEAM DrawSeam()
{
    ST_JIGSAW_SEAM seam;
    seam.radius = RandomRange(JIGSAW_KNOB_MIN, JIGSAW_KNOB_MAX);
    if (Chance(50))
        seam.radius = -seam.radius;
    seam.offset = RandomRange(JIGSAW_KNOB_OFFSET_MIN, JIGSAW_KNOB_OFFSET_MAX);
    return seam;
}

// Tobble's cheers, one drawn when the picture is done.
constexpr int kCheers[] = {2, 4, 5, 6, 7};
constexpr const char* kCheerFiles[] = {"s00_VO_TB_002.wav", "s00_VO_TB_004.wav", "s00_VO_TB_005.wav",
                                       "s00_VO_TB_006.wav", "s00_VO_TB_007.wav"};
static_assert(std::size(kCheers) == std::size(kCheerFiles));

} // namespace

ST_JIGSAW_SEAMS DrawJigsawSeams()
{
    ST_JIGSAW_SEAMS seams;
    for (auto& column : seams.vertical)
        for (auto& seam : column)
            seam = DrawSeam();
    for (auto& column : seams.horizontal)
        for (auto& seam : column)
            seam = DrawSeam();
    return seams;
}

const char* JigsawCompletionVoice(int draw)
{
    const int last = static_cast<int>(std::size(kCheerFiles)) - 1;
    return kCheerFiles[std::clamp(draw, 0, last)];
}

void CJigsawModel::SetPictureRange(int first, int last)
{
    m_first = first;
    m_last = std::max(first, last);
}

int CJigsawModel::WrapPicture(int n) const
{
    if (n > m_last)
        return m_first;
    if (n < m_first)
        return m_last;
    return n;
}

void CJigsawModel::ClearPieces()
{
    m_pieces.clear();
    m_zCounter = JIGSAW_Z_START;
    m_held = -1;
    m_lastDropped = -1;
    m_pieceWidth = m_pieceHeight = 0;
}

void CJigsawModel::LayPieces(int pieceWidth, int pieceHeight)
{
    m_pieces.assign(JIGSAW_PIECES, {});
    m_pieceWidth = pieceWidth;
    m_pieceHeight = pieceHeight;
    m_held = -1;
    for (auto& piece : m_pieces)
        piece.z = NextLooseZ();
    for (int a = 0; a < JIGSAW_COLUMNS; ++a) {
        for (int b = 0; b < JIGSAW_ROWS; ++b) {
            ST_JIGSAW_PIECE& piece = m_pieces[static_cast<size_t>(a * JIGSAW_ROWS + b)];
            piece.solution = {JIGSAW_FRAME_X - JIGSAW_MARGIN + a * pieceWidth,
                              JIGSAW_FRAME_Y - JIGSAW_MARGIN + b * pieceHeight};
            // Two separate statements: the x is drawn before the y.
            const int x = RandomRange(0, JIGSAW_SCATTER_RIGHT);
            const int y = RandomRange(JIGSAW_SCATTER_TOP, JIGSAW_SCATTER_BOTTOM);
            piece.position = {x, y};
        }
    }
}

int CJigsawModel::PickUp(const std::vector<int>& under, CxPoint point)
{
    // Depths are compared as unsigned values; anything from 0x80000000 up
    // is never picked (no piece gets such a depth).
    uint32_t best = 0x80000000u;
    int picked = -1;
    for (int index : under) {
        if (index < 0 || index >= static_cast<int>(m_pieces.size()))
            continue;
        if (m_pieces[static_cast<size_t>(index)].z < best) {
            best = m_pieces[static_cast<size_t>(index)].z;
            picked = index;
        }
    }
    if (picked < 0)
        return -1;
    ST_JIGSAW_PIECE& piece = m_pieces[static_cast<size_t>(picked)];
    m_held = picked;
    m_grip = {point.x - piece.position.x, point.y - piece.position.y};
    piece.placed = false;
    piece.z = JIGSAW_Z_HELD;
    return picked;
}

bool CJigsawModel::MoveHeld(CxPoint point)
{
    if (m_held < 0)
        return false;
    m_pieces[static_cast<size_t>(m_held)].position = {point.x - m_grip.x, point.y - m_grip.y};
    return true;
}

EJigsawDrop CJigsawModel::Drop()
{
    if (m_held < 0)
        return EJigsawDrop::None;
    ST_JIGSAW_PIECE& piece = m_pieces[static_cast<size_t>(m_held)];
    m_lastDropped = m_held;
    m_held = -1;
    const int64_t dx = std::llabs(int64_t{piece.position.x} - piece.solution.x);
    const int64_t dy = std::llabs(int64_t{piece.position.y} - piece.solution.y);
    if (dx > JIGSAW_SNAP || dy > JIGSAW_SNAP) {
        piece.placed = false;
        piece.z = NextLooseZ();
        return EJigsawDrop::Loose;
    }
    piece.position = piece.solution;
    piece.placed = true;
    piece.z = JIGSAW_Z_PLACED;
    return IsComplete() ? EJigsawDrop::Completed : EJigsawDrop::Snapped;
}

uint32_t CJigsawModel::NextLooseZ()
{
    // Two thousand million drops in one picture would reach the held
    // piece's depth; the counter stops just above it.
    if (m_zCounter > JIGSAW_Z_HELD + 1)
        --m_zCounter;
    return m_zCounter;
}

bool CJigsawModel::IsComplete() const
{
    return std::all_of(m_pieces.begin(), m_pieces.end(), [](const ST_JIGSAW_PIECE& p) { return p.placed; });
}
