#pragma once
// A byte buffer for whole-file loads: a 31-bit size whose top bit marks
// memory the buffer does not own (and so never frees).

#include "PIM/core/CxObject.h"

class CxBuffer : public CxObject
{
public:
    static constexpr uint32_t kNotOwned = 0x80000000u;
    static constexpr uint32_t kMaxSize = 0x7FFFFFFFu;

    CxBuffer() = default;
    ~CxBuffer() override;
    CxBuffer(const CxBuffer&) = delete;
    CxBuffer& operator=(const CxBuffer&) = delete;
    CxBuffer(CxBuffer&& other) noexcept;
    CxBuffer& operator=(CxBuffer&& other) noexcept;

    // Frees what it owns and allocates `size` bytes (zeroed). False, leaving
    // the buffer empty, when the size is past 31 bits or memory ran out.
    bool Resize(size_t size);
    // Uses memory owned elsewhere (null or a size past 31 bits: empty).
    void Attach(void* data, size_t size);
    // Frees what it owns; empty afterwards.
    void Release();

    uint8_t* GetData() { return m_data; }
    const uint8_t* GetData() const { return m_data; }
    uint32_t GetSize() const { return m_size & kMaxSize; }
    bool IsEmpty() const { return GetSize() == 0; }
    bool OwnsData() const { return m_data && !(m_size & kNotOwned); }

private:
    uint8_t* m_data = nullptr;
    uint32_t m_size = 0;
};
