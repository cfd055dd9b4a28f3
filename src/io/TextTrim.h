#pragma once

#include <cstddef>

// A view of part of a text: size characters from text (not terminated).
struct TextSpan
{
    const char* text;
    size_t size;
};

// True for the characters that settings files and text lines ignore at the
// ends of a line: blanks, tabs, carriage returns and line feeds.
inline bool IsTrimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The span without its leading and trailing trimmed characters.
inline TextSpan Trim(const char* text, size_t size)
{
    while (size > 0 && IsTrimmed(*text))
    {
        ++text;
        --size;
    }
    while (size > 0 && IsTrimmed(text[size - 1]))
        --size;
    return {text, size};
}

// True when the span equals the zero-terminated word exactly.
bool SpanEquals(TextSpan span, const char* word);
