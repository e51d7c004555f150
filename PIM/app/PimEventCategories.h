#pragma once
// Events made from text, so that data files and scripts can queue any kind of
// event by name. A text reads CATEGORY.NAME(ARG, ARG, ...): each category has
// a creator registered here that turns a name and its arguments into an event
// ("Barn.OpenDoor(slow)" goes to the creator of the category "Barn").
//
// How a text is read (CreateEventFromText):
//   - The category is everything before the first "."; the name is what
//     follows, up to the first "(" after it. A text without either makes no
//     event (and reports nothing). Nothing is trimmed from the two.
//   - After the "(", every "," ends an argument; the last piece ends at its
//     first ")", and a text with no ")" there runs to its end (a data author
//     who forgot the bracket still gets the event). The last piece is used
//     only when it is not empty, so "Play()" has no arguments and
//     "Play(a,)" one, while "Play(a,,b)" keeps the empty middle one. That
//     test comes before the cleaning below, so a quoted or blank last piece
//     ("Play(a,"")", "Play(a, )") is kept as an empty argument.
//   - From each argument the leading blanks (spaces and tabs) are removed,
//     then every double quote is deleted. Quotes therefore keep blanks at the
//     start of an argument and group words, but cannot protect a comma.
//   - Categories are compared without regard to case.

#include "PIM/app/CxEvent.h"
#include "PIM/core/CxString.h"

class CxInterpolator;

// Longest category name, terminator not counted.
constexpr size_t PIM_EVENT_CATEGORY_NAME_MAX = 32;

struct ST_EVENT_CATEGORY
{
    char name[PIM_EVENT_CATEGORY_NAME_MAX + 1] = {};
    // Not owned; must stay valid while the category is registered.
    CxEventCreator* creator = nullptr;
};

// Copies the definition into the global list, replacing the creator (and the
// spelling of the name) of a category of the same name. PIM_ERR_BAD_ARG for an
// empty or unterminated name or a null creator; PIM_ERR_OUT_OF_MEMORY.
int RegisterEventCategory(const ST_EVENT_CATEGORY& definition);
// The same from a name; names longer than PIM_EVENT_CATEGORY_NAME_MAX are refused.
int RegisterEventCategory(const char* name, CxEventCreator* creator);

// Removes every category whose name matches the wildcard pattern (see
// PimWildcardMatch); "*" removes them all. Returns how many went.
size_t UnregisterEventCategories(const char* pattern);

// Removes the category of exactly that name (without regard to case), and
// only while `creator` is its creator: an object that registered a name can
// never take away the registration another one made over it. True when it
// went.
bool UnregisterEventCategory(const char* name, const CxEventCreator* creator);
CxEventCreator* FindEventCategory(const char* name);
size_t GetEventCategoryCount();

// The pieces of an event text, as read by the rules above.
struct ST_EVENT_TEXT
{
    CxString category;
    CxString name;
    CxEventArgs args;
};

// PIM_OK; PIM_ERR_NOT_FOUND (not reported) when the text has no "." or no
// "(" after it; PIM_ERR_OUT_OF_MEMORY. `out` is overwritten either way.
int ParseEventText(const char* text, ST_EVENT_TEXT& out);

// Interpolates the text when an interpolator is given, reads it, then asks
// the extra creator (a room's own, say) and, when it has no such event, the
// creator registered for the category. Null when the text is no event text,
// when the category is unknown (silently: data may name categories of rooms
// not loaded), or when the category's creator makes nothing (reported as
// PIM_ERR_UNKNOWN "Event Create Procedure returned NULL").
CxEvent* CreateEventFromText(const char* text, const CxInterpolator* interpolator = nullptr,
                             CxEventCreator* extra = nullptr);
