#include <gtest/gtest.h>

#include <algorithm>

#include "support/store_fixture.h"

namespace quillex {
namespace {

class RefreshTest : public ::testing::Test, protected test::StoreFixture {};

TEST_F(RefreshTest, EmptyStoreStaysEmpty) {
    store.refresh();
    EXPECT_TRUE(store.beats().empty());
    EXPECT_TRUE(store.pauses().empty());
    EXPECT_FALSE(store.hasSubBeats());
    EXPECT_EQ(store.busyCounter().value(), 0);
}

TEST_F(RefreshTest, BeatsAreSortedNumberedAndDeduplicated) {
    addBeat(66150);
    addBeat(0);
    addBeat(44100, true, true);
    addBeat(22050);
    addBeat(44100); // same sample as an earlier one: one of the two survives
    store.refresh();
    EXPECT_EQ(beatSamples(), (std::vector<SamplePosition>{0, 22050, 44100, 66150}));
    for (std::size_t i = 0; i < store.beats().size(); ++i) {
        EXPECT_EQ(store.beats()[i].beat, static_cast<int>(i) + 1);
        EXPECT_EQ(store.beats()[i].fraction, 0);
    }
}

TEST_F(RefreshTest, BeatsBeforeAndAfterTheMusicAreKept) {
    // The chart goes on over silence before the music's first sample and after its last.
    music.set(44100, 100000);
    addBeat(100001);
    addBeat(-1);
    addBeat(0);
    addBeat(100000);
    store.refresh();
    EXPECT_EQ(beatSamples(), (std::vector<SamplePosition>{-1, 0, 100000, 100001}));
}

TEST_F(RefreshTest, SubBeatsAtEitherEndAreRemovedAndOthersRenumbered) {
    addSubBeat(1000, 0, 24);
    addSubBeat(2000, 0, 36);
    addBeat(22050);
    addSubBeat(30000, 7, 12); // its beat number is corrected to the beat before it
    addBeat(44100);
    addSubBeat(50000, 2, 24);
    store.refresh();
    ASSERT_EQ(beatSamples(), (std::vector<SamplePosition>{22050, 30000, 44100}));
    const auto& b = store.beats();
    EXPECT_EQ(b[1].beat, 1);
    EXPECT_EQ(b[1].fraction, 12);
    EXPECT_TRUE(b[1].isSubBeat);
    EXPECT_EQ(b[2].beat, 2);
    EXPECT_TRUE(store.hasSubBeats());
}

TEST_F(RefreshTest, ALoneSubBeatIsKept) {
    addSubBeat(1000, 0, 24);
    store.refresh();
    EXPECT_EQ(store.beats().size(), 1u);
}

TEST_F(RefreshTest, ASubBeatBeforeTheFirstBeatDisappears) {
    addBeats(3, 10000, 22050);
    addSubBeat(5000, 0, 24);
    store.refresh();
    EXPECT_EQ(beatSamples().front(), 10000);
    EXPECT_FALSE(store.hasSubBeats());
}

TEST_F(RefreshTest, NotesPastTheLastBeatAreRemovedUnlessAlone) {
    addBeats(4, 0, 22050);
    addNote(0, 0, 4 * 48);     // on the last beat: kept
    addNote(0, 1, 4 * 48 + 1); // past it: removed
    addNote(1, 0, 500);        // alone in its level: kept
    store.refresh();
    EXPECT_EQ(noteRows(0), (std::vector<std::int32_t>{192}));
    EXPECT_EQ(noteRows(1), (std::vector<std::int32_t>{500}));

    // Sub-beats do not stretch the chart past the last marker.
    addSubBeat(11025, 1, 24);
    addSubBeat(33075, 2, 24);
    addNote(0, 2, 5 * 48);
    store.refresh();
    EXPECT_EQ(noteRows(0), (std::vector<std::int32_t>{192}));
}

TEST_F(RefreshTest, NotesAreSortedByRowThenColumnAndRetimed) {
    addBeats(4, 0, 22050);
    addNote(0, 3, 96);
    addNote(0, 0, 96);
    addNote(0, 2, 50);
    store.refresh();
    const auto& n = store.notes(0);
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[0].column, 2);
    EXPECT_EQ(n[1].column, 0);
    EXPECT_EQ(n[2].column, 3);

