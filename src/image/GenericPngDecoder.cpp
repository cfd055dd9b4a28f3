#include "image/GenericPngDecoder.h"

#include "image/PngPass.h"
#include "io/CStream.h"

#include <cstring>

namespace
{

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint32_t kHeaderBytes = 13;
constexpr uint32_t kMaxDimension = 0x7FFFFFFF;
// DEFLATE can encode 258 bytes in two bits at best, so no stream expands by
// more than this factor; image data smaller than its share cannot fill the image.
constexpr uint64_t kMaxInflateRatio = 1032;

uint32_t LoadU32BE(const uint8_t* in)
{
    return static_cast<uint32_t>(in[0]) << 24 | static_cast<uint32_t>(in[1]) << 16 | static_cast<uint32_t>(in[2]) << 8 |
           static_cast<uint32_t>(in[3]);
}

uint32_t LoadU16BE(const uint8_t* in)
{
    return static_cast<uint32_t>(in[0]) << 8 | in[1];
}

bool IsType(const uint8_t* type, const char* name)
{
    return std::memcmp(type, name, 4) == 0;
}

}  // namespace

bool GenericPngDecoder::Decode(CStream& stream)
{
    Reset();
    uint8_t signature[8];
    if (stream.Read(signature, 8) != 8 || std::memcmp(signature, kSignature, 8) != 0)
        return false;

    std::vector<uint8_t> imageData;
    if (!ReadChunks(stream, imageData) || !haveHeader)
        return false;
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension ||
        static_cast<uint64_t>(width) * height > kMaxPixels)
        return false;
    if (compression != 0 || filterMethod != 0 || interlace > 1 || BitsPerPixel() == 0)
        return false;
    if (ImageDataBytes() > (imageData.size() + 1) * kMaxInflateRatio)
        return false;
    if (!Begin())
        return false;

    CInflater inflater;
    if (inflater.Inflate(imageData.data(), imageData.size(), *this) == CInflater::Result::Failed)
        return false;
    return End();
}

void GenericPngDecoder::Reset()
{
    width = height = 0;
    bitDepth = colourType = compression = filterMethod = interlace = 0;
    paletteCount = 0;
    palette.clear();
    paletteAlpha.clear();
    transparent[0] = transparent[1] = transparent[2] = kNoKey;
    gamma = kDefaultGamma;
    haveHeader = false;
}

bool GenericPngDecoder::ReadChunks(CStream& stream, std::vector<uint8_t>& imageData)
{
    const int64_t end = stream.Size();
    // The image data cannot be larger than the file: one allocation holds it.
    if (end > stream.Tell())
        imageData.reserve(static_cast<size_t>(end - stream.Tell()));
    std::vector<uint8_t> data;
    for (bool first = true;; first = false)
    {
        uint8_t head[8];
        if (stream.Read(head, 8) != 8)
            return true;
        const uint32_t length = LoadU32BE(head);
        const uint8_t* type = head + 4;
        // A chunk cut short by the end of the stream ends the file.
        if (length > end - stream.Tell())
            return true;
        if (first != IsType(type, "IHDR"))
            return false;

        const bool isImageData = IsType(type, "IDAT");
        const bool wanted = isImageData || first || IsType(type, "PLTE") || IsType(type, "tRNS") ||
                            IsType(type, "gAMA") || IsType(type, "IEND");
        if (!wanted)
        {
            stream.Seek(static_cast<int32_t>(length), CStream::FromCurrent);
            uint8_t crc[4];
            if (stream.Read(crc, 4) != 4)
                return true;
            continue;
        }
        std::vector<uint8_t>& target = isImageData ? imageData : data;
        const size_t at = isImageData ? imageData.size() : 0;
        target.resize(at + length);
        if (length > 0 && stream.Read(target.data() + at, static_cast<int32_t>(length)) != static_cast<int32_t>(length))
        {
            target.resize(at);
            return true;
        }

        if (first)
        {
            if (!ReadHeader(data.data(), length))
                return false;
        }
        else if (IsType(type, "PLTE"))
        {
            if (length % 3 != 0)
                return false;
            palette.assign(data.begin(), data.end());
            paletteCount = length / 3;
        }
        else if (IsType(type, "tRNS"))
            ReadTransparency(data.data(), length);
        else if (IsType(type, "gAMA") && length >= 4)
            gamma = LoadU32BE(data.data());
        else if (IsType(type, "IEND"))
            return true;

        uint8_t crc[4];
        if (stream.Read(crc, 4) != 4)
            return true;
    }
}

bool GenericPngDecoder::ReadHeader(const uint8_t* data, uint32_t length)
{
    if (length < kHeaderBytes)
        return false;
    width = LoadU32BE(data);
    height = LoadU32BE(data + 4);
    bitDepth = data[8];
    colourType = data[9];
    compression = data[10];
    filterMethod = data[11];
    interlace = data[12];
    haveHeader = true;
    return true;
}

void GenericPngDecoder::ReadTransparency(const uint8_t* data, uint32_t length)
{
    if (colourType == 0 && length >= 2)
        transparent[0] = static_cast<int32_t>(LoadU16BE(data));
    else if (colourType == 2 && length >= 6)
    {
        for (int channel = 0; channel < 3; ++channel)
            transparent[channel] = static_cast<int32_t>(LoadU16BE(data + 2 * channel));
    }
    else if (colourType == 3)
        paletteAlpha.assign(data, data + (length < 256 ? length : 256));
}

unsigned GenericPngDecoder::BitsPerPixel() const
{
    unsigned samples = 0;
    switch (colourType)
    {
    case 0:
    case 3:
        samples = 1;
        break;
    case 2:
        samples = 3;
        break;
    case 4:
        samples = 2;
        break;
    case 6:
        samples = 4;
        break;
    default:
        return 0;
    }
    return samples * bitDepth;
}

uint64_t GenericPngDecoder::RowBytes(uint32_t columns) const
{
    return (static_cast<uint64_t>(columns) * BitsPerPixel() + 7) / 8;
}

uint64_t GenericPngDecoder::ImageDataBytes() const
{
    if (interlace == 0)
        return height * (1 + RowBytes(width));
    uint64_t total = 0;
    for (const PngPass& pass : kAdam7Passes)
    {
        const uint32_t columns = pass.Columns(width);
        if (columns > 0)
            total += pass.Rows(height) * (1 + RowBytes(columns));
    }
    return total;
}
