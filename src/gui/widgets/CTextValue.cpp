#include "gui/widgets/CTextValue.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"
#include "gui/widgets/CValue.h"

#include <algorithm>

CTextValue::CTextValue(CWin* window, const char* label, int32_t labelWidth, CValue* field)
    : CGroup(window), labelWidth(labelWidth), field(field != nullptr ? field : new CValue(window))
{
    SetText(label);
    delete this->field->OnChange;
    this->field->OnChange = new _COnChange<CTextValue>(this, &CTextValue::FieldChanged);
    this->field->tabStop = 1;
    AddChild(this->field);
}

void CTextValue::Layout()
{
    field->x = std::max(0, labelWidth);
    field->y = 0;
    field->width = std::max(0, width - field->x);
    field->height = height;
    CGroup::Layout();
}

void CTextValue::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = window != nullptr ? window->app->theme->Find("winbkgnd") : nullptr;
    g.Text(item != nullptr ? item->itemtextcol : kWhite, text, Rect{r.left, r.top, r.left + labelWidth, r.bottom},
           kAlignLeft);
    CGroup::Paint(g, r);
}

void CTextValue::FieldChanged(CCtrl*)
{
    if (OnChange != nullptr)
        OnChange->Call(this);
}
