// The font list and the font-file filter registry.

#include "PIM/text/CxFont.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/Pimstr.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/text/CxBitmapFont.h"

#include <cstring>

namespace {

constexpr size_t kExtensionLength = 8;

struct ST_FONT_FILTER
{
    char extension[kExtensionLength + 1] = {};
    PimFontFactory factory = nullptr;
};

ST_FONT_FILTER g_filters[PIM_FONT_FILTER_COUNT];

// Registration order matters to nobody but the person reading a dump, yet
// it is kept: fonts are few and removal shifts the rest down.
CxFont** g_fonts = nullptr;
int g_fontCount = 0;
int g_fontCapacity = 0;
intptr_t g_defaultHandle = 0;

int FindIndex(intptr_t handle)
{
    for (int i = 0; i < g_fontCount; ++i)
        if (g_fonts[i]->GetHandle() == handle)
            return i;
    return -1;
}

bool GrowList()
{
    if (g_fontCount < g_fontCapacity)
        return true;
    const int capacity = g_fontCapacity ? g_fontCapacity * 2 : 8;
    auto* grown = static_cast<CxFont**>(AllocateQuietly(sizeof(CxFont*) * static_cast<size_t>(capacity), __FILE__,
                                                        __LINE__, false));
    if (!grown)
        return false;
    if (g_fontCount)
        std::memcpy(grown, g_fonts, sizeof(CxFont*) * static_cast<size_t>(g_fontCount));
    Free(g_fonts);
    g_fonts = grown;
    g_fontCapacity = capacity;
    return true;
}

uint32_t OpaqueAlpha(const CxDrawSurface& target)
{
    const int bits = target.GetAlphaBits();
    if (bits <= 0 || bits >= 32 || target.GetDepth() <= bits)
        return 0;
    return ((1u << bits) - 1u) << (target.GetDepth() - bits);
}

} // namespace

uint32_t FontColourToDrawArgument(const CxDrawSurface& target, uint32_t rgb)
{
    const auto red = static_cast<uint8_t>(rgb >> 16);
    const auto green = static_cast<uint8_t>(rgb >> 8);
    const auto blue = static_cast<uint8_t>(rgb);
    const int depth = target.GetDepth();
    if (depth <= 8)
        return static_cast<uint32_t>(NearestPaletteIndex(target.GetPaletteEntries(), 1 << depth, red, green, blue));
    if (depth == 16 && target.GetPixelLayout() == PIM_LAYOUT_TABLE && target.GetColourTable())
        return 0xF000u | static_cast<uint32_t>(NearestTableIndex(target.GetColourTable(),
                                                                 target.GetColourTableCount(), red, green, blue));
    return target.MakeColour(red, green, blue) | OpaqueAlpha(target);
}

uint32_t FontColourToPixel(const CxDrawSurface& target, uint32_t rgb)
{
    const uint32_t value = FontColourToDrawArgument(target, rgb);
    if (target.GetDepth() != 24)
        return value;
    return ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

// --- the font-file filter registry ------------------------------------------------------------------

int RegisterFontFilter(const char* extension, PimFontFactory factory)
{
    if (!extension || extension[0] != '.')
        return ReportError(PIM_ERR_BAD_ARG, "Extension MUST include the period as in '.ttf'");
    if (std::strlen(extension) > kExtensionLength)
        return ReportError(PIM_ERR_BAD_ARG, "Font extension '%s' is longer than %d characters", extension,
                           static_cast<int>(kExtensionLength));
    ST_FONT_FILTER* free = nullptr;
    for (ST_FONT_FILTER& filter : g_filters) {
        if (filter.extension[0] && PimStrEqual(filter.extension, extension, true)) {
            filter.factory = factory;
            return PIM_OK;
        }
        if (!filter.extension[0] && !free)
            free = &filter;
    }
    if (!free)
        return ReportError(PIM_ERR_BAD_ARG, "No room for the font filter '%s'", extension);
    PimStrCopy(free->extension, extension, sizeof free->extension);
    free->factory = factory;
    return PIM_OK;
}

void UnregisterFontFilter(const char* pattern)
{
    for (ST_FONT_FILTER& filter : g_filters)
        if (filter.extension[0] && PimWildcardMatch(pattern, filter.extension))
            filter = ST_FONT_FILTER{};
}

void ResetFontFilters()
{
    for (ST_FONT_FILTER& filter : g_filters)
        filter = ST_FONT_FILTER{};
}

// --- the font list ------------------------------------------------------------------------------------

// A new font into the list when `code` says it was made; deleted otherwise.
static int AdoptFont(CxFont* font, int code, intptr_t* handle)
{
    if (code != PIM_OK) {
        delete font;
        return code;
    }
    const intptr_t registered = RegisterFont(font);
    if (!registered)
        return PIM_ERR_OUT_OF_MEMORY;
    if (handle)
        *handle = registered;
    return PIM_OK;
}

int LoadFont(const char* fileName, intptr_t* handle)
{
    if (handle)
        *handle = 0;
    const ST_FONT_FILTER* found = nullptr;
    for (const ST_FONT_FILTER& filter : g_filters)
        if (filter.extension[0] && MatchesExtension(fileName, filter.extension)) {
            found = &filter;
            break;
        }
    const char* name = fileName ? fileName : "";
    if (!found)
        return ReportError(PIM_ERR_UNKNOWN, "No font file filter registered for '%s'", name);
    if (!found->factory)
        return ReportError(PIM_ERR_BAD_ARG, "No Load function registered for '%s'", name);
    CxFont* font = found->factory(fileName);
    // Factories report their own failures; a font that comes back with an
    // error is as good as none.
    if (!font)
        return PIM_ERR_OPEN;
    return AdoptFont(font, font->GetError(), handle);
}

intptr_t RegisterFont(CxFont* font)
{
    if (!font)
        return 0;
    const auto handle = reinterpret_cast<intptr_t>(font);
    if (FindIndex(handle) >= 0)
        return handle;
    if (!GrowList()) {
        delete font;
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not grow the font list");
        return 0;
    }
    font->SetHandle(handle);
    g_fonts[g_fontCount++] = font;
    return handle;
}

int CreateBitmapFont(CxDrawSurface& strip, intptr_t* handle)
{
    if (handle)
        *handle = 0;
    auto* font = new CxBitmapFont;
    if (!font)
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxBitmapFont");
    return AdoptFont(font, font->Create(strip), handle);
}

CxFont* FindFont(intptr_t handle)
{
    if (handle == PIM_DEFAULT_FONT)
        return GetDefaultFont();
    const int index = FindIndex(handle);
    return index >= 0 ? g_fonts[index] : nullptr;
}

void DeleteFont(intptr_t handle)
{
    if (handle == PIM_DEFAULT_FONT)
        handle = g_defaultHandle;
    const int index = FindIndex(handle);
    if (index < 0)
        return;
    CxFont* font = g_fonts[index];
    std::memmove(g_fonts + index, g_fonts + index + 1, sizeof(CxFont*) * static_cast<size_t>(g_fontCount - index - 1));
    --g_fontCount;
    if (handle == g_defaultHandle)
        g_defaultHandle = 0;
    delete font;
}

intptr_t GetDefaultFontHandle()
{
    return g_defaultHandle;
}

void SetDefaultFontHandle(intptr_t handle)
{
    g_defaultHandle = handle;
}

void DeleteAllFonts()
{
    while (g_fontCount > 0)
        DeleteFont(g_fonts[g_fontCount - 1]->GetHandle());
    Free(g_fonts);
    g_fonts = nullptr;
    g_fontCapacity = 0;
    g_defaultHandle = 0;
}
