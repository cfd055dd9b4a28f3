#include "gui/widgets/CMenuItem.h"

#include "gui/widgets/CPopup.h"

CMenuItem::CMenuItem(const char* caption, int32_t id, int32_t entryKind) : CCtrl(nullptr), entryKind(entryKind)
{
    SetText(caption);
    this->id = id;
}

CMenuItem::~CMenuItem()
{
    // The popups showing our entries lose them first, so that none paints
    // or reports an entry being deleted.
    while (shownIn.Count() > 0)
        static_cast<CPopup*>(shownIn.RemoveAt(0))->SourceGone();
    DeleteEntries();
    if (parentEntry != nullptr)
    {
        parentEntry->entries.Remove(this);
        parentEntry->EntriesChanged();
    }
}

void CMenuItem::EntriesChanged()
{
    for (int32_t i = 0; i < shownIn.Count(); ++i)
        static_cast<CPopup*>(shownIn.Get(i))->EntriesChanged();
}

CMenuItem* CMenuItem::Add(CMenuItem* entry)
{
    if (entry->parentEntry != nullptr)
        entry->parentEntry->entries.Remove(entry);
    entry->parentEntry = this;
    entries.Add(entry);
    if (entryKind == kEntryPlain)
        entryKind = kEntrySubmenu;
    EntriesChanged();
    return entry;
}

CMenuItem* CMenuItem::Add(const char* caption, int32_t id, int32_t kind)
{
    return Add(new CMenuItem(caption, id, kind));
}

CMenuItem* CMenuItem::AddSeparator()
{
    return Add(new CMenuItem("", 0, kEntrySeparator));
}

void CMenuItem::AddChoice(const char* label)
{
    choices.Add(label);
    if (parentEntry != nullptr)
        parentEntry->EntriesChanged();
}

void CMenuItem::DeleteEntries()
{
    while (entries.Count() > 0)
    {
        CMenuItem* e = static_cast<CMenuItem*>(entries.RemoveAt(0));
        e->parentEntry = nullptr;
        delete e;
    }
    EntriesChanged();
}

void CMenuItem::Report()
{
    for (CMenuItem* e = this; e != nullptr; e = e->parentEntry)
        if (e->OnChange != nullptr)
        {
            e->OnChange->Call(this);
            return;
        }
}
