#include "Gallery.h"

#include "gui/platform/CDrawContext.h"

#include <cstdio>
#include <png.h>
#include <sys/stat.h>
#include <vector>

bool WriteGalleryPng(CDrawContext& surface, const std::string& name)
{
    return WriteGalleryPng(surface, name, 1);
}

bool WriteGalleryPng(CDrawContext& surface, const std::string& name, int scale)
{
    const int width = surface.Width() * scale;
    const int height = surface.Height() * scale;
    if (width <= 0 || height <= 0)
        return false;
    const std::string folder = VELMORA_GALLERY_DIR;
    mkdir(folder.c_str(), 0755);
    const std::string path = folder + "/" + name + ".png";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    const uint8_t* bits = surface.Bits();
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* source = bits + static_cast<size_t>(y / scale) * surface.Stride();
        for (int x = 0; x < width; ++x)
        {
            const uint8_t* pixel = source + static_cast<size_t>(x / scale) * 4;
            row[static_cast<size_t>(x) * 3] = pixel[2];
            row[static_cast<size_t>(x) * 3 + 1] = pixel[1];
            row[static_cast<size_t>(x) * 3 + 2] = pixel[0];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

std::string EncodeRgbaPng(int width, int height, const std::vector<uint8_t>& rgba)
{
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return std::string();
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, png_size_t length) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), length);
        },
        nullptr);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgba.data() + static_cast<size_t>(y) * width * 4));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}
