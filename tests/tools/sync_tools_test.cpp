#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/store_fixture.h"
#include "tools/autofill.h"
#include "tools/beat_insertion.h"
#include "tools/beat_moves.h"
#include "tools/sync_dialog_models.h"

namespace quillex {
namespace {

constexpr int kRate = 44100;

// A click track of a known, non-round tempo: 137.25 BPM for 3 minutes, first click at
// 0.371 s. The clicks' exact times in samples.
struct ClickTrack {
    static constexpr double bpm = 137.25;
    static constexpr double first = 0.371 * kRate;
    static constexpr double spacing = kRate * 60.0 / bpm;
    static double click(std::size_t k) { return first + spacing * static_cast<double>(k); }
};

struct SyncFixture : test::StoreFixture {
    SyncFixture() {
        music.set(kRate, kRate * 180);
        store.setLayer(Layer::Beat, true);
    }
    void select(std::initializer_list<std::size_t> indices) {
        for (std::size_t i : indices)
            store.editBeats()[i].selected = true;
    }
    // The region from the selection, or from the first marker to the last.
    GrowRegion region() { return std::get<GrowRegion>(growRegion(store, store.beats()[0].sample)); }
    template <typename Plan> bool apply(const Plan& plan) {
        if (!std::holds_alternative<BeatMove>(plan))
            return false;
        applyMove(store, std::get<BeatMove>(plan));
        return true;
    }
};

TEST(SyncAccuracy, AutofillAtTheKnownTempoPutsEveryMarkerOnItsClick) {
    SyncFixture f;
    const std::size_t count = fillAtAverageBpm(f.store, ClickTrack::bpm, 0.371);
    ASSERT_EQ(count, f.store.beats().size());
    EXPECT_EQ(count, 411u); // every click up to the end of the music
    for (std::size_t k = 0; k < count; ++k)
        ASSERT_LE(std::abs(f.store.beats()[k].sample - ClickTrack::click(k)), 1.0) << k;
}

TEST(SyncAccuracy, GrowToATypedBpmOverTheWholeSongLandsOnIt) {
    SyncFixture f;
    fillAtAverageBpm(f.store, 136.0, 0.371); // a first guess, a little slow
    f.select({0});
    ASSERT_TRUE(f.apply(planGrowTo(f.store, f.region(), ClickTrack::bpm, false)));
    EXPECT_NEAR(f.store.timing().averageBpm(), ClickTrack::bpm, 0.001);
    EXPECT_NEAR(f.store.timing().lowestBpm(), ClickTrack::bpm, 0.01);
    EXPECT_NEAR(f.store.timing().highestBpm(), ClickTrack::bpm, 0.01);
}

// Taps land up to 8 ms either side of each click. Smoothing over 16 beats makes every
// interval after the window the mean of 16 tapped ones, within 1 ms of the clicks'
// spacing; the markers keep the phase of the taps around the window's start.
TEST(SyncAccuracy, SmoothingJitteredTapsGivesTheClicksSpacing) {
    SyncFixture f;
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> jitter(-0.008 * kRate, 0.008 * kRate);
    for (std::size_t k = 0; ClickTrack::click(k) + 400 < kRate * 180; ++k)
        f.addBeat(static_cast<SamplePosition>(std::lround(ClickTrack::click(k) + jitter(random))));
    f.store.refresh();
    constexpr int kWindow = 16;
    f.select({0});
    ASSERT_TRUE(f.apply(planSmooth(f.store, f.region(), kWindow)));
    const ItemList& beats = f.store.beats();
    for (std::size_t i = kWindow; i < beats.size(); ++i)
        ASSERT_NEAR(beats[i].sample - beats[i - 1].sample, ClickTrack::spacing, 0.001 * kRate + 1)
            << i;
}

TEST(SyncMoves, NudgeGrowAndSmoothMoveLockedMarkersWithTheRestAndKeepTheirLock) {
    struct Case {
        const char* name;
        std::function<std::variant<BeatMove, std::string_view>(SyncFixture&)> plan;
        std::vector<SamplePosition> expected;
    } cases[] = {
        {"nudge", [](SyncFixture& f) { return planNudge(f.store, 10000, 100); },
         {1000, 11100, 21100, 31100, 41100}},
        {"quick grow", [](SyncFixture& f) { return planQuickGrow(f.store, f.region(), 2); },
         {1000, 11002, 21004, 31006, 41008}},
        {"grow to 120", [](SyncFixture& f) { return planGrowTo(f.store, f.region(), 120, false); },
         {1000, 23050, 45100, 67150, 89200}},
        {"smooth", [](SyncFixture& f) { return planSmooth(f.store, f.region(), 2); },
         {1000, 11000, 21000, 31000, 41000}},
    };
    for (const Case& c : cases) {
        SyncFixture f;
        for (SamplePosition s : {1000, 11000, 21000, 31000, 41000})
            f.addBeat(s, false, s == 21000);
        f.store.refresh();
        ASSERT_TRUE(f.apply(c.plan(f))) << c.name;
        EXPECT_EQ(f.beatSamples(), c.expected) << c.name;
        EXPECT_TRUE(f.store.beats()[2].locked) << c.name;
    }
}

TEST(SyncMoves, QuickGrowShrinkAndSmoothRespaceTheRegion) {
    SyncFixture f;
    for (SamplePosition s : {0, 100, 210, 310, 420, 1000})
        f.addBeat(s);
    f.store.refresh();
    f.select({0, 4});
    ASSERT_TRUE(f.apply(planSmooth(f.store, f.region(), 2)));
    EXPECT_EQ(f.beatSamples(), (std::vector<SamplePosition>{0, 100, 205, 310, 415, 1000}));
    ASSERT_TRUE(f.apply(planQuickGrow(f.store, f.region(), -2)));
    EXPECT_EQ(f.beatSamples(), (std::vector<SamplePosition>{0, 98, 196, 294, 392, 977}))
        << "every interval d - 2, the markers after shifted by the total";
}

TEST(SyncMoves, AMoveThatWouldTakeAMarkerOutOfTheMusicChangesNothing) {
    SyncFixture f;
    f.addBeats(4, 30, 1000);
    const auto before = f.beatSamples();
    EXPECT_EQ(std::get<std::string_view>(planNudge(f.store, -1, -50)), kMoveLeavesMusicMessage);
    f.music.set(kRate, 3050);
    EXPECT_EQ(std::get<std::string_view>(planQuickGrow(f.store, f.region(), 20)),
              kMoveLeavesMusicMessage);
    EXPECT_EQ(std::get<std::string_view>(planQuickGrow(f.store, f.region(), -1000)),
              kMoveLeavesMusicMessage)
        << "markers may not meet";
    EXPECT_EQ(f.beatSamples(), before);
    EXPECT_TRUE(std::holds_alternative<BeatMove>(planNudge(f.store, -1, -30)));
}

TEST(SyncMoves, GrowFillsOnToTheEndOfTheMusic) {
    SyncFixture f;
    f.music.set(kRate, kRate * 10);
    f.addBeats(3, 0, 20000);
    f.select({0});
    ASSERT_TRUE(f.apply(planGrowTo(f.store, f.region(), 120, true)));
    ASSERT_EQ(f.store.beats().size(), 21u);
    EXPECT_EQ(f.store.beats()[20].sample, kRate * 10);
    EXPECT_NEAR(f.store.timing().averageBpm(), 120, 1e-9);
}

TEST(Autofill, InsertionBetweenThreeSelectedMarkersAddsCountPerPairAtEqualSteps) {
    SyncFixture f;
    for (SamplePosition s : {1000, 5000, 9000, 13003})
        f.addBeat(s);
    f.store.refresh();
    f.select({0, 2, 3});
    EXPECT_EQ(insertBetweenSelected(f.store, 3), 6u);
    EXPECT_EQ(f.beatSamples(), (std::vector<SamplePosition>{1000, 3000, 5000, 7000, 9000, 10000,
                                                            11000, 12000, 13003}))
        << "a new marker on the unselected one at 5000 replaces it; the remainder of 13003 - "
           "9000 falls in the last step";
    EXPECT_EQ(insertBetweenSelected(f.store, 4294967295), 0u) << "steps under a sample";
}

TEST(BeatInsertion, NextAndPreviousBeatKeepTheTempoWhenASubBeatIsOneOfTheLastTwo) {
    SyncFixture f;
    f.addBeat(22050);
    f.addBeat(44100);
    f.addSubBeat(55125, 2, 24);
    f.addBeat(66150);
    f.addSubBeat(33075, 1, 24);
    f.store.refresh();
    EXPECT_EQ(beatBeyondEnd(f.store.beats(), BeatEnd::Next, f.music.musicLength()), 88200);
    EXPECT_EQ(beatBeyondEnd(f.store.beats(), BeatEnd::Previous, f.music.musicLength()), 0);
    EXPECT_EQ(beatBeyondEnd(f.store.beats(), BeatEnd::Next, 88200), std::nullopt)
        << "past the music's last sample";
}

TEST(BeatInsertion, SubBeatsNeverShareOrReverseRows) {
    SyncFixture f;
    f.addBeats(3, 0, 48000);
    EXPECT_EQ(std::get<RowPosition>(subBeatRowAt(f.store.timing(), 24000)).row(), 72);
    EXPECT_EQ(std::get<std::string_view>(subBeatRowAt(f.store.timing(), 400)),
              kSubBeatOnMarkerRowMessage)
        << "rounds onto beat 1";
    f.addSubBeat(24000, 1, 24);
    f.addSubBeat(30000, 1, 20); // later in samples, earlier in rows: dropped
    f.addSubBeat(36000, 1, 24); // on the row of the first: dropped
    f.store.refresh();
    ASSERT_EQ(f.store.beats().size(), 4u);
    EXPECT_EQ(std::get<std::string_view>(subBeatRowAt(f.store.timing(), 24010)),
              kSubBeatOnMarkerRowMessage);
    const FractionRange range = allowedFractions(f.store.beats(), 1);
    EXPECT_EQ(range.lowest, 1);
    EXPECT_EQ(range.highest, 47);
    f.addSubBeat(40000, 1, 36);
    f.store.refresh();
    EXPECT_EQ(allowedFractions(f.store.beats(), 1).highest, 35);
    EXPECT_EQ(allowedFractions(f.store.beats(), 2).lowest, 25);
}

TEST(BeatInsertion, PauseSpanNeedsACompleteRegionAndRefusesOverlaps) {
    SyncFixture f;
    f.addBeats(8, 0, 10000);
    RegionSelection region;
    region.press(f.store, 15000); // begin only
    EXPECT_EQ(std::get<std::string_view>(pauseSpan(f.store, region)), kPauseNeedsSpanMessage);
    f.store.clearAllSelection();
    f.select({1, 3});
    const auto span = std::get<PauseSpan>(pauseSpan(f.store, region));
    EXPECT_EQ(span.start.row(), 96);
    EXPECT_EQ(span.length.row(), 96);
    f.store.addPause(span.start, span.length);
    f.store.refresh();
    f.store.clearAllSelection();
    f.select({3, 4});
    EXPECT_EQ(std::get<std::string_view>(pauseSpan(f.store, region)), kPauseRefusedMessage)
        << "touches the pause before";
    f.store.clearAllSelection();
    f.select({6, 7});
    EXPECT_EQ(std::get<std::string_view>(pauseSpan(f.store, region)), kPauseRefusedMessage)
        << "reaches the last beat";
}

TEST(SyncDialogs, RefuseValuesThatAreNotSensibleAndChangeNothing) {
    SyncFixture f;
    f.addBeats(4, 0, 22050);
    // Sub-beat fraction, between neighbours at fractions 10 and 30.
    for (const char* text : {"0", "48", "", "abc", "-3", "1.5"}) {
        SubBeatFractionModel model(20, {11, 29});
        EXPECT_EQ(model.accept(text), std::string(kFractionRangeMessage)) << text;
        EXPECT_EQ(model.fraction(), 20);
    }
    SubBeatFractionModel fraction(20, {11, 29});
    EXPECT_NE(fraction.accept("10"), std::nullopt);
    EXPECT_EQ(fraction.accept(" 29 "), std::nullopt);
    EXPECT_EQ(fraction.fraction(), 29);

    struct Case {
        const char* text;
        std::string_view message;
    } bpms[] = {{"0", kPositiveNumberMessage},  {"-120", kPositiveNumberMessage},
                {"nan", kPositiveNumberMessage}, {"", kPositiveNumberMessage},
                {"12O", kPositiveNumberMessage}, {"inf", kBpmRangeMessage},
                {"1e9", kBpmRangeMessage},       {"0.5", kBpmRangeMessage}};
    GrowSmoothMemory growMemory;
    AutofillMemory autofillMemory;
    for (const Case& c : bpms) {
        GrowSmoothModel grow(growMemory, f.region(), false, kRate);
        EXPECT_EQ(grow.accept(true, c.text, "4", true), std::string(c.message)) << c.text;
        AutofillModel fill(autofillMemory, f.store.timing());
        EXPECT_EQ(fill.accept(true, c.text, "0", ""), std::string(c.message)) << c.text;
    }
    EXPECT_FALSE(growMemory.growMode) << "a refusal remembers nothing";
    for (const char* window : {"0", "-1", "x", "100000"}) {
        GrowSmoothModel smooth(growMemory, f.region(), false, kRate);
        EXPECT_EQ(smooth.accept(false, "120", window, false), std::string(kSmoothWindowMessage));
    }
    for (const char* offset : {"-1", "inf", "nan", "601", "x"}) {
        AutofillModel fill(autofillMemory, f.store.timing());
        EXPECT_NE(fill.accept(true, "120", offset, ""), std::nullopt) << offset;
    }
    for (const char* count : {"0", "-3", "4294967295", "2147483647", "x", ""}) {
        AutofillModel fill(autofillMemory, f.store.timing());
        EXPECT_EQ(fill.accept(false, "", "", count), std::string(kInsertCountMessage)) << count;
    }
    AutofillModel fill(autofillMemory, f.store.timing());
    EXPECT_FALSE(fill.averageMode()) << "insertion is offered first";
    EXPECT_EQ(fill.bpmText(), "120.000");
    EXPECT_EQ(fill.accept(true, "137.25", "0.371", ""), std::nullopt);
    EXPECT_EQ(autofillMemory.offsetText, "0.371");
}

} // namespace
} // namespace quillex
