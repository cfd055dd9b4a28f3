#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A strict look at a chunk in the patch format before it replaces anything:
// every section's tag and size must lie within the chunk and fill it exactly,
// the chunk must start with a program ("pp"), hold 1..64 programs (exactly
// one for a single program) and a "prog" section, if any, must hold an index
// 0..63. The reader itself accepts anything; this decides whether a file
// from outside is worth loading at all. On failure reason says why.
bool CheckPatchChunk(const uint8_t* data, size_t size, bool isPreset, std::string& reason);
