// Saves that stay whole: what a save replaces (through links, with its permissions,
// never anything but a regular file), the temporaries of killed saves, and the song
// file and companion of many saves at once always read as one pair.
#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "fileio/file_replacement.h"
#include "fileio/song_paths.h"
#include "song_file_fixture.h"

namespace quillex {
namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public ::testing::Test, public test::SongFileFixture {
  protected:
    void loadSong(const std::string& text) {
        ASSERT_TRUE(read(writeSongFile("start.sm", text)));
        messages.shown.clear();
    }
};

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// The id of a process that has ended.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST_F(FileReplacementTest, ASaveWritesThroughLinksAndKeepsTheFilesPermissions) {
    loadSong("#MUSIC:song.ogg;#BPMS:0=120;");
    const std::string real = writeFile("real.sm", "old");
    ::chmod(real.c_str(), 0640);
    fs::create_directory(pathOf("links"));
    fs::create_symlink("../real.sm", pathOf("links/song.sm"));

    ASSERT_TRUE(write(pathOf("links/song.sm"), false));
    EXPECT_TRUE(fs::is_symlink(pathOf("links/song.sm")));
    EXPECT_NE(test::readFileBytes(real).find("#BPMS:"), std::string::npos);
    EXPECT_EQ(modeOf(real), 0640u);
    // The temporary file was beside the target, and nothing is left of it.
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        EXPECT_EQ(entry.path().string().find(".saving-"), std::string::npos) << entry.path();
}

TEST_F(FileReplacementTest, WhatIsNoRegularFileIsRefusedByNameAndLeftAlone) {
    loadSong("#MUSIC:song.ogg;#BPMS:0=120;");
    const std::string pipe = pathOf("pipe.sm");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    fs::create_directory(pathOf("folder.qxx"));
    fs::create_symlink("pipe.sm", pathOf("to-pipe.sm"));
    const struct {
        std::string path, named, kind;
    } cases[] = {
        {pipe, pipe, "a pipe"},
        {pathOf("to-pipe.sm"), pathOf("to-pipe.sm"), "a pipe"},
        {pathOf("folder.qx"), pathOf("folder.qxx"), "a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        messages.shown.clear();
        EXPECT_FALSE(write(c.path, false));
        EXPECT_EQ(shownTexts(), std::vector<std::string>{"I could not save the file " + c.named +
                                                         ".\nIt is " + c.kind +
                                                         ", not a file a song is saved in; "
                                                         "nothing was written."});
    }
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
    EXPECT_FALSE(fs::exists(pathOf("folder.qx")));
}

TEST_F(FileReplacementTest, TemporariesOfEndedSavesAreRemovedByTheNextSave) {
    loadSong("#MUSIC:song.ogg;#BPMS:0=120;");
    const std::string ended = std::to_string(endedProcess());
    const std::string running = std::to_string(::getpid());
    const std::string stale = writeFile("s.sm.saving-" + ended + "-0", "cut");
    const std::vector<std::string> kept = {
        writeFile("s.sm.saving-" + running + "-7", "a save still running"),
        writeFile("other.sm.saving-" + ended + "-0", "another file's"),
        writeFile("s.sm.saving-" + ended + "-x", "not a name we give"),
    };
    ASSERT_TRUE(write(pathOf("s.sm"), false));
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& path : kept)
        EXPECT_TRUE(fs::exists(path)) << path;
}

// Writers replace one song file and companion with one of two songs over and over
// while the song is read again and again: every read and the last save give a song
// file and companion of the same song.
TEST_F(FileReplacementTest, ConcurrentSavesAndReadsAlwaysSeeOnePair) {
    struct Pair {
        std::string song, companion;
        std::size_t beats = 0;
    };
    std::array<Pair, 2> pairs;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        loadSong(i == 0 ? "#TITLE:0;#MUSIC:song.ogg;#BPMS:0=120;"
                        : "#TITLE:1;#MUSIC:song.ogg;#OFFSET:-0.25;#BPMS:0=150;");
        pairs[i].beats = store.beats().size();
        const std::string path = pathOf("pair" + std::to_string(i) + ".qx");
        ASSERT_TRUE(write(path, false));
        pairs[i].song = test::readFileBytes(path);
        pairs[i].companion = test::readFileBytes(companionPathOf(path));
    }
    ASSERT_NE(pairs[0].beats, pairs[1].beats);
    const std::string path = pathOf("shared.qx");
    std::atomic<int> writersLeft = 4;
    std::vector<std::thread> writers;
    for (int w = 0; w < writersLeft; ++w)
        writers.emplace_back([&, w] {
            std::string error;
            for (int save = 0; save < 25; ++save) {
                const Pair& pair = pairs[static_cast<std::size_t>((w + save) % 2)];
                EXPECT_TRUE(replaceFiles(
                    {{path, pair.song}, {companionPathOf(path), pair.companion}}, error))
                    << error;
            }
            --writersLeft;
        });
    const auto expectOnePair = [&] {
        messages.shown.clear();
        ASSERT_TRUE(read(path));
        const std::string& title = editor.song().properties().title;
        ASSERT_TRUE(title == "0" || title == "1") << title;
        EXPECT_EQ(store.beats().size(), pairs[title == "0" ? 0 : 1].beats);
        EXPECT_TRUE(messages.shown.empty()) << messages.lastText();
    };
    int reads = 0;
    while (writersLeft > 0 && !HasFailure()) {
        if (fs::exists(path)) {
            expectOnePair();
            ++reads;
        }
    }
    for (std::thread& writer : writers)
        writer.join();
    expectOnePair();
    EXPECT_GT(reads, 0);
}

} // namespace
} // namespace quillex
