// Status texts and fades, and the grid layer's label entries in each time format.
#include <gtest/gtest.h>

#include "support/store_fixture.h"
#include "view/grid.h"
#include "view/status_layer.h"
#include "view/status_texts.h"

namespace quillex {
namespace {

constexpr int kSamples = 28, kSeconds = 29, kBeats = 30;

TEST(StatusTexts, PositionInEachTimeFormat) {
    test::StoreFixture f;
    f.addBeats(8, 44100, 22050);
    const TimingMap timing = f.store.timing();
    EXPECT_EQ(positionText(66150, kSamples, 44100, timing), "66150");
    EXPECT_EQ(positionText(66150, kSeconds, 44100, timing), "1.500");
    EXPECT_EQ(positionText(66150, kBeats, 44100, timing), "2:00");
    EXPECT_EQ(positionText(66150 + 11025 / 2, kBeats, 44100, timing), "2:12");
    EXPECT_EQ(beatText({12, 5}), "12:05");
    EXPECT_EQ(beatText({3, 24}), "3:24");
    EXPECT_STREQ(snapName(9), "96th (24)");
    EXPECT_STREQ(snapName(11), "");
    EXPECT_STREQ(channelName(6), "Other");
}

TEST(StatusLayer, FadesLightAndDecay) {
    StatusLayer status;
    status.light(StatusPanel::Zoom);
    EXPECT_EQ(status.textFade(StatusPanel::Zoom), 255);
    EXPECT_EQ(status.panelFade(StatusPanel::Zoom), 200);
    EXPECT_EQ(status.textFade(StatusPanel::Volume), 0);
    status.fadeStep();
    EXPECT_EQ(status.textFade(StatusPanel::Zoom), 253);
    EXPECT_EQ(status.panelFade(StatusPanel::Zoom), 198);
    for (int i = 0; i < 200; ++i)
        status.fadeStep();
    EXPECT_EQ(status.textFade(StatusPanel::Zoom), 0);
    status.lightAll();
    EXPECT_EQ(status.panelFade(StatusPanel::Chan), 200);
    status.startSaveNotice(SaveNotice::SingleBpm);
    EXPECT_EQ(status.saveFade(SaveNotice::SingleBpm), 255);
    EXPECT_EQ(status.saveFade(SaveNotice::SavedAsQx), 0);
}

TEST(StatusLayer, SlotsTakeTheTransportTexts) {
    test::StoreFixture f;
    f.addBeats(8, 44100, 22050);
    StatusLayer status;
    EXPECT_EQ(status.slot(5), "[AP]");
    status.setSlot(6, "ignored");
    status.setSlot(-1, "ignored");
    EXPECT_EQ(status.slot(6), "");

    TransportState t;
    t.position = 66150;
    t.snapIndex = 4;
    t.beatTickOn = true;
    t.timeFormat = kBeats;
    status.updateTransportSlots(t, f.store.timing());
    EXPECT_EQ(status.slot(2), "16th (4)");
    EXPECT_EQ(status.slot(3), "* 120.000 bpm");
    EXPECT_EQ(status.slot(4), "2:00");
    // An unknown snap leaves the old name; the note tick marks the position.
    t.snapIndex = 42;
    t.noteTickOn = true;
    t.beatTickOn = false;
    status.updateTransportSlots(t, f.store.timing());
    EXPECT_EQ(status.slot(2), "16th (4)");
    EXPECT_EQ(status.slot(3), "120.000 bpm");
    EXPECT_EQ(status.slot(4), "* 2:00");
    status.setPracticeMode(true);
    EXPECT_EQ(status.slot(5), "");
    EXPECT_EQ(StatusLayer::slotX(4), 585);
}

struct GridFixture : ::testing::Test, test::StoreFixture {
    GridFixture() {
        addBeats(8, 44100, 22050); // 120 BPM from one second in
        view.position = 88200;     // beat 3 on the cursor row
        view.samplesPerRow = 512;
        view.cursorRow = 100;
        view.height = 600;
    }
    std::vector<GridEntry> entries(GridChoice choice, int format, std::size_t first,
                                   std::size_t last) {
        Grid grid;
        grid.choose(choice);
        std::vector<GridEntry> result;
        buildGridEntries(grid, store.timing(), view, first, last, format, result);
        return result;
    }
    ViewGeometry view;
};

TEST_F(GridFixture, LabelsInEachFormat) {
    const auto samples = entries(GridChoice::Quarter, kSamples, 0, 8);
    ASSERT_EQ(samples.size(), 8u);
    EXPECT_EQ(samples[0].position, "44100");
    EXPECT_EQ(samples[0].bpm, "120.000");
    EXPECT_EQ(samples[0].x, 710);
    EXPECT_EQ(samples[0].y, view.rowOfSample(44100) - 3);
    // The last marker starts no interval.
    EXPECT_EQ(samples[7].bpm, "0.000");
    EXPECT_EQ(entries(GridChoice::Quarter, kSeconds, 1, 2)[0].position, "1.500");
    EXPECT_EQ(entries(GridChoice::Quarter, kBeats, 2, 3)[0].position, "3:00");
    EXPECT_TRUE(entries(GridChoice::None, kBeats, 0, 8).empty());
}

TEST_F(GridFixture, EighthsAndSixteenthsBetweenMarkers) {
    // Markers 2..3 in view: marker 2 is the first in view, so the beat before it gets
    // its half and quarters too.
    const auto eighths = entries(GridChoice::Eighth, kSamples, 2, 4);
    int halves = 0, quarters = 0, labelled = 0;
    for (const GridEntry& e : eighths) {
        labelled += e.labelled;
        halves += !e.labelled && e.style == 1;
        quarters += !e.labelled && e.style == 2;
    }
    EXPECT_EQ(labelled, 2);
    EXPECT_EQ(halves, 3); // after markers 2 and 3, and before marker 2
    EXPECT_EQ(quarters, 0);
    // The half after marker 2 sits half way to marker 3.
    EXPECT_EQ(eighths[1].y, view.rowOfSample(88200 + 11025) - 3);

    const auto sixteenths = entries(GridChoice::Sixteenth, kSamples, 2, 4);
    EXPECT_EQ(sixteenths.size(), 2u + 3u + 6u);
    // The very first marker of the song has nothing before it; the last nothing after.
    EXPECT_EQ(entries(GridChoice::Sixteenth, kSamples, 0, 1).size(), 4u);
    EXPECT_EQ(entries(GridChoice::Sixteenth, kSamples, 7, 8).size(), 4u);
}

TEST(Grid, ChoicesSetTheirBits) {
    Grid grid;
    EXPECT_FALSE(grid.any());
    grid.choose(GridChoice::Eighth);
    EXPECT_TRUE(grid.has(Grid::kQuarterBit));
    EXPECT_TRUE(grid.has(Grid::kEighthBit));
    EXPECT_FALSE(grid.has(Grid::kSixteenthBit));
    EXPECT_EQ(grid.choice(), GridChoice::Eighth);
}

} // namespace
} // namespace quillex
