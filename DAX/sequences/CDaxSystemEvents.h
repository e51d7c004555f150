#pragma once
// The creator of the "system" event category: the event kinds every data
// file and script may queue, by name (compared without regard to case):
//
//   PlaySound, PlayThisSound, StartSound, StartThisSound,
//   PlaySoundIfChannelEmpty, StartSoundIfChannelEmpty
//                      (audio channel, file, ...)  CSoundEvent
//   Sleep              (ms)                        CTimerEvent; 0 never ends
//   SleepRandomRange   (min ms, max ms)            CTimerEvent of a random
//                                                  duration in the range
//   Sequence           (file, ...)                 CxEventSequenceFile of one
//                                                  file chosen at random,
//                                                  loaded with the global
//                                                  interpolator
//   Notify             (code)                      CNotifyEvent
//   WaitForChannel     (channel id)                CWaitForChannelEvent
//   PlayMovie          (file, x, y, modal, transparent [, skippable])
//                                                  CMovieEvent
//   any other name     (anything)                  CCommandEvent for the
//                      system command handler (CDaxServices), run when it starts
//
// Wrong arguments make no event (and a message says why). The events are
// made with kDeleteWhenDone; a sequence that takes one makes it its own.
//
// The application owns one and registers it (Register) for as long as it
// runs; it also answers only its own category when asked as an extra creator.

#include "PIM/app/CxEvent.h"

constexpr const char* DAX_SYSTEM_CATEGORY = "system";

class CDaxSystemEvents : public CxEventCreator
{
public:
    CDaxSystemEvents() = default;
    // Unregisters, while it still owns the category.
    ~CDaxSystemEvents() override;
    CDaxSystemEvents(const CDaxSystemEvents&) = delete;
    CDaxSystemEvents& operator=(const CDaxSystemEvents&) = delete;

    // The "system" category is this creator's (DaxRegisterCategory).
    int Register();
    void Unregister();

    CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) override;

    // The kinds with a C++ face of their own, for whoever makes them by hand.
    static CxEvent* CreateSleep(const CxEventArgs& args);
    static CxEvent* CreateSleepRandomRange(const CxEventArgs& args);
    static CxEvent* CreateSequence(const CxEventArgs& args);
    static CxEvent* CreateNotify(const CxEventArgs& args);
};
