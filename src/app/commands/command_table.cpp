#include "app/commands/command_table.h"

#include <algorithm>
#include <array>

namespace quillex {

namespace {

#define QX_ITEM(path, name, number, caption, group)                                                \
    MenuEntry{path, CommandId::name, caption, CheckGroup::group},
#define QX_SEPARATOR(path) MenuEntry{path, CommandId{}, "", CheckGroup::None},
constexpr MenuEntry kMainMenu[] = {
#include "main_menu.inc"
};
#undef QX_ITEM
#undef QX_SEPARATOR

#define QX_KEY(mods, key, name) Accelerator{KeyModifiers::mods, key, 0, CommandId::name},
#define QX_TYPED(ch, name) Accelerator{KeyModifiers::None, 0, ch, CommandId::name},
constexpr Accelerator kAccelerators[] = {
#include "accelerators.inc"
};
#undef QX_KEY
#undef QX_TYPED

// The Game menu's level items, in menu order: game type by game type, each from
// Beginner to Edit, as the level indices count.
constexpr std::array<CommandId, kLevelCount> levelItems() {
    std::array<CommandId, kLevelCount> ids{};
    std::size_t next = 0;
    for (const MenuEntry& e : kMainMenu)
        if (e.group == CheckGroup::Level && next < ids.size())
            ids[next++] = e.id;
    return ids;
}
constexpr std::array<CommandId, kLevelCount> kLevelIds = levelItems();
static_assert(std::ranges::count(kMainMenu, CheckGroup::Level, &MenuEntry::group) == kLevelCount,
              "the Game menu has one item per level");

} // namespace

std::span<const MenuEntry> mainMenu() {
    return kMainMenu;
}
std::span<const Accelerator> acceleratorTable() {
    return kAccelerators;
}

std::optional<CommandId> findKeyAccelerator(VirtualKey key, KeyModifiers modifiers) {
    if (key == 0)
        return std::nullopt;
    for (const Accelerator& a : kAccelerators)
        if (a.key == key && a.modifiers == modifiers)
            return a.id;
    return std::nullopt;
}

std::optional<CommandId> findTypedAccelerator(char typed) {
    for (const Accelerator& a : kAccelerators)
        if (a.typed != 0 && a.typed == typed)
            return a.id;
    return std::nullopt;
}

const MenuEntry* findMenuEntry(CommandId id) {
    for (const MenuEntry& e : kMainMenu)
        if (e.id == id && !e.isSeparator())
            return &e;
    return nullptr;
}

CommandId levelCommandId(LevelIndex level) {
    return isValidLevel(level) ? kLevelIds[level] : CommandId{};
}

std::optional<LevelIndex> levelOfCommand(CommandId id) {
    auto found = std::find(kLevelIds.begin(), kLevelIds.end(), id);
    if (found == kLevelIds.end())
        return std::nullopt;
    return static_cast<LevelIndex>(found - kLevelIds.begin());
}

} // namespace quillex
