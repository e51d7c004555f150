#include "PIM/core/CxObject.h"

#include "PIM/core/CxMemory.h"

namespace {
const char kSource[] = "CxObject";
}

void* CxObject::operator new(std::size_t size) noexcept
{
    return Allocate(size ? size : 1, kSource, 0, false);
}

void* CxObject::operator new[](std::size_t size) noexcept
{
    return Allocate(size ? size : 1, kSource, 0, false);
}

void CxObject::operator delete(void* block) noexcept
{
    Free(block);
}

void CxObject::operator delete[](void* block) noexcept
{
    Free(block);
}
