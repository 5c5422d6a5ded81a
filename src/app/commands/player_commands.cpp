#include "app/commands/player_commands.h"

#include "app/commands/command_table.h"

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

    d.registerHandler(toInt(CommandId::PreviousRow),
                      stepEither(TransportMove::PreviousSnap, TransportMove::RowUp));
    d.registerHandler(toInt(CommandId::NextRow),
                      stepEither(TransportMove::NextSnap, TransportMove::RowDown));
    d.registerHandler(toInt(CommandId::PageUp),
                      stepEither(TransportMove::FourBeatsUp, TransportMove::PageUp));
    d.registerHandler(toInt(CommandId::PageDown),
                      stepEither(TransportMove::FourBeatsDown, TransportMove::PageDown));
    d.registerHandler(toInt(CommandId::ToStart), step(TransportMove::Start));
    d.registerHandler(toInt(CommandId::Rewind), step(TransportMove::Start));
    d.registerHandler(toInt(CommandId::ToEnd), step(TransportMove::End));
    d.registerHandler(toInt(CommandId::StopAndReturn), step(TransportMove::Stop));
    d.registerHandler(toInt(CommandId::NextTimeFormat),
                      [&player](int) { player.cycleTimeFormat(); });
    d.registerHandler(toInt(CommandId::PreviousSnap), [&player](int) { player.previousSnap(); });
    d.registerHandler(toInt(CommandId::NextSnap), [&player](int) { player.nextSnap(); });
    for (int i = 0; i < kSnapCount; ++i)
        d.registerHandler(snapCommandId(i), [&player, i](int) { player.setSnap(i, true); });

    d.registerHandler(toInt(CommandId::TimeSeconds),
                      [&player](int) { player.setTimeFormat(kTimeSeconds); });
    d.registerHandler(toInt(CommandId::TimeBeats),
                      [&player](int) { player.setTimeFormat(kTimeBeats); });
    d.registerHandler(toInt(CommandId::TimeSamples),
                      [&player](int) { player.setTimeFormat(kTimeSamples); });

    // Each volume and speed command shows its panel, whether or not the value moved.
    auto lighting = [&player, &status](StatusPanel panel, bool (MusicPlayer::*change)()) {
        return [&player, &status, panel, change](int) {
            (player.*change)();
            status.light(panel);
        };
    };
    d.registerHandler(toInt(CommandId::VolumeNormal),
                      lighting(StatusPanel::Volume, &MusicPlayer::volumeNormal));
    d.registerHandler(toInt(CommandId::VolumeDown),
                      lighting(StatusPanel::Volume, &MusicPlayer::volumeSofter));
    d.registerHandler(toInt(CommandId::VolumeUp),
                      lighting(StatusPanel::Volume, &MusicPlayer::volumeLouder));
    d.registerHandler(toInt(CommandId::Mute),
                      lighting(StatusPanel::Volume, &MusicPlayer::volumeMute));
    d.registerHandler(toInt(CommandId::SpeedNormal),
                      lighting(StatusPanel::Speed, &MusicPlayer::speedNormal));
    d.registerHandler(toInt(CommandId::SpeedSlower),
                      lighting(StatusPanel::Speed, &MusicPlayer::speedSlower));
    d.registerHandler(toInt(CommandId::SpeedFaster),
                      lighting(StatusPanel::Speed, &MusicPlayer::speedFaster));
    d.registerHandler(toInt(CommandId::BeatTick),
                      [&player](int) { player.setBeatTickOff(!player.beatTickOff()); });
    d.registerHandler(toInt(CommandId::NoteTick),
                      [&player](int) { player.setNoteTickOff(!player.noteTickOff()); });
}

} // namespace quillex
