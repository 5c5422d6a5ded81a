// The edit commands as a user meets them: a song read from its file, edited through the
// dispatcher, undone and redone, and saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "editing_fixture.h"
#include "fileio/song_reader.h"
#include "fileio/song_writer.h"

namespace quillex {
namespace {

// 120 BPM, no offset, a dance-single Medium chart with two notes off the 4th grid.
const std::string kSong = "#TITLE:Edit;#MUSIC:song.ogg;#OFFSET:0;#BPMS:0=120;#STOPS:;\n"
                          "#NOTES:dance-single: :Medium:3:0,0,0,0,0:\n"
                          "1000\n0000\n0000\n0000\n0000\n0000\n0000\n0000\n"
                          "0000\n0100\n0000\n0000\n0000\n0000\n0000\n0010\n;\n";

class EditCommandsTest : public ::testing::Test, public test::EditingFixture {
  protected:
    EditCommandsTest() {
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "song.ogg") << "x";
        std::ofstream(folder / "song.sm", std::ios::binary) << kSong;
        EXPECT_TRUE(readSong(songFiles, (folder / "song.sm").string()));
        dispatcher.selectLevel(levelIndex(0, 2));
    }
    ~EditCommandsTest() override { std::filesystem::remove_all(folder); }

    std::vector<std::int32_t> rows() const {
        std::vector<std::int32_t> out;
        for (const EditItem& n : editor.store().notes(editor.store().currentLevel()))
            out.push_back(n.row());
        return out;
    }
    std::string undoCaption() { return shell.caption(CommandId::Undo); }
    std::string redoCaption() { return shell.caption(CommandId::Redo); }
    // The chart's measures as written to a file.
    std::string savedChart() {
        const std::string path = (folder / "out.sm").string();
        EXPECT_TRUE(writeSong(songFiles, path, false));
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string all = text.str();
        const std::string radar = "0,0,0,0,0:\r\n"; // as the song read gives them
        return all.substr(all.find(radar) + radar.size());
    }

    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillex-edit-" + std::to_string(::getpid()));
    SongFileContext songFiles = songFileContext(editor);
};

TEST_F(EditCommandsTest, QuantizeIsOneEntryUndoneRedoneAndSaved) {
    EXPECT_EQ(undoCaption(), "Undo \tCtrl+Z") << "nothing to undo after a load";
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{48, 156, 228}));

    dispatcher.dispatch(CommandId::QuantizeTo4th);
    EXPECT_EQ(messages.lastText(), "First, select some arrows to quantize.");
    EXPECT_EQ(undoCaption(), "Undo \tCtrl+Z");

    dispatcher.dispatch(CommandId::SelectAll);
    dispatcher.dispatch(CommandId::QuantizeTo4th);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{48, 144, 240}));
    EXPECT_EQ(undoCaption(), "Undo Quantize\tCtrl+Z");
    EXPECT_TRUE(shell.menuItems[CommandId::Undo].second);

    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{48, 156, 228}));
    EXPECT_EQ(redoCaption(), "Redo Quantize\tCtrl+Y");
    EXPECT_FALSE(shell.menuItems[CommandId::Undo].second);
    dispatcher.dispatch(CommandId::Redo);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{48, 144, 240}));
    std::string empty;
    for (int m = 0; m < 4; ++m)
        empty += ",\r\n0000\r\n0000\r\n0000\r\n0000\r\n";
    EXPECT_EQ(savedChart(),
              "1000\r\n0000\r\n0100\r\n0000\r\n,\r\n0010\r\n0000\r\n0000\r\n0000\r\n" + empty +
                  ";\r\n");

    // Quantizing what is already on the grid changes nothing, yet is one entry.
    dispatcher.dispatch(CommandId::QuantizeTo4th);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{48, 144, 240}));
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(undoCaption(), "Undo Quantize\tCtrl+Z");
}

TEST_F(EditCommandsTest, NoteEditsCommitTheirEntryOnceDone) {
    for (CommandId edit : {CommandId::QuantizeTo8th, CommandId::TurnRight,
                           CommandId::ChangeNoteType, CommandId::Delete}) {
        dispatcher.dispatch(CommandId::SelectAll);
        dispatcher.dispatch(edit);
        EXPECT_FALSE(editor.history().pending()) << toInt(edit);
    }
    EXPECT_EQ(undoCaption(), "Undo Delete\tCtrl+Z");
}

TEST_F(EditCommandsTest, CutAndPasteMoveNotesAsOneUndoableStep) {
    EXPECT_FALSE(dispatcher.available(CommandId::Paste)) << "Paste waits for the clipboard";
    dispatcher.dispatch(CommandId::SelectAll);
    dispatcher.dispatch(CommandId::Cut);
    EXPECT_TRUE(dispatcher.available(CommandId::Paste));
    EXPECT_EQ(undoCaption(), "Undo \tCtrl+Z") << "Cut opens no entry";
    editor.player().seek(44100 * 4); // beat 9, row 432
    dispatcher.dispatch(CommandId::Paste);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{432, 540, 612}));
    EXPECT_EQ(undoCaption(), "Undo Paste\tCtrl+Z");
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(rows(), (std::vector<std::int32_t>{48, 156, 228}));
    EXPECT_EQ(editor.player().position(), 44100 * 4);
}

TEST_F(EditCommandsTest, UndoRestoresTheLevelAndClearHistoryCounts) {
    dispatcher.dispatch(CommandId::SelectAll);
    dispatcher.dispatch(CommandId::TurnLeft);
    dispatcher.selectLevel(levelIndex(0, 3));
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(editor.store().currentLevel(), levelIndex(0, 2));
    dispatcher.dispatch(CommandId::ClearHistory);
    EXPECT_EQ(questions.asked, "The Undo/Redo History has 1 item(s), 1 active.\n"
                               "Are you sure you want to clear the Undo/Redo History?");
    EXPECT_FALSE(shell.menuItems[CommandId::Redo].second);
}

TEST_F(EditCommandsTest, ReadingASongEmptiesTheHistory) {
    dispatcher.dispatch(CommandId::SelectAll);
    dispatcher.dispatch(CommandId::MirrorUpDown);
    ASSERT_TRUE(editor.history().menuState().canUndo);
    ASSERT_TRUE(readSong(songFiles, (folder / "song.sm").string()));
    EXPECT_FALSE(editor.history().menuState().canUndo);
    EXPECT_EQ(undoCaption(), "Undo \tCtrl+Z");
}

} // namespace
} // namespace quillex
