#pragma once
// An event made only when it starts: a "Dynamic" line of a sequence file.
// Its text is interpolated then, so variables are read at each run of the
// sequence (a room's ROOMNAME, the pig pen's "action"), and a random choice
// among files is drawn anew each time. Every other operation goes to the
// event it made; without one (not started yet, or nothing could be made)
// it counts as done and not started. OnDone passes on, then deletes it.
//
// The interpolator and the extra creator must outlive the event. The event
// keeps the lineage of the file being loaded when it was made, so that a
// file it loads counts as nested in that file.

#include "DAX/sequences/DaxSequenceLineage.h"
#include "PIM/app/CxEvent.h"
#include "PIM/core/CxString.h"

class CxInterpolator;

class CxDynamicEvent : public CxEvent
{
public:
    CxDynamicEvent(const char* text, const CxInterpolator* interpolator, CxEventCreator* extra,
                   uint32_t flags = 0);
    ~CxDynamicEvent() override;

    // Deletes the event made by the last start.
    void Reset() override;
    // Deletes any earlier event, makes it from the text and starts it.
    void Start() override;
    bool IsStarted() const override;
    void Stop() override;
    bool IsDone() const override;
    void Pause() override;
    void Resume() override;
    bool IsPaused() const override;
    void OnDone() override;

    const char* GetText() const { return m_text.GetText(); }
    // The event of the running start, or null.
    CxEvent* GetInner() const { return m_inner; }

private:
    void DeleteInner();

    CxString m_text;
    const CxInterpolator* m_interpolator;
    CxEventCreator* m_extra;
    DaxSequenceLineage m_lineage;
    CxEvent* m_inner = nullptr;
};
