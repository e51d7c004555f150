#pragma once
// A sprite that can run a modal loop. The graphics layer cannot call into
// the application, so DoModal drives the frame through a process-wide hook
// the application installs (SetModalLoop); without one DoModal refuses at
// once rather than spin on nothing.

#include "PIM/display/CxSprite.h"

constexpr uint32_t PIM_DIALOG_HIT_MASK = 5;
// The number of reported errors that ends a modal loop when the hook names none.
constexpr int PIM_MODAL_DEFAULT_ERROR_LIMIT = 3;

struct ST_MODAL_LOOP
{
    // One application frame; non-zero ends the loop.
    int (*frameStep)(void* context);
    // True while a quit or abort is pending.
    bool (*exitRequested)(void* context);
    // Drops the window's pending input before the loop starts (a close
    // request or a window event pending then is still handled by the loop).
    void (*flushMessages)(void* context);
    // <= 0 takes PIM_MODAL_DEFAULT_ERROR_LIMIT.
    int errorLimit;
    void* context;
};

void SetModalLoop(const ST_MODAL_LOOP& loop);
const ST_MODAL_LOOP& GetModalLoop();
// Back to no hook at all.
void ResetModalLoop();

class CxDialogBox : public CxSprite
{
public:
    CxDialogBox();
    ~CxDialogBox() override;

    // Runs frames until EndModal, the error limit, a new exit request or a
    // frame step that answers non-zero; the dialog's error code (16 without
    // an installed frame step). Nests: a dialog opened from inside a frame
    // step runs its own loop on top of this one.
    virtual int DoModal();
    virtual void EndModal() { m_endModal = true; }
    bool IsEndModal() const { return m_endModal; }
    // True between the start and the end of this dialog's DoModal.
    bool IsRunningModal() const { return m_running; }

protected:
    bool m_endModal = false;
    bool m_running = false;
};
