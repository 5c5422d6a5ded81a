#include "app/shell/keyboard_input.h"

namespace quillex {

KeyboardInput::KeyboardInput(Editor& editor, Shell& shell, EditCommands& edits)
    : editor_(editor), shell_(shell),
      recording_(editor, shell.dispatcher, edits, shell.inputFlags, shell.options.practiceMode),
      noteEntry_(editor, shell.dispatcher, shell.keysDown, shell.keyStates, shell.state),
      judge_([&player = editor.player()] { player.playEffect(EffectSound::Mine); }) {
    recording_.registerCommands();
}

decltype(InputTick::Player::playAlong) playAlongStep(MusicPlayer& player, PracticeJudge& judge) {
    return [&player, &judge](SamplePosition heard, SamplePosition judged,
                             const PracticeJudge::KeyInput* keys, bool keysLive) {
        const auto chart = player.timerChart();
        if (!chart)
            return;
        player.soundTicks(*chart, heard, judged);
        judge.tick(*chart, judged, keys ? &keys->down : nullptr, keysLive,
                   keys ? &keys->pressedAt : nullptr);
    };
}

KeyDownTable::Stamp channelStamp(const MusicPlayer& player) {
    return [&player] {
        return player.playing() ? player.channelPosition() : std::optional<SamplePosition>{};
    };
}

void KeyboardInput::start(std::function<void(CommandId)> postCommand,
                          std::function<void(std::function<void()>)> post) {
    MusicPlayer& player = editor_.player();
    shell_.keysDown.setStamp(channelStamp(player));
    InputTick::Player reads;
    reads.playing = [&player] { return player.playing(); };
    reads.position = [&player] { return player.position(); };
    reads.channelPosition = [&player] { return player.channelPosition(); };
    reads.playAlong = playAlongStep(player, judge_);
    shell_.startInputTimer(std::move(reads), recording_, std::move(postCommand), std::move(post));
}

void KeyboardInput::frame() {
    recording_.frame(shell_.options.keyboardLagMs);
    noteEntry_.frame();
}

} // namespace quillex
