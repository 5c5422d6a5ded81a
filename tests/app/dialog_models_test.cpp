// The dialogs' logic without Qt: the Level Manager and its ratings, the Properties
// checks, the Options form and Go To.
#include <gtest/gtest.h>

#include <cmath>

#include "../settings/temp_folder.h"
#include "app/forms/go_to.h"
#include "app/forms/level_manager.h"
#include "app/forms/properties_form.h"
#include "settings/options_form.h"
#include "shell_fakes.h"
#include "support/store_fixture.h"

namespace quillex {
namespace {

class LevelManagerTest : public ::testing::Test,
                         public test::StoreFixture,
                         public test::FakedShell {
  protected:
    LevelManagerTest() : FakedShell(store, messages, editor.shell()) {}
    test::TempFolder folder;
    NoteskinChoice noteskins;
    LevelManager manager{editor, dispatcher, noteskins, folder.file("noteskin.ini")};

    void addKinds(LevelIndex level, int count, NoteKind kind, int firstRow) {
        for (int i = 0; i < count; ++i)
            store.addNote(
                level, i % 4, RowPosition::fromRow(firstRow + 12 * i),
                RowPosition::fromRow(kind == NoteKind::Hold || kind == NoteKind::Roll ? 24 : 0),
                kind);
    }
};

TEST_F(LevelManagerTest, SummaryCountsHoldsWithRollsAndMinesWithLifts) {
    addBeats(40, 0, 22050);
    addPause(96, 48);
    const LevelIndex hard = levelIndex(1, 3);
    addKinds(hard, 10, NoteKind::Tap, 48);
    addKinds(hard, 2, NoteKind::Hold, 600);
    addKinds(hard, 1, NoteKind::Roll, 900);
    addKinds(hard, 3, NoteKind::Mine, 1000);
    addKinds(hard, 1, NoteKind::Lift, 1200);
    store.addDelay(RowPosition::fromRow(1500), RowPosition::fromRow(24));
    store.refresh();
    editor.meters().set(hard, 9);
    manager.chooseGameType(1);
    const LevelManagerView view = manager.view();
    EXPECT_EQ(view.label, "[dance-double]");
    EXPECT_EQ(view.lines[3].rating, "9");
    EXPECT_EQ(view.lines[3].counts, "Tap(s)/Hold(s)/Mine(s):  10/3/4");
    EXPECT_TRUE(view.lines[3].ratingEnabled);
    EXPECT_EQ(view.lines[0].rating, "--");
    EXPECT_EQ(view.lines[0].counts, "------Click Launch to Begin------");
    EXPECT_TRUE(view.lines[0].launchEnabled);
    EXPECT_FALSE(view.lines[0].ratingEnabled);
    EXPECT_EQ(view.stops, "Stop(s):  1   Delay(s):  1");
    EXPECT_EQ(view.beats, "Beat(s)/Sub-beat(s):  40/0");
    EXPECT_FALSE(store.layerOn(Layer::Arrow)) << "choosing a game type keeps the notes hidden";
    EXPECT_EQ(folder.read("noteskin.ini"),
              "#DANCE_SINGLE:STANDARD;\n#DANCE_DOUBLE:STANDARD;\n#DANCE_COUPLE:STANDARD;\n");

    manager.launch(3);
    EXPECT_EQ(store.currentLevel(), 9);
    EXPECT_TRUE(store.layerOn(Layer::Arrow));
}

TEST_F(LevelManagerTest, WithoutBeatsOnlySyncModeLaunchesAndAsksForMusic) {
    const LevelManagerView view = manager.view();
    EXPECT_EQ(gameTypeLabel(5), "[pump-halfdouble]");
    for (const DifficultyLine& line : view.lines) {
        EXPECT_EQ(line.counts, std::string(33, '-'));
        EXPECT_FALSE(line.launchEnabled || line.ratingEnabled || line.textsEnabled);
    }
    EXPECT_EQ(view.stops, "--");
    store.setModified(true);
    manager.launchSync();
    EXPECT_FALSE(store.modified());
    EXPECT_EQ(messages.lastText(), kBrowseForMusicMessage);
    EXPECT_EQ(ui.openDialogs, 1);
}

TEST_F(LevelManagerTest, GameTypeStepsStopAtBothEnds) {
    manager.previousGameType();
    EXPECT_EQ(store.currentLevel(), 0);
    dispatcher.selectLevel(levelIndex(7, 2));
    manager.nextGameType();
    EXPECT_EQ(store.currentLevel(), levelIndex(7, 2));
    manager.previousGameType();
    EXPECT_EQ(store.currentLevel(), levelIndex(6, 2));
    manager.chooseNoteskin(1, true);
    EXPECT_TRUE(noteskins.enhancedFor(1));
    EXPECT_NE(folder.read("noteskin.ini").find("#DANCE_DOUBLE:ENHANCED;"), std::string::npos);
}

TEST_F(LevelManagerTest, RatingsMustBeWholeNumbersFromOneAndDescriptionsFitTheFile) {
    addBeats(8, 0, 22050);
    addKinds(levelIndex(0, 1), 1, NoteKind::Tap, 48);
    addKinds(levelIndex(0, 2), 1, NoteKind::Tap, 48);
    store.refresh();
    Song& song = editor.song();
    song.chartTexts()[levelIndex(0, 2)].description = "Read";
    const auto fields = ratingFields(store, editor.meters(), song, 0);
    EXPECT_EQ(fields[0].text, "no data");
    EXPECT_FALSE(fields[0].enabled);
    EXPECT_TRUE(fields[2].enabled);
    EXPECT_EQ(fields[2].description, "Read");
    const auto entries = [](const std::string& medium, const std::string& description) {
        return std::array<DifficultyEntry, kDifficultyCount>{
            {{"x", ""}, {" 4", "Easy one"}, {medium, description}, {}, {}, {}}};
    };
    for (const char* bad : {"0", "abc", "-3", "2.5", "99999999999"}) {
        const auto refused = applyRatings(entries(bad, ""), store, editor.meters(), song, 0);
        ASSERT_TRUE(refused) << bad;
        EXPECT_EQ(refused->difficulty, 2);
        EXPECT_FALSE(refused->description);
        EXPECT_EQ(editor.meters().get(levelIndex(0, 1)), 1) << "nothing kept when refused";
    }
    const auto refused = applyRatings(entries("12", "a;b"), store, editor.meters(), song, 0);
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->description);
    EXPECT_EQ(song.chartTexts()[levelIndex(0, 1)].description, "");

