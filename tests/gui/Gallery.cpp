#include "Gallery.h"

#include "PngWriter.h"

#include <sys/stat.h>

bool WriteGalleryPng(CDrawContext& surface, const std::string& name)
{
    mkdir(VELMORA_GALLERY_DIR, 0755);
    return WritePng(surface, std::string(VELMORA_GALLERY_DIR) + "/" + name + ".png");
}
