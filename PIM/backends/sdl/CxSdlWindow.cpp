#include "PIM/backends/sdl/CxSdlWindow.h"

#include "PIM/backends/sdl/CxSdlScreens.h"
#include "PIM/backends/sdl/PimKeyTranslate.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimCursors.h"

#include <SDL.h>

#include <algorithm>
#include <iterator>

// The translation's host key codes are SDL's; should SDL ever renumber a
// key, this is where it shows.
namespace {

constexpr bool Same(int32_t ours, SDL_Keycode theirs)
{
    return ours == theirs;
}

} // namespace

static_assert(Same(PIM_HOSTKEY_BACKSPACE, SDLK_BACKSPACE));
static_assert(Same(PIM_HOSTKEY_TAB, SDLK_TAB));
static_assert(Same(PIM_HOSTKEY_RETURN, SDLK_RETURN));
static_assert(Same(PIM_HOSTKEY_ESCAPE, SDLK_ESCAPE));
static_assert(Same(PIM_HOSTKEY_SPACE, SDLK_SPACE));
static_assert(Same(PIM_HOSTKEY_DELETE, SDLK_DELETE));
static_assert(Same(PIM_HOSTKEY_F1, SDLK_F1));
static_assert(Same(PIM_HOSTKEY_F12, SDLK_F12));
static_assert(Same(PIM_HOSTKEY_SCROLLLOCK, SDLK_SCROLLLOCK));
static_assert(Same(PIM_HOSTKEY_PAUSE, SDLK_PAUSE));
static_assert(Same(PIM_HOSTKEY_INSERT, SDLK_INSERT));
static_assert(Same(PIM_HOSTKEY_HOME, SDLK_HOME));
static_assert(Same(PIM_HOSTKEY_PAGEUP, SDLK_PAGEUP));
static_assert(Same(PIM_HOSTKEY_END, SDLK_END));
static_assert(Same(PIM_HOSTKEY_PAGEDOWN, SDLK_PAGEDOWN));
static_assert(Same(PIM_HOSTKEY_RIGHT, SDLK_RIGHT));
static_assert(Same(PIM_HOSTKEY_LEFT, SDLK_LEFT));
static_assert(Same(PIM_HOSTKEY_DOWN, SDLK_DOWN));
static_assert(Same(PIM_HOSTKEY_UP, SDLK_UP));
static_assert(Same(PIM_HOSTKEY_KP_DIVIDE, SDLK_KP_DIVIDE));
static_assert(Same(PIM_HOSTKEY_KP_MULTIPLY, SDLK_KP_MULTIPLY));
static_assert(Same(PIM_HOSTKEY_KP_MINUS, SDLK_KP_MINUS));
static_assert(Same(PIM_HOSTKEY_KP_PLUS, SDLK_KP_PLUS));
static_assert(Same(PIM_HOSTKEY_KP_ENTER, SDLK_KP_ENTER));
static_assert(Same(PIM_HOSTKEY_KP_1, SDLK_KP_1));
static_assert(Same(PIM_HOSTKEY_KP_7, SDLK_KP_7));
static_assert(Same(PIM_HOSTKEY_KP_9, SDLK_KP_9));
static_assert(Same(PIM_HOSTKEY_KP_0, SDLK_KP_0));
static_assert(Same(PIM_HOSTKEY_KP_PERIOD, SDLK_KP_PERIOD));
static_assert(Same(PIM_HOSTKEY_KP_EQUALS, SDLK_KP_EQUALS));
static_assert(Same(PIM_HOSTKEY_RETURN2, SDLK_RETURN2));
static_assert(Same(PIM_HOSTKEY_LCTRL, SDLK_LCTRL));
static_assert(Same(PIM_HOSTKEY_LSHIFT, SDLK_LSHIFT));
static_assert(Same(PIM_HOSTKEY_LALT, SDLK_LALT));
static_assert(Same(PIM_HOSTKEY_RCTRL, SDLK_RCTRL));
static_assert(Same(PIM_HOSTKEY_RSHIFT, SDLK_RSHIFT));
static_assert(Same(PIM_HOSTKEY_RALT, SDLK_RALT));
// The translation counts through these ranges.
static_assert(Same(PIM_HOSTKEY_F1 + 11, SDLK_F12) && Same(PIM_HOSTKEY_KP_1 + 8, SDLK_KP_9));

