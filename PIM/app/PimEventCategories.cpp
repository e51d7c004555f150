#include "PIM/app/PimEventCategories.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/Pimstr.h"

#include <cstring>

namespace {

using CategoryList = CxLinkedList<ST_EVENT_CATEGORY>;

// Exists exactly while some category is registered.
CategoryList* g_categories = nullptr;

CategoryList::Node* FindNode(const char* name)
{
    if (!g_categories)
        return nullptr;
    for (auto* node = g_categories->GetFirst(); node; node = node->GetNext()) {
        if (PimStrEqual(node->GetElement().name, name, true))
            return node;
    }
    return nullptr;
}

void DropListIfEmpty()
{
    if (g_categories && g_categories->IsEmpty()) {
        PimDelete(g_categories);
        g_categories = nullptr;
    }
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Stores [start, end) in `out`; false when memory ran out.
bool AssignPiece(CxString& out, const char* start, const char* end)
{
    const auto length = static_cast<size_t>(end - start);
    const int clipped = length > static_cast<size_t>(CxString::kMaxLength) ? CxString::kMaxLength
                                                                          : static_cast<int>(length);
    out.Assign(start, clipped);
    return clipped == 0 || out.Length() > 0;
}

bool AssignArgument(CxString& out, const char* start, const char* end)
{
    while (start < end && IsBlank(*start))
        ++start;
    if (!AssignPiece(out, start, end))
        return false;
    out.Remove('"');
    return true;
}

} // namespace

int RegisterEventCategory(const ST_EVENT_CATEGORY& definition)
{
    const size_t length = strnlen(definition.name, sizeof definition.name);
    if (length == 0 || length == sizeof definition.name || !definition.creator)
        return ReportError(PIM_ERR_BAD_ARG, "RegisterEventCategory - the definition needs a name of 1 to %zu "
                                            "characters and a creator", PIM_EVENT_CATEGORY_NAME_MAX);
    if (auto* node = FindNode(definition.name)) {
        node->GetElement() = definition;
        return PIM_OK;
    }
    if (!g_categories) {
        g_categories = PimNew<CategoryList>(__FILE__, __LINE__);
        if (!g_categories)
            return PIM_ERR_OUT_OF_MEMORY;
    }
    if (!g_categories->Append(definition)) {
        DropListIfEmpty();
        return PIM_ERR_OUT_OF_MEMORY;
    }
    return PIM_OK;
}

int RegisterEventCategory(const char* name, CxEventCreator* creator)
{
    ST_EVENT_CATEGORY definition;
    const size_t length = PimStrLen(name);
    if (length > PIM_EVENT_CATEGORY_NAME_MAX)
        return ReportError(PIM_ERR_BAD_ARG, "RegisterEventCategory - \"%.*s...\" is longer than %zu characters",
                           static_cast<int>(PIM_EVENT_CATEGORY_NAME_MAX), name, PIM_EVENT_CATEGORY_NAME_MAX);
    PimStrCopy(definition.name, name, sizeof definition.name);
    definition.creator = creator;
    return RegisterEventCategory(definition);
}

size_t UnregisterEventCategories(const char* pattern)
{
    if (!g_categories)
        return 0;
    size_t removed = 0;
    for (auto* node = g_categories->GetFirst(); node;) {
        auto* next = node->GetNext();
        if (PimWildcardMatch(pattern, node->GetElement().name)) {
            g_categories->Remove(node);
            ++removed;
        }
        node = next;
    }
    DropListIfEmpty();
    return removed;
}

bool UnregisterEventCategory(const char* name, const CxEventCreator* creator)
{
    auto* node = FindNode(name);
    if (!node || node->GetElement().creator != creator)
        return false;
    g_categories->Remove(node);
    DropListIfEmpty();
    return true;
}

CxEventCreator* FindEventCategory(const char* name)
{
    auto* node = FindNode(name);
    return node ? node->GetElement().creator : nullptr;
}

size_t GetEventCategoryCount()
{
    return g_categories ? g_categories->GetCount() : 0;
}

int ParseEventText(const char* text, ST_EVENT_TEXT& out)
{
    out.category = "";
    out.name = "";
    out.args.Clear();
    const char* dot = text ? std::strchr(text, '.') : nullptr;
    const char* open = dot ? std::strchr(dot + 1, '(') : nullptr;
    if (!open)
        return PIM_ERR_NOT_FOUND;
    if (!AssignPiece(out.category, text, dot) || !AssignPiece(out.name, dot + 1, open))
        return PIM_ERR_OUT_OF_MEMORY;

    // Counted first so that the arguments take one block, however many the
    // text holds (at most one per byte after the bracket).
    const char* first = open + 1;
    const char* lastComma = std::strrchr(first, ',');
    const char* lastStart = lastComma ? lastComma + 1 : first;
    const char* close = std::strchr(lastStart, ')');
    const char* lastEnd = close ? close : lastStart + std::strlen(lastStart);
    const size_t count = PimCountChar(first, ',') + (lastEnd > lastStart ? 1 : 0);
    if (!out.args.Resize(count))
        return PIM_ERR_OUT_OF_MEMORY;

    size_t index = 0;
    for (const char* start = first; start != lastStart;) {
        const char* comma = std::strchr(start, ',');
        if (!AssignArgument(*out.args.Get(index++), start, comma))
            return PIM_ERR_OUT_OF_MEMORY;
        start = comma + 1;
    }
    if (index < count && !AssignArgument(*out.args.Get(index), lastStart, lastEnd))
        return PIM_ERR_OUT_OF_MEMORY;
    return PIM_OK;
}

CxEvent* CreateEventFromText(const char* text, const CxInterpolator* interpolator, CxEventCreator* extra)
{
    CxString interpolated;
    if (interpolator) {
        interpolated = interpolator->Interpolate(text);
        text = interpolated.GetText();
    }
    ST_EVENT_TEXT parsed;
    if (ParseEventText(text, parsed) != PIM_OK)
        return nullptr;
    const char* category = parsed.category.GetText();
    const char* name = parsed.name.GetText();
    if (extra) {
        if (CxEvent* event = extra->CreateEvent(category, name, parsed.args))
            return event;
    }
    CxEventCreator* creator = FindEventCategory(category);
    if (!creator)
        return nullptr;
    CxEvent* event = creator->CreateEvent(category, name, parsed.args);
    if (!event)
        ReportError(PIM_ERR_UNKNOWN, "Event Create Procedure returned NULL");
    return event;
}
