#include "app/session/editor.h"

#include "audio/silent_output.h"

namespace quillex {

namespace {

AudioBackend silentAudio() {
    AudioBackend audio;
    audio.output = std::make_unique<SilentOutput>();
    return audio;
}

} // namespace

Editor::Editor(Messages& messages, const MusicInfo& music)
    : messages_(messages), shell_(noShell_),
      player_(silentAudio(), store_, waveView_, shell_, messages_), music_(music),
      store_(music_, busy_) {
    player_.setTitleProvider([this] { return song_.properties().title; });
}

Editor::Editor(Messages& messages, ShellHooks& shell, AudioBackend audio)
    : messages_(messages), shell_(shell),
      player_(std::move(audio), store_, waveView_, shell_, messages_), music_(player_),
      store_(music_, busy_) {
    player_.setTitleProvider([this] { return song_.properties().title; });
}

EditState Editor::editState() const {
    return EditState{store_.snapshot(), player_.position(), store_.currentLevel(),
                     store_.layerOn(Layer::Arrow)};
}

} // namespace quillex
