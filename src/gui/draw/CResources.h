#pragma once

#include "io/CObject.h"

// An application's holder of shared resources (pictures, view state);
// applications derive their own.
class CResources : public CObject
{
public:
    CResources() = default;
};
