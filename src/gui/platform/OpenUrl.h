#pragma once

// Opens a web address in the user's browser without waiting for it: the
// shell's "open" on Windows, xdg-open elsewhere. False when it could not be
// started.
bool OpenUrl(const char* url);
