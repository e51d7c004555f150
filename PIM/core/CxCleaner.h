#pragma once
// Objects waiting to be deleted at a safe moment. A room hands its killed
// timers here instead of deleting them, so that a handler may kill the timer
// that is calling it (and then still read its id or user value); the room
// flushes at the start of its next per-frame update and when it unloads.
//
// Flush deletes the most recently added object first. An object whose
// destructor adds to the cleaner, or flushes it, is handled: each entry is
// unlinked before it is deleted, and Flush runs until the list is empty.

#include "PIM/core/CxObject.h"
#include "PIM/core/PimDefs.h"

class CxCleaner
{
public:
    // One waiting object; deleting the wrapper deletes what it holds.
    class GenericBase : public CxObject
    {
    public:
        GenericBase() = default;
        GenericBase(const GenericBase&) = delete;
        GenericBase& operator=(const GenericBase&) = delete;
        ~GenericBase() override = default;

    private:
        friend class CxCleaner;
        GenericBase* m_previous = nullptr; // the entry added before this one
    };

    // Holds an object made with `new`.
    template <class T>
    class Generic : public GenericBase
    {
    public:
        explicit Generic(T* object) : m_object(object) {}
        ~Generic() override { delete m_object; }

        T* GetObject() const { return m_object; }

    private:
        T* m_object;
    };

    CxCleaner() = default;
    CxCleaner(const CxCleaner&) = delete;
    CxCleaner& operator=(const CxCleaner&) = delete;
    ~CxCleaner();

    // Takes ownership of `object` (made with `new`; null is ignored). When
    // memory for the entry cannot be had the object is deleted at once and
    // the answer is false: keeping it would leak it, and the timer manager
    // copes with a timer deleted from inside its own call.
    template <class T>
    bool Add(T* object)
    {
        if (!object)
            return true;
        Generic<T>* entry = new Generic<T>(object);
        if (!entry) {
            delete object;
            return false;
        }
        Link(entry);
        return true;
    }

    // Deletes every waiting object, the most recently added first.
    void Flush();

    size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

private:
    void Link(GenericBase* entry);

    // The most recently added entry; each links to the one added before it.
    GenericBase* m_last = nullptr;
    size_t m_count = 0;
};
