// Tools ▸ Autosync and Straighten Beats. Autosync analyses the loaded music on a
// worker thread (the runner posts its progress, shown in the status layer, and its
// result back to the main thread) and then puts a marker on every beat found, from
// the selected marker (or the start) to the end, as one undo entry; locked markers stay. Straighten Beats puts the selected markers on
// the one constant tempo that fits them best. Both are refused while the notes are
// edited, as the other beat commands are.
#pragma once

#include <filesystem>
#include <memory>

#include "analysis/analysis_runner.h"
#include "app/commands/dispatcher.h"
#include "app/session/editor.h"

namespace quillex {

// The status text slot that shows how far the music's analysis has got.
inline constexpr int kAutosyncProgressSlot = 1;
inline constexpr std::string_view kNoMusicMessage = "No Waves Found.  You need to open a file.";
inline constexpr std::string_view kAutosyncGuard =
    "To autosync the beats, first press TAB (or go into Sync Mode) to disable the notes.";
inline constexpr std::string_view kStraightenGuard =
    "To straighten the beats, first press TAB (or go into Sync Mode) to disable the notes.";

class AutosyncCommands {
  public:
    // `post` runs a task on the main thread later; `cacheDirectory` keeps analyses
    // (empty: none kept).
    AutosyncCommands(Editor& editor, Dispatcher& dispatcher, AnalysisRunner::Post post,
                     std::filesystem::path cacheDirectory);

    void registerAll();
    // Autofill's "Single Average BPM" at a suggested tempo, as one undo step.
    void fillAtTempo(const TempoCandidate& candidate);
    // An Autosync analysis is running; its markers are placed when it ends.
    bool busy() const { return busy_; }

  private:
    void autosync();
    void showProgress(int percent);
    void placeBeats(const std::shared_ptr<const PcmData>& music, const MusicAnalysis& analysis);
    void straighten();

    Editor& editor_;
    Dispatcher& dispatcher_;
    bool busy_ = false;
    AnalysisRunner runner_; // last: its worker stops before the rest goes
};

} // namespace quillex
