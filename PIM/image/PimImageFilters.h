#pragma once
// The image filter registry: 20 entries of (extension with its period, load
// routine, save routine). A file name picks the first entry whose extension
// ends it, ignoring case. Surfaces load and save through it.

#include "PIM/core/PimDefs.h"
#include "PIM/graphics/PimImageHooks.h"

constexpr int PIM_IMAGE_FILTER_COUNT = 20;
constexpr int PIM_IMAGE_EXTENSION_LENGTH = 8;

struct ST_IMAGE_FILTER
{
    char extension[PIM_IMAGE_EXTENSION_LENGTH + 1] = {};
    PimImageLoader load = nullptr;
    PimImageSaver save = nullptr;
};

// 0; 16 with "Extension MUST include the period as in '.pcx'" when the
// extension does not start with a period, or when the table is full. An entry
// with the same extension (any case) is updated.
int RegisterImageFilter(const char* extension, PimImageLoader load, PimImageSaver save);
// Frees every entry whose extension matches the wildcard pattern.
void UnregisterImageFilter(const char* pattern);
// The entry for a file name, or null.
const ST_IMAGE_FILTER* FindImageFilter(const char* fileName);
const ST_IMAGE_FILTER* GetImageFilters(); // PIM_IMAGE_FILTER_COUNT entries

// True when `fileName` ends with `extension` (a period is assumed when the
// extension has none), ignoring case; empty names or extensions never match.
bool MatchesExtension(const char* fileName, const char* extension);

// Loading and saving by the registry (what CxDrawSurface::Load and Save do).
int LoadImageFile(CxDrawSurface& surface, const char* fileName, int argument);
int SaveImageFile(CxDrawSurface& surface, const char* fileName, int argument);

// The engine's formats, in order: ".TGA" (read and write), ".PIM", ".PCX",
// ".BMP" (read), then ".png" (read and write) for people; and the hooks the
// surfaces call (loading, saving, palette and colour-table builders).
void RegisterDefaultImageFilters();
// Empties the table (tests).
void ResetImageFilters();
