// List boxes: which clicks pick a row and who hears of it, scrolling by keys
// and by calls on short, long and empty lists, how removal moves the
// selection, the highlight and alignment of plain items, and the text list's
// rows, colours and search.
#include "PIM/core/PimKeyCodes.h"
#include "PIM/widgets/CxListBox.h"

#include "tests/display/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ST_PICK
{
    int code;
    CxDisplayObject* sender;
    intptr_t item;
    intptr_t doubleClick;
};

class ListOwner : public CxDisplayObject
{
public:
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override
    {
        picks.push_back(ST_PICK{code, sender, first, second});
        return 0;
    }
    void OnKeyDown(uint32_t key, uint32_t) override { keys.push_back(key); }

    std::vector<ST_PICK> picks;
    std::vector<uint32_t> keys;
};

// A sprite that says when it is deleted.
class TrackedSprite : public CxSprite
{
public:
    explicit TrackedSprite(bool* deleted) : m_deleted(deleted) {}
    ~TrackedSprite() override
    {
        if (m_deleted)
            *m_deleted = true;
    }

private:
    bool* m_deleted;
};

std::vector<int> g_routineCalls;
void RecordPick(CxListBox*, int item, int doubleClick)
{
    g_routineCalls.push_back(item * 10 + doubleClick);
}

class ListBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(200, 120), 1), PIM_OK);
        m_owner.Create(0, 0, 200, 120, GetRootObject());
        m_owner.Show();
        // (64 - 4) / 20: three rows in view.
        m_list.Create(10, 10, 100, 64, &m_owner);
        m_list.Show();
        g_routineCalls.clear();
    }
    void TearDown() override
    {
        m_list.Detach();
        m_owner.Detach();
    }

    // A 40 x 20 item of `depth` bits, hit mask bit 0 set so that it takes the highlight.
    CxSprite* NewItem(int depth = 16, bool* deleted = nullptr)
    {
        auto* sprite = new TrackedSprite(deleted);
        DisplayTest::MakeSprite(*sprite, nullptr, 0, 0, 40, 20, 0x1234, 1, depth);
        sprite->SetHitMask(1);
        return sprite;
    }
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(m_list.AppendItem(NewItem()), PIM_OK);
    }
    void Click(int32_t x, int32_t y, bool twice = false)
    {
        DispatchMouse(MouseEvent(twice ? EMouseAction::DoubleClick : EMouseAction::Down, EMouseButton::Left,
                                 CxPoint(10 + x, 10 + y), 1));
    }
    void Key(uint32_t key) { m_list.OnKeyDown(key, 0); }
    std::vector<int> ShownItems() const
    {
        std::vector<int> shown;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            if (m_list.GetItem(i)->IsShown())
                shown.push_back(i);
        return shown;
    }

    ListOwner m_owner;
    CxListBox m_list;
};

TEST_F(ListBox, ClicksPickOnlyExistingRowsInView)
{
    // No items and no item height yet: a click must neither divide by zero nor pick.
    Click(5, 5);
    EXPECT_EQ(m_list.GetSelection(), -1);
    EXPECT_EQ(m_list.GetItemHeight(), 0);
    EXPECT_EQ(m_list.GetVisibleCount(), 0);

    Fill(2);
    EXPECT_EQ(m_list.GetItemHeight(), 20);
    EXPECT_EQ(m_list.GetVisibleCount(), 3);

    // Through an item (the point reaches the list in its own coordinates).
    Click(5, 25);
    EXPECT_EQ(m_list.GetSelection(), 1);
    ASSERT_EQ(m_owner.picks.size(), 1u);
    EXPECT_EQ(m_owner.picks[0].code, PIM_NOTIFY_LIST_SELECT);
    EXPECT_EQ(m_owner.picks[0].sender, &m_list);
    EXPECT_EQ(m_owner.picks[0].item, 1);
    EXPECT_EQ(m_owner.picks[0].doubleClick, 0);

    // Below the last item: the third row exists on screen but holds nothing.
    Click(5, 45);
    Click(70, 50, true);
    EXPECT_EQ(m_list.GetSelection(), 1);
    EXPECT_EQ(m_owner.picks.size(), 1u);

    Click(5, 5, true);
    EXPECT_EQ(m_list.GetSelection(), 0);
    ASSERT_EQ(m_owner.picks.size(), 2u);
    EXPECT_EQ(m_owner.picks[1].doubleClick, 1);

    // A routine takes the place of the parent.
    m_list.SetSelectionRoutine(RecordPick);
    Click(5, 25, true);
    EXPECT_EQ(g_routineCalls, (std::vector<int>{11}));
    EXPECT_EQ(m_owner.picks.size(), 2u);

    // Rows below the visible count are not picked even when items exist there.
    Fill(5);
    m_list.SetSelectionRoutine(nullptr);
    m_list.OnLButtonDown(1, CxPoint(5, 61));
    EXPECT_EQ(m_list.GetSelection(), 1);

    // Without a parent nobody hears, and nothing breaks.
    CxListBox orphan;
    orphan.Create(0, 0, 50, 44, nullptr);
    orphan.AppendItem(NewItem());
    orphan.OnLButtonDown(1, CxPoint(1, 1));
    EXPECT_EQ(orphan.GetSelection(), 0);
}

