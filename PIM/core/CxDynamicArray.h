#pragma once
// A growable array that may be changed while it is being walked. The main-loop
// callbacks live in one: a callback may remove itself, remove another one, or
// register a new one, all from inside the walk that is calling it. To make that
// safe, every live CxDynamicArrayIterator is registered with its array, and a
// removal moves back by one every walk standing on or past the removed slot, so
// no walk skips or repeats an entry; appended entries land at the end, where
// the running walks will still reach them.
//
// Elements sit in individually allocated wrappers, and the array holds only
// pointers to them: growing the array moves pointers, never elements, so the
// element a walk is looking at stays put even when its callback appends.
//
// Walks happen every frame, so registering a walk allocates nothing: the
// iterators link themselves into a list through their own members.

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimDefs.h"

#include <cstring>

template <class T>
class CxDynamicArrayIterator;

template <class T>
class CxDynamicArray
{
public:
    // The wrapper that owns one element.
    class CxPrivateObject
    {
    public:
        explicit CxPrivateObject(const T& element) : m_element(element) {}

        T& GetElement() { return m_element; }
        const T& GetElement() const { return m_element; }

    private:
        T m_element;
    };

    CxDynamicArray() = default;

    // Registered walks point at this object, so it can be neither copied nor
    // moved out from under them.
    CxDynamicArray(const CxDynamicArray&) = delete;
    CxDynamicArray& operator=(const CxDynamicArray&) = delete;

    // Walks that outlive the array are cut loose first: they then yield nothing,
    // and their own destructors no longer reach back into freed memory.
    virtual ~CxDynamicArray()
    {
        while (m_iterators) {
            CxDynamicArrayIterator<T>* iterator = m_iterators;
            m_iterators = iterator->m_nextIterator;
            iterator->m_array = nullptr;
            iterator->m_nextIterator = nullptr;
            iterator->m_previousIterator = nullptr;
        }
        DeleteAll();
    }

    // Stores a copy of `element` at the end. False, with the array unchanged,
    // when memory for the wrapper or for a bigger array could not be had.
    bool Append(const T& element)
    {
        CxPrivateObject* wrapper = PimNew<CxPrivateObject>(__FILE__, __LINE__, element);
        if (!wrapper)
            return false;
        if (m_count == m_capacity && !Grow()) {
            PimDelete(wrapper);
            return false;
        }
        m_items[m_count++] = wrapper;
        return true;
    }

    // Appends unless an equal element is already present (registering the same
    // callback twice must not make it run twice). True when the element is in
    // the array afterwards; false only when it had to be added and could not.
    bool AppendUnique(const T& element)
    {
        return IndexOf(element) >= 0 || Append(element);
    }

    // Deletes the wrapper at `index` and closes the gap. False when there is no
    // such entry.
    bool RemoveAt(size_t index)
    {
        if (index >= m_count)
            return false;
        CxPrivateObject* removed = m_items[index];
        for (size_t i = index + 1; i < m_count; ++i)
            m_items[i - 1] = m_items[i];
        m_items[--m_count] = nullptr;
        const ptrdiff_t slot = static_cast<ptrdiff_t>(index);
        for (CxDynamicArrayIterator<T>* it = m_iterators; it; it = it->m_nextIterator) {
            if (it->m_index == slot)
                it->m_currentRemoved = true;
            if (it->m_index >= slot)
                --it->m_index;
        }
        // Last, so that an element whose destructor looks at the array sees it
        // already consistent.
        PimDelete(removed);
        return true;
    }

    // Removes the first entry equal to `element`.
    bool Remove(const T& element)
    {
        ptrdiff_t index = IndexOf(element);
        return index >= 0 && RemoveAt(static_cast<size_t>(index));
    }

    // Index of the first entry equal to `element` (operator==), or -1.
    ptrdiff_t IndexOf(const T& element) const
    {
        for (size_t i = 0; i < m_count; ++i) {
            if (m_items[i]->GetElement() == element)
                return static_cast<ptrdiff_t>(i);
        }
        return -1;
    }

    bool Contains(const T& element) const { return IndexOf(element) >= 0; }

    // Null outside the array.
    T* Get(size_t index) { return index < m_count ? &m_items[index]->GetElement() : nullptr; }
    const T* Get(size_t index) const { return index < m_count ? &m_items[index]->GetElement() : nullptr; }

    size_t GetCount() const { return m_count; }
    size_t GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_count == 0; }

    // Deletes every entry and releases the array. Running walks are put back
    // before the start, exactly as if each entry had been removed in turn.
    void Clear()
    {
        for (CxDynamicArrayIterator<T>* it = m_iterators; it; it = it->m_nextIterator) {
            if (it->m_index >= 0) {
                it->m_index = -1;
                it->m_currentRemoved = true;
            }
        }
        DeleteAll();
    }

