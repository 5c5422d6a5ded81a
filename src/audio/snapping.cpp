// The music player's grid moves: the snap setting, the stepping moves, snapping rows
// to the grid and the time formats of the position display.
#include <cmath>

#include "audio/music_player.h"
#include "base/number_format.h"
#include "items/warp_rows.h"

namespace quillex {

namespace {

// The grid row `row` snaps to with `divisions` steps per beat (divisions != 0): beat 1
// for rows before it, the last marker's row for rows at or past it, else the nearest
// step, which may carry into the next beat.
RowPosition snapTarget(RowPosition row, int divisions, const ItemList& beats) {
    const int step = kRowsPerBeat / divisions;
    const auto k = static_cast<std::int64_t>(
        std::floor(static_cast<double>(row.fraction) * divisions / kRowsPerBeat + 0.5));
    if (row.beat < 1)
        return {1, 0};
    const std::int32_t lastRow = beats.empty() ? 0 : beats.items().back().row();
    if (row.row() >= lastRow)
        return RowPosition::fromRow(lastRow);
    return RowPosition::fromRow(std::int64_t{row.beat} * kRowsPerBeat + k * step);
}

} // namespace

bool MusicPlayer::setSnap(int value, bool byIndex) {
    if (byIndex) {
        if (value < 0 || value >= static_cast<int>(kSnapSettings.size()))
            return false;
        snapIndex_ = value;
        snapDivisions_ = kSnapSettings[static_cast<std::size_t>(value)].divisions;
    } else {
        // More than 48 steps per beat (or fewer than none) has no grid row to land on.
        if (value < 0 || value > kRowsPerBeat)
            return false;
        snapDivisions_ = value;
    }
    if (snapDivisions_ != 0)
        snapRow(store_.timing().sampleToRow(position()));
    else
        seek(position());
    markSnap();
    return true;
}

void MusicPlayer::markSnap() {
    const int index = snapIndexOfDivisions(snapDivisions_);
    for (std::size_t i = 0; i < kSnapSettings.size(); ++i)
        shell_.setMenuCheck(kSnapSettings[i].command, static_cast<int>(i) == index);
    if (index >= 0)
        snapIndex_ = index;
}

bool MusicPlayer::snapRow(RowPosition row) {
    if (snapDivisions_ == 0)
        return false;
    return seekToRow(snapTarget(row, snapDivisions_, store_.beats()));
}

RowPosition MusicPlayer::snappedRowAt(SamplePosition sample) const {
    return snapTarget(store_.timing().sampleToRow(sample),
                      snapDivisions_ == 0 ? kRowsPerBeat : snapDivisions_, store_.beats());
}

bool MusicPlayer::seekToRow(RowPosition row) {
    const std::int64_t total = row.row();
    // The last marker's row, or past it by the sub-beats' count; warps number the
    // markers past the rows they skip.
    const ItemList& beats = store_.beats();
    const auto limit = std::max(static_cast<std::int64_t>(beats.size()) * kRowsPerBeat,
                                std::int64_t{beats.empty() ? 0 : beats.items().back().row()});
    if (total <= kRowsPerBeat - 1 || total > limit)
        return true;
    return seek(store_.timing().rowToSample(row));
}

bool MusicPlayer::transportStep(TransportMove move) {
    const SamplePosition p = position();
    const SamplePosition rowStep = wave_.samplesPerRow();
    const SamplePosition page = 100 * rowStep;
    auto snapBy = [&](std::int64_t rows) {
        if (snapDivisions_ == 0)
            return false;
        const TimingMap timing = store_.timing();
        RowPosition target = timing.sampleToRow(p).plusRows(rows);
        // The rows inside a warp sound where it starts, after the rows before it: a step
        // back into one goes on past its start, or it would stay where it is.
        if (const EditItem* warp = warpHolding(timing.warps(), target.row()); warp && rows < 0)
            target = warp->start().plusRows(rows);
        return snapRow(target);
    };
    switch (move) {
    case TransportMove::RowUp:
        return seek(p - rowStep);
    case TransportMove::RowDown:
        return seek(p + rowStep);
    case TransportMove::PageUp:
        return seek(p - page); // clamped to the timeline
    case TransportMove::PageDown:
        return seek(p + page);
    case TransportMove::Start:
        return seek(timelineStart());
    case TransportMove::End:
        return seek(timelineEnd() - 1);
    case TransportMove::NextSnap:
        return snapDivisions_ != 0 && snapBy(kRowsPerBeat / snapDivisions_);
    case TransportMove::PreviousSnap:
        return snapDivisions_ != 0 && snapBy(-(kRowsPerBeat / snapDivisions_));
    case TransportMove::FourBeatsUp:
        return snapBy(-4 * kRowsPerBeat);
    case TransportMove::FourBeatsDown:
        return snapBy(4 * kRowsPerBeat);
    case TransportMove::Stop: {
        const bool paused = pause();
        return seek(playStart_) && paused;
    }
    }
    return false;
}

double MusicPlayer::currentBpm() const {
    return store_.timing().bpmAt(position());
}

std::string MusicPlayer::secondsText() const {
    return formatFixed3(sampleRate_ > 0 ? static_cast<double>(position()) / sampleRate_ : 0.0);
}

void MusicPlayer::setTimeFormat(int format) {
    timeFormat_ = format;
    if (format != kTimeSamples && format != kTimeSeconds && format != kTimeBeats)
        return;
    shell_.setMenuCheck(CommandId::TimeSamples, format == kTimeSamples);
    shell_.setMenuCheck(CommandId::TimeSeconds, format == kTimeSeconds);
    shell_.setMenuCheck(CommandId::TimeBeats, format == kTimeBeats);
}

void MusicPlayer::cycleTimeFormat() {
    switch (timeFormat_) {
    case kTimeSeconds:
        setTimeFormat(kTimeBeats);
        break;
    case kTimeBeats:
        setTimeFormat(kTimeSamples);
        break;
    default:
        setTimeFormat(kTimeSeconds);
        break;
    }
}

} // namespace quillex