TEST_F(ListBox, KeysScrollWithinRangeOnShortLongAndEmptyLists)
{
    for (uint32_t key : {PIM_KEY_END, PIM_KEY_PAGEDOWN, PIM_KEY_DOWN, PIM_KEY_HOME, PIM_KEY_UP})
        Key(key);
    EXPECT_EQ(m_list.GetTopIndex(), 0);

    Fill(2);
    Key(PIM_KEY_END);
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    EXPECT_EQ(ShownItems(), (std::vector<int>{0, 1}));

    Fill(8);
    m_list.SetSelection(4);
    Key(PIM_KEY_END);
    EXPECT_EQ(m_list.GetTopIndex(), 7);
    EXPECT_EQ(ShownItems(), (std::vector<int>{7, 8, 9}));
    Key(PIM_KEY_DOWN);
    EXPECT_EQ(m_list.GetTopIndex(), 7);
    Key(PIM_KEY_HOME);
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    Key(PIM_KEY_PAGEDOWN);
    Key(PIM_KEY_DOWN);
    EXPECT_EQ(m_list.GetTopIndex(), 4);
    Key(PIM_KEY_PAGEUP);
    Key(PIM_KEY_UP);
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    Key(PIM_KEY_PAGEUP);
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    EXPECT_EQ(m_list.GetSelection(), 4);

    // Keys the list has no use for go up to its parent.
    Key('a');
    EXPECT_EQ(m_owner.keys, (std::vector<uint32_t>{'a'}));
    EXPECT_TRUE(m_owner.picks.empty());
}

