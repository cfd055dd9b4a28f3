#pragma once

// Hears when the toolkit starts to handle a system message with none of its
// code on the stack, and when that outermost handling returns (CApp's frame
// guard). Whoever owns the application keeps itself alive in between. Left
// may delete the application with all of its windows: no code of the
// toolkit runs any more.
class CFrameWatcher
{
public:
    CFrameWatcher() = default;
    virtual ~CFrameWatcher() = default;

    virtual void Entered() = 0;
    virtual void Left() = 0;

    CFrameWatcher(const CFrameWatcher&) = delete;
    CFrameWatcher& operator=(const CFrameWatcher&) = delete;
};
