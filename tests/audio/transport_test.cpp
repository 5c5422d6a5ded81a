// The transport: clamps and refusals of play, pause and seek, the end of the music,
// speed and volume steps, the failure messages, snapping and the stepping moves.
#include <gtest/gtest.h>

#include "player_fixture.h"

namespace quillex {
namespace {

struct Transport : ::testing::Test {
    test::PlayerFixture f;
    MusicPlayer& player = f.player;
    static constexpr SamplePosition kLength = 441000;

    void SetUp() override { ASSERT_TRUE(player.loadMusic(f.addMusic("m.ogg", kLength), "", true)); }
    // The output has played on to `frame`.
    void outputReaches(SamplePosition frame) { f.out.position = frame; }
};

TEST_F(Transport, SeekClampsToTheMusicAndLeavesAPausedOutputAlone) {
    const int calls = f.out.calls;
    EXPECT_TRUE(player.seek(-5));
    EXPECT_EQ(player.position(), 0);
    EXPECT_TRUE(player.seek(kLength + 1000));
    EXPECT_EQ(player.position(), kLength - 1);
    EXPECT_EQ(f.out.calls, calls);
}

TEST_F(Transport, SeekWithNothingLoadedStaysAtZero) {
    player.unloadMusic();
    EXPECT_TRUE(player.seek(500));
    EXPECT_EQ(player.position(), 0);
}

TEST_F(Transport, PlayAtTheLastSampleDoesNothing) {
    player.seek(kLength - 1);
    EXPECT_TRUE(player.play());
    EXPECT_FALSE(player.playing());
    EXPECT_TRUE(f.out.paused);
}

TEST_F(Transport, PlayFollowsTheOutputAndStopsAtTheEnd) {
    player.seek(1000);
    ASSERT_TRUE(player.play());
    EXPECT_TRUE(player.playing());
    EXPECT_FALSE(f.out.paused);
    EXPECT_EQ(f.out.position, 1000);
    EXPECT_EQ(player.playStart(), 1000);

    outputReaches(30000);
    EXPECT_TRUE(player.pollPosition());
    EXPECT_EQ(player.position(), 30000);

    f.shell.recording = true;
    outputReaches(kLength);
    EXPECT_TRUE(player.pollPosition());
    EXPECT_FALSE(player.playing());
    EXPECT_TRUE(f.out.paused);
    EXPECT_EQ(player.position(), kLength - 1);
    EXPECT_EQ(f.shell.posted, std::vector<CommandId>{CommandId::Record});
}

TEST_F(Transport, TheTimelineReachesTheMarkersBeforeAndAfterTheMusicAndPlaysSilenceThere) {
    f.addBeats(24, -22050, 22050); // half a second before the music to a second after it
    constexpr SamplePosition kLast = -22050 + 23 * 22050;
    player.seek(-100000);
    EXPECT_EQ(player.position(), -22050);
    EXPECT_TRUE(player.transportStep(TransportMove::End));
    EXPECT_EQ(player.position(), kLast);
    EXPECT_TRUE(player.transportStep(TransportMove::Start));
    EXPECT_EQ(player.position(), -22050);

    // The output plays the music with silence around it, its frame 0 at -22050.
    player.seek(-10000);
    ASSERT_TRUE(player.play());
    EXPECT_EQ(f.out.frames, kLast + 1 + 22050);
    EXPECT_EQ(f.out.position, 12050);
    outputReaches(22050 + kLength + 1000);
    EXPECT_TRUE(player.pollPosition());
    EXPECT_TRUE(player.playing());
    EXPECT_EQ(player.position(), kLength + 1000);
    EXPECT_EQ(player.channelPosition(), kLength + 1000);
    outputReaches(static_cast<SamplePosition>(f.out.frames));
    EXPECT_TRUE(player.pollPosition());
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.position(), kLast);
}

TEST_F(Transport, PauseKeepsThePositionLastShownAndStopReturnsToTheStart) {
    player.seek(5000);
    player.play();
    outputReaches(9000);
    player.pollPosition();
    outputReaches(9500); // played on after the last frame was drawn
    ASSERT_TRUE(player.pause());
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(f.out.position, 9000);
    EXPECT_EQ(player.position(), 9000);

    player.play();
    outputReaches(20000);
    player.pollPosition();
    EXPECT_TRUE(player.transportStep(TransportMove::Stop));
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.position(), 9000);
}