private:
    friend class CxDynamicArrayIterator<T>;

    bool Grow()
    {
        size_t capacity = m_capacity ? m_capacity * 2 : 1;
        if (m_capacity > SIZE_MAX / 2 / sizeof(CxPrivateObject*))
            return false;
        auto** items = static_cast<CxPrivateObject**>(
            Allocate(capacity * sizeof(CxPrivateObject*), __FILE__, __LINE__, true));
        if (!items)
            return false;
        if (m_count)
            std::memcpy(items, m_items, m_count * sizeof(CxPrivateObject*));
        Free(m_items);
        m_items = items;
        m_capacity = capacity;
        return true;
    }

    void DeleteAll()
    {
        CxPrivateObject** items = m_items;
        size_t count = m_count;
        m_items = nullptr;
        m_count = 0;
        m_capacity = 0;
        for (size_t i = 0; i < count; ++i)
            PimDelete(items[i]);
        Free(items);
    }

// Walks are usually locals, and g++ 12 flags keeping their address in the
// array even though every iterator unlinks itself in its destructor.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
    void Register(CxDynamicArrayIterator<T>* iterator)
    {
        iterator->m_previousIterator = nullptr;
        iterator->m_nextIterator = m_iterators;
        if (m_iterators)
            m_iterators->m_previousIterator = iterator;
        m_iterators = iterator;
    }
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

    void Unregister(CxDynamicArrayIterator<T>* iterator)
    {
        if (iterator->m_previousIterator)
            iterator->m_previousIterator->m_nextIterator = iterator->m_nextIterator;
        else
            m_iterators = iterator->m_nextIterator;
        if (iterator->m_nextIterator)
            iterator->m_nextIterator->m_previousIterator = iterator->m_previousIterator;
        iterator->m_nextIterator = nullptr;
        iterator->m_previousIterator = nullptr;
    }

    CxPrivateObject** m_items = nullptr;
    size_t m_count = 0;
    size_t m_capacity = 0;
    CxDynamicArrayIterator<T>* m_iterators = nullptr;
};

// A walk over a CxDynamicArray that survives changes made during the walk:
//     CxDynamicArrayIterator<T> it(array);
//     for (T* p = it.First(); p; p = it.Next()) { ... may add or remove ... }
// The pointer handed out is valid until that entry is removed.
template <class T>
class CxDynamicArrayIterator
{
public:
    explicit CxDynamicArrayIterator(CxDynamicArray<T>& array) : m_array(&array)
    {
        array.Register(this);
    }

    // Registered by address: a copy would be a walk the array does not know.
    CxDynamicArrayIterator(const CxDynamicArrayIterator&) = delete;
    CxDynamicArrayIterator& operator=(const CxDynamicArrayIterator&) = delete;

    ~CxDynamicArrayIterator()
    {
        if (m_array)
            m_array->Unregister(this);
    }

    // Starts (or restarts) the walk; null when the array is empty or gone.
    T* First()
    {
        m_index = -1;
        m_currentRemoved = false;
        return Next();
    }

    // Steps to the following entry; null when there is none. The walk then
    // stays where it is, so an entry appended later is the next one found.
    T* Next()
    {
        if (!m_array || m_index + 1 >= static_cast<ptrdiff_t>(m_array->m_count))
            return nullptr;
        ++m_index;
        m_currentRemoved = false;
        return Current();
    }

    // The entry the walk is on; null before the first entry, once that entry
    // has been removed, or when the array is gone.
    T* Current()
    {
        if (!m_array || m_index < 0 || m_currentRemoved)
            return nullptr;
        return m_array->Get(static_cast<size_t>(m_index));
    }

    // Removes the entry the walk is on; the next Next() gives the one after it.
    // A second call before moving on is refused: the index then designates
    // the entry before the removed one, which the caller did not mean.
    bool RemoveCurrent()
    {
        return Current() && m_array->RemoveAt(static_cast<size_t>(m_index));
    }

    // -1 before the first entry (or after the entry at 0 was removed).
    ptrdiff_t GetIndex() const { return m_index; }

    // False once the array has been destroyed.
    bool IsAttached() const { return m_array != nullptr; }

private:
    friend class CxDynamicArray<T>;

    CxDynamicArray<T>* m_array;
    ptrdiff_t m_index = -1;
    bool m_currentRemoved = false;
    CxDynamicArrayIterator* m_nextIterator = nullptr;
    CxDynamicArrayIterator* m_previousIterator = nullptr;
};
