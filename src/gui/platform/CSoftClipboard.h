#pragma once

#include "gui/platform/CClipboard.h"

#include <string>

// A clipboard kept in the process: what is copied stays until the next copy
// or the end of the process. Builds without a system clipboard use it.
class CSoftClipboard : public CClipboard
{
public:
    bool SetText(SysWindow owner, const char* text) override;
    char* GetText(SysWindow owner) override;

private:
    std::string content;
};
