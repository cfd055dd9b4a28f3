#pragma once

#include "gui/draw/CSkinItem.h"
#include "io/CList.h"
#include "io/CObject.h"

#include <cstdint>

// A theme: the named skin items that give every standard control its look.
// Built by Init from the default theme; items are looked up by key.
class CGui : public CObject
{
public:
    static constexpr int32_t kMaxItems = 127;

    CGui() = default;
    ~CGui() override;

    // Replaces every item by the default theme.
    virtual void Init();
    // Tells the theme's users that items were changed; nothing in the base.
    virtual void Changed();

    // The item of key, or null.
    CSkinItem* Find(const char* key) const;
    // A new item of key with the default properties, or null when the theme
    // is full (the item is not made).
    CSkinItem* AddItem(const char* key);
    int32_t Count() const { return items.Count(); }
    CSkinItem* Item(int32_t index) const { return static_cast<CSkinItem*>(items.Get(index)); }

private:
    void DeleteItems();

    CList items;  // of owned CSkinItem
};
