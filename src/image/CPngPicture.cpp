#include "image/CPngPicture.h"

#include "io/CFileStream.h"

CPngPicture::CPngPicture(const char* path)
{
    CFileStream file(path, CFileStream::ReadOnly);
    if (file.IsOpen())
        DecodeFrom(file);
}

CPngPicture::CPngPicture(CStream& stream)
{
    DecodeFrom(stream);
}

void CPngPicture::DecodeFrom(CStream& stream)
{
    valid = decoder.Decode(stream);
    if (valid)
    {
        // The decoder caps images at 64 megapixels, so both sides fit in 32 bits.
        width = static_cast<int32_t>(decoder.width);
        height = static_cast<int32_t>(decoder.height);
    }
}
