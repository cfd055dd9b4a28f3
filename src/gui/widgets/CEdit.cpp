#include "gui/widgets/CEdit.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/CClipboard.h"
#include "gui/platform/InputCodes.h"
#include "io/HeapString.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr char kBlank = ' ';
// How strongly the selection's background leans from the fill to the text colour.
constexpr double kSelectionMix = 0.35;

bool IsLetterKey(int32_t key, char lower)
{
    return key == lower || key == lower - 'a' + 'A';
}

}  // namespace

CEdit::CEdit(CWin* window) : CCtrl(window), savedText(NewString(""))
{
    cursor = 1;
}

CEdit::~CEdit()
{
    FreeString(savedText);
}

int32_t CEdit::Length() const
{
    return static_cast<int32_t>(std::strlen(text));
}

bool CEdit::Editing() const
{
    return window != nullptr && window->focusCtrl == this;
}

void CEdit::EndEditing()
{
    if (Editing())
        window->SetFocusCtrl(nullptr);
}

void CEdit::ClampCaret()
{
    const int32_t length = Length();
    caret = std::clamp(caret, 0, length);
    selectionLength = std::clamp(caret + selectionLength, 0, length) - caret;
    selectAnchor = std::clamp(selectAnchor, 0, length);
}

int32_t CEdit::SelectionStart() const
{
    return std::min(caret, caret + selectionLength);
}

int32_t CEdit::SelectionEnd() const
{
    return std::max(caret, caret + selectionLength);
}

void CEdit::SelectAll()
{
    caret = Length();
    selectionLength = -caret;
}

void CEdit::MoveCaret(int32_t target, bool extend)
{
    const int32_t anchor = caret + selectionLength;
    caret = std::clamp(target, 0, Length());
    selectionLength = extend ? anchor - caret : 0;
}

bool CEdit::Accepts(char) const
{
    return true;
}

void CEdit::Replace(int32_t start, int32_t end, const std::string& insert)
{
    std::string s = text;
    s.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), insert);
    SetText(s.c_str());
    caret = start + static_cast<int32_t>(insert.size());
    selectionLength = 0;
}

void CEdit::ReplaceSelection(const char* insert)
{
    ClampCaret();
    const int32_t start = SelectionStart();
    const int32_t end = SelectionEnd();
    const size_t room = static_cast<size_t>(std::max(0, kEditMaxLength - (Length() - (end - start))));
    std::string clean;
    for (const char* p = insert != nullptr ? insert : ""; *p != 0 && clean.size() < room; ++p)
    {
        const unsigned char c = static_cast<unsigned char>(*p);
        // One line only: whatever follows a line break is not taken.
        if (c == '\r' || c == '\n')
            break;
        const char ch = c == '\t' ? kBlank : static_cast<char>(c);
        if ((c >= 32 && c != 127) || c == '\t')
            if (Accepts(ch))
                clean += ch;
    }
    Replace(start, end, clean);
}

void CEdit::Commit()
{
    if (std::strcmp(text, savedText) != 0)
    {
        char* copy = NewString(text);
        FreeString(savedText);
        savedText = copy;
        if (OnChange != nullptr)
            OnChange->Call(this);
    }
}

void CEdit::Focus(bool gained)
{
    selecting = false;
    if (gained)
    {
        char* copy = NewString(text);
        FreeString(savedText);
        savedText = copy;
        cancelled = 0;
        SelectAll();
    }
    else
    {
        textScroll = 0;
        selectionLength = 0;
        if (!cancelled)
            Commit();
    }
}

bool CEdit::HandleCtrlLetter(int32_t key)
{
    CClipboard* clipboard = BuildClipboard();
    const SysWindow owner = window != nullptr ? window->hwnd : 0;
    if (IsLetterKey(key, 'z'))
    {
        SetText(savedText);
        caret = Length();
        selectionLength = 0;
        return true;
    }
    if (IsLetterKey(key, 'c') || IsLetterKey(key, 'x'))
    {
        const int32_t start = SelectionStart();
        const int32_t end = SelectionEnd();
        if (start == end)
            return true;
        const std::string selected(text + start, static_cast<size_t>(end - start));
        // A cut whose copy the system refused would lose the text: keep it then.
        if (clipboard->SetText(owner, selected.c_str()) && IsLetterKey(key, 'x'))
            Replace(start, end, std::string());
        return true;
    }
    if (IsLetterKey(key, 'v'))
    {
        char* pasted = clipboard->GetText(owner);
        ReplaceSelection(pasted);
        FreeString(pasted);
        return true;
    }
    return false;
}

