#pragma once
// A simple worker thread that calls one function over and over until the
// function returns non-zero or a stop is requested; and the record of which
// thread is the main thread.

#include "PIM/core/CxError.h"
#include "PIM/core/CxObject.h"

#include <atomic>
#include <thread>

// Called with the user value; returns non-zero when the work is finished.
using PimThreadFunction = int (*)(void* user);

enum class EThreadState : int
{
    Stopped = 0,
    Running = 1,
    StopRequested = 2,
};

class CxThread : public CxObject, public CxError
{
public:
    CxThread() = default;
    CxThread(PimThreadFunction function, void* user);
    ~CxThread() override;
    CxThread(const CxThread&) = delete;
    CxThread& operator=(const CxThread&) = delete;

    void SetFunction(PimThreadFunction function, void* user);

    // Stops a running thread first. 16 without a function, 13 when the thread
    // cannot be created; else 0 with the thread running.
    int Start();
    // Requests the stop and waits until the thread has ended. Called from the
    // worker itself it only requests the stop (a thread cannot wait for itself).
    int Stop();

    // While suspended the thread stays alive but does not call its function.
    void Suspend() { m_suspended.store(true); }
    void Resume() { m_suspended.store(false); }

    EThreadState GetState() const { return m_state.load(); }
    bool IsRunning() const { return m_state.load() == EThreadState::Running; }
    bool IsSuspended() const { return m_suspended.load(); }
    std::thread::id GetThreadId() const { return m_threadId.load(); }
    uint32_t GetStackSize() const { return m_stackSize; }

private:
    void Body();
    void JoinIfOther();

    PimThreadFunction m_function = nullptr;
    void* m_user = nullptr;
    std::thread m_thread;
    std::atomic<std::thread::id> m_threadId{};
    std::atomic<EThreadState> m_state{EThreadState::Stopped};
    std::atomic<bool> m_suspended{false};
    // Kept for the record; the platform's default stack is used (4 KB would be
    // too small for a modern C library).
    uint32_t m_stackSize = 4096;
};

// The main thread is the one that calls PimRecordMainThread first; until then
// every thread counts as the main one.
void PimRecordMainThread();
bool PimIsMainThread();
void PimResetMainThread();
