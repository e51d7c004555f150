// The command console driven as a developer would: keys through the focus,
// lines run by a real Lua engine, trace text from scripts and from other
// threads, aliases from the configuration, its life against the focus and
// the trace, and its picture.
#include "PIM/app/CxGameConsole.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxThread.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/text/CxFont.h"
#include "tests/support/Golden.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <lua.hpp>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

int g_quitCalls = 0;

int TestQuit(lua_State*)
{
    ++g_quitCalls;
    return 0;
}

class GameConsole : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(400, 200), 1), PIM_OK);
        ASSERT_EQ(CreateDefaultFont(), PIM_OK);
        ASSERT_EQ(m_engine.CreateState(), PIM_OK);
        ASSERT_EQ(m_engine.Register("Quit", &TestQuit), PIM_OK);
        CxLuaEngine::SetEngine(&m_engine);
        g_quitCalls = 0;
    }
    void TearDown() override
    {
        m_console.reset();
        CxLuaEngine::SetEngine(nullptr);
        DeleteDefaultFont();
        ShutdownDisplay();
    }

    // A console over `optionText` (ini text), `width` x `height`.
    CxGameConsole& Make(const std::string& optionText = "", int32_t width = 400, int32_t height = 200)
    {
        m_options.ReadFromBuffer(optionText.data(), optionText.size());
        m_console = std::make_unique<CxGameConsole>();
        EXPECT_EQ(m_console->Create(width, height, m_options), PIM_OK);
        return *m_console;
    }
    static void Type(const char* text)
    {
        for (const char* p = text; *p; ++p)
            DispatchKeyDown(static_cast<unsigned char>(*p), 0);
    }
    static void Enter(const char* text)
    {
        Type(text);
        DispatchKeyDown(PIM_KEY_ENTER, 0);
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int i = 0; i < m_console->GetOutputCount(); ++i)
            rows.emplace_back(m_console->GetOutputLine(i));
        return rows;
    }
    bool HasRowContaining(const std::string& part) const
    {
        for (const std::string& row : Rows())
            if (row.find(part) != std::string::npos)
                return true;
        return false;
    }

    CxLuaEngine m_engine;
    CxOptions m_options;
    std::unique_ptr<CxGameConsole> m_console;
};

// Deletes of display objects while armed trace a line: a trace raised from
// inside the console's own writing, when it drops its oldest row.
bool g_traceOnDelete = false;
void TraceOnDelete(const CxDisplayObject*)
{
    if (g_traceOnDelete)
    {
        g_traceOnDelete = false;
        TraceText("nested\n");
    }
}

} // namespace

