#include "PIM/core/CxThread.h"

#include <chrono>
#include <system_error>

namespace {
std::atomic<std::thread::id> g_mainThread{};
}

void PimRecordMainThread()
{
    std::thread::id none{};
    g_mainThread.compare_exchange_strong(none, std::this_thread::get_id());
}

bool PimIsMainThread()
{
    std::thread::id main = g_mainThread.load();
    return main == std::thread::id{} || main == std::this_thread::get_id();
}

void PimResetMainThread()
{
    g_mainThread.store(std::thread::id{});
}

CxThread::CxThread(PimThreadFunction function, void* user) : m_function(function), m_user(user) {}

CxThread::~CxThread()
{
    if (std::this_thread::get_id() == m_threadId.load()) {
        // Deleted by its own function: nobody else can wait for it now.
        m_state.store(EThreadState::StopRequested);
        if (m_thread.joinable())
            m_thread.detach();
        return;
    }
    Stop();
}

void CxThread::SetFunction(PimThreadFunction function, void* user)
{
    m_function = function;
    m_user = user;
}

int CxThread::Start()
{
    if (m_state.load() != EThreadState::Stopped)
        Stop();
    JoinIfOther();
    if (!m_function)
        return SetError(PIM_ERR_BAD_ARG, "No function specified for thread");

    // Created held back, so the body sees a complete object, then let go.
    m_suspended.store(true);
    m_state.store(EThreadState::Running);
    try {
        m_thread = std::thread(&CxThread::Body, this);
    } catch (const std::system_error&) {
        m_state.store(EThreadState::Stopped);
        m_suspended.store(false);
        return SetError(PIM_ERR_UNKNOWN, "CreateThread failed");
    }
    m_threadId.store(m_thread.get_id());
    m_suspended.store(false);
    return PIM_OK;
}

int CxThread::Stop()
{
    if (m_state.load() != EThreadState::Stopped) {
        EThreadState running = EThreadState::Running;
        m_state.compare_exchange_strong(running, EThreadState::StopRequested);
    }
    if (std::this_thread::get_id() == m_threadId.load())
        return PIM_OK;
    JoinIfOther();
    return PIM_OK;
}

void CxThread::JoinIfOther()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
        m_threadId.store(std::thread::id{});
    }
}

void CxThread::Body()
{
    for (;;) {
        EThreadState state = m_state.load();
        if (state != EThreadState::Running)
            break;
        if (m_suspended.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (m_function(m_user) != 0)
            break;
    }
    m_state.store(EThreadState::Stopped);
}
