#include "app/window/key_map.h"

#include <QGuiApplication>

#include <array>
#include <utility>

namespace quillex {

namespace {

// X keyboard keycodes (evdev codes + 8, as xcb and Wayland report them) of the keys
// taken by place.
constexpr std::array<std::pair<quint32, VirtualKey>, 34> kPlaceKeys{{
    {49, kVkOem3},      {10, '1'},         {11, '2'},        {12, '3'},         {13, '4'},
    {14, '5'},          {15, '6'},         {16, '7'},        {17, '8'},         {18, '9'},
    {19, '0'},          {20, kVkOemMinus}, {21, kVkOemPlus}, {34, kVkOem4},     {35, kVkOem6},
    {51, kVkOem5},      {47, kVkOem1},     {48, kVkOem7},    {59, kVkOemComma}, {60, kVkOemPeriod},
    {61, kVkOem2},      {94, kVkOem102},   {50, kVkLShift},  {62, kVkRShift},   {37, kVkLControl},
    {105, kVkRControl}, {64, kVkLMenu},    {108, kVkRMenu},  {23, kVkTab},      {9, kVkEscape},
    {65, kVkSpace},     {36, kVkReturn},   {22, kVkBack},    {119, kVkDelete},
}};

// Letter keys by place, for layouts whose letters are not Latin.
constexpr std::array<const char*, 3> kLetterRows{"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr std::array<quint32, 3> kLetterRowStart{24, 38, 52};

// Qt keys with a fixed key number: the editing keys, the modifiers, both
// characters of each punctuation key, and the shifted number row of a US keyboard
// (for when no place is known).
constexpr std::array<std::pair<int, VirtualKey>, 52> kQtKeys{{
    {Qt::Key_Left, kVkLeft},         {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},       {Qt::Key_Down, kVkDown},
    {Qt::Key_Home, kVkHome},         {Qt::Key_End, kVkEnd},
    {Qt::Key_PageUp, kVkPrior},      {Qt::Key_PageDown, kVkNext},
    {Qt::Key_Insert, kVkInsert},     {Qt::Key_Delete, kVkDelete},
    {Qt::Key_Escape, kVkEscape},     {Qt::Key_Tab, kVkTab},
    {Qt::Key_Backtab, kVkTab},       {Qt::Key_Space, kVkSpace},
    {Qt::Key_Return, kVkReturn},     {Qt::Key_Enter, kVkReturn},
    {Qt::Key_Backspace, kVkBack},    {Qt::Key_Shift, kVkShift},
    {Qt::Key_Control, kVkControl},   {Qt::Key_Alt, kVkMenu},
    {Qt::Key_Equal, kVkOemPlus},     {Qt::Key_Plus, kVkOemPlus},
    {Qt::Key_Minus, kVkOemMinus},    {Qt::Key_Underscore, kVkOemMinus},
    {Qt::Key_QuoteLeft, kVkOem3},    {Qt::Key_AsciiTilde, kVkOem3},
    {Qt::Key_Period, kVkOemPeriod},  {Qt::Key_Greater, kVkOemPeriod},
    {Qt::Key_Slash, kVkOem2},        {Qt::Key_Question, kVkOem2},
    {Qt::Key_Comma, kVkOemComma},    {Qt::Key_Less, kVkOemComma},
    {Qt::Key_Semicolon, kVkOem1},    {Qt::Key_Colon, kVkOem1},
    {Qt::Key_Apostrophe, kVkOem7},   {Qt::Key_QuoteDbl, kVkOem7},
    {Qt::Key_BracketLeft, kVkOem4},  {Qt::Key_BraceLeft, kVkOem4},
    {Qt::Key_BracketRight, kVkOem6}, {Qt::Key_BraceRight, kVkOem6},
    {Qt::Key_Backslash, kVkOem5},    {Qt::Key_Bar, kVkOem5},
    {Qt::Key_Exclam, '1'},           {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},       {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},          {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},        {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},        {Qt::Key_ParenRight, '0'},
}};

// The keypad's operator keys (its digits are a run of their own).
constexpr std::array<std::pair<int, VirtualKey>, 6> kKeypadKeys{{
    {Qt::Key_Plus, kVkAdd},
    {Qt::Key_Minus, kVkSubtract},
    {Qt::Key_Asterisk, kVkMultiply},
    {Qt::Key_Slash, kVkDivide},
    {Qt::Key_Period, kVkDecimal},
    {Qt::Key_Comma, kVkDecimal},
}};

// The key number paired with `key` in `table`, or 0.
template <typename Table, typename Key> VirtualKey lookUp(const Table& table, Key key) {
    for (const auto& [tableKey, virtualKey] : table)
        if (tableKey == key)
            return virtualKey;
    return 0;
}

bool platformReportsPlaces() {
    const QString platform = QGuiApplication::platformName();
    return platform == "xcb" || platform.startsWith("wayland");
}

VirtualKey letterByPlace(quint32 code) {
    for (size_t row = 0; row < kLetterRows.size(); ++row) {
        const std::string_view letters(kLetterRows[row]);
        if (code >= kLetterRowStart[row] && code < kLetterRowStart[row] + letters.size())
            return static_cast<VirtualKey>(letters[code - kLetterRowStart[row]]);
    }
    return 0;
}

} // namespace

VirtualKey virtualKeyOfQtKey(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return static_cast<VirtualKey>(kVkNumpad0 + (key - Qt::Key_0));
        if (VirtualKey found = lookUp(kKeypadKeys, key))
            return found;
        // The keypad's arrows, Home, End... are the keys themselves.
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<VirtualKey>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<VirtualKey>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<VirtualKey>(kVkF1 + (key - Qt::Key_F1));
    return lookUp(kQtKeys, key);
}

VirtualKey virtualKeyOf(const QKeyEvent& event) {
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const quint32 code = event.nativeScanCode();
    if (!keypad && code != 0 && platformReportsPlaces()) {
        if (VirtualKey byPlace = lookUp(kPlaceKeys, code))
            return byPlace;
    }
    VirtualKey key = virtualKeyOfQtKey(event.key(), keypad);
    if (key == 0 && code != 0 && platformReportsPlaces())
        key = letterByPlace(code);
    return key;
}

KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers) {
    return makeModifiers(modifiers.testFlag(Qt::ShiftModifier),
                         modifiers.testFlag(Qt::ControlModifier),
                         modifiers.testFlag(Qt::AltModifier));
}

} // namespace quillex
