#include <gtest/gtest.h>

#include "support/store_fixture.h"

namespace quillex {
namespace {

class ItemStoreTest : public ::testing::Test, protected test::StoreFixture {};

TEST_F(ItemStoreTest, AddingPutsEachItemInItsPlaceAndMarksModified) {
    EXPECT_FALSE(store.modified());
    EXPECT_EQ(store.addBeat(100, {.locked = true, .white = true, .selected = true}), 0);
    EXPECT_TRUE(store.modified());
    EXPECT_EQ(store.addBeat(200), 1);
    EXPECT_EQ(store.addBeat(50), 0) << "beats by sample";
    const EditItem& white = store.beats()[1];
    EXPECT_TRUE(white.selected);
    EXPECT_TRUE(white.locked);
    EXPECT_EQ(white.colour, kWhiteMarker);
    EXPECT_EQ(white.priority, 2);
    const EditItem& blue = store.beats()[2];
    EXPECT_FALSE(blue.selected);
    EXPECT_FALSE(blue.locked);
    EXPECT_EQ(blue.colour, kBlueMarker);

    EXPECT_EQ(store.addPause({2, 0}, {1, 0}), 0);
    EXPECT_EQ(store.addPause({1, 0}, {1, 0}), 0) << "stretches by start row";
    EXPECT_EQ(store.addNote(5, 2, {1, 12}, {}, NoteKind::Tap), 0);
    EXPECT_EQ(store.addNote(5, 3, {1, 12}, {}, NoteKind::Mine), 1);
    EXPECT_EQ(store.addNote(5, 0, {1, 12}, {}, NoteKind::Tap), 0) << "notes by row, then column";
    EXPECT_EQ(store.addNote(5, 2, {1, 12}, {}, NoteKind::Tap), 2) << "after a note on its spot";
    EXPECT_EQ(store.addNote(48, 0, {1, 0}, {}, NoteKind::Tap), -1); // no such level
}

TEST_F(ItemStoreTest, NotesTakeTheirKindFromTheArguments) {
    addBeats(8, 0, 22050);
    addNote(0, 1, 60, 48);            // hold
    addNote(0, 2, 56, 0, true);       // mine
    addNote(0, 3, 52);                // tap at a 48th
    const auto& notes = store.notes(0);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_TRUE(notes[2].isHold);
    EXPECT_EQ(notes[2].divisionClass, 3);
    EXPECT_EQ(notes[1].divisionClass, kMineDivisionClass);
    EXPECT_FALSE(notes[1].isHold);
    EXPECT_EQ(notes[0].divisionClass, 6);
    EXPECT_EQ(notes[0].sample, store.timing().rowToSample(1, 4));
    EXPECT_EQ(notes[0].priority, 5);
}

TEST_F(ItemStoreTest, AddNoteSetsTheFieldsOfItsKind) {
    addBeats(8, 0, 22050);
    for (NoteKind kind : {NoteKind::Tap, NoteKind::Hold, NoteKind::Roll, NoteKind::Mine,
                          NoteKind::Lift}) {
        const bool long_ = kind == NoteKind::Hold || kind == NoteKind::Roll;
        const int index = store.addNote(2, static_cast<int>(kind) % 4, {2, 0},
                                        long_ ? RowPosition{1, 0} : RowPosition{}, kind);
        EXPECT_EQ(noteKindOf(store.notes(2)[static_cast<std::size_t>(index)]), kind);
    }
    EXPECT_EQ(noteKindFromSmHead('4'), NoteKind::Roll);
    EXPECT_EQ(noteKindFromSmHead('L'), NoteKind::Lift);
    EXPECT_FALSE(noteKindFromSmHead('3').has_value());
    EXPECT_FALSE(noteKindFromSmHead('0').has_value());
}

TEST_F(ItemStoreTest, ScreenRegionsAreAddedOnceAndFollowTheirLayers) {
    store.addScreenRegions();
    store.addScreenRegions();
    ASSERT_EQ(store.regions().size(), 4u);
    EXPECT_TRUE(store.region(ItemKind::EditorArea)->layerActive);
    EXPECT_FALSE(store.region(ItemKind::CursorLine)->layerActive);
    store.setLayer(Layer::Wave, true);
    EXPECT_TRUE(store.region(ItemKind::CursorLine)->layerActive);
}

TEST_F(ItemStoreTest, LayerSwitchesAndTheOneLayerLock) {
    addBeats(4, 0, 22050);
    addNote(0, 0, 48);
    addNote(1, 0, 48);
    store.refresh();
    store.setLayer(Layer::Beat, true);
    EXPECT_TRUE(store.beats()[0].layerActive);
    store.setLayer(Layer::Arrow, true);
    EXPECT_TRUE(store.notes(0)[0].layerActive);
    EXPECT_FALSE(store.notes(1)[0].layerActive); // not the current level
    store.options().oneLayerEdit = true;
    EXPECT_TRUE(store.oneLayerLock());
    store.options().oneLayerEdit = false;
    EXPECT_FALSE(store.oneLayerLock());
    store.setLayer(Layer::Beat, false);
    EXPECT_FALSE(store.beats()[3].layerActive);
    store.setCurrentLevel(13); // dance-double Easy
    store.setCurrentLevel(48); // ignored
    EXPECT_EQ(store.currentLevel(), 13);
}

TEST_F(ItemStoreTest, ClearAllSelectionReachesEveryList) {
    addBeats(4, 0, 22050);
    store.addBeat(70000, {.selected = true});
    store.addPause({1, 0}, {0, 12}, true);
    store.addNote(47, 0, {1, 0}, {}, NoteKind::Tap, true);
    store.refresh();
    store.clearAllSelection();
    for (const EditItem& b : store.beats())
        EXPECT_FALSE(b.selected);
    EXPECT_FALSE(store.pauses()[0].selected);
    EXPECT_FALSE(store.notes(47)[0].selected);
}

TEST_F(ItemStoreTest, SnapshotsShareUnchangedListsAndSurviveEdits) {
    addBeats(8, 0, 22050);
    for (int level = 0; level < kLevelCount; ++level)
        addNote(level, 0, 48 + level);
    store.refresh();
    const ItemSnapshot before = store.snapshot();

    // A refresh that changes nothing leaves every list shared with the snapshot.
    store.refresh();
    EXPECT_TRUE(store.beats().sharesStorageWith(before.beats));
    for (int level = 0; level < kLevelCount; ++level)
        EXPECT_TRUE(store.notes(level).sharesStorageWith(before.notes[level]));

    // An edit copies only the list it touches; the snapshot keeps the old content.
    addNote(3, 1, 96);
    store.refresh();
    EXPECT_FALSE(store.notes(3).sharesStorageWith(before.notes[3]));
    EXPECT_TRUE(store.notes(4).sharesStorageWith(before.notes[4]));
    EXPECT_EQ(before.notes[3].size(), 1u);
    EXPECT_EQ(store.notes(3).size(), 2u);

    store.restore(before);
    EXPECT_EQ(store.notes(3).size(), 1u);
    EXPECT_TRUE(store.notes(3).sharesStorageWith(before.notes[3]));
}

TEST_F(ItemStoreTest, NoteTimesListTheCurrentLevelOncePerTime) {
    addBeats(8, 0, 22050);
    addNote(0, 0, 48);
    addNote(0, 1, 48);
    addNote(0, 2, 72);
    addNote(1, 2, 96);
    store.refresh();
    EXPECT_EQ(store.noteTimes(), (std::vector<SamplePosition>{0, 11025}));
    store.setCurrentLevel(1);
    EXPECT_EQ(store.noteTimes(), (std::vector<SamplePosition>{22050}));
}

TEST_F(ItemStoreTest, ClearSongEmptiesTheLists) {
    addBeats(4, 0, 22050);
    addPause(48, 12);
    addNote(2, 0, 48);
    store.refresh();
    store.clearSong();
    EXPECT_TRUE(store.beats().empty());
    EXPECT_TRUE(store.pauses().empty());
    EXPECT_TRUE(store.notes(2).empty());
    EXPECT_FALSE(store.hasSubBeats());
}

} // namespace
} // namespace quillex
