// File ▸ Open Recent's list: newest first, each file once, ten at most, kept across
// runs in its file.
#include <gtest/gtest.h>

#include "settings/recent_files.h"
#include "temp_folder.h"

namespace quillex {
namespace {

TEST(RecentFiles, NewestFirstOnceEachTenAtMostAndKeptAcrossRuns) {
    test::TempFolder folder;
    const std::string listFile = folder.file("quillex/recent.txt");
    RecentFiles recent(listFile);
    recent.load();
    EXPECT_TRUE(recent.files().empty()) << "no list yet";
    for (int i = 0; i < 12; ++i)
        recent.add("/songs/" + std::to_string(i) + ".sm");
    recent.add("/songs/5.sm");
    ASSERT_EQ(recent.files().size(), kRecentFileCount);
    EXPECT_EQ(recent.files()[0], "/songs/5.sm");
    EXPECT_EQ(recent.files()[1], "/songs/11.sm");
    EXPECT_EQ(recent.files().back(), "/songs/2.sm");
    recent.remove("/songs/11.sm");

    RecentFiles nextRun(listFile);
    nextRun.load();
    EXPECT_EQ(nextRun.files(), recent.files());
    EXPECT_EQ(nextRun.files()[1], "/songs/10.sm");
}

} // namespace
} // namespace quillex
