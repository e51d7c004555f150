#pragma once
// What a listing says about one file or folder.

#include "PIM/core/CxObject.h"
#include "PIM/core/CxString.h"

// Attribute bits of files and folders.
enum : uint32_t
{
    PIM_FA_READONLY = 0x01,
    PIM_FA_DIRECTORY = 0x02,
    PIM_FA_SYSTEM = 0x04,
    PIM_FA_HIDDEN = 0x08,
    PIM_FA_ARCHIVE = 0x10,
    PIM_FA_COMPRESSED = 0x20,
};

struct ST_FILE_TIME
{
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t millisecond = 0;
};

class CxFileInfo : public CxObject
{
public:
    CxString fullPath;
    CxString fileName;
    ST_FILE_TIME time;
    uint32_t attributes = 0;
    int64_t size = 0;
};
