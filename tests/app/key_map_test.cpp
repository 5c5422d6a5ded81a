// Qt keys to the program's key numbers.
#include <gtest/gtest.h>

#include "app/window/key_map.h"

namespace quillex {
namespace {

TEST(KeyMap, QtKeysMapToTheStoredKeyNumbers) {
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Z, false), 90);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Period, false), 190);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Slash, false), 191);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_QuoteLeft, false), kVkOem3);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_AsciiTilde, false), kVkOem3);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Equal, false), kVkOemPlus);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Backtab, false), kVkTab);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_F12, false), kVkF12);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_PageDown, false), kVkNext);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Exclam, false), '1');
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Plus, true), kVkAdd);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_5, true), kVkNumpad0 + 5);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Up, true), kVkUp);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_unknown, false), 0);
}

TEST(KeyMap, ModifiersAreCompared) {
    EXPECT_EQ(modifiersOf(Qt::ShiftModifier | Qt::ControlModifier), KeyModifiers::CtrlShift);
    EXPECT_EQ(modifiersOf(Qt::KeypadModifier), KeyModifiers::None);
    EXPECT_EQ(modifiersOf(Qt::AltModifier | Qt::ControlModifier), KeyModifiers::CtrlAlt);
}

} // namespace
} // namespace quillex
