#include "io/ByteOrder.h"

#include "io/CStream.h"

bool WriteU32(CStream& stream, uint32_t value)
{
    uint8_t bytes[4];
    StoreU32LE(bytes, value);
    return stream.Write(bytes, 4) == 4;
}

bool WriteI32(CStream& stream, int32_t value)
{
    return WriteU32(stream, static_cast<uint32_t>(value));
}

bool WriteF32(CStream& stream, float value)
{
    return WriteU32(stream, FloatBits(value));
}

bool ReadU32(CStream& stream, uint32_t& value)
{
    uint8_t bytes[4];
    if (stream.Read(bytes, 4) != 4)
        return false;
    value = LoadU32LE(bytes);
    return true;
}

bool ReadI32(CStream& stream, int32_t& value)
{
    uint32_t bits;
    if (!ReadU32(stream, bits))
        return false;
    value = static_cast<int32_t>(bits);
    return true;
}

bool ReadF32(CStream& stream, float& value)
{
    uint32_t bits;
    if (!ReadU32(stream, bits))
        return false;
    value = BitsToFloat(bits);
    return true;
}
