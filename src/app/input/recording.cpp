#include "app/input/recording.h"

#include <algorithm>
#include <cmath>

#include "model/note_kind.h"

namespace quillex {

namespace {

constexpr int kFinestSnap = 48;

} // namespace

Recording::Recording(Editor& editor, Dispatcher& dispatcher, EditCommands& edits, InputFlags& flags,
                     bool practiceMode)
    : editor_(editor), dispatcher_(dispatcher), edits_(edits), flags_(flags) {
    flags_.practice = practiceMode;
}

void Recording::registerCommands() {
    dispatcher_.registerHandler(CommandId::Record, [this](int) { toggle(); });
    // Practice mode on or off until the program ends (options.ini keeps its value);
    // while recording forces it on, the setting put back afterwards is the one toggled.
    dispatcher_.registerHandler(CommandId::PracticeMode, [this](int) {
        if (flags_.recordingArrows)
            savedPractice_ = !savedPractice_;
        else
            flags_.practice = !flags_.practice;
    });
    dispatcher_.endArrowRecording = [this] { stop(); };
}

void Recording::openRecordEntry() {
    OpenEntryFlags& open = editor_.openEntries();
    if (open.recording)
        return;
    dispatcher_.openUndoEntry("Record");
    open.recording = true;
}

void Recording::toggle() {
    ItemStore& store = editor_.store();
    MusicPlayer& player = editor_.player();
    if (store.beats().size() < 2) {
        editor_.messages().show(kRecordNeedsBeatsMessage);
        return;
    }
    store.refresh();
    if (flags_.recordingArrows) {
        stop();
        return;
    }
    flags_.recordingArrows = true;
    savedBeatTickOff_ = player.beatTickOff();
    player.setBeatTickOff(false);
    savedPractice_ = flags_.practice;
    flags_.practice = true;
    snapForced_ = player.snap(false) == 0;
    if (snapForced_)
        player.setSnap(kFinestSnap, false);
    if (!player.playing())
        player.play();
    wasPlaying_ = player.playing();
    openRecordEntry();
}

void Recording::endArrows() {
    MusicPlayer& player = editor_.player();
    if (!flags_.recordingArrows)
        return;
    flags_.recordingArrows = false;
    player.setBeatTickOff(savedBeatTickOff_);
    flags_.practice = savedPractice_;
    if (snapForced_)
        player.setSnap(0, false);
    snapForced_ = false;
}

void Recording::abandon() {
    endArrows();
    wasPlaying_ = false;
    editor_.openEntries().recording = false;
}

void Recording::stop() {
    MusicPlayer& player = editor_.player();
    endArrows();
    if (player.playing())
        player.pause();
    wasPlaying_ = false;
    OpenEntryFlags& open = editor_.openEntries();
    if (!open.recording)
        return;
    editor_.store().refresh(); // numbers the taps, which went in unnumbered while the music played
    open.recording = false;
    dispatcher_.commitUndoEntry();
    edits_.updateUndoMenu();
}

void Recording::frame(double keyboardLagMs) {
    const double lag = keyboardLagMs * 0.001 * editor_.player().sampleRate();
    flags_.lagSamples = std::isfinite(lag) ? static_cast<int>(std::clamp(lag, -1e9, 1e9)) : 0;
    const bool playing = editor_.player().playing();
    if (wasPlaying_ && !playing)
        stop();
    wasPlaying_ = playing;
}

void Recording::beatTapped(SamplePosition sample) {
    ItemStore& store = editor_.store();
    if (store.oneLayerLock()) {
        editor_.messages().show(kInsertBeatsGuard);
        return;
    }
    openRecordEntry();
    store.setLayer(Layer::Beat, true);
    // No refresh while the music plays: the taps go into their places by sample and
    // are numbered when it stops.
    store.addBeat(sample);
    if (!editor_.player().playing())
        stop();
}

void Recording::beatKeyWhileStopped() {
    dispatcher_.dispatch(CommandId::InsertBeat);
}

void Recording::arrowRecorded(int column, SamplePosition position) {
    ItemStore& store = editor_.store();
    if (!flags_.recordingArrows || store.beats().size() < 2)
        return;
    const LevelIndex level = store.currentLevel();
    if (column >= columnCountOfLevel(level))
        return;
    dispatcher_.selectLevel(level);
    store.addNote(level, column, editor_.player().snappedRowAt(position), {}, NoteKind::Tap);
}

} // namespace quillex
