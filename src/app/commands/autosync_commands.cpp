#include "app/commands/autosync_commands.h"

#include "analysis/beat_tracker.h"
#include "tools/autofill.h"
#include "tools/autosync.h"
#include "tools/straighten.h"

namespace quillex {

AutosyncCommands::AutosyncCommands(Editor& editor, Dispatcher& dispatcher,
                                   AnalysisRunner::Post post, std::filesystem::path cacheDirectory)
    : editor_(editor), dispatcher_(dispatcher),
      runner_(std::move(post), std::move(cacheDirectory)) {}

void AutosyncCommands::registerAll() {
    dispatcher_.registerHandler(
        CommandId::Autosync, [this](int) { autosync(); },
        CommandRules{.refusedInNoteMode = kAutosyncGuard});
    dispatcher_.registerHandler(
        CommandId::StraightenBeats, [this](int) { straighten(); },
        CommandRules{.refusedInNoteMode = kStraightenGuard});
}

void AutosyncCommands::autosync() {
    if (!editor_.player().loaded() || !editor_.player().decodedMusic()) {
        editor_.messages().show(kNoMusicMessage);
        return;
    }
    auto music = editor_.player().decodedMusic();
    busy_ = true;
    showProgress(0);
    runner_.start(music, {.percent = [this](int percent) { showProgress(percent); },
                          .finished =
                              [this, music](std::shared_ptr<const MusicAnalysis> a) {
                                  busy_ = false;
                                  editor_.shell().setStatusText(kAutosyncProgressSlot, "");
                                  placeBeats(music, *a);
                              }});
}

void AutosyncCommands::showProgress(int percent) {
    editor_.shell().setStatusText(kAutosyncProgressSlot,
                                  "Autosync " + std::to_string(percent) + " %");
    editor_.shell().drawFrame();
}

void AutosyncCommands::placeBeats(const std::shared_ptr<const PcmData>& music,
                                  const MusicAnalysis& analysis) {
    if (editor_.player().decodedMusic() != music)
        return; // other music was opened meanwhile
    const auto beats = analysis.rhythmFound() ? trackBeats(analysis.features, std::nullopt)
                                              : std::vector<double>{};
    if (beats.empty()) {
        editor_.messages().show(kNoRhythmMessage);
        return;
    }
    ItemStore& store = editor_.store();
    store.refresh();
    store.setLayer(Layer::Beat, true);
    dispatcher_.openUndoEntry(kAutosyncLabel);
    placeFoundBeats(store, autosyncStart(store), beats);
    dispatcher_.commitUndoEntry();
    store.setModified(true);
    editor_.player().resetTickIndices(editor_.player().position());
    editor_.shell().drawFrame();
}

void AutosyncCommands::fillAtTempo(const TempoCandidate& candidate) {
    ItemStore& store = editor_.store();
    store.refresh();
    store.setLayer(Layer::Beat, true);
    dispatcher_.openUndoEntry("Autofill Avg.BPM");
    fillAtAverageBpm(store, candidate.bpm, candidate.firstBeatSeconds);
    dispatcher_.commitUndoEntry();
    store.setModified(true);
    editor_.player().resetTickIndices(editor_.player().position());
}

void AutosyncCommands::straighten() {
    ItemStore& store = editor_.store();
    store.refresh();
    const auto plan = planStraighten(store);
    if (const auto* refusal = std::get_if<std::string_view>(&plan)) {
        editor_.messages().show(*refusal);
        return;
    }
    store.setLayer(Layer::Beat, true);
    dispatcher_.openUndoEntry(kStraightenLabel);
    applyMove(store, std::get<BeatMove>(plan));
    dispatcher_.commitUndoEntry();
    store.setModified(true);
}

} // namespace quillex
