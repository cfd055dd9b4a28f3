#include "gui/draw/CImageChunk.h"

#include "image/CPngPicture.h"
#include "io/CStream.h"

CImageChunk::~CImageChunk()
{
    delete picture;
}

void CImageChunk::Unload()
{
    delete picture;
    picture = nullptr;
    width = 0;
    height = 0;
}

bool CImageChunk::Load()
{
    Unload();
    return Decode();
}

bool CImageChunk::Decode()
{
    if (picture == nullptr)
    {
        stream.Seek(0, CStream::FromStart);
        picture = new CPngPicture(stream);
        width = picture->Width();
        height = picture->Height();
    }
    return picture->IsValid();
}

void CImageChunk::Draw(CGraphic& g, int32_t x, int32_t y)
{
    if (!Decode())
        return;
    uint8_t* bits = g.dc->Bits();
    if (bits == nullptr)
        return;
    const Rect target = g.ToDevice(Rect{x, y, x + width, y + height});
    const Rect area = Intersection(Intersection(target, g.clip), Rect{0, 0, g.width, g.height});
    const uint8_t* pixels = picture->Pixels();
    for (int32_t dy = area.top; dy < area.bottom; ++dy)
    {
        const uint8_t* from = pixels + (static_cast<size_t>(dy - target.top) * width + (area.left - target.left)) * 4;
        uint8_t* to = bits + static_cast<size_t>(dy) * g.stride + static_cast<size_t>(area.left) * 4;
        for (int32_t dx = area.left; dx < area.right; ++dx, from += 4, to += 4)
        {
            // Straight alpha over the surface, rounded to nearest: (s * a + d * (255 - a) + 127) / 255.
            const uint32_t alpha = from[3];
            for (int channel = 0; channel < 3; ++channel)
            {
                const uint32_t source = from[2 - channel];  // RGBA in, BGR out
                to[channel] = static_cast<uint8_t>((source * alpha + to[channel] * (255 - alpha) + 127) / 255);
            }
        }
    }
}
