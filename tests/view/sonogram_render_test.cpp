// The spectrogram layer probed pixel by pixel: a tone lights its band's column in the
// layer's span (the left wave band beside the wave, both bands instead of it), the
// silent bands stay dark, and nothing is drawn before the music starts.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/tf_transform.h"
#include "render_fixture.h"

namespace quillex {
namespace {

struct SpectrogramRender : RenderFixture {
    std::shared_ptr<TfPyramid> pyramid;
    int toneBand = 0;

    static std::shared_ptr<TfPyramid> toneSpectrogram(double hz) {
        std::vector<float> tone(44100 * 4);
        for (std::size_t i = 0; i < tone.size(); ++i)
            tone[i] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * hz * i / 44100));
        return buildTfPyramid(tone, 44100, {});
    }

    SpectrogramRender() {
        pyramid = toneSpectrogram(1000);
        toneBand = TfBands(44100).bandOf(1000);
        transport.position = 0; // the music starts on the cursor row
        view.spectrogramOn = true;
    }
    // The screen column of a band's centre in the layer's span.
    int xOfBand(int band, SpectrogramSpan span) const {
        return span.left + (2 * band + 1) * (span.right - span.left) / (2 * kTfBands);
    }
    static bool bright(QColor c) { return c.red() > 200 && c.green() > 200; }
    static bool dark(QColor c) { return c.red() < 90 && c.green() < 40 && c.blue() > 60; }
};

TEST_F(SpectrogramRender, ToneLightsItsBandInTheLayersSpan) {
    view.setLayer(Layer::Wave, true);
    for (bool beside : {true, false}) {
        view.spectrogramLook.besideWave = beside;
        const SpectrogramSpan span = spectrogramSpan(editor.waveView(), beside);
        draw({nullptr, pyramid.get()});
        for (int y : {150, 400}) {
            EXPECT_TRUE(bright(at(xOfBand(toneBand, span), y))) << beside << " row " << y;
            EXPECT_TRUE(dark(at(xOfBand(5, span), y))) << beside << " row " << y;
            EXPECT_TRUE(dark(at(xOfBand(75, span), y))) << beside << " row " << y;
        }
        EXPECT_FALSE(dark(at(xOfBand(5, span), 50))) << "before the music";
        const QColor rightBand = at(editor.waveView().waveX + 250, 300);
        EXPECT_EQ(dark(rightBand), !beside) << "the right wave band";
    }
}

// The "1k" tick stands over the 1 kHz tone's column; music of a low rate has no 10 kHz.
TEST_F(SpectrogramRender, FrequencyMarksStandOverWhatTheyName) {
    const SpectrogramSpan span = spectrogramSpan(editor.waveView(), true);
    draw({nullptr, pyramid.get()});
    const std::vector<FrequencyMark> marks = spectrogramFrequencyMarks(44100, span);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[1].label, "1k");
    EXPECT_TRUE(bright(at(marks[1].x, 300)));
    const QColor tick = at(marks[1].x, std::max(editor.waveView().waveTop, 0) + 3);
    EXPECT_GT(std::min({tick.red(), tick.green(), tick.blue()}), 140);
    EXPECT_EQ(spectrogramFrequencyMarks(16000, span).size(), 2u);
}

TEST_F(SpectrogramRender, NewPyramidWhereTheOldOneWasIsDrawnAnew) {
    const SpectrogramSpan span = spectrogramSpan(editor.waveView(), true);
    draw({nullptr, pyramid.get()});
    *pyramid = *toneSpectrogram(5000);
    draw({nullptr, pyramid.get()});
    EXPECT_TRUE(bright(at(xOfBand(TfBands(44100).bandOf(5000), span), 300)));
    EXPECT_TRUE(dark(at(xOfBand(toneBand, span), 300)));
}

TEST_F(SpectrogramRender, HiddenLayerDrawsNothing) {
    view.spectrogramOn = false;
    draw({nullptr, pyramid.get()});
    EXPECT_EQ(at(xOfBand(5, spectrogramSpan(editor.waveView(), true)), 300), kWallpaper);
}

} // namespace
} // namespace quillex
