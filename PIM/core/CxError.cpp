#include "PIM/core/CxError.h"

#include "PIM/core/PimTrace.h"

#include <cstdio>
#include <cstring>

namespace {

struct ErrorState
{
    ST_ERROR_HANDLER handler;
    int count = 0;
    int lastCode = PIM_OK;
    bool reporting = false;
    char lastMessage[PIM_ERROR_MESSAGE_SIZE] = {};
};

ErrorState& State()
{
    static ErrorState state;
    return state;
}

// Holds the re-entrancy guard for the length of one report, and lets go of it
// however the handler leaves.
class ReportGuard
{
public:
    explicit ReportGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ReportGuard() { m_flag = false; }
    ReportGuard(const ReportGuard&) = delete;
    ReportGuard& operator=(const ReportGuard&) = delete;

private:
    bool& m_flag;
};

const char* const kErrorTexts[] = {
    "No Error",
    "Out of memory",
    "Error opening file",
    "Error closing file",
    "Error creating file",
    "Error reading file",
    "Error writing file",
    "Error seeking file",
    "Error deleting file",
    "Could not find file",
    "Invalid file type",
    "Invalid Path",
    "Disk error",
    "Unknown Error",
    "CRC failure",
    "Not enough disk space",
    "Invalid arguement",
    "Assertion Failure",
    nullptr, // 18 is not used
    "Printer Error",
    "DirectX Error",
    "Direct3D Device not reset",
    "Scripting Error",
    "Communication Error",
    "No Network Players Found",
    "No 3D Sound providers Found",
    "No Network Session Found",
};

const char kUnknownText[] = "Unknown user defined error";

} // namespace

const char* ErrorText(int code)
{
    constexpr int count = static_cast<int>(sizeof(kErrorTexts) / sizeof(kErrorTexts[0]));
    if (code < 0 || code >= count || !kErrorTexts[code])
        return kUnknownText;
    return kErrorTexts[code];
}

int SetErrorV(CxError* object, int code, const char* format, va_list args)
{
    if (object)
        object->SetErrorV(code, format, args);
    else
        ReportErrorV(code, format, args);
    return code;
}

int SetError(CxError* object, int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    SetErrorV(object, code, format, args);
    va_end(args);
    return code;
}

int CxError::SetErrorV(int code, const char* format, va_list args)
{
    m_error = code;
    ReportErrorV(code, format, args);
    return code;
}

int CxError::SetError(int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    SetErrorV(code, format, args);
    va_end(args);
    return code;
}

int ReportErrorV(int code, const char* format, va_list args)
{
    ErrorState& state = State();
    if (code == PIM_OK || state.reporting)
        return code;

    ReportGuard guard(state.reporting);
    state.lastCode = code;
    ++state.count;

    char message[PIM_ERROR_MESSAGE_SIZE];
    message[0] = '\0';
    if (format)
        std::vsnprintf(message, sizeof message, format, args);
    std::memcpy(state.lastMessage, message, sizeof message);

    if (state.handler.handler)
        state.handler.handler(state.handler.context, code, message);
    else
        Trace("Error %d (%s): %s\n", code, ErrorText(code), message);
    return code;
}

int ReportError(int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    ReportErrorV(code, format, args);
    va_end(args);
    return code;
}

ST_ERROR_HANDLER SetErrorHandler(ST_ERROR_HANDLER handler)
{
    ST_ERROR_HANDLER previous = State().handler;
    State().handler = handler;
    return previous;
}

ST_ERROR_HANDLER GetErrorHandler()
{
    return State().handler;
}

int GetErrorCount()
{
    return State().count;
}

int GetLastReportedError()
{
    return State().lastCode;
}

const char* GetLastErrorMessage()
{
    return State().lastMessage;
}

bool IsReportingError()
{
    return State().reporting;
}

void ResetErrorState()
{
    State() = ErrorState{};
}

void SetErrorCount(int count)
{
    State().count = count < 0 ? 0 : count;
}

namespace {

void TraceQuietly(void*, int code, const char* message)
{
    Trace("Error %d (%s), not counted: %s\n", code, ErrorText(code), message);
}

} // namespace

CxQuietErrors::CxQuietErrors() : m_previous(State().handler), m_countAtStart(State().count)
{
    State().handler = ST_ERROR_HANDLER{&TraceQuietly, nullptr};
}

CxQuietErrors::~CxQuietErrors()
{
    State().handler = m_previous;
    State().count = m_countAtStart;
}

int CxQuietErrors::GetCount() const
{
    return State().count - m_countAtStart;
}
