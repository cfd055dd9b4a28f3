#include "gui/draw/CGui.h"

#include "gui/draw/Colour.h"

#include <cstring>
#include <initializer_list>

namespace
{

// The window colour is winbkgnd's fill; the panel colour is black.
constexpr uint32_t kWindowColour = 0x505050;
constexpr uint32_t kPanelColour = 0x000000;
constexpr uint32_t kDark = 0x282828;
constexpr uint32_t kBar = 0x404040;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kSilver = 0xC0C0C0;
constexpr uint32_t kBlue = 0xFF0000;
constexpr float kCaptionGloss = 0.25f;

}  // namespace

CGui::~CGui()
{
    DeleteItems();
}

void CGui::DeleteItems()
{
    for (int32_t i = 0; i < items.Count(); ++i)
        delete Item(i);
    items.Clear();
}

CSkinItem* CGui::Find(const char* key) const
{
    for (int32_t i = 0; i < items.Count(); ++i)
        if (std::strcmp(Item(i)->itemid, key) == 0)
            return Item(i);
    return nullptr;
}

CSkinItem* CGui::AddItem(const char* key)
{
    if (items.Count() >= kMaxItems)
        return nullptr;
    CSkinItem* item = new CSkinItem(key);
    items.Add(item);
    return item;
}

void CGui::Changed()
{
}

void CGui::Init()
{
    DeleteItems();
    auto add = [this](const char* key, int32_t id2)
    {
        CSkinItem* item = AddItem(key);
        item->itemid2 = id2;
        return item;
    };

    CSkinItem* item = add("winbkgnd", 47);
    item->SetSolid(kWindowColour);
    item->itemshape = kShapeCut;
    item->SetFrame(kWhite);
    item->itemtextcol = kWhite;

    for (const char* key : {"winclose", "winclosemouseover", "winmin", "winminmouseover", "winmax", "winmaxmouseover"})
        add(key, 86)->itemsymbcol = kWhite;

    item = add("caption", 55);
    item->height = 20;
    item->itemfilleffect = kCaptionGloss;
    item->SetShaded(kShadeGloss, kDark, 0);
    item->itemtextcol = kWhite;

    item = add("menubar", 183);
    item->height = 20;
    item->SetSolid(kBar);

    item = add("menubarsel", 39);
    item->width = 20;
    item->SetSolid(kBar);

    item = add("menu", 103);
    item->SetSolid(kPanelColour);
    item->itemshape = kShapeCut;
    item->SetFrame(kDark);
    item->itemtextcol = kWhite;

    item = add("menusel", 103);
    item->SetSolid(kPanelColour);
    item->itemshape = kShapeCut;
    item->itemtextcol = kWhite;

    item = add("menutabs", 151);
    item->itemshape = kShapeCut;
    item->itemfillalign = kBevelTopBottom;
    item->SetShaded(kShadeBevel, kWindowColour, kDark);
    item->SetFrame(kDark);

    add("menutab", 55)->itemtextcol = kGrey;
    add("menutabsel", 55)->itemtextcol = kWhite;

    item = add("toolbar", 7);
    item->height = 22;
    item->SetSolid(kWindowColour);

    add("toolbarcontrols", 119)->SetSolid(kWindowColour);
    add("toolbarcontrolspushed", 64)->SetSolid(kWindowColour);

    item = add("panel", 15);
    item->SetSolid(kWindowColour);
    item->itemshape = kShapeCut;

    item = add("button", 39);
    item->itemshape = kShapeCut;
    item->itemfilleffect = kCaptionGloss;
    item->SetShaded(kShadeGloss, kDark, 0);
    item->itemtextcol = kSilver;

    for (const char* key : {"speedbutton", "speedbuttonpushed"})
    {
        item = add(key, 119);
        item->SetSolid(kPanelColour);
        item->itemshape = kShapeCut;
    }
    item = add("speedbuttonmouseover", 23);
    item->SetSolid(kPanelColour);
    item->itemshape = kShapeCut;

    item = add("dropdown", 119);
    item->SetSolid(kDark);
    item->itemshape = kShapeCut;
    item->itemtextcol = kSilver;

    item = add("dropdownmenu", 39);
    item->SetSolid(kWindowColour);
    item->itemshape = kShapeCut;
    item->itemtextcol = kSilver;

    item = add("dropdownmenuselected", 39);
    item->SetSolid(kDark);
    item->itemtextcol = kSilver;

    item = add("listbox", 39);
    item->SetSolid(kPanelColour);
    item->itemshape = kShapeCut;
    item->SetFrame(0x000000);
    item->itemtextcol = kWhite;

    item = add("listboxsel", 39);
    item->SetSolid(kPanelColour);
    item->itemshape = kShapeCut;
    item->itemtextcol = kWhite;

    item = add("tabs", 55);
    item->SetSolid(kPanelColour);
    item->itemshape = kShapeCut;

    add("tabssel", 39)->SetSolid(kPanelColour);

    item = add("tree", 102);
    item->SetSolid(kWindowColour);
    item->itemshape = kShapeCut;
    item->itemtextcol = kWhite;
    item->itemsymbcol = kGrey;

    item = add("treesel", 103);
    item->height = 18;
    item->SetSolid(kBlue);
    item->itemshape = kShapeCut;
    item->itemtextcol = kWhite;

    item = add("value", 39);
    item->SetSolid(kDark);
    item->itemshape = kShapeCut;
    item->itemtextcol = kWhite;

    struct Bar
    {
        const char* key;
        int32_t id2;
        int32_t width;
        int32_t height;
    };
    for (const Bar& bar :
         {Bar{"scrollbarhorz", 4, 0, 16}, Bar{"scrollbarvert", 4, 16, 0}, Bar{"scrollbarhorzthumb", 7, 0, 16},
          Bar{"scrollbarvertthumb", 7, 16, 0}, Bar{"scrollbarleft", 71, 16, 16}, Bar{"scrollbarup", 71, 16, 16},
          Bar{"scrollbarright", 71, 16, 16}, Bar{"scrollbardown", 71, 16, 16}})
    {
        item = add(bar.key, bar.id2);
        item->width = bar.width;
        item->height = bar.height;
        item->SetSolid(kBar);
        item->itemtextcol = kWhite;
    }
}
