#include "editor/CKnobImage.h"

#include "image/KnobFilmstrip.h"

namespace
{

CImageChunk* MakeFilmstripChunk()
{
    CImageChunk* chunk = new CImageChunk;
    chunk->SetName("knob");
    chunk->stream.Write(kKnobFilmstripPng, kKnobFilmstripPngBytes);
    return chunk;
}

}  // namespace

CKnobImage::CKnobImage(uint32_t background) : CImage(MakeFilmstripChunk(), background)
{
}

CKnobImage::~CKnobImage()
{
    delete source;
}

int32_t CKnobImage::FrameSize()
{
    return source->Decode() ? source->width : 0;
}

int32_t CKnobImage::FrameCount()
{
    const int32_t size = FrameSize();
    return size > 0 ? source->height / size : 0;
}

void CKnobImage::DrawFrame(CGraphic& g, int32_t x, int32_t y, int32_t frame)
{
    const int32_t count = FrameCount();
    if (count <= 0)
        return;
    if (frame < 0)
        frame = 0;
    if (frame >= count)
        frame = count - 1;
    const int32_t size = FrameSize();
    Draw(g, x, y, 0, frame * size, size, size);
}
