#include <gtest/gtest.h>

#include "items/clipboard.h"
#include "items/selection.h"
#include "support/store_fixture.h"

namespace quillex {
namespace {

constexpr SamplePosition kBeat = 22050; // 120 BPM at 44100 Hz

struct ClipboardFixture : test::StoreFixture {
    Clipboard clipboard;
    ClipboardFixture() {
        addBeats(32, 0, kBeat);
        store.setLayer(Layer::Arrow, true);
    }
    void selectNotes(LevelIndex level) {
        for (EditItem& n : store.editNotes(level))
            n.selected = true;
    }
    // The play position of a row, for pasting there.
    SamplePosition at(std::int32_t row) const {
        return store.timing().rowToSample(RowPosition::fromRow(row));
    }
    bool paste(std::int32_t row) { return clipboard.paste(store, at(row), 44100 * 600); }
};

TEST(Clipboard, CutThenPasteMovesAndASecondPasteOnlyCopies) {
    ClipboardFixture f;
    for (int c = 0; c < 3; ++c)
        f.addNote(0, c, 96 + 12 * c);
    f.store.refresh();
    f.selectNotes(0);
    ASSERT_TRUE(f.clipboard.copy(f.store, true));
    EXPECT_EQ(f.noteRows(0).size(), 3u); // still there until pasted
    EXPECT_TRUE(f.paste(480));
    EXPECT_EQ(f.noteRows(0), (std::vector<std::int32_t>{480, 492, 504}));
    EXPECT_TRUE(f.paste(960));
    EXPECT_EQ(f.noteRows(0), (std::vector<std::int32_t>{480, 492, 504, 960, 972, 984}));
    for (const EditItem& n : f.store.notes(0))
        EXPECT_FALSE(n.cutMark);
}

// Pauses and delays move as notes do; a pasted one that would end past the last
// marker is left out.
TEST(Clipboard, CutPausesAndDelaysMoveToThePlayPosition) {
    struct Kind {
        ItemList& (ItemStore::*list)();
        int (ItemStore::*add)(RowPosition, RowPosition, bool);
    };
    for (const Kind kind : {Kind{&ItemStore::pauseList, &ItemStore::addPause},
                            Kind{&ItemStore::delayList, &ItemStore::addDelay}}) {
        ClipboardFixture f;
        for (std::int32_t start : {96, 192})
            (f.store.*kind.add)(RowPosition::fromRow(start), RowPosition::fromRow(24), true);
        f.store.refresh();
        ASSERT_TRUE(f.clipboard.copy(f.store, true));
        EXPECT_TRUE(f.paste(480));
        std::vector<std::int32_t> rows;
        for (const EditItem& e : (f.store.*kind.list)())
            rows.push_back(e.row());
        EXPECT_EQ(rows, (std::vector<std::int32_t>{480, 576}));
        EXPECT_TRUE(f.paste(31 * kRowsPerBeat - 50)); // the second would end past the end
        EXPECT_EQ((f.store.*kind.list)().size(), 3u);
    }
}

TEST(Clipboard, OnlyOneKindOfDataFromOneLevelIsCopied) {
    ClipboardFixture f;
    f.addNote(0, 0, 96);
    f.addNote(1, 0, 96);
    f.store.refresh();
    f.selectNotes(0);
    f.selectNotes(1);
    EXPECT_FALSE(f.clipboard.copy(f.store, true));
    EXPECT_FALSE(f.clipboard.holdsSomething());
    for (LevelIndex level : {0, 1})
        EXPECT_FALSE(f.store.notes(level)[0].cutMark);

    ClipboardFixture g;
    g.addNote(0, 0, 96);
    g.store.refresh();
    g.selectNotes(0);
    g.store.editBeats()[2].selected = true;
    EXPECT_FALSE(g.clipboard.copy(g.store, false));
}

TEST(Clipboard, PasteIntoFewerColumnsDropsTheRestAndSaysSo) {
    ClipboardFixture f;
    const LevelIndex doubles = levelIndex(1, 0);
    f.store.setCurrentLevel(doubles);
    f.addNote(doubles, 2, 96);
    f.addNote(doubles, 6, 96);
    f.store.refresh();
    f.selectNotes(doubles);
    ASSERT_TRUE(f.clipboard.copy(f.store, false));
    f.store.setCurrentLevel(0);
    EXPECT_FALSE(f.paste(192));
    ASSERT_EQ(f.store.notes(0).size(), 1u);
    EXPECT_EQ(f.store.notes(0)[0].column, 2);
}

TEST(Clipboard, PasteOverrideClearsTheSpanInEveryColumn) {
    ClipboardFixture f;
    f.addNote(0, 0, 96);
    f.addNote(0, 0, 120);
    f.store.refresh();
    f.selectNotes(0);
    ASSERT_TRUE(f.clipboard.copy(f.store, false));
    f.store.clearAllSelection();
    for (std::int32_t row : {480, 490, 504, 505})
        f.addNote(0, 3, row);
    f.store.refresh();
    f.paste(480);
    EXPECT_EQ(f.noteRows(0), (std::vector<std::int32_t>{96, 120, 480, 504, 505}));
}

TEST(Clipboard, LockedBeatsSurviveOverrideAndCut) {
    ClipboardFixture f;
    f.store.editBeats()[10].locked = true;
    f.store.editBeats()[10].selected = true;
    f.store.editBeats()[11].selected = true;
    ASSERT_TRUE(f.clipboard.copy(f.store, true));
    f.store.editBeats()[20].locked = true;
    f.paste(20 * 48 + 48); // the span covers beat markers 20 and 21 (samples 20 and 21 beats)
    const std::vector<SamplePosition> samples = f.beatSamples();
    EXPECT_NE(std::find(samples.begin(), samples.end(), 10 * kBeat), samples.end());
    EXPECT_NE(std::find(samples.begin(), samples.end(), 20 * kBeat), samples.end());
    EXPECT_EQ(std::find(samples.begin(), samples.end(), 11 * kBeat), samples.end()); // cut, moved
    EXPECT_NE(std::find(samples.begin(), samples.end(), 21 * kBeat), samples.end());
}

TEST(Clipboard, DeleteRefusesLockedBeatsAndIgnoresAnEmptySelection) {
    ClipboardFixture f;
    f.store.setLayer(Layer::Arrow, false);
    f.store.setLayer(Layer::Beat, true);
    EXPECT_EQ(checkDelete(f.store), DeleteCheck::NothingSelected);
    f.store.editBeats()[4].selected = true;
    EXPECT_EQ(checkDelete(f.store), DeleteCheck::Deletable);
    deleteSelection(f.store);
    EXPECT_EQ(f.store.beats().size(), 31u);
    f.store.editBeats()[4].selected = true;
    f.store.editBeats()[4].locked = true;
    EXPECT_EQ(checkDelete(f.store), DeleteCheck::LockedBeatSelected);
}

TEST(Selection, RegionSelectsBetweenTwoPressesAndTheSamePlaceClearsIt) {
    ClipboardFixture f;
    f.addNote(0, 0, 96);
    f.addNote(0, 1, 240);
    f.store.refresh();
    RegionSelection region;
    region.press(f.store, f.at(200));
    region.press(f.store, f.at(200));
    EXPECT_EQ(region.state(), RegionSelection::State::None);
    region.press(f.store, f.at(300));
    region.press(f.store, f.at(200));
    EXPECT_TRUE(region.complete());
    EXPECT_FALSE(f.store.notes(0)[0].selected);
    EXPECT_TRUE(f.store.notes(0)[1].selected);
}

TEST(Selection, BeatGroupsToggle) {
    ClipboardFixture f;
    f.store.setLayer(Layer::Arrow, false);
    f.store.setLayer(Layer::Beat, true);
    f.store.editBeats()[3].colour = kWhiteMarker;
    toggleBeats(f.store, BeatGroup::White);
    EXPECT_TRUE(f.store.beats()[3].selected);
    EXPECT_FALSE(f.store.beats()[4].selected);
    toggleBeats(f.store, BeatGroup::White);
    EXPECT_FALSE(f.store.beats()[3].selected);
}

} // namespace
} // namespace quillex
