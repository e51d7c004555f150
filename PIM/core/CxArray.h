#pragma once
// A fixed-size array of elements, sized at run time. Resizing throws the old
// contents away: callers size it once (a table read from a data file, a grid)
// and then fill it by index. Reads outside the array are refused with a null
// pointer rather than trusted, since indices often come straight from data.

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimDefs.h"

#include <new>
#include <utility>

// Raw element storage shared by the array-backed containers. Every block comes
// from the tracking allocator so leaks and out-of-memory reports name the
// container's own header instead of the C++ runtime.
namespace PimContainerStorage
{

// Uninitialised room for `count` elements; null when count is 0, when the byte
// size would not fit in size_t, or when the memory could not be had.
template <class T>
T* AllocateRaw(size_t count, const char* sourceFile, int line)
{
    if (count == 0 || count > SIZE_MAX / sizeof(T))
        return nullptr;
    return static_cast<T*>(Allocate(count * sizeof(T), sourceFile, line, false));
}

// Destroys the first `count` elements and gives the block back.
template <class T>
void DestroyAndFree(T* elements, size_t count)
{
    if (!elements)
        return;
    for (size_t i = 0; i < count; ++i)
        elements[i].~T();
    Free(elements);
}

} // namespace PimContainerStorage

template <class T>
class CxArray
{
public:
    CxArray() = default;

    // On allocation failure the array stays empty; check GetCount().
    explicit CxArray(size_t count)
    {
        Resize(count);
    }

    // Owning raw memory makes a silent shallow copy a double free waiting to
    // happen, and a deep copy could not report failure: copying is not offered.
    CxArray(const CxArray&) = delete;
    CxArray& operator=(const CxArray&) = delete;

    virtual ~CxArray()
    {
        PimContainerStorage::DestroyAndFree(m_elements, m_count);
    }

    // Replaces the contents with `count` default-constructed elements. The new
    // block is obtained before the old one is released, so a failure (false)
    // leaves the current contents in place.
    bool Resize(size_t count)
    {
        if (count == 0) {
            Clear();
            return true;
        }
        T* elements = PimContainerStorage::AllocateRaw<T>(count, __FILE__, __LINE__);
        if (!elements)
            return false;
        for (size_t i = 0; i < count; ++i)
            ::new (static_cast<void*>(elements + i)) T();
        PimContainerStorage::DestroyAndFree(m_elements, m_count);
        m_elements = elements;
        m_count = count;
        return true;
    }

    void Clear()
    {
        PimContainerStorage::DestroyAndFree(m_elements, m_count);
        m_elements = nullptr;
        m_count = 0;
    }

    size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    T* Get(size_t index) { return index < m_count ? m_elements + index : nullptr; }
    const T* Get(size_t index) const { return index < m_count ? m_elements + index : nullptr; }

    // False (and nothing stored) outside the array.
    bool Set(size_t index, const T& value)
    {
        if (index >= m_count)
            return false;
        m_elements[index] = value;
        return true;
    }

    T* GetData() { return m_elements; }
    const T* GetData() const { return m_elements; }

    // Range-for support; an empty array yields an empty range.
    T* begin() { return m_elements; }
    T* end() { return m_elements + m_count; }
    const T* begin() const { return m_elements; }
    const T* end() const { return m_elements + m_count; }

private:
    T* m_elements = nullptr;
    size_t m_count = 0;
};
