#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/sdl/CxSdlWindow.h"
#include "PIM/backends/sdl/PimKeyTranslate.h"
#include "PIM/core/PimKeyCodes.h"
#include "tests/support/DisplayChild.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;

uint32_t Down(int32_t keycode, uint32_t modifiers = 0)
{
    uint32_t code = kNone;
    return PimTranslateKeyDown({keycode, modifiers}, code) ? code : kNone;
}

uint32_t Up(int32_t keycode, uint32_t modifiers = 0)
{
    uint32_t code = kNone;
    return PimTranslateKeyUp({keycode, modifiers}, code) ? code : kNone;
}

std::vector<uint32_t> Typed(const char* utf8, uint32_t modifiers = 0, int capacity = 32)
{
    std::vector<uint32_t> codes(static_cast<size_t>(capacity));
    codes.resize(static_cast<size_t>(PimTranslateText(utf8, modifiers, codes.data(), capacity)));
    return codes;
}


std::vector<EMessage> Drain(CxPlatformWindow& window)
{
    std::vector<EMessage> types;
    ST_MESSAGE message;
    while (window.PollMessage(message))
        types.push_back(message.type);
    return types;
}

// Reads messages until one matches, for at most a few seconds: the display
// server answers in its own time.
template <class Match>
bool PumpUntil(CxPlatformWindow& window, Match match)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        ST_MESSAGE m;
        while (window.PollMessage(m)) {
            if (match(m))
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

// --- key translation -------------------------------------------------------------

TEST(KeyTranslate, TypedTextGivesCharactersAndKeyEventsOnlyWhatTextCannot)
{
    EXPECT_EQ(Typed("a"), std::vector<uint32_t>{97});
    EXPECT_EQ(Typed("A", PIM_HOSTMOD_SHIFT), std::vector<uint32_t>{65});
    EXPECT_EQ(Typed("~ "), (std::vector<uint32_t>{126, 32}));
    EXPECT_EQ(Typed("7", PIM_HOSTMOD_NUMLOCK), std::vector<uint32_t>{'7'}); // the keypad's text
    // The key event of a printable key types nothing of its own, or every
    // key would arrive twice.
    EXPECT_EQ(Down('a'), kNone);
    EXPECT_EQ(Down('a', PIM_HOSTMOD_SHIFT), kNone);
    EXPECT_EQ(Down(PIM_HOSTKEY_SPACE), kNone);
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_7, PIM_HOSTMOD_NUMLOCK), kNone);
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_PLUS), kNone);
    // ... and text typed with Control or Alt is the key event's business.
    EXPECT_TRUE(Typed("a", PIM_HOSTMOD_ALT).empty());
    EXPECT_TRUE(Typed("a", PIM_HOSTMOD_CTRL).empty());

    // Latin-1 letters keep the codes the old code page gave them; anything
    // above would be mistaken for a special key (U+0101 is 257, F1).
    EXPECT_EQ(Typed("\xC3\xA9"), std::vector<uint32_t>{0xE9});
    EXPECT_TRUE(Typed("\xC4\x81").empty());
    EXPECT_TRUE(Typed("\xE2\x82\xAC").empty());
    EXPECT_TRUE(Typed("\xC2\x85").empty()); // a C1 control
    EXPECT_EQ(Typed("x\xFFy"), (std::vector<uint32_t>{'x', 'y'}));
    EXPECT_EQ(Typed("abcd", 0, 2), (std::vector<uint32_t>{'a', 'b'}));
    EXPECT_TRUE(Typed(nullptr).empty());
}

