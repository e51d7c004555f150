#include "DAX/buttons/DaxGlobalButtons.h"

#include "DAX/buttons/CDaxButton.h"
#include "PIM/display/CxDisplayObject.h"
#include "PIM/core/Pimstr.h"

#include <strings.h>
#include <cstring>

namespace {

DaxButtonList& Buttons()
{
    static DaxButtonList buttons;
    return buttons;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',';
}

} // namespace

int DaxLoadGlobalButtons(CxOptions& options)
{
    ST_DAX_BUTTON_PLACEMENT placement;
    placement.parent = nullptr;
    placement.z = 0;
    placement.usePosition = true;
    placement.shown = false;
    return DaxLoadButtonSections(options, placement, Buttons());
}

int DaxAddGlobalButton(CDaxButton* button)
{
    if (!button)
        return PIM_OK;
    if (!Buttons().Append(button)) {
        delete button;
        return PIM_ERR_OUT_OF_MEMORY; // the allocator has said so
    }
    return PIM_OK;
}

CDaxButton* DaxFindGlobalButton(const char* name)
{
    return DaxFindButton(Buttons(), name);
}

const DaxButtonList& DaxGetGlobalButtons()
{
    return Buttons();
}

bool DaxNameListHas(const char* names, const char* name)
{
    if (!names || !name || !*name)
        return false;
    const size_t length = std::strlen(name);
    const char* p = names;
    while (*p) {
        while (*p && IsSeparator(*p))
            ++p;
        const char* start = p;
        while (*p && !IsSeparator(*p))
            ++p;
        const size_t word = static_cast<size_t>(p - start);
        if (word == length && strncasecmp(start, name, length) == 0)
            return true;
    }
    return false;
}

void DaxRemoveAllGlobalButtons()
{
    CDaxButton* button = nullptr;
    while (Buttons().PopFront(button)) {
        if (CxDisplayObject* parent = button->GetParent())
            parent->RemoveChild(button);
        delete button;
    }
}
