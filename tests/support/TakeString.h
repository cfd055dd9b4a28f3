#pragma once

#include "io/HeapString.h"

#include <string>

// The text of a heap string returned to the caller, released.
inline std::string TakeString(char* text)
{
    std::string copy = text;
    FreeString(text);
    return copy;
}
