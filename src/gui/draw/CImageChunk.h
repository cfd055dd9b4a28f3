#pragma once

#include "gui/draw/CGraphic.h"
#include "io/CMemoryStream.h"
#include "io/CObject.h"

#include <cstdint>

class CPngPicture;

// A named picture kept in its encoded form; decoded on first use and kept
// decoded until Unload.
class CImageChunk : public CObject
{
public:
    static constexpr int32_t kKindPng = 1;

    CImageChunk() = default;
    ~CImageChunk() override;

    // Drops the decoded picture; the encoded bytes stay.
    virtual void Unload();
    // Unloads, rewinds the stream and decodes it again; true when the picture is usable.
    virtual bool Load();
    // Composites the picture with its alpha over g's pixels with its top-left
    // corner at local (x, y), within g's clip; decodes first when needed.
    // Draws nothing when the stream does not decode or g has no addressable pixels.
    virtual void Draw(CGraphic& g, int32_t x, int32_t y);

    // Decodes the stream from its start unless a decode was already tried;
    // true when the picture is usable (width and height are then its size).
    bool Decode();

    CMemoryStream stream;  // the encoded picture
    int32_t kind = kKindPng;
    CPngPicture* picture = nullptr;  // owned, null until decoded
    int32_t width = 0;
    int32_t height = 0;
};
