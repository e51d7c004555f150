#pragma once
// A mutex that, like the operating system's, may be named so that unrelated
// parts of the program share it: creating a mutex with a name that already
// exists opens the existing one. The owning thread may lock it again (each
// lock needs its unlock); an unlock from a thread that does not own it is
// ignored, and closing releases what the calling thread still holds.

#include "PIM/core/PimDefs.h"

#include <memory>

class CxMutex
{
public:
    CxMutex() = default;
    virtual ~CxMutex();
    CxMutex(const CxMutex&) = delete;
    CxMutex& operator=(const CxMutex&) = delete;

    // name may be null for a private mutex. Returns 0, or 16 when already created.
    virtual int Create(const char* name, bool initiallyOwned);
    virtual void Close();
    // 1 when the mutex was acquired within `timeoutMs` (PIM_INFINITE: no limit),
    // else 0. A mutex that was never created is never acquired.
    virtual int Lock(uint32_t timeoutMs);
    virtual void Unlock();

    bool IsCreated() const { return m_impl != nullptr; }

    // True while some CxMutex holds a mutex of that name.
    static bool Exists(const char* name);

    struct Impl;

private:
    std::shared_ptr<Impl> m_impl;
};
