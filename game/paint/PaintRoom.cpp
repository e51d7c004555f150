#include "game/paint/PaintRoom.h"

#include "PIM/app/CxWindowApp.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/sound/CxWave.h"
#include "PIM/sound/PimSound.h"
#include "PIM/text/CxFont.h"
#include "game/common/CGameServices.h"
#include "game/common/GameCursors.h"
#include "game/common/GameData.h"
#include "game/common/GameSpriteLook.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* kCrayonSound = "sound\\pt_crayonDraw.wav";
constexpr const char* kSaveSound = "sound\\save.wav";
constexpr const char* kPrintSound = "sound\\print.wav";
constexpr const char* kEraseSound = "sound\\erase.wav";
constexpr const char* kSoundNames[] = {kCrayonSound, kSaveSound, kPrintSound, kEraseSound};

constexpr int32_t ROW_Z = 10;
constexpr int32_t BUBBLE_Z = 20;
constexpr int32_t PREVIEW_Z = 30;
constexpr uint32_t QUOTE_COLOUR = 0xFF000000u;
// A crayon button stands 2 pixels higher while it is the one in hand.
constexpr int32_t CRAYON_LIFT = 2;

} // namespace

CDrawRoom::CDrawRoom(CxGameApp* app) : CGameRoom(app) {}

CDrawRoom::~CDrawRoom()
{
    ReleaseAll();
}

// --- loading ------------------------------------------------------------------------------------

int CDrawRoom::Load()
{
    const int code = CGameRoom::Load();
    // A room entered again without having been left starts clean too.
    ReleaseAll();
    m_model.Reset();
    m_plays = {};
    SetSize(800, 600);
    if (!GetSurface() && LoadPicture("art\\pt_bg.tga", 1) != PIM_OK)
        Trace("PaintRoom: the background art\\pt_bg.tga is missing\n");
    AttachToRoot();
    Show();

    LoadEngineButtons();
    LoadRowButtons();
    m_crayonSound = GameLoadOptionalSound(kCrayonSound);
    m_saveSound = GameLoadOptionalSound(kSaveSound);
    m_printSound = GameLoadOptionalSound(kPrintSound);
    m_eraseSound = GameLoadOptionalSound(kEraseSound);
    MakeCanvas();
    RegisterGameCursors(PaintCursors());
    m_loaded = true;

    ClickCrayon(PAINT_CRAYON_COUNT - 1);
    ClickSet(PAINT_BACKGROUND_SET);
    SelectToolCursor();
    MakeQuoteEditor();
    return code;
}

void CDrawRoom::LoadEngineButtons()
{
    for (int i = 0; i < PAINT_ENGINE_COUNT; ++i) {
        const ST_PAINT_ENGINE_BUTTON& entry = PaintEngineButtons()[static_cast<size_t>(i)];
        auto button = std::make_unique<CxButton>();
        button->SetName(entry.name);
        if (button->LoadPicture(entry.file, PIM_BUTTON_STATE_COUNT) != PIM_OK)
            Trace("PaintRoom: the button %s is missing\n", entry.file);
        GameApplySeeThrough(*button, true);
        button->SetZ(ROW_Z);
        AddChild(button.get());
        button->MoveTo(entry.position);
        if (entry.shown)
            button->Show();
        else
            button->Hide();
        m_engine[static_cast<size_t>(i)] = std::move(button);
    }
}

void CDrawRoom::LoadRowButtons()
{
    for (int i = 0; i < PAINT_CRAYON_COUNT; ++i) {
        auto button = std::make_unique<CDrawButton>(PAINT_BUTTON_CRAYON, i);
        const CxString file = PaintCrayonButtonFile(i);
        if (button->LoadPicture(file.GetText(), PIM_BUTTON_STATE_COUNT) != PIM_OK)
            Trace("PaintRoom: the crayon %s is missing\n", file.GetText());
        GameApplySeeThrough(*button, true);
        button->SetZ(ROW_Z);
        AddChild(button.get());
        button->MoveTo(2 + 20 * i, 598, PIM_ANCHOR_BOTTOM_LEFT);
        button->Show();
        m_crayons[static_cast<size_t>(i)] = std::move(button);
    }
    for (int j = 0; j < PAINT_SET_COUNT; ++j) {
        auto button = std::make_unique<CDrawButton>(PAINT_BUTTON_SET, j);
        const CxString file = PaintSetButtonFile(j);
        if (button->LoadPicture(file.GetText(), PIM_BUTTON_STATE_COUNT) != PIM_OK)
            Trace("PaintRoom: the sticker set %s is missing\n", file.GetText());
        GameApplySeeThrough(*button, true);
        button->SetZ(ROW_Z);
        AddChild(button.get());
        button->MoveTo(125 + 75 * j, 14);
        button->Hide();
        m_sets[static_cast<size_t>(j)] = std::move(button);
    }
    m_sets[PAINT_BACKGROUND_SET]->Show();
    for (int k = 0; k < PAINT_ROW_BUTTONS; ++k) {
        auto button = std::make_unique<CDrawButton>(PAINT_BUTTON_STICKER, -1);
        button->SetZ(ROW_Z);
        AddChild(button.get());
        button->Hide();
        m_stickers[static_cast<size_t>(k)] = std::move(button);
    }
}

