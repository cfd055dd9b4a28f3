#pragma once

class CWin;

// The message loops of a window run as a popup or as a modal window (see
// CWin::RunPopup and CWin::RunModal). Each ends when the window is hidden
// or the application ends its loops, and deletes a window with
// deleteOnClose that it served. A window without a system window returns at
// once, closed.

// Shows popup and, unless an older popup's loop serves it, runs the
// messages: a press outside every popup closes them all; keys go to the top
// popup.
void RunPopupLoop(CWin& popup);
// Shows window activated and runs the messages: left and right presses on
// windows it does not own are dropped; keys go to it.
void RunModalLoop(CWin& window);
