#include "PIM/core/CxError.h"
#include "PIM/os/PimSystemInfo.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SystemInfo, ProcessorAnswers)
{
    ResetSystemInfo();
    ST_SYSTEM_VALUE v;
    EXPECT_EQ(SystemInfo(ESystemQuery::ProcessorVendor, v), PIM_OK);
    EXPECT_GT(std::strlen(v.text), 0u);
    EXPECT_EQ(SystemInfo(ESystemQuery::ProcessorName, v), PIM_OK);
    EXPECT_GT(std::strlen(v.text), 0u);
    EXPECT_EQ(SystemInfo(ESystemQuery::TimerResolution, v), PIM_OK);
    EXPECT_EQ(v.number, 1);
    EXPECT_EQ(SystemInfo(static_cast<ESystemQuery>(99), v), PIM_ERR_BAD_ARG);

    EXPECT_GT(MeasureProcessorClock(20), 0); // without the one-second default
}
