#include "io/TextTrim.h"

#include <cstring>

bool SpanEquals(TextSpan span, const char* word)
{
    return std::strlen(word) == span.size && std::memcmp(span.text, word, span.size) == 0;
}
