// Text objects and input fields: editing driven by key scripts, the limits
// and filters on typing, what the parent hears, the caret's place and blink,
// mouse selection, and how a text object takes its background.
#include "PIM/core/CxTimerManager.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimMessage.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/widgets/CxEditText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every glyph is a 5 x 8 box in a 6-pixel cell ("W" a 9 x 8 box in 10), so
// widths and caret places are easy to work out.
class BoxFont : public CxFont
{
public:
    int Load(const char*) override { return PIM_OK; }
    void Unload() override {}
    int DrawChar(CxDrawSurface& target, int32_t x, int32_t y, uint32_t code, uint32_t colour, int size, uint32_t,
                 uint32_t) override
    {
        const int advance = MeasureChar(code, size);
        const uint32_t rgb = colour == PIM_NO_COLOUR ? 0x00FFFFFF : colour;
        target.FillRect(CxRect(x, y, x + advance - 2, y + 7), FontColourToPixel(target, rgb));
        return advance;
    }
    int MeasureText(const char* text, int size) override
    {
        int width = 0;
        for (const char* p = text; p && *p; ++p)
            width += MeasureChar(static_cast<unsigned char>(*p), size);
        return width;
    }
    int MeasureChar(uint32_t code, int) override { return code == 'W' ? 10 : 6; }
    int GetNativeSize() override { return 10; }
};

struct ST_NOTE
{
    int code;
    CxDisplayObject* sender;
    intptr_t key;
};

// A parent that remembers what its field tells it and the keys handed on.
class FormParent : public CxDisplayObject
{
public:
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t) override
    {
        notes.push_back(ST_NOTE{code, sender, first});
        return 0;
    }
    void OnKeyDown(uint32_t key, uint32_t) override { keys.push_back(key); }

    std::vector<ST_NOTE> notes;
    std::vector<uint32_t> keys;
};

class EditText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(200, 100), 1), PIM_OK);
        m_font = RegisterFont(new BoxFont);
        ASSERT_NE(m_font, 0);
        m_parent.Create(0, 0, 200, 100, GetRootObject());
        m_parent.Show();
        m_field.Create(10, 10, 120, 20, &m_parent);
        m_field.SetFont(m_font);
        m_field.Show();
        m_field.SetFocus();
    }
    void TearDown() override
    {
        m_field.Detach();
        m_parent.Detach();
        DeleteFont(m_font);
        PimSetClock(nullptr);
    }

    // Plain characters type themselves; the rest are keys.
    void Type(const char* text)
    {
        for (const char* p = text; *p; ++p)
            m_field.OnKeyDown(static_cast<unsigned char>(*p), 0);
    }
    void Keys(std::initializer_list<uint32_t> keys)
    {
        for (uint32_t key : keys)
            m_field.OnKeyDown(key, 0);
    }
    std::string Text() const { return m_field.GetText(); }

    intptr_t m_font = 0;
    FormParent m_parent;
    CxEditText m_field;
};

constexpr uint32_t kShiftLeft = PIM_KEY_LEFT | PIM_KEY_SHIFT;
constexpr uint32_t kShiftRight = PIM_KEY_RIGHT | PIM_KEY_SHIFT;

} // namespace

