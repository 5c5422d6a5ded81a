// The wave filter in the window: the dialog's OK runs the filter behind the progress
// box, Cancel there leaves no filtered wave, loading music or switching the filter
// off discards the wave, and music opened while the filter is on is filtered.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <vector>

#include "app/window/main_window.h"
#include "app/window/dialogs/wave_filter_dialog.h"
#include "app/window/main_window.h"
#include "view/editor_view.h"
#include "window_fixture.h"

namespace quillex {
namespace {

template <typename T> T* control(QWidget* dialog, int id) {
    T* found = dialog->findChild<T*>(QString::number(id));
    EXPECT_TRUE(found) << id;
    return found;
}

// Runs `act` on the modal dialog of type T as soon as it shows.
template <typename T> void whenOpen(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(dialog);
        else
            ADD_FAILURE() << "expected dialog missing";
    });
}

class WaveFilterWindowTest : public test::WindowFixture {
  protected:
    WaveFilterWindowTest() { dialogsShow = true; }
    void SetUp() override {
        WindowFixture::SetUp();
        music = folder.file("song.wav");
        writeSong(music, 90);
        ASSERT_TRUE(window->editor().player().loadMusic(music, "", true));
    }

    // A 44.1 kHz stereo song of low and high tones.
    static void writeSong(const std::string& path, int seconds) {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        ASSERT_TRUE(file);
        std::vector<short> frames(2 * 44100 * static_cast<std::size_t>(seconds));
        for (std::size_t i = 0; i < frames.size() / 2; ++i) {
            const double t = static_cast<double>(i) / 44100;
            frames[2 * i] = static_cast<short>(
                6000 * (std::sin(2 * M_PI * 60 * t) + std::sin(2 * M_PI * 6000 * t)));
            frames[2 * i + 1] = frames[2 * i];
        }
        sf_writef_short(file, frames.data(), static_cast<sf_count_t>(frames.size() / 2));
        sf_close(file);
    }

    // Opens the dialog with I's command, sets a finite low-pass of strength 10 and
    // presses OK.
    void filterLowPass(bool enabled = true) {
        whenOpen<WaveFilterDialog>([enabled](WaveFilterDialog* d) {
            control<QRadioButton>(d, 216)->click();
            control<QRadioButton>(d, 218)->click();
            control<QSlider>(d, 212)->setValue(10);
            EXPECT_EQ(control<QLabel>(d, 219)->text(), "10");
            control<QCheckBox>(d, 148)->setChecked(false);
            if (!enabled)
                control<QCheckBox>(d, 69)->click();
            EXPECT_EQ(control<QSlider>(d, 212)->isEnabled(), enabled);
            d->accept();
        });
        window->shell().dispatcher.dispatch(CommandId::WaveFilter);
    }

    std::string music;
};

TEST_F(WaveFilterWindowTest, OkFiltersAndLoadingOrSwitchingOffDiscards) {
    filterLowPass();
    const PeakPyramid* peaks = window->waveFilter().peaks();
    ASSERT_NE(peaks, nullptr);
    EXPECT_TRUE(window->view().filteredWaveAlone);
    EXPECT_EQ(peaks->sampleCount(), window->editor().waveView().peaks.sampleCount());

    ASSERT_TRUE(window->editor().player().loadMusic(music, "", true));
    EXPECT_EQ(window->waveFilter().peaks(), nullptr) << "a new music discards the filtered wave";

    filterLowPass();
    ASSERT_NE(window->waveFilter().peaks(), nullptr);
    filterLowPass(false);
    EXPECT_EQ(window->waveFilter().peaks(), nullptr) << "switched off";
}

TEST_F(WaveFilterWindowTest, OpeningAnotherSongFiltersItsMusicWhileTheFilterIsOn) {
    filterLowPass();
    const std::string other = folder.file("other.wav");
    writeSong(other, 5);
    window->shell().dispatcher.openPath(other);
    const PeakPyramid* peaks = window->waveFilter().peaks();
    ASSERT_NE(peaks, nullptr) << "the box stays ticked, so the new music is filtered";
    EXPECT_EQ(peaks->sampleCount(), window->editor().waveView().peaks.sampleCount());

    filterLowPass(false);
    window->shell().dispatcher.openPath(music);
    EXPECT_EQ(window->waveFilter().peaks(), nullptr) << "switched off stays off";
}

TEST_F(WaveFilterWindowTest, CancelLeavesNoFilteredWave) {
    whenOpen<WaveFilterDialog>([](WaveFilterDialog* d) {
        whenOpen<FilterProgressDialog>([](FilterProgressDialog* progress) {
            EXPECT_EQ(control<QLabel>(progress, 414)->text(), "0%");
            control<QAbstractButton>(progress, 2)->click();
        });
        d->accept();
    });
    window->shell().dispatcher.dispatch(CommandId::WaveFilter);
    EXPECT_FALSE(window->waveFilter().running());
    EXPECT_EQ(window->waveFilter().peaks(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace quillex
