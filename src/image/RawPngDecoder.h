#pragma once

#include "image/GenericPngDecoder.h"
#include "image/PngPass.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Decodes a PNG into 8-bit RGBA pixels, rows top-down, four bytes R, G, B, A
// per pixel, no padding between rows.
//
// Supported images (Begin refuses every other combination):
//   colour type 0 grey, depth 1 or 8     colour type 2 truecolour, depth 8 or 16
//   colour type 3 palette, depth 4 or 8  colour type 4 grey + alpha, depth 8
//   colour type 6 RGBA, depth 8
// each non-interlaced or Adam7-interlaced. 16-bit samples keep their high
// byte. A tRNS colour key gives alpha 0 to the pixels whose samples all match
// it (compared at full depth), alpha 255 to the others; a palette's tRNS gives
// the alpha of its first entries. A palette index at or beyond the palette
// leaves its pixel untouched; the output starts as transparent black.
//
// Filtering and conversion work row by row as the data arrives: only the
// current and the previous row of the current pass are held.
class RawPngDecoder : public GenericPngDecoder
{
public:
    bool Begin() override;
    bool Put(const uint8_t* bytes, size_t count) override;
    bool End() override;

    // The decoded pixels (width × height × 4 bytes); null before Begin succeeded.
    const uint8_t* Pixels() const { return pixels.empty() ? nullptr : pixels.data(); }

private:
    enum class Format
    {
        Grey1,
        Grey8,
        Rgb8,
        Rgb16,
        Palette4,
        Palette8,
        GreyAlpha8,
        Rgba8
    };

    // Moves to the first pass at or after index that holds pixels.
    void StartPass(unsigned index);
    void FinishRow();
    void Unfilter();
    void ConvertRow();

    Format format = Format::Rgba8;
    std::vector<uint8_t> pixels;
    // Both rows start with filterStep zero bytes, the absent left neighbours.
    std::vector<uint8_t> row;
    std::vector<uint8_t> previousRow;
    size_t filterStep = 1;  // bytes per pixel for filtering, at least 1
    const PngPass* passes = &kSinglePass;
    unsigned passCount = 1;
    unsigned pass = 0;  // index into passes; passCount once the image is complete
    uint32_t passColumns = 0;
    uint32_t passRows = 0;
    size_t rowBytes = 0;  // of the current pass, filter byte excluded
    uint32_t y = 0;       // row inside the current pass
    int64_t x = -1;       // bytes of the current row received; -1 before its filter byte
    uint8_t rowFilter = 0;
};
