#include "game/paint/CTextBubble.h"

#include "PIM/core/PimKeyCodes.h"

void CTextBubble::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (key == PIM_KEY_ENTER) {
        // The parent may hide this editor while it hears of it: nothing
        // touches the editor afterwards.
        if (CxDisplayObject* parent = GetParent())
            parent->OnNotify(PAINT_NOTIFY_COMMIT_QUOTE, this, 0, 0);
        return;
    }
    CxEditText::OnKeyDown(key, flags);
}
