#pragma once
// A one-line or multi-line input field: a text object with a blinking
// caret, a selection, a password mode and a whitelist of characters.
//
// Keys arrive as the application sends them (PimKeyCodes.h): the Shift bit
// (PIM_KEY_SHIFT) extends the selection with Left, Right, Home and End.
// After every key the parent hears OnNotify(PIM_NOTIFY_EDIT_KEY, field,
// key, 0). Positions are code-point indices into the text.

#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/display/CxDrawText.h"

#include <vector>

// Edit flags.
enum : uint32_t
{
    PIM_EDIT_MULTILINE = 0x1,  // Enter inserts a line break
    PIM_EDIT_PASS_KEYS = 0x2,  // every key goes on to the parent as well
    PIM_EDIT_CARET = 0x4,      // the field takes keys and shows its caret
    PIM_EDIT_FIT_WIDTH = 0x8,  // only the part around the caret that fits is shown
    PIM_EDIT_UPPERCASE = 0x10, // typed letters become capitals
    PIM_EDIT_PASSWORD = 0x20,  // drawn as one "*" per character
};

constexpr uint32_t PIM_EDITTEXT_HIT_MASK = 97;
constexpr int PIM_NOTIFY_EDIT_KEY = 3;
constexpr int32_t PIM_EDIT_DEFAULT_MAX_LENGTH = 0x7FFF;
constexpr uint32_t PIM_CARET_BLINK_MS = 250;
// The caret picture's transparent colour (its hidden frame).
constexpr uint32_t PIM_CARET_KEY = 10;

class CxEditText : public CxDrawText, public CxTimerListener
{
public:
    CxEditText();
    ~CxEditText() override;

    // --- the text ------------------------------------------------------------------------
    // Replaces the whole text (cut to the maximum length); the caret goes to
    // its end and the selection is cleared.
    void SetText(const char* text) override;
    const char* GetText() const override { return m_editText.GetText(); }
    int32_t GetLength() const { return static_cast<int32_t>(m_codes.size()); }
    // What is drawn: stars in password mode, only the visible part.
    const char* GetShownText() const { return m_text.GetText(); }

    // --- settings ------------------------------------------------------------------------
    void SetEditFlags(uint32_t flags);
    uint32_t GetEditFlags() const { return m_editFlags; }
    // The characters typing may insert (codes 1..127); null or "" allows none.
    void SetAllowedChars(const char* chars);
    const char* GetAllowedChars() const { return m_allowed.GetText(); }
    bool IsAllowed(uint32_t code) const;
    // At most 0x7FFF (the initial value).
    void SetMaxLength(int32_t length);
    int32_t GetMaxLength() const { return m_maxLength; }
    // Pixels the shown text must stay narrower than; 0 for no limit.
    void SetMaxWidth(int32_t width);
    int32_t GetMaxWidth() const { return m_maxWidth; }
    // 0x00RRGGBB; black initially.
    void SetCaretColour(uint32_t colour);

    // --- caret and selection -------------------------------------------------------------
    void SetCaretPosition(int32_t position);
    int32_t GetCaretPosition() const { return m_caret; }
    int32_t GetFirstVisible() const { return m_firstVisible; }
    int32_t GetVisibleCount() const { return m_visibleCount; }
    // The caret picture (a child of the field), null until a font gave it a height.
    CxSprite* GetCaretSprite() { return m_caretSprite.GetSurface() ? &m_caretSprite : nullptr; }
    // Where the caret sits in the field.
    CxPoint GetCaretPoint() const { return m_caretPoint; }
    // Selects [start, end) (clamped to the text); the caret goes to `end`.
    void Select(int32_t start, int32_t end);
    // Text indices; PIM_NO_SELECTION when there is none.
    int32_t GetSelectionStart() const { return m_selStart; }
    int32_t GetSelectionEnd() const { return m_selEnd; }
    bool HasEditSelection() const { return m_selStart != PIM_NO_SELECTION; }
    // The selected text, "" without a selection.
    CxString GetSelectedText() const;
    // The caret position nearest to a point in the field's coordinates.
    int32_t PositionAt(CxPoint point) const;

    // --- input ---------------------------------------------------------------------------
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnSetFocus() override;
    void OnKillFocus() override;
    void OnTimer(CxTimerCallBack* timer) override;
    void Draw(CxRenderTarget& target, const CxRect& clip) override;

private:
    struct ST_EDIT_LINE
    {
        int32_t start = 0; // text indices; the line feed ending a line is not in it
        int32_t end = 0;
    };

    // Applies one editing key; false for the keys that go to the parent.
    bool ApplyKey(uint32_t code, bool shift);
    // Replaces the selection by `code` or inserts it at the caret, within
    // the length limit (and the width limit with `checkWidth`).
    bool InsertCode(uint32_t code, bool checkWidth);
    bool DeleteRange(int32_t start, int32_t end);
    bool DeleteSelection();
    void ClearEditSelection() { m_selStart = m_selEnd = PIM_NO_SELECTION; }
    // Moves the caret, extending the selection from its anchor with `extend`.
    void MoveCaret(int32_t position, bool extend);
    // The end of the selection that stays put while the other one moves.
    int32_t SelectionAnchor() const;
    // Rebuilds the UTF-8 text from the code points.
    void TextChanged();
    // The shown text, the visible part and the caret's place; then a redraw.
    void Layout();
    void Refresh();
    // False when the font, the point size, the text flags or the width
    // changed since the last layout.
    bool IsLaidOut() const;
    void ScrollToCaret(const std::vector<int32_t>& offsets);
    uint32_t ShownCode(uint32_t code) const;
    CxString ShownText(int32_t start, int32_t end) const;
    int32_t Advance(CxFont& font, uint32_t code) const;
    // out[i]: the x at which shown character i starts, lines not counted.
    void Offsets(const std::vector<uint32_t>& codes, std::vector<int32_t>& out) const;
    int32_t WidestLine(const std::vector<uint32_t>& codes) const;
    // The lines as laid out (one unless multi-line).
    void LayOutLines(std::vector<ST_EDIT_LINE>& lines) const;
    int32_t LineHeight() const;
    int32_t LinePitch() const;
    void UpdateCaretSprite();
    void BuildCaretPicture();
    void RestartBlink();

    std::vector<uint32_t> m_codes;
    CxString m_editText;
    CxString m_allowed;
    int32_t m_caret = 0;
    int32_t m_selStart = PIM_NO_SELECTION;
    int32_t m_selEnd = PIM_NO_SELECTION;
    int32_t m_firstVisible = 0;
    int32_t m_visibleCount = 0;
    int32_t m_maxLength = PIM_EDIT_DEFAULT_MAX_LENGTH;
    int32_t m_maxWidth = 0;
    uint32_t m_editFlags = PIM_EDIT_CARET;
    uint32_t m_caretColour = 0x00000000;
    CxPoint m_caretOffset{3, 3};
    CxPoint m_caretPoint{3, 3};
    CxSprite m_caretSprite;
    int32_t m_caretHeight = 0;
    CxTimerCallBack m_blinkTimer;
    uint32_t m_blinkStart = 0;
    // What the last layout measured with; a change is caught at drawing time.
    const CxFont* m_laidOutFont = nullptr;
    int32_t m_laidOutWidth = -1;
    int m_laidOutPointSize = -1;
    uint32_t m_laidOutTextFlags = 0;
    bool m_dragging = false;
};
