// Recording on the main thread: beats tapped with B while the music plays, the Record
// command (arrow keys write notes while the music plays), and the one routine that
// ends a recording whenever playback stops, whatever stopped it (Play/Pause, S, Esc,
// the end of the music). A whole recording is one undo entry, "Record".
#pragma once

#include <string_view>

#include "app/commands/dispatcher.h"
#include "app/commands/edit_commands.h"
#include "app/session/editor.h"
#include "app/input/input_tick.h"

namespace quillex {

inline constexpr std::string_view kRecordNeedsBeatsMessage =
    "You need to put in some beats before you start recording arrows.\n"
    "Go to Sync Mode (Tools->Level Manager and launch sync mode) and put in some beats using "
    "the B key.";

class Recording : public TimerEvents {
  public:
    Recording(Editor& editor, Dispatcher& dispatcher, EditCommands& edits, InputFlags& flags,
              bool practiceMode);

    // Registers Record and Practice Mode and takes the dispatcher's end-of-recording hook.
    void registerCommands();
    // Record: starts or ends writing arrows.
    void toggle();
    bool recordingArrows() const { return flags_.recordingArrows.load(); }
    // Once a frame: ends a recording when playback has stopped since the last frame,
    // and keeps the keyboard lag in samples for the music's rate.
    void frame(double keyboardLagMs);
    // Ends whatever recording runs: arrows off with their forced settings put back,
    // playback stopped, the taps sorted in by a refresh, the "Record" entry committed.
    void stop();
    // The music is being unloaded: arrows off and their forced settings put back, with
    // nothing refreshed or committed (the song and its history go with the music).
    void abandon();

    // TimerEvents: what the input timer found, run on the main thread.
    void beatTapped(SamplePosition sample) override;
    void beatKeyWhileStopped() override;
    void arrowRecorded(int column, SamplePosition position) override;

  private:
    void openRecordEntry();
    void endArrows();

    Editor& editor_;
    Dispatcher& dispatcher_;
    EditCommands& edits_;
    InputFlags& flags_;
    bool wasPlaying_ = false;
    // Saved when arrow recording starts, put back when it ends.
    bool savedBeatTickOff_ = true;
    bool savedPractice_ = false;
    bool snapForced_ = false;
};

} // namespace quillex