void CDrawRoom::MakeCanvas()
{
    m_canvas = std::make_unique<CxSprite>();
    if (m_canvas->CreateSurface(PAINT_CANVAS_WIDTH, PAINT_CANVAS_HEIGHT, 32) != PIM_OK)
        Trace("PaintRoom: no memory for the canvas\n");
    AddChild(m_canvas.get());
    m_canvas->MoveTo(PAINT_CANVAS_ORIGIN);
    m_canvas->Show();
    ClearCanvas();
    m_preview = std::make_unique<CxSprite>();
    m_preview->SetZ(PREVIEW_Z);
    AddChild(m_preview.get());
    m_preview->Hide();
}

void CDrawRoom::MakeQuoteEditor()
{
    m_quotes = ReadPaintQuotes(GetOptions());
    m_ownFont = !m_quotes.font.IsEmpty() && LoadFont(m_quotes.font.GetText(), &m_font) == PIM_OK;
    if (!m_ownFont) {
        if (!m_quotes.font.IsEmpty())
            Trace("PaintRoom: the quote font %s is missing: the game font is used\n", m_quotes.font.GetText());
        m_font = GameServices().GetGameFont();
    }
    m_bubble = std::make_unique<CTextBubble>();
    m_bubble->Create(0, 0, m_quotes.textSize.width, m_quotes.textSize.height, this);
    m_bubble->SetAllowedChars(PAINT_QUOTE_CHARACTERS);
    m_bubble->SetColour(QUOTE_COLOUR);
    m_bubble->SetFont(m_font);
    m_bubble->SetPointSize(m_quotes.pointSize);
    m_bubble->SetMaxLength(m_quotes.maxLength);
    m_bubble->SetZ(BUBBLE_Z);
    m_bubble->SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    m_bubble->Hide();
}

// --- unloading ----------------------------------------------------------------------------------

void CDrawRoom::ReleaseAll()
{
    if (IsModal())
        PopModal();
    if (m_crayonSound)
        m_crayonSound->Stop();
    for (CDaxSound* sound : {&m_crayonSound, &m_saveSound, &m_printSound, &m_eraseSound})
        sound->Reset();
    m_bubble.reset();
    if (m_ownFont)
        DeleteFont(m_font);
    m_ownFont = false;
    m_font = 0;
    m_canvas.reset();
    m_preview.reset();
    for (auto& button : m_engine)
        button.reset();
    for (auto& button : m_crayons)
        button.reset();
    for (auto& button : m_sets)
        button.reset();
    for (auto& button : m_stickers)
        button.reset();
    if (m_loaded)
        UnregisterGameCursors(PaintCursors());
    m_loaded = false;
}

int CDrawRoom::Unload()
{
    ReleaseAll();
    return CGameRoom::Unload();
}

// --- buttons ------------------------------------------------------------------------------------

CDrawButton* CDrawRoom::GetCrayonButton(int i) const
{
    return i >= 0 && i < PAINT_CRAYON_COUNT ? m_crayons[static_cast<size_t>(i)].get() : nullptr;
}

CDrawButton* CDrawRoom::GetSetButton(int i) const
{
    return i >= 0 && i < PAINT_SET_COUNT ? m_sets[static_cast<size_t>(i)].get() : nullptr;
}

CDrawButton* CDrawRoom::GetStickerButton(int i) const
{
    return i >= 0 && i < PAINT_ROW_BUTTONS ? m_stickers[static_cast<size_t>(i)].get() : nullptr;
}

