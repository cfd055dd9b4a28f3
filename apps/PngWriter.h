#pragma once

#include "gui/platform/CDrawContext.h"

#include <string>

// Writes a 32-bit surface as an 8-bit RGB PNG file (stored, uncompressed
// deflate blocks: no library needed). Returns false when the file cannot be written.
bool WritePng(CDrawContext& surface, const std::string& path);
