#pragma once

#include <cstdint>

// Where the pixels of one pass of a PNG image lie: columns start, start + step,
// ... of rows start, start + step, ...
struct PngPass
{
    uint8_t firstColumn;
    uint8_t firstRow;
    uint8_t columnStep;
    uint8_t rowStep;

    uint32_t Columns(uint32_t width) const { return Extent(width, firstColumn, columnStep); }
    uint32_t Rows(uint32_t height) const { return Extent(height, firstRow, rowStep); }

    static uint32_t Extent(uint32_t size, uint32_t first, uint32_t step)
    {
        return size > first ? (size - first + step - 1) / step : 0;
    }
};

// A non-interlaced image is one pass over every pixel.
constexpr PngPass kSinglePass = {0, 0, 1, 1};

// The seven passes of Adam7 interlacing, in the order their rows are stored.
constexpr PngPass kAdam7Passes[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
