#include "game/common/CHubButtons.h"

#include "DAX/base/CDaxServices.h"
#include "PIM/core/PimTrace.h"
#include "PIM/script/CxLuaEngine.h"
#include "game/common/CSpecialButton.h"

#include <algorithm>

void CHubButtons::Add(CSpecialButton* button)
{
    if (button && std::find(m_buttons.begin(), m_buttons.end(), button) == m_buttons.end())
        m_buttons.push_back(button);
}

void CHubButtons::Clear()
{
    m_buttons.clear();
    m_hovered = nullptr;
}

bool CHubButtons::IsLive(const CSpecialButton& button)
{
    return button.IsShown() && button.IsEnabled();
}

void CHubButtons::Unhover()
{
    if (m_hovered && m_hovered->GetState() != GAME_BUTTON_NORMAL)
        m_hovered->SetState(GAME_BUTTON_NORMAL);
    m_hovered = nullptr;
}

void CHubButtons::OnPointerMove(CxPoint point)
{
    if (m_hovered && (!IsLive(*m_hovered) || !m_hovered->ContainsPoint(point, true)))
        Unhover();
    if (m_hovered)
        return;
    for (CSpecialButton* button : m_buttons) {
        if (!IsLive(*button) || !button->ContainsPoint(point, true))
            continue;
        m_hovered = button;
        button->SetState(button->IsOpen() ? GAME_BUTTON_HIGHLIGHTED : GAME_BUTTON_LOCKED);
        return;
    }
}

EHubClick CHubButtons::Click(const Answer& onLocked, const Answer& beforeOpen)
{
    CSpecialButton* button = m_hovered;
    if (!button || !IsLive(*button))
        return EHubClick::None;
    // The flag, not the state shown: a key written since the hover counts.
    if (!button->IsOpen()) {
        if (onLocked)
            onLocked(*button);
        return EHubClick::Locked;
    }
    if (beforeOpen)
        beforeOpen(*button);
    RunChunk(button->GetOnClick());
    return EHubClick::Opened;
}

void CHubButtons::RunChunk(const char* chunk)
{
    if (!chunk || !*chunk)
        return;
    CxLuaEngine* lua = DaxServices().GetLuaEngine();
    if (!lua) {
        Trace("No Lua engine for the button's click %.80s\n", chunk);
        return;
    }
    lua->DoString(chunk);
}
