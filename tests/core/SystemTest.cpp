#include "PIM/core/CxLog.h"
#include "PIM/core/PimBanner.h"
#include "PIM/core/PimSystemInfo.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SystemInfo, LinuxAnswers)
{
    ResetSystemInfo();
    ST_SYSTEM_VALUE v;
    EXPECT_EQ(SystemInfo(ESystemQuery::OperatingSystem, v), PIM_OK);
    EXPECT_EQ(v.number, 0);
    EXPECT_EQ(SystemInfo(ESystemQuery::DirectDrawLoadable, v), PIM_OK);
    EXPECT_EQ(v.number, 0);
    SystemInfo(ESystemQuery::DirectXVersion, v);
    EXPECT_STREQ(v.text, PIM_DEFAULT_DIRECTX_VERSION);
    SetDirectXVersion("4.08.01.0810");
    SystemInfo(ESystemQuery::DirectXVersion, v);
    EXPECT_STREQ(v.text, "4.08.01.0810");
    // The start-up check compares versions as text: ours must not sort below 7.0a.
    ResetSystemInfo();
    SystemInfo(ESystemQuery::DirectXVersion, v);
    EXPECT_GT(std::strcmp(v.text, "4.07.00.0716"), 0);
    EXPECT_EQ(SystemInfo(ESystemQuery::ProcessorVendor, v), PIM_OK);
    EXPECT_GT(std::strlen(v.text), 0u);
    EXPECT_EQ(SystemInfo(static_cast<ESystemQuery>(99), v), PIM_ERR_BAD_ARG);

    EXPECT_GT(MeasureProcessorClock(20), 0); // without the one-second default
}

TEST(SystemInfo, OperatingSystemCodes)
{
    EXPECT_EQ(OperatingSystemCode(1, 4, 0), 2);
    EXPECT_EQ(OperatingSystemCode(1, 4, 10), 3);
    EXPECT_EQ(OperatingSystemCode(1, 4, 90), 8);
    EXPECT_EQ(OperatingSystemCode(2, 3, 51), 4);
    EXPECT_EQ(OperatingSystemCode(2, 4, 0), 5);
    EXPECT_EQ(OperatingSystemCode(2, 5, 0), 6);
    EXPECT_EQ(OperatingSystemCode(2, 5, 1), 7);
    EXPECT_EQ(OperatingSystemCode(2, 5, 2), 9);
    EXPECT_EQ(OperatingSystemCode(2, 6, 1), 10);
    EXPECT_EQ(OperatingSystemCode(0, 3, 1), 1);
    EXPECT_EQ(OperatingSystemCode(3, 1, 0), 0);
}

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
