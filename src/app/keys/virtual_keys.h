// The program's key numbers: the virtual-key codes stored in options.ini (90 for Z,
// 190 for the "." key, ...) and used by the shortcut table and the key tables.
#pragma once

#include <cstdint>

namespace quillex {

using VirtualKey = std::uint8_t;

inline constexpr VirtualKey kVkBack = 0x08;
inline constexpr VirtualKey kVkTab = 0x09;
inline constexpr VirtualKey kVkReturn = 0x0D;
inline constexpr VirtualKey kVkShift = 0x10;
inline constexpr VirtualKey kVkControl = 0x11;
inline constexpr VirtualKey kVkMenu = 0x12; // Alt
inline constexpr VirtualKey kVkEscape = 0x1B;
inline constexpr VirtualKey kVkSpace = 0x20;
inline constexpr VirtualKey kVkPrior = 0x21; // Page Up
inline constexpr VirtualKey kVkNext = 0x22;  // Page Down
inline constexpr VirtualKey kVkEnd = 0x23;
inline constexpr VirtualKey kVkHome = 0x24;
inline constexpr VirtualKey kVkLeft = 0x25;
inline constexpr VirtualKey kVkUp = 0x26;
inline constexpr VirtualKey kVkRight = 0x27;
inline constexpr VirtualKey kVkDown = 0x28;
inline constexpr VirtualKey kVkInsert = 0x2D;
inline constexpr VirtualKey kVkDelete = 0x2E;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
inline constexpr VirtualKey kVkNumpad0 = 0x60;
inline constexpr VirtualKey kVkMultiply = 0x6A;
inline constexpr VirtualKey kVkAdd = 0x6B;
inline constexpr VirtualKey kVkSubtract = 0x6D;
inline constexpr VirtualKey kVkDecimal = 0x6E;
inline constexpr VirtualKey kVkDivide = 0x6F;
inline constexpr VirtualKey kVkF1 = 0x70;
inline constexpr VirtualKey kVkF2 = 0x71;
inline constexpr VirtualKey kVkF3 = 0x72;
inline constexpr VirtualKey kVkF4 = 0x73;
inline constexpr VirtualKey kVkF5 = 0x74;
inline constexpr VirtualKey kVkF6 = 0x75;
inline constexpr VirtualKey kVkF7 = 0x76;
inline constexpr VirtualKey kVkF8 = 0x77;
inline constexpr VirtualKey kVkF9 = 0x78;
inline constexpr VirtualKey kVkF10 = 0x79;
inline constexpr VirtualKey kVkF11 = 0x7A;
inline constexpr VirtualKey kVkF12 = 0x7B;
inline constexpr VirtualKey kVkLShift = 0xA0;
inline constexpr VirtualKey kVkRShift = 0xA1;
inline constexpr VirtualKey kVkLControl = 0xA2;
inline constexpr VirtualKey kVkRControl = 0xA3;
inline constexpr VirtualKey kVkLMenu = 0xA4;
inline constexpr VirtualKey kVkRMenu = 0xA5;
inline constexpr VirtualKey kVkOem1 = 0xBA;    // ";:" on US keyboards
inline constexpr VirtualKey kVkOemPlus = 0xBB; // "=+"
inline constexpr VirtualKey kVkOemComma = 0xBC;
inline constexpr VirtualKey kVkOemMinus = 0xBD;
inline constexpr VirtualKey kVkOemPeriod = 0xBE;
inline constexpr VirtualKey kVkOem2 = 0xBF;   // "/?"
inline constexpr VirtualKey kVkOem3 = 0xC0;   // "`~", the key left of 1
inline constexpr VirtualKey kVkOem4 = 0xDB;   // "[{"
inline constexpr VirtualKey kVkOem5 = 0xDC;   // "\|"
inline constexpr VirtualKey kVkOem6 = 0xDD;   // "]}"
inline constexpr VirtualKey kVkOem7 = 0xDE;   // "'\""
inline constexpr VirtualKey kVkOem102 = 0xE2; // the extra key beside left Shift

// Modifier state of a shortcut, compared exactly.
enum class KeyModifiers : std::uint8_t {
    None = 0,
    Shift = 1,
    Ctrl = 2,
    Alt = 4,
    CtrlShift = 3,
    CtrlAlt = 6,
    ShiftAlt = 5,
    CtrlShiftAlt = 7,
};

constexpr KeyModifiers makeModifiers(bool shift, bool ctrl, bool alt) {
    return static_cast<KeyModifiers>((shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0));
}

} // namespace quillex