namespace {

constexpr uint32_t kVideoSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

ST_MESSAGE Message(EMessage type)
{
    ST_MESSAGE message;
    message.type = type;
    return message;
}

uint32_t HostModifiers(uint16_t mod)
{
    uint32_t modifiers = 0;
    if (mod & KMOD_SHIFT)
        modifiers |= PIM_HOSTMOD_SHIFT;
    if (mod & KMOD_CTRL)
        modifiers |= PIM_HOSTMOD_CTRL;
    // AltGr (KMOD_MODE) is left out on purpose: what it types is text.
    if (mod & KMOD_ALT)
        modifiers |= PIM_HOSTMOD_ALT;
    if (mod & KMOD_NUM)
        modifiers |= PIM_HOSTMOD_NUMLOCK;
    if (mod & KMOD_CAPS)
        modifiers |= PIM_HOSTMOD_CAPSLOCK;
    return modifiers;
}

uint32_t ButtonBits(uint32_t sdlState)
{
    uint32_t bits = 0;
    if (sdlState & SDL_BUTTON_LMASK)
        bits |= PIM_MK_LBUTTON;
    if (sdlState & SDL_BUTTON_RMASK)
        bits |= PIM_MK_RBUTTON;
    if (sdlState & SDL_BUTTON_MMASK)
        bits |= PIM_MK_MBUTTON;
    return bits;
}

// Down, Up and DblClk of one button, in the order of EMessage.
struct ST_MOUSE_BUTTON
{
    EMouseButton button;
    uint32_t bit;
};

constexpr ST_MOUSE_BUTTON kLeft{EMouseButton::Left, PIM_MK_LBUTTON};
constexpr ST_MOUSE_BUTTON kMiddle{EMouseButton::Middle, PIM_MK_MBUTTON};
constexpr ST_MOUSE_BUTTON kRight{EMouseButton::Right, PIM_MK_RBUTTON};

// The system cursors of the engine's ids 0 to 4, made when first shown and
// freed before the video subsystem stops.
constexpr SDL_SystemCursor kSystemCursorKinds[] = {SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_WAIT,
                                                   SDL_SYSTEM_CURSOR_IBEAM, SDL_SYSTEM_CURSOR_NO,
                                                   SDL_SYSTEM_CURSOR_HAND};
SDL_Cursor* g_systemCursors[std::size(kSystemCursorKinds)] = {};

void ShowSystemCursor(int id, bool visible)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    if (!visible) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    // Cursor resources of other numbers do not exist here: the arrow stands in.
    const bool known = id >= 0 && static_cast<size_t>(id) < std::size(kSystemCursorKinds);
    const size_t slot = known ? static_cast<size_t>(id) : 0;
    if (!g_systemCursors[slot])
        g_systemCursors[slot] = SDL_CreateSystemCursor(kSystemCursorKinds[slot]);
    if (g_systemCursors[slot])
        SDL_SetCursor(g_systemCursors[slot]);
    SDL_ShowCursor(SDL_ENABLE);
}

void FreeSystemCursors()
{
    for (SDL_Cursor*& cursor : g_systemCursors) {
        if (cursor) {
            SDL_FreeCursor(cursor);
            cursor = nullptr;
        }
    }
}

} // namespace

CxSdlWindow::~CxSdlWindow()
{
    Destroy();
    // Screens outliving the window must not reach for it.
    std::vector<CxSdlScreen*> screens;
    screens.swap(m_screens);
    for (CxSdlScreen* screen : screens)
        screen->ForgetWindow();
}

