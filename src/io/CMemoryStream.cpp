#include "io/CMemoryStream.h"

#include <climits>
#include <cstring>
#include <new>

CMemoryStream::~CMemoryStream()
{
    delete[] data;
}

bool CMemoryStream::Reserve(int32_t requested)
{
    if (requested <= 0)
    {
        delete[] data;
        data = nullptr;
        capacity = 0;
        return true;
    }
    const int64_t rounded = (static_cast<int64_t>(requested) + kGrowthBytes - 1) / kGrowthBytes * kGrowthBytes;
    if (rounded > INT32_MAX)
        return false;
    const int32_t newCapacity = static_cast<int32_t>(rounded);
    if (newCapacity == capacity)
        return true;
    uint8_t* grown = new (std::nothrow) uint8_t[newCapacity];
    if (!grown)
        return false;
    const int32_t keep = length < newCapacity ? length : newCapacity;
    if (keep > 0)
        std::memcpy(grown, data, static_cast<size_t>(keep));
    delete[] data;
    data = grown;
    capacity = newCapacity;
    return true;
}

void CMemoryStream::SetSize(int32_t size)
{
    if (!Reserve(size))
        return;
    const int32_t newLength = size > 0 ? size : 0;
    // Bytes that become part of the stream without being written read as zero.
    if (newLength > length)
        std::memset(data + (length > 0 ? length : 0), 0, static_cast<size_t>(newLength - length));
    length = newLength;
    if (position > length)
        position = length;
}

int32_t CMemoryStream::Read(void* buffer, int32_t n)
{
    if (position < 0 || n < 0)
        return 0;
    const int32_t available = length - position;
    if (available <= 0)
        return available;
    const int32_t count = n < available ? n : available;
    if (count > 0)
        std::memcpy(buffer, data + position, static_cast<size_t>(count));
    position += count;
    return count;
}

int32_t CMemoryStream::Write(const void* buffer, int32_t n)
{
    if (position < 0 || n < 0)
        return 0;
    const int64_t end = static_cast<int64_t>(position) + n;
    if (end < 1 || end > INT32_MAX)
        return 0;
    if (end > length)
    {
        if (end > capacity && !Reserve(static_cast<int32_t>(end)))
            return 0;
        // A write after a seek past the end would otherwise expose stale memory.
        if (position > length)
            std::memset(data + length, 0, static_cast<size_t>(position - length));
        length = static_cast<int32_t>(end);
    }
    if (n > 0)
        std::memcpy(data + position, buffer, static_cast<size_t>(n));
    position = static_cast<int32_t>(end);
    return n;
}

int32_t CMemoryStream::Seek(int32_t offset, int32_t origin)
{
    int64_t base = 0;
    if (origin == FromCurrent)
        base = position;
    else if (origin == FromEnd)
        base = length;
    int64_t target = base + offset;
    if (target > INT32_MAX)
        target = INT32_MAX;
    if (target < INT32_MIN)
        target = INT32_MIN;
    position = static_cast<int32_t>(target);
    return position;
}

int32_t CMemoryStream::Tell()
{
    return position;
}

int32_t CMemoryStream::Size()
{
    return length;
}
