#include "app/key_map.h"

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
        switch (key) {
        case Qt::Key_Plus:
            return kVkAdd;
        case Qt::Key_Minus:
            return kVkSubtract;
        case Qt::Key_Asterisk:
            return kVkMultiply;
        case Qt::Key_Slash:
            return kVkDivide;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return kVkDecimal;
        default:
            break; // the keypad's arrows, Home, End... are the keys themselves
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<VirtualKey>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<VirtualKey>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<VirtualKey>(kVkF1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Left:
        return kVkLeft;
    case Qt::Key_Up:
        return kVkUp;
    case Qt::Key_Right:
        return kVkRight;
    case Qt::Key_Down:
        return kVkDown;
    case Qt::Key_Home:
        return kVkHome;
    case Qt::Key_End:
        return kVkEnd;
    case Qt::Key_PageUp:
        return kVkPrior;
    case Qt::Key_PageDown:
        return kVkNext;
    case Qt::Key_Insert:
        return kVkInsert;
    case Qt::Key_Delete:
        return kVkDelete;
    case Qt::Key_Escape:
        return kVkEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kVkTab;
    case Qt::Key_Space:
        return kVkSpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kVkReturn;
    case Qt::Key_Backspace:
        return kVkBack;
    case Qt::Key_Shift:
        return kVkShift;
    case Qt::Key_Control:
        return kVkControl;
    case Qt::Key_Alt:
        return kVkMenu;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return kVkOemPlus;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return kVkOemMinus;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return kVkOem3;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return kVkOemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return kVkOem2;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return kVkOemComma;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return kVkOem1;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return kVkOem7;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return kVkOem4;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return kVkOem6;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return kVkOem5;
    // The shifted number row of a US keyboard, when no place is known.
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_Asterisk:
        return '8';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_ParenRight:
        return '0';
    default:
        return 0;
    }
}

VirtualKey virtualKeyOf(const QKeyEvent& event) {
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const quint32 code = event.nativeScanCode();
    if (!keypad && code != 0 && platformReportsPlaces()) {
        for (const auto& [place, key] : kPlaceKeys)
            if (place == code)
                return key;
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
