#include "PIM/backends/headless/CxHeadlessRunner.h"

#include "PIM/app/CxGameApp.h"
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/CxScreenSurface.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/movie/CxMovie.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/core/Pimstr.h"
#include "PIM/widgets/CxCommonControls.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kDragSteps = 8;

uint32_t KeyUpCode(uint32_t key)
{
    // Key-ups of printable keys carry the upper-case character.
    uint32_t base = PimKeyBase(key);
    if (base >= 'a' && base <= 'z')
        base = base - 'a' + 'A';
    return (key & ~0x0FFFFFFFu) | base;
}

} // namespace

CxHeadlessRunner::CxHeadlessRunner(CxGameApp& app, const CxReplayScript* replay, const std::string& replayName,
                                   long maxFrames, bool virtualTime)
    : m_app(app), m_replay(replay), m_replayName(replayName), m_maxFrames(maxFrames), m_clock(1),
      m_virtualTime(virtualTime)
{
    if (m_virtualTime)
        PimSetClock(&m_clock);
}

CxHeadlessRunner::~CxHeadlessRunner()
{
    if (PimGetClock() == &m_clock)
        PimSetClock(nullptr);
}

void CxHeadlessRunner::PostKey(CxHeadlessWindow& window, EMessage type, uint32_t key)
{
    ST_MESSAGE m;
    m.type = type;
    m.key = key;
    window.Post(m);
}

void CxHeadlessRunner::PostMouse(CxHeadlessWindow& window, EMouseAction action, EMouseButton button, int32_t x,
                                 int32_t y, uint32_t buttons)
{
    ST_MESSAGE m;
    m.type = EMessage::Mouse;
    m.mouse = MouseEvent(action, button, CxPoint(x, y), buttons);
    window.Post(m);
}

void CxHeadlessRunner::PostFocus(CxHeadlessWindow& window, bool active)
{
    // What a real window reports when the player switches programs: the
    // application's activation, then the window's.
    ST_MESSAGE m;
    m.type = EMessage::ActivateApp;
    m.active = active;
    window.Post(m);
    m.type = EMessage::Activate;
    window.Post(m);
}

void CxHeadlessRunner::PostClick(CxHeadlessWindow& window, EMouseButton button, int32_t x, int32_t y)
{
    const uint32_t held = button == EMouseButton::Right ? PIM_MK_RBUTTON : PIM_MK_LBUTTON;
    PostMouse(window, EMouseAction::Move, EMouseButton::None, x, y, 0);
    PostMouse(window, EMouseAction::Down, button, x, y, held);
    PostMouse(window, EMouseAction::Up, button, x, y, 0);
}

bool CxHeadlessRunner::CheckPixel(const ST_REPLAY_STEP& step)
{
    CxScreenSurface* screen = m_app.GetScreen();
    const int32_t x = step.values[0], y = step.values[1];
    char what[200];
    if (!screen || x >= screen->GetWidth() || y >= screen->GetHeight()) {
        std::snprintf(what, sizeof what, "expected a pixel at (%d, %d), but the screen is not that big", x, y);
        Fail(step.line, what);
        return false;
    }
    const ST_ARGB seen = SplitPixel(screen->GetFormat(), screen->GetPixel(x, y));
    const int32_t* want = step.values + 2;
    const int got[3] = {seen.red, seen.green, seen.blue};
    for (int i = 0; i < 3; ++i) {
        if (std::abs(got[i] - want[i]) > CxReplayScript::kPixelTolerance) {
            std::snprintf(what, sizeof what, "expected the colour %d %d %d at (%d, %d), but the screen shows %d %d %d",
                          want[0], want[1], want[2], x, y, got[0], got[1], got[2]);
            Fail(step.line, what);
            return false;
        }
    }
    return true;
}

bool CxHeadlessRunner::ClickBoxButton(CxHeadlessWindow& window, const std::string& label)
{
    const CxCommonMessageBox* box = GetOpenMessageBox();
    const CxCommonPushButton* button = box ? box->FindButton(label.c_str()) : nullptr;
    if (!button)
        return false;
    // The button's centre in the rooms' coordinates, taken back to the
    // window's points (the mouse is scaled the other way on arrival).
    const CxRect r = button->GetScreenExtent();
    int64_t x = r.left + (r.right - r.left) / 2;
    int64_t y = r.top + (r.bottom - r.top) / 2;
    const CxSize root = m_app.GetRootSize();
    const CxSize points = m_app.GetPointSize();
    if (root.width > 0 && root.height > 0) {
        x = (x * points.width + points.width / 2) / root.width;
        y = (y * points.height + points.height / 2) / root.height;
    }
    PostClick(window, EMouseButton::Left, static_cast<int32_t>(x), static_cast<int32_t>(y));
    return true;
}

