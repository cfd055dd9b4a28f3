#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>
#include <string>
#include <vector>

class CSynthResources;

// The header of an editor panel: the panel's name, or a row of 40-pixel
// entries centred in the header, one of which is selected (kept in a field
// of the view state). Releasing on an entry selects it and asks for a
// rebuild; a left release on the selected entry first calls the advance
// binder, and a right release afterwards calls the menu binder.
class CHeader : public CGroup
{
public:
    static constexpr int32_t kWidth = 264;
    static constexpr int32_t kHeight = 20;
    static constexpr int32_t kEntryWidth = 40;

    // selected points into resources (not owned); null for a plain title.
    CHeader(CWin* window, CSynthResources* resources, std::vector<std::string> entries, int32_t* selected);
    ~CHeader() override;

    void Paint(CGraphic& g, Rect r) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // The entry under local x; -1 for none (or with fewer than two entries).
    int32_t EntryAt(int32_t x) const;
    int32_t Selected() const { return selected != nullptr ? *selected : 0; }

    std::vector<std::string> entries;
    bool selectable;
    int32_t* selected;
    CSynthResources* resources;
    COnChange* OnAdvance = nullptr;  // owned
    COnMouse* OnMenu = nullptr;      // owned

private:
    int32_t RowLeft() const;
};
