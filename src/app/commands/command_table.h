// The command table: the main menu (submenus, items, captions, check-mark groups) and
// the keyboard shortcuts, compiled from resources/main_menu.inc and
// resources/accelerators.inc. The Qt window builds its menu bar from it; the key
// filter looks shortcuts up in it.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "app/keys/virtual_keys.h"
#include "model/game_type.h"
#include "ports/command_id.h"

namespace quillex {

// Items whose check marks move together; within a group other than Layer and Tick at
// most one item is marked.
enum class CheckGroup { None, Layer, Level, Snap, TimeFormat, Volume, Speed, Tick, Grid, NoteSize };

struct MenuEntry {
    std::string_view path;    // submenu titles joined by "/", e.g. "&Tools/Grid"
    CommandId id;             // CommandId{} (0) for a separator
    std::string_view caption; // with a tab before the key text shown
    CheckGroup group;

    bool isSeparator() const { return id == CommandId{}; }
    bool checkable() const { return group != CheckGroup::None; }
};

struct Accelerator {
    KeyModifiers modifiers;
    VirtualKey key; // 0 for a typed-character entry
    char typed;     // the character of a typed entry, else 0
    CommandId id;
};

std::span<const MenuEntry> mainMenu();
std::span<const Accelerator> acceleratorTable();

// The command of a key pressed with exactly these modifiers, if any.
std::optional<CommandId> findKeyAccelerator(VirtualKey key, KeyModifiers modifiers);
// The command of a typed character, if any.
std::optional<CommandId> findTypedAccelerator(char typed);

const MenuEntry* findMenuEntry(CommandId id);

// The command of each level (index = LevelIndex: the Game menu's level items in menu
// order) and back.
CommandId levelCommandId(LevelIndex level);
std::optional<LevelIndex> levelOfCommand(CommandId id);

} // namespace quillex
