#pragma once
// A sprite that shows a text. The text is rendered into the sprite's own
// surface only when something about it changed (the dirty flag), over either
// a flat background colour or a copy of what lies beneath the object, and is
// then drawn like any other sprite picture.
//
// Colours are 0x00RRGGBB, -1 for none (the text: the font's own colours;
// the background: a copy of what lies beneath).

#include "PIM/display/CxSprite.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/PimText.h"

#include "PIM/core/CxString.h"

// The hit mask of text objects.
constexpr uint32_t PIM_DRAWTEXT_HIT_MASK = 33;
// Initial text flags: centred vertically, bit 0 handed to the font.
constexpr uint32_t PIM_DRAWTEXT_DEFAULT_FLAGS = 0x21;
// SetSurfaceDepth: the display's depth at the time of drawing.
constexpr int PIM_DRAWTEXT_DISPLAY_DEPTH = -1;

class CxDrawText : public CxSprite
{
public:
    CxDrawText();
    ~CxDrawText() override;

    // --- the text ------------------------------------------------------------------------
    virtual void SetText(const char* text);
    virtual const char* GetText() const { return m_text.GetText(); }

    // --- style: each change marks the object dirty and redraws it -----------------------
    // A font handle from the font list; PIM_DEFAULT_FONT (the initial value)
    // follows whatever the default font is at drawing time.
    void SetFont(intptr_t handle);
    intptr_t GetFontHandle() const { return m_fontHandle; }
    // The font the handle names now; null when it is gone.
    CxFont* GetFont() const;
    void SetColour(uint32_t colour);
    uint32_t GetColour() const { return m_colour; }
    void SetBackground(uint32_t colour);
    uint32_t GetBackground() const { return m_background; }
    // Off: neither fill nor copy; the surface is cleared to a colour key
    // instead so that only the glyphs show over what lies beneath.
    void SetBackgroundHandling(bool on);
    bool GetBackgroundHandling() const { return m_backgroundOn; }
    void SetShadowColour(uint32_t colour);
    uint32_t GetShadowColour() const { return m_shadowColour; }
    void SetTextFlags(uint32_t flags);
    uint32_t GetTextFlags() const { return m_textFlags; }
    // 12 bits; 0 is the font's native size.
    void SetPointSize(int size);
    int GetPointSize() const { return m_pointSize; }
    // 12 bits; PIM_DRAWTEXT_DISPLAY_DEPTH (-1, the initial value) is the display's depth.
    void SetSurfaceDepth(int depth);
    int GetSurfaceDepth() const { return m_surfaceDepth; }
    // Code-point indices [start, end); PIM_NO_SELECTION as the start is none.
    void SetSelection(int32_t start, int32_t end, uint32_t textColour = 0x00FFFFFF,
                      uint32_t backgroundColour = 0x00000080);
    void ClearSelection() { SetSelection(PIM_NO_SELECTION, PIM_NO_SELECTION); }
    const ST_TEXT_SELECTION& GetSelection() const { return m_selection; }
    bool HasSelection() const { return m_selection.start != PIM_NO_SELECTION; }

    void SetDirty() { m_dirty = true; }
    bool IsDirty() const { return m_dirty; }

    // Renders the text when dirty (or the size changed), then draws as a sprite.
    void Draw(CxRenderTarget& target, const CxRect& clip) override;

protected:
    // Marks dirty and asks for a redraw.
    void Changed();
    // Where DrawText lays the text out inside the surface.
    CxRect TextRect() const { return CxRect(4, 0, m_size.width - 5, m_size.height - 1); }
    // The depth the surface is made at.
    int EffectiveDepth() const;
    // A surface of the object's size and depth (kept when it has them already).
    bool PrepareSurface();
    // What lies beneath the object in `target`, within `clip` (local
    // coordinates); false when only part of the object could be taken.
    bool CopyBackground(CxRenderTarget& target, const CxRect& clip);
    void ClearToKey();
    // The surface's pixel value (for FillRect) of 0x00RRGGBB.
    uint32_t SurfaceColour(uint32_t rgb) const;

    CxString m_text;
    intptr_t m_fontHandle = PIM_DEFAULT_FONT;
    uint32_t m_colour = PIM_NO_COLOUR;
    uint32_t m_background = PIM_NO_COLOUR;
    uint32_t m_shadowColour = 0x00000000;
    uint32_t m_textFlags = PIM_DRAWTEXT_DEFAULT_FLAGS;
    int16_t m_pointSize = 0;
    int16_t m_surfaceDepth = PIM_DRAWTEXT_DISPLAY_DEPTH;
    bool m_dirty = true;
    bool m_backgroundOn = true;
    ST_TEXT_SELECTION m_selection;
};