TEST(KeyTranslate, ControlAndAltCombinations)
{
    EXPECT_EQ(Down('a', PIM_HOSTMOD_CTRL), PIM_KEY_CTRL | 'A');
    EXPECT_EQ(Down('a', PIM_HOSTMOD_CTRL | PIM_HOSTMOD_SHIFT), PIM_KEY_CTRL | 'A');
    EXPECT_EQ(Down('[', PIM_HOSTMOD_CTRL), PIM_KEY_CTRL | '[');
    EXPECT_EQ(Down('a', PIM_HOSTMOD_ALT), PIM_KEY_ALT | 'a');
    EXPECT_EQ(Down('a', PIM_HOSTMOD_ALT | PIM_HOSTMOD_SHIFT), PIM_KEY_ALT | 'A');
    EXPECT_EQ(Down('a', PIM_HOSTMOD_ALT | PIM_HOSTMOD_CAPSLOCK), PIM_KEY_ALT | 'A');
    EXPECT_EQ(Down('a', PIM_HOSTMOD_ALT | PIM_HOSTMOD_CTRL), PIM_KEY_ALT | 'a'); // Alt decides
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_7, PIM_HOSTMOD_CTRL | PIM_HOSTMOD_NUMLOCK), PIM_KEY_CTRL | '7');
    // The Control key itself is CTRL alone (its own event already has the
    // Control modifier set); the other modifier keys give nothing.
    EXPECT_EQ(Down(PIM_HOSTKEY_LCTRL, PIM_HOSTMOD_CTRL), PIM_KEY_CTRL);
    EXPECT_EQ(Down(PIM_HOSTKEY_RCTRL, PIM_HOSTMOD_CTRL | PIM_HOSTMOD_ALT), PIM_KEY_CTRL);
    EXPECT_EQ(Down(PIM_HOSTKEY_LSHIFT, PIM_HOSTMOD_SHIFT), kNone);
    EXPECT_EQ(Down(PIM_HOSTKEY_LALT, PIM_HOSTMOD_ALT), kNone);
    EXPECT_EQ(Down(PIM_HOSTKEY_RALT, PIM_HOSTMOD_ALT), kNone);
}

TEST(KeyTranslate, SpecialKeysAndTheKeypad)
{
    EXPECT_EQ(Down(PIM_HOSTKEY_F1), 257u);
    EXPECT_EQ(Down(PIM_HOSTKEY_F1 + 4), 261u); // F5
    EXPECT_EQ(Down(PIM_HOSTKEY_F12), 268u);
    EXPECT_EQ(Down(PIM_HOSTKEY_F1 + 3, PIM_HOSTMOD_ALT), PIM_KEY_ALT | 260);
    EXPECT_EQ(Down(PIM_HOSTKEY_LEFT, PIM_HOSTMOD_CTRL), PIM_KEY_CTRL | 272);
    EXPECT_EQ(Down(PIM_HOSTKEY_LEFT, PIM_HOSTMOD_CTRL | PIM_HOSTMOD_ALT), PIM_KEY_CTRL | PIM_KEY_ALT | 272);
    EXPECT_EQ(Down(PIM_HOSTKEY_UP, PIM_HOSTMOD_SHIFT), 274u); // Shift is never a bit of a message
    const std::pair<int32_t, uint32_t> plain[] = {
        {PIM_HOSTKEY_BACKSPACE, 8}, {PIM_HOSTKEY_TAB, 9},     {PIM_HOSTKEY_RETURN, 13}, {PIM_HOSTKEY_KP_ENTER, 13},
        {PIM_HOSTKEY_RETURN2, 13},  {PIM_HOSTKEY_PAUSE, 19},  {PIM_HOSTKEY_ESCAPE, 27}, {PIM_HOSTKEY_END, 270},
        {PIM_HOSTKEY_HOME, 271},    {PIM_HOSTKEY_RIGHT, 273}, {PIM_HOSTKEY_DOWN, 275},  {PIM_HOSTKEY_INSERT, 276},
        {PIM_HOSTKEY_DELETE, 277},  {PIM_HOSTKEY_PAGEUP, 278}, {PIM_HOSTKEY_PAGEDOWN, 279},
        {PIM_HOSTKEY_SCROLLLOCK, 280},
    };
    for (const auto& [host, engine] : plain)
        EXPECT_EQ(Down(host), engine) << "host key " << host;
    EXPECT_EQ(Down(PimHostScancodeKey(70)), kNone); // Print Screen: no engine code

    // Without Num Lock the keypad is the cursor block printed on it.
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_7), PIM_KEY_HOME);
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_1 + 1), PIM_KEY_DOWN);
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_9), PIM_KEY_PAGEUP);
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_0), PIM_KEY_INS);
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_PERIOD), PIM_KEY_DEL);
    EXPECT_EQ(Down(PIM_HOSTKEY_KP_1 + 4), kNone); // KP 5
}

