#include <gtest/gtest.h>

#include "support/store_fixture.h"
#include "tools/note_transforms.h"

namespace quillex {
namespace {

struct TransformFixture : test::StoreFixture {
    TransformFixture() {
        addBeats(64, 0, 22050);
        store.setLayer(Layer::Arrow, true);
    }
    void selectAll() {
        for (EditItem& n : store.editNotes(store.currentLevel()))
            n.selected = true;
    }
    std::vector<int> columns() const {
        std::vector<int> out;
        for (const EditItem& n : store.notes(store.currentLevel()))
            out.push_back(n.column);
        return out;
    }
};

TEST(NoteTransforms, QuantizeMovesOffGridNotesToTheNearestRowTiesGoingLater) {
    struct Case {
        int division;
        std::int32_t fraction;
        std::int32_t expectedRow; // from row 96 (beat 2)
    } cases[] = {
        {8, 11, 96}, {8, 12, 120}, {8, 37, 144}, {64, 1, 96}, {64, 2, 99}, {4, 24, 144},
        {16, 12, 108}, // already on the grid: unchanged
    };
    for (const Case& c : cases) {
        TransformFixture f;
        f.addNote(0, 0, 96 + c.fraction);
        f.store.refresh();
        f.selectAll();
        EXPECT_TRUE(quantizeSelection(f.store, c.division));
        EXPECT_EQ(f.noteRows(0), std::vector<std::int32_t>{c.expectedRow})
            << c.division << "th, fraction " << c.fraction;
    }
}

TEST(NoteTransforms, QuantizeKeepsMinesAndMergesNotesMovedOntoOneSpot) {
    TransformFixture f;
    f.addNote(0, 0, 97, 0, true); // a mine off the grid
    f.addNote(0, 1, 100);
    f.addNote(0, 1, 101);
    f.store.refresh();
    f.selectAll();
    ASSERT_TRUE(quantizeSelection(f.store, 4));
    const ItemList& notes = f.store.notes(0);
    ASSERT_EQ(notes.size(), 2u); // the two column-1 notes merged, not deleted
    EXPECT_TRUE(notes[0].isMineLike());
    EXPECT_EQ(notes[0].row(), 96);
    EXPECT_EQ(notes[1].row(), 96);
    EXPECT_TRUE(f.store.toggleDelete());
}

TEST(NoteTransforms, NothingSelectedChangesNothing) {
    TransformFixture f;
    f.addNote(0, 0, 97);
    f.store.refresh();
    EXPECT_FALSE(quantizeSelection(f.store, 4));
    EXPECT_FALSE(turnSelection(f.store, Turn::Left));
    EXPECT_FALSE(scaleSelection(f.store, 2, 1));
    EXPECT_FALSE(changeTypeOfSelection(f.store));
    EXPECT_EQ(f.noteRows(0), std::vector<std::int32_t>{97});
}

TEST(NoteTransforms, TurnsUndoEachOtherForEveryLayout) {
    for (int type = 0; type < kGameTypeCount; ++type) {
        TransformFixture f;
        const LevelIndex level = levelIndex(type, 2);
        f.store.setCurrentLevel(level);
        for (int c = 0; c < columnCount(type); ++c)
            f.addNote(level, c, 96 + 12 * c);
        f.store.refresh();
        f.selectAll();
        const std::vector<int> before = f.columns();
        turnSelection(f.store, Turn::Left);
        turnSelection(f.store, Turn::Right);
        EXPECT_EQ(f.columns(), before) << "left then right, type " << type;
        for (Turn mirror : {Turn::Mirror, Turn::MirrorLeftRight, Turn::MirrorUpDown}) {
            turnSelection(f.store, mirror);
            turnSelection(f.store, mirror);
            EXPECT_EQ(f.columns(), before) << "mirror twice, type " << type;
        }
    }
}

TEST(NoteTransforms, TwoRightTurnsOfAPumpChartAreOneMirror) {
    for (int column = 0; column < 5; ++column) {
        const int twice = turnedColumn(4, Turn::Right, turnedColumn(4, Turn::Right, column));
        EXPECT_EQ(twice, turnedColumn(4, Turn::Mirror, column));
    }
}

TEST(NoteTransforms, ScaleStretchesRowsAndHoldsFromTheEarliestSelectedNote) {
    TransformFixture f;
    f.addNote(0, 0, 96);
    f.addNote(0, 1, 120, 12);
    f.store.refresh();
    f.selectAll();
    ASSERT_TRUE(scaleSelection(f.store, 2, 1));
    EXPECT_EQ(f.noteRows(0), (std::vector<std::int32_t>{96, 144}));
    EXPECT_EQ(f.store.notes(0)[1].lengthRows(), 24);

    TransformFixture g;
    g.addNote(0, 0, 96);
    g.addNote(0, 1, 121, 1);
    g.store.refresh();
    g.selectAll();
    ASSERT_TRUE(scaleSelection(g.store, 1, 2));
    EXPECT_EQ(g.noteRows(0), (std::vector<std::int32_t>{96, 108}));
    EXPECT_FALSE(g.store.notes(0)[1].isHold);
}

TEST(NoteTransforms, ChangeNoteTypeFlipsMinesAndHoldsAndLeavesTaps) {
    TransformFixture f;
    f.addNote(0, 0, 96);
    f.addNote(0, 1, 96, 0, true);
    f.addNote(0, 2, 96, 24);
    f.store.refresh();
    f.selectAll();
    ASSERT_TRUE(changeTypeOfSelection(f.store));
    const ItemList& notes = f.store.notes(0);
    EXPECT_EQ(noteKindOf(notes[0]), NoteKind::Tap);
    EXPECT_EQ(noteKindOf(notes[1]), NoteKind::Lift);
    EXPECT_EQ(noteKindOf(notes[2]), NoteKind::Roll);
}

TEST(NoteTransforms, PreviewComesFromACompleteRegionOrTheSelectedBeats) {
    TransformFixture f;
    RegionSelection region;
    EXPECT_FALSE(previewFromSelection(f.store, region));
    region.press(f.store, 1000); // only the begin: not a region yet
    EXPECT_FALSE(previewFromSelection(f.store, region));
    f.store.editBeats()[3].selected = true;
    f.store.editBeats()[5].selected = true;
    auto fromBeats = previewFromSelection(f.store, region);
    ASSERT_TRUE(fromBeats);
    EXPECT_EQ(fromBeats->begin, 3 * 22050);
    EXPECT_EQ(fromBeats->end, 5 * 22050);
    region.press(f.store, 500);
    auto fromRegion = previewFromSelection(f.store, region);
    ASSERT_TRUE(fromRegion);
    EXPECT_EQ(fromRegion->begin, 500);
    EXPECT_EQ(fromRegion->end, 1000);
}

} // namespace
} // namespace quillex
