#pragma once

#include <cstdint>

// Mouse flags: the button, double click and the modifiers held. A move
// carries the modifiers plus the button of the last press while it is held.
constexpr int32_t kMouseLeft = 1;
constexpr int32_t kMouseRight = 2;
constexpr int32_t kMouseMiddle = 4;
constexpr int32_t kMouseDouble = 8;

// Modifiers, in mouse flags and key events alike.
constexpr int32_t kModShift = 16;
constexpr int32_t kModCtrl = 32;
constexpr int32_t kModAlt = 64;

// Key codes: a printable key is its character code; special keys are negative;
// any other key without a character is kKeyNone.
constexpr int32_t kKeyNone = 0;
constexpr int32_t kKeyHome = -1;
constexpr int32_t kKeyLeft = -2;
constexpr int32_t kKeyUp = -3;
constexpr int32_t kKeyRight = -4;
constexpr int32_t kKeyDown = -5;
constexpr int32_t kKeyEnd = -6;
constexpr int32_t kKeyDelete = -7;
constexpr int32_t kKeyBackspace = -8;
constexpr int32_t kKeyEnter = -9;
constexpr int32_t kKeyTab = -10;
constexpr int32_t kKeyEscape = -11;
constexpr int32_t kKeyPageUp = -12;
constexpr int32_t kKeyPageDown = -13;
constexpr int32_t kKeyInsert = -14;
constexpr int32_t kKeyF1 = -15;  // F1 ... F12 are -15 ... -26
constexpr int32_t kKeyF12 = -26;
constexpr int32_t kKeyMultiply = -27;  // numeric pad
constexpr int32_t kKeyApplications = -28;
