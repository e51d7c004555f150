#include "DAX/base/DaxCategories.h"

#include "PIM/app/PimEventCategories.h"
#include "PIM/core/PimTrace.h"

int DaxRegisterCategory(const char* name, CxEventCreator* creator)
{
    CxEventCreator* holder = name ? FindEventCategory(name) : nullptr;
    if (holder && holder != creator)
        Trace("The event name \"%s\" now belongs to another object; the earlier one no longer hears it\n", name);
    return RegisterEventCategory(name, creator);
}

bool DaxUnregisterCategory(const char* name, const CxEventCreator* creator)
{
    return name && UnregisterEventCategory(name, creator);
}
