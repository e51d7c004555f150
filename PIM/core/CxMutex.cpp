#include "PIM/core/CxMutex.h"

#include "PIM/core/CxError.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// A recursive mutex that knows its owner, so that a stray unlock can be refused.
struct CxMutex::Impl
{
    std::timed_mutex mutex;
    std::atomic<std::thread::id> owner{};
    int depth = 0; // touched only by the owner
    std::string name;

    bool OwnedByCaller() const { return owner.load() == std::this_thread::get_id(); }

    void Release()
    {
        if (--depth == 0) {
            owner.store(std::thread::id{});
            mutex.unlock();
        }
    }
};

namespace {

// Named mutexes alive in this process.
struct NameTable
{
    std::mutex lock;
    std::map<std::string, std::weak_ptr<CxMutex::Impl>> byName;
};

// Never destroyed: a mutex that is a static object of its own (the memory
// mutex) may close after every other static has gone, when the program
// leaves through exit().
NameTable& Names()
{
    static NameTable* table = new NameTable;
    return *table;
}

} // namespace

CxMutex::~CxMutex()
{
    Close();
}

int CxMutex::Create(const char* name, bool initiallyOwned)
{
    if (m_impl)
        return PIM_ERR_BAD_ARG;
    if (name && *name) {
        NameTable& table = Names();
        std::lock_guard<std::mutex> hold(table.lock);
        auto found = table.byName.find(name);
        if (found != table.byName.end())
            m_impl = found->second.lock();
        if (!m_impl) {
            m_impl = std::make_shared<Impl>();
            m_impl->name = name;
            table.byName[name] = m_impl;
        }
    } else {
        m_impl = std::make_shared<Impl>();
    }
    if (initiallyOwned)
        Lock(PIM_INFINITE);
    return PIM_OK;
}

void CxMutex::Close()
{
    if (!m_impl)
        return;
    if (m_impl->OwnedByCaller()) {
        m_impl->depth = 1;
        m_impl->Release();
    }
    std::string name = m_impl->name;
    m_impl.reset();
    if (!name.empty()) {
        NameTable& table = Names();
        std::lock_guard<std::mutex> hold(table.lock);
        auto found = table.byName.find(name);
        if (found != table.byName.end() && found->second.expired())
            table.byName.erase(found);
    }
}

int CxMutex::Lock(uint32_t timeoutMs)
{
    if (!m_impl)
        return 0;
    if (m_impl->OwnedByCaller()) {
        ++m_impl->depth;
        return 1;
    }
    if (timeoutMs == PIM_INFINITE)
        m_impl->mutex.lock();
    else if (!m_impl->mutex.try_lock_for(std::chrono::milliseconds(timeoutMs)))
        return 0;
    m_impl->owner.store(std::this_thread::get_id());
    m_impl->depth = 1;
    return 1;
}

void CxMutex::Unlock()
{
    if (m_impl && m_impl->OwnedByCaller())
        m_impl->Release();
}

bool CxMutex::Exists(const char* name)
{
    if (!name || !*name)
        return false;
    NameTable& table = Names();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.byName.find(name);
    return found != table.byName.end() && !found->second.expired();
}