TEST_F(EditText, KeyScriptsEditAroundTheCaret)
{
    Type("hello");
    EXPECT_EQ(Text(), "hello");
    EXPECT_EQ(m_field.GetCaretPosition(), 5);

    // Backspace at the start changes nothing; Delete there takes the first character.
    Keys({PIM_KEY_HOME, PIM_KEY_BACK});
    EXPECT_EQ(Text(), "hello");
    EXPECT_EQ(m_field.GetCaretPosition(), 0);
    Keys({PIM_KEY_DEL});
    EXPECT_EQ(Text(), "ello");

    // Shift+Left from the end selects backwards; typing replaces the selection.
    Keys({PIM_KEY_END, kShiftLeft, kShiftLeft});
    EXPECT_EQ(m_field.GetSelectionStart(), 2);
    EXPECT_EQ(m_field.GetSelectionEnd(), 4);
    EXPECT_EQ(std::string(m_field.GetSelectedText().GetText()), "lo");
    Type("p");
    EXPECT_EQ(Text(), "elp");
    EXPECT_FALSE(m_field.HasEditSelection());
    EXPECT_EQ(m_field.GetCaretPosition(), 3);

    // Shrinking a selection back over its anchor and out the other side.
    Keys({PIM_KEY_LEFT, kShiftRight, kShiftLeft, kShiftLeft});
    EXPECT_EQ(m_field.GetSelectionStart(), 1);
    EXPECT_EQ(m_field.GetSelectionEnd(), 2);
    EXPECT_EQ(m_field.GetCaretPosition(), 1);
    Keys({PIM_KEY_BACK});
    EXPECT_EQ(Text(), "ep");

    // Shift+Home / Shift+End select to the ends; a plain move drops the selection.
    Keys({PIM_KEY_END, PIM_KEY_HOME | PIM_KEY_SHIFT});
    EXPECT_EQ(m_field.GetSelectionStart(), 0);
    EXPECT_EQ(m_field.GetSelectionEnd(), 2);
    Keys({PIM_KEY_RIGHT});
    EXPECT_FALSE(m_field.HasEditSelection());
    EXPECT_EQ(m_field.GetCaretPosition(), 1);
    Keys({PIM_KEY_END | PIM_KEY_SHIFT, PIM_KEY_DEL});
    EXPECT_EQ(Text(), "e");

    // From the window, Shift comes in the flags rather than the key code.
    Keys({PIM_KEY_HOME});
    m_field.OnKeyDown(PIM_KEY_END, PIM_KEY_SHIFT);
    EXPECT_EQ(m_field.GetSelectionStart(), 0);
    EXPECT_EQ(m_field.GetSelectionEnd(), 1);

    // The drawn selection follows the field's selection.
    m_field.Select(0, 1);
    EXPECT_EQ(m_field.GetSelection().start, 0);
    EXPECT_EQ(m_field.GetSelection().end, 1);
}

TEST_F(EditText, TypingObeysFiltersAndLimits)
{
    m_field.SetEditFlags(PIM_EDIT_CARET | PIM_EDIT_PASSWORD);
    m_field.SetAllowedChars("abcW");
    Type("aW1c\x7F");
    EXPECT_EQ(Text(), "aWc");
    // Stars are what is measured: the wide "W" does not push the caret.
    EXPECT_STREQ(m_field.GetShownText(), "***");
    EXPECT_EQ(m_field.GetCaretPoint(), CxPoint(3 * 6 + 3, 3));

    m_field.SetText("");
    m_field.SetAllowedChars("ABC");
    m_field.SetEditFlags(PIM_EDIT_CARET | PIM_EDIT_UPPERCASE);
    Type("abz");
    EXPECT_EQ(Text(), "AB");

    // The length limit refuses a fourth character but not a replacement.
    m_field.SetAllowedChars("abcdefgh");
    m_field.SetEditFlags(PIM_EDIT_CARET);
    m_field.SetText("");
    m_field.SetMaxLength(3);
    Type("abcd");
    EXPECT_EQ(Text(), "abc");
    Keys({kShiftLeft});
    Type("h");
    EXPECT_EQ(Text(), "abh");
    m_field.SetText("abcdefgh");
    EXPECT_EQ(Text(), "abc");

    // The width limit: three 6-pixel glyphs (18) stay under 20, a fourth does not.
    m_field.SetMaxLength(100);
    m_field.SetMaxWidth(20);
    m_field.SetText("");
    Type("abcd");
    EXPECT_EQ(Text(), "abc");

    // Keys with Control or Alt type nothing, and neither does a disabled field.
    m_field.SetMaxWidth(0);
    Keys({'d' | PIM_KEY_CTRL, 'd' | PIM_KEY_ALT});
    EXPECT_EQ(Text(), "abc");
    m_field.Disable();
    Type("d");
    EXPECT_EQ(Text(), "abc");
    m_field.Enable();
    m_field.SetEditFlags(0);
    Type("d");
    EXPECT_EQ(Text(), "abc");
}

