#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/store_fixture.h"
#include "tools/autosync.h"
#include "tools/straighten.h"

namespace quillex {
namespace {

constexpr int kRate = 44100;

struct Fixture : test::StoreFixture {
    Fixture() {
        music.set(kRate, kRate * 120);
        store.setLayer(Layer::Beat, true);
    }
    void select(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i <= to; ++i)
            store.editBeats()[i].selected = true;
    }
};

// B taps up to 8 ms either side of 161.803 BPM beats: the least-squares tempo puts
// every selected marker within 2 ms of its beat; a locked tap stays where it was.
TEST(StraightenBeats, JitteredTapsComeWithinTwoMillisecondsAndLockedOnesStay) {
    Fixture f;
    const double spacing = kRate * 60.0 / 161.803;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> jitter(-0.008 * kRate, 0.008 * kRate);
    std::vector<SamplePosition> taps;
    for (int k = 0; k < 200; ++k) {
        taps.push_back(
            static_cast<SamplePosition>(std::lround(kRate + k * spacing + jitter(random))));
        f.addBeat(taps.back(), false, k == 50);
    }
    f.store.refresh();
    f.select(10, 190);
    const auto plan = planStraighten(f.store);
    ASSERT_TRUE(std::holds_alternative<BeatMove>(plan));
    applyMove(f.store, std::get<BeatMove>(plan));
    const auto samples = f.beatSamples();
    for (std::size_t k = 0; k < samples.size(); ++k) {
        if (k == 50 || k < 10 || k > 190)
            EXPECT_EQ(samples[k], taps[k]) << k;
        else
            ASSERT_NEAR(samples[k], kRate + static_cast<double>(k) * spacing, 0.002 * kRate) << k;
    }
}

TEST(StraightenBeats, RefusesFewerThanThreeSelected) {
    Fixture f;
    f.addBeats(10, 1000, 20000);
    f.select(2, 3);
    const auto plan = planStraighten(f.store);
    ASSERT_TRUE(std::holds_alternative<std::string_view>(plan));
    EXPECT_EQ(std::get<std::string_view>(plan), kStraightenNeedsThreeMessage);
}

// Autosync from the selected marker: markers up to it stay, unlocked ones after it
// give way to the found beats, a locked one stays and the found beat beside it goes;
// notes keep their rows.
TEST(Autosync, ReplacesUnlockedMarkersAfterTheStartAndKeepsLockedOnes) {
    Fixture f;
    for (SamplePosition s : {10000, 30000, 50000, 70000, 95000, 120000})
        f.addBeat(s, false, s == 95000);
    f.addNote(0, 0, 4 * kRowsPerBeat);
    f.store.refresh();
    f.store.editBeats()[1].selected = true;
    std::vector<double> found;
    for (double s = 10500; s < 200000; s += 21000.4)
        found.push_back(s);
    ASSERT_EQ(autosyncStart(f.store), 30000);
    placeFoundBeats(f.store, autosyncStart(f.store), found);
    const std::vector<SamplePosition> expected = {10000,  30000,  52501,  73501,  95000,
                                                  115502, 136502, 157503, 178503, 199504};
    EXPECT_EQ(f.beatSamples(), expected);
    EXPECT_EQ(f.noteRows(0), std::vector<std::int32_t>{4 * kRowsPerBeat});
}

} // namespace
} // namespace quillex
