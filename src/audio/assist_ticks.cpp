// The assist ticks: the main thread builds the play-along chart and points its cursors;
// the input timer thread sounds a tick when the music reaches a beat marker or a note
// and moves the current row along for the judging.
#include "audio/music_player.h"

namespace quillex {

int MusicPlayer::chartCursor(std::atomic<int> PlayAlongChart::*cursor) const {
    const auto chart = playAlongChart();
    return chart ? ((*chart).*cursor).load() : -1;
}

void MusicPlayer::rebuildChart() {
    auto chart = buildPlayAlongChart(store_, judgeWindowsAt(judgeSeconds_, sampleRate_));
    chartRevision_ = store_.revision();
    chartStale_ = false;
    std::lock_guard lock(chartMutex_);
    chart_ = std::move(chart);
}

void MusicPlayer::resetTickIndices(SamplePosition p) {
    if (chartStale_ || !chart_ || store_.revision() != chartRevision_)
        rebuildChart();
    chart_->reset(p);
}

void MusicPlayer::setJudgeWindows(const JudgeWindowSeconds& windows) {
    judgeSeconds_ = windows;
    chartStale_ = true;
}

std::shared_ptr<const PlayAlongChart> MusicPlayer::playAlongChart() const {
    std::lock_guard lock(chartMutex_);
    return chart_;
}

std::shared_ptr<const PlayAlongChart> MusicPlayer::timerChart() {
    std::unique_lock lock(chartMutex_, std::try_to_lock);
    if (lock.owns_lock() && timerChart_ != chart_)
        timerChart_ = chart_;
    return timerChart_;
}

namespace {

// Moves a cursor on by one when nothing reset it meanwhile; true when it moved.
bool advance(std::atomic<int>& cursor, int from) {
    return cursor.compare_exchange_strong(from, from + 1);
}

} // namespace

void MusicPlayer::soundTicks(const PlayAlongChart& chart, SamplePosition heard,
                             SamplePosition judged) {
    // One marker and one note per tick at most: markers closer than a timer period
    // sound on consecutive periods rather than together.
    const int beat = chart.nextBeat.load();
    if (beat >= 0 && beat < static_cast<int>(chart.beats.size()) &&
        heard >= chart.beats[static_cast<std::size_t>(beat)].sample &&
        advance(chart.nextBeat, beat) && !beatTickOff_.load() &&
        (!chart.beats[static_cast<std::size_t>(beat)].subBeat || tickSubBeats_.load()))
        output_->playEffect(EffectSound::BeatTick);

    const int note = chart.nextNote.load();
    if (note >= 0 && note < static_cast<int>(chart.noteTimes.size()) &&
        heard >= chart.noteTimes[static_cast<std::size_t>(note)] && advance(chart.nextNote, note) &&
        !noteTickOff_.load())
        output_->playEffect(EffectSound::NoteTick);

    const int row = chart.currentRow.load();
    if (row >= 0 && row + 1 < static_cast<int>(chart.rows.size()) &&
        judged >= chart.rows[static_cast<std::size_t>(row) + 1].windowStart)
        advance(chart.currentRow, row);
}

} // namespace quillex
