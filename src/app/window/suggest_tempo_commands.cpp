#include "app/window/suggest_tempo_commands.h"

#include "app/window/dialogs/suggest_tempo_dialog.h"

namespace quillex {

SuggestTempoCommands::SuggestTempoCommands(QWidget* owner, Editor& editor,
                                           AutosyncCommands& autosync)
    : owner_(owner), editor_(editor), autosync_(autosync),
      runner_(
          [this](std::function<void()> task) {
              // Queued to this object: tasks still waiting when it is destroyed are dropped.
              QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
          },
          defaultAnalysisCacheDirectory()) {}

SuggestTempoCommands::~SuggestTempoCommands() {
    runner_.cancel();
}

void SuggestTempoCommands::registerCommand(Dispatcher& dispatcher) {
    dispatcher.registerHandler(CommandId::SuggestTempo, [this](int) { suggest(); });
}

void SuggestTempoCommands::suggest() {
    if (const auto candidate = chooseCandidate())
        autosync_.fillAtTempo(*candidate);
}

std::optional<TempoCandidate> SuggestTempoCommands::chooseCandidate() {
    auto music = editor_.player().decodedMusic();
    if (!editor_.player().loaded() || !music) {
        editor_.messages().show(kNoMusicMessage);
        return std::nullopt;
    }
    SuggestTempoDialog dialog(owner_);
    bool noRhythm = false;
    runner_.start(music, {.percent = [&dialog](int percent) { dialog.setPercent(percent); },
                          .finished =
                              [&](std::shared_ptr<const MusicAnalysis> analysis) {
                                  if (!analysis->rhythmFound()) {
                                      noRhythm = true;
                                      dialog.reject();
                                      return;
                                  }
                                  dialog.showCandidates(
                                      TempoSuggestionModel(analysis->candidates, music->frequency));
                              }});
    const bool applied = dialog.exec() == QDialog::Accepted;
    runner_.cancel();
    if (noRhythm) {
        editor_.messages().show(kNoRhythmMessage);
        return std::nullopt;
    }
    return applied ? dialog.chosen() : std::nullopt;
}

} // namespace quillex
