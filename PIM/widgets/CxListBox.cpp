#include "PIM/widgets/CxListBox.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/Pimstr.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <algorithm>

// ------------------------------------------------------------------------------------------
// CxListBox
// ------------------------------------------------------------------------------------------

CxListBox::CxListBox()
{
    m_hitMask = PIM_LISTBOX_HIT_MASK;
}

CxListBox::~CxListBox()
{
    // Let the display system forget the list before its items go, so that no
    // hook sees a half-emptied list.
    ForgetSelf();
    DeleteItems();
}

// --- items --------------------------------------------------------------------------------

bool CxListBox::Reserve(int count)
{
    if (count <= m_capacity)
        return true;
    const int capacity = std::max(count, m_capacity * 2 + 8);
    auto* items = static_cast<CxDisplayObject**>(
        Allocate(sizeof(CxDisplayObject*) * static_cast<size_t>(capacity), __FILE__, __LINE__, true));
    if (!items)
        return false;
    for (int i = 0; i < m_count; ++i)
        items[i] = m_items[i];
    Free(m_items);
    m_items = items;
    m_capacity = capacity;
    return true;
}

int CxListBox::InsertItem(int index, CxDisplayObject* item)
{
    if (!item || item == this)
        return PIM_ERR_BAD_ARG;
    if (!Reserve(m_count + 1))
        return PIM_ERR_OUT_OF_MEMORY;
    const int addResult = AddChild(item);
    if (addResult != PIM_OK)
        return addResult;
    if (index < 0 || index > m_count)
        index = m_count;
    for (int i = m_count; i > index; --i)
        m_items[i] = m_items[i - 1];
    m_items[index] = item;
    ++m_count;
    // The selection follows its item rather than its position.
    if (m_selection >= index)
        ++m_selection;
    item->Hide();
    if (m_itemHeight == 0 && item->GetHeight() > 0)
        SetItemHeight(item->GetHeight());
    LayoutItems();
    return PIM_OK;
}

int CxListBox::IndexOf(const CxDisplayObject* item) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_items[i] == item)
            return i;
    return -1;
}

void CxListBox::ForgetItem(int index)
{
    for (int i = index + 1; i < m_count; ++i)
        m_items[i - 1] = m_items[i];
    m_items[--m_count] = nullptr;
    if (m_selection == index)
        m_selection = -1;
    else if (m_selection > index)
        --m_selection;
    m_topIndex = std::clamp(m_topIndex, 0, MaxTopIndex());
}

int CxListBox::RemoveItem(int index)
{
    if (index < 0 || index >= m_count)
        return PIM_ERR_BAD_ARG;
    CxDisplayObject* item = m_items[index];
    ForgetItem(index);
    // The destructor takes the item out of the tree and marks its area.
    delete item;
    LayoutItems();
    return PIM_OK;
}

void CxListBox::RemoveChild(CxDisplayObject* child)
{
    // An item deleted, detached or given to another parent by someone else
    // is no longer the list's: drop it so that no dangling row stays behind.
    const int index = IndexOf(child);
    CxSprite::RemoveChild(child);
    if (index >= 0) {
        ForgetItem(index);
        LayoutItems();
    }
}

void CxListBox::DeleteItems()
{
    // Taken off the list first, so that the items' own destructors, which
    // detach them through RemoveChild, find nothing to forget.
    CxDisplayObject** items = m_items;
    const int count = m_count;
    m_items = nullptr;
    m_count = 0;
    m_capacity = 0;
    m_selection = -1;
    m_topIndex = 0;
    for (int i = 0; i < count; ++i)
        delete items[i];
    Free(items);
}

void CxListBox::RemoveAll()
{
    DeleteItems();
    LayoutItems();
}

CxDisplayObject* CxListBox::GetItem(int index) const
{
    return index >= 0 && index < m_count ? m_items[index] : nullptr;
}

// --- look ---------------------------------------------------------------------------------

void CxListBox::SetAlignment(int alignment)
{
    if (alignment < PIM_LIST_ALIGN_LEFT || alignment > PIM_LIST_ALIGN_RIGHT || alignment == m_alignment)
        return;
    m_alignment = alignment;
    LayoutItems();
}

void CxListBox::SetSelection(int item)
{
    m_selection = item >= 0 && item < m_count ? item : -1;
    LayoutItems();
}

void CxListBox::ClearSelection()
{
    m_selection = -1;
    LayoutItems();
}

void CxListBox::SetHighlight(bool on)
{
    if (on == m_highlight)
        return;
    m_highlight = on;
    LayoutItems();
}

