#include "PIM/core/CxLog.h"
#include "PIM/core/PimBanner.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(DebugSettings, DefaultsMaskAndLogName)
{
    const ST_DEBUG_SETTINGS& d = GetDebugSettings();
    EXPECT_EQ(d.abortsOn, 1);
    EXPECT_EQ(d.debugLevel, 4);
    EXPECT_EQ(d.showIO, 0);
    EXPECT_EQ(d.logFile, 1);
    EXPECT_EQ(d.clearLogFile, 0);
    EXPECT_EQ(GetLog().GetMask(), 0xF0000u | 0x400000u | 0x200000u);

    EXPECT_EQ(LogMaskFor(0, false, false), 0u);
    EXPECT_EQ(LogMaskFor(1, false, false), 0x10000u);
    EXPECT_EQ(LogMaskFor(2, true, false), 0x30000u | 0x400000u);
    EXPECT_EQ(LogMaskFor(3, false, true), 0x70000u | 0x200000u);
    EXPECT_EQ(LogMaskFor(-7, false, false), 0xF0000u);

    char name[64];
    DefaultLogFileName("C:\\games\\md", name, sizeof name);
    EXPECT_STREQ(name, "C:/games/md/DEBUG.LOG");

    ST_DEBUG_SETTINGS s;
    s.debugLevel = 2;
    s.logWindow = 0;
    std::strcpy(s.logFileName, "/tmp/x.log");
    SetDebugSettings(s);
    EXPECT_EQ(GetLog().GetMask(), 0x30000u | 0x400000u);
    EXPECT_STREQ(GetLog().GetFileName(), "/tmp/x.log");
    SetLogMask(0);
    EXPECT_FALSE(GetLog().Wants(PIM_LOG_TO_FILE));
}

TEST(Banner, GoesToTheTraceOutput)
{
    TraceRecorder trace;
    PrintBanner("Marrowdale", 1, 0, "build-1");
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], "Marrowdale v1.00 (build-1) - Glimmerforge Pim engine\n");
}
