#include "io/HeapString.h"

#include <cstring>

char* NewString(const char* text)
{
    const size_t n = text ? std::strlen(text) : 0;
    char* copy = new char[n + 1];
    if (n)
        std::memcpy(copy, text, n);
    copy[n] = 0;
    return copy;
}

char* NewString(const char* text, int maxChars)
{
    size_t n = 0;
    if (text && maxChars > 0)
        while (n < static_cast<size_t>(maxChars) && text[n])
            ++n;
    char* copy = new char[n + 1];
    if (n)
        std::memcpy(copy, text, n);
    copy[n] = 0;
    return copy;
}

void FreeString(char* text)
{
    delete[] text;
}
