#include "image/RawPngDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{

// The Paeth predictor: whichever neighbour is nearest to left + above -
// upper left, ties going to left, then above. Written as selects, which the
// compiler turns into conditional moves: the choice is unpredictable.
uint8_t Paeth(int left, int above, int upperLeft)
{
    const int toLeft = std::abs(above - upperLeft);
    const int toAbove = std::abs(left - upperLeft);
    const int toUpperLeft = std::abs(left + above - 2 * upperLeft);
    const int aboveOrUpperLeft = toAbove <= toUpperLeft ? above : upperLeft;
    return static_cast<uint8_t>(toLeft <= toAbove && toLeft <= toUpperLeft ? left : aboveOrUpperLeft);
}

}  // namespace

bool RawPngDecoder::Begin()
{
    switch (colourType << 8 | bitDepth)
    {
    case 0 << 8 | 1:
        format = Format::Grey1;
        break;
    case 0 << 8 | 8:
        format = Format::Grey8;
        break;
    case 2 << 8 | 8:
        format = Format::Rgb8;
        break;
    case 2 << 8 | 16:
        format = Format::Rgb16;
        break;
    case 3 << 8 | 4:
        format = Format::Palette4;
        break;
    case 3 << 8 | 8:
        format = Format::Palette8;
        break;
    case 4 << 8 | 8:
        format = Format::GreyAlpha8;
        break;
    case 6 << 8 | 8:
        format = Format::Rgba8;
        break;
    default:
        return false;
    }
    if (colourType == 3 && paletteCount == 0)
        return false;

    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    filterStep = std::max(1u, BitsPerPixel() / 8);
    const size_t widest = static_cast<size_t>(RowBytes(width));
    row.assign(filterStep + widest, 0);
    previousRow.assign(filterStep + widest, 0);
    passes = interlace == 1 ? kAdam7Passes : &kSinglePass;
    passCount = interlace == 1 ? 7 : 1;
    StartPass(0);
    return true;
}

bool RawPngDecoder::Put(const uint8_t* bytes, size_t count)
{
    while (count > 0)
    {
        if (pass >= passCount)
            return false;
        if (x < 0)
        {
            rowFilter = *bytes++;
            --count;
            x = 0;
            continue;
        }
        const size_t wanted = rowBytes - static_cast<size_t>(x);
        const size_t take = count < wanted ? count : wanted;
        std::memcpy(row.data() + filterStep + x, bytes, take);
        x += static_cast<int64_t>(take);
        bytes += take;
        count -= take;
        if (static_cast<size_t>(x) == rowBytes)
            FinishRow();
    }
    return true;
}

bool RawPngDecoder::End()
{
    return pass >= passCount;
}

void RawPngDecoder::StartPass(unsigned index)
{
    for (pass = index; pass < passCount; ++pass)
    {
        passColumns = passes[pass].Columns(width);
        passRows = passes[pass].Rows(height);
        if (passColumns > 0 && passRows > 0)
            break;
    }
    rowBytes = static_cast<size_t>(RowBytes(passColumns));
    std::fill(previousRow.begin(), previousRow.end(), uint8_t(0));
    y = 0;
    x = -1;
}

void RawPngDecoder::FinishRow()
{
    Unfilter();
    ConvertRow();
    row.swap(previousRow);
    x = -1;
    if (++y == passRows)
        StartPass(pass + 1);
}

void RawPngDecoder::Unfilter()
{
    // left and upperLeft lag one pixel behind; the rows' leading zero bytes
    // stand in for the neighbours left of the first pixel.
    const uint8_t* left = row.data();
    const uint8_t* upperLeft = previousRow.data();
    uint8_t* current = row.data() + filterStep;
    const uint8_t* above = previousRow.data() + filterStep;
    const size_t n = rowBytes;
    switch (rowFilter)
    {
    case 1:
        for (size_t i = 0; i < n; ++i)
            current[i] = static_cast<uint8_t>(current[i] + left[i]);
        break;
    case 2:
        for (size_t i = 0; i < n; ++i)
            current[i] = static_cast<uint8_t>(current[i] + above[i]);
        break;
    case 3:
        for (size_t i = 0; i < n; ++i)
            current[i] = static_cast<uint8_t>(current[i] + ((left[i] + above[i]) >> 1));
        break;
    case 4:
        for (size_t i = 0; i < n; ++i)
            current[i] = static_cast<uint8_t>(current[i] + Paeth(left[i], above[i], upperLeft[i]));
        break;
    default:
        // 0 is no filter; unknown types are left as they are.
        break;
    }
}

void RawPngDecoder::ConvertRow()
{
    const PngPass& where = passes[pass];
    const size_t outRow = static_cast<size_t>(where.firstRow) + static_cast<size_t>(y) * where.rowStep;
    uint8_t* out = pixels.data() + (outRow * width + where.firstColumn) * 4;
    const size_t outStep = static_cast<size_t>(where.columnStep) * 4;
    const uint8_t* in = row.data() + filterStep;
    const uint32_t columns = passColumns;
    const int32_t key0 = transparent[0];
    const int32_t key1 = transparent[1];
    const int32_t key2 = transparent[2];

    switch (format)
    {
    case Format::Grey1:
        for (uint32_t i = 0; i < columns; ++i, out += outStep)
        {
            const int bit = (in[i >> 3] >> (7 - (i & 7))) & 1;
            out[0] = out[1] = out[2] = static_cast<uint8_t>(bit ? 255 : 0);
            out[3] = bit == key0 ? 0 : 255;
        }
        break;
    case Format::Grey8:
        for (uint32_t i = 0; i < columns; ++i, out += outStep)
        {
            out[0] = out[1] = out[2] = in[i];
            out[3] = in[i] == key0 ? 0 : 255;
        }
        break;
    case Format::Rgb8:
        for (uint32_t i = 0; i < columns; ++i, in += 3, out += outStep)
        {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = in[0] == key0 && in[1] == key1 && in[2] == key2 ? 0 : 255;
        }
        break;
    case Format::Rgb16:
        for (uint32_t i = 0; i < columns; ++i, in += 6, out += outStep)
        {
            out[0] = in[0];
            out[1] = in[2];
            out[2] = in[4];
            const bool keyed =
                (in[0] << 8 | in[1]) == key0 && (in[2] << 8 | in[3]) == key1 && (in[4] << 8 | in[5]) == key2;
            out[3] = keyed ? 0 : 255;
        }
        break;
    case Format::Palette4:
    case Format::Palette8:
    {
        const bool packed = format == Format::Palette4;
        const uint8_t* colours = palette.data();
        const size_t alphaCount = paletteAlpha.size();
        for (uint32_t i = 0; i < columns; ++i, out += outStep)
        {
            const unsigned index = packed ? (in[i >> 1] >> ((i & 1) ? 0 : 4)) & 15u : in[i];
            if (index >= paletteCount)
                continue;
            out[0] = colours[3 * index];
            out[1] = colours[3 * index + 1];
            out[2] = colours[3 * index + 2];
            out[3] = index < alphaCount ? paletteAlpha[index] : 255;
        }
        break;
    }
    case Format::GreyAlpha8:
        for (uint32_t i = 0; i < columns; ++i, in += 2, out += outStep)
        {
            out[0] = out[1] = out[2] = in[0];
            out[3] = in[1];
        }
        break;
    case Format::Rgba8:
        if (outStep == 4)
            std::memcpy(out, in, static_cast<size_t>(columns) * 4);
        else
        {
            for (uint32_t i = 0; i < columns; ++i, in += 4, out += outStep)
                std::memcpy(out, in, 4);
        }
        break;
    }
}
