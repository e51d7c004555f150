#pragma once
// The game's buttons: animated buttons driven by data. Each of the five
// visual states plays its own frame range of the picture (a 5-frame strip
// shows one frame per state; any other strip shows frame 0 at rest and
// loops frames 1..last at 15 frames a second in every other state). Instead
// of compiled code the button runs Lua texts when the pointer enters it,
// leaves it (or a press is released outside it) and when it is clicked; it
// shows its own cursor while the pointer is over it, and it can flash
// between its normal look and a tinted one to draw attention.
//
// The owner still hears every event (CxButton::Notify) before the texts run.
// A click text, or the leave text of a release outside, may destroy the
// button (a room reload does): nothing of the button is touched after such
// a text returns. Texts run while the pointer merely moves (enter, leave by
// moving off) must leave the deleting for later (DaxDeleteLater), since the
// animated button goes on playing its new state after telling the change.

#include "PIM/core/CxString.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/widgets/CxButton.h"

// The flash look of 16-bit and 8-bit pictures: colour added to every pixel.
constexpr int32_t DAX_BUTTON_FLASH_MODE = PIM_DRAW_ADD_RGB;
// 32-bit pictures draw with their own alpha, and flash with colour added on top.
constexpr int32_t DAX_BUTTON_ALPHA_MODE = PIM_DRAW_SOURCE_ALPHA;
constexpr int32_t DAX_BUTTON_ALPHA_FLASH_MODE = PIM_DRAW_ALPHA_TINTED;
// Frames a second of the looping states of animated strips.
constexpr float DAX_BUTTON_FRAME_RATE = 15.0f;
// The repeat count that makes a state loop for as long as it lasts.
constexpr int32_t DAX_BUTTON_LOOP_FOREVER = 99999999;

class CDaxButton : public CxAnimatedButton, public CxTimerListener
{
public:
    explicit CDaxButton(int kind = PIM_BUTTON_PUSH);
    ~CDaxButton() override;

    // --- the picture ----------------------------------------------------------------------
    // Unlike the engine's buttons, the picture keeps the frame count it is
    // given (a count the width does not divide gives one frame). A 32-bit
    // picture draws alpha blended and flashes tinted; then the state
    // actions are built for the frames the sprite really has.
    int SetSurface(CxDrawSurface* surface, int frameCount = PIM_BUTTON_STATE_COUNT) override;
    // Load's picture: still pictures arrive through SetSurface, movies too
    // take the looks and the actions.
    int LoadPicture(const char* fileName, int frameCount) override;

    // --- events ---------------------------------------------------------------------------
    // The owner hears the event first; then highlighted (2) runs the enter
    // text, clicked (10) the click text, left (11) the leave text. A button
    // its owner deleted on hearing the event runs nothing.
    void Notify(int event) override;
    // The engine puts the default cursor up at every pointer move: while the
    // pointer is over this button its own cursor goes up again.
    void OnMouseMove(uint32_t buttons, CxPoint point) override;

    // --- the button's own, in this order --------------------------------------------------
    // Resets the five state actions and maps them to the frames (see the top).
    virtual void BuildActions(int frameCount);
    virtual void OnClickScript();
    // The enter text; then, with a cursor of its own, the button remembers
    // the cursor up now and puts its own up.
    virtual void OnEnterScript();
    // The leave text; then the cursor remembered on entering goes up again.
    virtual void OnLeaveScript();
    // States 0..4 only. A first frame outside the strip becomes 0, a last
    // frame outside it the strip's last frame. A state with `once` set, or
    // of one frame, plays through and stops; any other loops. The animation
    // then takes the five actions afresh.
    virtual void SetStateFrames(int state, int firstFrame, int lastFrame, bool once);
    // Called by the owner when the pointer has rested on the button a while.
    virtual void OnHoverTimeout() {}

    // The number data gives the control ("ControlID"); 0 unless set.
    void SetControlId(int id) { m_controlId = id; }
    int GetControlId() const { return m_controlId; }

    // Back to the normal state as if the button had just been made: the
    // pointer capture let go, the cursor remembered on entering put back,
    // and the normal state shown without telling anyone (no owner event,
    // no text runs), so a panel opened again does not show the hover or
    // press its button had when it closed. A disabled button stays so.
    void ResetState();

    // Whether an owner's notice (OnNotify's code, sender and first value)
    // tells of a click; if so the button's name is copied into `name` (at
    // most `size` - 1 bytes), since the owner's answer may destroy the
    // button while it hears of it.
    static bool IsClickNotice(int code, const CxDisplayObject* sender, intptr_t first, char* name, size_t size);

    // -1: none (the pointer's cursor is left alone).
    void SetCursorId(int cursor) { m_cursor = cursor; }
    int GetCursorId() const { return m_cursor; }
    // The cursor remembered on entering; -1 when none is.
    int GetRememberedCursor() const { return m_rememberedCursor; }

    // Alternates the normal and the flash look every `period` ms (0 is
    // taken as 1) until StopFlash, which puts the normal look back.
    void StartFlash(uint32_t period);
    void StopFlash();
    bool IsFlashing() const { return m_flashTimer.IsRunning(); }
    // The flash look shown steadily (a flash is stopped first), and the
    // normal look back; both stop flashing.
    void Highlight() { ShowSteadyLook(true); }
    void UnHighlight() { ShowSteadyLook(false); }
    bool IsHighlighted() const { return m_highlighted; }
    void OnTimer(CxTimerCallBack* timer) override;

    void SetClickText(const char* text) { m_clickText = text ? text : ""; }
    void SetEnterText(const char* text) { m_enterText = text ? text : ""; }
    void SetLeaveText(const char* text) { m_leaveText = text ? text : ""; }
    const char* GetClickText() const { return m_clickText.GetText(); }
    const char* GetEnterText() const { return m_enterText.GetText(); }
    const char* GetLeaveText() const { return m_leaveText.GetText(); }

    const ST_DRAW_PARAMS& GetNormalParams() const { return m_normalParams; }
    const ST_DRAW_PARAMS& GetFlashParams() const { return m_flashParams; }
    // The flash look (its mode is set again with every new picture).
    void SetFlashParams(const ST_DRAW_PARAMS& params) { m_flashParams = params; }
    const ST_ANIM_ACTION& GetStateAction(int state) const;

private:
    // The modes that suit the picture, the normal look put up, the actions built.
    void TakePicture();
    // Runs `text` (nothing when empty); false when it destroyed the button.
    [[nodiscard]] bool RunText(const CxString& text);
    // The remembered cursor goes up again and is forgotten.
    void RestoreCursor();
    void ShowSteadyLook(bool highlighted);

    ST_ANIM_ACTION m_actions[PIM_BUTTON_STATE_COUNT];
    CxString m_clickText;
    CxString m_enterText;
    CxString m_leaveText;
    int m_controlId = 0;
    int m_cursor = -1;
    int m_rememberedCursor = -1;
    // Set while ResetState puts the normal state up: nobody hears of it.
    bool m_quiet = false;
    bool m_highlighted = false;
    // The button's own cursor is up: from the enter to the leave (or the
    // disabling).
    bool m_hovered = false;
    CxTimerCallBack m_flashTimer;
    ST_DRAW_PARAMS m_flashParams;
    ST_DRAW_PARAMS m_normalParams;
    // Set by the destructor, so that code that ran a text or told the owner
    // learns that the button went with it.
    bool* m_goneFlag = nullptr;
};