void CxSdlWindow::FailWith(const char* what)
{
    m_lastError = what;
    m_lastError += ": ";
    m_lastError += SDL_GetError();
    Trace("Window: %s\n", m_lastError.c_str());
}

bool CxSdlWindow::StartVideo()
{
    if (m_videoStarted)
        return true;
    // The window manager's close button must reach the application as
    // Close, once; SDL would add a Quit of its own for the last window.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // SDL turns the screen saver off by itself when video starts; the
    // application decides that (SetScreenSaver), and wants to know the
    // user's own setting so that it can put it back.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The software screen's window surface must not be a renderer in
    // disguise: a window has one renderer at most, and the accelerated
    // screen needs it once a software screen has been there.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(kVideoSubsystems) != 0) {
        FailWith("no video");
        return false;
    }
    m_videoStarted = true;
    if (!m_screenSaverWanted)
        SDL_DisableScreenSaver();
    return true;
}

void CxSdlWindow::StopVideo()
{
    if (!m_videoStarted)
        return;
    // The screen saver follows the video subsystem, so remember the wish for
    // the next start.
    m_screenSaverWanted = SDL_IsScreenSaverEnabled() == SDL_TRUE;
    SDL_QuitSubSystem(kVideoSubsystems);
    m_videoStarted = false;
}

bool CxSdlWindow::QueryDesktop(ST_DESKTOP& out)
{
    out = ST_DESKTOP{};
    if (!StartVideo())
        return false;
    int display = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0) {
        FailWith("no desktop mode");
        return false;
    }
    out.width = mode.w;
    out.height = mode.h;
    out.depth = static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format));
    return true;
}

bool CxSdlWindow::Create(const ST_WINDOW_SETUP& setup)
{
    // The video subsystem stays up for the new window.
    CloseWindow();
    m_lastError.clear();
    if (!StartVideo())
        return false;

    ST_DESKTOP desktop;
    QueryDesktop(desktop);

    uint32_t sdlFlags = 0;
    // A frame around a window the size of the desktop would push its edges
    // off the screen; an unknown desktop (0) never rules the frame out.
    bool fitsWithFrame = desktop.width == 0 || (setup.width < desktop.width && setup.height < desktop.height);
    if (!(setup.flags & PIM_WF_FRAMED) || !fitsWithFrame)
        sdlFlags |= SDL_WINDOW_BORDERLESS;
    if (setup.flags & PIM_WF_SIZABLE)
        sdlFlags |= SDL_WINDOW_RESIZABLE;
    if (setup.flags & PIM_WF_HIDDEN)
        sdlFlags |= SDL_WINDOW_HIDDEN;
    if (setup.fullScreen)
        sdlFlags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // Where the system scales windows, the drawable has more pixels than
    // the window has units; the screens use them all and map the pointer.
    sdlFlags |= SDL_WINDOW_ALLOW_HIGHDPI;
    int x = (setup.flags & PIM_WF_CENTERED) ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : setup.left;
    int y = (setup.flags & PIM_WF_CENTERED) ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : setup.top;

    m_window = SDL_CreateWindow(setup.title.c_str(), x, y, setup.width, setup.height, sdlFlags);
    if (!m_window) {
        FailWith("cannot create the window");
        return false;
    }
    m_lastError.clear(); // the desktop may have been unknown; that is no failure
    m_windowId = SDL_GetWindowID(m_window);
    m_flags = setup.flags;

    Uint8 drops = (setup.flags & PIM_WF_ACCEPT_FILES) ? SDL_ENABLE : SDL_DISABLE;
    SDL_EventState(SDL_DROPFILE, drops);
    SDL_EventState(SDL_DROPBEGIN, drops);
    SDL_EventState(SDL_DROPCOMPLETE, drops);
    SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
    SDL_StartTextInput();

    m_keyModifiers = HostModifiers(static_cast<uint16_t>(SDL_GetModState()));
    m_mouseButtons = ButtonBits(SDL_GetMouseState(nullptr, nullptr));
    m_swallowEnterUp = false;

    SetSystemCursorHook(&ShowSystemCursor);
    if ((setup.flags & PIM_WF_CUSTOM_CURSOR) || UsesCustomCursors())
        ShowSystemCursor(GetCursor(), false); // the engine draws its own
    else
        ShowSystemCursor(GetCursor(), GetCursorHideCount() == 0);

    QueueActivation(true, false, true);
    QueueSize(false);
    Queue(Message(EMessage::Paint));
    return true;
}

