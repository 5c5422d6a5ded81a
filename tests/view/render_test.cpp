// Frames rendered offscreen and probed pixel by pixel: beat lines, hold bodies,
// clipping to the view, the status panels; and the renderer's picture loading,
// colour keys, frame-rate display, song pictures and texts.
#include <gtest/gtest.h>

#include "render_fixture.h"

namespace quillex {
namespace {

TEST_F(RenderFixture, BeatLinesOnTheirRowsInTheirStyles) {
    store.setLayer(Layer::Beat, true);
    draw();
    const int locked = rowOf(88200);
    EXPECT_EQ(locked, 143);
    EXPECT_EQ(at(400, locked), QColor(255, 255, 255));
    EXPECT_EQ(at(400, locked - 1), kWallpaper);
    EXPECT_EQ(at(400, locked + 1), kWallpaper);
    EXPECT_EQ(at(89, locked), kWallpaper); // the line spans x 90..709
    EXPECT_EQ(at(710, locked), kWallpaper);
    // An unlocked blue beat is dotted: the dot picture tinted blue, 4 on, 4 off.
    const int dotted = rowOf(110250);
    EXPECT_EQ(at(90, dotted), QColor(0, 200, 200));
    EXPECT_EQ(at(93, dotted), QColor(0, 200, 200));
    EXPECT_EQ(at(94, dotted), kWallpaper);
    EXPECT_EQ(at(98, dotted), QColor(0, 200, 200));
}

TEST_F(RenderFixture, HiddenBeatLayerDrawsNoBeats) {
    draw();
    EXPECT_EQ(at(400, 143), kWallpaper);
}

TEST_F(RenderFixture, HoldBodyRunsFromHeadToTail) {
    store.setLayer(Layer::Arrow, true);
    addNote(0, 0, 48 * 3, 48 * 4); // head on beat 3, four beats long
    store.refresh();
    draw();
    const int head = rowOf(88200);
    const int end = rowOf(88200 + 4 * 22050);
    ASSERT_EQ(head, 143);
    ASSERT_EQ(end, 315);
    const int x = 295;
    EXPECT_EQ(at(x, head), QColor(255, 0, 0));             // the head's tap picture
    EXPECT_EQ(at(x, (head + end) / 2), QColor(0, 255, 0)); // the body
    EXPECT_EQ(at(x - 31, 250), QColor(0, 255, 0));
    EXPECT_EQ(at(x - 33, 250), kWallpaper);        // the body is the note's width
    EXPECT_EQ(at(x, end + 16), QColor(0, 0, 255)); // the tail, centred below the end row
    EXPECT_EQ(at(x, end + 16 + 33), kWallpaper);
}

TEST_F(RenderFixture, NothingOutsideTheView) {
    store.setLayer(Layer::Beat, true);
    store.setLayer(Layer::Arrow, true);
    addNote(0, 1, 48 * 2); // on the beat at 66150
    addNote(0, 1, 48 * 5);
    store.refresh();
    // The beat and the note sit a fraction of a row above the window: their row
    // truncates to 0, but they are outside the view and are not drawn.
    transport.position = 66150 + 512 * 100 + 100;
    draw();
    EXPECT_EQ(at(400, 0), kWallpaper);
    EXPECT_EQ(at(365, 10), kWallpaper);
    // Later beats and notes are in view.
    EXPECT_EQ(at(120, rowOf(88200)), QColor(255, 255, 255));
    const int next = rowOf(132300);
    EXPECT_EQ(at(365, next), QColor(255, 0, 0));
    EXPECT_EQ(at(122, next), QColor(0, 200, 200)); // a dot: 32 pixels from the start
}

TEST_F(RenderFixture, ValuePanelsFadeWithTheStatusLayerHidden) {
    draw();
    const int h = 600 - kDefaultStatusBottomMargin;
    EXPECT_EQ(at(300, h - 10), kWallpaper);
    view.status().light(StatusPanel::Volume);
    draw();
    const QColor lit = at(300, h - 10);
    EXPECT_NE(lit, kWallpaper);
    EXPECT_GT(lit.blue(), lit.red());
    EXPECT_EQ(at(330, h - 10), kWallpaper); // the Zoom panel stays dark
}

TEST_F(RenderFixture, WaveBandsAndCursorLine) {
    view.setLayer(Layer::Wave, true);
    draw();
    EXPECT_EQ(at(250, 100), QColor(255, 255, 255)); // cursor line across the left band
    EXPECT_EQ(at(600, 100), QColor(255, 255, 255));
    EXPECT_EQ(at(150, 300), at(500, 300)); // both bands in the band colour
    EXPECT_NE(at(150, 300), kWallpaper);
    EXPECT_EQ(at(400, 300), kWallpaper); // the gap between the bands
}

TEST_F(RenderFixture, FilteredWaveOverOrInsteadOfTheMusic) {
    // The music reaches 100 to the right of the centre line, the filtered wave 50.
    const std::vector<std::int8_t> loud(200000, 100), soft(200000, 50);
    editor.waveView().peaks.append(loud.data(), loud.data(), loud.size());
    PeakPyramid filtered;
    filtered.append(soft.data(), soft.data(), soft.size());
    view.setLayer(Layer::Wave, true);
    const int y = 110, centre = editor.waveView().waveX;
    draw({&filtered});
    const QColor band = at(centre - 100, y); // nothing left of the centre line
    EXPECT_EQ(at(centre + 75, y), QColor(255, 255, 84)) << "the music beyond the filtered wave";
    const QColor over = at(centre + 25, y); // red 234, green 51 at alpha 191 over the music
    EXPECT_NEAR(over.red(), (234 * 191 + 255 * 64) / 255, 2);
    EXPECT_NEAR(over.green(), (51 * 191 + 255 * 64) / 255, 2);

    view.filteredWaveAlone = true;
    draw({&filtered});
    EXPECT_EQ(at(centre + 75, y), band) << "no music drawn";
    EXPECT_EQ(at(centre + 25, y), QColor(234, 51, 67));
}

TEST_F(RenderFixture, PositionBarMarksThePlayPositionInTheMusic) {
    view.positionBar().setEnabled(true);
    transport.length = 44100 * 600;
    transport.position = transport.length / 2;
    draw();
    EXPECT_EQ(at(771, 300), QColor(255, 255, 255)); // the frame
    EXPECT_EQ(at(781, 1 + 596 / 2), QColor(255, 0, 0));
    EXPECT_EQ(at(781, 1 + 596 / 2 + 1), kWallpaper);
    EXPECT_EQ(at(771, 2), QColor(255, 255, 255));
}

TEST_F(RenderFixture, AutoscrollMarkIsSlightlySeeThrough) {
    view.autoscrollMark = std::pair(400, 300);
    draw();
    // The mark's picture at alpha 220 over the wallpaper.
    const QColor mark = test::placeholderColour(PictureId::AutoScroll);
    const QColor seen = at(400, 300);
    EXPECT_NEAR(seen.red(), (mark.red() * 220 + kWallpaper.red() * 35) / 255, 2);
    EXPECT_NEAR(seen.blue(), (mark.blue() * 220 + kWallpaper.blue() * 35) / 255, 2);
}

TEST_F(RenderFixture, BannerBoxAndRecordingBand) {
    view.status().setBannerMode(kBannerOpening);
    view.recording = true;
    draw();
    // The splash picture in a light blue box centred in the window.
    EXPECT_EQ(at(520, 280), test::placeholderColour(PictureId::Splash));
    EXPECT_EQ(at(400 - 129, 300 - 61), QColor(165, 217, 255));
    EXPECT_EQ(at(400 - 131, 300 - 61), kWallpaper);
    // The red "Recording..." band below the cursor row, with its white outline.
    const QColor band = at(300, 100 + 175);
    EXPECT_GT(band.red(), 150);
    EXPECT_LT(band.green(), 60);
    EXPECT_GT(at(295, 100 + 175).green(), 150);
    view.status().setBannerMode(kBannerHidden);
    view.recording = false;
    draw();
    EXPECT_EQ(at(520, 280), kWallpaper);
    EXPECT_EQ(at(300, 100 + 175), kWallpaper);
}

TEST_F(RenderFixture, JudgementAndComboShowInPracticeModeOnlyAndFadeAway) {
    JudgementDisplay shown;
    view.judgement = &shown;
    shown.lastKind = static_cast<int>(Judgement::Perfect);
    shown.fade[1] = 255;
    shown.combo = 12;
    const int wordRow = 100 + 150;
    const int comboRow = 100 + 260;
    draw();
    const QColor wordPlace = at(400, wordRow);
    const QColor digitPlace = at(350, comboRow);
    EXPECT_NE(wordPlace, test::placeholderColour(PictureId::Judgement)) << "AutoPlay shows none";
    view.practiceMode = true;
    draw();
    EXPECT_EQ(at(400, wordRow), test::placeholderColour(PictureId::Judgement));
    EXPECT_EQ(at(350, comboRow), test::placeholderColour(PictureId::ComboNumbers));
    EXPECT_EQ(at(450, comboRow), test::placeholderColour(PictureId::ComboLabel));
    for (int i = 0; i < 70; ++i)
        draw();
    EXPECT_EQ(at(400, wordRow), wordPlace) << "the word has faded";
    EXPECT_EQ(at(350, comboRow), test::placeholderColour(PictureId::ComboNumbers));
    shown.combo = 0;
    draw();
    EXPECT_EQ(at(350, comboRow), digitPlace);
}

TEST(Renderer, MissingPictureFailsAndNamesTheFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(test::writePlaceholderPictures(folder.path(), PictureId::DanceSnapBase));
    Renderer renderer;
    EXPECT_FALSE(renderer.initialise(folder.path()));
    EXPECT_TRUE(renderer.errorText().contains("graphics/dance/standard/snapbase.png"));
    EXPECT_FALSE(renderer.initialised());
}

TEST(Renderer, ColourKeysBecomeTransparent) {
    QTemporaryDir folder;
    ASSERT_TRUE(test::writePlaceholderPictures(folder.path()));
    Renderer renderer;
    ASSERT_TRUE(renderer.initialise(folder.path()));
    const QImage& hatch = renderer.picture(PictureId::Crosshatch);
    EXPECT_EQ(qAlpha(hatch.pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(hatch.pixel(1, 0)), 0);
    EXPECT_EQ(qAlpha(renderer.picture(PictureId::Dotted).pixel(5, 0)), 0);
    // A picture with a size in the table is loaded at that size.
    EXPECT_EQ(renderer.picture(PictureId::AnimMine).size(), QSize(256, 128));
}

TEST(Renderer, FrameRateChangesEvery61Frames) {
    QTemporaryDir folder;
    ASSERT_TRUE(test::writePlaceholderPictures(folder.path()));
    Renderer renderer;
    ASSERT_TRUE(renderer.initialise(folder.path()));
    renderer.setFrameRateShown(true);
    QImage target(800, 600, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    auto frames = [&](int count, double seconds) {
        renderer.setFrameDurationOverride(seconds);
        for (int i = 0; i < count; ++i) {
            renderer.beginFrame(painter, 800, 600);
            renderer.endFrame();
        }
    };
    frames(60, 0.02);
    EXPECT_EQ(renderer.shownFrameRate(), 0);
    frames(1, 0.02);
    EXPECT_EQ(renderer.shownFrameRate(), 50);
    frames(60, 0.04);
    EXPECT_EQ(renderer.shownFrameRate(), 50);
    frames(1, 0.04);
    EXPECT_EQ(renderer.shownFrameRate(), (50 + 60 * 25) / 61);
}

TEST(Renderer, SongBackgroundAndBanner) {
    QTemporaryDir folder;
    ASSERT_TRUE(test::writePlaceholderPictures(folder.path()));
    Renderer renderer;
    ASSERT_TRUE(renderer.initialise(folder.path()));
    RecordingMessages messages;
    EXPECT_FALSE(renderer.setSongBackground(folder.path(), "missing.png", messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), "I could not load the background picture " +
                                       folder.filePath("missing.png").toStdString() +
                                       ".  Make sure the file name under Background in "
                                       "Properties is correct.");
    EXPECT_FALSE(renderer.hasSongBackground());
    EXPECT_FALSE(renderer.setSongBanner(folder.path(), "missing.png"));
    EXPECT_FALSE(renderer.setSongBackground(folder.path(), "", messages));
    EXPECT_EQ(messages.shown.size(), 1u);

    QImage song(40, 30, QImage::Format_RGB32);
    song.fill(QColor(250, 0, 0));
    ASSERT_TRUE(song.save(folder.filePath("bg.png")));
    EXPECT_TRUE(renderer.setSongBackground(folder.path(), "bg.png", messages));
    EXPECT_TRUE(renderer.setSongBanner(folder.path(), "bg.png"));
    // The song background shows at its own opacity (64 at first) over black.
    QImage target(100, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    renderer.beginFrame(painter, 100, 100);
    renderer.background(255);
    renderer.endFrame();
    EXPECT_NEAR(target.pixelColor(50, 50).red(), 250 * 64 / 255, 2);
    for (int i = 0; i < 10; ++i)
        renderer.backgroundOpacityStep(false);
    EXPECT_EQ(renderer.backgroundOpacity(), 128);
    renderer.backgroundOpacityStep(true);
    EXPECT_EQ(renderer.backgroundOpacity(), 118);
}

} // namespace
} // namespace quillex

namespace quillex {
namespace {

// Where a text's pixels land (in the surface's own pixels), how bright they get, and
// how many 2 × 2 blocks of them are not one colour (none when a picture of half the
// resolution was scaled up).
struct TextInk {
    QRect box;
    int brightest = 0;
    int unevenBlocks = 0;
};

TextInk drawText(Renderer& renderer, qreal ratio, int alpha) {
    QImage target(QSize(200, 60) * ratio, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(ratio);
    target.fill(Qt::black);
    {
        QPainter painter(&target);
        renderer.beginFrame(painter, 200, 60, false);
        renderer.text("12.345", 50, 20, alpha, FontSize::Small);
        renderer.endFrame();
    }
    TextInk ink;
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            if (const int red = qRed(target.pixel(x, y)); red > 0) {
                ink.box |= QRect(x, y, 1, 1);
                ink.brightest = std::max(ink.brightest, red);
            }
    for (int y = 0; y + 1 < target.height(); y += 2)
        for (int x = 0; x + 1 < target.width(); x += 2) {
            const QRgb corner = target.pixel(x, y);
            if (target.pixel(x + 1, y) != corner || target.pixel(x, y + 1) != corner ||
                target.pixel(x + 1, y + 1) != corner)
                ++ink.unevenBlocks;
        }
    return ink;
}

TEST(Renderer, TextLandsInPlaceAtEveryPixelRatioAndFadesWithItsAlpha) {
    QTemporaryDir folder;
    ASSERT_TRUE(test::writePlaceholderPictures(folder.path()));
    Renderer renderer;
    ASSERT_TRUE(renderer.initialise(folder.path()));
    const TextInk plain = drawText(renderer, 1, 255);
    ASSERT_FALSE(plain.box.isEmpty());
    EXPECT_NEAR(plain.box.left(), 50, 3);
    EXPECT_NEAR(plain.box.top(), 20, 6);
    const TextInk sharp = drawText(renderer, 2, 255);
    EXPECT_NEAR(sharp.box.left() / 2.0, plain.box.left(), 1);
    EXPECT_NEAR(sharp.box.top() / 2.0, plain.box.top(), 1);
    EXPECT_NEAR(sharp.box.right() / 2.0, plain.box.right(), 1);
    EXPECT_GT(sharp.unevenBlocks, 0) << "drawn at the finer resolution";
    EXPECT_NEAR(drawText(renderer, 1, 63).brightest, plain.brightest * 63 / 255, 2);
}

} // namespace
} // namespace quillex