TEST_F(EditText, EnterAndNotificationsReachTheParent)
{
    Type("ab");
    Keys({PIM_KEY_ENTER, PIM_KEY_TAB, PIM_KEY_ESC, PIM_KEY_LEFT | PIM_KEY_SHIFT});
    EXPECT_EQ(Text(), "ab");
    // Only Enter, Tab and Escape go on; each key is told, with its code.
    EXPECT_EQ(m_parent.keys, (std::vector<uint32_t>{PIM_KEY_ENTER, PIM_KEY_TAB, PIM_KEY_ESC}));
    ASSERT_EQ(m_parent.notes.size(), 6u);
    for (const ST_NOTE& note : m_parent.notes) {
        EXPECT_EQ(note.code, PIM_NOTIFY_EDIT_KEY);
        EXPECT_EQ(note.sender, &m_field);
    }
    EXPECT_EQ(m_parent.notes[0].key, 'a');
    EXPECT_EQ(m_parent.notes[5].key, static_cast<intptr_t>(PIM_KEY_LEFT | PIM_KEY_SHIFT));

    // Multi-line: Enter breaks the line and stays in the field; the caret
    // starts the second line.
    m_parent.keys.clear();
    m_field.SetEditFlags(PIM_EDIT_CARET | PIM_EDIT_MULTILINE);
    m_field.SetText("ab");
    Keys({PIM_KEY_ENTER});
    Type("c");
    EXPECT_EQ(Text(), "ab\nc");
    EXPECT_TRUE(m_parent.keys.empty());
    EXPECT_EQ(m_field.GetCaretPoint(), CxPoint(3 + 6, 3 + 10));
    m_field.SetMaxLength(4);
    Keys({PIM_KEY_ENTER});
    EXPECT_EQ(Text(), "ab\nc");

    // Passing keys on: every key reaches the parent as well.
    m_field.SetEditFlags(PIM_EDIT_CARET | PIM_EDIT_PASS_KEYS);
    Keys({PIM_KEY_BACK, PIM_KEY_ENTER});
    EXPECT_EQ(Text(), "ab\n");
    EXPECT_EQ(m_parent.keys, (std::vector<uint32_t>{PIM_KEY_BACK, PIM_KEY_ENTER}));
}

TEST_F(EditText, CaretFollowsTextAndScrollsTheVisiblePart)
{
    Type("aW");
    EXPECT_EQ(m_field.GetCaretPoint(), CxPoint(6 + 10 + 3, 3));
    ASSERT_NE(m_field.GetCaretSprite(), nullptr);
    EXPECT_EQ(m_field.GetCaretSprite()->GetPosition(), CxPoint(19, 3));
    EXPECT_EQ(m_field.GetCaretSprite()->GetSize(), CxSize(2, 10));
    EXPECT_EQ(m_field.GetCaretSprite()->GetFrameCount(), 2);

    // 40 pixels wide leaves 32 for the text: five 6-pixel glyphs.
    m_field.Resize(CxSize(40, 20));
    m_field.SetEditFlags(PIM_EDIT_CARET | PIM_EDIT_FIT_WIDTH);
    m_field.SetText("");
    Type("abcdefghij");
    EXPECT_EQ(m_field.GetFirstVisible(), 5);
    EXPECT_EQ(m_field.GetVisibleCount(), 5);
    EXPECT_STREQ(m_field.GetShownText(), "fghij");
    EXPECT_EQ(m_field.GetCaretPoint(), CxPoint(30 + 3, 3));
    Keys({PIM_KEY_HOME});
    EXPECT_EQ(m_field.GetFirstVisible(), 0);
    EXPECT_STREQ(m_field.GetShownText(), "abcde");
    EXPECT_EQ(m_field.GetCaretPoint(), CxPoint(3, 3));
    // Deleting at the end brings the start back into view.
    Keys({PIM_KEY_END, PIM_KEY_BACK, PIM_KEY_BACK, PIM_KEY_BACK, PIM_KEY_BACK});
    EXPECT_EQ(m_field.GetFirstVisible(), 1);
    EXPECT_STREQ(m_field.GetShownText(), "bcdef");
    // The drawn selection counts from the first visible character.
    m_field.Select(2, 4);
    EXPECT_EQ(m_field.GetSelection().start, 1);
    EXPECT_EQ(m_field.GetSelection().end, 3);

    // Wrapped multi-line text: "aaaa bbbb" breaks after the space of a
    // 40-pixel line, and the caret and clicks follow the wrapped lines.
    m_field.Resize(CxSize(48, 40));
    m_field.SetTextFlags(PIM_TEXT_WRAP);
    m_field.SetEditFlags(PIM_EDIT_CARET | PIM_EDIT_MULTILINE);
    m_field.SetText("aaaa bbbb");
    EXPECT_EQ(m_field.GetCaretPoint(), CxPoint(4 * 6 + 3, 3 + 10));
    EXPECT_EQ(m_field.PositionAt(CxPoint(3, 14)), 5);
    EXPECT_EQ(m_field.PositionAt(CxPoint(200, 4)), 5);
    EXPECT_EQ(m_field.GetHitMask(), 97u);
}

