#pragma once

// Root of the toolkit's object tree: a virtual destructor and an owned name.
class CObject
{
public:
    CObject();
    virtual ~CObject();

    // A new heap-string copy of the name; the caller frees it.
    virtual char* GetName();
    // Replaces the name with a copy of text.
    virtual void SetName(const char* text);

    // The name as stored (never null); valid until the next SetName.
    const char* Name() const { return name; }

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    char* name;
};