TEST(KeyTranslate, KeyUpGivesUpperCaseCharactersAndSpecialCodes)
{
    EXPECT_EQ(Up('a'), 65u);
    EXPECT_EQ(Up('a', PIM_HOSTMOD_CTRL), 65u);
    EXPECT_EQ(Up(';'), static_cast<uint32_t>(';'));
    EXPECT_EQ(Up(PIM_HOSTKEY_SPACE), 32u);
    EXPECT_EQ(Up(PIM_HOSTKEY_F1), 257u);
    EXPECT_EQ(Up(PIM_HOSTKEY_F1 + 3, PIM_HOSTMOD_ALT), PIM_KEY_ALT | 260);
    EXPECT_EQ(Up(PIM_HOSTKEY_KP_7, PIM_HOSTMOD_NUMLOCK), static_cast<uint32_t>('7'));
    EXPECT_EQ(Up(PIM_HOSTKEY_KP_7), PIM_KEY_HOME);
    EXPECT_EQ(Up(PIM_HOSTKEY_KP_MULTIPLY), static_cast<uint32_t>('*'));
    EXPECT_EQ(Up(PIM_HOSTKEY_LCTRL), PIM_KEY_CTRL);
    EXPECT_EQ(Up(PIM_HOSTKEY_LSHIFT), kNone);
    EXPECT_EQ(Up(0xE9), kNone); // a layout's own letter key: only its text counts
}

// --- headless window ---------------------------------------------------------