TEST_F(Transport, FailedOutputCallsAreReportedAndChangeNothing) {
    f.out.failing = {"position"};
    EXPECT_FALSE(player.play());
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Play - setposition.");
    EXPECT_FALSE(player.playing());

    f.out.failing = {"paused"};
    EXPECT_FALSE(player.play());
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Play - Unpause.");

    f.out.failing.clear();
    ASSERT_TRUE(player.play());
    f.out.failing = {"position"};
    EXPECT_FALSE(player.seek(7000));
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Seek - Set Position.");
    EXPECT_EQ(player.position(), 0);
    EXPECT_FALSE(player.pause());
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Pause - set position.");
    EXPECT_TRUE(player.playing());
    f.out.failing = {"paused"};
    EXPECT_FALSE(player.pause());
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Pause - Set Paused.");
    EXPECT_TRUE(player.playing());
    f.out.failing = {"getPosition"};
    EXPECT_FALSE(player.pollPosition());
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Getposition SlowUpdate.");
    f.out.failing = {"volume"};
    EXPECT_FALSE(player.setVolume(50));
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in Set Music Volume.");
    EXPECT_EQ(player.volumePercent(), 100);
    f.out.failing = {"frequency"};
    EXPECT_FALSE(player.setSpeed(50));
    EXPECT_EQ(f.messages.lastText(), "Non-fatal Error in SetPlaybackSpeed.");
    for (const auto& shown : f.messages.shown)
        EXPECT_EQ(shown.caption, "Tip");
}

TEST_F(Transport, SpeedStepsStayWithinTenToTwoHundredAndSetThePitch) {
    EXPECT_TRUE(player.setSpeed(5));
    EXPECT_TRUE(player.setSpeed(210));
    EXPECT_EQ(player.speedPercent(), 100);
    for (int i = 0; i < 10; ++i)
        player.speedFaster();
    EXPECT_EQ(player.speedPercent(), 200);
    EXPECT_FLOAT_EQ(f.out.frequency, 2 * 44100.0f);
    EXPECT_FALSE(f.shell.checks[CommandId::SpeedNormal]);
    player.speedFaster();
    EXPECT_EQ(player.speedPercent(), 200);
    for (int i = 0; i < 30; ++i)
        player.speedSlower();
    EXPECT_EQ(player.speedPercent(), 10);
    player.speedNormal();
    EXPECT_TRUE(f.shell.checks[CommandId::SpeedNormal]);
    EXPECT_FLOAT_EQ(f.out.frequency, 44100.0f);
}

TEST_F(Transport, VolumeStepsClampAndMarkMuteAndNormal) {
    player.setVolume(95);
    player.volumeLouder();
    EXPECT_EQ(player.volumePercent(), 100);
    EXPECT_TRUE(f.shell.checks[CommandId::VolumeNormal]);
    player.setVolume(5);
    player.volumeSofter();
    EXPECT_EQ(player.volumePercent(), 0);
    EXPECT_FLOAT_EQ(f.out.gain, 0.0f);
    EXPECT_TRUE(f.shell.checks[CommandId::Mute]);
    EXPECT_FALSE(f.shell.checks[CommandId::VolumeNormal]);
}

TEST_F(Transport, RowAndPageStepsUseTheWaveZoom) {
    // Zoom 10: 512 samples per row, a page is 100 rows.
    player.transportStep(TransportMove::RowDown);
    EXPECT_EQ(player.position(), 512);
    player.transportStep(TransportMove::RowUp);
    player.transportStep(TransportMove::RowUp);
    EXPECT_EQ(player.position(), 0);
    player.transportStep(TransportMove::PageDown);
    EXPECT_EQ(player.position(), 51200);
    player.transportStep(TransportMove::End);
    EXPECT_EQ(player.position(), kLength - 1);
    player.transportStep(TransportMove::PageDown);
    EXPECT_EQ(player.position(), kLength - 1);
    player.seek(100);
    player.transportStep(TransportMove::PageUp);
    EXPECT_EQ(player.position(), 0);
}

struct Snapping : Transport {
    // 20 beats, one every 960 samples from sample 10000 (20 samples per row).
    void SetUp() override {
        Transport::SetUp();
        f.addBeats(20, 10000, 960);
    }
    SamplePosition sampleOf(int beat, int fraction) {
        return f.store.timing().rowToSample(beat, fraction);
    }
    RowPosition rowNow() { return f.store.timing().sampleToRow(player.position()); }
};

TEST_F(Snapping, SnapRowRoundsToTheNearestStep) {
    player.setSnap(4, false);
    EXPECT_TRUE(player.snapRow({3, 7}));
    EXPECT_EQ(rowNow(), (RowPosition{3, 12}));
    player.snapRow({3, 42});
    EXPECT_EQ(rowNow(), (RowPosition{4, 0}));
    player.snapRow({0, 30});
    EXPECT_EQ(rowNow(), (RowPosition{1, 0}));
    player.snapRow({25, 0}); // past the last marker
    EXPECT_EQ(rowNow(), (RowPosition{20, 0}));
    EXPECT_EQ(player.snappedRowAt(sampleOf(5, 20)), (RowPosition{5, 24}));
}

TEST_F(Snapping, WithoutASnapTheSnappingMovesAreRefused) {
    player.seek(sampleOf(3, 5));
    EXPECT_FALSE(player.snapRow({3, 7}));
    EXPECT_FALSE(player.transportStep(TransportMove::NextSnap));
    EXPECT_EQ(rowNow(), (RowPosition{3, 5}));
    EXPECT_EQ(player.snappedRowAt(sampleOf(3, 5)), (RowPosition{3, 5}));
}

