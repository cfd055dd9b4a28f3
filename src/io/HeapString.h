#pragma once

// Heap strings: the one owned text type that crosses the core interface and
// the toolkit. A string returned by an operation belongs to the caller; a
// string passed in belongs to the receiver. Always release with FreeString.

// A new zero-terminated copy of text (an empty string for null).
char* NewString(const char* text);

// A new zero-terminated copy of at most maxChars characters of text.
char* NewString(const char* text, int maxChars);

// Releases a string made by NewString; null is allowed.
void FreeString(char* text);
