#pragma once
// Trace output: lines that scripts and the engine write for developers. Each
// line goes to every installed listener (the command console, tests) and to
// standard output.

#include "PIM/core/PimDefs.h"

// Longest formatted trace line, terminator included.
constexpr size_t PIM_TRACE_LINE_SIZE = 256;

using PimTraceListener = void (*)(void* context, const char* text);

void Trace(const char* format, ...) PIM_PRINTF(1, 2);
// Writes `text` as it stands: texts from data and scripts are never formats.
void TraceText(const char* text);

// A listener is a (function, context) pair; adding one twice does nothing.
// Listeners may be added or removed from inside a listener.
void AddTraceListener(PimTraceListener listener, void* context);
void RemoveTraceListener(PimTraceListener listener, void* context);

// Standard output is on at start; tests turn it off to keep their logs short.
void SetTraceToStdout(bool on);
bool GetTraceToStdout();

// Removes every listener and turns standard output back on.
void ResetTrace();
