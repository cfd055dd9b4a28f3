#include "PngWriter.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{

// Largest stored deflate block.
constexpr size_t kStoredBlock = 65535;

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

}  // namespace

bool WritePng(CDrawContext& surface, const std::string& path)
{
    const int32_t w = surface.Width();
    const int32_t h = surface.Height();
    if (w < 1 || h < 1)
        return false;
    std::vector<uint8_t> raw;
    for (int32_t y = 0; y < h; ++y)
    {
        raw.push_back(0);  // no filter
        for (int32_t x = 0; x < w; ++x)
        {
            const uint32_t c = surface.GetPixel(x, y);  // 0x00BBGGRR
            raw.push_back(static_cast<uint8_t>(c));
            raw.push_back(static_cast<uint8_t>(c >> 8));
            raw.push_back(static_cast<uint8_t>(c >> 16));
        }
    }
    std::vector<uint8_t> z{0x78, 0x01};
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t v : raw)
    {
        a = (a + v) % 65521u;
        b = (b + a) % 65521u;
    }
    for (size_t at = 0; at < raw.size() || at == 0; at += kStoredBlock)
    {
        const size_t n = raw.size() - at < kStoredBlock ? raw.size() - at : kStoredBlock;
        z.push_back(at + n >= raw.size() ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
        if (at + n >= raw.size())
            break;
    }
    PutBig32(z, (b << 16) | a);
    std::vector<uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(w));
    PutBig32(header, static_cast<uint32_t>(h));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", z);
    PutChunk(file, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}
