// Reading options.ini: defaults, the reading rule of each kind of value, and the
// entry syntax's edge cases.
#include <gtest/gtest.h>

#include "items/item_store.h"
#include "settings/options.h"
#include "settings/settings_syntax.h"
#include "temp_folder.h"

namespace quillex {
namespace {

Options parsed(const std::string& text) {
    Options options;
    parseOptions(text, options);
    return options;
}

TEST(OptionsFile, MissingFileReportsFalseAndKeepsDefaults) {
    test::TempFolder folder;
    Options options;
    EXPECT_FALSE(readOptions(folder.file("options.ini"), options));
    EXPECT_EQ(formatOptions(options), formatOptions(Options{}));
}

TEST(OptionsFile, OneEntryChangesOnlyItsOption) {
    test::TempFolder folder;
    folder.write("options.ini", "#SAVEBACKUPS:YES;\n");
    Options options;
    ASSERT_TRUE(readOptions(folder.file("options.ini"), options));
    EXPECT_TRUE(options.saveBackups);
    Options expected;
    expected.saveBackups = true;
    EXPECT_EQ(formatOptions(options), formatOptions(expected));
}

TEST(OptionsFile, OnlyUpperCaseNoIsFalse) {
    Options o = parsed("#SCROLLINGCURSOR:no;#TOGGLEDELETE:NO;#ONELAYEREDIT:;#NOSHOWFPS:NO ;");
    EXPECT_TRUE(o.scrollingCursor);
    EXPECT_FALSE(o.toggleDelete);
    EXPECT_TRUE(o.oneLayerEdit);
    EXPECT_TRUE(o.noShowFps);
}

TEST(OptionsFile, OutOfRangeValuesFallBackToDefaults) {
    Options o = parsed("#BEAT_ASSIST_VOL:150;#NOTE_ASSIST_VOL:-1;#PRACTICEMODEGREAT:-5;"
                       "#ALTERNATE_KEY_UP:300;#ALTERNATE_KEY_LEFT:-1;#PRACTICEMODESCALE:0;"
                       "#PRACTICEMODEBOO:abc;#PRACTICEMODEGOOD:4e-324;");
    EXPECT_EQ(o.beatAssistVolume, 100);
    EXPECT_EQ(o.noteAssistVolume, 100);
    EXPECT_DOUBLE_EQ(o.greatWindow, 0.090);
    EXPECT_EQ(o.alternateKeyUp, 190);
    EXPECT_EQ(o.alternateKeyLeft, 90);
    EXPECT_DOUBLE_EQ(o.practiceScale, 1.5);
    EXPECT_DOUBLE_EQ(o.booWindow, 0.180);
    EXPECT_DOUBLE_EQ(o.goodWindow, 0.135);
}

TEST(OptionsFile, HugePracticeValuesAreClampedSoSampleWindowsStayInRange) {
    Options o = parsed("#PRACTICEMODEBOO:1e12;#PRACTICEMODESCALE:1e300;#KBLAGCOMP:-1e9;"
                       "#SPECTROGRAMRANGE:5;");
    EXPECT_DOUBLE_EQ(o.booWindow, kMaxJudgeWindowMs * 0.001);
    EXPECT_DOUBLE_EQ(o.practiceScale, kMaxPracticeScale);
    EXPECT_DOUBLE_EQ(o.keyboardLagMs, -kMaxKeyboardLagMs);
    EXPECT_EQ(o.spectrogramRangeDb, kMinSpectrogramRangeDb);
}

TEST(OptionsFile, ValuesInRangeAreTakenWithCStyleNumberReading) {
    Options o = parsed("#BEAT_ASSIST_VOL:40%;#PRACTICEMODEPERFECT:50.5ms;#ALTERNATE_KEY_DOWN:0;"
                       "#STATUSBAR_EXTRAY:-30;#KBLAGCOMP:-12.25;#PRACTICEMODESCALE:2;");
    EXPECT_EQ(o.beatAssistVolume, 40);
    EXPECT_DOUBLE_EQ(o.perfectWindow, 0.0505);
    EXPECT_EQ(o.alternateKeyDown, 0);
    EXPECT_EQ(o.statusBarExtraY, -30);
    EXPECT_DOUBLE_EQ(o.keyboardLagMs, -12.25);
    EXPECT_DOUBLE_EQ(o.practiceScale, 2.0);
}

TEST(OptionsFile, EntriesSplitOverLinesOrRunTogether) {
    Options o = parsed("#SAVEBACKUPS:YE\nS;#NOSHOWFPS:NO;#MMBINSERTBEAT\n:NO;");
    EXPECT_TRUE(o.saveBackups);
    EXPECT_FALSE(o.noShowFps);
    EXPECT_FALSE(o.mmbInsertBeat);
}

TEST(OptionsFile, BlanksCaseAndMissingColonMakeEntriesUnrecognised) {
    Options o = parsed(" #SAVEBACKUPS:YES;#savebackups:YES;#NOSHOWFPS :NO;#SELECTPASTED;"
                       "#PASTEOVERRIDE:NO:YES;");
    EXPECT_FALSE(o.saveBackups);
    EXPECT_TRUE(o.noShowFps);
    EXPECT_TRUE(o.selectPasted);
    EXPECT_TRUE(o.pasteOverride) << "the value is everything after the first colon";
}

TEST(OptionsFile, LaterEntryWins) {
    EXPECT_EQ(parsed("#BEAT_ASSIST_VOL:30;#BEAT_ASSIST_VOL:70;").beatAssistVolume, 70);
}

TEST(OptionsFile, WrittenFileReadsBackTheSameAndHasTheDefaultLayout) {
    Options defaults;
    std::string text = formatOptions(defaults);
    EXPECT_EQ(text.substr(0, 23), "#SCROLLINGCURSOR:YES;\n#");
    EXPECT_NE(text.find("#SAVEBACKUPS:NO;\n"), std::string::npos);
    EXPECT_NE(text.find("#PRACTICEMODESCALE:1.5;\n"), std::string::npos);
    EXPECT_NE(text.find("#PRACTICEMODEMARVELOUS:22.5;\n"), std::string::npos);
    EXPECT_NE(text.find("#PRACTICEMODEPERFECT:45;\n"), std::string::npos);
    EXPECT_NE(text.find("#KBLAGCOMP:0;\n"), std::string::npos);

    Options changed;
    changed.saveBackups = true;
    changed.goodWindow = 0.1;
    changed.alternateKeyRight = 77;
    Options back;
    parseOptions(formatOptions(changed), back);
    EXPECT_EQ(formatOptions(back), formatOptions(changed));
}

TEST(OptionsFile, EditingOptionsReachTheItemStore) {
    FixedMusicInfo music;
    BusyCounter busy;
    ItemStore store(music, busy);
    Options o = parsed("#ONELAYEREDIT:NO;#TOGGLEDELETE:NO;#PASTEOVERRIDE:NO;");
    applyOptionsTo(store, o);
    EXPECT_FALSE(store.options().oneLayerEdit);
    EXPECT_FALSE(store.options().pasteOverride);
    EXPECT_TRUE(store.options().selectPasted);
    EXPECT_FALSE(store.toggleDelete());
}

TEST(SettingsFileWriting, ReplacesTheFileWholeAndLeavesNoTemporaryBehind) {
    test::TempFolder folder;
    folder.write("options.ini", "old");
    ASSERT_TRUE(writeFileWhole(folder.file("options.ini"), "new content"));
    EXPECT_EQ(folder.read("options.ini"), "new content");
    int files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 1);
    // The settings folder is made on the first write.
    EXPECT_TRUE(writeFileWhole(folder.file("quillex/options.ini"), "x"));
    EXPECT_EQ(folder.read("quillex/options.ini"), "x");
}

TEST(SettingsFileWriting, FailureLeavesTheOldFileUntouched) {
    test::TempFolder folder;
    // A file in the place of the settings folder.
    folder.write("blocked", "");
    EXPECT_FALSE(writeFileWhole(folder.file("blocked/options.ini"), "x"));
    // A folder in the file's place cannot be replaced by a file.
    std::filesystem::create_directories(folder.file("taken.ini"));
    EXPECT_FALSE(writeFileWhole(folder.file("taken.ini"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken.ini")));
}

} // namespace
} // namespace quillex