TEST_F(GameConsole, LayoutLimitsAndStyle)
{
    CxGameConsole& console = Make("[Engine.Game.CommandConsole]\nMaxOutputHistory=0\nMaxCommandHistory=-3\n");
    EXPECT_EQ(console.GetMaxOutputHistory(), 1);
    EXPECT_EQ(console.GetMaxCommandHistory(), 1);
    EXPECT_FALSE(console.IsShown());
    EXPECT_EQ(console.GetParent(), GetRootObject());
    EXPECT_EQ(console.GetRect(), CxRect(0, 0, 399, 199));
    EXPECT_EQ(console.GetOutputList().GetRect(), CxRect(5, 5, 374, 171));
    EXPECT_EQ(console.GetEditLine().GetRect(), CxRect(5, 175, 394, 194));
    EXPECT_EQ(console.GetScrollBar().GetRect(), CxRect(379, 5, 394, 171));
    EXPECT_EQ(console.Create(400, 200, m_options), PIM_ERR_BAD_ARG);
    console.OnOutput("dropped\nkept");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"kept"}));

    // Rows are as high as the default font, black on white, the selection white on dark blue.
    CxCommonTextListBox& list = console.GetOutputList();
    EXPECT_EQ(list.GetRowHeight(), GetDefaultFont()->GetNativeSize());
    EXPECT_EQ(list.GetTextColour(), 0x000000u);
    EXPECT_EQ(list.GetBackgroundColour(), 0xFFFFFFu);
    EXPECT_EQ(list.GetSelectionTextColour(), 0xFFFFFFu);
    EXPECT_EQ(list.GetSelectionBackgroundColour(), 0x000080u);
    EXPECT_EQ(console.GetEditLine().GetTextFlags() & 0x21u, 0x21u);
    EXPECT_EQ(console.GetEditLine().GetSelection().backgroundColour, 0x000080u);

    // Too small a panel is raised to the minimum; no part gets a negative size.
    CxOptions none;
    CxGameConsole tiny;
    ASSERT_EQ(tiny.Create(3, 5, none), PIM_OK);
    EXPECT_EQ(tiny.GetSize(), CxSize(CxGameConsole::kMinWidth, 34));
    for (CxDisplayObject* part : {static_cast<CxDisplayObject*>(&tiny.GetOutputList()),
                                  static_cast<CxDisplayObject*>(&tiny.GetEditLine()),
                                  static_cast<CxDisplayObject*>(&tiny.GetScrollBar())})
    {
        EXPECT_GT(part->GetWidth(), 0);
        EXPECT_GT(part->GetHeight(), 0);
    }
    tiny.OnOutput("fits\nsomewhere");
    EXPECT_EQ(tiny.GetOutputCount(), 2);

    // Without memory for the output's picture (370 x 167 bytes, nothing else
    // is near that size) Create fails cleanly, and for good.
    SetAllocationFailHook([](size_t size) { return size > 60000 && size < 70000; });
    CxGameConsole broken;
    EXPECT_NE(broken.Create(400, 200, none), PIM_OK);
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(broken.Create(400, 200, none), PIM_ERR_BAD_ARG);

    // Missing keys give the defaults.
    EXPECT_EQ(tiny.GetMaxOutputHistory(), 128);
    EXPECT_EQ(tiny.GetMaxCommandHistory(), 128);
}

TEST_F(GameConsole, OutputSplitsCapsAndScrolls)
{
    CxGameConsole& console = Make();
    TraceText("one\ntwo\n");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"one", "two", ""}));
    console.OnOutput("");
    EXPECT_EQ(console.GetOutputCount(), 4);

    // 13 rows fit in (167 - 4) / 12: the view and the bar follow the end.
    for (int i = 0; i < 16; ++i)
        Trace("line %d", i);
    const CxCommonTextListBox& list = console.GetOutputList();
    CxCommonVerticalScrollBar& bar = console.GetScrollBar();
    ASSERT_EQ(list.GetVisibleCount(), 13);
    EXPECT_EQ(console.GetOutputCount(), 20);
    EXPECT_EQ(bar.GetMinimum(), 0);
    EXPECT_EQ(bar.GetMaximum(), 7);
    EXPECT_EQ(bar.GetPosition(), 7);
    EXPECT_EQ(list.GetTopIndex(), 7);

    // The wheel over the list scrolls by its notches; the bar moves the list too.
    console.Show();
    const CxPoint inList = list.LocalToScreen(CxPoint(20, 20));
    EXPECT_EQ(DispatchMouse(MouseEvent(EMouseAction::Wheel, EMouseButton::None, inList, 0, 2)), 1);
    EXPECT_EQ(list.GetTopIndex(), 5);
    EXPECT_EQ(bar.GetPosition(), 5);
    DispatchMouse(MouseEvent(EMouseAction::Wheel, EMouseButton::None, inList, 0, -10));
    EXPECT_EQ(list.GetTopIndex(), 7);
    bar.SetPosition(1);
    EXPECT_EQ(list.GetTopIndex(), 1);
    console.OnOutput("new");
    EXPECT_EQ(list.GetTopIndex(), 8);

    // CTRL+C in either case empties the output.
    DispatchKeyDown(PIM_KEY_CTRL | 'c', 0);
    EXPECT_EQ(console.GetOutputCount(), 0);
    EXPECT_EQ(bar.GetMaximum(), 0);
    console.OnOutput("again");
    DispatchKeyDown(PIM_KEY_CTRL | 'C', 0);
    EXPECT_EQ(console.GetOutputCount(), 0);
    EXPECT_STREQ(console.GetEditText(), "");
}