TEST(HeadlessWindow, CreateQueuesTheStartMessagesAndPlacesTheWindow)
{
    CxHeadlessWindow window;
    ST_WINDOW_SETUP setup;
    setup.title = "Marrowdale";
    setup.width = 640;
    setup.height = 480;
    setup.flags = PIM_WF_CENTERED | PIM_WF_FRAMED;
    ASSERT_TRUE(window.Create(setup));
    EXPECT_TRUE(window.IsCreated());
    EXPECT_TRUE(window.GetRecord().visible);

    ST_MESSAGE m;
    ASSERT_TRUE(window.PollMessage(m));
    EXPECT_EQ(m.type, EMessage::ActivateApp);
    EXPECT_TRUE(m.active);
    ASSERT_TRUE(window.PollMessage(m));
    EXPECT_EQ(m.type, EMessage::Activate);
    EXPECT_TRUE(m.active);
    EXPECT_FALSE(m.minimized);
    ASSERT_TRUE(window.PollMessage(m));
    EXPECT_EQ(m.type, EMessage::Size);
    EXPECT_EQ(m.width, 640);
    EXPECT_EQ(m.height, 480);
    ASSERT_TRUE(window.PollMessage(m));
    EXPECT_EQ(m.type, EMessage::Paint);
    EXPECT_FALSE(window.PollMessage(m));

    int32_t left, top, width, height;
    window.GetClientRect(left, top, width, height);
    EXPECT_EQ(left, (1024 - 640) / 2);
    EXPECT_EQ(top, (768 - 480) / 2);

    // Full screen covers the desktop, and leaving it brings the window back.
    window.SetDesktop({800, 600, 16});
    setup.flags = PIM_WF_HIDDEN;
    setup.left = 5;
    setup.top = 7;
    setup.fullScreen = true;
    ASSERT_TRUE(window.Create(setup));
    EXPECT_EQ(window.GetRecord().creates, 2);
    EXPECT_EQ(window.GetRecord().destroys, 1);
    EXPECT_FALSE(window.GetRecord().visible);
    EXPECT_EQ(Drain(window),
              (std::vector<EMessage>{EMessage::ActivateApp, EMessage::Activate, EMessage::Size, EMessage::Paint}));
    window.GetClientRect(left, top, width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    window.Move(30, 40); // remembered for the window, not applied in full screen
    window.SetFullScreen(false);
    window.GetClientRect(left, top, width, height);
    EXPECT_EQ(left, 30);
    EXPECT_EQ(top, 40);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    ST_DESKTOP desktop;
    EXPECT_TRUE(window.QueryDesktop(desktop));
    EXPECT_EQ(desktop.depth, 16);
}

TEST(HeadlessWindow, PostedMessagesComeOutOneAtATimeInOrder)
{
    CxHeadlessWindow window;
    for (uint32_t key : {'A', 'B', 'C'}) {
        ST_MESSAGE m;
        m.type = EMessage::KeyDown;
        m.key = key;
        ASSERT_TRUE(window.Post(m));
    }
    ST_MESSAGE drop;
    drop.type = EMessage::DropFiles;
    drop.files = {"/a b/one.txt", "/two"};
    window.Post(drop);
    EXPECT_EQ(window.GetPendingCount(), 4u);

    ST_MESSAGE m;
    for (uint32_t key : {'A', 'B', 'C'}) {
        ASSERT_TRUE(window.PollMessage(m));
        EXPECT_EQ(m.key, key);
    }
    EXPECT_EQ(window.GetPendingCount(), 1u);
    ASSERT_TRUE(window.PollMessage(m));
    EXPECT_EQ(m.files, drop.files);
    EXPECT_FALSE(window.PollMessage(m));

}

// A modal panel opening drops the input aimed at what was under it, and
// nothing else: the player's close request, the window's news and files
// dropped on it all still arrive, in their order.
TEST(HeadlessWindow, FlushDropsInputAndKeepsEverythingElseInOrder)
{
    CxHeadlessWindow window;
    ASSERT_TRUE(window.Create(ST_WINDOW_SETUP{}));
    auto post = [&](EMessage type) {
        ST_MESSAGE m;
        m.type = type;
        m.code = static_cast<int32_t>(type);
        window.Post(m);
    };
    for (EMessage type : {EMessage::KeyDown, EMessage::Mouse, EMessage::Close, EMessage::KeyUp, EMessage::Move,
                          EMessage::Mouse, EMessage::DropFiles, EMessage::User, EMessage::Quit, EMessage::KeyDown})
        post(type);
    window.FlushMessages();
    std::vector<EMessage> kept;
    ST_MESSAGE m;
    while (window.PollMessage(m))
        kept.push_back(m.type);
    EXPECT_EQ(kept, (std::vector<EMessage>{EMessage::ActivateApp, EMessage::Activate, EMessage::Size,
                                           EMessage::Paint, EMessage::Close, EMessage::Move, EMessage::DropFiles,
                                           EMessage::User, EMessage::Quit}));
    EXPECT_EQ(window.GetRecord().flushes, 1);
}

TEST(HeadlessWindow, ThePointerFollowsMouseMessagesAndWarpsWithAMove)
{
    CxHeadlessWindow window;
    CxPoint point;
    EXPECT_FALSE(window.GetPointer(point));
    EXPECT_FALSE(window.WarpPointer({1, 2})); // no window yet

    ASSERT_TRUE(window.Create(ST_WINDOW_SETUP{}));
    ST_MESSAGE m;
    while (window.PollMessage(m)) {
    }
    ST_MESSAGE click;
    click.type = EMessage::Mouse;
    click.mouse = MouseEvent(EMouseAction::Down, EMouseButton::Left, {120, 340});
    ASSERT_TRUE(window.Post(click));
    // Posted is not yet happened: the pointer moves when the message is read.
    ASSERT_TRUE(window.GetPointer(point));
    EXPECT_EQ(point, CxPoint(0, 0));
    ASSERT_TRUE(window.PollMessage(m));
    ASSERT_TRUE(window.GetPointer(point));
    EXPECT_EQ(point, CxPoint(120, 340));

    // A warp moves it at once and tells the application as a real move does.
    ASSERT_TRUE(window.WarpPointer({-3, 655}));
    ASSERT_TRUE(window.GetPointer(point));
    EXPECT_EQ(point, CxPoint(-3, 655));
    ASSERT_TRUE(window.PollMessage(m));
    EXPECT_EQ(m.type, EMessage::Mouse);
    EXPECT_EQ(m.mouse.action, EMouseAction::Move);
    EXPECT_EQ(m.mouse.point, CxPoint(-3, 655));
    EXPECT_FALSE(window.PollMessage(m));
}

TEST(HeadlessWindow, RecordsWhatWasAskedWithoutEchoingMessages)
{
    CxHeadlessWindow window;
    ASSERT_TRUE(window.Create(ST_WINDOW_SETUP{}));
    ST_MESSAGE created;
    while (window.PollMessage(created)) {
    }
    window.Hide();
    window.Show();
    window.Minimize();
    EXPECT_TRUE(window.GetRecord().minimized);
    window.Restore();
    window.Maximize();
    window.Move(1, 2);
    window.SetFullScreen(true);
    window.PresentCleared();
    window.PresentCleared();
    EXPECT_TRUE(window.IsScreenSaverEnabled());
    window.SetScreenSaver(false);

    const ST_HEADLESS_RECORD& r = window.GetRecord();
    EXPECT_EQ(window.GetPendingCount(), 0u); // a replay sees only what it posted
    EXPECT_TRUE(r.visible);
    EXPECT_FALSE(r.minimized);
    EXPECT_TRUE(r.maximized);
    EXPECT_TRUE(r.fullScreen);
    EXPECT_EQ(r.hides, 1);
    EXPECT_EQ(r.shows, 1);
    EXPECT_EQ(r.minimizes, 1);
    EXPECT_EQ(r.restores, 1);
    EXPECT_EQ(r.moves, 1);
    EXPECT_EQ(r.fullScreenChanges, 1);
    EXPECT_EQ(r.presents, 2);
    EXPECT_FALSE(window.IsScreenSaverEnabled());
    window.Destroy();
    window.Destroy();
    EXPECT_FALSE(window.IsCreated());
    EXPECT_EQ(r.destroys, 1);
}

// --- the real window, where there is a display -------------------------------

namespace {

void CheckRealWindow()
{
    CxSdlWindow window;
    ST_DESKTOP desktop;
    ASSERT_TRUE(window.QueryDesktop(desktop)) << window.GetLastError();
    EXPECT_GT(desktop.width, 0);
    EXPECT_GT(desktop.depth, 0);

    ST_WINDOW_SETUP setup;
    setup.title = "Marrowdale test";
    setup.left = 10;
    setup.top = 20;
    setup.width = 320;
    setup.height = 200;
    setup.flags = PIM_WF_FRAMED;
    ASSERT_TRUE(window.Create(setup)) << window.GetLastError();
    ASSERT_TRUE(window.IsCreated());
    std::vector<EMessage> first;
    ST_MESSAGE m;
    for (int i = 0; i < 4 && window.PollMessage(m); ++i) {
        first.push_back(m.type);
        if (m.type == EMessage::Size) {
            EXPECT_EQ(m.width, 320);
            EXPECT_EQ(m.height, 200);
        }
    }
    EXPECT_EQ(first, (std::vector<EMessage>{EMessage::ActivateApp, EMessage::Activate, EMessage::Size,
                                            EMessage::Paint}));
    int32_t left, top, width, height;
    window.GetClientRect(left, top, width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    window.PresentCleared();

    window.Move(50, 60);
    window.GetClientRect(left, top, width, height);
    EXPECT_EQ(left, 50);
    EXPECT_EQ(top, 60);

    // What the display server reports comes back as messages: first the
    // window shows (a full-screen request before that is only noted), then
    // going full screen resizes it to the desktop.
    EXPECT_TRUE(PumpUntil(window, [](const ST_MESSAGE& e) { return e.type == EMessage::Paint; }));
    window.SetFullScreen(true);
    EXPECT_TRUE(PumpUntil(window, [&](const ST_MESSAGE& e) {
        return e.type == EMessage::Size && e.width == desktop.width && e.height == desktop.height;
    }));

    // Left as the user had it until the game says otherwise.
    EXPECT_TRUE(window.IsScreenSaverEnabled());
    window.SetScreenSaver(false);
    EXPECT_FALSE(window.IsScreenSaverEnabled());
    window.SetScreenSaver(true);
    EXPECT_TRUE(window.IsScreenSaverEnabled());

    setup.flags = PIM_WF_HIDDEN | PIM_WF_CENTERED;
    ASSERT_TRUE(window.Create(setup)) << window.GetLastError();
    // A flush keeps what the new window reported about itself, and drops
    // the input queued with it.
    ASSERT_TRUE(window.SimulateMouseMove(5, 5));
    ASSERT_TRUE(window.SimulateKey(PIM_HOSTKEY_F1, 0, true));
    window.FlushMessages();
    std::vector<EMessage> kept;
    while (window.PollMessage(m))
        kept.push_back(m.type);
    ASSERT_GE(kept.size(), 4u);
    EXPECT_EQ(std::vector<EMessage>(kept.begin(), kept.begin() + 4),
              (std::vector<EMessage>{EMessage::ActivateApp, EMessage::Activate, EMessage::Size, EMessage::Paint}));
    for (EMessage type : kept)
        EXPECT_FALSE(IsInputMessage(type));
    window.Destroy();
    EXPECT_FALSE(window.IsCreated());
    EXPECT_FALSE(window.PollMessage(m));
}

} // namespace

TEST(SdlWindow, CreatePumpAndDestroyOnARealDisplay)
{
    PIM_RUN_WITH_DISPLAY(CheckRealWindow, "the window's checks");
}
