#pragma once
// The paint room ("PaintRoom"): free play behind the activity centre's
// paint button, no levels or scores. The child first picks a background,
// then draws with ten crayons, stamps stickers from five sets, types a
// quote into a speech bubble, and can erase, print or save the picture.
// Saving writes the two wall pictures the pig pen hangs as its wall
// picture 0, one painting for all players.
//
// The rules (which stickers the row shows, the crayon and tool in hand,
// where a stroke dabs and a sticker lands) are PaintModel's; the quote
// editor's settings come from the room file through ReadPaintQuotes. This
// room turns input into those calls and their answers into pictures.
//
// While the mouse button is down on the room, the room is the modal object
// (its capture), so a stroke sees every move until the release.

#include "DAX/base/CDaxSoundCache.h"
#include "PIM/display/CxSprite.h"
#include "PIM/widgets/CxButton.h"
#include "game/common/CGameRoom.h"
#include "game/paint/CDrawButton.h"
#include "game/paint/CTextBubble.h"
#include "game/paint/PaintFiles.h"
#include "game/paint/PaintLevel.h"
#include "game/paint/PaintModel.h"

#include <array>
#include <memory>

constexpr const char* PAINT_SAVED_WALL = "<AppData>G10_wall00_2.tga";  // 160 x 130, the pig pen's wall
constexpr const char* PAINT_SAVED_THUMB = "<AppData>G10_wall00_1.tga"; // 72 x 72
constexpr CxSize PAINT_WALL_SIZE{160, 130};
constexpr CxSize PAINT_THUMB_SIZE{72, 72};
// Asked when a painting could not be kept; the old one stays.
constexpr const char* PAINT_SAVE_FAILED_DIALOG = "COMMON/save_failed.ini";
constexpr int PAINT_SOUND_QUEUE = 1;


class CDrawRoom : public CGameRoom
{
public:
    explicit CDrawRoom(CxGameApp* app);
    ~CDrawRoom() override;

    int Load() override;
    int Unload() override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;

    // --- the room's own operations ---------------------------------------------------------
    // Lays the row of four sticker buttons out for the first shown + shift.
    void ShowStickers(int shift);
    // False when the picture does not load.
    bool StampSticker(const char* file, bool centred);
    void CommitQuote();
    // From and to in canvas coordinates.
    void DrawStroke(CxPoint from, CxPoint to);
    void ClearCanvas();
    // True when both pictures were written; on any failure the old pair stays.
    bool SavePicture();
    // True when the page went out.
    bool PrintPicture();

    // --- for tests and the bench ---------------------------------------------------------------
    const PaintModel& GetModel() const { return m_model; }
    CxSprite* GetCanvas() const { return m_canvas.get(); }
    CxSprite* GetPreview() const { return m_preview.get(); }
    CTextBubble* GetBubble() const { return m_bubble.get(); }
    const ST_PAINT_QUOTES& GetQuotes() const { return m_quotes; }
    CDrawButton* GetCrayonButton(int i) const;
    CDrawButton* GetSetButton(int i) const;
    CDrawButton* GetStickerButton(int i) const;
    CxButton* GetEngineButton(int i) const;
    // Sounds played by this room, by file name, since Load (tests).
    int GetPlayCount(const char* sound) const;

private:
    void LoadEngineButtons();
    void LoadRowButtons();
    void MakeCanvas();
    void MakeQuoteEditor();
    void ReleaseAll();
    void OnDrawButton(CDrawButton& button, int event);
    void OnEngineButton(int which);
    void ClickCrayon(int crayon);
    void ClickSet(int set);
    void ClickSticker(int number);
    void EndCapture();
    void SelectToolCursor();
    void RedrawCanvas(const CxRect* canvasBox = nullptr);
    uint32_t CanvasColour(ST_PAINT_RGB rgb) const;
    void Play(CDaxSound& sound, const char* name);
    bool WritePair(CxDrawSurface& wall, CxDrawSurface& thumb);

    PaintModel m_model;
    ST_PAINT_QUOTES m_quotes;
    std::unique_ptr<CxSprite> m_canvas;
    std::unique_ptr<CxSprite> m_preview;
    std::unique_ptr<CTextBubble> m_bubble;
    std::array<std::unique_ptr<CxButton>, PAINT_ENGINE_COUNT> m_engine;
    std::array<std::unique_ptr<CDrawButton>, PAINT_CRAYON_COUNT> m_crayons;
    std::array<std::unique_ptr<CDrawButton>, PAINT_SET_COUNT> m_sets;
    std::array<std::unique_ptr<CDrawButton>, PAINT_ROW_BUTTONS> m_stickers;
    intptr_t m_font = 0;
    bool m_ownFont = false;
    uint32_t m_crayonColour = 0;
    CDaxSound m_crayonSound, m_saveSound, m_printSound, m_eraseSound;
    std::array<int, 4> m_plays{};
    bool m_loaded = false;
};
