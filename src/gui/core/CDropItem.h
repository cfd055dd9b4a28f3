#pragma once

#include "io/CObject.h"

#include <cstdint>

// The thing being dragged or dropped: a name and a display text (both the
// full path for a file) and two integers of the drag source.
class CDropItem : public CObject
{
public:
    CDropItem(const char* name, const char* display);
    ~CDropItem() override;

    const char* Display() const { return display; }

    int32_t sourceValue1 = 0;
    int32_t sourceValue2 = 0;

private:
    char* display;  // owned
};
