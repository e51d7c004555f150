#pragma once
// A bounded stack: the room history and the modal window stack must never grow
// without limit, so a push onto a full stack is dropped (and reported through
// the return value) instead of growing the storage.
//
// The storage is taken on the first push, not at construction: most stacks are
// members built long before they are used, and a failed allocation then only
// refuses that push rather than crippling the stack for good.

#include "PIM/core/CxArray.h"
#include "PIM/core/PimDefs.h"

#include <new>
#include <utility>

template <class T>
class CxStack
{
public:
    static constexpr size_t kMaxCapacity = 0xFFFF;

    // Capacities above 65535 are clamped: counts are kept in 16 bits.
    explicit CxStack(size_t capacity = 0) : m_capacity(ClampCapacity(capacity)) {}

    CxStack(const CxStack&) = delete;
    CxStack& operator=(const CxStack&) = delete;

    virtual ~CxStack()
    {
        PimContainerStorage::DestroyAndFree(m_elements, m_count);
    }

    // False, with nothing stored, when the stack is full or its storage could
    // not be had.
    bool Push(const T& value)
    {
        if (m_count >= m_capacity)
            return false;
        if (!m_elements) {
            m_elements = PimContainerStorage::AllocateRaw<T>(m_capacity, __FILE__, __LINE__);
            if (!m_elements)
                return false;
        }
        ::new (static_cast<void*>(m_elements + m_count)) T(value);
        ++m_count;
        return true;
    }

    // Drops the top element; false on an empty stack.
    bool Pop()
    {
        if (m_count == 0)
            return false;
        --m_count;
        m_elements[m_count].~T();
        return true;
    }

    // Moves the top element into `out` and drops it; `out` is untouched when
    // the stack is empty.
    bool Pop(T& out)
    {
        if (m_count == 0)
            return false;
        out = std::move(m_elements[m_count - 1]);
        return Pop();
    }

    T* Top() { return m_count ? m_elements + (m_count - 1) : nullptr; }
    const T* Top() const { return m_count ? m_elements + (m_count - 1) : nullptr; }

    // Index 0 is the bottom (oldest) element; null outside the stack.
    T* Get(size_t index) { return index < m_count ? m_elements + index : nullptr; }
    const T* Get(size_t index) const { return index < m_count ? m_elements + index : nullptr; }

    uint16_t GetCount() const { return m_count; }
    uint16_t GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_count == 0; }
    bool IsFull() const { return m_count >= m_capacity; }

    void Clear()
    {
        while (Pop()) {
        }
    }

    // Changes the capacity (clamped like the constructor's). Elements above the
    // new capacity are dropped from the top; the bottom ones are kept in order.
    // False when the new storage could not be had, the stack being unchanged.
    bool SetCapacity(size_t capacity)
    {
        uint16_t clamped = ClampCapacity(capacity);
        if (!m_elements) {
            m_capacity = clamped;
            return true;
        }
        T* elements = PimContainerStorage::AllocateRaw<T>(clamped, __FILE__, __LINE__);
        if (!elements && clamped != 0)
            return false;
        uint16_t kept = m_count < clamped ? m_count : clamped;
        for (uint16_t i = 0; i < kept; ++i)
            ::new (static_cast<void*>(elements + i)) T(std::move(m_elements[i]));
        PimContainerStorage::DestroyAndFree(m_elements, m_count);
        m_elements = elements;
        m_count = kept;
        m_capacity = clamped;
        return true;
    }

private:
    static uint16_t ClampCapacity(size_t capacity)
    {
        return static_cast<uint16_t>(capacity > kMaxCapacity ? kMaxCapacity : capacity);
    }

    T* m_elements = nullptr;
    uint16_t m_count = 0;
    uint16_t m_capacity = 0;
};
