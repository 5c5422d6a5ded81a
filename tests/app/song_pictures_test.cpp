// The song's banner and background reach the renderer: named with either separator,
// the background once the music (or the silence standing in for it) has loaded, and
// both dropped again on close.
#include <gtest/gtest.h>

#include <filesystem>

#include "../settings/temp_folder.h"
#include "app/session/editor.h"
#include "app/session/editor_ports.h"
#include "audio/platform/platform_audio.h"

namespace quillex {
namespace {

struct Pictures {
    std::string banner = "unset";
    std::string background = "unset";
};

class SongPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(folder.file("art"));
        std::filesystem::copy_file(QUILLEX_EXAMPLES_DIR "/demo/demo.ogg", folder.file("demo.ogg"));
        files.songPicturesChanged = [this](const std::string& banner,
                                           const std::string& background) {
            seen.banner = banner;
            seen.background = background;
        };
    }
    void writeSong(const std::string& music) {
        folder.write("song.sm", "#TITLE:t;#BANNER:art\\banner.png;#BACKGROUND:bg.png;#MUSIC:" +
                                    music + ";#OFFSET:0;#BPMS:0=120;");
    }

    test::TempFolder folder;
    RecordingMessages messages;
    NullShellHooks shell;
    Editor editor{messages, shell, makePlatformAudio()};
    EditorSongFiles files{editor};
    Pictures seen;
};

TEST_F(SongPicturesTest, ReadSongHandsOverBothPicturesAndCloseDropsThem) {
    writeSong("demo.ogg");
    ASSERT_TRUE(files.loadSong(folder.file("song.sm")));
    EXPECT_EQ(seen.banner, folder.file("art/banner.png"));
    EXPECT_EQ(seen.background, folder.file("bg.png"));

    files.closeSong();
    EXPECT_EQ(seen.banner, "");
    EXPECT_EQ(seen.background, "");
}

TEST_F(SongPicturesTest, ASongOverSilenceForMissingMusicShowsBothPictures) {
    writeSong("missing.ogg");
    ASSERT_TRUE(files.loadSong(folder.file("song.sm")));
    EXPECT_TRUE(editor.player().silent());
    EXPECT_EQ(seen.banner, folder.file("art/banner.png"));
    EXPECT_EQ(seen.background, folder.file("bg.png"));
}

} // namespace
} // namespace quillex