void CxSdlWindow::Destroy()
{
    CloseWindow();
    StopVideo();
}

void CxSdlWindow::CloseWindow()
{
    m_queue.Clear();
    m_drops.clear();
    m_dropping = false;
    // The screen's renderer or surface goes before the window it draws into.
    if (m_screen)
        m_screen->Close();
    m_screen = nullptr;
    if (GetSystemCursorHook() == &ShowSystemCursor)
        SetSystemCursorHook(nullptr);
    FreeSystemCursors();
    if (m_window) {
        SDL_StopTextInput();
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
        m_windowId = 0;
    }
}

void CxSdlWindow::Show()
{
    if (m_window)
        SDL_ShowWindow(m_window);
}

void CxSdlWindow::Hide()
{
    if (m_window)
        SDL_HideWindow(m_window);
}

void CxSdlWindow::Minimize()
{
    if (m_window)
        SDL_MinimizeWindow(m_window);
}

void CxSdlWindow::Maximize()
{
    if (m_window)
        SDL_MaximizeWindow(m_window);
}

void CxSdlWindow::Restore()
{
    if (m_window)
        SDL_RestoreWindow(m_window);
}

void CxSdlWindow::Move(int32_t left, int32_t top)
{
    if (m_window)
        SDL_SetWindowPosition(m_window, left, top);
}

