#include "PIM/core/CxMemory.h"
#include "PIM/core/CxMutex.h"
#include "PIM/core/CxObject.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>

namespace {

int g_failuresLeft = 0;
size_t g_purgeAsked = 0;
bool g_otherThreadGotMutex = false;

bool FailNext(size_t)
{
    if (g_failuresLeft > 0) {
        --g_failuresLeft;
        return true;
    }
    return false;
}

void RecordPurge(size_t wanted, PimAllocationRetry, void*)
{
    g_purgeAsked = wanted;
    // The purge runs under the memory mutex: another thread cannot get in.
    std::thread([] {
        CxMutex probe;
        probe.Create("PimMem", false);
        g_otherThreadGotMutex = probe.Lock(0) == 1;
        probe.Unlock();
    }).join();
}

struct Tracked : CxObject
{
    int value = 7;
};

} // namespace

TEST(Memory, RoundsToEightAndRefusesSizesThatWouldWrap)
{
    size_t rounded = 0;
    EXPECT_TRUE(RoundAllocationSize(13, rounded));
    EXPECT_EQ(rounded, 16u);
    EXPECT_TRUE(RoundAllocationSize(16, rounded));
    EXPECT_EQ(rounded, 16u);
    EXPECT_FALSE(RoundAllocationSize(SIZE_MAX - 3, rounded));
    EXPECT_EQ(rounded, 16u); // untouched

    ErrorRecorder recorder;
    EXPECT_EQ(Allocate(SIZE_MAX - 3, __FILE__, __LINE__, false), nullptr);
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0].code, PIM_ERR_OUT_OF_MEMORY);

    ResetMemoryStats();
    void* block = Allocate(13, __FILE__, __LINE__, true);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GetMemoryStats().bytesRequested, 16u);
    unsigned char zero[16] = {};
    EXPECT_EQ(std::memcmp(block, zero, 16), 0); // zeroed, all 16 bytes usable
    Free(block);
}

TEST(Memory, FailureAsksTheCacheForRoomUnderTheMutexThenRetries)
{
    InitMemoryServices();
    SetMemoryPurge(&RecordPurge);
    SetAllocationFailHook(&FailNext);
    g_failuresLeft = 1;
    g_purgeAsked = 0;
    g_otherThreadGotMutex = true;
    ResetMemoryStats();

    void* block = Allocate(100, __FILE__, __LINE__, false);
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(g_purgeAsked, 104u + 1024u);
    EXPECT_FALSE(g_otherThreadGotMutex); // a second owner was kept out
    EXPECT_EQ(GetMemoryStats().purges, 1u);
    Free(block);

    // Two failures in a row: null, reported, counted.
    ErrorRecorder recorder;
    g_failuresLeft = 2;
    EXPECT_EQ(Allocate(8, __FILE__, __LINE__, false), nullptr);
    EXPECT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(GetMemoryStats().failures, 1u);
    ExitMemoryServices();
}

TEST(Memory, EngineObjectsComeFromTheTrackerAndNewYieldsNullOnFailure)
{
    ResetMemoryStats();
    Tracked* object = new Tracked;
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->value, 7);
    EXPECT_EQ(GetMemoryStats().allocations, 1u);
    delete object;

    ErrorRecorder recorder;
    SetAllocationFailHook([](size_t) { return true; });
    Tracked* none = new Tracked;
    EXPECT_EQ(none, nullptr);
    SetAllocationFailHook(nullptr);
}