CxButton* CDrawRoom::GetEngineButton(int i) const
{
    return i >= 0 && i < PAINT_ENGINE_COUNT ? m_engine[static_cast<size_t>(i)].get() : nullptr;
}

int CDrawRoom::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (!m_loaded || !sender)
        return CGameRoom::OnNotify(code, sender, first, second);
    if (code == PAINT_NOTIFY_COMMIT_QUOTE && sender == m_bubble.get()) {
        CommitQuote();
        return 1;
    }
    if (code != PIM_NOTIFY_BUTTON)
        return CGameRoom::OnNotify(code, sender, first, second);
    int engine = -1;
    for (int i = 0; i < PAINT_ENGINE_COUNT; ++i)
        if (sender == m_engine[static_cast<size_t>(i)].get())
            engine = i;
    auto* drawButton = engine < 0 ? dynamic_cast<CDrawButton*>(sender) : nullptr;
    if (engine < 0 && !drawButton)
        return CGameRoom::OnNotify(code, sender, first, second); // Home and the room file's own
    const int event = static_cast<int>(first);

    SetCursor(PAINT_CURSOR_HAND);
    EndCapture();
    if (m_crayonSound)
        m_crayonSound->Stop();
    if (event == PIM_BUTTON_EVENT_HIGHLIGHTED || event == PIM_BUTTON_EVENT_LEFT)
        StopQueue(PAINT_SOUND_QUEUE);
    if (event == PIM_BUTTON_EVENT_LEFT)
        SelectToolCursor();
    if (event == PIM_BUTTON_EVENT_CLICKED && m_bubble && m_bubble->IsShown()) {
        // A click anywhere while a quote is being typed only burns it in.
        CommitQuote();
        return 1;
    }
    if (engine >= 0) {
        if (event == PIM_BUTTON_EVENT_CLICKED)
            OnEngineButton(engine);
        return 1;
    }
    OnDrawButton(*drawButton, event);
    return 1;
}

void CDrawRoom::OnEngineButton(int which)
{
    switch (which) {
    case PAINT_ENGINE_PREVIOUS:
        if (m_model.GetFirstShown() > 0) {
            ShowStickers(-1);
            m_model.ScrollBack();
        }
        break;
    case PAINT_ENGINE_NEXT:
    case PAINT_ENGINE_NEXT_SPARE:
        if (m_model.GetLastShown() < PaintModel::StickerCount(m_model.GetSet()) - 1) {
            ShowStickers(1);
            m_model.ScrollOn();
        }
        break;
    case PAINT_ENGINE_PRINT:
        PrintPicture();
        SelectToolCursor();
        break;
    case PAINT_ENGINE_DELETE:
        ClearCanvas();
        Play(m_eraseSound, kEraseSound);
        SelectToolCursor();
        for (auto& set : m_sets)
            set->Hide();
        m_sets[PAINT_BACKGROUND_SET]->Show();
        ClickSet(PAINT_BACKGROUND_SET);
        break;
    case PAINT_ENGINE_SAVE:
        SavePicture();
        SelectToolCursor();
        break;
    default:
        break;
    }
}

void CDrawRoom::OnDrawButton(CDrawButton& button, int event)
{
    const int kind = button.GetDrawKind();
    if (event == PIM_BUTTON_EVENT_CLICKED) {
        if (kind == PAINT_BUTTON_CRAYON)
            ClickCrayon(button.GetIndex());
        else if (kind == PAINT_BUTTON_SET)
            ClickSet(button.GetIndex());
        else if (button.GetIndex() >= 0)
            ClickSticker(button.GetIndex());
        return;
    }
    if (event == PIM_BUTTON_EVENT_HIGHLIGHTED && kind == PAINT_BUTTON_STICKER)
        SetCursor(PAINT_CURSOR_OVER_STICKER);
    if (event != PIM_BUTTON_EVENT_LEFT)
        return;
    // The chosen crayon and set stay marked when the pointer leaves them.
    if (kind == PAINT_BUTTON_SET && button.GetIndex() == m_model.GetSet())
        button.SetFrame(2);
    if (kind == PAINT_BUTTON_CRAYON && button.GetIndex() == m_model.GetCrayon())
        button.SetFrame(1);
}

