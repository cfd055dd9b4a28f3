#pragma once

#include "gui/core/CWin.h"
#include "io/CList.h"

#include <cstdint>

// A container of embedded child windows (style 0x800000): it keeps the
// shown children in front-to-back order and knows the active one (the
// child raised last). A child that comes to the front or closes tells the
// container, which then calls its OnChange binder, except while the
// container itself is being destroyed.
class CMDI : public CWin
{
public:
    // kWinContainer is added to style.
    CMDI(CApp* app, CWin* owner, uint32_t style, const char* title, int32_t x, int32_t y, int32_t width,
         int32_t height);
    ~CMDI() override;

    // A shown child that came to the front moves to the front of the order
    // and becomes active; a child that closed leaves the order and is no
    // longer active. OnChange follows.
    void ChildChanged(CWin* child, bool closed) override;

    // The child at position index of the order, front first; null outside it.
    CWin* Child(int32_t index) const { return static_cast<CWin*>(order.Get(index)); }

    CList order;  // shown children, front to back (not owned)
    CWin* activeChild = nullptr;
    uint8_t destroying = 0;
};
