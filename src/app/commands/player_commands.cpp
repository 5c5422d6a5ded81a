#include "app/commands/player_commands.h"

#include "audio/player_settings.h"

namespace quillex {

void registerPlayerCommands(Dispatcher& d, MusicPlayer& player, const ItemStore& store,
                            StatusLayer& status) {
    // With a snap and at least two beats the steps follow the grid, otherwise rows.
    auto bySnap = [&player, &store] {
        return player.snap(false) != 0 && store.beats().size() >= 2;
    };
    auto step = [&player](TransportMove move) {
        return [&player, move](int) { player.transportStep(move); };
    };
    auto stepEither = [&player, bySnap](TransportMove grid, TransportMove plain) {
        return
            [&player, bySnap, grid, plain](int) { player.transportStep(bySnap() ? grid : plain); };
    };

    d.registerHandler(CommandId::PreviousRow,
                      stepEither(TransportMove::PreviousSnap, TransportMove::RowUp));
    d.registerHandler(CommandId::NextRow,
                      stepEither(TransportMove::NextSnap, TransportMove::RowDown));
    d.registerHandler(CommandId::PageUp,
                      stepEither(TransportMove::FourBeatsUp, TransportMove::PageUp));
    d.registerHandler(CommandId::PageDown,
                      stepEither(TransportMove::FourBeatsDown, TransportMove::PageDown));
    d.registerHandler(CommandId::ToStart, step(TransportMove::Start));
    d.registerHandler(CommandId::Rewind, step(TransportMove::Start));
    d.registerHandler(CommandId::ToEnd, step(TransportMove::End));
    d.registerHandler(CommandId::StopAndReturn, step(TransportMove::Stop));
    d.registerHandler(CommandId::NextTimeFormat, [&player](int) { player.cycleTimeFormat(); });
    d.registerHandler(CommandId::PreviousSnap, [&player](int) { player.previousSnap(); });
    d.registerHandler(CommandId::NextSnap, [&player](int) { player.nextSnap(); });
    for (int i = 0; i < static_cast<int>(kSnapSettings.size()); ++i)
        d.registerHandler(kSnapSettings[static_cast<std::size_t>(i)].command,
                          [&player, i](int) { player.setSnap(i, true); });

    d.registerHandler(CommandId::TimeSeconds,
                      [&player](int) { player.setTimeFormat(kTimeSeconds); });
    d.registerHandler(CommandId::TimeBeats, [&player](int) { player.setTimeFormat(kTimeBeats); });
    d.registerHandler(CommandId::TimeSamples,
                      [&player](int) { player.setTimeFormat(kTimeSamples); });

    // Each volume and speed command shows its panel, whether or not the value moved.
    auto lighting = [&player, &status](StatusPanel panel, bool (MusicPlayer::*change)()) {
        return [&player, &status, panel, change](int) {
            (player.*change)();
            status.light(panel);
        };
    };
    d.registerHandler(CommandId::VolumeNormal,
                      lighting(StatusPanel::Volume, &MusicPlayer::volumeNormal));
    d.registerHandler(CommandId::VolumeDown,
                      lighting(StatusPanel::Volume, &MusicPlayer::volumeSofter));
    d.registerHandler(CommandId::VolumeUp,
                      lighting(StatusPanel::Volume, &MusicPlayer::volumeLouder));
    d.registerHandler(CommandId::Mute, lighting(StatusPanel::Volume, &MusicPlayer::volumeMute));
    d.registerHandler(CommandId::SpeedNormal,
                      lighting(StatusPanel::Speed, &MusicPlayer::speedNormal));
    d.registerHandler(CommandId::SpeedSlower,
                      lighting(StatusPanel::Speed, &MusicPlayer::speedSlower));
    d.registerHandler(CommandId::SpeedFaster,
                      lighting(StatusPanel::Speed, &MusicPlayer::speedFaster));
    d.registerHandler(CommandId::BeatTick,
                      [&player](int) { player.setBeatTickOff(!player.beatTickOff()); });
    d.registerHandler(CommandId::NoteTick,
                      [&player](int) { player.setNoteTickOff(!player.noteTickOff()); });
}

} // namespace quillex