TEST_F(EditText, CaretBlinksOnTheClockWhileFocused)
{
    CxVirtualClock clock(1000);
    PimSetClock(&clock);
    m_field.OnKillFocus();
    m_field.OnSetFocus();
    Type("ab");
    CxSprite* caret = m_field.GetCaretSprite();
    ASSERT_NE(caret, nullptr);
    ASSERT_NE(CxTimerManager::GetInstance(), nullptr);
    auto poll = [&](uint32_t ms) {
        clock.Advance(ms);
        CxTimerManager::GetInstance()->OnMainLoop();
        return caret->GetFrame();
    };
    EXPECT_TRUE(caret->IsShown());
    EXPECT_EQ(poll(0), 0);
    EXPECT_EQ(poll(249), 0);
    EXPECT_EQ(poll(1), 1);
    EXPECT_EQ(poll(250), 0);
    EXPECT_EQ(poll(250), 1);
    // A key shows the caret at once and restarts the period.
    Type("c");
    EXPECT_EQ(caret->GetFrame(), 0);
    EXPECT_EQ(poll(249), 0);
    EXPECT_EQ(poll(1), 1);

    // On screen the hidden frame lets the field show through; the other is the caret.
    m_field.SetBackground(0x00FFFFFF);
    CxDrawSurface screen;
    ASSERT_EQ(screen.Create(200, 100, 16), PIM_OK);
    const CxPoint at = m_field.LocalToScreen(m_field.GetCaretPoint());
    RedrawAll(screen);
    EXPECT_EQ(screen.GetPixel(at.x, at.y), screen.MakeColour(255, 255, 255));
    EXPECT_EQ(poll(250), 0);
    RedrawAll(screen);
    EXPECT_EQ(screen.GetPixel(at.x, at.y), screen.MakeColour(0, 0, 0));
    EXPECT_EQ(screen.GetPixel(at.x + 1, at.y + 9), screen.MakeColour(0, 0, 0));
    EXPECT_EQ(screen.GetPixel(at.x + 2, at.y), screen.MakeColour(255, 255, 255));

    m_parent.SetFocus();
    EXPECT_FALSE(caret->IsShown());
    poll(1000);
    EXPECT_FALSE(caret->IsShown());
    m_field.SetFocus();
    EXPECT_TRUE(caret->IsShown());
    EXPECT_EQ(caret->GetFrame(), 0);
}

TEST_F(EditText, MouseSelectsAndShowsTheTextCursor)
{
    Type("abcdef");
    // Boundaries sit at x = 3, 9, 15, ...: 13 is nearest to 15.
    m_field.OnLButtonDown(PIM_MK_LBUTTON, CxPoint(13, 5));
    m_field.OnLButtonUp(0, CxPoint(13, 5));
    EXPECT_EQ(m_field.GetCaretPosition(), 2);
    EXPECT_FALSE(m_field.HasEditSelection());

    m_field.OnLButtonDown(PIM_MK_LBUTTON | PIM_MK_SHIFT, CxPoint(28, 5));
    EXPECT_EQ(m_field.GetSelectionStart(), 2);
    EXPECT_EQ(m_field.GetSelectionEnd(), 4);
    m_field.OnLButtonUp(0, CxPoint(28, 5));

    // Dragging from one boundary to another selects what lies between.
    m_field.OnLButtonDown(PIM_MK_LBUTTON, CxPoint(34, 5));
    m_field.OnMouseMove(PIM_MK_LBUTTON, CxPoint(2, 5));
    m_field.OnLButtonUp(0, CxPoint(2, 5));
    EXPECT_EQ(std::string(m_field.GetSelectedText().GetText()), "abcde");
    EXPECT_EQ(m_field.GetCaretPosition(), 0);
    // Far past the end is the end.
    EXPECT_EQ(m_field.PositionAt(CxPoint(500, 5)), 6);

    SetCursor(PIM_CURSOR_ARROW);
    m_field.OnMouseMove(0, CxPoint(5, 5));
    EXPECT_EQ(GetCursor(), PIM_CURSOR_TEXT);
    EXPECT_EQ(std::string(m_field.GetSelectedText().GetText()), "abcde");
    SetCursor(PIM_CURSOR_ARROW);
}