    // Moving a beat re-times the notes after it.
    store.editBeats()[1].sample = 30000;
    store.refresh();
    EXPECT_EQ(store.notes(0)[1].sample, 30000);
}

TEST_F(RefreshTest, RetimingUsesTheSortedBeats) {
    // A beat dragged past its neighbour must not leave notes timed from the old order.
    addBeats(4, 0, 22050);
    addNote(0, 0, 96);
    store.editBeats()[1].sample = 50000; // now after beat 3 at 44100
    store.refresh();
    EXPECT_EQ(store.notes(0)[0].sample, 44100);
}

TEST_F(RefreshTest, HoldsCoveringAnotherNoteBecomeTaps) {
    addBeats(8, 0, 22050);
    addNote(0, 1, 96, 48);
    addNote(0, 1, 144);
    addNote(0, 2, 96, 48);
    addNote(0, 2, 145);
    addNote(0, 3, 96, 48);
    addNote(0, 0, 120); // another column does not matter
    store.refresh();
    const auto& n = store.notes(0);
    auto find = [&n](int column, int row) {
        for (const EditItem& e : n)
            if (e.column == column && e.row() == row)
                return e;
        ADD_FAILURE() << "no note at " << column << "," << row;
        return EditItem{};
    };
    EXPECT_FALSE(find(1, 96).isHold);
    EXPECT_EQ(find(1, 96).lengthRows(), 48); // the length stays, ignored
    EXPECT_TRUE(find(2, 96).isHold);
    EXPECT_TRUE(find(3, 96).isHold);
}

TEST_F(RefreshTest, DuplicateNotesFollowTheToggleRule) {
    addBeats(8, 0, 22050);
    store.options().pasteOverride = true;
    store.setToggleDelete(true);
    addNote(0, 1, 96);
    addNote(0, 1, 96);
    addNote(0, 2, 96);
    store.refresh();
    EXPECT_EQ(store.notes(0).size(), 1u);
    EXPECT_EQ(store.notes(0)[0].column, 2);

    store.setToggleDelete(false);
    addNote(0, 1, 96);
    addNote(0, 1, 96, 0, true);
    store.refresh();
    ASSERT_EQ(store.notes(0).size(), 2u);
    EXPECT_EQ(store.notes(0)[0].divisionClass, 0); // the first one stays

    store.setToggleDelete(true);
    store.options().pasteOverride = false;
    addNote(0, 2, 96);
    store.refresh();
    EXPECT_EQ(store.notes(0).size(), 2u);
}

// Notes added to a long sorted chart are merged in rather than the chart sorted: they
// must still land in row order, an older note on the same spot must stay, and a hold
// they fall inside must become a tap, in one refresh.
TEST_F(RefreshTest, NotesAddedToALongChartLandAsInAFreshSort) {
    addBeats(40, 0, 22050);
    store.options().pasteOverride = false;
    for (int row = 48; row < 1800; row += 12)
        addNote(0, row / 12 % 4, row, row == 600 ? 48 : 0, row == 1200);
    store.refresh();
    const std::size_t before = store.notes(0).size();
    addNote(0, 1800 / 12 % 4, 1800);   // past every other note
    addNote(0, 1200 / 12 % 4, 1200);   // a tap on the mine's spot
    addNote(0, 600 / 12 % 4, 624);     // inside the hold at row 600
    addNote(0, (1 + 60 / 12) % 4, 60); // between two notes
    store.refresh();
    const auto& n = store.notes(0);
    ASSERT_EQ(n.size(), before + 3);
    EXPECT_TRUE(std::is_sorted(n.begin(), n.end(), [](const EditItem& a, const EditItem& b) {
        return a.row() * 48 + a.column < b.row() * 48 + b.column;
    }));
    for (const EditItem& e : n) {
        EXPECT_EQ(e.sample, store.timing().rowToSample(e.start())) << "row " << e.row();
        if (e.row() == 1200) {
            EXPECT_TRUE(e.isMineLike()); // the older note stays
        }
        if (e.row() == 600) {
            EXPECT_FALSE(e.isHold);
        }
    }
}

TEST_F(RefreshTest, PausesReachingTheLastBeatAreRemoved) {
    addBeats(5, 0, 22050); // last beat row 240
    addPause(96, 48);
    addPause(192, 48); // ends on the last beat's row
    addPause(240, 0);  // starts on it
    store.refresh();
    ASSERT_EQ(store.pauses().size(), 1u);
    EXPECT_EQ(store.pauses()[0].row(), 96);
    EXPECT_EQ(store.pauses()[0].sample, 22050);
}

TEST_F(RefreshTest, OverlappingPausesKeepTheEarlierOne) {
    addBeats(20, 0, 22050);
    addPause(480, 96);  // 480..576
    addPause(96, 96);   // 96..192
    addPause(144, 24);  // inside the one before
    addPause(192, 48);  // touches its end
    addPause(300, 10);  // clear of all
    addPause(250, 100); // holds the one at 300 inside it, comes earlier: 300 goes
    store.refresh();
    std::vector<std::int32_t> starts;
    for (const EditItem& p : store.pauses())
        starts.push_back(p.row());
    EXPECT_EQ(starts, (std::vector<std::int32_t>{96, 250, 480}));
}

TEST_F(RefreshTest, PausesNeedTwoBeats) {
    addBeats(1, 0, 0);
    addPause(48, 12);
    store.refresh();
    EXPECT_TRUE(store.pauses().empty());
}

TEST_F(RefreshTest, PauseSamplesFollowMovedBeats) {
    addBeats(5, 0, 22050);
    addPause(96, 24);
    store.refresh();
    store.editBeats()[1].sample = 20000;
    store.refresh();
    EXPECT_EQ(store.pauses()[0].sample, 20000);
}

} // namespace
} // namespace quillex
