#pragma once

#include "image/RawPngDecoder.h"

#include <cstdint>

class CStream;

// A decoded picture: the RGBA pixels of one PNG, kept for the picture's life.
//
// Pixels() points to Width() × Height() pixels of four bytes each, R, G, B, A
// in that order (A = 255 opaque, 0 transparent, not premultiplied), rows from
// the top down, each row Width() × 4 bytes with no padding. When decoding
// failed IsValid() is false, the size is 0 × 0 and Pixels() is null.
class CPngPicture
{
public:
    // Decodes the PNG file at path (opened for reading, closed afterwards).
    explicit CPngPicture(const char* path);
    // Decodes the PNG that starts at the stream's current position.
    explicit CPngPicture(CStream& stream);

    bool IsValid() const { return valid; }
    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    const uint8_t* Pixels() const { return valid ? decoder.Pixels() : nullptr; }

private:
    void DecodeFrom(CStream& stream);

    RawPngDecoder decoder;
    bool valid = false;
    int32_t width = 0;
    int32_t height = 0;
};
