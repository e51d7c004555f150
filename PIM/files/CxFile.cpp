#include "PIM/files/CxFile.h"

#include "PIM/core/Pimstr.h"

CxFile::~CxFile()
{
    Close();
}

int CxFile::Open(const char* name, uint32_t flags)
{
    Close();
    ClearError();
    if (!name || !*name)
        return SetError(PIM_ERR_BAD_ARG, "No file name given");
    if ((flags & CBF_READONLY) && (flags & (CBF_WRITE | CBF_CREATE)))
        return SetError(PIM_ERR_BAD_ARG, "Conflicting open flags 0x%x for %s", flags, name);
    if ((flags & CBF_CREATE) && !FsExists(name))
        return Create(name, flags);
    PimStrCopy(m_name, name, sizeof m_name);
    m_flags = flags;
    int code = PIM_OK;
    m_handle = FsOpen(name, flags, &code);
    if (!m_handle)
        return SetError(PIM_ERR_OPEN, "Could not open %s", m_name);
    return PIM_OK;
}

int CxFile::Create(const char* name, uint32_t flags)
{
    Close();
    ClearError();
    if (!name || !*name)
        return SetError(PIM_ERR_BAD_ARG, "No file name given");
    flags = (flags & ~static_cast<uint32_t>(CBF_READONLY)) | CBF_CREATE;
    PimStrCopy(m_name, name, sizeof m_name);
    m_flags = flags;
    m_handle = FsOpen(name, flags);
    if (!m_handle)
        return SetError(PIM_ERR_OPEN, "Unable to create %s", m_name);
    return PIM_OK;
}

int CxFile::Close()
{
    if (!m_handle)
        return PIM_OK;
    int code = FsClose(m_handle);
    m_handle = nullptr;
    return code;
}

int CxFile::Read(void* buffer, size_t size, size_t* countRead)
{
    if (countRead)
        *countRead = 0;
    if (m_error != PIM_OK)
        return m_error;
    if (size == 0)
        return PIM_OK;
    size_t got = 0;
    int code = FsRead(m_handle, buffer, size, &got);
    if (countRead)
        *countRead = got;
    if (code != PIM_OK)
        return SetError(PIM_ERR_READ, "Unable to read %zu bytes from %s", size, m_name);
    return PIM_OK;
}

int CxFile::Write(const void* data, size_t size)
{
    if (m_flags & CBF_READONLY)
        return PIM_OK;
    if (FsWrite(m_handle, data, size) != PIM_OK)
        return SetError(PIM_ERR_WRITE, "Unable to write %zu bytes to %s", size, m_name);
    return PIM_OK;
}

int CxFile::Seek(int64_t offset, int origin)
{
    return FsSeek(m_handle, offset, origin);
}

int64_t CxFile::Tell()
{
    return FsTell(m_handle);
}

int64_t CxFile::Size()
{
    return FsSize(m_handle);
}

int LoadFile(const char* name, CxBuffer& buffer)
{
    buffer.Release();
    int code = PIM_OK;
    CxFsHandle* handle = FsOpen(name, CBF_BINARY | CBF_READONLY, &code);
    if (!handle)
        return ReportError(code ? code : PIM_ERR_OPEN, "LoadFile() failed: %s", name ? name : "");
    int64_t size = FsSize(handle);
    int result = PIM_OK;
    if (size < 0 || size > CxBuffer::kMaxSize)
        result = ReportError(PIM_ERR_FILE_TYPE, "LoadFile(): %s is too large", name);
    else if (!buffer.Resize(static_cast<size_t>(size)))
        result = PIM_ERR_OUT_OF_MEMORY;
    else if (size > 0) {
        size_t got = 0;
        if (FsRead(handle, buffer.GetData(), static_cast<size_t>(size), &got) != PIM_OK ||
            got != static_cast<size_t>(size))
            result = ReportError(PIM_ERR_READ, "Unable to read %lld bytes from %s", static_cast<long long>(size), name);
    }
    FsClose(handle);
    if (result != PIM_OK)
        buffer.Release();
    return result;
}
