#pragma once
// A first-in first-out queue (pending events, queued commands). It is a linked
// list underneath rather than a ring buffer so that a burst of events never
// needs one large block, and each enqueue can fail on its own without losing
// what is already queued.

#include "PIM/core/CxLinkedList.h"
#include "PIM/core/PimDefs.h"

#include <utility>

template <class T>
class CxQueue
{
public:
    CxQueue() = default;
    CxQueue(const CxQueue&) = delete;
    CxQueue& operator=(const CxQueue&) = delete;

    // The nodes go; pointed-to elements stay with their owners.
    virtual ~CxQueue() = default;

    // False (queue unchanged) when out of memory.
    bool Enqueue(const T& element) { return m_nodes.Append(element) != nullptr; }

    // Moves the front element into `out` and removes it; false (and `out`
    // untouched) on an empty queue.
    bool Dequeue(T& out) { return m_nodes.PopFront(out); }

    // Looks without removing; null when empty.
    T* PeekFront() { return ElementOf(m_nodes.GetFirst()); }
    const T* PeekFront() const { return ElementOf(m_nodes.GetFirst()); }
    T* PeekBack() { return ElementOf(m_nodes.GetLast()); }
    const T* PeekBack() const { return ElementOf(m_nodes.GetLast()); }

    size_t GetCount() const { return m_nodes.GetCount(); }
    bool IsEmpty() const { return m_nodes.IsEmpty(); }
    void Clear() { m_nodes.Clear(); }

    // Removes every element `drop` answers true for, keeping the order of
    // the others; how many went.
    template <class Predicate>
    size_t RemoveIf(Predicate drop)
    {
        size_t removed = 0;
        for (auto* node = m_nodes.GetFirst(); node;) {
            auto* next = node->GetNext();
            if (drop(node->GetElement())) {
                m_nodes.Remove(node);
                ++removed;
            }
            node = next;
        }
        return removed;
    }

private:
    template <class N>
    static auto ElementOf(N* node) -> decltype(&node->GetElement())
    {
        return node ? &node->GetElement() : nullptr;
    }

    CxLinkedList<T> m_nodes;
};
