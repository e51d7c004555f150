#pragma once
// Test doubles for the engine's global hooks: a recording error handler and a
// recording trace listener, each installed for the life of the object.

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"

#include <string>
#include <vector>

struct RecordedError
{
    int code;
    std::string message;
};

class ErrorRecorder
{
public:
    ErrorRecorder() { m_previous = SetErrorHandler({&ErrorRecorder::OnError, this}); }
    ~ErrorRecorder() { SetErrorHandler(m_previous); }
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    std::vector<RecordedError> errors;
    // Called from inside the handler, after the error is recorded.
    void (*onError)(ErrorRecorder& self, int code) = nullptr;

private:
    static void OnError(void* context, int code, const char* message)
    {
        auto* self = static_cast<ErrorRecorder*>(context);
        self->errors.push_back({code, message ? message : ""});
        if (self->onError)
            self->onError(*self, code);
    }
    ST_ERROR_HANDLER m_previous;
};

class TraceRecorder
{
public:
    TraceRecorder() { AddTraceListener(&TraceRecorder::OnTrace, this); }
    ~TraceRecorder() { RemoveTraceListener(&TraceRecorder::OnTrace, this); }
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    std::vector<std::string> lines;

private:
    static void OnTrace(void* context, const char* text) { static_cast<TraceRecorder*>(context)->lines.push_back(text); }
};
