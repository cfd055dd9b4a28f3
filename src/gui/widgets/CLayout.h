#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>

// A group filled with the window colour ("winbkgnd"'s fill) behind its
// children, remembering the child added last so that a builder can place
// the next control relative to it.
class CLayout : public CGroup
{
public:
    explicit CLayout(CWin* window);

    // PaintBackground, then the group painting.
    void Paint(CGraphic& g, Rect r) override;
    void AddChild(CCtrl* child) override;
    void DeleteChildren() override;
    // Fills r with the window colour.
    virtual void PaintBackground(CGraphic& g, Rect r);

    // The child added last, or null when there is none or it has gone.
    CCtrl* Last() const;

private:
    CCtrl* last = nullptr;  // not owned: one of the children
};

// A bar of tools: a layout drawn as the "toolbar" item, 22 pixels high.
class CToolbar : public CLayout
{
public:
    explicit CToolbar(CWin* window);

    void PaintBackground(CGraphic& g, Rect r) override;
};

// A placement cursor for building rows and columns of controls. CBox
// itself places nothing: all three operations do nothing.
class CBox
{
public:
    virtual ~CBox() = default;
    // Moves the cursor by (dx, dy) along its axis.
    virtual void Advance(int32_t dx, int32_t dy);
    // Takes note of a control placed at the cursor.
    virtual void Place(const CCtrl& c);
    // Leaves n pixels free along the axis.
    virtual void Skip(int32_t n);
};

// A running x: Advance adds dx, Skip adds n, Place moves x to the placed
// control's right edge when that lies further right.
class CRow : public CBox
{
public:
    explicit CRow(int32_t x = 0) : x(x) {}

    void Advance(int32_t dx, int32_t dy) override;
    void Place(const CCtrl& c) override;
    void Skip(int32_t n) override;

    int32_t x;
};

// A running y: Advance adds dy and Skip adds n; Place does nothing.
class CCol : public CBox
{
public:
    explicit CCol(int32_t y = 0) : y(y) {}

    void Advance(int32_t dx, int32_t dy) override;
    void Skip(int32_t n) override;

    int32_t y;
};