TEST(DrawTextObject, BackgroundIsFilledOrCopiedFromTheTarget)
{
    ASSERT_EQ(InitDisplay(CxSize(100, 50), 1), PIM_OK);
    const intptr_t font = RegisterFont(new BoxFont);
    CxDrawSurface target;
    ASSERT_EQ(target.Create(100, 50, 16), PIM_OK);
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 100; ++x)
            target.SetPixel(x, y, static_cast<uint32_t>(x + 100 * y));

    CxDrawText text;
    EXPECT_EQ(text.GetHitMask(), 33u);
    EXPECT_EQ(text.GetTextFlags(), 0x21u);
    text.Create(20, 10, 40, 20, GetRootObject());
    text.SetFont(font);
    text.SetTextFlags(0);
    text.SetColour(0x00FF0000);
    text.SetText("ab");
    text.SetBackground(0x000000FF);
    text.Show();
    text.Draw(target, CxRect(0, 0, 39, 19));
    ASSERT_NE(text.GetSurface(), nullptr);
    EXPECT_EQ(text.GetSurface()->GetDepth(), GetDisplayDepth());
    EXPECT_FALSE(text.IsDirty());
    // The first glyph starts at x = 4; the rest is the fill, on the target too.
    EXPECT_EQ(target.GetPixel(20 + 4, 10), target.MakeColour(255, 0, 0));
    EXPECT_EQ(target.GetPixel(20 + 1, 10 + 1), target.MakeColour(0, 0, 255));
    EXPECT_EQ(target.GetPixel(20 + 30, 10 + 15), target.MakeColour(0, 0, 255));

    // No fill: what lay beneath is copied, glyphs drawn over it.
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 100; ++x)
            target.SetPixel(x, y, static_cast<uint32_t>(x + 100 * y));
    text.SetBackground(PIM_NO_COLOUR);
    text.Draw(target, CxRect(0, 0, 39, 19));
    EXPECT_EQ(text.GetSurface()->GetPixel(1, 1), static_cast<uint32_t>(21 + 100 * 11));
    EXPECT_EQ(text.GetSurface()->GetPixel(30, 15), static_cast<uint32_t>(50 + 100 * 25));
    EXPECT_EQ(text.GetSurface()->GetPixel(4, 0), target.MakeColour(255, 0, 0));
    EXPECT_FALSE(text.IsDirty());

    // Half off the target: what could be read is taken, and the object stays
    // dirty until it is drawn whole.
    text.SetPosition(80, 10);
    text.SetDirty();
    text.Draw(target, CxRect(0, 0, 39, 19));
    EXPECT_TRUE(text.IsDirty());
    EXPECT_EQ(text.GetSurface()->GetPixel(1, 1), static_cast<uint32_t>(81 + 100 * 11));
    // So is a draw clipped to part of the object.
    text.SetPosition(20, 10);
    text.Draw(target, CxRect(0, 0, 9, 19));
    EXPECT_TRUE(text.IsDirty());
    text.Draw(target, CxRect(0, 0, 39, 19));
    EXPECT_FALSE(text.IsDirty());

    // At every depth the fill is the colour asked for, and without
    // background handling only the glyphs cover the target.
    for (int depth : {8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        text.SetSurfaceDepth(depth);
        text.SetBackground(0x000000FF);
        text.Draw(target, CxRect(0, 0, 39, 19));
        EXPECT_GE(text.GetSurface()->GetBlue(1, 1), 240);
        EXPECT_LE(text.GetSurface()->GetRed(1, 1), 8);
        target.SetPixel(20 + 1, 10 + 1, 7);
        text.SetBackgroundHandling(false);
        text.Draw(target, CxRect(0, 0, 39, 19));
        EXPECT_EQ(target.GetPixel(20 + 1, 10 + 1), 7u);
        EXPECT_EQ(target.GetPixel(20 + 4, 10), target.MakeColour(255, 0, 0));
        text.SetBackgroundHandling(true);
    }

    // A new size makes a new surface at the next draw.
    text.SetSurfaceDepth(8);
    text.SetBackground(PIM_NO_COLOUR);
    text.SetSize(30, 12);
    text.Draw(target, CxRect(0, 0, 29, 11));
    EXPECT_EQ(text.GetSurface()->GetSize(), CxSize(30, 12));
    EXPECT_EQ(text.GetSurface()->GetDepth(), 8);

    // Without a font of its own a text object follows the default font.
    CxDrawText plain;
    ASSERT_EQ(CreateDefaultFont(), PIM_OK);
    EXPECT_EQ(plain.GetFont(), GetDefaultFont());
    DeleteDefaultFont();

    text.Detach();
    DeleteFont(font);
}
