// The sync commands, where the tempo is made to follow the recording: inserting beats,
// sub-beats and pauses, beat colours and locks, the sub-beat fraction, nudge, grow and
// smooth, and autofill. The work is done by the tools (src/tools); these handlers add
// the undo entries, the refreshes and the messages. A run of nudge or grow steps (the
// Shift or Ctrl wheel) is one undo entry, closed by the first frame with neither key
// held.
#pragma once

#include <optional>

#include "app/commands/dispatcher.h"
#include "app/commands/edit_commands.h"
#include "app/keys/key_tables.h"
#include "app/session/editor.h"
#include "tools/sync_dialog_models.h"

namespace quillex {

// The three dialogs; the Qt shell shows them, tests fill them in. Each is modal and
// calls its model's accept at OK, showing the refusal and staying open until the model
// accepts or the user cancels. True when accepted.
class SyncDialogs {
  public:
    virtual ~SyncDialogs() = default;
    virtual bool editSubBeatFraction(SubBeatFractionModel& model) = 0;
    virtual bool growSmooth(GrowSmoothModel& model) = 0;
    virtual bool autofill(AutofillModel& model) = 0;
};

class SyncCommands {
  public:
    // `keys` tells whether Shift and Ctrl are held.
    SyncCommands(Editor& editor, Dispatcher& dispatcher, SyncDialogs& dialogs,
                 const KeyDownTable& keys);

    // Registers the handlers; Undo, Redo and Clear History of `edit` end an open group.
    void registerAll(EditCommands& edit);
    // Called every frame: commits an open nudge/grow group once neither Shift nor Ctrl
    // is held.
    void frameUpdate();
    bool groupOpen() const { return groupOpen_; }

  private:
    void registerInsertion();
    void registerProperties();
    void registerMoves();
    void registerAutofill();

    bool recording() const { return dispatcher_.recordingEntryOpen(); }
    void open(std::string_view label) { dispatcher_.openUndoEntry(label); }
    void commit() { dispatcher_.commitUndoEntry(); }
    // The first step of a nudge or grow run opens its entry.
    void openGroup(std::string_view label);
    // Taps during playback leave the beat list unsorted until the next refresh.
    void sortBeats();
    void refreshUnlessPlaying();
    void resetTicks();

    void insertBeat();
    void insertBeatBeyond(BeatEnd end);
    void insertSubBeat();
    void insertPause();
    void editFraction();
    void nudge(int variant);
    void grow(int kind);
    // Grow/Smooth Region: the dialog, then a grow to its tempo or a smooth.
    void growOrSmoothRegion();
    // The grow region at the play position (after a refresh), or nothing once the
    // reason there is none has been shown.
    std::optional<GrowRegion> growRegionHere();
    void autofill();

    Editor& editor_;
    Dispatcher& dispatcher_;
    SyncDialogs& dialogs_;
    const KeyDownTable& keys_;
    bool groupOpen_ = false;
    GrowSmoothMemory growMemory_;
    double growBpm_ = 0;
    AutofillMemory autofillMemory_;
};

} // namespace quillex
