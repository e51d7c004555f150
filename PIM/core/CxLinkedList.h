#pragma once
// A doubly linked list of values. Nodes never move once made, so callers may
// keep a node pointer (a registered listener, a mounted file system) and later
// remove exactly that node, or insert in front of it to keep a priority order.
//
// Every node comes from the tracking allocator. When one cannot be had the
// operation answers null/false and the list is exactly as it was: the engine
// keeps running with the element simply not stored.
//
// Copying is not implicit: a copy constructor could not report a failed
// allocation. CopyFrom makes the deep copy and says whether it succeeded.

#include "PIM/core/CxListNode.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimDefs.h"

#include <new>
#include <utility>

template <class T>
class CxLinkedList
{
public:
    using Node = CxListNode<T>;

    CxLinkedList() = default;
    CxLinkedList(const CxLinkedList&) = delete;
    CxLinkedList& operator=(const CxLinkedList&) = delete;

    virtual ~CxLinkedList()
    {
        Clear();
    }

    Node* GetFirst() { return m_first; }
    const Node* GetFirst() const { return m_first; }
    Node* GetLast() { return m_last; }
    const Node* GetLast() const { return m_last; }
    size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Each returns the new node, or null (list unchanged) when out of memory.
    Node* Append(const T& element) { return LinkBefore(nullptr, element); }
    Node* Prepend(const T& element) { return LinkBefore(m_first, element); }

    // Links a new node in front of `before`, which must belong to this list.
    // A null `before` appends, so a priority insert can walk until it finds a
    // lower priority or runs off the end and use the same call either way.
    Node* InsertBefore(Node* before, const T& element) { return LinkBefore(before, element); }

    // Unlinks and deletes `node`, which must belong to this list. The element's
    // copy goes with it; a pointed-to object is left alone.
    bool Remove(Node* node)
    {
        if (!node || m_count == 0)
            return false;
        if (node->m_previous)
            node->m_previous->m_next = node->m_next;
        else
            m_first = node->m_next;
        if (node->m_next)
            node->m_next->m_previous = node->m_previous;
        else
            m_last = node->m_previous;
        --m_count;
        DeleteNode(node);
        return true;
    }

    // Removes the first node whose element equals `element`.
    bool RemoveElement(const T& element) { return Remove(Find(element)); }

    // Moves the first element into `out` and removes its node; `out` is left
    // alone on an empty list.
    bool PopFront(T& out)
    {
        if (!m_first)
            return false;
        out = std::move(m_first->m_element);
        return Remove(m_first);
    }

    // The first node whose element equals `element` (operator==), or null.
    Node* Find(const T& element)
    {
        for (Node* node = m_first; node; node = node->m_next) {
            if (node->m_element == element)
                return node;
        }
        return nullptr;
    }

    const Node* Find(const T& element) const
    {
        return const_cast<CxLinkedList*>(this)->Find(element);
    }

    // The element `index` steps from the front, or null past the end.
    T* GetAt(size_t index)
    {
        if (index >= m_count)
            return nullptr;
        Node* node = m_first;
        while (index--)
            node = node->m_next;
        return &node->m_element;
    }

    const T* GetAt(size_t index) const
    {
        return const_cast<CxLinkedList*>(this)->GetAt(index);
    }

    // Deletes every node, front to back.
    void Clear()
    {
        while (m_first) {
            Node* next = m_first->m_next;
            DeleteNode(m_first);
            m_first = next;
        }
        m_last = nullptr;
        m_count = 0;
    }

    // Replaces the contents with copies of `other`'s elements. The copy is
    // built aside first, so on failure (false) this list is unchanged.
    bool CopyFrom(const CxLinkedList& other)
    {
        if (&other == this)
            return true;
        CxLinkedList copy;
        for (const Node* node = other.m_first; node; node = node->m_next) {
            if (!copy.Append(node->m_element))
                return false;
        }
        Swap(copy);
        return true;
    }

    // Exchanges contents without touching any node, so node pointers stay valid
    // (they now belong to the other list).
    void Swap(CxLinkedList& other)
    {
        std::swap(m_first, other.m_first);
        std::swap(m_last, other.m_last);
        std::swap(m_count, other.m_count);
    }

private:
    Node* LinkBefore(Node* before, const T& element)
    {
        void* block = Allocate(sizeof(Node), __FILE__, __LINE__, false);
        if (!block)
            return nullptr;
        Node* node = ::new (block) Node(element);
        node->m_next = before;
        node->m_previous = before ? before->m_previous : m_last;
        if (node->m_previous)
            node->m_previous->m_next = node;
        else
            m_first = node;
        if (before)
            before->m_previous = node;
        else
            m_last = node;
        ++m_count;
        return node;
    }

    static void DeleteNode(Node* node)
    {
        node->~Node();
        Free(node);
    }

    Node* m_first = nullptr;
    Node* m_last = nullptr;
    size_t m_count = 0;
};
