#pragma once
// List boxes: a sprite that owns a column of display objects (its items),
// shows the run of them that fits starting at the top index, and lets the
// user pick one with the mouse and scroll with the keys. CxTextListBox makes
// its items from strings and paints the selected row in its own colours.
//
// Whatever the call sequence, the top index stays within
// 0 .. max(0, item count - visible count) and the selection names an
// existing item or is -1, so layout never reaches outside the item array.

#include "PIM/display/CxDrawText.h"
#include "PIM/display/CxSprite.h"

class CxListBox;

// The hit mask of list boxes.
constexpr uint32_t PIM_LISTBOX_HIT_MASK = 129;
// The parent hears OnNotify(PIM_NOTIFY_LIST_SELECT, list, item, 0) when no
// selection routine is installed.
constexpr int PIM_NOTIFY_LIST_SELECT = 2;

enum : int
{
    PIM_LIST_ALIGN_LEFT = 1,
    PIM_LIST_ALIGN_CENTRE = 2,
    PIM_LIST_ALIGN_RIGHT = 3,
};

// Highlight parameters given to the selected item of a plain list.
constexpr int32_t PIM_LIST_HIGHLIGHT_PALETTE_INDEX = 252;
constexpr uint32_t PIM_LIST_HIGHLIGHT_COLOUR = 0x00000080;
constexpr int32_t PIM_LIST_HIGHLIGHT_BLUE_ADD = 60;

// Called when the user picks an item: the list, the item index, and 1 for a
// double click (0 for a single one).
using PimListSelectRoutine = void (*)(CxListBox* list, int item, int doubleClick);

class CxListBox : public CxSprite
{
public:
    CxListBox();
    // Deletes the items.
    ~CxListBox() override;

    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonDblClk(uint32_t buttons, CxPoint point) override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    // The visible count depends on the height, so it is recomputed.
    void OnResize(CxSize size) override;
    // An item taken away by other means than RemoveItem stops being the
    // list's (it is not deleted).
    void RemoveChild(CxDisplayObject* child) override;

    // Values other than the three alignments are refused.
    virtual void SetAlignment(int alignment);
    virtual int GetAlignment() const { return m_alignment; }
    // -1, or an index outside the items, clears the selection; redraws.
    virtual void SetSelection(int item);
    virtual int GetSelection() const { return m_selection; }
    // Takes ownership of `item` and makes it a hidden child until layout
    // shows it. An index below 0 or past the last item appends. The first
    // item inserted into a list without an item height sets it. 16 for a
    // null item, 1 when the item array cannot grow (the item stays the
    // caller's then).
    virtual int InsertItem(int index, CxDisplayObject* item);
    int PrependItem(CxDisplayObject* item) { return InsertItem(0, item); }
    int AppendItem(CxDisplayObject* item) { return InsertItem(m_count, item); }
    // Deletes the item; 16 when there is none at `index`.
    virtual int RemoveItem(int index);
    virtual void RemoveAll();
    int GetItemCount() const { return m_count; }
    // Null outside the items.
    CxDisplayObject* GetItem(int index) const;
    // -1 forgets the count so that it is computed again from the height.
    virtual void SetVisibleCount(int count);
    // -1 until computed.
    int GetVisibleCount() const { return m_visibleCount; }
    // (list height - 4) / item height, never below 0; 0 while there is no item height.
    virtual void ComputeVisibleCount();
    void LineUp() { ScrollUp(1); }
    void LineDown() { ScrollDown(1); }
    void PageUp() { ScrollUp(VisibleRows()); }
    void PageDown() { ScrollDown(VisibleRows()); }
    void ScrollToTop() { SetTopIndex(0); }
    void ScrollToBottom() { SetTopIndex(m_count - VisibleRows()); }
    void ScrollToIndex(int index) { SetTopIndex(index); }
    // Moves the top index up by `n` rows (down for negative `n`).
    virtual void ScrollUp(int n);
    void ScrollDown(int n) { ScrollUp(-n); }
    // Negative heights count as 0; recomputes the visible count and lays out.
    virtual void SetItemHeight(int height);
    int GetItemHeight() const { return m_itemHeight; }
    int GetTopIndex() const { return m_topIndex; }
    virtual void ClearSelection();
    // Hides every item, then places and shows the rows in view.
    virtual void LayoutItems();
    virtual void SetHighlight(bool on);
    bool GetHighlight() const { return m_highlight; }
    void SetSelectionRoutine(PimListSelectRoutine routine) { m_routine = routine; }
    PimListSelectRoutine GetSelectionRoutine() const { return m_routine; }
    // Clamped to 0 .. max(0, count - visible); lays out when it changes.
    virtual void SetTopIndex(int index);

protected:
    // The visible count, computed first when unknown; never negative.
    int VisibleRows();
    // The largest top index the items allow.
    int MaxTopIndex();
    // Where row 0 starts, in the list's coordinates.
    virtual int32_t RowOrigin() const { return 0; }
    // Picks the item under `point` (if any) and tells the owner.
    void PickAt(CxPoint point, int doubleClick);
    // The selection routine, else the parent.
    void NotifySelection(int item, int doubleClick);
    // The draw parameters the highlight gives `item` (a sprite).
    void ApplyHighlight(CxSprite& sprite, bool selected) const;
    bool Reserve(int count);
    // -1 when `item` is not one of the items.
    int IndexOf(const CxDisplayObject* item) const;
    // Drops the item at `index` from the array (neither deleting nor
    // detaching it) and mends the selection and the top index.
    void ForgetItem(int index);
    // Deletes every item and resets the selection and the top index.
    void DeleteItems();