void CDrawRoom::ClickCrayon(int crayon)
{
    const int previous = m_model.ChooseCrayon(crayon);
    if (previous == -2)
        return;
    // The first choice has no crayon before it to put back down.
    if (CDrawButton* old = GetCrayonButton(previous)) {
        old->SetFrame(0);
        old->MoveTo(old->GetPosition().x, old->GetPosition().y + CRAYON_LIFT);
    }
    CDrawButton* chosen = GetCrayonButton(crayon);
    chosen->SetFrame(1);
    chosen->MoveTo(chosen->GetPosition().x, chosen->GetPosition().y - CRAYON_LIFT);
    const ST_PAINT_RGB rgb = PaintModel::CrayonColour(crayon);
    m_crayonColour = CanvasColour(rgb);
}

void CDrawRoom::ClickSet(int set)
{
    if (CDrawButton* old = GetSetButton(m_model.GetSet()))
        old->SetFrame(0);
    if (!m_model.ChooseSet(set))
        return;
    m_sets[static_cast<size_t>(set)]->SetFrame(2);
    ShowStickers(0);
}

void CDrawRoom::ClickSticker(int number)
{
    const int set = m_model.GetSet();
    const CxString file = PaintStickerFile(set, number, false);
    if (set == PAINT_BACKGROUND_SET) {
        StampSticker(file.GetText(), false);
        for (auto& button : m_sets)
            button->Show();
        m_sets[PAINT_BACKGROUND_SET]->Hide();
        for (auto& button : m_stickers)
            button->Hide();
        ClickSet(0);
        SelectToolCursor();
        return;
    }
    if (m_preview->Load(file.GetText(), 1) != PIM_OK) {
        Trace("PaintRoom: the sticker %s is missing\n", file.GetText());
        return;
    }
    m_preview->SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    m_model.HoldSticker(number);
}

void CDrawRoom::ShowStickers(int shift)
{
    const int set = m_model.GetSet();
    const bool opaque = set == PAINT_BACKGROUND_SET;
    auto widthOf = [&](int number) -> int32_t {
        CDrawButton& button = *m_stickers[static_cast<size_t>(number - m_model.GetFirstShown() - shift)];
        const CxString file = PaintStickerFile(set, number, true);
        if (button.LoadPicture(file.GetText(), 1) != PIM_OK) {
            Trace("PaintRoom: the sticker button %s is missing\n", file.GetText());
            return -1;
        }
        if (opaque)
            button.SetTransparentColour(PIM_NO_KEY);
        else
            GameApplySeeThrough(button, true);
        return button.GetWidth();
    };
    const auto row = m_model.LayRow(shift, widthOf);
    for (int k = 0; k < PAINT_ROW_BUTTONS; ++k) {
        const ST_PAINT_ROW_PLACE& place = row[static_cast<size_t>(k)];
        CDrawButton& button = *m_stickers[static_cast<size_t>(k)];
        button.SetIndex(place.number);
        if (place.shown) {
            button.MoveTo(place.x, PAINT_ROW_TOP);
            button.Show();
        } else {
            button.Hide();
        }
    }
}

// --- the mouse ----------------------------------------------------------------------------------

void CDrawRoom::EndCapture()
{
    if (IsModal())
        PopModal();
}

void CDrawRoom::SelectToolCursor()
{
    SetCursor(m_model.GetToolCursor());
}

void CDrawRoom::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (!m_loaded)
        return CGameRoom::OnLButtonDown(buttons, point);
    if (m_bubble->IsShown()) {
        EndCapture();
        CommitQuote();
        return;
    }
    if (!IsModal())
        PushModal();
    m_model.SetLastPoint(point - PAINT_CANVAS_ORIGIN);
    if (m_model.GetTool() == PAINT_TOOL_CRAYON) {
        m_model.BeginStroke(m_model.GetLastPoint());
        DrawStroke(m_model.GetLastPoint(), m_model.GetLastPoint());
    } else if (m_model.GetTool() == PAINT_TOOL_STICKER) {
        StampSticker(PaintStickerFile(m_model.GetSet(), m_model.GetHeldSticker(), false).GetText(), true);
        SelectToolCursor();
        m_preview->Hide();
    }
}