void CxSdlWindow::SetFullScreen(bool on)
{
    if (m_window && SDL_SetWindowFullscreen(m_window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        FailWith("cannot change full screen");
}

void CxSdlWindow::GetClientRect(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const
{
    left = top = width = height = 0;
    if (!m_window)
        return;
    // SDL's window position and size are those of the client area already.
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(m_window, &x, &y);
    SDL_GetWindowSize(m_window, &w, &h);
    left = x;
    top = y;
    width = w;
    height = h;
}

void CxSdlWindow::Queue(const ST_MESSAGE& message)
{
    // Out of memory loses this one message, as a full system queue would.
    if (!m_queue.Enqueue(message))
        Trace("Window: message lost, out of memory\n");
}

void CxSdlWindow::QueueSize(bool minimized)
{
    ST_MESSAGE size = Message(EMessage::Size);
    int w = 0, h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    size.width = w;
    size.height = h;
    size.minimized = minimized;
    Queue(size);
}

void CxSdlWindow::QueueActivation(bool active, bool minimized, bool application)
{
    if (application) {
        ST_MESSAGE activateApp = Message(EMessage::ActivateApp);
        activateApp.active = active;
        Queue(activateApp);
    }
    ST_MESSAGE activate = Message(EMessage::Activate);
    activate.active = active;
    activate.minimized = minimized;
    Queue(activate);
}

bool CxSdlWindow::PollMessage(ST_MESSAGE& out)
{
    if (m_queue.IsEmpty() && m_videoStarted) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            TranslateEvent(event);
    }
    return m_queue.Dequeue(out);
}

void CxSdlWindow::FlushMessages()
{
    m_queue.RemoveIf([](const ST_MESSAGE& message) { return IsInputMessage(message.type); });
    if (!m_videoStarted)
        return;
    SDL_PumpEvents();
    // Keyboard, text, mouse, joystick, touch and gesture events: the input.
    // Window events and a termination request (SDL_QUIT, which becomes
    // Close) stay, as do dropped files.
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MULTIGESTURE);
    // The releases that went with them are gone too: what is held now is
    // what counts from here on.
    m_keyModifiers = HostModifiers(static_cast<uint16_t>(SDL_GetModState()));
    m_mouseButtons = ButtonBits(SDL_GetMouseState(nullptr, nullptr));
}

void CxSdlWindow::PresentCleared()
{
    if (m_screen) {
        m_screen->ClearWindow();
        return;
    }
    SDL_Surface* surface = m_window ? SDL_GetWindowSurface(m_window) : nullptr;
    if (!surface)
        return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(m_window);
}

CxScreenSurface* CxSdlWindow::CreateScreen(bool accelerated)
{
    CxSdlScreen* screen = nullptr;
    if (accelerated)
        screen = new CxSdlRendererScreen(this);
    else
        screen = new CxSdlSoftwareScreen(this);
    if (!screen)
        return nullptr;
    m_screens.push_back(screen);
    return screen;
}

void CxSdlWindow::AttachScreen(CxSdlScreen* screen)
{
    if (m_screen == screen)
        return;
    // One renderer or window surface per window.
    if (m_screen)
        m_screen->Close();
    m_screen = screen;
}

void CxSdlWindow::DetachScreen(CxSdlScreen* screen)
{
    if (m_screen == screen)
        m_screen = nullptr;
}

void CxSdlWindow::ForgetScreen(CxSdlScreen* screen)
{
    DetachScreen(screen);
    m_screens.erase(std::remove(m_screens.begin(), m_screens.end(), screen), m_screens.end());
}

void CxSdlWindow::SetClientSize(int32_t width, int32_t height)
{
    if (m_window && width > 0 && height > 0)
        SDL_SetWindowSize(m_window, width, height);
}

bool CxSdlWindow::SimulateMouseMove(int32_t x, int32_t y)
{
    if (!m_window)
        return false;
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = m_windowId;
    event.motion.state = SDL_GetMouseState(nullptr, nullptr);
    event.motion.x = x;
    event.motion.y = y;
    return SDL_PushEvent(&event) == 1;
}

bool CxSdlWindow::SimulateKey(int32_t hostKey, uint32_t hostModifiers, bool down)
{
    if (!m_window)
        return false;
    SDL_Event event;
    SDL_zero(event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = m_windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = hostKey;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(hostKey);
    uint16_t mod = 0;
    if (hostModifiers & PIM_HOSTMOD_SHIFT)
        mod |= KMOD_LSHIFT;
    if (hostModifiers & PIM_HOSTMOD_CTRL)
        mod |= KMOD_LCTRL;
    if (hostModifiers & PIM_HOSTMOD_ALT)
        mod |= KMOD_LALT;
    if (hostModifiers & PIM_HOSTMOD_NUMLOCK)
        mod |= KMOD_NUM;
    if (hostModifiers & PIM_HOSTMOD_CAPSLOCK)
        mod |= KMOD_CAPS;
    event.key.keysym.mod = mod;
    return SDL_PushEvent(&event) == 1;
}

bool CxSdlWindow::ToggleFullScreenKey(const SDL_Event& event)
{
    const bool enter = event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER;
    if (!enter)
        return false;
    if (event.type == SDL_KEYUP) {
        const bool swallowed = m_swallowEnterUp;
        m_swallowEnterUp = false;
        return swallowed;
    }
    if (!m_screen || !(event.key.keysym.mod & KMOD_ALT))
        return false;
    // Held down, the key repeats; one press is one toggle.
    if (!event.key.repeat)
        m_screen->SetFullScreen(!m_screen->IsFullScreen());
    m_swallowEnterUp = true;
    return true;
}

void CxSdlWindow::SetScreenSaver(bool enabled)
{
    m_screenSaverWanted = enabled;
    if (!m_videoStarted)
        return;
    if (enabled)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
}

bool CxSdlWindow::IsScreenSaverEnabled() const
{
    return m_videoStarted ? SDL_IsScreenSaverEnabled() == SDL_TRUE : m_screenSaverWanted;
}

uint32_t CxSdlWindow::MouseFlags() const
{
    uint32_t flags = m_mouseButtons;
    if (m_keyModifiers & PIM_HOSTMOD_SHIFT)
        flags |= PIM_MK_SHIFT;
    if (m_keyModifiers & PIM_HOSTMOD_CTRL)
        flags |= PIM_MK_CONTROL;
    return flags;
}

void CxSdlWindow::TranslateEvent(SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        Queue(Message(EMessage::Close));
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
        TranslateKey(event);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        TranslateMouse(event);
        break;
    case SDL_DROPBEGIN:
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
    case SDL_DROPCOMPLETE:
        TranslateDrop(event);
        break;
    default:
        break;
    }
}

void CxSdlWindow::TranslateWindowEvent(const SDL_Event& event)
{
    // Events of a window destroyed by an earlier Create may still be queued.
    if (event.window.windowID != m_windowId || !m_window)
        return;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_MOVED: {
        ST_MESSAGE move = Message(EMessage::Move);
        move.x = event.window.data1;
        move.y = event.window.data2;
        Queue(move);
        break;
    }
    // SDL follows every RESIZED with a SIZE_CHANGED, and sends only the
    // latter for sizes the program set: one Size for either.
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        QueueSize(false);
        if (m_screen)
            m_screen->Redisplay();
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        QueueSize(true);
        QueueActivation(false, true, false);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        QueueSize(false);
        QueueActivation(true, false, false);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        // Keys may have been pressed or released while another window had
        // them.
        m_keyModifiers = HostModifiers(static_cast<uint16_t>(SDL_GetModState()));
        QueueActivation(true, false, true);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        QueueActivation(false, false, true);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        Queue(Message(EMessage::Paint));
        if (m_screen)
            m_screen->Redisplay();
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Queue(Message(EMessage::Close));
        break;
    default:
        break;
    }
}

