#pragma once
// A line of Lua run in its place in a sequence: starting the event runs the
// text through the game layer's Lua engine (CDaxServices::RunScript; errors
// are traced there), and it is done at once.

#include "PIM/app/CxEvent.h"
#include "PIM/core/CxString.h"

class CxLuaEvent : public CxEvent
{
public:
    explicit CxLuaEvent(const char* text, uint32_t flags = 0);
    ~CxLuaEvent() override = default;

    void Reset() override;
    // Marks the event started and done before the text runs: the text may
    // delete the event (flush its channel, leave its room).
    void Start() override;
    bool IsDone() const override { return m_done; }
    void Pause() override;
    void Resume() override;

    const char* GetText() const { return m_text.GetText(); }

private:
    CxString m_text;
    bool m_done = false;
};
