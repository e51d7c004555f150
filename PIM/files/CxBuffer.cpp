#include "PIM/files/CxBuffer.h"

#include "PIM/core/CxMemory.h"

CxBuffer::~CxBuffer()
{
    Release();
}

CxBuffer::CxBuffer(CxBuffer&& other) noexcept : CxObject(other), m_data(other.m_data), m_size(other.m_size)
{
    other.m_data = nullptr;
    other.m_size = 0;
}

CxBuffer& CxBuffer::operator=(CxBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        m_data = other.m_data;
        m_size = other.m_size;
        other.m_data = nullptr;
        other.m_size = 0;
    }
    return *this;
}

void CxBuffer::Release()
{
    if (OwnsData())
        Free(m_data);
    m_data = nullptr;
    m_size = 0;
}

bool CxBuffer::Resize(size_t size)
{
    Release();
    // The top bit of the size word marks foreign memory: sizes reaching it
    // cannot be held.
    if (size > kMaxSize)
        return false;
    if (size == 0)
        return true;
    m_data = static_cast<uint8_t*>(Allocate(size, __FILE__, __LINE__, true));
    if (!m_data)
        return false;
    m_size = static_cast<uint32_t>(size);
    return true;
}

void CxBuffer::Attach(void* data, size_t size)
{
    Release();
    if (!data || size > kMaxSize)
        return;
    m_data = static_cast<uint8_t*>(data);
    m_size = static_cast<uint32_t>(size) | kNotOwned;
}
