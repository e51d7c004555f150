#pragma once
// What a call-back timer calls when it fires. Rooms are the usual listeners;
// a listener may kill, delete or create timers from inside OnTimer, the one
// that is calling included.

class CxTimerCallBack;

class CxTimerListener
{
public:
    virtual void OnTimer(CxTimerCallBack* timer) = 0;
    virtual ~CxTimerListener() = default;
};
