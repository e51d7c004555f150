// The movie driver registry: a fixed table of (extension, create function,
// value for it). A file name picks the first entry whose extension ends it,
// the same matching the image filters use for pictures.

#include "PIM/movie/CxMovieDriver.h"

#include "PIM/core/CxError.h"
#include "PIM/core/Pimstr.h"
#include "PIM/image/PimImageFilters.h"

#include <cstring>

namespace {

constexpr size_t kExtensionLength = 8;

struct ST_MOVIE_DRIVER_ENTRY
{
    char extension[kExtensionLength + 1] = {};
    PimMovieDriverCreator create = nullptr;
    intptr_t userValue = 0;
};

ST_MOVIE_DRIVER_ENTRY g_drivers[PIM_MOVIE_DRIVER_COUNT];

const ST_MOVIE_DRIVER_ENTRY* FindDriver(const char* fileName)
{
    for (const ST_MOVIE_DRIVER_ENTRY& entry : g_drivers) {
        if (entry.extension[0] && MatchesExtension(fileName, entry.extension))
            return &entry;
    }
    return nullptr;
}

CxFrameSource* OpenForSprite(const char* fileName, uint32_t openFlags)
{
    return CreateMovieDriver(fileName, openFlags);
}

} // namespace

int RegisterMovieDriver(const char* extension, PimMovieDriverCreator create, intptr_t userValue)
{
    if (!extension || extension[0] != '.')
        return ReportError(PIM_ERR_BAD_ARG, "Extension MUST include the period as in '.smk'");
    // From the first driver on, sprites get their movie frames from here.
    SetFrameSourceProvider(&IsMovieFile, &OpenForSprite);
    char stored[kExtensionLength + 1] = {};
    std::strncpy(stored, extension, kExtensionLength);
    ST_MOVIE_DRIVER_ENTRY* free = nullptr;
    for (ST_MOVIE_DRIVER_ENTRY& entry : g_drivers) {
        // A second registration replaces the first instead of hiding behind it.
        if (entry.extension[0] && PimStrEqual(entry.extension, stored, true)) {
            entry.create = create;
            entry.userValue = userValue;
            return PIM_OK;
        }
        if (!entry.extension[0] && !free)
            free = &entry;
    }
    // A table that cannot take the driver must not claim it did.
    if (!free)
        return ReportError(PIM_ERR_BAD_ARG, "No room for movie driver '%s': all %d entries are taken", stored,
                           PIM_MOVIE_DRIVER_COUNT);
    std::memcpy(free->extension, stored, sizeof stored);
    free->create = create;
    free->userValue = userValue;
    return PIM_OK;
}

void UnregisterMovieDriver(const char* extension)
{
    if (!extension || !*extension)
        return;
    // Compared as it was stored: cut to the stored length.
    char stored[kExtensionLength + 1] = {};
    std::strncpy(stored, extension, kExtensionLength);
    for (ST_MOVIE_DRIVER_ENTRY& entry : g_drivers) {
        if (entry.extension[0] && PimStrEqual(entry.extension, stored, true))
            entry = ST_MOVIE_DRIVER_ENTRY();
    }
}

CxMovieDriver* CreateMovieDriver(const char* fileName, uint32_t openFlags)
{
    const char* name = fileName ? fileName : "";
    CxMovieDriver* driver = nullptr;
    if (const ST_MOVIE_DRIVER_ENTRY* entry = FindDriver(name)) {
        if (entry->create)
            driver = entry->create(name, openFlags, entry->userValue);
        else
            ReportError(PIM_ERR_BAD_ARG, "No Load function registered for '%s'", entry->extension);
    }
    if (!driver)
        ReportError(PIM_ERR_UNKNOWN, "No movie filter registered for '%s'", name);
    return driver;
}

bool IsMovieFile(const char* fileName)
{
    return fileName && FindDriver(fileName) != nullptr;
}

void ResetMovieDrivers()
{
    for (ST_MOVIE_DRIVER_ENTRY& entry : g_drivers)
        entry = ST_MOVIE_DRIVER_ENTRY();
}
