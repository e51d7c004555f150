#pragma once
// The hover and click rules every hub applies to its mini-game buttons:
//   - while no button is hovered, the first one (in the order added) that
//     is shown, enabled and whose shape holds the pointer becomes hovered:
//     state 1 when it is open, 3 when it is locked;
//   - when the pointer leaves it (or it is hidden or disabled meanwhile) it
//     goes back to state 0 and nothing is hovered;
//   - a click on the hovered button: locked, the hub's locked answer
//     (usually a voice saying so); open, the hub's last word (it may put
//     other buttons away), then the button's OnClick chunk in the Lua engine.
// A hidden or disabled button never hovers and never runs its OnClick.
// The buttons stay their owner's.

#include "PIM/core/CxRect.h"

#include <functional>
#include <vector>

class CSpecialButton;

enum class EHubClick
{
    None,
    Locked,
    Opened,
};

class CHubButtons
{
public:
    using Answer = std::function<void(CSpecialButton&)>;

    void Add(CSpecialButton* button);
    void Clear();
    const std::vector<CSpecialButton*>& GetButtons() const { return m_buttons; }

    // `point` in the buttons' parent's coordinates.
    void OnPointerMove(CxPoint point);
    // The hovered button back to state 0, nothing hovered.
    void Unhover();
    CSpecialButton* GetHovered() const { return m_hovered; }

    // The hovered button's click: `onLocked` for a locked one; for an open
    // one `beforeOpen` (may be empty), then its OnClick through the Lua engine.
    EHubClick Click(const Answer& onLocked, const Answer& beforeOpen = {});

    // Shown and enabled: a button that can hover.
    static bool IsLive(const CSpecialButton& button);
    // Runs `chunk` in the game layer's Lua engine (nothing without one).
    static void RunChunk(const char* chunk);

private:
    std::vector<CSpecialButton*> m_buttons;
    CSpecialButton* m_hovered = nullptr;
};
