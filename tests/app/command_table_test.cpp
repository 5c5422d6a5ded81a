// The command table: every command reachable, captions and keys as the menu shows
// them, and check-mark groups that can only mark one item.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "app/commands/command_table.h"
#include "app/commands/key_list.h"

namespace quillex {
namespace {

TEST(CommandTable, IdsAreUniqueAndEveryShortcutHasAPlaceToGo) {
    std::set<int> ids;
    for (const MenuEntry& e : mainMenu()) {
        if (!e.isSeparator()) {
            EXPECT_TRUE(ids.insert(e.id).second) << "duplicate id " << e.id;
        }
    }
    // Commands reached only by keys (or internally).
    const std::set<int> keyOnly{17, 18, 19, 20, 21, 22, 23, 31,  34,
                                35, 39, 40, 43, 44, 45, 46, 450, 451};
    for (const Accelerator& a : acceleratorTable())
        EXPECT_TRUE(ids.count(a.id) || keyOnly.count(a.id)) << "key for unknown id " << a.id;
}

TEST(CommandTable, ShortcutsAreUnambiguous) {
    std::set<std::pair<int, int>> keys;
    for (const Accelerator& a : acceleratorTable()) {
        auto key = a.typed ? std::pair(-1, int(a.typed)) : std::pair(int(a.modifiers), int(a.key));
        EXPECT_TRUE(keys.insert(key).second) << "key bound twice, id " << a.id;
    }
    EXPECT_EQ(acceleratorTable().size(), 86u);
}

TEST(CommandTable, KeysFindTheirCommandsWithExactModifiers) {
    EXPECT_EQ(findKeyAccelerator('O', KeyModifiers::Ctrl), 226);
    EXPECT_EQ(findKeyAccelerator('O', KeyModifiers::None), 268);
    EXPECT_EQ(findKeyAccelerator('S', KeyModifiers::None), 23);
    EXPECT_EQ(findKeyAccelerator(kVkTab, KeyModifiers::Shift), 450);
    EXPECT_EQ(findKeyAccelerator(kVkOemPlus, KeyModifiers::Shift), 241);
    EXPECT_EQ(findKeyAccelerator(kVkDown, KeyModifiers::CtrlAlt), 37);
    EXPECT_EQ(findKeyAccelerator(kVkLeft, KeyModifiers::CtrlShift), 39);
    EXPECT_EQ(findKeyAccelerator(kVkOem3, KeyModifiers::None), 433);
    EXPECT_EQ(findKeyAccelerator('M', KeyModifiers::None), 235);
    EXPECT_FALSE(findKeyAccelerator('B', KeyModifiers::None)) << "B is polled, not a shortcut";
    EXPECT_FALSE(findKeyAccelerator(kVkUp, KeyModifiers::None)) << "arrows are polled";
    EXPECT_FALSE(findKeyAccelerator('O', KeyModifiers::CtrlShift));
    EXPECT_EQ(findTypedAccelerator('+'), 227);
    EXPECT_EQ(findTypedAccelerator('-'), 228);
    EXPECT_FALSE(findTypedAccelerator('='));
}

TEST(CommandTable, CaptionsAsShown) {
    auto caption = [](int id) { return std::string(findMenuEntry(id)->caption); };
    EXPECT_EQ(caption(226), "&Open...\tCtrl+O");
    EXPECT_EQ(caption(259), "&Save...\tCtrl+S");
    EXPECT_EQ(caption(358), "Nudge &Away More\tShift+MWHEELDOWN");
    EXPECT_EQ(caption(346), "&Mute\t");
    EXPECT_EQ(caption(433), "Change Note Type\t~");
    EXPECT_EQ(caption(386), "Left 90°");
    EXPECT_EQ(caption(270), "About quillex...");
    EXPECT_EQ(caption(427), "192nd Notes (48 per beat)");
}

TEST(CommandTable, EveryMenusItemsAreTogetherWithEditSecond) {
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
            EXPECT_TRUE(!seen.count(menu) || open) << menu << " is split at id " << e.id;
            seen.insert(menu);
        }
        previous = path;
    }
    EXPECT_EQ(std::string(mainMenu()[0].path), "&File");
    EXPECT_EQ(mainMenu()[8].id, 417) << "Undo heads the Edit menu";
    EXPECT_EQ(std::string(mainMenu()[8].path), "&Edit");
}

TEST(CommandTable, CommandsSitInTheMenusTheirUsersLookIn) {
    const std::pair<int, const char*> places[] = {
        {50, "&Edit"},
        {433, "&Edit/Special"},
        {318, "&Edit/Special"},
        {319, "&Edit/Special"},
        {322, "&Edit/Special"},
        {365, "&Edit/Special"},
        {356, "&Edit/Special"},
        {4, "&Edit/&Quantize"},
        {64, "&Edit/&Quantize"},
        {386, "&Edit/Tur&n"},
        {390, "&Edit/Tur&n"},
        {406, "&Edit/Scale Notes"},
        {399, "&Edit/Scale Notes"},
        {235, "&Edit/&Insert"},
        {358, "&Tools/&Nudge Beats"},
        {361, "&Tools/&Nudge Beats"},
        {380, "&Tools/&Grow Beats"},
        {382, "&Tools/&Grow Beats"},
        {269, "&Tools"},
    };
    for (const auto& [id, path] : places)
        EXPECT_EQ(std::string(findMenuEntry(id)->path), path) << id;
}

TEST(CommandTable, LevelsHaveTheirIdsAndOneGroup) {
    std::set<int> seen;
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        int id = levelCommandId(level);
        ASSERT_TRUE(findMenuEntry(id)) << level;
        EXPECT_EQ(findMenuEntry(id)->group, CheckGroup::Level);
        EXPECT_EQ(levelOfCommand(id), level);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 48u);
    EXPECT_EQ(levelCommandId(0), 374);
    EXPECT_EQ(levelCommandId(47), 20200);
    EXPECT_EQ(std::string(findMenuEntry(20200)->path), "&Game/pump-couple");
    EXPECT_FALSE(levelOfCommand(379));
}

TEST(CommandTable, CheckGroupsHoldTheListedItems) {
    std::map<CheckGroup, std::set<int>> groups;
    for (const MenuEntry& e : mainMenu())
        if (e.checkable())
            groups[e.group].insert(e.id);
    EXPECT_EQ(groups[CheckGroup::Snap],
              (std::set<int>{246, 254, 253, 252, 251, 250, 249, 248, 247, 20206, 427}));
    EXPECT_EQ(groups[CheckGroup::TimeFormat], (std::set<int>{233, 242, 232}));
    EXPECT_EQ(groups[CheckGroup::Grid], (std::set<int>{20203, 432, 20201, 20202}));
    EXPECT_EQ(groups[CheckGroup::Volume], (std::set<int>{347, 346}));
    EXPECT_EQ(groups[CheckGroup::Layer], (std::set<int>{237, 236, 376, 314, 349}));
    for (int i = 0; i < kSnapCount; ++i)
        EXPECT_EQ(snapIndexOfCommand(snapCommandId(i)), i);
    EXPECT_EQ(snapDivisions(10), 48);
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