TEST_F(GameConsole, OutputCapDropsOldestAndNestedTraceIsDropped)
{
    CxGameConsole& console = Make("[Engine.Game.CommandConsole]\nMaxOutputHistory=3\n");
    console.OnOutput("a\nb\nc");
    console.OnOutput("d");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"b", "c", "d"}));
    // A text longer than the cap keeps only its last rows.
    console.OnOutput("1\n2\n3\n4\n5");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"3", "4", "5"}));

    // Dropping the oldest row traces from inside the console's writing: the
    // nested line still reaches other listeners, but not the console.
    TraceRecorder others;
    ASSERT_TRUE(AddObjectGoneHook(&TraceOnDelete));
    g_traceOnDelete = true;
    TraceText("e");
    RemoveObjectGoneHook(&TraceOnDelete);
    EXPECT_FALSE(g_traceOnDelete);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"4", "5", "e"}));
    EXPECT_EQ(others.lines, (std::vector<std::string>{"nested\n", "e"}));
}

TEST_F(GameConsole, TraceFromAnotherThreadWaitsForTheMainThread)
{
    PimResetMainThread();
    PimRecordMainThread();
    CxGameConsole& console = Make();
    std::thread([] { TraceText("from worker\n"); }).join();
    EXPECT_EQ(console.GetOutputCount(), 0);
    console.OnOutput("main");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"from worker", "", "main"}));
    std::thread([] { TraceText("later"); }).join();
    console.Show();
    EXPECT_EQ(Rows().back(), "later");
    PimResetMainThread();
}

TEST_F(GameConsole, KeysRunLinesAndWalkTheHistory)
{
    CxGameConsole& console = Make();
    CxDisplayObject game;
    game.Create(0, 0, 10, 10, GetRootObject());
    game.SetFocus();

    // UP and DOWN with no history leave the line alone.
    console.Toggle();
    EXPECT_TRUE(console.IsShown());
    EXPECT_EQ(GetFocusObject(), &console.GetEditLine());
    Type("abc");
    DispatchKeyDown(PIM_KEY_UP, 0);
    DispatchKeyDown(PIM_KEY_DOWN, 0);
    EXPECT_STREQ(console.GetEditText(), "abc");
    console.GetEditLine().SetText("");

    // ENTER on an empty line does nothing.
    DispatchKeyDown(PIM_KEY_ENTER, 0);
    EXPECT_EQ(console.GetOutputCount(), 0);
    EXPECT_EQ(console.GetHistoryCount(), 0);

    // Each line is echoed, run and cleared.
    Enter("x = 1");
    Enter("x = x + 1");
    Enter("x = x * 10");
    EXPECT_STREQ(console.GetEditText(), "");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"x = 1", "x = x + 1", "x = x * 10"}));
    EXPECT_EQ(m_engine.GetNumber("x", 0), 20);

    // UP: third, second, first, third again; DOWN goes the other way round.
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i)
    {
        DispatchKeyDown(PIM_KEY_UP, 0);
        seen.emplace_back(console.GetEditText());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"x = x * 10", "x = x + 1", "x = 1", "x = x * 10"}));
    EXPECT_STREQ(console.GetEditText(), "x = x * 10");
    DispatchKeyDown(PIM_KEY_DOWN, 0);
    EXPECT_STREQ(console.GetEditText(), "x = 1");
    DispatchKeyDown(PIM_KEY_DOWN, 0);
    EXPECT_STREQ(console.GetEditText(), "x = x + 1");
    // Running a line starts the walk again from the newest.
    DispatchKeyDown(PIM_KEY_ENTER, 0);
    EXPECT_EQ(console.GetHistoryPosition(), 0);
    DispatchKeyDown(PIM_KEY_UP, 0);
    EXPECT_STREQ(console.GetEditText(), "x = x + 1");
    console.GetEditLine().SetText("");

    // Only the allowed characters are typed; the toggle keys are text here.
    DispatchKeyDown(PIM_KEY_TAB, 0);
    DispatchKeyDown(127, 0);
    DispatchKeyDown(0xE9, 0);
    Type("`~\"{a}[\\]");
    EXPECT_STREQ(console.GetEditText(), "`~\"{a}[\\]");
    EXPECT_TRUE(console.IsShown());

    // ESC hides and gives the focus back.
    DispatchKeyDown(PIM_KEY_ESC, 0);
    EXPECT_FALSE(console.IsShown());
    EXPECT_EQ(GetFocusObject(), &game);
    console.Toggle();
    console.Toggle();
    EXPECT_EQ(GetFocusObject(), &game);
}

