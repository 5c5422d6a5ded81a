// Drawing one editor frame offscreen at 1920 × 1080 of a dense dance-double chart:
// at zoom level 13 (the most items in view), and at zoom level 12 for a 1-minute and
// a 60-minute song with the same view (a 1-minute song does not fill a zoom-13
// view), to show that a frame's cost depends on what is in view and not on the
// song's length. The same views again with the spectrogram layer beside the wave, and
// at zoom level 1, where one column of it is stretched over the whole screen.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>
#include <vector>

#include "app/session/editor.h"
#include "view/editor_view.h"
#include "view/paint/frame_painter.h"
#include "view/paint/renderer.h"

namespace {

using namespace quillex;

constexpr int kRate = 44100;
constexpr int kSamplesPerBeat = kRate / 2; // 120 BPM
constexpr LevelIndex kDanceDoubleHard = levelIndex(1, 3);

struct Song {
    RecordingMessages messages;
    FixedMusicInfo music;
    Editor editor;
    NullShellHooks hooks;
    EditorView view;
    Renderer renderer;
    FramePainter painter;
    TransportState transport;
    QImage frame{1920, 1080, QImage::Format_ARGB32_Premultiplied};
    std::shared_ptr<TfPyramid> spectrogram;

    explicit Song(int minutes)
        : music(kRate, minutes * 60 * kRate), editor(messages, music),
          view(editor.store(), editor.waveView(), hooks) {
        const SamplePosition length = music.musicLength();
        ItemStore& store = editor.store();
        const int beats = length / kSamplesPerBeat - 2;
        for (int i = 0; i < beats; ++i)
            store.addBeat(kRate + i * kSamplesPerBeat, {.locked = i % 4 == 0, .white = true});
        store.refresh();
        for (int b = 1; b + 8 < beats; b += 16)
            store.addPause({b + 4, 0}, {0, 12});
        // A 16th-note stream with a jump on every beat and a hold every four beats.
        for (int row = 48; row < (beats - 2) * 48; row += 12) {
            const int column = (row / 12) % 8;
            const bool hold = row % 192 == 0;
            store.addNote(kDanceDoubleHard, column, RowPosition::fromRow(row),
                          hold ? RowPosition{1, 0} : RowPosition{},
                          row % 96 == 36 ? NoteKind::Mine : NoteKind::Tap);
            if (row % 48 == 0)
                store.addNote(kDanceDoubleHard, (column + 4) % 8, RowPosition::fromRow(row), {},
                              NoteKind::Tap);
        }
        store.refresh();
        store.setCurrentLevel(kDanceDoubleHard);
        buildWave(length);
        buildSpectrogram(length);

        view.setWindowSize(1920, 1080);
        for (Layer layer : {Layer::Wave, Layer::Beat, Layer::Pause, Layer::Arrow, Layer::Status})
            view.setLayer(layer, true);
        view.positionBar().setRange(0, length);
        if (!renderer.initialise(QUILLEX_DATA_DIR))
            throw std::runtime_error(renderer.errorText().toStdString());
        transport.loaded = true;
        transport.playing = true;
        transport.sampleRate = kRate;
        transport.length = length;
        transport.snapIndex = 4;
        transport.fileFrequency = kRate;
        transport.fileBits = 16;
        transport.fileChannels = 2;
    }

    // A saw-tooth music: the wave layer has something to draw on every row.
    void buildWave(SamplePosition length) {
        std::vector<std::int8_t> left(1 << 16), right(1 << 16);
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] = static_cast<std::int8_t>((i * 7) % 200 - 100);
            right[i] = static_cast<std::int8_t>((i * 3) % 160 - 80);
        }
        PeakPyramid& peaks = editor.waveView().peaks;
        peaks.reserve(static_cast<std::size_t>(length));
        for (SamplePosition done = 0; done < length;) {
            const auto count = std::min<std::size_t>(left.size(), length - done);
            peaks.append(left.data(), right.data(), count);
            done += static_cast<SamplePosition>(count);
        }
    }

    // Columns of changing levels (what they hold does not change the cost of a frame).
    void buildSpectrogram(SamplePosition length) {
        spectrogram = std::make_shared<TfPyramid>(kRate, static_cast<std::size_t>(length));
        for (std::size_t c = 0; c < spectrogram->columnCount(0); ++c) {
            std::uint8_t* column = spectrogram->baseColumn(c);
            for (int band = 0; band < kTfBands; ++band)
                column[band] = static_cast<std::uint8_t>((c * 13 + band * 7) % 256);
        }
        spectrogram->buildCoarserLevels();
    }

    // Playback at 60 frames a second moves the position by 735 samples; after two
    // seconds it starts over, so every run sees the same stretch of the song.
    void drawOne(double start, int frameIndex) {
        transport.position = start + (frameIndex % 120) * 735;
        QPainter p(&frame);
        painter.drawFrame(p, renderer, view, transport, {nullptr, spectrogram.get()});
    }
};

void drawFrames(benchmark::State& state, int minutes, int zoomLevel, bool grid,
                bool spectrogram = false) {
    static std::unique_ptr<Song> song;
    static int songMinutes = 0;
    if (!song || songMinutes != minutes) {
        song.reset();
        song = std::make_unique<Song>(minutes);
        songMinutes = minutes;
    }
    song->view.chooseGrid(grid ? GridChoice::Sixteenth : GridChoice::None);
    song->view.spectrogramOn = spectrogram;
    song->view.noteSizeCommand(NoteSizeCommand::Auto);
    song->editor.waveView().zoomLevel = zoomLevel;
    song->view.zoom(ZoomCommand::In);
    song->view.zoom(ZoomCommand::Out);
    // Six seconds in, a zoom-12 view (50 seconds) lies within even the short song, and
    // both songs show the same items.
    const double start = 6.0 * kRate;
    int frameIndex = 0;
    for (auto _ : state) {
        song->drawOne(start, frameIndex++);
        benchmark::DoNotOptimize(song->frame.constBits());
    }
    state.counters["notes_in_song"] =
        static_cast<double>(song->editor.store().notes(kDanceDoubleHard).size());
}

// The most items in view: zoom level 13 over a long song.
void BM_FrameZoom13(benchmark::State& state) {
    drawFrames(state, 60, 13, false);
}
void BM_FrameZoom13With16thGrid(benchmark::State& state) {
    drawFrames(state, 60, 13, true);
}
// The same view of a short and a long song.
void BM_FrameZoom12Song1Minute(benchmark::State& state) {
    drawFrames(state, 1, 12, false);
}
void BM_FrameZoom12Song60Minutes(benchmark::State& state) {
    drawFrames(state, 60, 12, false);
}

void BM_FrameSpectrogramZoom12Song1Minute(benchmark::State& state) {
    drawFrames(state, 1, 12, false, true);
}
void BM_FrameSpectrogramZoom12Song60Minutes(benchmark::State& state) {
    drawFrames(state, 60, 12, false, true);
}
void BM_FrameSpectrogramZoom1Song60Minutes(benchmark::State& state) {
    drawFrames(state, 60, 1, false, true);
}

BENCHMARK(BM_FrameZoom13)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameZoom13With16thGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameZoom12Song1Minute)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameZoom12Song60Minutes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameSpectrogramZoom12Song1Minute)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameSpectrogramZoom12Song60Minutes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameSpectrogramZoom1Song60Minutes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
