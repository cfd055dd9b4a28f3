#pragma once

#include <cstdint>

// A small palette of the toolkit's greys.
class CColors
{
public:
    static constexpr int32_t kCount = 4;

    CColors();
    virtual ~CColors() = default;

    // Fills the palette: 0x404040, 0x282828, white, 0x808080.
    virtual void Init();

    uint32_t colours[kCount];
};