void CDrawRoom::OnMouseMove(uint32_t buttons, CxPoint point)
{
    if (!m_loaded)
        return CGameRoom::OnMouseMove(buttons, point);
    if (m_model.GetTool() == PAINT_TOOL_STICKER) {
        SetCursor(m_model.GetToolCursor());
        m_preview->MoveTo(point.x - m_preview->GetWidth() / 2, point.y - m_preview->GetHeight() / 2);
        m_preview->Show();
        return;
    }
    m_preview->Hide();
    SetCursor(m_model.GetToolCursor());
    if (!IsModal() || m_model.GetTool() != PAINT_TOOL_CRAYON)
        return;
    if (m_crayonSound && !m_crayonSound->IsStarted()) {
        m_crayonSound->Play();
        ++m_plays[0];
    }
    const CxPoint to = point - PAINT_CANVAS_ORIGIN;
    DrawStroke(m_model.GetLastPoint(), to);
    m_model.SetLastPoint(to);
}

void CDrawRoom::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    if (!m_loaded)
        return CGameRoom::OnLButtonUp(buttons, point);
    EndCapture();
    if (m_crayonSound)
        m_crayonSound->Stop();
    m_model.EndStroke();
}

// --- drawing ------------------------------------------------------------------------------------

uint32_t CDrawRoom::CanvasColour(ST_PAINT_RGB rgb) const
{
    CxDrawSurface* surface = m_canvas ? m_canvas->GetSurface() : nullptr;
    if (!surface)
        return 0;
    // MakeColour leaves a 32-bit pixel's alpha at 0: the canvas is opaque, or
    // quotes burnt onto it would lose their soft edges.
    uint32_t colour = surface->MakeColour(rgb.red, rgb.green, rgb.blue);
    if (surface->GetAlphaBits() > 0)
        colour |= 0xFF000000u;
    return colour;
}

void CDrawRoom::RedrawCanvas(const CxRect* canvasBox)
{
    if (!m_canvas)
        return;
    if (!canvasBox) {
        m_canvas->Invalidate();
        return;
    }
    const CxRect whole(0, 0, PAINT_CANVAS_WIDTH - 1, PAINT_CANVAS_HEIGHT - 1);
    const CxRect box(std::max(canvasBox->left, whole.left), std::max(canvasBox->top, whole.top),
                     std::min(canvasBox->right, whole.right), std::min(canvasBox->bottom, whole.bottom));
    if (box.left > box.right || box.top > box.bottom || !m_canvas->IsVisible() || !m_canvas->IsOnDisplay())
        return;
    ::Invalidate(m_canvas->LocalToScreen(box));
}

void CDrawRoom::DrawStroke(CxPoint from, CxPoint to)
{
    CxDrawSurface* surface = m_canvas ? m_canvas->GetSurface() : nullptr;
    if (!surface)
        return;
    PaintModel::WalkStroke(from, to, [&](CxPoint p) { surface->FillCircle(p, PAINT_BRUSH_RADIUS, m_crayonColour); });
    // Only the stroke's own box is drawn again.
    const CxRect box(std::min(from.x, to.x) - PAINT_BRUSH_RADIUS, std::min(from.y, to.y) - PAINT_BRUSH_RADIUS,
                     std::max(from.x, to.x) + PAINT_BRUSH_RADIUS, std::max(from.y, to.y) + PAINT_BRUSH_RADIUS);
    RedrawCanvas(&box);
}

bool CDrawRoom::StampSticker(const char* file, bool centred)
{
    CxDrawSurface* canvas = m_canvas ? m_canvas->GetSurface() : nullptr;
    if (!canvas)
        return false;
    CxSprite picture;
    if (picture.Load(file, 1) != PIM_OK || !picture.GetSurface()) {
        Trace("PaintRoom: the sticker %s is missing\n", file);
        return false;
    }
    const CxPoint offset = PaintModel::StampOffset(m_model.GetLastPoint(), picture.GetSurface()->GetSize(), centred);
    if (m_model.GetSet() == PAINT_BUBBLE_SET && m_bubble) {
        m_bubble->SetText("");
        m_bubble->MoveTo(m_quotes.bubbleOffset + offset + PAINT_CANVAS_ORIGIN);
        m_bubble->Show();
        m_bubble->SetFocus();
    }
    const ST_DRAW_PARAMS params{PIM_DRAW_SOURCE_ALPHA, 0, 0, 0, nullptr, nullptr};
    canvas->DrawSurface(picture.GetSurface(), offset.x, offset.y, nullptr, PIM_NO_KEY, &params);
    RedrawCanvas();
    m_model.AfterStamp();
    return true;
}