void CxSdlWindow::TranslateKey(const SDL_Event& event)
{
    if (event.type == SDL_TEXTINPUT) {
        uint32_t codes[SDL_TEXTINPUTEVENT_TEXT_SIZE];
        int count = PimTranslateText(event.text.text, m_keyModifiers, codes, SDL_TEXTINPUTEVENT_TEXT_SIZE);
        for (int i = 0; i < count; ++i) {
            ST_MESSAGE key = Message(EMessage::KeyDown);
            key.key = codes[i];
            Queue(key);
        }
        return;
    }
    if (ToggleFullScreenKey(event))
        return;
    ST_HOST_KEY host;
    host.keycode = event.key.keysym.sym;
    host.modifiers = HostModifiers(event.key.keysym.mod);
    m_keyModifiers = host.modifiers;
    ST_MESSAGE key = Message(event.type == SDL_KEYDOWN ? EMessage::KeyDown : EMessage::KeyUp);
    bool known = event.type == SDL_KEYDOWN ? PimTranslateKeyDown(host, key.key) : PimTranslateKeyUp(host, key.key);
    // The modifier state goes along, for fields that select with Shift.
    key.buttons = MouseFlags();
    if (known)
        Queue(key);
}

void CxSdlWindow::TranslateMouse(const SDL_Event& event)
{
    if (event.type == SDL_MOUSEMOTION) {
        m_mouseButtons = ButtonBits(event.motion.state);
        QueueMouse(EMouseAction::Move, EMouseButton::None, event.motion.x, event.motion.y, 0);
        return;
    }
    if (event.type == SDL_MOUSEWHEEL) {
        int notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches == 0)
            return; // sideways only
        QueueMouse(EMouseAction::Wheel, EMouseButton::None, event.wheel.mouseX, event.wheel.mouseY, notches);
        return;
    }

    const ST_MOUSE_BUTTON* button = nullptr;
    switch (event.button.button) {
    case SDL_BUTTON_LEFT:
        button = &kLeft;
        break;
    case SDL_BUTTON_MIDDLE:
        button = &kMiddle;
        break;
    case SDL_BUTTON_RIGHT:
        button = &kRight;
        break;
    default:
        return; // the side buttons mean nothing to the game
    }
    bool down = event.type == SDL_MOUSEBUTTONDOWN;
    if (down)
        m_mouseButtons |= button->bit;
    else
        m_mouseButtons &= ~button->bit;
    // While any button is held the window keeps the mouse, so a drag that
    // ends outside it still brings its release (a crayon stroke or a
    // dragged piece would otherwise stay held). Recent SDL versions capture
    // by themselves; asking again is harmless, and older ones need it. A
    // system that cannot capture leaves it as it was.
    SDL_CaptureMouse(m_mouseButtons != 0 ? SDL_TRUE : SDL_FALSE);
    // The game's flag for one-button play: the right button acts as the left.
    // The button state still tells which was pressed.
    if (button == &kRight && (m_flags & PIM_WF_RIGHT_AS_LEFT))
        button = &kLeft;

    EMouseAction action = EMouseAction::Up;
    if (down) {
        // SDL counts on (third click, fourth...); the system the game was
        // made for alternated single and double clicks.
        bool doubleClick = (m_flags & PIM_WF_DOUBLE_CLICKS) && event.button.clicks % 2 == 0;
        action = doubleClick ? EMouseAction::DoubleClick : EMouseAction::Down;
    }
    QueueMouse(action, button->button, event.button.x, event.button.y, 0);
}

