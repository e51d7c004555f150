#include "game/jigsaw/JigsawRoom.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/sound/PimSound.h"
#include "game/common/GameData.h"
#include "game/common/GameSpriteLook.h"
#include "game/jigsaw/JigsawCutter.h"
#include "game/jigsaw/JigsawLevel.h"

namespace {

constexpr int kButtonFrames = 5;
// The arrows lie above every piece, even one in hand.
constexpr int32_t kButtonZ = -1;

} // namespace

CJigsaw::CJigsaw(CxGameApp* app) : CGameRoom(app) {}

CJigsaw::~CJigsaw()
{
    DeletePieces();
    m_prev.reset();
    m_next.reset();
}

int CJigsaw::Load()
{
    const int code = CGameRoom::Load();
    const ST_JIGSAW_OPTIONS options = ReadJigsawOptions(GetOptions());
    m_model.SetPictureRange(options.firstLevel, options.lastLevel);
    m_prev = MakeButton("PuzzlePrev", JIGSAW_PREV_BUTTON, JIGSAW_PREV_AT);
    m_next = MakeButton("PuzzleNext", JIGSAW_NEXT_BUTTON, JIGSAW_NEXT_AT);
    ShowPicture(options.firstLevel);
    return code;
}

int CJigsaw::Unload()
{
    const int code = CGameRoom::Unload();
    // Everything a visit made goes with it: the next visit makes its own.
    DeletePieces();
    m_model.ClearPieces();
    m_prev.reset();
    m_next.reset();
    return code;
}

std::unique_ptr<CxButton> CJigsaw::MakeButton(const char* name, const char* file, CxPoint at)
{
    auto button = std::make_unique<CxButton>();
    button->SetName(name);
    CxString path;
    if (!GameFindData(file, path) || button->Load(path.GetText(), kButtonFrames) != PIM_OK)
        ReportError(PIM_ERR_NOT_FOUND, "Puzzle: no arrow picture \"%s\"", file);
    GameApplySeeThrough(*button, true);
    button->MoveTo(at);
    button->SetZ(kButtonZ);
    AddChild(button.get());
    button->Show();
    return button;
}

// --- pictures -----------------------------------------------------------------------------------

void CJigsaw::ShowPicture(int n)
{
    m_picture = m_model.WrapPicture(n);
    DeletePieces();
    m_model.ClearPieces();
    CutPicture(JigsawPictureName(m_picture).GetText());
    PlaySound(JIGSAW_CHANGE_SOUND);
}

int CJigsaw::CutPicture(const char* fileName)
{
    CxString path;
    CxDrawSurface picture;
    if (!GameFindData(fileName, path) || picture.Load(path.GetText()) != PIM_OK)
        return ReportError(PIM_ERR_NOT_FOUND, "Puzzle: the picture \"%s\" could not be loaded", fileName);
    const CxString problem = JigsawPictureSizeProblem(picture.GetWidth(), picture.GetHeight());
    if (!problem.IsEmpty())
        return ReportError(PIM_ERR_BAD_ARG, "Puzzle: \"%s\": %s", fileName, problem.GetText());

    const ST_JIGSAW_SEAMS seams = DrawJigsawSeams();
    JigsawPieceSurfaces surfaces;
    const int code = JigsawCutPicture(picture, seams, surfaces);
    if (code != PIM_OK)
        return ReportError(code, "Puzzle: \"%s\" could not be cut", fileName);
    DeletePieces();
    m_model.LayPieces(picture.GetWidth() / JIGSAW_COLUMNS, picture.GetHeight() / JIGSAW_ROWS);
    for (int a = 0; a < JIGSAW_COLUMNS; ++a) {
        for (int b = 0; b < JIGSAW_ROWS; ++b) {
            const int index = a * JIGSAW_ROWS + b;
            auto sprite = std::make_unique<JigsawPieceSprite>();
            CxDrawSurface* surface = surfaces[static_cast<size_t>(index)].release();
            const uint32_t key = surface->GetTransparentColour();
            sprite->SetSurface(surface);
            sprite->SetTransparentColour(key);
            sprite->SetPixelHitTest(true);
            sprite->SetSolution(m_model.GetPiece(index).solution);
            AddChild(sprite.get());
            sprite->Show();
            m_pieces[a][b] = std::move(sprite);
            ShowPiece(index);
        }
    }
    return PIM_OK;
}

void CJigsaw::DeletePieces()
{
    for (auto& column : m_pieces)
        for (auto& piece : column)
            piece.reset();
}

JigsawPieceSprite* CJigsaw::GetPiece(int a, int b) const
{
    if (a < 0 || b < 0 || a >= JIGSAW_COLUMNS || b >= JIGSAW_ROWS)
        return nullptr;
    return m_pieces[a][b].get();
}

void CJigsaw::ShowPiece(int index)
{
    JigsawPieceSprite* sprite = GetPiece(index / JIGSAW_ROWS, index % JIGSAW_ROWS);
    if (!sprite || !m_model.HasPieces())
        return;
    const ST_JIGSAW_PIECE& piece = m_model.GetPiece(index);
    sprite->MoveTo(piece.position);
    sprite->SetZ(static_cast<int32_t>(piece.z));
    sprite->SetPlaced(piece.placed);
}

// --- the pointer --------------------------------------------------------------------------------

void CJigsaw::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    std::vector<int> under;
    for (int a = 0; a < JIGSAW_COLUMNS; ++a) {
        for (int b = 0; b < JIGSAW_ROWS; ++b) {
            if (m_pieces[a][b] && m_pieces[a][b]->ContainsPoint(point, true))
                under.push_back(a * JIGSAW_ROWS + b);
        }
    }
    const int picked = m_model.PickUp(under, point);
    if (picked >= 0)
        ShowPiece(picked);
    CGameRoom::OnLButtonDown(buttons, point);
}

void CJigsaw::OnMouseMove(uint32_t buttons, CxPoint point)
{
    if (m_model.MoveHeld(point))
        ShowPiece(m_model.GetHeld());
    CGameRoom::OnMouseMove(buttons, point);
}

void CJigsaw::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    DropPiece(point);
    CGameRoom::OnLButtonUp(buttons, point);
}

void CJigsaw::DropPiece(CxPoint point)
{
    (void)point; // the piece is where the last move put it
    const EJigsawDrop drop = m_model.Drop();
    if (drop == EJigsawDrop::None)
        return;
    ShowPiece(m_model.GetLastDropped());
    if (drop == EJigsawDrop::Completed)
        PlaySound(JigsawCompletionVoice(RandomRange(0, 4)));
    else if (drop == EJigsawDrop::Snapped)
        PlaySound(JIGSAW_SNAP_SOUND);
}

int CJigsaw::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (code == PIM_NOTIFY_BUTTON && sender && (sender == m_prev.get() || sender == m_next.get())) {
        // The arrows stay while their click is heard: only pieces go.
        if (first == PIM_BUTTON_EVENT_CLICKED)
            ShowPicture(m_picture + (sender == m_prev.get() ? -1 : 1));
        return 1;
    }
    return CGameRoom::OnNotify(code, sender, first, second);
}

void CJigsaw::PlaySound(const char* name)
{
    m_lastSound = name;
    CxString path;
    if (GameFindData(name, path))
        PlaySoundFile(path.GetText(), false, 0);
}

size_t CJigsaw::CountLiveObjects() const
{
    size_t count = (m_prev ? 1 : 0) + (m_next ? 1 : 0);
    for (const auto& column : m_pieces)
        for (const auto& piece : column)
            count += piece ? 1 : 0;
    return count;
}
