#pragma once

#include <cstdint>

// An abstract byte stream: the patch format, host chunks and pictures are read
// and written through it. Counts and positions are signed 32-bit; a negative
// or short count means the operation did not (fully) happen.
class CStream
{
public:
    enum SeekOrigin
    {
        FromStart = 0,
        FromCurrent = 1,
        FromEnd = 2
    };

    CStream() = default;
    virtual ~CStream() = default;

    virtual void SetSize(int32_t size);
    // Copies up to n bytes into buffer; returns the count read.
    virtual int32_t Read(void* buffer, int32_t n);
    // Copies n bytes from buffer; returns the count written.
    virtual int32_t Write(const void* buffer, int32_t n);
    // Moves the position; origin is a SeekOrigin. Returns the new position.
    virtual int32_t Seek(int32_t offset, int32_t origin);
    virtual int32_t Tell();
    // The end position; the current position is kept.
    virtual int32_t Size();
    // Fills the 32-bit little-endian field at byte position at with the count
    // of bytes between the end of that field and the current position, then
    // returns to the current position.
    virtual void PatchLength(int32_t at);
    virtual bool AtEnd();

    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;

    int32_t length = 0;
};
