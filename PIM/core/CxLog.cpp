#include "PIM/core/CxLog.h"

#include <cstdio>

namespace {

struct DebugState
{
    ST_DEBUG_SETTINGS settings;
    CxLog log;
};

DebugState& State()
{
    static DebugState state = [] {
        DebugState s;
        s.log = CxLog(s.settings.logFileName, LogMaskFor(s.settings.debugLevel, true, true));
        return s;
    }();
    return state;
}

} // namespace

uint32_t LogMaskFor(int debugLevel, bool logFile, bool logWindow)
{
    uint32_t mask;
    switch (debugLevel) {
    case 0: mask = 0; break;
    case 1: mask = 0x10000; break;
    case 2: mask = 0x30000; break;
    case 3: mask = 0x70000; break;
    default: mask = 0xF0000; break;
    }
    if (logFile)
        mask |= PIM_LOG_TO_FILE;
    if (logWindow)
        mask |= PIM_LOG_TO_WINDOW;
    return mask;
}

void DefaultLogFileName(const char* currentFolder, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return;
    std::snprintf(out, outSize, "%s/DEBUG.LOG", currentFolder ? currentFolder : ".");
    for (char* p = out; *p; ++p)
        if (*p == '\\')
            *p = '/';
}

CxLog::CxLog(const char* fileName, uint32_t mask) : m_mask(mask)
{
    std::snprintf(m_fileName, sizeof m_fileName, "%s", fileName ? fileName : "");
}

const ST_DEBUG_SETTINGS& GetDebugSettings()
{
    return State().settings;
}

void SetDebugSettings(const ST_DEBUG_SETTINGS& settings)
{
    DebugState& state = State();
    state.settings = settings;
    state.settings.logFileName[PIM_LOG_NAME_SIZE - 1] = '\0';
    state.log = CxLog(state.settings.logFileName,
                      LogMaskFor(settings.debugLevel, settings.logFile != 0, settings.logWindow != 0));
}

const CxLog& GetLog()
{
    return State().log;
}

void SetLogMask(uint32_t mask)
{
    State().log.SetMask(mask);
}

void ResetDebugSettings()
{
    State() = DebugState{};
    State().log = CxLog("", LogMaskFor(4, true, true));
}
