// The command table's rules: shortcuts unambiguous and exact, each menu one run of
// rows, the level, snap, grid and layer items in the order their owners count them, and the key
// lists of the documents made from the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "app/commands/command_table.h"
#include "app/commands/key_list.h"
#include "audio/player_settings.h"
#include "view/editor_view.h"

namespace quillex {
namespace {

TEST(CommandTable, ShortcutsAreUnambiguous) {
    std::set<std::pair<int, int>> keys;
    for (const Accelerator& a : acceleratorTable()) {
        auto key = a.typed ? std::pair(-1, int(a.typed)) : std::pair(int(a.modifiers), int(a.key));
        EXPECT_TRUE(keys.insert(key).second) << "key bound twice, id " << toInt(a.id);
    }
}

TEST(CommandTable, KeysFindTheirCommandsWithExactModifiers) {
    EXPECT_EQ(findKeyAccelerator('O', KeyModifiers::Ctrl), CommandId::Open);
    EXPECT_EQ(findKeyAccelerator('O', KeyModifiers::None), CommandId::Options);
    EXPECT_FALSE(findKeyAccelerator('O', KeyModifiers::CtrlShift));
    EXPECT_FALSE(findKeyAccelerator('B', KeyModifiers::None)) << "B is polled, not a shortcut";
    EXPECT_FALSE(findKeyAccelerator(kVkUp, KeyModifiers::None)) << "arrows are polled";
    EXPECT_EQ(findTypedAccelerator('+'), CommandId::ZoomIn);
    EXPECT_FALSE(findTypedAccelerator('='));
}

TEST(CommandTable, EveryMenusItemsAreTogetherWithUndoHeadingEdit) {
    // Each menu and submenu is one run of rows, so the menus show the table's order:
    // a menu seen before must still be open, i.e. hold the previous row.
    std::set<std::string> seen;
    std::string previous;
    for (const MenuEntry& e : mainMenu()) {
        const std::string path(e.path);
        for (size_t end = 0; end != std::string::npos;) {
            end = path.find('/', end + 1);
            const std::string menu = path.substr(0, end);
            const bool open = previous == menu || previous.rfind(menu + "/", 0) == 0;
            EXPECT_TRUE(!seen.count(menu) || open) << menu << " is split at id " << toInt(e.id);
            seen.insert(menu);
        }
        previous = path;
    }
    const auto edit = std::ranges::find(mainMenu(), "&Edit", &MenuEntry::path);
    ASSERT_NE(edit, mainMenu().end());
    EXPECT_EQ(edit->id, CommandId::Undo) << "Undo heads the Edit menu";
}

TEST(CommandTable, LevelsAreTheGameMenusItemsInGameTypeOrder) {
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const MenuEntry* item = findMenuEntry(levelCommandId(level));
        ASSERT_TRUE(item) << level;
        EXPECT_EQ(item->group, CheckGroup::Level);
        EXPECT_EQ(item->path, "&Game/" + std::string(gameTypeInfo(gameTypeOfLevel(level)).smName));
        EXPECT_EQ(item->caption, difficultySmName(difficultyOfLevel(level)));
        EXPECT_EQ(levelOfCommand(item->id), level);
    }
    EXPECT_FALSE(levelOfCommand(CommandId::SyncMode));
}

TEST(CommandTable, CheckGroupsListTheirOwnersChoicesInOrder) {
    std::map<CheckGroup, std::vector<CommandId>> menu;
    for (const MenuEntry& e : mainMenu())
        menu[e.group].push_back(e.id);
    std::vector<CommandId> snaps, grids, layers;
    for (const SnapSetting& s : kSnapSettings)
        snaps.push_back(s.command);
    for (GridChoice choice :
         {GridChoice::None, GridChoice::Quarter, GridChoice::Eighth, GridChoice::Sixteenth})
        grids.push_back(Grid::commandId(choice));
    for (Layer layer : {Layer::Wave, Layer::Beat, Layer::Pause, Layer::Arrow, Layer::Status})
        layers.push_back(EditorView::layerCommandId(layer));
    layers.push_back(CommandId::SpectrogramLayer); // the view's own layer, after the store's
    EXPECT_EQ(menu[CheckGroup::Snap], snaps);
    EXPECT_EQ(menu[CheckGroup::Grid], grids);
    EXPECT_EQ(menu[CheckGroup::Layer], layers);
}

TEST(KeyList, TheReadMeAndTheReadmeListTheKeysOfTheCommandTable) {
    const std::string keys = keyListText();
    for (const std::string_view table : {"Alt+F7", "Tools > Nudge Beats > Nudge Away\n"})
        EXPECT_NE(keys.find(table), std::string::npos) << table;
    for (const char* document : {"/data/readme.txt", "/README.md"}) {
        std::ostringstream text;
        text << std::ifstream(std::string(QUILLEX_SOURCE_DIR) + document).rdbuf();
        ASSERT_NE(text.str().find(kKeyListBegin), std::string::npos) << document;
        EXPECT_EQ(withKeyList(text.str(), keys), text.str())
            << document << " differs from the command table: run quillex-tool keys README.md "
            << "data/readme.txt";
    }
}

} // namespace
} // namespace quillex
