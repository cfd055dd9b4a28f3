#pragma once

#include "gui/platform/Rect.h"

#include <cstdint>

class CCtrl;
class CGraphic;

// The record a key binder receives.
struct KeyRecord
{
    int32_t key;   // key code (see InputCodes.h)
    int32_t mods;  // kModShift | kModCtrl | kModAlt
};

// Event binders: how a control reports to its owner. Each abstract class has
// one operation, Call; the _C... template of each holds an object of class T
// and one of its member functions and forwards the call to it unchanged. The
// control that is given a binder owns it.

class COnChange
{
public:
    virtual ~COnChange() = default;
    virtual void Call(CCtrl* sender) = 0;
};

template <class T>
class _COnChange : public COnChange
{
public:
    using Handler = void (T::*)(CCtrl*);
    _COnChange(T* object, Handler handler) : object(object), handler(handler) {}
    void Call(CCtrl* sender) override { (object->*handler)(sender); }

private:
    T* object;
    Handler handler;
};

// Mouse events, drag start, drop and drag-over; x and y are local to sender.
class COnMouse
{
public:
    virtual ~COnMouse() = default;
    virtual void Call(CCtrl* sender, int32_t x, int32_t y, int32_t flags) = 0;
};

template <class T>
class _COnMouse : public COnMouse
{
public:
    using Handler = void (T::*)(CCtrl*, int32_t, int32_t, int32_t);
    _COnMouse(T* object, Handler handler) : object(object), handler(handler) {}
    void Call(CCtrl* sender, int32_t x, int32_t y, int32_t flags) override { (object->*handler)(sender, x, y, flags); }

private:
    T* object;
    Handler handler;
};

class COnPaint
{
public:
    virtual ~COnPaint() = default;
    virtual void Call(CCtrl* sender, CGraphic& g, Rect r) = 0;
};

template <class T>
class _COnPaint : public COnPaint
{
public:
    using Handler = void (T::*)(CCtrl*, CGraphic&, Rect);
    _COnPaint(T* object, Handler handler) : object(object), handler(handler) {}
    void Call(CCtrl* sender, CGraphic& g, Rect r) override { (object->*handler)(sender, g, r); }

private:
    T* object;
    Handler handler;
};

// Returns true when the key was handled.
class COnKey
{
public:
    virtual ~COnKey() = default;
    virtual bool Call(CCtrl* sender, KeyRecord* key, int32_t mods) = 0;
};

template <class T>
class _COnKey : public COnKey
{
public:
    using Handler = bool (T::*)(CCtrl*, KeyRecord*, int32_t);
    _COnKey(T* object, Handler handler) : object(object), handler(handler) {}
    bool Call(CCtrl* sender, KeyRecord* key, int32_t mods) override { return (object->*handler)(sender, key, mods); }

private:
    T* object;
    Handler handler;
};

// Returns true when the wheel turn was handled.
class COnWheel
{
public:
    virtual ~COnWheel() = default;
    virtual bool Call(CCtrl* sender, int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) = 0;
};

template <class T>
class _COnWheel : public COnWheel
{
public:
    using Handler = bool (T::*)(CCtrl*, int32_t, int32_t, int32_t, int32_t, int32_t);
    _COnWheel(T* object, Handler handler) : object(object), handler(handler) {}
    bool Call(CCtrl* sender, int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override
    {
        return (object->*handler)(sender, x, y, flags, delta, reserved);
    }

private:
    T* object;
    Handler handler;
};

// Produces a display text: the handler stores a new heap string in text
// (io/HeapString.h), which then belongs to the caller.
class COnGetText
{
public:
    virtual ~COnGetText() = default;
    virtual void Call(CCtrl* sender, char*& text, int32_t value) = 0;
};

template <class T>
class _COnGetText : public COnGetText
{
public:
    using Handler = void (T::*)(CCtrl*, char*&, int32_t);
    _COnGetText(T* object, Handler handler) : object(object), handler(handler) {}
    void Call(CCtrl* sender, char*& text, int32_t value) override { (object->*handler)(sender, text, value); }

private:
    T* object;
    Handler handler;
};
