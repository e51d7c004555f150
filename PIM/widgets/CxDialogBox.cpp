#include "PIM/widgets/CxDialogBox.h"

#include "PIM/display/PimDisplay.h"

namespace {

ST_MODAL_LOOP s_loop = {};

// The focus each running DoModal will hand back. An object deleted while a
// loop runs must not be handed the focus afterwards, so the object-gone hook
// forgets it here.
constexpr int kMaxLoops = PIM_MODAL_STACK_SIZE;
CxDisplayObject* s_savedFocus[kMaxLoops] = {};
int s_loopDepth = 0;

void ForgetSavedFocus(const CxDisplayObject* object)
{
    for (int i = 0; i < s_loopDepth; ++i)
        if (s_savedFocus[i] == object)
            s_savedFocus[i] = nullptr;
}

} // namespace

void SetModalLoop(const ST_MODAL_LOOP& loop)
{
    s_loop = loop;
}

const ST_MODAL_LOOP& GetModalLoop()
{
    return s_loop;
}

void ResetModalLoop()
{
    s_loop = ST_MODAL_LOOP{};
}

CxDialogBox::CxDialogBox()
{
    m_hitMask = PIM_DIALOG_HIT_MASK;
}

CxDialogBox::~CxDialogBox()
{
    ForgetSelf();
}

int CxDialogBox::DoModal()
{
    if (GetError() != PIM_OK)
        return GetError();
    // Copied: a frame step may install another hook, which must not change
    // the rules of a loop already running.
    const ST_MODAL_LOOP loop = s_loop;
    if (!loop.frameStep)
        return PIM_ERR_BAD_ARG;
    if (s_loopDepth >= kMaxLoops)
        return ReportError(PIM_ERR_BAD_ARG, "Modal loops nested too deeply");
    // Only while a loop runs: the hook slots are few and shared.
    if (s_loopDepth == 0)
        AddObjectGoneHook(ForgetSavedFocus);

    if (loop.flushMessages)
        loop.flushMessages(loop.context);
    PushModal();
    const int slot = s_loopDepth++;
    s_savedFocus[slot] = GetFocusObject();
    SetFocus();
    m_endModal = false;
    m_running = true;

    const int errorLimit = loop.errorLimit > 0 ? loop.errorLimit : PIM_MODAL_DEFAULT_ERROR_LIMIT;
    const bool exitPending = loop.exitRequested && loop.exitRequested(loop.context);
    while (!m_endModal && GetErrorCount() < errorLimit)
    {
        if (loop.frameStep(loop.context) != 0)
            break;
        if (!exitPending && loop.exitRequested && loop.exitRequested(loop.context))
            break;
    }

    m_running = false;
    CxDisplayObject* focus = s_savedFocus[slot];
    s_savedFocus[slot] = nullptr;
    --s_loopDepth;
    if (s_loopDepth == 0)
        RemoveObjectGoneHook(ForgetSavedFocus);
    SetFocusObject(focus);
    RemoveModal();
    return GetError();
}