TEST_F(Snapping, SettingASnapJumpsToTheGridAndMarksItsCommand) {
    player.seek(sampleOf(2, 10));
    EXPECT_TRUE(player.setSnap(4, true)); // index 4: 16ths
    EXPECT_EQ(player.snap(false), 4);
    EXPECT_EQ(rowNow(), (RowPosition{2, 12}));
    EXPECT_TRUE(f.shell.checks[CommandId::SnapTo16th]);
    EXPECT_FALSE(f.shell.checks[CommandId::NoSnap]);
    player.setSnap(48, false);
    EXPECT_EQ(player.snap(true), 10);
    EXPECT_TRUE(f.shell.checks[CommandId::SnapTo192nd]);
    EXPECT_FALSE(f.shell.checks[CommandId::SnapTo16th]);
    player.setSnap(5, false); // not in the table: no mark at all
    for (const SnapSetting& s : kSnapSettings)
        EXPECT_FALSE(f.shell.checks[s.command]);
    EXPECT_FALSE(player.setSnap(11, true));
    EXPECT_FALSE(player.setSnap(96, false));
    EXPECT_EQ(player.snap(false), 5);
}

TEST_F(Snapping, SnapCyclingWraps) {
    player.previousSnap();
    EXPECT_EQ(player.snap(true), 10);
    player.nextSnap();
    EXPECT_EQ(player.snap(true), 0);
    player.nextSnap();
    EXPECT_EQ(player.snap(false), 1);
}

TEST_F(Snapping, SnapStepsAndFourBeatMoves) {
    player.setSnap(4, false);
    player.seek(sampleOf(3, 0));
    player.transportStep(TransportMove::NextSnap);
    EXPECT_EQ(rowNow(), (RowPosition{3, 12}));
    player.transportStep(TransportMove::FourBeatsDown);
    EXPECT_EQ(rowNow(), (RowPosition{7, 12}));
    player.transportStep(TransportMove::PreviousSnap);
    EXPECT_EQ(rowNow(), (RowPosition{7, 0}));
    player.seek(sampleOf(1, 12));
    player.transportStep(TransportMove::FourBeatsUp); // before beat 1
    EXPECT_EQ(rowNow(), (RowPosition{1, 0}));
    player.transportStep(TransportMove::PreviousSnap);
    EXPECT_EQ(rowNow(), (RowPosition{1, 0}));
}

TEST_F(Snapping, SnapStepsPassOverAWarpBothWays) {
    f.store.addWarp({5, 0}, {2, 0}); // beats 5 and 6 take no time
    f.store.refresh();
    player.setSnap(4, false);
    player.seek(sampleOf(4, 36));
    const RowPosition steps[] = {{7, 0}, {7, 12}, {7, 0}, {4, 36}, {4, 24}};
    const TransportMove moves[] = {TransportMove::NextSnap, TransportMove::NextSnap,
                                   TransportMove::PreviousSnap, TransportMove::PreviousSnap,
                                   TransportMove::PreviousSnap};
    for (std::size_t i = 0; i < std::size(moves); ++i) {
        player.transportStep(moves[i]);
        EXPECT_EQ(rowNow(), steps[i]) << i;
    }
    player.snapRow({21, 0}); // past the marker count, before the last marker's beat 22
    EXPECT_EQ(rowNow(), (RowPosition{21, 0}));
}

TEST_F(Snapping, TickIndicesFollowSeeks) {
    player.seek(sampleOf(4, 1));
    EXPECT_EQ(player.nextBeatTick(), 4); // the fifth marker, beat 5
    player.seek(0);
    EXPECT_EQ(player.nextBeatTick(), 0);
    player.seek(kLength - 1);
    EXPECT_EQ(player.nextBeatTick(), -1);
}

TEST_F(Snapping, BpmSecondsAndTimeFormats) {
    player.seek(sampleOf(2, 0));
    // 2756.25 exactly, but over these 20 markers 2756.3 keeps each within half a sample.
    EXPECT_DOUBLE_EQ(player.currentBpm(), 2756.3);
    player.seek(66150);
    EXPECT_EQ(player.secondsText(), "1.500");

    player.cycleTimeFormat();
    EXPECT_EQ(player.timeFormat(), kTimeBeats);
    EXPECT_TRUE(f.shell.checks[CommandId::TimeBeats]);
    EXPECT_FALSE(f.shell.checks[CommandId::TimeSeconds]);
    player.cycleTimeFormat();
    EXPECT_EQ(player.timeFormat(), kTimeSamples);
    player.cycleTimeFormat();
    EXPECT_EQ(player.timeFormat(), kTimeSeconds);
    player.setTimeFormat(99);
    EXPECT_EQ(player.timeFormat(), 99);
    EXPECT_TRUE(f.shell.checks[CommandId::TimeSeconds]);
}

} // namespace
} // namespace quillex
