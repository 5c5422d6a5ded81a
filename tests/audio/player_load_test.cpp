// Opening and dropping music through the player: the format check and its message,
// what a load sets up and what an unload takes down.
#include <gtest/gtest.h>

#include "audio/music_format.h"
#include "audio/silent_output.h"
#include "player_fixture.h"

namespace quillex {
namespace {

using test::PlayerFixture;

TEST(MusicFormat, AcceptsWhatTheEditorCanShow) {
    EXPECT_FALSE(formatRefusal({48000, 16, 2}));
    EXPECT_FALSE(formatRefusal({192000, 24, 1}));
    EXPECT_FALSE(formatRefusal({44100, 8, 2}));
    EXPECT_FALSE(formatRefusal({44100, 32, 2, true}));
    EXPECT_TRUE(formatRefusal({44100, 0, 2})); // nothing to read
}

TEST(MusicFormat, RefusalNamesWhatTheFileIs) {
    const std::string head = "Sorry, this version of quillex only supports up to 192000 hz, "
                             "8/16/24/32-bit, Mono/Stereo audio.\nThis song appears to be - ";
    const std::string tail =
        "\nYou should manually convert the song to a supported format and try again.";
    EXPECT_EQ(formatRefusal({196000, 16, 2}), head + "196000 hz, 16-bit, Stereo audio." + tail);
    EXPECT_EQ(formatRefusal({44100, 12, 1}), head + "44100 hz, 12-bit, Mono audio." + tail);
    EXPECT_EQ(formatRefusal({44100, 64, 2}), head + "44100 hz, 64-bit, Stereo audio." + tail);
    EXPECT_EQ(formatRefusal({48000, 16, 6}),
              head + "48000 hz, 16-bit, Other multi-channel audio." + tail);
}

TEST(LoadMusic, ALoadedMusicIsReadyPausedAtTheStart) {
    PlayerFixture f;
    const std::string path = f.addMusic("song.ogg", 48000 * 3, 48000);
    f.player.setVolume(40);
    f.player.setSpeed(150);
    f.editor.waveView().zoomLevel = 3;

    ASSERT_TRUE(f.player.loadMusic(path, "fallback", true));
    EXPECT_TRUE(f.player.loaded());
    EXPECT_FALSE(f.player.playing());
    EXPECT_EQ(f.player.musicPath(), path);
    EXPECT_EQ(f.player.musicLength(), 48000 * 3);
    EXPECT_EQ(f.player.sampleRate(), 48000);
    EXPECT_EQ(f.store.timing().sampleRate(), 48000);
    EXPECT_EQ(f.player.position(), 0);
    EXPECT_EQ(f.player.volumePercent(), 100);
    EXPECT_EQ(f.player.speedPercent(), 100);
    EXPECT_TRUE(f.shell.checks[CommandId::VolumeNormal]);
    EXPECT_TRUE(f.shell.checks[CommandId::SpeedNormal]);
    EXPECT_EQ(f.editor.waveView().zoomLevel, 10);
    EXPECT_EQ(f.editor.waveView().peaks.blockCount(1), 48000u * 3);
    EXPECT_TRUE(f.out.open);
    EXPECT_TRUE(f.out.paused);
    EXPECT_EQ(f.shell.title, "quillex - [" + path + "]");
    EXPECT_EQ(f.shell.barLength, 48000 * 3);
    EXPECT_TRUE(f.shell.barEnabled);
    for (Layer layer : {Layer::Wave, Layer::Beat, Layer::Pause, Layer::Status})
        EXPECT_TRUE(f.store.layerOn(layer));
    for (CommandId id : {CommandId::WaveLayer, CommandId::BeatLayer, CommandId::PauseLayer,
                         CommandId::StatusLayer})
        EXPECT_TRUE(f.shell.checks[id]);
    EXPECT_TRUE(f.editor.waveView().visible);
}

TEST(LoadMusic, TitleComesFromTheSongWhenASongNamedTheMusic) {
    PlayerFixture f;
    const std::string path = f.addMusic("a.mp3", 1000);
    std::string songTitle = "Sunrise";
    f.player.setTitleProvider([&] { return songTitle; });
    ASSERT_TRUE(f.player.loadMusic(path, "untitled.sm", false));
    EXPECT_EQ(f.shell.title, "quillex - [Sunrise]");
    songTitle.clear();
    ASSERT_TRUE(f.player.loadMusic(path, "untitled.sm", false));
    EXPECT_EQ(f.shell.title, "quillex - [untitled.sm]");
}

TEST(LoadMusic, RefusedFormatShowsOneMessageAndLeavesNothingLoaded) {
    PlayerFixture f;
    const std::string good = f.addMusic("good.wav", 1000);
    const std::string wide = f.addMusic("wide.wav", 1000, 196000);
    const std::string many = f.addMusic("many.wav", 1000, 44100, 6);
    ASSERT_TRUE(f.player.loadMusic(good, "", true));

    EXPECT_FALSE(f.player.loadMusic(wide, "", true));
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_NE(f.messages.lastText().find("196000 hz, 16-bit, Stereo audio."), std::string::npos);
    EXPECT_EQ(f.messages.shown[0].caption, "Tip");
    EXPECT_FALSE(f.player.loaded());
    EXPECT_EQ(f.player.musicLength(), 0);
    EXPECT_TRUE(f.player.musicPath().empty());
    EXPECT_TRUE(f.editor.waveView().peaks.empty());
    EXPECT_EQ(f.shell.title, "quillex");

    EXPECT_FALSE(f.player.loadMusic(many, "", true));
    EXPECT_NE(f.messages.lastText().find("Other multi-channel audio."), std::string::npos);
}

TEST(LoadMusic, MissingFilesFailSilentlyUndecodableOnesAreNamed) {
    PlayerFixture f;
    EXPECT_FALSE(f.player.loadMusic("", "", true));
    EXPECT_FALSE(f.player.loadMusic((f.folder / "none.ogg").string(), "", true));
    std::ofstream((f.folder / "unknown.ogg").string()).put('x');
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_FALSE(f.player.loadMusic((f.folder / "unknown.ogg").string(), "", true));
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_NE(f.messages.lastText().find("unknown.ogg"), std::string::npos);
    EXPECT_FALSE(f.player.loaded());
}

TEST(LoadMusic, LoadingAnotherMusicWhilePlayingDropsTheFirstAndTheSong) {
    PlayerFixture f;
    const std::string first = f.addMusic("first.ogg", 100000);
    const std::string second = f.addMusic("second.ogg", 5000);
    ASSERT_TRUE(f.player.loadMusic(first, "", true));
    f.addBeats(4, 1000, 10000);
    f.player.setPreviewStart(500);
    f.player.seek(20000);
    ASSERT_TRUE(f.player.play());
    f.shell.recording = true;

    ASSERT_TRUE(f.player.loadMusic(second, "", true));
    EXPECT_EQ(f.out.closeCount, 1);
    EXPECT_EQ(f.out.openCount, 2);
    EXPECT_FALSE(f.player.playing());
    EXPECT_FALSE(f.shell.recording);
    EXPECT_EQ(f.player.position(), 0);
    EXPECT_EQ(f.player.previewStart(), 0);
    EXPECT_TRUE(f.store.beats().empty());
    EXPECT_EQ(f.player.musicLength(), 5000);
    EXPECT_EQ(f.editor.waveView().peaks.blockCount(1), 5000u);
    EXPECT_GE(f.shell.undoClears, 2);
}

// Files may announce a wrong length or none; the music is whatever decodes, and the
// buffers grow without losing a frame.
TEST(LoadMusic, AWronglyAnnouncedLengthStillDecodesEverything) {
    for (std::int64_t announced : {std::int64_t{-1}, std::int64_t{1000}, std::int64_t{70000}}) {
        PlayerFixture f;
        const std::string path = f.addMusic("long.ogg", 200000);
        f.library[path].format.frames = announced;
        ASSERT_TRUE(f.player.loadMusic(path, "", true));
        EXPECT_EQ(f.player.musicLength(), 200000);
        const auto& pcm = f.player.decodedMusic()->samples;
        ASSERT_TRUE(std::equal(pcm.begin(), pcm.end(), f.library[path].samples.begin()));
        const PeakPyramid& peaks = f.editor.waveView().peaks;
        EXPECT_EQ(peaks.blockCount(13), 199999u / 4096);
        for (std::size_t i = 0; i < 200000; i += 997)
            ASSERT_EQ(peaks.range(1, i).rightMin + peaks.range(1, i).rightMax,
                      reduceSample16(pcm[2 * i + 1]));
    }
}

TEST(UnloadMusic, TakesDownLayersTitleAndPositionBar) {
    PlayerFixture f;
    ASSERT_TRUE(f.player.loadMusic(f.addMusic("x.wav", 3000), "", true));
    f.store.setLayer(Layer::Arrow, true);
    f.player.setVolume(30);
    EXPECT_TRUE(f.player.unloadMusic());
    EXPECT_FALSE(f.player.loaded());
    EXPECT_EQ(f.player.volumePercent(), 100);
    EXPECT_FALSE(f.out.open);
    EXPECT_EQ(f.shell.title, "quillex");
    EXPECT_FALSE(f.shell.barEnabled);
    for (Layer layer : {Layer::Wave, Layer::Beat, Layer::Pause, Layer::Arrow, Layer::Status})
        EXPECT_FALSE(f.store.layerOn(layer));
    EXPECT_FALSE(f.shell.checks[CommandId::ArrowLayer]);
    EXPECT_EQ(f.player.nextBeatTick(), -1);
}

TEST(UnloadMusic, AFailedPauseIsReportedAndTheUnloadGoesOn) {
    PlayerFixture f;
    ASSERT_TRUE(f.player.loadMusic(f.addMusic("x.wav", 3000), "", true));
    f.out.failing = {"paused"};
    EXPECT_TRUE(f.player.unloadMusic());
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Unload - SetPaused.-???");
    EXPECT_FALSE(f.player.loaded());
}

TEST(MusicPlayer, StartsWithSecondsMarkedAndTicksOff) {
    PlayerFixture f;
    EXPECT_EQ(f.player.timeFormat(), kTimeSeconds);
    EXPECT_TRUE(f.shell.checks[CommandId::TimeSeconds]);
    EXPECT_FALSE(f.shell.checks[CommandId::TimeSamples]);
    EXPECT_TRUE(f.player.beatTickOff());
    EXPECT_TRUE(f.player.noteTickOff());
    EXPECT_TRUE(f.player.tickSubBeats());
    EXPECT_EQ(f.player.sampleRate(), 44100);
    EXPECT_EQ(f.player.musicLength(), 0);
}

TEST(MusicPlayer, WithoutADeviceItSaysSoOnceWithoutAMessageBox) {
    RecordingMessages messages;
    test::RecordingShell shell;
    AudioBackend audio;
    audio.output = std::make_unique<SilentOutput>();
    audio.deviceNotice = "No audio device could be opened: the music plays silently.";
    Editor editor(messages, shell, std::move(audio));
    EXPECT_EQ(shell.status[0], "No audio device could be opened: the music plays silently.");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(editor.player().audible());
}

} // namespace
} // namespace quillex