// --- rows in view -------------------------------------------------------------------------

void CxListBox::SetVisibleCount(int count)
{
    m_visibleCount = count < 0 ? -1 : count;
    m_topIndex = std::clamp(m_topIndex, 0, MaxTopIndex());
    LayoutItems();
}

void CxListBox::ComputeVisibleCount()
{
    // Without an item height nothing can be said to fit; a list lower than
    // its 4-pixel border holds no row at all.
    m_visibleCount = m_itemHeight > 0 ? std::max(0, (m_size.height - 4) / m_itemHeight) : 0;
}

int CxListBox::VisibleRows()
{
    if (m_visibleCount < 0)
        ComputeVisibleCount();
    return std::max(0, m_visibleCount);
}

int CxListBox::MaxTopIndex()
{
    return std::max(0, m_count - VisibleRows());
}

void CxListBox::SetItemHeight(int height)
{
    m_itemHeight = std::max(0, height);
    ComputeVisibleCount();
    m_topIndex = std::clamp(m_topIndex, 0, MaxTopIndex());
    LayoutItems();
}

void CxListBox::OnResize(CxSize size)
{
    CxSprite::OnResize(size);
    // A count set by hand is the owner's business; a computed one follows the height.
    ComputeVisibleCount();
    m_topIndex = std::clamp(m_topIndex, 0, MaxTopIndex());
    LayoutItems();
}

void CxListBox::ScrollUp(int n)
{
    const int visible = VisibleRows();
    int top = m_topIndex;
    if (m_count > visible)
        top = std::clamp(m_topIndex - n, 0, m_count - visible);
    SetTopIndex(top);
}

void CxListBox::SetTopIndex(int index)
{
    // An index at or past the end names the last item; the clamp then keeps
    // a full page in view where there are enough items for one.
    if (index >= m_count)
        index = m_count - 1;
    index = std::clamp(index, 0, MaxTopIndex());
    if (index == m_topIndex)
        return;
    m_topIndex = index;
    LayoutItems();
}

// --- layout -------------------------------------------------------------------------------

void CxListBox::ApplyHighlight(CxSprite& sprite, bool selected) const
{
    ST_DRAW_PARAMS params;
    if (selected) {
        const CxDrawSurface* surface = sprite.GetSurface();
        if (surface && surface->GetDepth() == 8) {
            params.mode = PIM_DRAW_KEY_COLOURED;
            params.argument1 = PIM_LIST_HIGHLIGHT_PALETTE_INDEX;
        } else if (sprite.GetEffectiveKey() == PIM_NO_COLOUR) {
            // No key pixels to colour: tint the whole item blue instead.
            params.mode = PIM_DRAW_ADD_RGB;
            params.argument3 = PIM_LIST_HIGHLIGHT_BLUE_ADD;
        } else {
            params.mode = PIM_DRAW_KEY_COLOURED;
            params.argument1 = static_cast<int32_t>(PIM_LIST_HIGHLIGHT_COLOUR);
        }
    }
    sprite.SetDrawParams(&params);
    sprite.Invalidate();
}

void CxListBox::LayoutItems()
{
    const int visible = VisibleRows();
    for (int i = 0; i < m_count; ++i)
        m_items[i]->Hide();
    for (int row = 0; row < visible && m_topIndex + row < m_count; ++row) {
        const int32_t y = RowOrigin() + row * m_itemHeight;
        if (y >= m_size.height)
            break;
        const int index = m_topIndex + row;
        CxDisplayObject* item = m_items[index];
        if (m_highlight && (item->GetHitMask() & 1u) != 0) {
            if (auto* sprite = dynamic_cast<CxSprite*>(item))
                ApplyHighlight(*sprite, index == m_selection);
        }
        switch (m_alignment) {
        case PIM_LIST_ALIGN_CENTRE:
            item->MoveTo(m_size.width / 2, y, PIM_ANCHOR_MIDDLE_TOP);
            break;
        case PIM_LIST_ALIGN_RIGHT:
            // The right anchor names the object's last column: anchoring at
            // the width itself would push the item a pixel past the edge.
            item->MoveTo(m_size.width - 1, y, PIM_ANCHOR_TOP_RIGHT);
            break;
        default:
            item->MoveTo(0, y, PIM_ANCHOR_TOP_LEFT);
            break;
        }
        item->Show();
    }
}

// --- input --------------------------------------------------------------------------------

void CxListBox::NotifySelection(int item, int doubleClick)
{
    if (m_routine)
        m_routine(this, item, doubleClick);
    else if (m_parent)
        m_parent->OnNotify(PIM_NOTIFY_LIST_SELECT, this, item, doubleClick);
}

