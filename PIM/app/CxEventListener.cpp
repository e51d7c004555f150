#include "PIM/app/CxEventListener.h"

#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimMainLoop.h"

#include <cstring>

namespace {

using Node = CxListNode<CxEventListener*>;

struct ListenerBook
{
    // Cleared entries (null) belong to listeners deleted during a walk.
    CxLinkedList<CxEventListener*> list;
    size_t live = 0;
    size_t cleared = 0;
    int walkDepth = 0;
};

ListenerBook* g_book = nullptr;

// The book goes with its last listener, but never under a walk: the
// outermost walk takes it away on its way out instead.
void DropBookIfUnused()
{
    if (!g_book || g_book->live > 0 || g_book->walkDepth > 0)
        return;
    ListenerBook* book = g_book;
    g_book = nullptr;
    PimDelete(book);
}

void SweepCleared()
{
    if (!g_book || g_book->cleared == 0)
        return;
    for (Node* node = g_book->list.GetFirst(); node;) {
        Node* next = node->GetNext();
        if (!node->GetElement())
            g_book->list.Remove(node);
        node = next;
    }
    g_book->cleared = 0;
}

// Where a listener of `priority` goes: in front of the returned node, or at
// the end for null.
Node* InsertionPoint(int priority)
{
    if (priority == CxEventListener::kPriorityLast)
        return nullptr;
    if (priority == CxEventListener::kPriorityFirst)
        return g_book->list.GetFirst();
    for (Node* node = g_book->list.GetFirst(); node; node = node->GetNext()) {
        CxEventListener* other = node->GetElement();
        if (other && other->GetPriority() < priority)
            return node;
    }
    return nullptr;
}

} // namespace

CxEventListener::CxEventListener(int priority) : m_priority(priority)
{
    Enter();
}

CxEventListener::~CxEventListener()
{
    Leave();
    Free(m_channels);
}

void CxEventListener::Enter()
{
    if (!g_book) {
        g_book = PimNew<ListenerBook>(__FILE__, __LINE__);
        if (!g_book)
            return;
    }
    m_entry = g_book->list.InsertBefore(InsertionPoint(m_priority), this);
    if (!m_entry) {
        DropBookIfUnused();
        return;
    }
    // The dispatcher runs exactly while some listener exists.
    if (++g_book->live == 1 && !AddMainLoopCallback(&DispatchEvents))
        Leave();
}

void CxEventListener::Leave()
{
    if (!m_entry || !g_book)
        return;
    if (g_book->walkDepth > 0) {
        m_entry->GetElement() = nullptr;
        ++g_book->cleared;
    } else {
        g_book->list.Remove(m_entry);
    }
    m_entry = nullptr;
    if (--g_book->live == 0)
        RemoveMainLoopCallback(&DispatchEvents);
    DropBookIfUnused();
}

int CxEventListener::OnEvent(PimChannelId, CxEvent*)
{
    return 0;
}

size_t CxEventListener::ChannelSlot(PimChannelId channel) const
{
    size_t low = 0;
    size_t high = m_channelCount;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (m_channels[middle] < channel)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int CxEventListener::Listen(PimChannelId channel)
{
    if (channel == 0)
        return ReportError(PIM_ERR_BAD_ARG,
                           "CxEventListener::Listen(nChannelID) - nChannelID is not a valid event channel");
    const size_t slot = ChannelSlot(channel);
    if (slot < m_channelCount && m_channels[slot] == channel)
        return PIM_OK;
    if (m_channelCount == m_channelCapacity) {
        const size_t capacity = m_channelCapacity ? m_channelCapacity * 2 : 4;
        if (capacity > SIZE_MAX / 2 / sizeof(PimChannelId))
            return PIM_ERR_OUT_OF_MEMORY;
        auto* channels = static_cast<PimChannelId*>(PIM_ALLOC(capacity * sizeof(PimChannelId)));
        if (!channels)
            return PIM_ERR_OUT_OF_MEMORY;
        if (m_channelCount)
            std::memcpy(channels, m_channels, m_channelCount * sizeof(PimChannelId));
        Free(m_channels);
        m_channels = channels;
        m_channelCapacity = capacity;
    }
    std::memmove(m_channels + slot + 1, m_channels + slot, (m_channelCount - slot) * sizeof(PimChannelId));
    m_channels[slot] = channel;
    ++m_channelCount;
    return PIM_OK;
}

bool CxEventListener::StopListening(PimChannelId channel)
{
    const size_t slot = ChannelSlot(channel);
    if (slot == m_channelCount || m_channels[slot] != channel)
        return false;
    --m_channelCount;
    std::memmove(m_channels + slot, m_channels + slot + 1, (m_channelCount - slot) * sizeof(PimChannelId));
    return true;
}

bool CxEventListener::IsListening(PimChannelId channel) const
{
    const size_t slot = ChannelSlot(channel);
    return slot < m_channelCount && m_channels[slot] == channel;
}

size_t CxEventListener::GetListenerCount()
{
    return g_book ? g_book->live : 0;
}

void CxEventListener::UnregisterAll()
{
    if (!g_book)
        return;
    // Entries under a walk are only cleared, as when a listener is deleted.
    for (Node* node = g_book->list.GetFirst(); node; node = node->GetNext()) {
        CxEventListener* listener = node->GetElement();
        if (!listener)
            continue;
        listener->m_entry = nullptr;
        if (g_book->walkDepth > 0) {
            node->GetElement() = nullptr;
            ++g_book->cleared;
        }
    }
    if (g_book->walkDepth == 0) {
        g_book->list.Clear();
        g_book->cleared = 0;
    }
    if (g_book->live > 0)
        RemoveMainLoopCallback(&DispatchEvents);
    g_book->live = 0;
    DropBookIfUnused();
}

CxEventListener::CWalk::CWalk()
{
    if (g_book) {
        ++g_book->walkDepth;
        m_counted = true;
    }
}

CxEventListener::CWalk::~CWalk()
{
    if (!m_counted || !g_book || --g_book->walkDepth > 0)
        return;
    SweepCleared();
    DropBookIfUnused();
}

CxEventListener* CxEventListener::CWalk::Next()
{
    // A walk that began without a book has nothing to visit; one that began
    // with it keeps it alive, so its node stays valid.
    if (!m_counted)
        return nullptr;
    do {
        m_node = m_started ? (m_node ? m_node->GetNext() : nullptr) : g_book->list.GetFirst();
        m_started = true;
    } while (m_node && !m_node->GetElement());
    return m_node ? m_node->GetElement() : nullptr;
}
