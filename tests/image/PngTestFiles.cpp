#include "PngTestFiles.h"

#include "engine/CRandom.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

struct ReadCursor
{
    const std::string* bytes;
    size_t position;
};

void ReadBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (cursor->position + length > cursor->bytes->size())
        png_error(png, "read past the end");
    std::memcpy(data, cursor->bytes->data() + cursor->position, length);
    cursor->position += length;
}

unsigned Samples(int colourType)
{
    switch (colourType)
    {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

void StoreU32BE(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

}  // namespace

uint32_t LibPngImage::RowBytes() const
{
    return (width * Samples(colourType) * bitDepth + 7) / 8;
}

std::string EncodeWithLibPng(const LibPngImage& image)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng could not write the image";
        return std::string();
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, image.filters);
    png_set_compression_level(png, image.level);
    png_set_compression_strategy(png, image.strategy);
    png_set_compression_buffer_size(png, image.idatBytes);
    std::vector<png_color> colours;
    for (size_t i = 0; i + 2 < image.palette.size(); i += 3)
        colours.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    if (!colours.empty())
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    if (!image.paletteAlpha.empty())
        png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()), nullptr);
    if (image.hasKey)
    {
        png_color_16 key = {};
        key.gray = image.key[0];
        key.red = image.key[0];
        key.green = image.key[1];
        key.blue = image.key[2];
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = const_cast<png_bytep>(image.samples.data() + static_cast<size_t>(y) * image.RowBytes());
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> DecodeWithLibPng(const std::string& bytes)
{
    ReadCursor cursor = {&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> pixels;
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_read_struct(&png, &info, nullptr);
        ADD_FAILURE() << "libpng could not read the image";
        return std::vector<uint8_t>();
    }
    png_set_read_fn(png, &cursor, ReadBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const uint32_t width = png_get_image_width(png, info);
    const uint32_t height = png_get_image_height(png, info);
    EXPECT_EQ(png_get_rowbytes(png, info), width * 4u);
    pixels.resize(static_cast<size_t>(width) * height * 4);
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = pixels.data() + static_cast<size_t>(y) * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return pixels;
}

void FillSamples(LibPngImage& image, uint32_t seed, unsigned paletteSize)
{
    CRandom random(seed);
    const uint32_t rowBytes = image.RowBytes();
    image.samples.assign(static_cast<size_t>(rowBytes) * image.height, 0);
    for (uint32_t y = 0; y < image.height; ++y)
    {
        uint8_t* row = image.samples.data() + static_cast<size_t>(y) * rowBytes;
        for (uint32_t i = 0; i < rowBytes; ++i)
        {
            // Half the rows are gradients (filters predict them well), half noise.
            const int noise = random.Next() & 0xFF;
            row[i] = static_cast<uint8_t>(y % 2 == 0 ? (i * 7 + y * 3 + (noise & 3)) : noise);
        }
        if (image.colourType == 3)
        {
            const unsigned perByte = 8u / image.bitDepth;
            const unsigned mask = (1u << image.bitDepth) - 1;
            for (uint32_t x = 0; x < image.width; ++x)
            {
                const unsigned shift = (perByte - 1 - x % perByte) * image.bitDepth;
                uint8_t& byte = row[x / perByte];
                const unsigned index = ((byte >> shift) & mask) % paletteSize;
                byte = static_cast<uint8_t>((byte & ~(mask << shift)) | index << shift);
            }
        }
    }
}

PngFile::PngFile()
{
    bytes.assign("\x89PNG\r\n\x1a\n", 8);
}

PngFile& PngFile::Chunk(const char* type, const std::vector<uint8_t>& data)
{
    StoreU32BE(bytes, static_cast<uint32_t>(data.size()));
    const size_t typeAt = bytes.size();
    bytes.append(type, 4);
    bytes.append(data.begin(), data.end());
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + typeAt), static_cast<uInt>(4 + data.size()));
    StoreU32BE(bytes, static_cast<uint32_t>(crc));
    return *this;
}

PngFile& PngFile::Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace,
                         uint8_t compression, uint8_t filterMethod)
{
    std::string header;
    StoreU32BE(header, width);
    StoreU32BE(header, height);
    for (uint8_t byte : {depth, colourType, compression, filterMethod, interlace})
        header += static_cast<char>(byte);
    return Chunk("IHDR", std::vector<uint8_t>(header.begin(), header.end()));
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw, int level)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> out(size);
    const int status = compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level);
    EXPECT_EQ(status, Z_OK);
    out.resize(size);
    return out;
}
