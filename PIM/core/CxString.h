#pragma once
// The engine's string: an owned, zero-terminated UTF-8 byte buffer with a
// 16-bit length and a 16-bit capacity word. The low 15 bits of the capacity
// word count the bytes reserved (terminator included); the top bit marks
// storage the string does not own and must never free.
//
// Texts are limited to 32,766 bytes: longer results are cut at that length (on
// a UTF-8 character boundary), so the capacity word can never wrap. Every
// operation tolerates its own text as an argument. When memory runs out the
// string stays empty; GetText still returns a valid empty text.

#include "PIM/core/CxObject.h"

#include <cstdarg>

class CxString : public CxObject
{
public:
    static constexpr uint16_t kNotOwned = 0x8000;
    static constexpr uint16_t kCapacityMask = 0x7FFF;
    static constexpr int kMaxLength = 32766;
    static constexpr int kMaxCapacity = kMaxLength + 1;
    static constexpr size_t kFormatBufferSize = 2048;

    CxString() = default;
    CxString(const char* text);
    CxString(const CxString& other);
    CxString(CxString&& other) noexcept;
    // `count` copies of `c`.
    CxString(char c, int count);
    ~CxString() override;

    CxString& operator=(const char* text);
    CxString& operator=(const CxString& other);
    CxString& operator=(CxString&& other) noexcept;

    // Lets the string use a buffer it does not own (and will never free) of
    // `size` bytes; the buffer's current text, if any, becomes the contents.
    void Attach(char* buffer, int size);

    // Frees owned storage and reserves n + 1 zeroed bytes; length 0. False
    // (and no storage) when the memory could not be had.
    bool Reserve(int n);

    int Length() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    int Capacity() const { return m_capacity & kCapacityMask; }
    bool HasStorage() const { return m_text != nullptr; }
    bool OwnsStorage() const { return m_text && !(m_capacity & kNotOwned); }

    // Never null: a string without storage reserves an empty text first (or,
    // when even that fails, returns a shared empty text it does not own).
    const char* GetText();
    // The const form cannot reserve; it returns "" for a string without storage.
    const char* GetText() const;

    // Assignment of a piece of text; `length` bytes, no terminator needed.
    void Assign(const char* text, int length);

    void Append(const char* text);
    void Append(const char* text, int length);
    void Append(const CxString& other);
    void Append(char c);
    CxString& operator+=(const char* text)
    {
        Append(text);
        return *this;
    }
    CxString& operator+=(const CxString& other)
    {
        Append(other);
        return *this;
    }
    CxString& operator+=(char c)
    {
        Append(c);
        return *this;
    }

    // printf-style formatting through a 2048-byte work buffer; the result
    // replaces the contents.
    void Format(const char* format, ...) PIM_PRINTF(2, 3);
    void FormatV(const char* format, va_list args) PIM_PRINTF(2, 0);
    static CxString Formatted(const char* format, ...) PIM_PRINTF(1, 2);

    // Searches return a byte index, or -1 when nothing is found or when the
    // start is outside the text.
    int Find(char c, int start = 0) const;
    int FindOneOf(const char* set, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int FindNoCase(const char* text, int start = 0) const;
    int ReverseFind(char c) const;

    // Pieces, clipped to the text.
    CxString Left(int count) const;
    CxString Mid(int start, int count) const;
    CxString Mid(int start) const;
    // Cuts the string at `position` (nothing happens past the end).
    void Truncate(int position);

    // Removes `count` bytes at `position`; a negative count, or one that runs
    // past the end, removes everything from the position on. Returns the count
    // removed, or -1 when the position is outside the string.
    int Delete(int position, int count);
    int DeleteFirst(int count) { return Delete(0, count); }
    int DeleteLast(int count) { return Delete(m_length - count, count); }

    // Edits; each returns the number of occurrences changed. Replacing a
    // character by '\0' ends the string at its first occurrence. Replace of a
    // text returns -1 (and changes nothing) when the result would be too long
    // or could not be allocated.
    int Replace(char from, char to);
    int Remove(char c);
    int Replace(const char* find, const char* with);

    // -1, 0 or 1. A string without storage is less than anything except
    // another string without storage (a null text counts as one).
    int Compare(const char* text) const;
    int Compare(const CxString& other) const;
    int CompareNoCase(const char* text) const;
    int CompareNoCase(const CxString& other) const;

    char LastChar() const { return m_length ? m_text[m_length - 1] : '\0'; }
    char CharAt(int position) const
    {
        return (position >= 0 && position < m_length) ? m_text[position] : '\0';
    }
    char operator[](int position) const { return CharAt(position); }

    bool operator==(const CxString& other) const { return Compare(other) == 0; }
    bool operator==(const char* text) const { return Compare(text) == 0; }
    bool operator<(const CxString& other) const { return Compare(other) < 0; }

private:
    const char* RawText() const { return m_text; }
    bool IsSharedEmpty() const;
    void Release();
    // Moves the text into a new owned buffer of `capacity` bytes, keeping its
    // first `keep` bytes. The old buffer, when owned, comes back in `released`
    // for the caller to free once it has finished reading from it.
    bool Regrow(int capacity, int keep, char*& released);
    void SetLength(int length);
    static int ClampLength(const char* text, int length);

    char* m_text = nullptr;
    uint16_t m_length = 0;
    uint16_t m_capacity = 0;
};

CxString operator+(const CxString& a, const CxString& b);
CxString operator+(const CxString& a, const char* b);
CxString operator+(const char* a, const CxString& b);
