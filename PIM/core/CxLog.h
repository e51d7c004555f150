#pragma once
// The debug settings ("Engine.Debug") and the log they describe. The
// application reads the settings from its configuration file at start and
// hands them over with SetDebugSettings; until then the defaults hold.

#include "PIM/core/PimDefs.h"

constexpr size_t PIM_LOG_NAME_SIZE = 260;

// Log mask bits.
enum : uint32_t
{
    PIM_LOG_TO_WINDOW = 0x200000,
    PIM_LOG_TO_FILE = 0x400000,
};

struct ST_DEBUG_SETTINGS
{
    int abortsOn = 1;
    int messageBoxOn = 1;
    int debugLevel = 4;
    int showIO = 0;
    int messageSpy = 0;
    int useDebugBreak = 1;
    int logFile = 1;
    int logWindow = 1;
    char logFileName[PIM_LOG_NAME_SIZE] = {};
    int clearLogFile = 0;
};

// Level 0 -> 0, 1 -> 0x10000, 2 -> 0x30000, 3 -> 0x70000, any other -> 0xF0000,
// plus the file and window bits.
uint32_t LogMaskFor(int debugLevel, bool logFile, bool logWindow);

// "<folder>/DEBUG.LOG" with every "\" turned into "/"; written into `out`.
void DefaultLogFileName(const char* currentFolder, char* out, size_t outSize);

class CxLog
{
public:
    CxLog() = default;
    CxLog(const char* fileName, uint32_t mask);

    const char* GetFileName() const { return m_fileName; }
    uint32_t GetMask() const { return m_mask; }
    void SetMask(uint32_t mask) { m_mask = mask; }
    bool Wants(uint32_t bits) const { return (m_mask & bits) == bits; }

private:
    char m_fileName[PIM_LOG_NAME_SIZE] = {};
    uint32_t m_mask = 0;
};

// The settings in force, and the log made from them.
const ST_DEBUG_SETTINGS& GetDebugSettings();
void SetDebugSettings(const ST_DEBUG_SETTINGS& settings);
const CxLog& GetLog();
void SetLogMask(uint32_t mask);
void ResetDebugSettings();
