#pragma once
// "system.Notify(code)": a notice that carries a number to the listeners of
// its channel (a room learns that its sequence has come to a certain point).
// Done at once, as every CInfoEvent is.

#include "PIM/app/CInfoEvent.h"

class CNotifyEvent : public CInfoEvent
{
public:
    explicit CNotifyEvent(int code, uint32_t flags = 0) : CInfoEvent(flags), m_code(code) {}
    ~CNotifyEvent() override = default;

    int GetCode() const { return m_code; }

private:
    int m_code;
};
