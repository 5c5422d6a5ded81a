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
    int id;                   // 0 for a separator
    std::string_view caption; // with a tab before the key text shown
    CheckGroup group;

    bool isSeparator() const { return id == 0; }
    bool checkable() const { return group != CheckGroup::None; }
};

struct Accelerator {
    KeyModifiers modifiers;
    VirtualKey key; // 0 for a typed-character entry
    char typed;     // the character of a typed entry, else 0
    int id;
};

std::span<const MenuEntry> mainMenu();
std::span<const Accelerator> acceleratorTable();

// The command of a key pressed with exactly these modifiers, if any.
std::optional<int> findKeyAccelerator(VirtualKey key, KeyModifiers modifiers);
// The command of a typed character, if any.
std::optional<int> findTypedAccelerator(char typed);

const MenuEntry* findMenuEntry(int id);

// The menu id of each level (index = LevelIndex) and back.
int levelCommandId(LevelIndex level);
std::optional<LevelIndex> levelOfCommand(int id);

// The eleven snap settings in menu order: None, then 1, 2, 3, 4, 6, 8, 12, 16, 24, 48
// divisions per beat. Index 0 is None (0 divisions).
inline constexpr int kSnapCount = 11;
int snapCommandId(int snapIndex);
int snapDivisions(int snapIndex);
std::optional<int> snapIndexOfCommand(int id);

} // namespace quillex
