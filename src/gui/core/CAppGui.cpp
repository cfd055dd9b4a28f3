#include "gui/core/CAppGui.h"

CAppGui::~CAppGui()
{
    delete themeChanged;
    delete itemsChanged;
}

void CAppGui::Init()
{
    CGui::Init();
    if (themeChanged != nullptr)
        themeChanged->Call(nullptr);
}

void CAppGui::Changed()
{
    if (itemsChanged != nullptr)
        itemsChanged->Call(nullptr);
}
