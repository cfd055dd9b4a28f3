#pragma once

#include <string>

class CDrawContext;

// Writes a surface as gallery/<name>.png in the build folder so that a person
// can look at what a test drew. Returns false when the file cannot be written.
bool WriteGalleryPng(CDrawContext& surface, const std::string& name);
