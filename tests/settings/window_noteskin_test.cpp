// noteskin.ini and window.ini: creation, reading rules and the remembered geometry.
#include <gtest/gtest.h>

#include "settings/noteskin_settings.h"
#include "settings/window_settings.h"
#include "temp_folder.h"

namespace quillex {
namespace {

const ScreenArea kWorkArea{0, 0, 1920, 1040};

TEST(NoteskinFile, MissingFileIsCreatedAllStandard) {
    test::TempFolder folder;
    NoteskinChoice choice;
    readNoteskins(folder.file("noteskin.ini"), choice);
    EXPECT_EQ(folder.read("noteskin.ini"),
              "#DANCE_SINGLE:STANDARD;\n#DANCE_DOUBLE:STANDARD;\n#DANCE_COUPLE:STANDARD;\n");
    EXPECT_FALSE(choice.enhanced[0] || choice.enhanced[1] || choice.enhanced[2]);
}

TEST(NoteskinFile, OnlyExactEnhancedSelectsEnhanced) {
    test::TempFolder folder;
    folder.write("noteskin.ini", "#DANCE_DOUBLE:ENHANCED;#DANCE_SINGLE:enhanced;");
    NoteskinChoice choice;
    readNoteskins(folder.file("noteskin.ini"), choice);
    EXPECT_FALSE(choice.enhanced[0]);
    EXPECT_TRUE(choice.enhanced[1]);
    EXPECT_FALSE(choice.enhanced[2]);
    EXPECT_TRUE(choice.enhancedFor(1));
    EXPECT_FALSE(choice.enhancedFor(5));
}

TEST(NoteskinFile, WrittenChoiceReadsBack) {
    test::TempFolder folder;
    NoteskinChoice choice;
    choice.enhanced = {true, false, true};
    ASSERT_TRUE(writeNoteskins(folder.file("noteskin.ini"), choice));
    NoteskinChoice back;
    readNoteskins(folder.file("noteskin.ini"), back);
    EXPECT_EQ(back.enhanced, choice.enhanced);
}

TEST(WindowFile, MissingOrShortFileGivesCentredDefault) {
    test::TempFolder folder;
    WindowGeometry centred{560, 220, 800, 600, false};
    EXPECT_EQ(readWindowGeometry(folder.file("window.ini"), kWorkArea), centred);
    folder.write("window.ini", "10\n20\n900\n");
    EXPECT_EQ(readWindowGeometry(folder.file("window.ini"), kWorkArea), centred);
}

TEST(WindowFile, NegativePlaceAndSmallSizeAreRaised) {
    test::TempFolder folder;
    folder.write("window.ini", "-20\n-5\n640\n480\n0\n");
    EXPECT_EQ(readWindowGeometry(folder.file("window.ini"), kWorkArea),
              (WindowGeometry{0, 0, 800, 600, false}));
    folder.write("window.ini", "30 40 1000 700 0");
    EXPECT_EQ(readWindowGeometry(folder.file("window.ini"), kWorkArea),
              (WindowGeometry{30, 40, 1000, 700, false}));
}

TEST(WindowFile, MaximisedRestoresTo800By600Centred) {
    test::TempFolder folder;
    folder.write("window.ini", "0\n0\n1920\n1040\n1\n");
    EXPECT_EQ(readWindowGeometry(folder.file("window.ini"), kWorkArea),
              (WindowGeometry{560, 220, 800, 600, true}));
}

TEST(WindowFile, CentresInAWorkAreaAwayFromTheOrigin) {
    EXPECT_EQ(placeWindow(std::nullopt, ScreenArea{1920, 0, 3840, 1080}),
              (WindowGeometry{2480, 240, 800, 600, false}));
}

TEST(WindowFile, WrittenAsFiveLines) {
    test::TempFolder folder;
    ASSERT_TRUE(writeWindowGeometry(folder.file("window.ini"), {-8, -8, 1936, 1056, true}));
    EXPECT_EQ(folder.read("window.ini"), "-8\n-8\n1936\n1056\n1\n");
}

} // namespace
} // namespace quillex
