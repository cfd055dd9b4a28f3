#include "io/CStream.h"

#include "io/ByteOrder.h"

void CStream::SetSize(int32_t)
{
}

int32_t CStream::Read(void*, int32_t)
{
    return 0;
}

int32_t CStream::Write(const void*, int32_t)
{
    return 0;
}

int32_t CStream::Seek(int32_t, int32_t)
{
    return 0;
}

int32_t CStream::Tell()
{
    return 0;
}

int32_t CStream::Size()
{
    const int32_t here = Seek(0, FromCurrent);
    const int32_t end = Seek(0, FromEnd);
    Seek(here, FromStart);
    return end;
}

void CStream::PatchLength(int32_t at)
{
    const int32_t here = Tell();
    uint8_t field[4];
    StoreU32LE(field, static_cast<uint32_t>(here - at - 4));
    Seek(at, FromStart);
    Write(field, 4);
    Seek(here, FromStart);
}

bool CStream::AtEnd()
{
    return Tell() >= length;
}
