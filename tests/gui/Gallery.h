#pragma once

#include <string>

class CDrawContext;

// Writes a surface as an RGB PNG into the gallery folder of the build
// (gallery/<name>.png) so that a person can look at what the tests drew.
// Returns false when the file could not be written.
bool WriteGalleryPng(CDrawContext& surface, const std::string& name);

// Writes a surface magnified by scale (each pixel a scale x scale block).
bool WriteGalleryPng(CDrawContext& surface, const std::string& name, int scale);
