// The tempo suggestion in the window: Tools ▸ Suggest Tempo... analyses the music behind
// its progress bar and Apply fills the markers as one undo step; the Autofill dialog's
// "Suggest" button puts the chosen tempo and first beat into its fields.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "app/window/dialogs/suggest_tempo_dialog.h"
#include "app/window/main_window.h"
#include "window_fixture.h"

namespace quillex {
namespace {

constexpr double kBpm = 128;
constexpr double kFirstClick = 0.5;
// The earliest beat at or after 0 s: the silent one before the first click.
constexpr double kFirstBeat = kFirstClick - 60 / kBpm;

QPushButton* button(QWidget* dialog, const QString& text) {
    for (auto* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

// Once the Suggest Tempo dialog shows and has listed its candidates, presses Apply.
void applyFirstCandidateWhenListed() {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll] {
        auto* dialog = dynamic_cast<SuggestTempoDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (QPushButton* apply = button(dialog, "Apply"); apply && apply->isEnabled()) {
            poll->deleteLater();
            apply->click();
        }
    });
    poll->start(20);
}

class SuggestTempoWindowTest : public test::WindowFixture {
  protected:
    SuggestTempoWindowTest() {
        // Analyses are cached; keep this test's out of the user's cache.
        if (const char* old = std::getenv("XDG_CACHE_HOME"))
            oldCache_ = old;
        setenv("XDG_CACHE_HOME", folder.file("cache").c_str(), 1);
        dialogsShow = true;
    }
    ~SuggestTempoWindowTest() override {
        if (oldCache_.empty())
            unsetenv("XDG_CACHE_HOME");
        else
            setenv("XDG_CACHE_HOME", oldCache_.c_str(), 1);
    }
    void SetUp() override {
        WindowFixture::SetUp();
        const std::string music = folder.file("clicks.wav");
        writeClicks(music, 30);
        ASSERT_TRUE(window->editor().player().loadMusic(music, "", true));
    }

    // Short noise bursts on every beat at 128 BPM from 0.5 s, louder on the downbeats.
    static void writeClicks(const std::string& path, int seconds) {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        ASSERT_TRUE(file);
        std::vector<short> frames(44100 * static_cast<std::size_t>(seconds));
        unsigned noise = 12345;
        for (int beat = 0;; ++beat) {
            const auto start = static_cast<std::size_t>((kFirstClick + beat * 60 / kBpm) * 44100);
            if (start + 2000 >= frames.size())
                break;
            const double level = beat % 4 == 0 ? 20000 : 12000;
            for (std::size_t i = 0; i < 2000; ++i) {
                noise = noise * 1664525u + 1013904223u;
                const double n = static_cast<double>(noise >> 16) / 32768.0 - 1;
                frames[start + i] = static_cast<short>(level * n * (1 - i / 2000.0));
            }
        }
        sf_writef_short(file, frames.data(), static_cast<sf_count_t>(frames.size()));
        sf_close(file);
    }

    std::string oldCache_;
};

TEST_F(SuggestTempoWindowTest, ApplyFillsTheMarkersAtTheHeardTempoAsOneUndoStep) {
    applyFirstCandidateWhenListed();
    window->shell().dispatcher.dispatch(CommandId::SuggestTempo);

    const TimingMap timing = window->editor().store().timing();
    ASSERT_GT(timing.markerCount(), 50u);
    EXPECT_NEAR(timing.averageBpm(), kBpm, 0.01);
    EXPECT_NEAR(static_cast<double>(timing.beats()[0].sample) / 44100, kFirstBeat, 0.002);
    window->shell().dispatcher.dispatch(CommandId::Undo);
    EXPECT_EQ(window->editor().store().timing().markerCount(), 0u);
}

TEST_F(SuggestTempoWindowTest, AutofillSuggestFillsTheBpmAndOffsetFields) {
    QString bpm, offset;
    QTimer::singleShot(0, [&] {
        QWidget* autofill = QApplication::activeModalWidget();
        ASSERT_TRUE(autofill);
        applyFirstCandidateWhenListed();
        button(autofill, "Suggest")->click(); // runs the Suggest Tempo dialog inside
        bpm = autofill->findChild<QLineEdit*>("bpm")->text();
        offset = autofill->findChild<QLineEdit*>("offset")->text();
        qobject_cast<QDialog*>(autofill)->reject();
    });
    window->shell().dispatcher.dispatch(CommandId::AutofillBeats);

    EXPECT_EQ(bpm, "128.000");
    EXPECT_NEAR(offset.toDouble(), kFirstBeat, 0.002) << offset.toStdString();
    EXPECT_EQ(window->editor().store().timing().markerCount(), 0u); // cancelled
}

} // namespace
} // namespace quillex
