#pragma once

#include "io/CStream.h"

#include <cstdint>

// A growable stream in memory. The buffer's capacity is always a multiple of
// 8192 bytes so that piecewise writers reallocate rarely.
class CMemoryStream : public CStream
{
public:
    static constexpr int32_t kGrowthBytes = 8192;

    CMemoryStream() = default;
    ~CMemoryStream() override;

    void SetSize(int32_t size) override;
    int32_t Read(void* buffer, int32_t n) override;
    int32_t Write(const void* buffer, int32_t n) override;
    int32_t Seek(int32_t offset, int32_t origin) override;
    int32_t Tell() override;
    int32_t Size() override;

    // The stream's bytes (length of them); null while nothing was written.
    const uint8_t* Data() const { return data; }
    uint8_t* Data() { return data; }
    int32_t Capacity() const { return capacity; }

private:
    // Makes the capacity hold requested bytes (rounded up to the growth step);
    // 0 or less releases the buffer. False when the memory is not available.
    bool Reserve(int32_t requested);

    uint8_t* data = nullptr;
    int32_t position = 0;
    int32_t capacity = 0;
};
