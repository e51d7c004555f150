#pragma once
// An event that is done as soon as it exists: started, announced and taken off
// its channel in one frame. It carries a notice to the listeners, who tell
// notices apart by the object they posted (or by a kind derived from this).

#include "PIM/app/CxEvent.h"

class CInfoEvent : public CxEvent
{
public:
    explicit CInfoEvent(uint32_t flags = 0) : CxEvent(flags) {}
    ~CInfoEvent() override = default;

    void Start() override;
    bool IsDone() const override;
    void Pause() override;
    void Resume() override;
};
