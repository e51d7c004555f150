#pragma once
// Event channels: first-in first-out queues of events that run in parallel
// with each other and strictly in sequence within themselves. Once a frame
// the dispatcher (a main-loop callback while any listener exists) looks at
// each active channel's front event: it starts it, and when the event says it
// is done, calls its OnDone, offers it to the listeners (CxEventListener.h),
// takes it off the queue and deletes or resets it. The next event of that
// channel starts in the next frame, or at once when the finished one had
// CxEvent::kChainNext.
//
// Every channel is either active (it may hold events) or idle (empty); a post
// to an idle channel moves it to the end of the active list, and channels
// found empty after a frame's walk go back to the end of the idle list. The
// walk takes a channel's successor only once it is done with the channel, so
// a channel an event woke up during the walk is still reached in that frame,
// while an event posted to a channel the walk has passed waits a frame.
//
// What code called from the dispatcher (an event's Start or OnDone, a
// listener's OnEvent, a flushed event's Stop) may do, and what it gets:
//   - post, flush, create and destroy channels, the one being walked
//     included: a destroyed channel is only marked dead and is freed once the
//     outermost walk or flush is over, so no walk ever stands on freed memory;
//   - delete listeners, itself included, or make new ones (see
//     CxEventListener.h for how a walk sees them);
//   - run whole frames (a modal dialog): the dispatch then runs inside itself.
//     A channel whose front event is in the middle of a call from an outer
//     dispatch is skipped by the inner ones, so that event is never started
//     or announced twice; every other channel runs as usual. Channels that
//     empty during such inner frames are moved to the idle list only when the
//     outermost walk ends.
//   - flush or destroy the channel of the very event being called: the
//     event's deletion then waits until that call has returned, so an event
//     can destroy its own room (and with it its channel) from its Start.
//     Deleting the event directly is allowed too; the dispatcher then never
//     touches it again.
// An event taken off its channel while being started or announced (by a
// flush, an Unpost, its deletion) is no longer the dispatcher's: it is not
// announced further and not deleted or reset by the dispatcher.
//
// Errors: an invalid channel id (0, never handed out, or destroyed) is
// refused with PIM_ERR_BAD_ARG and reported with the function's message;
// DestroyChannel ignores ids it does not know (but reports 0). Out of memory
// gives PIM_ERR_OUT_OF_MEMORY, reported by the allocator.
//
// Main thread only.

#include "PIM/app/CxEvent.h"

// A new empty channel on the idle list; 0 when memory ran out.
PimChannelId CreateChannel();

// Flushes the channel, then destroys it; its id is refused from then on
// (already during the flush, so Stop cannot post to it again).
int DestroyChannel(PimChannelId id);

// Takes every event off the channel, front first, without telling listeners:
// a running event is stopped, then deleted (kDeleteWhenDone) or reset. An
// event queued more than once goes at its first occurrence, with all of them.
int FlushChannel(PimChannelId id);

// True for an empty channel, and for any id that is not a channel.
bool IsChannelEmpty(PimChannelId id);
// Whether the front event is paused; false for an empty or unknown channel.
bool IsChannelPaused(PimChannelId id);
// Pause or resume the front event (nothing when the channel is empty).
int PauseChannel(PimChannelId id);
int ResumeChannel(PimChannelId id);

// Appends the event to the channel, which it then remembers. The same event
// may be queued several times on one channel (it runs each time and is
// deleted, with kDeleteWhenDone, only when its last occurrence leaves), but
// never on two channels at once: that is refused with PIM_ERR_BAD_ARG.
// Inside an event's own member functions CxEvent::Post hides this one: write
// ::Post(event, id) or event->Post(id) there.
int Post(CxEvent* event, PimChannelId id);

// One frame of the dispatcher: the main-loop callback that the first listener
// registers. Also callable directly (a modal loop, a benchmark).
void DispatchEvents();

// What the tests and tools look at.
bool IsChannelValid(PimChannelId id);
// Whether the channel is on the active list (false for unknown ids).
bool IsChannelActive(PimChannelId id);
size_t GetChannelEventCount(PimChannelId id);
size_t GetChannelCount();
size_t GetActiveChannelCount();

// Back to the state at start: every channel flushed and destroyed, every
// listener unregistered (the objects stay their owners'), every category
// definition removed. Ids already handed out stay refused. Meant for tests;
// from inside a dispatch it is safe, the frame then simply finds nothing.
void ResetEventSystem();

// For CxEvent only.
namespace PimEventInternal
{
void Unpost(CxEvent* event);
void EventDestroyed(CxEvent* event);
} // namespace PimEventInternal