void CDrawRoom::CommitQuote()
{
    if (!m_bubble || !m_canvas || !m_canvas->GetSurface())
        return;
    if (CxDrawSurface* text = m_bubble->GetSurface()) {
        const CxPoint at = m_bubble->GetPosition() - PAINT_CANVAS_ORIGIN;
        const ST_DRAW_PARAMS params{PIM_DRAW_COMPOSITE, 0, 0, 0, nullptr, nullptr};
        m_canvas->GetSurface()->DrawSurface(text, at.x, at.y, nullptr, PIM_NO_KEY, &params);
    }
    m_bubble->Hide();
    SetFocus();
    RedrawCanvas();
}

void CDrawRoom::ClearCanvas()
{
    CxDrawSurface* surface = m_canvas ? m_canvas->GetSurface() : nullptr;
    if (!surface)
        return;
    surface->FillRect(CxRect(0, 0, PAINT_CANVAS_WIDTH - 1, PAINT_CANVAS_HEIGHT - 1), CanvasColour({255, 255, 255}));
    RedrawCanvas();
}

// --- keeping and printing -----------------------------------------------------------------------

void CDrawRoom::Play(CDaxSound& sound, const char* name)
{
    for (size_t i = 0; i < std::size(kSoundNames); ++i)
        if (kSoundNames[i] == name)
            ++m_plays[i];
    if (sound)
        sound->Play();
}

int CDrawRoom::GetPlayCount(const char* sound) const
{
    for (size_t i = 0; i < std::size(kSoundNames); ++i)
        if (PimStrEqual(kSoundNames[i], sound, true))
            return m_plays[i];
    return 0;
}

bool CDrawRoom::WritePair(CxDrawSurface& wall, CxDrawSurface& thumb)
{
    // The pair is kept whole: the wall picture's old bytes are put back
    // when the second picture cannot be written after it.
    CxBuffer old;
    const bool hadOld = FsExists(PAINT_SAVED_WALL) && LoadFile(PAINT_SAVED_WALL, old) == PIM_OK;
    if (wall.Save(PAINT_SAVED_WALL) != PIM_OK)
        return false;
    if (thumb.Save(PAINT_SAVED_THUMB) == PIM_OK)
        return true;
    const int restored = hadOld ? FsReplaceFile(PAINT_SAVED_WALL, old.GetData(), old.GetSize())
                                : FsDelete(PAINT_SAVED_WALL);
    if (restored != PIM_OK)
        Trace("PaintRoom: the old wall picture could not be put back\n");
    return false;
}

bool CDrawRoom::SavePicture()
{
    CxDrawSurface* canvas = m_canvas ? m_canvas->GetSurface() : nullptr;
    if (!canvas)
        return false;
    CxDrawSurface wall, thumb;
    const CxRect source(0, 0, PAINT_CANVAS_WIDTH - 1, PAINT_CANVAS_HEIGHT - 1);
    bool written = wall.Create(PAINT_WALL_SIZE.width, PAINT_WALL_SIZE.height, 16) == PIM_OK &&
                   thumb.Create(PAINT_THUMB_SIZE.width, PAINT_THUMB_SIZE.height, 16) == PIM_OK;
    if (written) {
        const CxRect wallRect = wall.GetRect(), thumbRect = thumb.GetRect();
        wall.DrawSurface(canvas, &wallRect, &source, PIM_NO_KEY, nullptr);
        thumb.DrawSurface(canvas, &thumbRect, &source, PIM_NO_KEY, nullptr);
        // A disk that will not take the painting is the player's to hear
        // about, not an error of the game's.
        CxQuietErrors quiet;
        written = WritePair(wall, thumb);
    }
    if (!written) {
        Trace("PaintRoom: the painting could not be saved; the old one stays\n");
        ShowYesNo(PAINT_SAVE_FAILED_DIALOG);
        return false;
    }
    Play(m_saveSound, kSaveSound);
    return true;
}

bool CDrawRoom::PrintPicture()
{
    CxDrawSurface* canvas = m_canvas ? m_canvas->GetSurface() : nullptr;
    auto* app = dynamic_cast<CxWindowApp*>(CxApp::GetApp());
    if (!canvas || !app)
        return false;
    // A failure is reported as error 19, which the game answers with its
    // printer question.
    if (app->PrintSurface(*canvas, true, false, 0.0) != PIM_OK)
        return false;
    Play(m_printSound, kPrintSound);
    return true;
}
