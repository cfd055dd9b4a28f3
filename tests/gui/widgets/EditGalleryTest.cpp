#include "EditTestKit.h"
#include "Gallery.h"
#include "gui/core/InputCodes.h"
#include "gui/draw/Colour.h"
#include "gui/platform/CSoftContext.h"
#include "gui/platform/CSoftFont.h"
#include "gui/widgets/CDecimalValue.h"
#include "gui/widgets/CDropdown.h"
#include "gui/widgets/CEdit.h"
#include "gui/widgets/CIncDec.h"
#include "gui/widgets/CTextValue.h"
#include "gui/widgets/CValue.h"

namespace
{

class EditGalleryTest : public EditTestKit
{
public:
    void Nothing(CCtrl*) {}
};

// One of each control of the family, one field being edited, for a person to judge.
TEST_F(EditGalleryTest, OneOfEachControl)
{
    CEdit* plain = new CEdit(win);
    plain->SetText("an edit field");
    Put(plain, 10, 10, 140, 20);
    CEdit* edited = new CEdit(win);
    edited->SetText("being edited");
    Put(edited, 160, 10, 140, 20);
    CValue* number = new CValue(win);
    number->SetRange(-100, 100);
    number->SetValue(-42);
    Put(number, 10, 40, 60, 20);
    CDecimalValue* decimal = new CDecimalValue(win, 2);
    decimal->SetRange(0, 10000);
    decimal->SetValue(440);
    Put(decimal, 80, 40, 70, 20);
    Put(new CIncDec(win), 160, 42, 32, 16);
    CTextValue* labelled = new CTextValue(win, "Voices", 50);
    labelled->field->SetRange(1, 16);
    labelled->field->SetValue(8);
    Put(labelled, 200, 40, 100, 20);
    CDropdown* list = new CDropdown(win);
    list->AddEntry("Low-pass");
    list->AddEntry("High-pass");
    list->SetSelection(0);
    Put(list, 10, 70, 140, 20);
    CDropdown* steps = new CDropdown(win);
    steps->AddEntry("Saw");
    steps->mode = kDropdownStepArrows;
    steps->SetSelection(0);
    Put(steps, 160, 70, 140, 20);
    CDropdown* editable = new CDropdown(win);
    editable->editable = 1;
    editable->AddEntry("Init patch");
    editable->SetSelection(0);
    editable->OnLeftButton = new _COnChange<EditGalleryTest>(this, &EditGalleryTest::Nothing);
    Put(editable, 10, 100, 290, 20);
    win->Layout();

    win->SetFocusCtrl(edited);
    Keys({kKeyEnd});
    Keys({kKeyLeft}, kModCtrl | kModShift);
    Pump();
    win->PaintWindow(Rect{0, 0, win->width, win->height});
    CDrawContext* surface = screen.Context(win->hwnd);
    ASSERT_NE(surface, nullptr);
    // The selection's band lies behind "edited" only, at the top of the text's
    // line (row 3 of the field, above the glyphs).
    const int32_t left = 3 + 160 + kEditInset;
    const int32_t row = 3 + 10 + 3;
    const int32_t selected = left + CSoftFont::TextWidth("being ");
    EXPECT_EQ(surface->GetPixel(selected - 1, row), 0x282828u);
    EXPECT_EQ(surface->GetPixel(selected + 1, row), Mix(0x282828, 0xFFFFFF, 0.35));
    EXPECT_EQ(surface->GetPixel(left + CSoftFont::TextWidth("being edited") - 1, row), Mix(0x282828, 0xFFFFFF, 0.35));
    EXPECT_TRUE(WriteGalleryPng(*surface, "edit-controls", 2));
}

} // namespace
