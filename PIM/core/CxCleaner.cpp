#include "PIM/core/CxCleaner.h"

CxCleaner::~CxCleaner()
{
    Flush();
}

void CxCleaner::Link(GenericBase* entry)
{
    entry->m_previous = m_last;
    m_last = entry;
    ++m_count;
}

void CxCleaner::Flush()
{
    // Unlinked before deletion, so a destructor that adds an entry or
    // flushes again finds a consistent list; an entry it adds is newer than
    // every one still waiting and goes next.
    while (m_last) {
        GenericBase* entry = m_last;
        m_last = entry->m_previous;
        --m_count;
        delete entry;
    }
}
