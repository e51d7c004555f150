#include "PIM/image/PimImageFilters.h"

#include "PIM/core/CxError.h"
#include "PIM/core/Pimstr.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfacePalette.h"
#include "PIM/image/PimImageReaders.h"

#include <cstring>

namespace {

ST_IMAGE_FILTER g_filters[PIM_IMAGE_FILTER_COUNT];

// A layout-9 surface keeps its pixels on a new screen: its colour table is
// converted instead.
void ConvertColourTable(CxDrawSurface& surface, uint8_t preferred)
{
    uint16_t* table = surface.GetColourTable();
    const int count = surface.GetColourTableCount();
    if (!table)
        return;
    for (int i = 0; i < count; ++i)
        table[i] = TableEntryForLayout(table[i], preferred);
}

// After a load: a 16-bit picture takes the screen's preferred layout.
void AdoptPreferredLayout(CxDrawSurface& surface)
{
    const uint8_t preferred = GetPreferredLayout16();
    if (surface.GetDepth() != 16 || preferred == 0 || surface.GetPixelLayout() == preferred)
        return;
    if (surface.GetPixelLayout() == PIM_LAYOUT_TABLE)
        ConvertColourTable(surface, preferred);
    else
        surface.ConvertLayout16(preferred);
}

int LoadHook(CxDrawSurface& surface, const char* fileName, int argument)
{
    return LoadImageFile(surface, fileName, argument);
}

int SaveHook(CxDrawSurface& surface, const char* fileName, int argument)
{
    return SaveImageFile(surface, fileName, argument);
}

} // namespace

bool MatchesExtension(const char* fileName, const char* extension)
{
    if (!fileName || !*fileName || !extension || !*extension)
        return false;
    const size_t nameLength = std::strlen(fileName);
    const size_t extLength = std::strlen(extension);
    if (extension[0] != '.') {
        // Compared as if it had its period.
        if (nameLength < extLength + 1 || fileName[nameLength - extLength - 1] != '.')
            return false;
    } else if (nameLength < extLength) {
        return false;
    }
    return PimStrEqual(fileName + nameLength - extLength, extension, true);
}

int RegisterImageFilter(const char* extension, PimImageLoader load, PimImageSaver save)
{
    if (!extension || extension[0] != '.')
        return ReportError(PIM_ERR_BAD_ARG, "Extension MUST include the period as in '.pcx'");
    ST_IMAGE_FILTER* free = nullptr;
    for (ST_IMAGE_FILTER& filter : g_filters) {
        if (filter.extension[0] && PimStrEqual(filter.extension, extension, true)) {
            filter.load = load;
            filter.save = save;
            return PIM_OK;
        }
        if (!filter.extension[0] && !free)
            free = &filter;
    }
    // A table that cannot take the filter must not claim it did.
    if (!free)
        return ReportError(PIM_ERR_BAD_ARG, "No room for the image filter '%s'", extension);
    PimStrCopy(free->extension, extension, sizeof free->extension);
    free->load = load;
    free->save = save;
    return PIM_OK;
}

void UnregisterImageFilter(const char* pattern)
{
    for (ST_IMAGE_FILTER& filter : g_filters)
        if (filter.extension[0] && PimWildcardMatch(pattern, filter.extension))
            filter = ST_IMAGE_FILTER{};
}

const ST_IMAGE_FILTER* FindImageFilter(const char* fileName)
{
    for (const ST_IMAGE_FILTER& filter : g_filters)
        if (filter.extension[0] && MatchesExtension(fileName, filter.extension))
            return &filter;
    return nullptr;
}

const ST_IMAGE_FILTER* GetImageFilters()
{
    return g_filters;
}

int LoadImageFile(CxDrawSurface& surface, const char* fileName, int argument)
{
    const ST_IMAGE_FILTER* filter = FindImageFilter(fileName);
    if (!filter)
        return surface.SetError(PIM_ERR_UNKNOWN, "No image filter registered for '%s'", fileName ? fileName : "");
    if (!filter->load)
        return surface.SetError(PIM_ERR_BAD_ARG, "No Load function registered for '%s'", filter->extension);
    int code = filter->load(surface, fileName, argument);
    if (code != PIM_OK)
        return code;
    surface.SetName(fileName);
    AdoptPreferredLayout(surface);
    return PIM_OK;
}

int SaveImageFile(CxDrawSurface& surface, const char* fileName, int argument)
{
    const ST_IMAGE_FILTER* filter = FindImageFilter(fileName);
    if (!filter)
        return surface.SetError(PIM_ERR_UNKNOWN, "No image filter registered for '%s'", fileName ? fileName : "");
    if (!filter->save)
        return surface.SetError(PIM_ERR_BAD_ARG, "No Save function registered for '%s'", filter->extension);
    return filter->save(surface, fileName, argument);
}

void RegisterDefaultImageFilters()
{
    RegisterImageFilter(".TGA", &LoadTarga, &SaveTarga);
    RegisterImageFilter(".PIM", &LoadPim, nullptr);
    RegisterImageFilter(".PCX", &LoadPcx, nullptr);
    RegisterImageFilter(".BMP", &LoadBmp, nullptr);
    RegisterImageFilter(".png", &LoadPng, &SavePng);
    ST_IMAGE_HOOKS hooks;
    hooks.load = &LoadHook;
    hooks.save = &SaveHook;
    hooks.buildPalette = &BuildSurfacePalette;
    hooks.buildColourTable = &BuildSurfaceColourTable;
    SetImageHooks(hooks);
}

void ResetImageFilters()
{
    for (ST_IMAGE_FILTER& filter : g_filters)
        filter = ST_IMAGE_FILTER{};
    SetImageHooks(ST_IMAGE_HOOKS{});
}
