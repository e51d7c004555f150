#pragma once
// The screen layer of the application: the internal size rooms are drawn at,
// mouse points scaled to it, the error display, and the hot keys (Alt+Q and
// Alt+F4 quit, Alt+V shows the version).

#include "PIM/app/CxWindowApp.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxSize.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/widgets/CxDialogBox.h"

class CxDisplayApp : public CxWindowApp
{
public:
    explicit CxDisplayApp(const ST_APP_INIT& init);

    int InitInstance() override;
    int InitApplication() override;
    int ExitApplication() override;
    int PaintScreen() override;
    void InvalidateRect(const CxRect* rect) override;
    void OnPaint(const CxRect& rect) override;
    void OnScreenCreated() override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnKeyUp(uint32_t key, uint32_t flags) override;
    // Scales the point onto the root's size, then OnRootMouse.
    void OnMouse(const ST_MOUSE_EVENT& event) override;

    // The size rooms are drawn at (the screen's size when not set).
    CxSize GetRootSize() const;
    // The size mouse points arrive in: the screen's, or the client's before one.
    CxSize GetPointSize() const;
    const CxSize& GetInternalSize() const { return m_internalSize; }

    // Maps a point of the client area onto the root's size. False when the
    // client has no size (the event is then dropped).
    bool ScaleMousePoint(CxPoint& point) const;

    // The version text of the Alt+V box: "%s v%d.%02d build %d\n%s".
    std::string VersionText() const;
    // The Alt+V box (not a second one while it is open).
    void ShowVersionBox();
    // The screen comes with the window's first activation, a few frames into
    // the run: anything shown before the main loop (intro movies) runs
    // frames until it is there. False when it did not come.
    bool WaitForScreen(int maxFrames = 100);

    // Modal loops (dialogs, modal movies) re-enter the frame; room changes
    // wait until none is running.
    void BeginModal() { ++m_modalDepth; }
    void EndModal()
    {
        if (m_modalDepth > 0)
            --m_modalDepth;
    }
    int GetModalDepth() const { return m_modalDepth; }
    // One frame run from inside a modal loop; non-zero ends that loop. A
    // window closed under a box ends the game as well.
    int ModalFrame();

    // Nobody is left to answer a box (a finished replay, a run of counted
    // frames): modal loops end at once and the error box is not put up.
    void SetUnattended(bool unattended) { m_unattended = unattended; }
    bool IsUnattended() const { return m_unattended; }

    // A mouse event at a point of the root: the cursor follows it, and the
    // display tree hands it to the object under the pointer.
    virtual void OnRootMouse(const ST_MOUSE_EVENT& event);
    // A key for the display tree: to the focus object, whose handler passes
    // what it does not take on to its parent. True when it was delivered.
    // `flags` carries PIM_KEY_SHIFT while Shift is held.
    virtual bool OnRootKey(uint32_t key, uint32_t flags);
    virtual bool OnRootKeyUp(uint32_t key, uint32_t flags);

protected:
    // The error display: every counted error reaches it. The box offers
    // "Continue" and "Quit"; "Quit" ends the run through Abort().
    virtual void ShowError(int code, const char* message);
    static void OnError(void* context, int code, const char* message);
    // Also in a box titled "Printout", when someone is there to read it.
    void ShowPrintNotice(const char* text) override;
    // True when a box can be put up and answered now.
    bool CanShowBox() const;

    CxSize m_internalSize{-1, -1};
    // The rectangles of the frame being painted (kept here: painting allocates nothing).
    CxRect m_dirty[PIM_MAX_DIRTY_RECTS];
    ST_ERROR_HANDLER m_previousHandler;
    bool m_handlerInstalled = false;
    ST_MODAL_LOOP m_previousModalLoop{};
    bool m_modalLoopInstalled = false;
    int m_modalDepth = 0;
    bool m_unattended = false;
};
