#include "gui/core/CDropItem.h"

#include "io/HeapString.h"

CDropItem::CDropItem(const char* name, const char* display) : display(NewString(display))
{
    SetName(name);
}

CDropItem::~CDropItem()
{
    FreeString(display);
}