    CxDisplayObject** m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
    int m_topIndex = 0;
    int m_visibleCount = -1;
    int m_itemHeight = 0;
    int m_selection = -1;
    int m_alignment = PIM_LIST_ALIGN_LEFT;
    bool m_highlight = true;
    PimListSelectRoutine m_routine = nullptr;
};

// Initial row height of text lists.
constexpr int PIM_TEXTLIST_DEFAULT_ROW_HEIGHT = 16;
// The part of a text object's flag word a text list keeps.
constexpr uint32_t PIM_TEXTLIST_FLAG_MASK = 0xFFF;

class CxTextListBox : public CxListBox
{
public:
    CxTextListBox();

    // Makes a text object at (2, 2) of (list width - 4) x row height with the
    // list's style and inserts it; 1 when memory runs out.
    virtual int InsertString(int index, const char* text);
    int PrependString(const char* text) { return InsertString(0, text); }
    int AddString(const char* text) { return InsertString(m_count, text); }
    // The first text item equal to `text` (ignoring case when asked), or -1.
    virtual int FindString(const char* text, bool ignoreCase) const;
    // The text of the item at `index`; null when it is not a text item.
    const char* GetString(int index) const;

    // Text rows sit inside a 2-pixel border, `row height` apart.
    void LayoutItems() override;

    // --- style: applied at the next layout ---------------------------------------------
    void SetTextFlags(uint32_t flags);
    uint32_t GetTextFlags() const { return m_textFlags; }
    void SetFont(intptr_t handle);
    intptr_t GetFontHandle() const { return m_font; }
    // Also the item height; existing rows are resized.
    void SetRowHeight(int height);
    int GetRowHeight() const { return m_rowHeight; }
    // Backgrounds of PIM_NO_COLOUR (-1) mean none.
    void SetColours(uint32_t text, uint32_t background);
    uint32_t GetTextColour() const { return m_textColour; }
    uint32_t GetBackgroundColour() const { return m_background; }
    void SetSelectionColours(uint32_t text, uint32_t background);
    uint32_t GetSelectionTextColour() const { return m_selectedText; }
    uint32_t GetSelectionBackgroundColour() const { return m_selectedBackground; }

protected:
    int32_t RowOrigin() const override { return 2; }

    uint32_t m_textFlags = PIM_DRAWTEXT_DEFAULT_FLAGS & PIM_TEXTLIST_FLAG_MASK;
    intptr_t m_font = PIM_DEFAULT_FONT;
    int m_rowHeight = PIM_TEXTLIST_DEFAULT_ROW_HEIGHT;
    uint32_t m_textColour = PIM_NO_COLOUR;
    uint32_t m_background = PIM_NO_COLOUR;
    uint32_t m_selectedText = 0x00FFFFFF;
    uint32_t m_selectedBackground = 0x00000080;
};
