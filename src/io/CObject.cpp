#include "io/CObject.h"

#include "io/HeapString.h"

CObject::CObject() : name(NewString(""))
{
}

CObject::~CObject()
{
    FreeString(name);
}

char* CObject::GetName()
{
    return NewString(name);
}

void CObject::SetName(const char* text)
{
    char* copy = NewString(text);
    FreeString(name);
    name = copy;
}