bool CxSdlWindow::WarpPointer(CxPoint point)
{
    if (!m_window)
        return false;
    const CxPoint at = m_screen ? m_screen->ScreenToWindow(point) : point;
    SDL_WarpMouseInWindow(m_window, at.x, at.y);
    return true;
}

bool CxSdlWindow::GetPointer(CxPoint& out) const
{
    if (!m_window)
        return false;
    // The global state is relative to the window with the mouse focus;
    // ours is the only one.
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    out = m_screen ? m_screen->WindowToScreen(CxPoint(x, y)) : CxPoint(x, y);
    return true;
}

void CxSdlWindow::QueueMouse(EMouseAction action, EMouseButton button, int32_t x, int32_t y, int32_t notches)
{
    ST_MESSAGE message = Message(EMessage::Mouse);
    const CxPoint point = m_screen ? m_screen->WindowToScreen(CxPoint(x, y)) : CxPoint(x, y);
    message.mouse = MouseEvent(action, button, point, MouseFlags(), notches);
    Queue(message);
}

void CxSdlWindow::TranslateDrop(SDL_Event& event)
{
    bool accepted = (m_flags & PIM_WF_ACCEPT_FILES) != 0;
    switch (event.type) {
    case SDL_DROPBEGIN:
        m_dropping = true;
        m_drops.clear();
        break;
    case SDL_DROPFILE:
        if (accepted && event.drop.file)
            m_drops.emplace_back(event.drop.file);
        break;
    default:
        break;
    }
    SDL_free(event.drop.file);
    event.drop.file = nullptr;

    // A file dropped without a start and an end (older systems' way) is a
    // drop of its own.
    bool complete = event.type == SDL_DROPCOMPLETE || (event.type == SDL_DROPFILE && !m_dropping);
    if (!complete)
        return;
    m_dropping = false;
    if (!m_drops.empty()) {
        ST_MESSAGE drop = Message(EMessage::DropFiles);
        drop.files.swap(m_drops);
        Queue(drop);
    }
    m_drops.clear();
}