bool CEdit::KeyDown(int32_t key, int32_t mods)
{
    if (CCtrl::KeyDown(key, mods))
        return true;
    ClampCaret();
    const bool shift = (mods & kModShift) != 0;
    // Ctrl with Alt is AltGr: its characters are typed, not commands.
    const bool ctrl = (mods & kModCtrl) && !(mods & kModAlt);
    const int32_t length = Length();
    const int32_t start = SelectionStart();
    const int32_t end = SelectionEnd();
    switch (key)
    {
    case kKeyEscape:
        SetText(savedText);
        caret = Length();
        selectionLength = 0;
        cancelled = 1;
        EndEditing();
        Invalidate();
        return true;
    case kKeyEnter:
        if (commitOnEnter)
            cancelled = 0;
        EndEditing();
        return commitOnEnter != 0;
    case kKeyDelete:
        if (start != end)
            Replace(start, end, std::string());
        else if (caret < length)
            Replace(caret, caret + 1, std::string());
        break;
    case kKeyBackspace:
        if (start != end)
        {
            Replace(start, end, std::string());
        }
        else if (ctrl)
        {
            int32_t i = caret;
            while (i > 0 && text[i - 1] == kBlank)
                --i;
            while (i > 0 && text[i - 1] != kBlank)
                --i;
            Replace(i, caret, std::string());
        }
        else if (caret > 0)
        {
            Replace(caret - 1, caret, std::string());
        }
        break;
    case kKeyLeft:
        if (ctrl)
        {
            int32_t i = caret;
            while (i > 0 && text[i - 1] == kBlank)
                --i;
            while (i > 0 && text[i - 1] != kBlank)
                --i;
            MoveCaret(i, shift);
        }
        else
        {
            MoveCaret(!shift && start != end ? start : caret - 1, shift);
        }
        break;
    case kKeyRight:
        if (ctrl)
        {
            int32_t i = caret;
            while (i < length && text[i] != kBlank)
                ++i;
            while (i < length && text[i] == kBlank)
                ++i;
            MoveCaret(i, shift);
        }
        else
        {
            MoveCaret(!shift && start != end ? end : caret + 1, shift);
        }
        break;
    case kKeyHome:
        MoveCaret(0, shift);
        break;
    case kKeyEnd:
        MoveCaret(length, shift);
        break;
    default:
        if (ctrl)
        {
            if (!HandleCtrlLetter(key))
                return false;
        }
        else if (key >= 32 && key != 127 && key <= 255)
        {
            const char typed[2] = {static_cast<char>(key), 0};
            ReplaceSelection(typed);
        }
        else
        {
            return false;
        }
        break;
    }
    Invalidate();
    return true;
}

int32_t CEdit::PrefixWidth(int32_t n)
{
    if (window == nullptr || window->graphic == nullptr || n <= 0)
        return 0;
    const std::string prefix(text, static_cast<size_t>(std::min(n, Length())));
    return window->graphic->TextWidth(prefix.c_str());
}

int32_t CEdit::CharAt(int32_t x)
{
    const int32_t target = x - TextArea().left + textScroll;
    // Prefix widths grow with n: the first prefix reaching the target, or the one before it.
    int32_t low = 0;
    int32_t high = Length();
    while (low < high)
    {
        const int32_t mid = (low + high) / 2;
        if (PrefixWidth(mid) < target)
            low = mid + 1;
        else
            high = mid;
    }
    if (low > 0 && target - PrefixWidth(low - 1) < PrefixWidth(low) - target)
        --low;
    return low;
}

Rect CEdit::TextArea() const
{
    return Rect{kEditInset, 0, width - kEditInset, height};
}

const CSkinItem* CEdit::Item(const char* key) const
{
    if (window == nullptr || window->app == nullptr)
        return nullptr;
    return window->app->theme->Find(key);
}

void CEdit::PaintText(CGraphic& g, Rect area, const CSkinItem* item, bool showCaret)
{
    if (area.IsEmpty())
        return;
    ClampCaret();
    const uint32_t textColour = item != nullptr ? item->itemtextcol : kWhite;
    const int32_t lineHeight = g.dc->LineHeight();
    const int32_t lineTop = area.top + (area.Height() - lineHeight) / 2;
    if (showCaret)
    {
        // Keep the caret in view, and no more text scrolled out than needed.
        const int32_t caretX = PrefixWidth(caret);
        const int32_t room = area.Width() - 1;
        textScroll = std::min(textScroll, std::max(0, g.TextWidth(text) - room));
        textScroll = std::clamp(textScroll, std::max(0, caretX - room), caretX);
    }
    else
    {
        textScroll = 0;
    }
    const Rect oldClip = g.clip;
    g.clip = Intersection(g.clip, g.ToDevice(area));
    if (!g.clip.IsEmpty())
    {
        const int32_t left = area.left - textScroll;
        if (showCaret && selectionLength != 0)
        {
            const uint32_t fill = item != nullptr ? item->itemfillcol : 0;
            const Rect band{left + PrefixWidth(SelectionStart()), lineTop, left + PrefixWidth(SelectionEnd()),
                            lineTop + lineHeight};
            g.FillRect(Mix(fill, textColour, kSelectionMix), band);
        }
        g.Text(textColour, text, Rect{left, area.top, area.right, area.bottom}, kAlignLeft);
        if (showCaret)
        {
            const int32_t x = left + PrefixWidth(caret);
            g.FillRect(textColour, Rect{x, lineTop, x + 1, lineTop + lineHeight});
        }
    }
    g.clip = oldClip;
}

void CEdit::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = Item("value");
    DrawItem(g, r, item, 0);
    PaintText(g, TextArea(), item, Editing());
    CCtrl::Paint(g, r);
}

void CEdit::MouseDown(int32_t x, int32_t y, int32_t flags)
{
    if (flags & kMouseLeft)
    {
        if (!Editing() && window != nullptr)
            window->SetFocusCtrl(this);
        ClampCaret();
        const int32_t at = CharAt(x);
        if (flags & kModShift)
        {
            MoveCaret(at, true);
        }
        else
        {
            caret = at;
            selectionLength = 0;
        }
        selectAnchor = caret + selectionLength;
        selecting = true;
        Invalidate();
    }
    CCtrl::MouseDown(x, y, flags);
}

void CEdit::MouseMove(int32_t x, int32_t y, int32_t flags)
{
    CCtrl::MouseMove(x, y, flags);
    if (!selecting || !(flags & kMouseLeft))
        return;
    ClampCaret();
    caret = CharAt(x);
    selectionLength = selectAnchor - caret;
    Invalidate();
}

void CEdit::MouseUp(int32_t x, int32_t y, int32_t flags)
{
    selecting = false;
    CCtrl::MouseUp(x, y, flags);
}
