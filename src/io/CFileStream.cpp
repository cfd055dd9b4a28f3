#include "io/CFileStream.h"

#include <climits>

CFileStream::CFileStream(const char* path, int mode)
{
    const char* how = mode == ReadOnly ? "rb" : mode == Create ? "w+b" : nullptr;
    if (!path || !how)
        return;
    file = std::fopen(path, how);
    if (!file)
        return;
    if (std::fseek(file, 0, SEEK_END) == 0)
    {
        const long end = std::ftell(file);
        // Positions are 32-bit; a larger file is seen as its first 2 GiB.
        length = end < 0 ? 0 : end > INT32_MAX ? INT32_MAX : static_cast<int32_t>(end);
    }
    std::fseek(file, 0, SEEK_SET);
}

CFileStream::~CFileStream()
{
    if (file)
    {
        std::fflush(file);
        std::fclose(file);
    }
}

int32_t CFileStream::Read(void* buffer, int32_t n)
{
    if (!file || n <= 0 || !buffer)
        return 0;
    return static_cast<int32_t>(std::fread(buffer, 1, static_cast<size_t>(n), file));
}

int32_t CFileStream::Write(const void* buffer, int32_t n)
{
    if (!file || n <= 0 || !buffer)
        return 0;
    const int32_t count = static_cast<int32_t>(std::fwrite(buffer, 1, static_cast<size_t>(n), file));
    written += count;
    return count;
}

int32_t CFileStream::Seek(int32_t offset, int32_t origin)
{
    if (!file)
        return 0;
    const int whence = origin == FromStart ? SEEK_SET : origin == FromCurrent ? SEEK_CUR : SEEK_END;
    std::fseek(file, offset, whence);
    return Tell();
}

int32_t CFileStream::Tell()
{
    if (!file)
        return 0;
    const long here = std::ftell(file);
    return here < 0 ? 0 : here > INT32_MAX ? INT32_MAX : static_cast<int32_t>(here);
}

bool CFileStream::Flush()
{
    return file && std::fflush(file) == 0 && !std::ferror(file);
}