bool CxHeadlessRunner::TakeScreenshot(const ST_REPLAY_STEP& step)
{
    // Untagged names are the system's own paths, as on the command line.
    const std::string file = step.text.front() == '<' ? step.text : "<DEFAULT>" + step.text;
    const int code = m_app.ScreenCapture(file.c_str());
    if (code != PIM_OK) {
        Fail(step.line, "could not save the screenshot " + step.text + ": " + ErrorText(code));
        return false;
    }
    return true;
}

bool CxHeadlessRunner::CheckPlayer(const ST_REPLAY_STEP& step)
{
    CxString stored;
    if (!m_app.ReadPlayerValue(step.name.c_str(), stored)) {
        Fail(step.line, "expected the player's \"" + step.name + "\" to be \"" + step.text +
                            "\", but no player is signed in (or the game keeps no players)");
        return false;
    }
    const std::string value = stored.GetText();
    if (!CxReplayScript::SameValue(value, step.text)) {
        Fail(step.line, "expected the player's \"" + step.name + "\" to be \"" + step.text + "\", but it is \"" +
                            value + "\"");
        return false;
    }
    return true;
}

void CxHeadlessRunner::Fail(int line, const std::string& what)
{
    char text[512];
    std::snprintf(text, sizeof text, "replay %s:%d: %s", m_replayName.c_str(), line, what.c_str());
    m_failure = text;
    m_failed = true;
    Finish();
}

void CxHeadlessRunner::Finish()
{
    m_finished = true;
    // Nobody is left to answer a box: one open now, or one an error puts up
    // on the way out, must not hold the run.
    m_app.SetUnattended(true);
    m_app.SetQuit(true);
}

namespace {

// A modal dialog waiting for an answer, not a modal movie (a fade) that
// ends on its own.
bool IsDialogOpen()
{
    CxDisplayObject* modal = GetModalObject();
    return modal && !dynamic_cast<CxMovie*>(modal);
}

} // namespace

void CxHeadlessRunner::OnMainLoop()
{
    if (m_finished)
        return;
    ++m_frames;
    if (m_maxFrames > 0 && m_frames >= m_maxFrames) {
        Finish();
        return;
    }
    CxHeadlessWindow* window = HeadlessWindowOf(m_app);
    if (!m_replay || !window) {
        if (m_virtualTime)
            m_clock.Advance(kFrameMilliseconds);
        return;
    }
    if (m_waitLeft > 0) {
        uint32_t step = m_waitLeft < kFrameMilliseconds ? m_waitLeft : kFrameMilliseconds;
        m_clock.Advance(step);
        m_waitLeft -= step;
        return;
    }
    // What was sent must be handled first, room changes included, so that
    // an expectation sees its effect. A room change waits for the modal
    // loops to end, and those wait for this replay to answer them.
    if (window->GetPendingCount() > 0 || (m_app.GetPendingRoom() && m_app.GetModalDepth() == 0))
        return;
    // A room change under way (a fade playing as one room leaves or the
    // next enters) runs on the clock to its end before the next line. A
    // dialog the entering room opens while it loads (a game's start-level
    // dialog) waits for this replay's answer like any other: then the
    // lines run.
    if (m_app.IsSwitchingRoom() && !IsDialogOpen()) {
        m_clock.Advance(kFrameMilliseconds);
        // Meanwhile a replay may only let time pass and look (a fade
        // half-way); anything else waits for the new room.
        const auto& steps = m_replay->GetSteps();
        if (m_next < steps.size() && steps[m_next].op == EReplayOp::Screenshot)
            TakeScreenshot(steps[m_next++]);
        else if (m_next < steps.size() && steps[m_next].op == EReplayOp::Wait)
            m_waitLeft = static_cast<uint32_t>(steps[m_next++].values[0]);
        return;
    }
    // A box that was answered closes when its frame ends.
    if (const CxCommonMessageBox* box = GetOpenMessageBox(); box && box->IsEndModal())
        return;
    if (!RunSteps(*window))
        Finish();
}