    editor.meters().set(levelIndex(0, 4), 7);
    EXPECT_EQ(applyRatings(entries("12", " Hard-ish "), store, editor.meters(), song, 0),
              std::nullopt);
    EXPECT_EQ(editor.meters().get(levelIndex(0, 1)), 4);
    EXPECT_EQ(editor.meters().get(levelIndex(0, 2)), 12);
    EXPECT_EQ(editor.meters().get(levelIndex(0, 4)), 1) << "an empty chart's rating becomes 1";
    EXPECT_EQ(song.chartTexts()[levelIndex(0, 1)].description, "Easy one");
    EXPECT_EQ(song.chartTexts()[levelIndex(0, 2)].description, "Hard-ish");
}

TEST(PropertiesForm, RefusesSymbolsInFieldOrderAndPutsNumbersRight) {
    PropertiesForm form;
    form.subtitle = "a/b";
    form.title = "#1";
    EXPECT_EQ(checkPropertiesForm(form).value_or("").substr(0, 46),
              "You cannot use these symbols in the title:\n\\, ");
    form.title = "One";
    EXPECT_EQ(checkPropertiesForm(form).value_or(""),
              "You cannot use these symbols in the subtitle:\n\\, /, :, *, ?, \", <, >, |, #, ;");
    form.subtitle = "";
    form.genre = "Pop;Rock";
    EXPECT_EQ(checkPropertiesForm(form).value_or("").substr(0, 42),
              "You cannot use these symbols in the genre:");
    form.genre = "Pop";
    form.banner = "x;y.png";
    EXPECT_EQ(checkPropertiesForm(form), std::string(kFileNameSemicolonMessage));
    form.banner = "b.png";

    const std::pair<const char*, const char*> bpms[] = {{"-5", "100.000"},    {"inf", "100.000"},
                                                        {"1e300", "100.000"}, {"abc", "100.000"},
                                                        {"150", "150.000"},   {"87.5", "87.500"}};
    const std::pair<const char*, const char*> previews[] = {
        {"1000", "1000"}, {"-1", "1000"}, {"5", "9999999999"}, {"10", "20"}};
    for (std::size_t i = 0; i < std::size(bpms); ++i) {
        form.displayBpmLow = bpms[i].first;
        form.previewBegin = previews[i % 4].first;
        form.previewEnd = previews[i % 4].second;
        EXPECT_EQ(checkPropertiesForm(form), std::nullopt);
        EXPECT_EQ(form.displayBpmLow, bpms[i].second);
        const bool valid = i % 4 == 3;
        EXPECT_EQ(form.previewBegin, valid ? "10" : "0") << i;
        EXPECT_EQ(form.previewEnd, valid ? "20" : "0") << i;
    }
}

TEST(OptionsForm, SlidersCoverZeroAndOkRefusesBadWindows) {
    Options quiet;
    quiet.beatAssistVolume = 0;
    quiet.noteAssistVolume = 40;
    OptionsForm form = optionsFormOf(quiet);
    EXPECT_EQ(form.beatVolumeStep, 0);
    EXPECT_EQ(form.marvelous, "22.500");
    const Options kept = *optionsFromForm(form);
    EXPECT_EQ(kept.beatAssistVolume, 0);
    EXPECT_EQ(kept.noteAssistVolume, 40);

    const std::pair<std::string OptionsForm::*, const char*> refused[] = {
        {&OptionsForm::scale, "inf"},    {&OptionsForm::scale, "0"},
        {&OptionsForm::boo, "1e12"},     {&OptionsForm::great, "45"},
        {&OptionsForm::perfect, "abc"},  {&OptionsForm::keyboardLag, "1e9"},
        {&OptionsForm::freezeOk, "nan"}, {&OptionsForm::mine, "-1"},
        {&OptionsForm::scale, "11"}};
    for (const auto& [field, text] : refused) {
        OptionsForm bad = optionsFormOf(Options{});
        bad.*field = text;
        EXPECT_EQ(optionsFromForm(bad), std::nullopt) << text;
    }
    OptionsForm zeroFreeze = optionsFormOf(Options{});
    zeroFreeze.freezeOk = "0";
    zeroFreeze.keyboardLag = "-12.5";
    ASSERT_TRUE(optionsFromForm(zeroFreeze));
    EXPECT_NE(formatOptions(*optionsFromForm(zeroFreeze)).find("#PRACTICEMODEFREEZEOK:0;"),
              std::string::npos);
    EXPECT_EQ(optionsFromForm(zeroFreeze)->keyboardLagMs, -12.5);

    const std::string defaults = formatOptions(*optionsFromForm(defaultOptionsForm(Options{})));
    EXPECT_EQ(defaults.find(":NO;"), std::string::npos) << defaults;
    EXPECT_NE(defaults.find("#PRACTICEMODEMARVELOUS:22.5;"), std::string::npos);
}

class GoToTest : public ::testing::Test, public test::StoreFixture {
  protected:
    void SetUp() override { addBeats(10, 4410, 22050); } // beat 1 at 0.1 s, 120 BPM
};

TEST_F(GoToTest, TextChoosesSecondsBeatsOrSamplesWithinTheTimeline) {
    const TimingMap timing = store.timing();
    const SamplePosition end = 44100 * 600 - 1;
    const std::pair<const char*, SamplePosition> cases[] = {{"1.5", 66150},
                                                            {"12.5", 551250},
                                                            {"99999999.5", end},
                                                            {"-3.0", 0},
                                                            {"2:00", 4410 + 22050},
                                                            {"1:24", 4410 + 11025},
                                                            {"0:-5", 0},
                                                            {"500:00", 4410 + 9 * 22050},
                                                            {"12345", 12345},
                                                            {"9999999999", end}};
    for (const auto& [text, sample] : cases)
        EXPECT_EQ(goToTarget(text, timing).sample, sample) << text;
    for (const char* bad : {"nan", "1.2.3", "abc", "-5", "1:2:3", "inf"})
        EXPECT_EQ(goToTarget(bad, timing).sample, std::nullopt) << bad;

    EXPECT_EQ(goToText(66150, kTimeSeconds, timing), "1.500");
    EXPECT_EQ(goToTarget(goToText(4410 + 11025, kTimeBeats, timing), timing).sample, 4410 + 11025);
    EXPECT_EQ(goToText(777, kTimeSamples, timing), "777");

    // Markers before and after the music take the timeline as far as they reach.
    store.addBeat(-44100);
    store.addBeat(end + 44101);
    store.refresh();
    const TimingMap longer = store.timing();
    EXPECT_EQ(goToTarget("-3.0", longer).sample, -44100);
    EXPECT_EQ(goToTarget("99999999.5", longer).sample, end + 44101);
}

} // namespace
} // namespace quillex
