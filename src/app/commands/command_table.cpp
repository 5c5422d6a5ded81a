#include "app/commands/command_table.h"

#include <algorithm>
#include <array>

namespace quillex {

namespace {

#define QX_ITEM(path, id, caption, group) MenuEntry{path, id, caption, CheckGroup::group},
#define QX_SEPARATOR(path) MenuEntry{path, 0, "", CheckGroup::None},
constexpr MenuEntry kMainMenu[] = {
#include "main_menu.inc"
};
#undef QX_ITEM
#undef QX_SEPARATOR

#define QX_KEY(mods, key, id) Accelerator{KeyModifiers::mods, key, 0, id},
#define QX_TYPED(ch, id) Accelerator{KeyModifiers::None, 0, ch, id},
constexpr Accelerator kAccelerators[] = {
#include "accelerators.inc"
};
#undef QX_KEY
#undef QX_TYPED

constexpr std::array<int, kLevelCount> kLevelIds{
    374,   310,   311,   312,   313,   378,   // dance-single
    20081, 20082, 20083, 20084, 20085, 20086, // dance-double
    20124, 20126, 20128, 20130, 20132, 20134, // dance-couple
    20137, 20139, 20141, 20143, 20145, 20147, // dance-solo
    20151, 20153, 20155, 20157, 20159, 20161, // pump-single
    20164, 20166, 20168, 20170, 20172, 20174, // pump-halfdouble
    20177, 20179, 20181, 20183, 20185, 20187, // pump-double
    20190, 20192, 20194, 20196, 20198, 20200, // pump-couple
};

constexpr std::array<int, kSnapCount> kSnapIds{246, 254, 253, 252,   251, 250,
                                               249, 248, 247, 20206, 427};
constexpr std::array<int, kSnapCount> kSnapDivisions{0, 1, 2, 3, 4, 6, 8, 12, 16, 24, 48};

} // namespace

std::span<const MenuEntry> mainMenu() {
    return kMainMenu;
}
std::span<const Accelerator> acceleratorTable() {
    return kAccelerators;
}

std::optional<int> findKeyAccelerator(VirtualKey key, KeyModifiers modifiers) {
    if (key == 0)
        return std::nullopt;
    for (const Accelerator& a : kAccelerators)
        if (a.key == key && a.modifiers == modifiers)
            return a.id;
    return std::nullopt;
}

std::optional<int> findTypedAccelerator(char typed) {
    for (const Accelerator& a : kAccelerators)
        if (a.typed != 0 && a.typed == typed)
            return a.id;
    return std::nullopt;
}

const MenuEntry* findMenuEntry(int id) {
    for (const MenuEntry& e : kMainMenu)
        if (e.id == id && id != 0)
            return &e;
    return nullptr;
}

int levelCommandId(LevelIndex level) {
    return isValidLevel(level) ? kLevelIds[level] : 0;
}

std::optional<LevelIndex> levelOfCommand(int id) {
    auto found = std::find(kLevelIds.begin(), kLevelIds.end(), id);
    if (found == kLevelIds.end())
        return std::nullopt;
    return static_cast<LevelIndex>(found - kLevelIds.begin());
}

int snapCommandId(int snapIndex) {
    return snapIndex >= 0 && snapIndex < kSnapCount ? kSnapIds[snapIndex] : kSnapIds[0];
}

int snapDivisions(int snapIndex) {
    return snapIndex >= 0 && snapIndex < kSnapCount ? kSnapDivisions[snapIndex] : 0;
}

std::optional<int> snapIndexOfCommand(int id) {
    auto found = std::find(kSnapIds.begin(), kSnapIds.end(), id);
    if (found == kSnapIds.end())
        return std::nullopt;
    return static_cast<int>(found - kSnapIds.begin());
}

} // namespace quillex
