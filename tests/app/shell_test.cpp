// The shell's start-up notice for a missing options.ini, and File ▸ Open Recent.
#include <gtest/gtest.h>

#include "../settings/temp_folder.h"
#include "app/shell/shell.h"
#include "shell_fakes.h"

namespace quillex {
namespace {

class ShellTest : public ::testing::Test, protected test::ShellFakes {
  protected:
    std::unique_ptr<Shell> makeShell() {
        return std::make_unique<Shell>(
            Shell::Parts{store, busy, messages, hooks, ui, files, transport},
            ShellPaths::inFolder(folder.path()));
    }

    test::TempFolder folder;
};

TEST_F(ShellTest, MissingOptionsNoticeShowsAtTheFirstStartOnly) {
    makeShell()->initialise();
    makeShell()->initialise();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), kOptionsMissing);
    Options read;
    read.saveBackups = true;
    ASSERT_TRUE(readOptions(folder.file("options.ini"), read));
    EXPECT_FALSE(read.saveBackups) << "the defaults were written";
}

TEST_F(ShellTest, RecentFileOpensAsOpenDoesAndAGoneOneLeavesTheList) {
    folder.write("tune.ogg", "");
    const std::string tune = folder.file("tune.ogg");
    const std::string gone = folder.file("gone.sm");
    auto shell = makeShell();
    shell->initialise();
    shell->recentFiles.add(gone);
    shell->dispatcher.openPath(tune);
    EXPECT_EQ(shell->recentFiles.files(), (std::vector<std::string>{tune, gone}));

    store.setModified(true);
    ui.promptAnswer = SavePromptAnswer::No;
    shell->openRecent(tune);
    EXPECT_EQ(ui.prompts, 1) << "the save-changes question comes first";
    EXPECT_EQ(files.loaded.size(), 2u);

    messages.shown.clear();
    shell->openRecent(gone);
    EXPECT_EQ(messages.lastText(), std::string(kRecentFileMissing) + gone);
    EXPECT_EQ(files.loaded.size(), 2u);
    auto nextRun = makeShell();
    nextRun->initialise();
    EXPECT_EQ(nextRun->recentFiles.files(), (std::vector<std::string>{tune}));
}

} // namespace
} // namespace quillex
