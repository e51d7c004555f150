#pragma once
// Drives a headless run: owns the virtual clock, feeds a replay's input to
// the headless window one step at a time, checks its expectations, and ends
// the run after the replay (or after a number of frames).
//
// Time passes only on "wait" (in frame-sized steps, so timers and events see
// the frames they would see in a real run); without a replay every frame
// lasts kFrameMilliseconds. On another back end's window (a real one) it only
// counts the frames and ends the run after them.

#include "PIM/app/CxReplayScript.h"
#include "PIM/core/CxMainLoopHook.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMessage.h"

#include <string>

class CxGameApp;
class CxHeadlessWindow;

class CxHeadlessRunner : public CxMainLoopHook
{
public:
    static constexpr uint32_t kFrameMilliseconds = 10;

    // With `virtualTime`, installs the virtual clock (headless runs); a real
    // window keeps the system clock and only counts frames. `replayName` is
    // used in messages.
    CxHeadlessRunner(CxGameApp& app, const CxReplayScript* replay, const std::string& replayName, long maxFrames,
                     bool virtualTime = true);
    ~CxHeadlessRunner() override;

    void OnMainLoop() override;

    // 0 while nothing failed; 1 after a failed expectation.
    int GetExitCode() const { return m_failed ? 1 : 0; }
    const std::string& GetFailure() const { return m_failure; }
    bool IsFinished() const { return m_finished; }
    long GetFrames() const { return m_frames; }
    CxVirtualClock& GetClock() { return m_clock; }

private:
    // Carries out steps until one needs frames to pass; false when done.
    bool RunSteps(CxHeadlessWindow& window);
    void PostKey(CxHeadlessWindow& window, EMessage type, uint32_t key);
    void PostMouse(CxHeadlessWindow& window, EMouseAction action, EMouseButton button, int32_t x, int32_t y,
                   uint32_t buttons);
    void PostClick(CxHeadlessWindow& window, EMouseButton button, int32_t x, int32_t y);
    void PostFocus(CxHeadlessWindow& window, bool active);
    // Saves the screen as the step says; false (the run failed) when it could not.
    bool TakeScreenshot(const ST_REPLAY_STEP& step);
    // Clicks the open box's button `label` where it shows; false when none.
    bool ClickBoxButton(CxHeadlessWindow& window, const std::string& label);
    // True when the screen shows the step's colour at its point; else fails.
    bool CheckPixel(const ST_REPLAY_STEP& step);
    // True when the signed-in player's stored value is the step's; else fails.
    bool CheckPlayer(const ST_REPLAY_STEP& step);
    void Fail(int line, const std::string& what);
    void Finish();

    CxGameApp& m_app;
    const CxReplayScript* m_replay;
    std::string m_replayName;
    long m_maxFrames;
    long m_frames = 0;
    size_t m_next = 0;
    uint32_t m_waitLeft = 0;
    bool m_finished = false;
    bool m_failed = false;
    std::string m_failure;
    CxVirtualClock m_clock;
    bool m_virtualTime;
};