bool CxHeadlessRunner::RunSteps(CxHeadlessWindow& window)
{
    const auto& steps = m_replay->GetSteps();
    while (m_next < steps.size()) {
        const ST_REPLAY_STEP& step = steps[m_next++];
        const int32_t* v = step.values;
        switch (step.op) {
        case EReplayOp::Wait:
            m_waitLeft = static_cast<uint32_t>(v[0]);
            return true;
        case EReplayOp::Move:
            PostMouse(window, EMouseAction::Move, EMouseButton::None, v[0], v[1], 0);
            return true;
        case EReplayOp::Click:
            PostClick(window, EMouseButton::Left, v[0], v[1]);
            return true;
        case EReplayOp::ClickButton:
            if (!ClickBoxButton(window, step.text)) {
                const CxCommonMessageBox* box = GetOpenMessageBox();
                Fail(step.line, box ? "the box \"" + std::string(box->GetTitle()) + "\" has no button \"" +
                                          step.text + "\""
                                    : "no message box is open to click \"" + step.text + "\"");
            }
            return true;
        case EReplayOp::RightClick:
            PostClick(window, EMouseButton::Right, v[0], v[1]);
            return true;
        case EReplayOp::Drag:
            PostMouse(window, EMouseAction::Move, EMouseButton::None, v[0], v[1], 0);
            PostMouse(window, EMouseAction::Down, EMouseButton::Left, v[0], v[1], PIM_MK_LBUTTON);
            for (int i = 1; i <= kDragSteps; ++i) {
                int32_t x = v[0] + static_cast<int32_t>(int64_t{v[2] - v[0]} * i / kDragSteps);
                int32_t y = v[1] + static_cast<int32_t>(int64_t{v[3] - v[1]} * i / kDragSteps);
                PostMouse(window, EMouseAction::Move, EMouseButton::None, x, y, PIM_MK_LBUTTON);
            }
            PostMouse(window, EMouseAction::Up, EMouseButton::Left, v[2], v[3], 0);
            return true;
        case EReplayOp::Key:
            PostKey(window, EMessage::KeyDown, step.key);
            PostKey(window, EMessage::KeyUp, KeyUpCode(step.key));
            return true;
        case EReplayOp::Text:
            for (char c : step.text) {
                uint32_t code = static_cast<unsigned char>(c);
                PostKey(window, EMessage::KeyDown, code);
                PostKey(window, EMessage::KeyUp, KeyUpCode(code));
            }
            if (!step.text.empty())
                return true;
            break;
        case EReplayOp::ExpectRoom:
            if (!PimStrEqual(m_app.GetCurRoomName(), step.text.c_str(), true)) {
                Fail(step.line, "expected room \"" + step.text + "\", but the current room is \"" +
                                    m_app.GetCurRoomName() + "\"");
                return true;
            }
            break;
        case EReplayOp::ExpectNoErrors:
            if (GetErrorCount() != 0) {
                char what[600];
                std::snprintf(what, sizeof what, "expected no errors, but %d were reported (last: %s: %s)",
                              GetErrorCount(), ErrorText(GetLastReportedError()), GetLastErrorMessage());
                Fail(step.line, what);
                return true;
            }
            break;
        case EReplayOp::ExpectPlayer:
            if (!CheckPlayer(step))
                return true;
            break;
        case EReplayOp::ExpectBox: {
            const CxCommonMessageBox* box = GetOpenMessageBox();
            if (!box || step.text != box->GetTitle()) {
                Fail(step.line, "expected a box titled \"" + step.text + "\", but " +
                                    (box ? "the open box is \"" + std::string(box->GetTitle()) + "\""
                                         : std::string("no box is open")));
                return true;
            }
            break;
        }
        case EReplayOp::ExpectNoBox:
            if (const CxCommonMessageBox* box = GetOpenMessageBox()) {
                Fail(step.line, "expected no box, but \"" + std::string(box->GetTitle()) + "\" is open");
                return true;
            }
            break;
        case EReplayOp::ExpectPixel:
            if (!CheckPixel(step))
                return true;
            break;
        case EReplayOp::Focus:
            PostFocus(window, v[0] != 0);
            return true;
        case EReplayOp::Seed:
            SeedRandom(static_cast<uint32_t>(v[0]));
            break;
        case EReplayOp::Screenshot:
            if (!TakeScreenshot(step))
                return true;
            break;
        case EReplayOp::Quit:
            return false;
        }
    }
    return false;
}
