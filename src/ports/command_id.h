// Command ids: every menu item, shortcut and internal command is one named number.
// The names and numbers are made from the menu table (main_menu.inc) and the list of
// commands without a menu item (commands_without_menu_item.inc), so a command has
// exactly one name and a new menu row brings its constant with it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

// Qt's meta-object compiler reads the headers of the window's classes and cannot
// parse the tables; it needs nothing of them.
#ifndef Q_MOC_RUN

namespace quillex {

#define QX_ITEM(path, name, number, caption, group) name = number,
#define QX_SEPARATOR(path)
#define QX_COMMAND(name, number, text) name = number,
enum class CommandId : std::uint16_t {
#include "commands_without_menu_item.inc"
#include "main_menu.inc"
};
#undef QX_ITEM
#undef QX_COMMAND

// Every command, the menu's in menu order first.
#define QX_ITEM(path, name, number, caption, group) CommandId::name,
#define QX_COMMAND(name, number, text) CommandId::name,
inline constexpr CommandId kAllCommands[] = {
#include "commands_without_menu_item.inc"
#include "main_menu.inc"
};
#undef QX_ITEM
#undef QX_SEPARATOR
#undef QX_COMMAND

constexpr int toInt(CommandId id) {
    return static_cast<int>(id);
}

namespace detail {
constexpr bool commandNumbersUnique() {
    std::array<CommandId, std::size(kAllCommands)> sorted{};
    std::copy(std::begin(kAllCommands), std::end(kAllCommands), sorted.begin());
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}
} // namespace detail
static_assert(detail::commandNumbersUnique(), "two commands share a number");

} // namespace quillex

#endif