TEST_F(ListBox, ScrollingAndRemovalKeepTheTopIndexInRange)
{
    Fill(10);
    m_list.ScrollDown(100);
    EXPECT_EQ(m_list.GetTopIndex(), 7);
    m_list.ScrollUp(100);
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    m_list.SetTopIndex(50);
    EXPECT_EQ(m_list.GetTopIndex(), 7);
    m_list.SetTopIndex(-3);
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    m_list.ScrollToIndex(5);
    EXPECT_EQ(m_list.GetTopIndex(), 5);
    EXPECT_EQ(ShownItems(), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(m_list.GetItem(6)->GetPosition(), CxPoint(0, 20));

    // Removing from a list scrolled to the end pulls the view back.
    m_list.ScrollToBottom();
    m_list.RemoveItem(9);
    m_list.RemoveItem(0);
    EXPECT_EQ(m_list.GetTopIndex(), 5);
    EXPECT_EQ(ShownItems(), (std::vector<int>{5, 6, 7}));

    // Growing the list shows more rows and may pull the view back again.
    m_list.Resize(CxSize(100, 124));
    EXPECT_EQ(m_list.GetVisibleCount(), 6);
    EXPECT_EQ(m_list.GetTopIndex(), 2);

    m_list.RemoveAll();
    m_list.SetTopIndex(0);
    m_list.ScrollToBottom();
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    EXPECT_EQ(m_list.GetItemCount(), 0);

    // A list lower than its border has no rows, never a negative count.
    m_list.Resize(CxSize(100, 3));
    EXPECT_EQ(m_list.GetVisibleCount(), 0);
    Fill(3);
    m_list.ScrollToBottom();
    EXPECT_EQ(m_list.GetTopIndex(), 2);
    EXPECT_TRUE(ShownItems().empty());
}

TEST_F(ListBox, RemovalMovesOrClearsTheSelection)
{
    bool deleted[5] = {};
    for (bool& flag : deleted)
        m_list.AppendItem(NewItem(16, &flag));
    CxDisplayObject* picked = m_list.GetItem(3);
    m_list.SetSelection(3);

    EXPECT_EQ(m_list.RemoveItem(1), PIM_OK);
    EXPECT_TRUE(deleted[1]);
    EXPECT_EQ(m_list.GetSelection(), 2);
    EXPECT_EQ(m_list.GetItem(2), picked);

    // Inserting ahead of the selection keeps the same item selected.
    m_list.PrependItem(NewItem());
    EXPECT_EQ(m_list.GetSelection(), 3);
    EXPECT_EQ(m_list.GetItem(3), picked);

    m_list.RemoveItem(4);
    EXPECT_EQ(m_list.GetSelection(), 3);
    m_list.RemoveItem(3);
    EXPECT_TRUE(deleted[3]);
    EXPECT_EQ(m_list.GetSelection(), -1);

    EXPECT_EQ(m_list.RemoveItem(3), PIM_ERR_BAD_ARG);
    EXPECT_EQ(m_list.RemoveItem(-1), PIM_ERR_BAD_ARG);
    EXPECT_EQ(m_list.InsertItem(0, nullptr), PIM_ERR_BAD_ARG);
    m_list.SetSelection(7);
    EXPECT_EQ(m_list.GetSelection(), -1);

    // Items deleted or taken away behind the list's back leave no dangling row.
    m_list.AppendItem(NewItem());
    m_list.SetSelection(3);
    CxDisplayObject* last = m_list.GetItem(3);
    delete m_list.GetItem(0);
    EXPECT_EQ(m_list.GetItemCount(), 3);
    EXPECT_EQ(m_list.GetSelection(), 2);
    EXPECT_EQ(m_list.GetItem(2), last);
    m_owner.AddChild(last);
    EXPECT_EQ(m_list.GetItemCount(), 2);
    EXPECT_EQ(m_list.GetSelection(), -1);
    delete last;

    m_list.RemoveAll();
    EXPECT_TRUE(deleted[0]);
    EXPECT_TRUE(deleted[2]);
    EXPECT_TRUE(deleted[4]);
    EXPECT_EQ(m_list.GetItemCount(), 0);
}

TEST_F(ListBox, HighlightAndAlignmentPlaceAndPaintRows)
{
    CxSprite* keyed = NewItem();
    keyed->SetTransparentColour(0);
    CxSprite* unkeyed = NewItem();
    CxSprite* paletted = NewItem(8);
    CxSprite* inert = NewItem();
    inert->SetHitMask(2);
    for (CxSprite* item : {keyed, unkeyed, paletted, inert})
        m_list.AppendItem(item);

    m_list.SetSelection(0);
    EXPECT_EQ(keyed->GetDrawParams().mode, PIM_DRAW_KEY_COLOURED);
    EXPECT_EQ(keyed->GetDrawParams().argument1, 0x80);
    m_list.SetSelection(1);
    EXPECT_EQ(keyed->GetDrawParams().mode, PIM_DRAW_COPY);
    EXPECT_EQ(unkeyed->GetDrawParams().mode, PIM_DRAW_ADD_RGB);
    EXPECT_EQ(unkeyed->GetDrawParams().argument3, 60);
    m_list.SetSelection(2);
    EXPECT_EQ(paletted->GetDrawParams().mode, PIM_DRAW_KEY_COLOURED);
    EXPECT_EQ(paletted->GetDrawParams().argument1, 252);
    m_list.SetHighlight(false);
    EXPECT_EQ(paletted->GetDrawParams().mode, PIM_DRAW_KEY_COLOURED);
    m_list.SetHighlight(true);
    m_list.ScrollToBottom();
    m_list.SetSelection(3);
    EXPECT_EQ(inert->GetDrawParams().mode, PIM_DRAW_COPY);

    // 100 wide list, 40 wide items.
    m_list.ScrollToTop();
    EXPECT_EQ(unkeyed->GetPosition(), CxPoint(0, 20));
    m_list.SetAlignment(PIM_LIST_ALIGN_CENTRE);
    EXPECT_EQ(unkeyed->GetPosition(), CxPoint(30, 20));
    m_list.SetAlignment(PIM_LIST_ALIGN_RIGHT);
    EXPECT_EQ(unkeyed->GetPosition(), CxPoint(60, 20));
    m_list.SetAlignment(7);
    EXPECT_EQ(m_list.GetAlignment(), PIM_LIST_ALIGN_RIGHT);
}

TEST_F(ListBox, TextListRowsColoursAndSearch)
{
    m_list.Hide();
    CxTextListBox list;
    list.Create(10, 10, 100, 64, &m_owner);
    list.Show();
    list.SetRowHeight(20);
    list.SetTextFlags(0xF024);
    list.SetColours(0x00C0C0C0, PIM_NO_COLOUR);
    list.SetSelectionColours(0x00FFFF00, 0x00000040);
    for (const char* text : {"Apple", "banana", "Cherry", "apple"})
        ASSERT_EQ(list.AddString(text), PIM_OK);
    list.PrependString("first");

    EXPECT_EQ(list.FindString("apple", false), 4);
    EXPECT_EQ(list.FindString("APPLE", true), 1);
    EXPECT_EQ(list.FindString("cherr", true), -1);
    EXPECT_EQ(list.FindString("first", false), 0);

    auto* row = static_cast<CxDrawText*>(list.GetItem(1));
    EXPECT_EQ(row->GetSize(), CxSize(96, 20));
    EXPECT_EQ(row->GetPosition(), CxPoint(2, 22));
    EXPECT_EQ(row->GetTextFlags(), 0x024u);

    // A click lands on rows that start below the 2-pixel border.
    Click(30, 23);
    EXPECT_EQ(list.GetSelection(), 1);
    EXPECT_EQ(row->GetColour(), 0x00FFFF00u);
    EXPECT_EQ(row->GetBackground(), 0x00000040u);
    auto* other = static_cast<CxDrawText*>(list.GetItem(0));
    EXPECT_EQ(other->GetColour(), 0x00C0C0C0u);
    EXPECT_EQ(other->GetBackground(), PIM_NO_COLOUR);

    list.ClearSelection();
    EXPECT_EQ(row->GetColour(), 0x00C0C0C0u);
    list.RemoveItem(1);
    EXPECT_EQ(list.FindString("apple", true), 3);
    list.Detach();
}

} // namespace
