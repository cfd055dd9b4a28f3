#include "gui/platform/KeyTable.h"

#include "gui/platform/InputCodes.h"

namespace
{

// System virtual-key numbers (they are the same in every Windows version).
constexpr int32_t kVkBack = 0x08;
constexpr int32_t kVkTab = 0x09;
constexpr int32_t kVkReturn = 0x0D;
constexpr int32_t kVkEscape = 0x1B;
constexpr int32_t kVkPrior = 0x21;
constexpr int32_t kVkNext = 0x22;
constexpr int32_t kVkEnd = 0x23;
constexpr int32_t kVkHome = 0x24;
constexpr int32_t kVkLeft = 0x25;
constexpr int32_t kVkUp = 0x26;
constexpr int32_t kVkRight = 0x27;
constexpr int32_t kVkDown = 0x28;
constexpr int32_t kVkInsert = 0x2D;
constexpr int32_t kVkDelete = 0x2E;
constexpr int32_t kVkApps = 0x5D;
constexpr int32_t kVkMultiply = 0x6A;
constexpr int32_t kVkF1 = 0x70;
constexpr int32_t kVkF12 = 0x7B;

}  // namespace

int32_t SpecialKeyCode(int32_t virtualKey)
{
    if (virtualKey >= kVkF1 && virtualKey <= kVkF12)
        return kKeyF1 - (virtualKey - kVkF1);
    switch (virtualKey)
    {
    case kVkHome:
        return kKeyHome;
    case kVkLeft:
        return kKeyLeft;
    case kVkUp:
        return kKeyUp;
    case kVkRight:
        return kKeyRight;
    case kVkDown:
        return kKeyDown;
    case kVkEnd:
        return kKeyEnd;
    case kVkDelete:
        return kKeyDelete;
    case kVkBack:
        return kKeyBackspace;
    case kVkReturn:
        return kKeyEnter;
    case kVkTab:
        return kKeyTab;
    case kVkEscape:
        return kKeyEscape;
    case kVkPrior:
        return kKeyPageUp;
    case kVkNext:
        return kKeyPageDown;
    case kVkInsert:
        return kKeyInsert;
    case kVkMultiply:
        return kKeyMultiply;
    case kVkApps:
        return kKeyApplications;
    default:
        return kKeyNone;
    }
}
