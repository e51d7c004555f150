#pragma once
// A file opened through the file layer, reporting its failures through the
// error handler with the file's name.

#include "PIM/core/CxError.h"
#include "PIM/core/CxObject.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/PimFileLayer.h"

constexpr size_t PIM_FILE_NAME_SIZE = 256;

class CxFile : public CxObject, public CxError
{
public:
    CxFile() = default;
    ~CxFile() override;
    CxFile(const CxFile&) = delete;
    CxFile& operator=(const CxFile&) = delete;

    // With CBF_CREATE and no such file, Create instead. Conflicting flags
    // (CBF_READONLY with CBF_WRITE or CBF_CREATE) are refused with 16.
    // Failure: error 2 "Could not open <name>".
    int Open(const char* name, uint32_t flags = CBF_DEFAULT);
    // Opens with CBF_CREATE added; failure: error 2 "Unable to create <name>".
    int Create(const char* name, uint32_t flags = CBF_BINARY);
    int Close();
    bool IsOpen() const { return m_handle != nullptr; }

    // Only while the file has no error; 0 bytes does nothing. A failing read
    // is error 5 "Unable to read <n> bytes from <name>". Reading past the end
    // is no failure: `countRead` says how much came.
    int Read(void* buffer, size_t size, size_t* countRead = nullptr);
    // Ignored when opened read only; failure: error 6 "Unable to write ...".
    int Write(const void* data, size_t size);
    int Seek(int64_t offset, int origin);
    int64_t Tell();
    int64_t Size();

    const char* GetName() const { return m_name; }
    uint32_t GetFlags() const { return m_flags; }

private:
    char m_name[PIM_FILE_NAME_SIZE] = {};
    uint32_t m_flags = CBF_DEFAULT;
    CxFsHandle* m_handle = nullptr;
};

// Reads a whole file into `buffer` (an empty file gives an empty buffer).
// Failure to open: error "LoadFile() failed" with the open code.
int LoadFile(const char* name, CxBuffer& buffer);
