#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDrawContext;

// Writes a surface as an RGB PNG into the gallery folder of the build
// (gallery/<name>.png) so that a person can look at what the tests drew.
// Returns false when the file could not be written.
bool WriteGalleryPng(CDrawContext& surface, const std::string& name);

// Writes a surface magnified by scale (each pixel a scale x scale block).
bool WriteGalleryPng(CDrawContext& surface, const std::string& name, int scale);

// An RGBA PNG (8 bits per channel) of width x height pixels, R, G, B, A per
// pixel, rows top-down, as the bytes of a file.
std::string EncodeRgbaPng(int width, int height, const std::vector<uint8_t>& rgba);
