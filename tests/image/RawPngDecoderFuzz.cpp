// libFuzzer target: any bytes given to RawPngDecoder::Decode must end in a
// clean result, and a successful decode must leave width × height × 4 bytes
// of pixels that can all be read. Built and run by scripts/test.d/30-image-fuzz.sh.

#include "image/RawPngDecoder.h"
#include "io/CMemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMemoryStream stream;
    stream.Write(data, static_cast<int32_t>(size));
    stream.Seek(0, CStream::FromStart);
    RawPngDecoder decoder;
    if (!decoder.Decode(stream))
        return 0;
    const uint8_t* pixels = decoder.Pixels();
    if (pixels == nullptr)
        std::abort();
    // Touch every byte so the sanitizer sees any short buffer.
    unsigned sum = 0;
    const size_t bytes = static_cast<size_t>(decoder.width) * decoder.height * 4;
    for (size_t i = 0; i < bytes; ++i)
        sum += pixels[i];
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
