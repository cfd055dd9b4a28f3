#include "io/CStringList.h"

#include "io/HeapString.h"
#include "io/TextTrim.h"

#include <cstdio>
#include <cstring>

CStringItem::CStringItem(const char* value) : text(NewString(value))
{
}

CStringItem::~CStringItem()
{
    FreeString(text);
}

void CStringItem::SetText(const char* value)
{
    char* copy = NewString(value);
    FreeString(text);
    text = copy;
}

CStringList::~CStringList()
{
    Clear();
}

bool CStringList::LoadFromFile(const char* path)
{
    FILE* file = path ? std::fopen(path, "r") : nullptr;
    if (!file)
        return false;
    Clear();
    char line[kMaxLineChars + 1];
    while (std::fgets(line, sizeof line, file))
    {
        const TextSpan trimmed = Trim(line, std::strlen(line));
        char* copy = NewString(trimmed.text, static_cast<int>(trimmed.size));
        Add(copy);
        FreeString(copy);
    }
    std::fclose(file);
    return true;
}

bool CStringList::SaveToFile(const char* path) const
{
    // Binary mode: the same bytes on every platform; readers drop the CR.
    FILE* file = path ? std::fopen(path, "wb") : nullptr;
    if (!file)
        return false;
    bool ok = true;
    for (int i = 0; i < Count(); ++i)
    {
        if (i > 0)
            ok = ok && std::fputs("\r\n", file) >= 0;
        ok = ok && std::fputs(Get(i), file) >= 0;
    }
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

void CStringList::Add(const char* text)
{
    items.Add(new CStringItem(text));
}

void CStringList::Insert(int index, const char* text)
{
    items.Insert(index, new CStringItem(text));
}

void CStringList::Set(int index, const char* text)
{
    if (auto* item = static_cast<CStringItem*>(items.Get(index)))
        item->SetText(text);
}

const char* CStringList::Get(int index) const
{
    const auto* item = static_cast<const CStringItem*>(items.Get(index));
    return item ? item->Text() : nullptr;
}

void CStringList::Clear()
{
    while (items.Count() > 0)
        delete static_cast<CStringItem*>(items.RemoveAt(0));
}
