#include <gtest/gtest.h>

#include "model/game_type.h"
#include "model/note_kind.h"

namespace quillex {
namespace {

TEST(GameTypeTest, TableNamesAndColumns) {
    EXPECT_EQ(gameTypeInfo(GameType::PumpHalfDouble).smName, "pump-halfdouble");
    EXPECT_EQ(gameTypeInfo(GameType::PumpHalfDouble).shortName, "pump-halfdb");
    EXPECT_EQ(gameTypeInfo(GameType::DanceSolo).qxxTag, "DANCE_SOLO");
    EXPECT_EQ(gameTypeInfo(GameType::PumpCouple).emptyRow, "0000000000");
    int columns[] = {4, 8, 8, 6, 5, 6, 10, 10};
    for (int i = 0; i < kGameTypeCount; ++i) {
        EXPECT_EQ(columnCount(i), columns[i]);
        EXPECT_EQ(gameTypeInfo(i).emptyRow.size(), static_cast<std::size_t>(columns[i]));
        EXPECT_EQ(gameTypeFromSmName(gameTypeInfo(i).smName), i);
    }
    // Out of range is dance-single.
    EXPECT_EQ(columnCount(8), 4);
    EXPECT_EQ(columnCount(-1), 4);
    EXPECT_EQ(gameTypeInfo(99).emptyRow, "0000");
    EXPECT_FALSE(gameTypeFromSmName("ez2-single").has_value());
}

TEST(GameTypeTest, LevelsAndDifficulties) {
    EXPECT_EQ(gameTypeOfLevel(29), 4);
    EXPECT_EQ(difficultyOfLevel(29), 5); // pump-single Edit
    EXPECT_EQ(gameTypeOfLevel(30), 5);
    EXPECT_EQ(difficultyOfLevel(30), 0); // pump-halfdouble Beginner
    EXPECT_EQ(levelIndex(7, 5), 47);
    EXPECT_EQ(columnCountOfLevel(30), 6);
    EXPECT_EQ(difficultySmName(4), "Challenge");
    EXPECT_EQ(difficultyQxxTag(2), "MEDIUM");
    EXPECT_EQ(difficultyFromName("HARD"), 3);
    EXPECT_EQ(difficultyFromName("Beginner"), 0);
    EXPECT_FALSE(difficultyFromName("expert").has_value());
}

TEST(GameTypeTest, MetersAreAtLeastOne) {
    MeterTable meters;
    EXPECT_EQ(meters.get(10), 1);
    meters.set(10, 9);
    EXPECT_EQ(meters.get(10), 9);
    meters.set(10, 0);
    EXPECT_EQ(meters.get(10), 1);
    meters.set(11, -4);
    EXPECT_EQ(meters.get(11), 1);
    meters.set(48, 5); // no such level
    EXPECT_EQ(meters.get(48), 1);
}

TEST(NoteKindTest, FieldsAndEncodingsAgreeBothWays) {
    struct Case {
        NoteKind kind;
        char smHead;
        int qxxCode;
        bool hasLength;
    };
    const Case cases[] = {{NoteKind::Tap, '1', 0, false},
                          {NoteKind::Hold, '2', 0, true},
                          {NoteKind::Roll, '4', 3, true},
                          {NoteKind::Mine, 'M', 1, false},
                          {NoteKind::Lift, 'L', 2, false}};
    for (const Case& c : cases) {
        const NoteKindFields f = fieldsOfNoteKind(c.kind);
        EditItem note;
        note.kind = ItemKind::Note;
        note.isHold = f.isHold;
        note.altKind = f.altKind;
        note.divisionClass = f.mineLike ? kMineDivisionClass : 3;
        if (f.isHold)
            note.lengthBeats = 1;
        EXPECT_EQ(noteKindOf(note), c.kind);
        EXPECT_EQ(smHeadCharacter(c.kind), c.smHead);
        EXPECT_EQ(qxxTypeCode(note), c.qxxCode);
        EXPECT_EQ(noteKindFromQxxTypeCode(c.qxxCode, c.hasLength), c.kind);
    }
}

TEST(NoteKindTest, DivisionClassesFollowTheFraction) {
    EXPECT_EQ(divisionClassOfFraction(0), 0);
    EXPECT_EQ(divisionClassOfFraction(24), 1);
    EXPECT_EQ(divisionClassOfFraction(16), 2);
    EXPECT_EQ(divisionClassOfFraction(32), 2);
    EXPECT_EQ(divisionClassOfFraction(12), 3);
    EXPECT_EQ(divisionClassOfFraction(36), 3);
    EXPECT_EQ(divisionClassOfFraction(8), 4);
    EXPECT_EQ(divisionClassOfFraction(6), 5);
    EXPECT_EQ(divisionClassOfFraction(4), 6);
    EXPECT_EQ(divisionClassOfFraction(3), 7);
    EXPECT_EQ(divisionClassOfFraction(1), 8);
    EXPECT_EQ(divisionClassOfFraction(47), 8);
}

TEST(NoteKindTest, ForeignColumnCounts) {
    EXPECT_EQ(foreignColumnCount("ez2-single"), 5);
    EXPECT_EQ(foreignColumnCount("ez2-double"), 10);
    EXPECT_EQ(foreignColumnCount("ez2-real"), 7);
    EXPECT_EQ(foreignColumnCount("para-single"), 5);
    EXPECT_EQ(foreignColumnCount("techno-single8"), 4);
}

} // namespace
} // namespace quillex
