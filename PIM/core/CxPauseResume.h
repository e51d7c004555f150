#pragma once
// What can be paused and resumed as a whole: the application (when it loses
// the focus), rooms (under a dialog), a room's set of timers. Either call may
// come without the other having come first, so both do nothing by default and
// implementations count or guard as they need.

class CxPauseResume
{
public:
    virtual void Pause() {}
    virtual void Resume() {}
    virtual ~CxPauseResume() = default;
};
