#pragma once
// Error codes, the one global error handler and the error count.
//
// Operations return their object's error code, 0 meaning success. A non-zero
// code given to SetError/ReportError is counted and passed with its formatted
// message to the installed handler (the error box once the display exists);
// a report made while another is being handled is stored but neither counted
// nor passed on, so a failing handler cannot recurse.

#include "PIM/core/PimDefs.h"

#include <cstdarg>

enum : int
{
    PIM_OK = 0,
    PIM_ERR_OUT_OF_MEMORY = 1,
    PIM_ERR_OPEN = 2,
    PIM_ERR_CLOSE = 3,
    PIM_ERR_CREATE = 4,
    PIM_ERR_READ = 5,
    PIM_ERR_WRITE = 6,
    PIM_ERR_SEEK = 7,
    PIM_ERR_DELETE = 8,
    PIM_ERR_NOT_FOUND = 9,
    PIM_ERR_FILE_TYPE = 10,
    PIM_ERR_PATH = 11,
    PIM_ERR_DISK = 12,
    PIM_ERR_UNKNOWN = 13,
    PIM_ERR_CRC = 14,
    PIM_ERR_DISK_FULL = 15,
    PIM_ERR_BAD_ARG = 16,
    PIM_ERR_ASSERT = 17,
    PIM_ERR_PRINTER = 19,
    PIM_ERR_DEVICE = 20,
    PIM_ERR_DEVICE_NOT_RESET = 21,
    PIM_ERR_SCRIPT = 22,
    PIM_ERR_COMMUNICATION = 23,
    PIM_ERR_NO_NETWORK_PLAYERS = 24,
    PIM_ERR_NO_3D_SOUND = 25,
    PIM_ERR_NO_NETWORK_SESSION = 26,
};

// Longest formatted error message, terminator included.
constexpr size_t PIM_ERROR_MESSAGE_SIZE = 512;

// The handler sees every counted report. `context` is the value given with it.
using PimErrorHandler = void (*)(void* context, int code, const char* message);

struct ST_ERROR_HANDLER
{
    PimErrorHandler handler = nullptr;
    void* context = nullptr;
};

class CxError
{
public:
    CxError() = default;

    int GetError() const { return m_error; }
    void ClearError() { m_error = PIM_OK; }

    // Stores the code; a non-zero code is reported. Returns the code.
    int SetError(int code, const char* format = nullptr, ...) PIM_PRINTF(3, 4);
    int SetErrorV(int code, const char* format, va_list args) PIM_PRINTF(3, 0);

protected:
    int m_error = PIM_OK;
};

// The free forms. SetError stores the code in `object` (which may be null).
int SetError(CxError* object, int code, const char* format, ...) PIM_PRINTF(3, 4);
int SetErrorV(CxError* object, int code, const char* format, va_list args) PIM_PRINTF(3, 0);
// ReportError with code 0 does nothing.
int ReportError(int code, const char* format, ...) PIM_PRINTF(2, 3);
int ReportErrorV(int code, const char* format, va_list args) PIM_PRINTF(2, 0);

const char* ErrorText(int code);

// Installs a handler and returns the one it replaces.
ST_ERROR_HANDLER SetErrorHandler(ST_ERROR_HANDLER handler);
ST_ERROR_HANDLER GetErrorHandler();

int GetErrorCount();
// Sets the count of reported errors (a game that answers one kind of error
// itself takes it back off the count, so it neither ends the run nor
// suppresses the credits). Negative counts are 0.
void SetErrorCount(int count);
int GetLastReportedError();
const char* GetLastErrorMessage();
bool IsReportingError();

// Back to the state at start: no handler, no count, no last code.
void ResetErrorState();

// While one exists, reports are traced instead of handed to the handler, and
// they are taken off the count when it goes: for failures the caller
// answers itself and must not count as the game's errors (a player save that
// will be tried again at the next write). The last code and message are
// kept. Scopes nest.
class CxQuietErrors
{
public:
    CxQuietErrors();
    ~CxQuietErrors();
    CxQuietErrors(const CxQuietErrors&) = delete;
    CxQuietErrors& operator=(const CxQuietErrors&) = delete;
    // Reports made since this scope began.
    int GetCount() const;

private:
    ST_ERROR_HANDLER m_previous;
    int m_countAtStart;
};
