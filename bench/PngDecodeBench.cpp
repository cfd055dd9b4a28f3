// Decoding speed of our PNG decoder against libpng, on the knob filmstrip and
// on a large photo-like image, both to 8-bit RGBA. After the runs the ratio
// ours / libpng of each image is printed.

#include "engine/CRandom.h"
#include "image/KnobFilmstrip.h"
#include "image/RawPngDecoder.h"
#include "io/CMemoryStream.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{

constexpr uint32_t kPhotoWidth = 1920;
constexpr uint32_t kPhotoHeight = 1080;

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp)
{
}

// A smooth picture with grain, encoded by libpng with its default filters and
// compression: about what a photograph gives.
std::string PhotoPng()
{
    CRandom random(2024);
    std::vector<uint8_t> rgb(static_cast<size_t>(kPhotoWidth) * kPhotoHeight * 3);
    for (uint32_t y = 0; y < kPhotoHeight; ++y)
    {
        for (uint32_t x = 0; x < kPhotoWidth; ++x)
        {
            uint8_t* p = rgb.data() + (static_cast<size_t>(y) * kPhotoWidth + x) * 3;
            const int grain = random.Next() % 7 - 3;
            const int base = static_cast<int>((x * 3 + y * 2) % 512);
            const int wave = base < 256 ? base : 511 - base;
            p[0] = static_cast<uint8_t>(std::min(255, std::max(0, wave + grain)));
            p[1] = static_cast<uint8_t>(std::min(255, std::max(0, (wave + static_cast<int>(y / 5)) / 2 + grain)));
            p[2] = static_cast<uint8_t>(std::min(255, std::max(0, 255 - wave / 2 + grain)));
        }
    }
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return std::string();
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, kPhotoWidth, kPhotoHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < kPhotoHeight; ++y)
        png_write_row(png, rgb.data() + static_cast<size_t>(y) * kPhotoWidth * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

const std::string& Image(int which)
{
    static const std::string strip(reinterpret_cast<const char*>(kKnobFilmstripPng),
                                   static_cast<size_t>(kKnobFilmstripPngBytes));
    static const std::string photo = PhotoPng();
    return which == 0 ? strip : photo;
}

const char* ImageName(int which)
{
    return which == 0 ? "filmstrip" : "photo";
}

struct ReadCursor
{
    const std::string* bytes;
    size_t position;
};

void ReadBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (cursor->position + length > cursor->bytes->size())
        png_error(png, "read past the end");
    std::memcpy(data, cursor->bytes->data() + cursor->position, length);
    cursor->position += length;
}

// libpng doing the same job as RawPngDecoder: whole file to RGBA rows.
bool DecodeWithLibPng(const std::string& bytes, std::vector<uint8_t>& pixels)
{
    ReadCursor cursor = {&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &cursor, ReadBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const uint32_t width = png_get_image_width(png, info);
    const uint32_t height = png_get_image_height(png, info);
    pixels.resize(static_cast<size_t>(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y)
        png_read_row(png, pixels.data() + static_cast<size_t>(y) * width * 4, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

void BM_Ours(benchmark::State& state)
{
    const std::string& bytes = Image(static_cast<int>(state.range(0)));
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    for (auto _ : state)
    {
        stream.Seek(0, CStream::FromStart);
        RawPngDecoder decoder;
        if (!decoder.Decode(stream))
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(decoder.Pixels());
    }
    state.SetLabel(ImageName(static_cast<int>(state.range(0))));
}

void BM_LibPng(benchmark::State& state)
{
    const std::string& bytes = Image(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        // A fresh output each time, as a new RawPngDecoder has.
        std::vector<uint8_t> pixels;
        if (!DecodeWithLibPng(bytes, pixels))
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetLabel(ImageName(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibPng)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Prints as usual and keeps each run's CPU time per iteration for the ratios.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            seconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const
    {
        for (int which : {0, 1})
        {
            const std::string arg = "/" + std::to_string(which);
            const auto ours = seconds.find("BM_Ours" + arg);
            const auto theirs = seconds.find("BM_LibPng" + arg);
            if (ours != seconds.end() && theirs != seconds.end() && theirs->second > 0)
                std::printf("%-10s ours / libpng = %.2f\n", ImageName(which), ours->second / theirs->second);
        }
    }

private:
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
