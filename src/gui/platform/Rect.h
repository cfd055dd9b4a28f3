#pragma once

#include <cstdint>

// A pixel rectangle: left and top inclusive, right and bottom exclusive.
// Passed by value everywhere in the toolkit.
struct Rect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

inline bool operator==(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline bool operator!=(const Rect& a, const Rect& b)
{
    return !(a == b);
}

// The same area with reversed edges swapped back.
Rect Normalised(Rect r);

// The common area of a and b; empty (possibly with right < left) when they do not meet.
Rect Intersection(const Rect& a, const Rect& b);

// The smallest rectangle holding both; an empty rectangle adds nothing.
Rect Union(const Rect& a, const Rect& b);

Rect Offset(const Rect& r, int32_t dx, int32_t dy);
