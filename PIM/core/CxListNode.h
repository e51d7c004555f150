#pragma once
// One link of a CxLinkedList (and so of a CxQueue). Callers walk a list through
// these accessors, but only the list creates, links and deletes nodes, so that
// the list's first/last pointers and count can never disagree with the links.

template <class T>
class CxLinkedList;

template <class T>
class CxListNode
{
public:
    CxListNode(const CxListNode&) = delete;
    CxListNode& operator=(const CxListNode&) = delete;

    CxListNode* GetNext() { return m_next; }
    const CxListNode* GetNext() const { return m_next; }
    CxListNode* GetPrevious() { return m_previous; }
    const CxListNode* GetPrevious() const { return m_previous; }

    // The node's own copy of the element. When T is a pointer, the object it
    // points to belongs to the caller and outlives the node.
    T& GetElement() { return m_element; }
    const T& GetElement() const { return m_element; }

private:
    friend class CxLinkedList<T>;

    explicit CxListNode(const T& element) : m_element(element) {}
    ~CxListNode() = default;

    CxListNode* m_next = nullptr;
    CxListNode* m_previous = nullptr;
    T m_element;
};
