#include "PIM/core/CxMutex.h"
#include "PIM/core/CxThread.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

TEST(Mutex, NamedMutexesAreSharedAndOwnedByOneThreadAtATime)
{
    CxMutex never;
    EXPECT_EQ(never.Lock(0), 0); // never created, never acquired

    EXPECT_FALSE(CxMutex::Exists("TestMutex"));
    CxMutex a;
    ASSERT_EQ(a.Create("TestMutex", true), PIM_OK);
    EXPECT_TRUE(CxMutex::Exists("TestMutex"));
    EXPECT_EQ(a.Create("TestMutex", false), PIM_ERR_BAD_ARG);

    CxMutex b;
    b.Create("TestMutex", false);
    EXPECT_EQ(b.Lock(0), 1); // same thread: recursive, like the system's

    int otherGot = -1;
    std::thread other([&] {
        CxMutex c;
        c.Create("TestMutex", false);
        otherGot = c.Lock(20);
        c.Unlock(); // not the owner when the lock failed: ignored
    });
    other.join();
    EXPECT_EQ(otherGot, 0);

    b.Unlock();
    a.Unlock();
    std::thread again([&] {
        CxMutex c;
        c.Create("TestMutex", false);
        otherGot = c.Lock(1000);
        c.Unlock();
    });
    again.join();
    EXPECT_EQ(otherGot, 1);

    a.Close();
    b.Close();
    EXPECT_FALSE(CxMutex::Exists("TestMutex"));
}

namespace {

struct Counter
{
    std::atomic<int> calls{0};
    int finishAfter = 0;
    CxThread* self = nullptr;
};

int CountCalls(void* user)
{
    auto* counter = static_cast<Counter*>(user);
    int n = ++counter->calls;
    if (counter->self && n == 3)
        counter->self->Stop(); // stopping itself must not wait for itself
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    return counter->finishAfter && n >= counter->finishAfter;
}

bool WaitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

} // namespace

TEST(Thread, StartStopFinishAndSelfStop)
{
    ErrorRecorder recorder;
    CxThread none;
    EXPECT_EQ(none.Start(), PIM_ERR_BAD_ARG);
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0].message, "No function specified for thread");

    // Runs until stopped from outside.
    Counter counter;
    CxThread worker(&CountCalls, &counter);
    ASSERT_EQ(worker.Start(), PIM_OK);
    EXPECT_TRUE(WaitFor([&] { return counter.calls.load() > 5; }));
    EXPECT_EQ(worker.Stop(), PIM_OK);
    EXPECT_EQ(worker.GetState(), EThreadState::Stopped);
    int after = counter.calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(counter.calls.load(), after);

    // Finishes by itself when the function says so.
    Counter finite;
    finite.finishAfter = 4;
    CxThread ending(&CountCalls, &finite);
    ending.Start();
    EXPECT_TRUE(WaitFor([&] { return ending.GetState() == EThreadState::Stopped; }));
    EXPECT_EQ(finite.calls.load(), 4);

    // Stops itself from inside its function, then can be started again.
    Counter selfStopping;
    CxThread selfish(&CountCalls, &selfStopping);
    selfStopping.self = &selfish;
    selfish.Start();
    EXPECT_TRUE(WaitFor([&] { return selfish.GetState() == EThreadState::Stopped; }));
    EXPECT_EQ(selfStopping.calls.load(), 3);
    selfStopping.self = nullptr;
    selfish.Start();
    EXPECT_TRUE(WaitFor([&] { return selfStopping.calls.load() > 5; }));
    selfish.Stop();
}

TEST(Thread, SuspendedThreadDoesNotCallItsFunction)
{
    Counter counter;
    CxThread worker(&CountCalls, &counter);
    worker.Start();
    EXPECT_TRUE(WaitFor([&] { return counter.calls.load() > 0; }));
    worker.Suspend();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    int frozen = counter.calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(counter.calls.load(), frozen);
    EXPECT_TRUE(worker.IsRunning());
    worker.Resume();
    EXPECT_TRUE(WaitFor([&] { return counter.calls.load() > frozen; }));
    // Destroyed while running: the destructor stops and waits.
}

TEST(Thread, MainThreadRecord)
{
    PimResetMainThread();
    bool otherIsMain = false;
    std::thread([&] { otherIsMain = PimIsMainThread(); }).join();
    EXPECT_TRUE(otherIsMain); // nothing recorded: every thread counts
    PimRecordMainThread();
    std::thread([&] { otherIsMain = PimIsMainThread(); }).join();
    EXPECT_FALSE(otherIsMain);
    EXPECT_TRUE(PimIsMainThread());
    PimResetMainThread();
}
