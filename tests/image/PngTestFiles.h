#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GenericPngDecoder;

// Test images: PNG files written and read back by libpng as the reference,
// and files assembled chunk by chunk for the cases libpng will not write.

struct LibPngImage
{
    uint32_t width = 1;
    uint32_t height = 1;
    int colourType = 6;
    int bitDepth = 8;
    bool interlaced = false;
    int filters = 0xF8;                 // libpng's PNG_ALL_FILTERS, or one PNG_FILTER_* flag
    std::vector<uint8_t> palette;       // RGB triples for colour type 3
    std::vector<uint8_t> paletteAlpha;  // tRNS of a palette image
    bool hasKey = false;                // tRNS colour key of a grey or RGB image
    uint16_t key[3] = {0, 0, 0};
    std::vector<uint8_t> samples;  // rows as stored, each RowBytes() long

    uint32_t RowBytes() const;
};

// An image whose rows alternate between gradients (which the filters predict
// well) and noise drawn from the seed; a palette image gets a full palette.
LibPngImage MakeImage(int colourType, int bitDepth, uint32_t width, uint32_t height, uint32_t seed);

// Encodes the image with libpng.
std::string EncodeWithLibPng(const LibPngImage& image);

// Decodes a PNG with libpng to 8-bit RGBA (palettes and grey expanded, colour
// keys turned into alpha 0, 16-bit samples cut to their high byte).
std::vector<uint8_t> DecodeWithLibPng(const std::string& png);

// A PNG assembled by hand: chunks appended in the given order with valid CRCs.
class PngFile
{
public:
    PngFile();  // starts with the signature
    PngFile& Chunk(const char* type, const std::vector<uint8_t>& data);
    PngFile& Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace = 0,
                    uint8_t compression = 0, uint8_t filterMethod = 0);
    const std::string& Bytes() const { return bytes; }

private:
    std::string bytes;
};

// zlib-compressed bytes (with header and checksum).
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw, int level = 9, int strategy = 0, int windowBits = 15);

// Decodes the bytes from a memory stream positioned at the given offset.
bool DecodeBytes(GenericPngDecoder& decoder, const std::string& bytes, int32_t at = 0);
