#pragma once

#include "io/CStream.h"

#include <cstdio>

// A stream over a file on disk. A file that did not open reads and writes
// nothing and has length 0.
class CFileStream : public CStream
{
public:
    enum Mode
    {
        ReadOnly = 0,  // "rb"
        Create = 1     // "w+b": create or truncate, read and write
    };

    CFileStream(const char* path, int mode);
    ~CFileStream() override;

    int32_t Read(void* buffer, int32_t n) override;
    int32_t Write(const void* buffer, int32_t n) override;
    int32_t Seek(int32_t offset, int32_t origin) override;
    int32_t Tell() override;

    bool IsOpen() const { return file != nullptr; }
    // Flushes buffered writes; false when the system reported an error.
    bool Flush();

    int32_t written = 0;

private:
    FILE* file = nullptr;
};
