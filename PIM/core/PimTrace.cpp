#include "PIM/core/PimTrace.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

struct Listener
{
    PimTraceListener fn;
    void* context;
    bool live;
};

struct TraceState
{
    std::recursive_mutex lock; // trace may come from a worker thread
    std::vector<Listener> listeners;
    int walking = 0; // nesting depth of listener walks
    bool toStdout = true;
};

TraceState& State()
{
    static TraceState state;
    return state;
}

// Entries removed during a walk are only marked; the outermost walk sweeps them.
void SweepDead(TraceState& state)
{
    auto& list = state.listeners;
    list.erase(std::remove_if(list.begin(), list.end(), [](const Listener& l) { return !l.live; }),
               list.end());
}

} // namespace

void TraceText(const char* text)
{
    if (!text)
        return;
    TraceState& state = State();
    std::lock_guard<std::recursive_mutex> hold(state.lock);
    ++state.walking;
    // Index loop: a listener may append to the list while we walk it.
    for (size_t i = 0; i < state.listeners.size(); ++i) {
        Listener l = state.listeners[i];
        if (l.live)
            l.fn(l.context, text);
    }
    if (--state.walking == 0)
        SweepDead(state);
    if (state.toStdout) {
        std::fputs(text, stdout);
        std::fflush(stdout);
    }
}

void Trace(const char* format, ...)
{
    if (!format)
        return;
    char line[PIM_TRACE_LINE_SIZE];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    TraceText(line);
}

void AddTraceListener(PimTraceListener listener, void* context)
{
    if (!listener)
        return;
    TraceState& state = State();
    std::lock_guard<std::recursive_mutex> hold(state.lock);
    for (Listener& l : state.listeners) {
        if (l.fn == listener && l.context == context) {
            l.live = true;
            return;
        }
    }
    state.listeners.push_back({listener, context, true});
}

void RemoveTraceListener(PimTraceListener listener, void* context)
{
    TraceState& state = State();
    std::lock_guard<std::recursive_mutex> hold(state.lock);
    for (Listener& l : state.listeners)
        if (l.fn == listener && l.context == context)
            l.live = false;
    if (state.walking == 0)
        SweepDead(state);
}

void SetTraceToStdout(bool on)
{
    State().toStdout = on;
}

bool GetTraceToStdout()
{
    return State().toStdout;
}

void ResetTrace()
{
    TraceState& state = State();
    std::lock_guard<std::recursive_mutex> hold(state.lock);
    for (Listener& l : state.listeners)
        l.live = false;
    if (state.walking == 0)
        SweepDead(state);
    state.toStdout = true;
}
