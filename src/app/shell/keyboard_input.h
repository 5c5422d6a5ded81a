// The keyboard beyond the menu shortcuts, put together: the input timer's tick (B
// taps, recorded arrows, arrow navigation, assist ticks and practice judging), the main
// thread's side of what it finds (Recording) and the column keys' note entry, run once
// a frame.
#pragma once

#include <functional>

#include "app/input/keyboard_note_entry.h"
#include "app/input/recording.h"
#include "app/shell/shell.h"

namespace quillex {

// The timer thread's play-along step: the player's ticks, then the judge, over the
// chart the player hands to the timer thread.
decltype(InputTick::Player::playAlong) playAlongStep(MusicPlayer& player, PracticeJudge& judge);
// What a key press is stamped with when it arrives: the playing channel's position.
KeyDownTable::Stamp channelStamp(const MusicPlayer& player);

class KeyboardInput {
  public:
    KeyboardInput(Editor& editor, Shell& shell, EditCommands& edits);

    // Starts the input timer; `post` runs a task on the main thread.
    void start(std::function<void(CommandId)> postCommand,
               std::function<void(std::function<void()>)> post);
    // Once a frame on the main thread.
    void frame();

    Recording& recording() { return recording_; }
    // What the practice judging shows (written by the timer thread).
    JudgementDisplay& judgementDisplay() { return judge_.display(); }

  private:
    Editor& editor_;
    Shell& shell_;
    Recording recording_;
    KeyboardNoteEntry noteEntry_;
    PracticeJudge judge_; // used by the timer thread only
};

} // namespace quillex
