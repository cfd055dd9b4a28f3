#pragma once

#include "image/CInflater.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CStream;

// Reads a PNG file from a stream: checks the signature, collects the header,
// palette, transparency and image data chunks, then inflates the image data
// and hands the decompressed bytes (filter bytes included, rows of every pass
// in stream order) to Put. A subclass decides what becomes of them.
//
// Every byte is treated as hostile: lengths are checked against the stream,
// and an image whose data could not possibly fill it is refused before any
// output is prepared. Chunk CRCs and the zlib checksum are not checked.
class GenericPngDecoder : private CInflater::Sink
{
public:
    // A colour key that matches no sample.
    static constexpr int32_t kNoKey = 0x7FFFFFFF;
    static constexpr uint32_t kDefaultGamma = 100000;
    // Larger images are refused: their RGBA output alone would take 256 MiB.
    static constexpr uint64_t kMaxPixels = uint64_t(64) * 1024 * 1024;

    GenericPngDecoder() = default;
    ~GenericPngDecoder() override = default;
    GenericPngDecoder(const GenericPngDecoder&) = delete;
    GenericPngDecoder& operator=(const GenericPngDecoder&) = delete;

    // Decodes the PNG that starts at the stream's current position. True when
    // the file was well formed, Begin accepted it and every byte of image
    // data was taken by Put and End reported the image complete.
    bool Decode(CStream& stream);

    // Called once the chunks are read: true when the header describes an
    // image the subclass supports and its output is prepared.
    virtual bool Begin() = 0;
    // Takes the next count decompressed bytes; false refuses them and stops
    // decoding with failure.
    virtual bool Put(const uint8_t* bytes, size_t count) = 0;
    // Called after the last byte; true when the output is complete.
    virtual bool End() = 0;

    // Header (IHDR).
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t compression = 0;
    uint8_t filterMethod = 0;
    uint8_t interlace = 0;

    // Palette (PLTE) as RGB triples, and the alpha of its first entries
    // (tRNS of a palette image; entries beyond it are opaque).
    uint32_t paletteCount = 0;
    std::vector<uint8_t> palette;
    std::vector<uint8_t> paletteAlpha;

    // Transparent colour of grey (key 0) and truecolour images (keys 0, 1, 2
    // for red, green, blue), as 16-bit sample values.
    int32_t transparent[3] = {kNoKey, kNoKey, kNoKey};

    // gAMA, kept but not applied.
    uint32_t gamma = kDefaultGamma;

protected:
    // Samples per pixel times bit depth; 0 for an unknown colour type.
    unsigned BitsPerPixel() const;
    // Bytes of one row of the given number of pixels, filter byte excluded.
    uint64_t RowBytes(uint32_t columns) const;

private:
    bool Take(const uint8_t* bytes, size_t count) override { return Put(bytes, count); }

    void Reset();
    // Reads chunks up to IEND or the end of the stream; false on a malformed
    // file (no IHDR first, a bad palette).
    bool ReadChunks(CStream& stream, std::vector<uint8_t>& imageData);
    bool ReadHeader(const uint8_t* data, uint32_t length);
    void ReadTransparency(const uint8_t* data, uint32_t length);
    // The decompressed size the header implies, filter bytes included.
    uint64_t ImageDataBytes() const;

    bool haveHeader = false;
};
