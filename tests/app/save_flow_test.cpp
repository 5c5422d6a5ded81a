// Save and Save As by file type and extension, the modified flag, the base name and
// the numbered backups.
#include <gtest/gtest.h>

#include "../settings/temp_folder.h"
#include "app/session/save_flow.h"
#include "shell_fakes.h"

namespace quillex {
namespace {

class SaveFlowTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    FixedMusicInfo music;
    BusyCounter busy;
    ItemStore store{music, busy};
    test::RecordingHooks hooks;
    test::FakeUi ui;
    test::FakeFiles files;
    SaveFlow flow{files, ui, hooks, store, folder.file("backup")};
};

TEST_F(SaveFlowTest, SaveAsTypeDecidesBpmsAndSuccessMakesSaveWriteInPlace) {
    store.setModified(true);
    ui.saveAnswer = SaveTarget{"/x/song.sm", 3};
    ASSERT_TRUE(flow.saveAs());
    EXPECT_FALSE(files.writes.back().perBeatBpm);
    EXPECT_TRUE(files.writes.back().updateTitle);
    EXPECT_FALSE(store.modified());
    EXPECT_TRUE(flow.ownFormat());

    ui.saveAnswer = SaveTarget{"/x/song.qx", 1};
    flow.saveAs();
    EXPECT_TRUE(files.writes.back().perBeatBpm) << "another type restores per-beat BPMs";
    store.setModified(true);
    ASSERT_TRUE(flow.save());
    EXPECT_EQ(files.writes.back().path, "/x/song.qx");
    EXPECT_EQ(ui.saveDialogStarts.size(), 2u);
    EXPECT_FALSE(store.modified());
}

TEST_F(SaveFlowTest, ChosenTypeGivesABareNameItsExtension) {
    struct Case {
        const char* typed;
        int type;
        const char* written;
    };
    const Case cases[] = {
        {"/x/song", 1, "/x/song.qx"},      {"/x/song", 2, "/x/song.sm"},
        {"/x/song", 3, "/x/song.sm"},      {"/x/song", 4, "/x/song.ssc"},
        {"/x/song", 5, "/x/song.sm"},      {"/x/song.sm", 1, "/x/song.sm"},
        {"/x/song.txt", 4, "/x/song.txt"}, {"/x.d/song", 1, "/x.d/song.qx"},
        {"/x/song.v2", 1, "/x/song.v2"},
    };
    for (const Case& c : cases) {
        ui.saveAnswer = SaveTarget{c.typed, c.type};
        ASSERT_TRUE(flow.saveAs());
        EXPECT_EQ(files.writes.back().path, c.written) << c.typed << " as type " << c.type;
        EXPECT_EQ(flow.savePath(), c.written);
    }
}

TEST_F(SaveFlowTest, CancelledOrFailedSaveKeepsTheModifiedFlag) {
    store.setModified(true);
    EXPECT_FALSE(flow.saveAs());
    EXPECT_TRUE(store.modified());
    EXPECT_TRUE(files.writes.empty());

    files.writeSucceeds = false;
    ui.saveAnswer = SaveTarget{"/x/song.qx", 1};
    EXPECT_FALSE(flow.saveAs());
    EXPECT_TRUE(store.modified());
    EXPECT_FALSE(flow.ownFormat()) << "a failed Save As names no file for Save";
}

TEST_F(SaveFlowTest, BaseNameIsTheTitleOrTheMusicFileName) {
    files.music = "/music/dir.v2/My Song.ogg";
    EXPECT_EQ(flow.baseName(), "My Song");
    files.title = "Title";
    EXPECT_EQ(flow.baseName(), "Title");
    files.title.clear();
    files.music = "C:\\old\\Track";
    EXPECT_EQ(flow.baseName(), "Track");
}

TEST_F(SaveFlowTest, SaveAsStartsWithTheNameAndTypeTheSongCameFromAndThePromptNamesIt) {
    struct Case {
        const char* opened; // "" for music alone
        const char* savedAs;
        int savedType;
        const char* startPath;
        int startType;
        const char* promptName;
    };
    const Case cases[] = {
        {"/s/a.sm", "", 0, "/s/a", 2, "/s/a.sm"},
        {"/s/b.qx", "", 0, "/s/b", 1, "/s/b.qx"},
        {"", "", 0, "/m/Tune", 1, "Tune (not saved yet)"},
        {"/s/a.sm", "/t/c.sm", 3, "/t/c", 3, "/t/c.sm"},
        {"/s/a.sm", "/t/d", 1, "/t/d", 1, "/t/d.qx"},
        {"/s/e.ssc", "", 0, "/s/e", 4, "/s/e.ssc"},
        {"/s/a.sm", "/t/f", 4, "/t/f", 4, "/t/f.ssc"},
    };
    files.music = "/m/Tune.ogg";
    for (const Case& c : cases) {
        flow.songOpened(c.opened, std::string_view(c.opened).ends_with(".qx"));
        if (*c.savedAs) {
            ui.saveAnswer = SaveTarget{c.savedAs, c.savedType};
            ASSERT_TRUE(flow.saveAs());
        }
        const SaveTarget start = flow.saveAsStart();
        EXPECT_EQ(start.path, c.startPath) << c.opened << " " << c.savedAs;
        EXPECT_EQ(start.filterIndex, c.startType) << c.opened << " " << c.savedAs;
        EXPECT_EQ(flow.promptName(), c.promptName);
    }
}

TEST_F(SaveFlowTest, BackupsAreNumberedFromNextId) {
    flow.backupSave("My Song");
    EXPECT_EQ(files.writes.back().path, folder.file("backup") + "/0_My Song.qx");
    EXPECT_FALSE(files.writes.back().updateTitle);
    EXPECT_EQ(folder.read("backup/nextid.ini"), "1\n");
    flow.backupSave("My Song");
    EXPECT_EQ(files.writes.back().path, folder.file("backup") + "/1_My Song.qx");
    EXPECT_EQ(folder.read("backup/nextid.ini"), "2\n");

    folder.write("backup/nextid.ini", "rubbish");
    flow.backupSave("A");
    EXPECT_EQ(files.writes.back().path, folder.file("backup") + "/0_A.qx");
    std::filesystem::remove(folder.file("backup/nextid.ini"));
    flow.backupSave("B");
    EXPECT_EQ(files.writes.back().path, folder.file("backup") + "/0_B.qx");
    EXPECT_EQ(folder.read("backup/nextid.ini"), "1\n");
}

TEST_F(SaveFlowTest, BackupNameCannotLeaveTheBackupFolder) {
    flow.backupSave("../../etc/x");
    EXPECT_EQ(files.writes.back().path, folder.file("backup") + "/0_.._.._etc_x.qx");
}

TEST_F(SaveFlowTest, SaveWithBackupsWritesTheBackupEvenWhenTheSaveFails) {
    flow.setSaveBackups(true);
    ui.saveAnswer = SaveTarget{"/x/song.qx", 1};
    files.title = "T";
    ASSERT_TRUE(flow.saveAs());
    EXPECT_EQ(files.writes.size(), 2u);
    files.writeSucceeds = false;
    store.setModified(true);
    EXPECT_FALSE(flow.save());
    EXPECT_EQ(files.writes.size(), 4u);
    EXPECT_TRUE(store.modified());
}

} // namespace
} // namespace quillex
