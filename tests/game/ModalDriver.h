#pragma once
// Answers the game's modal dialogs from the main loop, as a player would:
// each main-loop pass while a dialog is open calls the test's step with the
// dialog and the number of passes it has been open (from 1), and the step
// posts clicks and keys to the headless window. The dialog drops input
// pending when it opens, so a step posts from its second pass on.

#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxMainLoopHook.h"
#include "PIM/display/CxDisplayObject.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/app/CxWindowApp.h"
#include "PIM/core/Pimstr.h"
#include "PIM/widgets/CxButton.h"

#include <functional>

class ModalDriver : public CxMainLoopHook
{
public:
    using Step = std::function<void(CxDisplayObject& dialog, int pass)>;

    explicit ModalDriver(Step step) : m_step(std::move(step)) {}

    void OnMainLoop() override
    {
        CxDisplayObject* modal = GetModalObject();
        if (modal != m_open) {
            m_open = modal;
            m_pass = 0;
        }
        if (modal && m_step)
            m_step(*modal, ++m_pass);
    }

private:
    Step m_step;
    CxDisplayObject* m_open = nullptr;
    int m_pass = 0;
};

// What the window reports for a player's input.
inline void PostMouse(CxWindowApp& app, EMouseAction action, EMouseButton button, CxPoint at, uint32_t held)
{
    ST_MESSAGE m;
    m.type = EMessage::Mouse;
    m.mouse = MouseEvent(action, button, at, held);
    HeadlessWindowOf(app)->Post(m);
}

// A click at the middle of `object`.
inline void PostClick(CxWindowApp& app, const CxDisplayObject& object)
{
    const CxPoint at = object.LocalToScreen(CxPoint(object.GetWidth() / 2, object.GetHeight() / 2));
    PostMouse(app, EMouseAction::Move, EMouseButton::None, at, 0);
    PostMouse(app, EMouseAction::Down, EMouseButton::Left, at, PIM_MK_LBUTTON);
    PostMouse(app, EMouseAction::Up, EMouseButton::Left, at, 0);
}

// A click on the button of that name among the dialog's children; false when there is none.
inline bool ClickDialogButton(CxWindowApp& app, CxDisplayObject& dialog, const char* name)
{
    for (auto* node = dialog.GetChildren().GetFirst(); node; node = node->GetNext()) {
        CxDisplayObject* child = node->GetElement();
        if (dynamic_cast<CxButton*>(child) && PimStrEqual(child->GetName(), name, true)) {
            PostClick(app, *child);
            return true;
        }
    }
    return false;
}

inline void PostKey(CxWindowApp& app, uint32_t code)
{
    ST_MESSAGE m;
    m.type = EMessage::KeyDown;
    m.key = code;
    HeadlessWindowOf(app)->Post(m);
}
