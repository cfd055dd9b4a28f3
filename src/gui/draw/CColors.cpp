#include "gui/draw/CColors.h"

CColors::CColors()
{
    Init();
}

void CColors::Init()
{
    colours[0] = 0x404040;
    colours[1] = 0x282828;
    colours[2] = 0xFFFFFF;
    colours[3] = 0x808080;
}