TEST_F(GameConsole, CommandHistoryCap)
{
    CxGameConsole& console = Make("[Engine.Game.CommandConsole]\nMaxCommandHistory=2\n");
    console.Execute("a = 1");
    console.Execute("b = 2");
    console.Execute("c = 3");
    ASSERT_EQ(console.GetHistoryCount(), 2);
    EXPECT_STREQ(console.GetHistoryEntry(0), "b = 2");
    EXPECT_STREQ(console.GetHistoryEntry(1), "c = 3");
    console.SetEcho(false);
    console.Execute("d = 4");
    EXPECT_EQ(console.GetOutputCount(), 3);
}

TEST_F(GameConsole, AliasesPrintAndScriptErrors)
{
    // The second alias is far longer than the replacement limit: only its
    // first 128 bytes run.
    const std::string padding(200, ' ');
    CxGameConsole& console = Make("[Engine.Game.CommandConsole.Aliases]\nq=Quit()\nlong=n = 1" + padding +
                                  "n = 2\n");
    console.Show();
    Enter("q");
    EXPECT_EQ(g_quitCalls, 1);
    EXPECT_EQ(console.GetHistoryEntry(0), std::string("q"));
    EXPECT_EQ(Rows().front(), "q");
    Enter("long");
    EXPECT_EQ(m_engine.GetNumber("n", 0), 1);

    // print goes through the trace into the output.
    Enter("print(1+1)");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"q", "long", "print(1+1)", "2", ""}));
    Enter("nosuch()");
    EXPECT_TRUE(HasRowContaining("nosuch"));
    EXPECT_TRUE(HasRowContaining("attempt to call"));
    Enter("x = = 2");
    EXPECT_TRUE(HasRowContaining("unexpected symbol"));

    // Without an engine the line is still kept and echoed.
    CxLuaEngine::SetEngine(nullptr);
    Enter("q");
    EXPECT_EQ(g_quitCalls, 1);
    EXPECT_TRUE(HasRowContaining("No script engine"));
}

TEST_F(GameConsole, DeletedConsoleLeavesNoFocusOrListener)
{
    CxDisplayObject game;
    game.Create(0, 0, 10, 10, GetRootObject());
    game.SetFocus();
    for (bool shown : {true, false})
    {
        Make();
        if (shown)
            m_console->Show();
        m_console.reset();
        EXPECT_EQ(GetFocusObject(), &game);
        EXPECT_EQ(GetRootObject()->CountChildren(), 1);
        TraceText("nobody listens\n");
    }
    // Shown when its focus holder was already gone: the focus is cleared.
    auto* other = new CxDisplayObject;
    other->Create(0, 0, 10, 10, GetRootObject());
    other->SetFocus();
    Make().Show();
    delete other;
    m_console.reset();
    EXPECT_EQ(GetFocusObject(), nullptr);
}

TEST_F(GameConsole, GoldenPicture)
{
    // A few rows (one selected, one too long for the list), a line being typed.
    CxGameConsole& console = Make();
    console.OnOutput("Console ready\nprint(\"ready\")\nready\n\nnosuch()");
    console.OnOutput("[string \"nosuch()\"]:1: attempt to call global 'nosuch' (a nil value)");
    console.GetOutputList().SetSelection(2);
    console.Show();
    Type("print(\"hello\")");
    RegisterDefaultImageFilters();
    CxDrawSurface screen;
    ASSERT_EQ(screen.Create(400, 200, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    RedrawAll(screen);
    ExpectScreenGolden(screen, "console.png");
}