void CxListBox::PickAt(CxPoint point, int doubleClick)
{
    const int visible = VisibleRows();
    const int32_t y = point.y - RowOrigin();
    if (m_itemHeight <= 0 || y < 0)
        return;
    const int row = y / m_itemHeight;
    const int index = m_topIndex + row;
    if (row >= visible || index >= m_count)
        return;
    SetSelection(index);
    NotifySelection(index, doubleClick);
}

void CxListBox::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    (void)buttons;
    PickAt(point, 0);
}

void CxListBox::OnLButtonDblClk(uint32_t buttons, CxPoint point)
{
    (void)buttons;
    PickAt(point, 1);
}

void CxListBox::OnKeyDown(uint32_t key, uint32_t flags)
{
    switch (key) {
    case PIM_KEY_END:
        ScrollToBottom();
        break;
    case PIM_KEY_HOME:
        ScrollToTop();
        break;
    case PIM_KEY_UP:
        LineUp();
        break;
    case PIM_KEY_DOWN:
        LineDown();
        break;
    case PIM_KEY_PAGEUP:
        PageUp();
        break;
    case PIM_KEY_PAGEDOWN:
        PageDown();
        break;
    default:
        CxSprite::OnKeyDown(key, flags);
        break;
    }
}

// ------------------------------------------------------------------------------------------
// CxTextListBox
// ------------------------------------------------------------------------------------------

CxTextListBox::CxTextListBox() = default;

int CxTextListBox::InsertString(int index, const char* text)
{
    auto* item = new CxDrawText;
    if (!item)
        return PIM_ERR_OUT_OF_MEMORY;
    item->Create(2, 2, std::max(0, m_size.width - 4), m_rowHeight, nullptr);
    item->SetTextFlags(m_textFlags);
    item->SetColour(m_textColour);
    if (m_background != PIM_NO_COLOUR)
        item->SetBackground(m_background);
    item->SetFont(m_font);
    item->SetText(text ? text : "");
    const int result = InsertItem(index, item);
    if (result != PIM_OK)
        delete item;
    return result;
}

const char* CxTextListBox::GetString(int index) const
{
    const auto* text = dynamic_cast<const CxDrawText*>(GetItem(index));
    return text ? text->GetText() : nullptr;
}

int CxTextListBox::FindString(const char* text, bool ignoreCase) const
{
    if (!text)
        return -1;
    for (int i = 0; i < m_count; ++i) {
        const char* itemText = GetString(i);
        if (itemText && PimStrEqual(itemText, text, ignoreCase))
            return i;
    }
    return -1;
}

void CxTextListBox::LayoutItems()
{
    // Scrolling and clicks rely on the count, so it is settled here as in
    // the plain list, although text rows are placed by the height alone.
    VisibleRows();
    for (int i = 0; i < m_count; ++i)
        m_items[i]->Hide();
    for (int row = 0; m_topIndex + row < m_count && row * m_rowHeight < m_size.height; ++row) {
        const int index = m_topIndex + row;
        CxDisplayObject* item = m_items[index];
        if (auto* text = dynamic_cast<CxDrawText*>(item)) {
            const bool selected = index == m_selection;
            text->SetTextFlags(m_textFlags);
            text->SetColour(selected ? m_selectedText : m_textColour);
            text->SetBackground(selected ? m_selectedBackground : m_background);
            text->SetFont(m_font);
        }
        item->MoveTo(RowOrigin(), RowOrigin() + row * m_rowHeight, PIM_ANCHOR_TOP_LEFT);
        item->Show();
        if (m_rowHeight <= 0)
            break;
    }
}

void CxTextListBox::SetTextFlags(uint32_t flags)
{
    m_textFlags = flags & PIM_TEXTLIST_FLAG_MASK;
    LayoutItems();
}

void CxTextListBox::SetFont(intptr_t handle)
{
    m_font = handle;
    LayoutItems();
}

void CxTextListBox::SetRowHeight(int height)
{
    m_rowHeight = std::max(0, height);
    for (int i = 0; i < m_count; ++i)
        m_items[i]->Resize(CxSize(m_items[i]->GetWidth(), m_rowHeight));
    SetItemHeight(m_rowHeight);
    LayoutItems();
}

void CxTextListBox::SetColours(uint32_t text, uint32_t background)
{
    m_textColour = text;
    m_background = background;
    LayoutItems();
}

void CxTextListBox::SetSelectionColours(uint32_t text, uint32_t background)
{
    m_selectedText = text;
    m_selectedBackground = background;
    LayoutItems();
}
