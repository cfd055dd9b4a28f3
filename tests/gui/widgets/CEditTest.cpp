#include "gui/widgets/CEdit.h"

#include "WidgetTestKit.h"
#include "gui/draw/Colour.h"
#include "gui/platform/CClipboard.h"
#include "gui/platform/CSoftFont.h"
#include "gui/platform/InputCodes.h"
#include "support/TakeString.h"

#include <string>

namespace
{

class CEditTest : public WidgetTest
{
protected:
    // A 120 x 20 field at (10, 10) holding text, being edited, caret at the end.
    CEdit* Field(const char* text)
    {
        CEdit* e = new CEdit(win);
        e->SetText(text);
        e->OnChange = changes.Binder();
        Put(e, 10, 10, 120, 20);
        win->SetFocusCtrl(e);
        Keys({kKeyEnd});
        return e;
    }

    static std::string Clipboard() { return TakeString(BuildClipboard()->GetText(0)); }

    Reports changes;
};

TEST_F(CEditTest, EscapeRestoresTheTextEditingBeganWithAndReportsNothing)
{
    CEdit* e = Field("alpha");
    Keys({kKeyBackspace, kKeyBackspace});
    Type("ine");
    EXPECT_STREQ(e->text, "alpine");
    Keys({kKeyEscape});
    EXPECT_STREQ(e->text, "alpha");
    EXPECT_EQ(e->cancelled, 1);
    EXPECT_EQ(win->focusCtrl, nullptr);
    EXPECT_TRUE(changes.senders.empty());

    // Ctrl+Z goes back too, but editing goes on; leaving keeps and reports the text once.
    win->SetFocusCtrl(e);
    EXPECT_EQ(e->cancelled, 0);
    Type("beta");
    Keys({'Z'}, kModCtrl | kModShift);
    EXPECT_STREQ(e->text, "alpha");
    EXPECT_EQ(win->focusCtrl, e);
    Type("!");
    win->SetFocusCtrl(nullptr);
    EXPECT_STREQ(e->text, "alpha!");
    EXPECT_EQ(changes.senders, std::vector<CCtrl*>{e});
}

TEST_F(CEditTest, EnterKeepsTheTextAndIsConsumedOnlyWithCommitOnEnter)
{
    CEdit* e = Field("x");
    Type("y");
    EXPECT_FALSE(win->KeyDown(kKeyEnter, 0));
    EXPECT_EQ(win->focusCtrl, nullptr);
    EXPECT_EQ(changes.senders.size(), 1u);

    // An owner that wants only Enter to keep the text sets cancelled with commitOnEnter.
    e->commitOnEnter = 1;
    win->SetFocusCtrl(e);
    e->cancelled = 1;
    Type("z");
    EXPECT_TRUE(win->KeyDown(kKeyEnter, 0));
    EXPECT_EQ(e->cancelled, 0);
    EXPECT_STREQ(e->text, "z");
    EXPECT_EQ(changes.senders.size(), 2u);
    win->SetFocusCtrl(e);
    e->cancelled = 1;
    Type("lost");
    win->SetFocusCtrl(nullptr);
    EXPECT_EQ(changes.senders.size(), 2u);
}

TEST_F(CEditTest, WordMovesSelectionAndDeletion)
{
    CEdit* e = Field("one two  three");
    Keys({kKeyHome});
    // A selection right of the caret has a positive length; its other end stays
    // put while Shift moves the caret across it; a plain Right leaves it at its right end.
    const std::pair<int32_t, int32_t> keys[] = {
        {kKeyRight, kModCtrl}, {kKeyRight, kModCtrl}, {kKeyLeft, kModCtrl | kModShift},
        {kKeyEnd, kModShift},  {kKeyHome, kModShift}, {kKeyRight, 0}};
    std::vector<int32_t> caretAndSelection;
    for (const auto& [key, mods] : keys)
    {
        Keys({key}, mods);
        caretAndSelection.push_back(e->caret);
        caretAndSelection.push_back(e->selectionLength);
    }
    EXPECT_EQ(caretAndSelection, (std::vector<int32_t>{4, 0, 9, 0, 4, 5, 14, -5, 0, 9, 9, 0}));
    Keys({kKeyRight, kKeyRight}, kModShift);
    Type("X");
    EXPECT_STREQ(e->text, "one two  Xree");
    Keys({kKeyDelete, kKeyLeft, kKeyBackspace});
    EXPECT_STREQ(e->text, "one two Xee");
    // Ctrl+Backspace takes the word before the caret and keeps the blank.
    Keys({kKeyEnd});
    Keys({kKeyBackspace}, kModCtrl);
    EXPECT_STREQ(e->text, "one two ");
    EXPECT_EQ(e->caret, 8);
}

TEST_F(CEditTest, ClipboardKeysIgnoreCaseAndPasteOneBoundedLine)
{
    CEdit* e = Field("copy me");
    BuildClipboard()->SetText(0, "");
    Keys({kKeyLeft, kKeyLeft}, kModShift);
    Keys({'C'}, kModCtrl | kModShift);
    EXPECT_EQ(Clipboard(), "me");
    EXPECT_STREQ(e->text, "copy me");
    Keys({kKeyHome});
    Keys({kKeyRight, kKeyRight, kKeyRight, kKeyRight}, kModShift);
    Keys({'x'}, kModCtrl);
    EXPECT_EQ(Clipboard(), "copy");
    EXPECT_STREQ(e->text, " me");
    Keys({kKeyEnd});
    Keys({'V'}, kModCtrl);
    EXPECT_STREQ(e->text, " mecopy");

    // A pasted text is cut at its first line break, tabs become blanks,
    // other control characters go; the whole replaces the selection.
    BuildClipboard()->SetText(0, "a\tb\x01"
                                 "c\r\nsecond line");
    Keys({kKeyHome});
    Keys({kKeyEnd}, kModShift);
    Keys({'v'}, kModCtrl);
    EXPECT_STREQ(e->text, "a bc");
    EXPECT_EQ(e->caret, 4);

    // A great paste fills the field up to its limit and no further.
    BuildClipboard()->SetText(0, std::string(3 * kEditMaxLength, 'w').c_str());
    Keys({'v', 'v'}, kModCtrl);
    EXPECT_EQ(std::string(e->text).size(), static_cast<size_t>(kEditMaxLength));
    EXPECT_EQ(e->caret, kEditMaxLength);
    Type("q");
    EXPECT_EQ(std::string(e->text).find('q'), std::string::npos);
    win->PaintWindow(Rect{0, 0, 400, 300});
}

TEST_F(CEditTest, CaretAndSelectionBeyondAShrunkTextStayInside)
{
    CEdit* e = Field("a long text here");
    e->SetText("xyz");
    e->caret = 40;
    e->selectionLength = -80;
    win->PaintWindow(Rect{0, 0, 400, 300});
    EXPECT_EQ(e->caret, 3);
    EXPECT_EQ(e->selectionLength, -3);
    e->SetText("");
    Keys({kKeyLeft, kKeyRight, kKeyBackspace, kKeyDelete});
    Keys({'c', 'x'}, kModCtrl);
    EXPECT_EQ(e->caret, 0);
    EXPECT_STREQ(e->text, "");
}

TEST_F(CEditTest, AClickPlacesTheCaretAndADragSelects)
{
    CEdit* e = new CEdit(win);
    e->SetText("abcd");
    Put(e, 10, 10, 120, 20);
    // The caret goes to the character boundary nearest the click.
    const int32_t ab = kEditInset + CSoftFont::TextWidth("ab");
    Click(e, ab + 1, 10);
    EXPECT_EQ(win->focusCtrl, e);
    EXPECT_EQ(e->caret, 2);
    EXPECT_EQ(e->selectionLength, 0);
    Press(e, ab - 1, 10);
    Drag(e, kEditInset + CSoftFont::TextWidth("abcd") + 30, 10);
    Release(e, 200, 10);
    EXPECT_EQ(e->caret, 4);
    EXPECT_EQ(e->selectionLength, -2);
    // The selection's band lies behind "cd" only, from the top of the text's line (row 3 of the field).
    win->PaintWindow(Rect{0, 0, win->width, win->height});
    CDrawContext* dc = screen.Context(win->hwnd);
    const int32_t left = 10 + ab;
    EXPECT_EQ(dc->GetPixel(left - 1, 10 + 3), 0x282828u);
    EXPECT_EQ(dc->GetPixel(left + 1, 10 + 3), Mix(0x282828, 0xFFFFFF, 0.35));
}

}  // namespace
