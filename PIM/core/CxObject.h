#pragma once
// Root of the engine's objects. Objects made with `new` come from the tracking
// allocator; like the rest of the engine, a failed `new` yields null rather than
// throwing, so callers test the pointer.

#include "PIM/core/PimDefs.h"

#include <new>

class CxObject
{
public:
    CxObject() = default;
    CxObject(const CxObject&) = default;
    CxObject& operator=(const CxObject&) = default;
    virtual ~CxObject() = default;

    static void* operator new(std::size_t size) noexcept;
    static void* operator new[](std::size_t size) noexcept;
    static void operator delete(void* block) noexcept;
    static void operator delete[](void* block) noexcept;
    // Placement forms stay usable (the containers construct elements in place).
    static void* operator new(std::size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}
};
