// The assist ticks and the practice judging, driven tick by tick as the input timer
// does: the music's position advances by one timer period per tick and keys go down
// at chosen samples.
#include <gtest/gtest.h>

#include <numeric>

#include "audio/practice_judge.h"
#include "player_fixture.h"

namespace quillex {
namespace {

constexpr SamplePosition kMs = 44; // one 1 ms timer period at 44.1 kHz, speed 100

struct Session {
    test::PlayerFixture f;
    MusicPlayer& player = f.player;
    ItemStore& store = f.store;
    int mines = 0;
    PracticeJudge judge{[this] { ++mines; }};
    std::array<int, kJudgementKinds> graded{};
    std::shared_ptr<const PlayAlongChart> chart;

    Session() { EXPECT_TRUE(player.loadMusic(f.addMusic("m.ogg", 20 * 44100), "", true)); }
    // 60 BPM markers and notes on whole beats: {beat, column, kind, length in beats}.
    struct Note {
        int beat, column;
        NoteKind kind = NoteKind::Tap;
        int length = 0;
    };
    void makeChart(std::initializer_list<Note> notes) {
        f.addBeats(18, 0, 44100);
        for (const Note& n : notes)
            store.addNote(0, n.column, {n.beat, 0}, {n.length, 0}, n.kind);
        store.refresh();
        player.resetTickIndices(0);
        chart = player.playAlongChart();
    }
    SamplePosition rowSample(int row) const {
        return chart->rows[static_cast<std::size_t>(row)].rowSample;
    }
    // Ticks from `from` to `to`; `keys` gives the keys down at each tick (null: AutoPlay).
    template <class KeysAt> void play(SamplePosition from, SamplePosition to, KeysAt keysAt) {
        for (SamplePosition now = from; now <= to; now += kMs)
            tickAt(now, keysAt(now));
    }
    void tickAt(SamplePosition now, std::optional<PracticeJudge::Keys> keys) {
        player.soundTicks(*chart, now, now);
        judge.tick(*chart, now, keys ? &*keys : nullptr, true);
        JudgementDisplay& shown = judge.display();
        for (int k = 0; k < kJudgementKinds; ++k)
            if (shown.fade[static_cast<std::size_t>(k)].exchange(0) == 255)
                ++graded[static_cast<std::size_t>(k)];
    }
    // Column `column` down during [downAt, upAt), ticking exactly at both moments.
    void holdKey(int column, SamplePosition downAt, SamplePosition upAt, SamplePosition end) {
        auto keys = [&](SamplePosition now) {
            PracticeJudge::Keys k{};
            k[static_cast<std::size_t>(column)] = now >= downAt && now < upAt;
            return std::optional(k);
        };
        play(0, downAt - 1, keys);
        tickAt(downAt, keys(downAt));
        play(downAt + 1, upAt - 1, keys);
        play(upAt, end, keys);
    }
    int lastKind() const { return judge.display().lastKind.load(); }
    const JudgementDisplay::Column& column(int c) const {
        return judge.display().columns[static_cast<std::size_t>(c)];
    }
};

struct PlayAlong : ::testing::Test, Session {};

TEST_F(PlayAlong, BeatAndNoteTicksSoundOncePerMarkerAcrossATempoChangeAndAPauseAtAnySpeed) {
    // 60 BPM, then 180 BPM, a three-second pause, then 120 BPM; notes on two markers.
    const std::vector<SamplePosition> markers{44100,  88200,  132300, 147000, 161700,
                                              176400, 308700, 330750, 352800};
    for (SamplePosition m : markers)
        store.addBeat(m);
    store.refresh();
    player.setBeatTickOff(false);
    for (int speed : {50, 200}) {
        f.out.effects.clear();
        player.resetTickIndices(0);
        const auto ticks = player.playAlongChart();
        const double perTick = 44100.0 * speed / 100 / 1000;
        for (double heard = 0; heard < 400000; heard += perTick) {
            f.out.position = static_cast<SamplePosition>(heard);
            player.soundTicks(*ticks, f.out.position, f.out.position);
        }
        ASSERT_EQ(f.out.effects.size(), markers.size()) << "speed " << speed;
        for (std::size_t i = 0; i < markers.size(); ++i) {
            EXPECT_EQ(f.out.effects[i].first, EffectSound::BeatTick);
            EXPECT_GE(f.out.effects[i].second, markers[i]);
            EXPECT_LE(f.out.effects[i].second, markers[i] + perTick) << "late at speed " << speed;
        }
    }
}

TEST_F(PlayAlong, AnEditDuringPlaybackReachesTheTicksAndASeekBackRestartsThem) {
    f.addBeats(10, 0, 22050);
    player.setNoteTickOff(false);
    ASSERT_TRUE(player.play());
    f.out.position = 30000;
    player.pollPosition();
    store.addNote(0, 1, {3, 0}, {}, NoteKind::Tap);
    store.refresh();
    player.pollPosition();
    const SamplePosition note = store.noteTimes().at(0);
    for (SamplePosition heard : {note - 10, note, note + 10, note + 20}) {
        f.out.position = heard;
        player.soundTicks(*player.timerChart(), heard, heard);
    }
    player.seek(note - 100);
    f.out.position = note;
    player.soundTicks(*player.timerChart(), note, note);
    ASSERT_EQ(f.out.effects.size(), 2u);
    EXPECT_EQ(f.out.effects[0], std::pair(EffectSound::NoteTick, note));
    EXPECT_EQ(f.out.effects[1], std::pair(EffectSound::NoteTick, note));
}

TEST(PlayAlongEdges, APressIsGradedByItsDistanceToTheRowAtEachWindowEdge) {
    // Scale 1.5 at 44.1 kHz: Marvelous 1488 samples (33.75 ms), Perfect 2976, Great 5953,
    // Good 8930, Boo 11907.
    const struct {
        SamplePosition offset;
        Judgement expected;
    } cases[] = {
        {1323, Judgement::Marvelous}, // 30 ms late
        {1764, Judgement::Perfect},   // 40 ms late
        {-1488, Judgement::Marvelous}, {1489, Judgement::Perfect}, {-2976, Judgement::Perfect},
        {-2977, Judgement::Great},     {5953, Judgement::Great},   {5954, Judgement::Good},
        {-8930, Judgement::Good},      {8931, Judgement::Boo},     {11907, Judgement::Boo},
        {11908, Judgement::Miss}, // outside the window
        {-11908, Judgement::Miss},
    };
    for (const auto& c : cases) {
        Session t;
        t.makeChart({{4, 2}, {8, 0}});
        const SamplePosition at = t.rowSample(0) + c.offset;
        t.holdKey(2, at, at + 10 * kMs, t.rowSample(0) + 20000);
        EXPECT_EQ(t.lastKind(), static_cast<int>(c.expected)) << "offset " << c.offset;
        const int total = std::accumulate(t.graded.begin(), t.graded.end(), 0);
        EXPECT_EQ(total, 1) << "one grade per row, offset " << c.offset;
    }
}

TEST_F(PlayAlong, ComboGrowsByTheRowsNotesAndAMissResetsIt) {
    makeChart({{4, 0}, {5, 1}, {6, 3}, {7, 1}, {7, 2}});
    const std::vector<std::pair<int, SamplePosition>> presses{
        {0, rowSample(0)},
        {1, rowSample(1) + 100}, // row 2 left alone
        {1, rowSample(3) - 200},
        {2, rowSample(3) + 300}};
    play(0, rowSample(3) + 20000, [&](SamplePosition now) {
        PracticeJudge::Keys k{};
        for (auto [c, at] : presses)
            if (now >= at && now < at + 5 * kMs)
                k[static_cast<std::size_t>(c)] = true;
        return std::optional(k);
    });
    EXPECT_EQ(graded[static_cast<int>(Judgement::Miss)], 1);
    EXPECT_EQ(graded[static_cast<int>(Judgement::Marvelous)], 3);
    EXPECT_EQ(judge.display().combo.load(), 2) << "the jump after the miss counts two";
}

TEST(PlayAlongEdges, AHoldReleasedNearItsTailIsKeptAndEarlierIsDropped) {
    const struct {
        int releaseMsBeforeTail;
        JudgementDisplay::ColumnEffect expected;
    } cases[] = {{200, JudgementDisplay::HoldOk},
                 {300, JudgementDisplay::HoldDropped},
                 {-50, JudgementDisplay::HoldOk}};
    for (const auto& c : cases) {
        Session t;
        t.makeChart({{4, 0, NoteKind::Hold, 4}});
        const SamplePosition tail = t.rowSample(1);
        t.holdKey(0, t.rowSample(0), tail - c.releaseMsBeforeTail * 441 / 10, tail + 20000);
        EXPECT_EQ(t.column(0).effect.load(), c.expected) << c.releaseMsBeforeTail;
        EXPECT_FALSE(t.column(0).holding.load());
        EXPECT_EQ(t.graded[static_cast<int>(Judgement::Marvelous)], 1);
    }
}

TEST_F(PlayAlong, HoldingAKeyThroughAMineSetsItOffOnceWithoutTouchingTheCombo) {
    makeChart({{4, 0}, {6, 0, NoteKind::Mine}});
    holdKey(0, rowSample(0), rowSample(1) + 20000, rowSample(1) + 30000);
    EXPECT_EQ(mines, 1);
    EXPECT_EQ(column(0).effect.load(), JudgementDisplay::MineHit);
    EXPECT_EQ(judge.display().combo.load(), 1);
    EXPECT_EQ(graded[static_cast<int>(Judgement::Miss)], 0);
}

TEST_F(PlayAlong, AutoPlayGradesEveryRowMarvelousAndKeepsItsHolds) {
    makeChart({{4, 0},
               {5, 1},
               {5, 2},
               {6, 3, NoteKind::Hold, 2},
               {7, 0},
               {9, 1, NoteKind::Mine},
               {10, 2, NoteKind::Lift},
               {11, 3, NoteKind::Roll, 1}});
    play(0, 13 * 44100, [](SamplePosition) { return std::optional<PracticeJudge::Keys>(); });
    EXPECT_EQ(graded[static_cast<int>(Judgement::Marvelous)], 5);
    EXPECT_EQ(std::accumulate(graded.begin(), graded.end(), 0), 5);
    EXPECT_EQ(judge.display().combo.load(), 6);
    EXPECT_EQ(mines, 0);
    EXPECT_EQ(column(3).effect.load(), JudgementDisplay::HoldOk);
}

} // namespace
} // namespace quillex
