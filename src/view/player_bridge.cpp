// The view's reading of the music player, and the position-bar seek.
#include "view/player_bridge.h"

#include <optional>

#include "audio/music_player.h"
#include "view/editor_view.h"

namespace quillex {

TransportState transportStateOf(const MusicPlayer& player) {
    TransportState t;
    t.position = player.position();
    t.loaded = player.loaded();
    t.playing = player.playing();
    t.sampleRate = player.sampleRate();
    t.length = player.timelineEnd();
    t.snapIndex = player.snap(true);
    t.timeFormat = player.timeFormat();
    t.beatTickOn = !player.beatTickOff();
    t.noteTickOn = !player.noteTickOff();
    t.volumePercent = player.volumePercent();
    t.speedPercent = player.speedPercent();
    t.fileFrequency = player.fileFrequency();
    t.fileBits = player.fileBits();
    t.fileChannels = player.fileChannels();
    return t;
}

namespace {

// A jump along the bar sounds no assist tick.
bool seekWithTicksMuted(MusicPlayer& player, std::optional<SamplePosition> target) {
    if (!target)
        return false;
    const bool beatOff = player.beatTickOff();
    const bool noteOff = player.noteTickOff();
    player.setBeatTickOff(true);
    player.setNoteTickOff(true);
    player.seek(*target);
    player.setBeatTickOff(beatOff);
    player.setNoteTickOff(noteOff);
    return true;
}

} // namespace

bool clickPositionBar(EditorView& view, MusicPlayer& player, int x, int y) {
    return seekWithTicksMuted(player, view.clickPositionBar(x, y, player.timelineEnd()));
}

bool dragPositionBar(EditorView& view, MusicPlayer& player, int y) {
    return seekWithTicksMuted(
        player, view.positionBar().sampleAtRow(y, view.windowHeight(), player.timelineEnd()));
}

} // namespace quillex
