// Renders the demo song offscreen to PNG files, for looking at the editor without a
// window: every game type at every note size (the demo's dance-single chart spread
// over each layout's columns), the enhanced noteskin, and a sync-mode view with the
// grid. Usage: view_render_demo SONG.sm OUTPUT_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

#include "app/session/editor.h"
#include "audio/platform/platform_audio.h"
#include "fileio/song_reader.h"
#include "view/editor_view.h"
#include "view/paint/frame_painter.h"
#include "view/paint/renderer.h"
#include "view/player_bridge.h"

using namespace quillex;

namespace {

constexpr int kMedium = 2;

// Copies the dance-single Medium chart into the Medium level of every other game
// type, walking its columns across the wider layouts.
void spreadChart(ItemStore& store) {
    const LevelIndex source = levelIndex(0, kMedium);
    const std::vector<EditItem> notes = store.notes(source).items();
    for (int type = 1; type < kGameTypeCount; ++type) {
        const int columns = columnCount(type);
        for (const EditItem& n : notes) {
            const int column = (n.column + (n.row() / 96) * 2) % columns;
            store.addNote(levelIndex(type, kMedium), column, n.start(),
                          RowPosition::fromRow(n.lengthRows()),
                          n.isMineLike() ? NoteKind::Mine : NoteKind::Tap);
        }
    }
    store.refresh();
}

struct Shooter {
    EditorView& view;
    Renderer& renderer;
    MusicPlayer& player;
    QString folder;
    FramePainter painter;

    void shoot(const QString& name) {
        QImage frame(view.windowWidth(), view.windowHeight(), QImage::Format_ARGB32_Premultiplied);
        TransportState transport = transportStateOf(player);
        // Three frames, so the status texts written every second frame are shown.
        for (int i = 0; i < 3; ++i) {
            QPainter p(&frame);
            painter.drawFrame(p, renderer, view, transport);
        }
        frame.save(QDir(folder).filePath(name + ".png"));
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: view_render_demo SONG.sm OUTPUT_FOLDER\n");
        return 2;
    }
    RecordingMessages messages;
    NullShellHooks hooks;
    Editor editor(messages, hooks, makePlatformAudio());
    SongFileContext context = songFileContext(editor);
    if (!readSong(context, argv[1])) {
        std::fprintf(stderr, "could not read %s: %s\n", argv[1], messages.lastText().c_str());
        return 1;
    }
    spreadChart(editor.store());

    Renderer renderer;
    if (!renderer.initialise(QUILLEX_DATA_DIR)) {
        std::fprintf(stderr, "%s\n", renderer.errorText().toUtf8().constData());
        return 1;
    }
    renderer.setFrameRateShown(false);
    EditorView view(editor.store(), editor.waveView(), hooks);
    view.setWindowSize(800, 600);
    for (Layer layer : {Layer::Wave, Layer::Beat, Layer::Pause, Layer::Arrow, Layer::Status})
        view.setLayer(layer, true);
    QDir().mkpath(argv[2]);
    Shooter shooter{view, renderer, editor.player(), argv[2], {}};
    MusicPlayer& player = editor.player();
    const TimingMap timing = editor.store().timing();

    // Note mode: each layout at each note size, with zoom levels that suit the size.
    player.seek(timing.rowToSample(RowPosition{9, 0}));
    player.setSnap(4, false);
    const int zoomForSize[4] = {10, 11, 12, 13};
    for (int type = 0; type < kGameTypeCount; ++type) {
        editor.store().setCurrentLevel(levelIndex(type, kMedium));
        for (int size = 0; size < 4; ++size) {
            editor.waveView().zoomLevel = zoomForSize[size];
            view.setNoteSize(size);
            shooter.shoot(QString("note_%1_size%2").arg(type).arg(size));
        }
    }
    editor.store().setCurrentLevel(levelIndex(0, kMedium));
    view.setEnhancedNoteskin(0, true);
    editor.waveView().zoomLevel = 10;
    view.setNoteSize(0);
    shooter.shoot("note_0_enhanced");

    // Sync mode: no arrows, the 16th grid with its labels, around the stop.
    view.setLayer(Layer::Arrow, false);
    view.chooseGrid(GridChoice::Sixteenth);
    player.setTimeFormat(30);
    player.seek(timing.rowToSample(RowPosition{15, 0}));
    editor.waveView().zoomLevel = 10;
    view.status().light(StatusPanel::Zoom);
    shooter.shoot("sync_grid16_beats");
    std::printf("wrote %s\n", argv[2]);
    return 0;
}
