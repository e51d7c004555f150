#include "DAX/app/CDaxCursorNames.h"

#include "PIM/core/CxOptionSection.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// An optional sign and at least one digit, as "%d" reads them; a value past
// the int range is held at its end. Null when there are no digits.
const char* ReadInt(const char* p, int& out)
{
    p = SkipBlanks(p);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return nullptr;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = std::min<int64_t>(value * 10 + (*p - '0'), int64_t{INT_MAX} + 1);
    value = negative ? -value : value;
    out = static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
    return p;
}

const char* ReadComma(const char* p)
{
    p = SkipBlanks(p);
    return *p == ',' ? p + 1 : nullptr;
}

} // namespace

int CDaxCursorNames::ParseEntry(const char* line, int& hotX, int& hotY, CxString& file)
{
    file.Assign(nullptr, 0);
    const char* p = line ? ReadInt(line, hotX) : nullptr;
    if (!p)
        return 0;
    if (!(p = ReadComma(p)) || !(p = ReadInt(p, hotY)))
        return 1;
    if (!(p = ReadComma(p)))
        return 2;
    p = SkipBlanks(p);
    const char* end = p;
    while (*end && !IsBlank(*end))
        ++end;
    const auto length = static_cast<size_t>(end - p);
    if (length == 0 || length > static_cast<size_t>(PIM_GAME_PATH_INPUT_MAX))
        return 2;
    file.Assign(p, static_cast<int>(length));
    return file.Length() == static_cast<int>(length) ? 3 : 2;
}

int CDaxCursorNames::Load(CxOptions& options, const char* section)
{
    Clear();
    const CxOptionSection* cursors = options.FindSection(section);
    if (!cursors)
        return 0;
    for (const auto* node = cursors->GetFirstNode(); node; node = node->GetNext()) {
        const CxOptionVariable* variable = node->GetElement();
        if (m_names.size() >= static_cast<size_t>(DAX_CURSORS_MAX)) {
            Trace("Cursors: more than %d; %s and the ones after it are left out\n", DAX_CURSORS_MAX,
                  variable->GetName());
            break;
        }
        int hotX = 0, hotY = 0;
        CxString file;
        if (ParseEntry(variable->GetValue(), hotX, hotY, file) < 3) {
            Trace("Cursors: %s is not \"x, y, picture\"; skipped\n", variable->GetName());
            continue;
        }
        Register(variable->GetName(), hotX, hotY, file.GetText());
    }
    if (!m_names.empty()) {
        const int last = DAX_FIRST_CURSOR_ID + static_cast<int>(m_names.size()) - 1;
        SetCursor(last);
        SetDefaultCursor(last);
    }
    return static_cast<int>(m_names.size());
}

bool CDaxCursorNames::Register(const char* name, int hotX, int hotY, const char* file)
{
    CxString path;
    if (BuildGamePathFromData(path, file) != PIM_OK || !FsExists(path.GetText())) {
        Trace("Cursors: the picture of %s is not there; skipped\n", name);
        return false;
    }
    CxDrawSurface* picture = CreateDrawSurface();
    if (!picture)
        return false;
    if (picture->Load(path.GetText()) != PIM_OK || picture->GetWidth() < 1 || picture->GetHeight() < 1) {
        delete picture; // the loader has said why
        return false;
    }
    picture->SetTransparentColour(picture->GetPixel(0, 0));
    const int x = std::clamp(hotX, 0, picture->GetWidth() - 1);
    const int y = std::clamp(hotY, 0, picture->GetHeight() - 1);
    if (x != hotX || y != hotY)
        Trace("Cursors: the hot spot of %s lies outside its picture; it is %d, %d\n", name, x, y);
    const int id = DAX_FIRST_CURSOR_ID + static_cast<int>(m_names.size());
    if (RegisterCursor(picture, id, x, y) != PIM_OK)
        return false; // the picture went with the failure, which was reported
    try {
        m_names.emplace_back(name);
    } catch (const std::bad_alloc&) {
        UnregisterCursor(id);
        return false;
    }
    return true;
}

int CDaxCursorNames::GetId(const char* name) const
{
    if (!name)
        return 0;
    for (size_t i = 0; i < m_names.size(); ++i)
        if (PimStrEqual(m_names[i].GetText(), name, true))
            return DAX_FIRST_CURSOR_ID + static_cast<int>(i);
    return 0;
}

const char* CDaxCursorNames::GetName(size_t index) const
{
    return index < m_names.size() ? m_names[index].GetText() : "";
}
