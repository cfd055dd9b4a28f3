#include "PngTestFiles.h"

#include "engine/CRandom.h"
#include "image/GenericPngDecoder.h"
#include "io/CMemoryStream.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>

namespace
{

void StoreU32BE(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

}  // namespace

uint32_t LibPngImage::RowBytes() const
{
    const unsigned samples[7] = {1, 0, 3, 1, 2, 0, 4};
    return (width * samples[colourType] * bitDepth + 7) / 8;
}

LibPngImage MakeImage(int colourType, int bitDepth, uint32_t width, uint32_t height, uint32_t seed)
{
    LibPngImage image;
    image.width = width;
    image.height = height;
    image.colourType = colourType;
    image.bitDepth = bitDepth;
    for (unsigned i = 0; colourType == 3 && i < 1u << bitDepth; ++i)
        image.palette.insert(image.palette.end(), {uint8_t(i * 37 + 5), uint8_t(255 - i * 11), uint8_t(i * i)});
    CRandom random(seed);
    const uint32_t rowBytes = image.RowBytes();
    image.samples.resize(static_cast<size_t>(rowBytes) * height);
    for (uint32_t y = 0; y < height; ++y)
    {
        for (uint32_t i = 0; i < rowBytes; ++i)
        {
            const int noise = random.Next() & 0xFF;
            image.samples[y * rowBytes + i] = static_cast<uint8_t>(y % 2 == 0 ? i * 7 + y * 3 + (noise & 3) : noise);
        }
    }
    return image;
}

// libpng aborts the test program on an error: no image here should cause one.
std::string EncodeWithLibPng(const LibPngImage& image)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&buffer, &size);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, image.filters);
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
        key.gray = key.red = image.key[0];
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
    std::fclose(file);
    const std::string out(buffer, size);
    std::free(buffer);
    return out;
}

std::vector<uint8_t> DecodeWithLibPng(const std::string& bytes)
{
    FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_image_width(png, info) * size_t(4);
    const uint32_t height = png_get_image_height(png, info);
    std::vector<uint8_t> pixels(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = pixels.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return pixels;
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
    const auto* typed = reinterpret_cast<const Bytef*>(bytes.data() + typeAt);
    StoreU32BE(bytes, static_cast<uint32_t>(crc32(0, typed, static_cast<uInt>(4 + data.size()))));
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

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw, int level, int strategy, int windowBits)
{
    z_stream z = {};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, windowBits, 9, strategy), Z_OK);
    std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(raw.size())));
    z.next_in = const_cast<Bytef*>(raw.data());
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

bool DecodeBytes(GenericPngDecoder& decoder, const std::string& bytes, int32_t at)
{
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(at, CStream::FromStart);
    return decoder.Decode(stream);
}
