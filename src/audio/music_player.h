// The program's one audio object: the loaded music, the three effect sounds and the
// editor's play position. Loading decodes the file once; the waveform is built from
// the decoded samples and the output plays those same samples.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "audio/audio_backend.h"
#include "audio/play_along_chart.h"
#include "audio/player_settings.h"
#include "audio/wave_view.h"
#include "items/item_store.h"
#include "model/music_info.h"
#include "ports/messages.h"
#include "ports/shell_hooks.h"

namespace quillex {

// The stepping moves of the transport.
enum class TransportMove {
    RowUp,
    RowDown,
    PageUp,
    PageDown,
    Start,
    End,
    NextSnap,
    PreviousSnap,
    FourBeatsUp,
    FourBeatsDown,
    Stop,
};

class MusicPlayer : public MusicInfo {
  public:
    // Sets up the output and loads the effect sounds from sounds/ in the working
    // folder (a missing one stays silent). When the backend has no device it says so
    // once, on standard error and in status text slot 0.
    MusicPlayer(AudioBackend backend, ItemStore& store, WaveView& wave, ShellHooks& shell,
                Messages& messages);
    ~MusicPlayer() override;
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // MusicInfo: the loaded music's rate (the last one loaded, 44100 at first) and its
    // length in frames (0 when nothing is loaded).
    int sampleRate() const override { return sampleRate_; }
    SamplePosition musicLength() const override;

    // Opens, checks and decodes a music file, builds its waveform and makes it ready to
    // play, paused at 0. Whatever was loaded before is dropped first, so a failed load
    // leaves an empty editor. `titleFromPath` puts the path in the window title;
    // otherwise the song's title, or `titleFallback` when it has none.
    bool loadMusic(const std::string& path, const std::string& titleFallback, bool titleFromPath);
    // Silence of `frames` frames at `rate` Hz in place of the music file `path`, which
    // did not load: positions keep a stated rate and the song keeps naming its file.
    bool loadSilence(const std::string& path, int rate, SamplePosition frames);
    // Drops the music and empties the song. Always true.
    bool unloadMusic();
    // Returns the song's title for the window title (empty when it has none).
    void setTitleProvider(std::function<std::string()> provider) {
        titleProvider_ = std::move(provider);
    }

    bool loaded() const { return loaded_.load(std::memory_order_acquire); }
    // True while the loaded sound is the silence of loadSilence, not a music file.
    bool silent() const { return silent_; }
    bool playing() const { return playing_.load(std::memory_order_acquire); }
    const std::string& musicPath() const { return musicPath_; }
    SamplePosition position() const { return position_.load(std::memory_order_acquire); }
    int fileFrequency() const { return fileFrequency_; }
    int fileBits() const { return fileBits_; }
    int fileChannels() const { return fileChannels_; }
    // The decoded music (for the wave filter); null when nothing is loaded.
    std::shared_ptr<const PcmData> decodedMusic() const { return music_; }
    // (Re)loads beattick.wav, notetick.wav and minesound.wav from `folder`; a missing
    // or unreadable one stays silent. The constructor loads them from "sounds" in the
    // working folder.
    void loadEffectSounds(const std::string& folder);
    bool playEffect(EffectSound sound) { return output_->playEffect(sound); }
    // Whether a device plays the sound (false: the silent clock).
    bool audible() const { return output_->audible(); }

    int previewStart() const { return previewStart_; }
    int previewEnd() const { return previewEnd_; }
    void setPreviewStart(int sample) { previewStart_ = sample; }
    void setPreviewEnd(int sample) { previewEnd_ = sample; }

    // --- Playback transport ---
    // The timeline the position moves on: the music, and before and after it as far as
    // the beat markers reach (a chart may start before its music and end after it;
    // there the music is silent).
    SamplePosition timelineStart() const;
    SamplePosition timelineEnd() const; // one past the last position
    bool play();
    bool pause();
    // Moves the position, clamped to the timeline.
    bool seek(SamplePosition target);
    // Once per frame: takes the output's position while playing and pauses at the end.
    bool pollPosition();
    // The playing channel's position right now, for the input timer thread (the
    // output guards its own state); nothing while no music plays.
    std::optional<SamplePosition> channelPosition() const;
    bool setVolume(int percent);
    bool setSpeed(int percent);
    int volumePercent() const { return volumePercent_; }
    int speedPercent() const { return speedPercent_; }
    // The volume and speed commands: Normal, Mute, Louder, Softer / Normal, Slower, Faster.
    bool volumeNormal() { return setVolume(100); }
    bool volumeMute() { return setVolume(0); }
    bool volumeLouder();
    bool volumeSofter();
    bool speedNormal() { return setSpeed(100); }
    bool speedSlower() { return setSpeed(speedPercent_ - 10); }
    bool speedFaster() { return setSpeed(speedPercent_ + 10); }

    // byIndex false: `value` is the divisions per beat; true: the snap menu index.
    bool setSnap(int value, bool byIndex);
    int snap(bool byIndex) const { return byIndex ? snapIndex_ : snapDivisions_; }
    // The snap-cycling keys: previous wraps 0 to 10, next wraps 10 to 0.
    bool previousSnap() { return setSnap(snapIndex_ == 0 ? 10 : snapIndex_ - 1, true); }
    bool nextSnap() { return setSnap(snapIndex_ == 10 ? 0 : snapIndex_ + 1, true); }

    bool transportStep(TransportMove move);
    // Snaps a row to the grid and seeks there. Refused (false) without a snap.
    bool snapRow(RowPosition row);
    // The row a note entered at `sample` lands on (keyboard entry, recorded arrows):
    // the nearest grid row, half up, carried into the next beat, counting no snap as
    // 48ths, and kept between beat 1 and the last marker.
    RowPosition snappedRowAt(SamplePosition sample) const;
    // Seeks to a row, unless it lies before beat 1 or past the marked range.
    bool seekToRow(RowPosition row);
    double currentBpm() const;
    // The position in seconds, "%.3f".
    std::string secondsText() const;

    int timeFormat() const { return timeFormat_; }
    void setTimeFormat(int format);
    // The T key: Seconds, Beats, Samples, Seconds...
    void cycleTimeFormat();

    // --- Assist tick settings and indices ---
    bool beatTickOff() const { return beatTickOff_.load(); }
    bool noteTickOff() const { return noteTickOff_.load(); }
    void setBeatTickOff(bool off);
    void setNoteTickOff(bool off);
    bool tickSubBeats() const { return tickSubBeats_; }
    void setTickSubBeats(bool on) { tickSubBeats_ = on; }
    // Slowed playback keeps the music's pitch ("Keep pitch when slowed").
    void setKeepPitch(bool on) { output_->setKeepPitch(on); }
    int beatTickVolume() const { return beatTickVolume_; }
    int noteTickVolume() const { return noteTickVolume_; }
    void setTickVolumes(int beatTick, int noteTick);
    // The tick cursors of the current play-along chart (-1 or past the end: none).
    int nextBeatTick() const { return chartCursor(&PlayAlongChart::nextBeat); }
    // Points the tick cursors at the first beat marker and note at or after `p` and at
    // the row whose window holds `p`, rebuilding the chart first when the song changed.
    void resetTickIndices(SamplePosition p);
    // The judging windows; the chart is rebuilt with them at the next reset.
    void setJudgeWindows(const JudgeWindowSeconds& windows);
    // The chart as the main thread last built it.
    std::shared_ptr<const PlayAlongChart> playAlongChart() const;
    // --- Timer thread ---
    // The chart for this tick: the newest one, or the one the last tick used when the
    // main thread is handing over a new one right now (never waits for it).
    std::shared_ptr<const PlayAlongChart> timerChart();
    // Sounds at most one beat tick and one note tick that `heard` has reached, and
    // makes current the next row once `judged` reaches its window.
    void soundTicks(const PlayAlongChart& chart, SamplePosition heard, SamplePosition judged);
    int playStart() const { return playStart_; }

  private:
    bool decodeInto(const std::string& path, MusicFormat& format);
    void setLayers(bool on, bool withArrow);
    // The rest of a load once music_ holds the decoded music: the path, the rate, the
    // title, the position bar, the layers and the output.
    bool startLoadedMusic(const std::string& path, const std::string& titleFallback,
                          bool titleFromPath);
    bool report(const char* text);
    void markSnap();
    int chartCursor(std::atomic<int> PlayAlongChart::*cursor) const;
    void rebuildChart();
    // Has the output play the music within silence over the whole timeline (the music
    // alone when the timeline is the music's). False when the output refuses it.
    bool fitOutputToTimeline();

    ItemStore& store_;
    WaveView& wave_;
    ShellHooks& shell_;
    Messages& messages_;
    std::function<std::unique_ptr<MusicDecoder>()> makeDecoder_;
    std::unique_ptr<AudioOutput> output_;
    std::function<std::string()> titleProvider_;

    int timeFormat_ = kTimeSeconds;
    int snapDivisions_ = 0;
    int snapIndex_ = 0;
    std::shared_ptr<const PcmData> music_;
    // The timeline span the output's sound covers: its frame 0 is position
    // outputStart_ (read by the timer thread too).
    std::atomic<SamplePosition> outputStart_{0};
    std::int64_t outputEnd_ = 0;
    int fileFrequency_ = 0;
    int fileBits_ = 0;
    int fileChannels_ = 0;
    // The play-along chart: replaced by the main thread under the mutex, which the
    // timer thread only tries; timerChart_ is the timer thread's own copy.
    mutable std::mutex chartMutex_;
    std::shared_ptr<const PlayAlongChart> chart_;
    std::shared_ptr<const PlayAlongChart> timerChart_;
    std::uint64_t chartRevision_ = 0;
    bool chartStale_ = true;
    JudgeWindowSeconds judgeSeconds_;
    std::atomic<bool> beatTickOff_{true};
    std::atomic<bool> noteTickOff_{true};
    std::atomic<bool> tickSubBeats_{true};
    std::atomic<SamplePosition> position_{0};
    int sampleRate_ = 44100;
    std::string musicPath_;
    std::atomic<bool> playing_{false};
    std::atomic<bool> loaded_{false};
    bool silent_ = false;
    SamplePosition playStart_ = 0;
    int speedPercent_ = 100;
    int previewStart_ = 0;
    int previewEnd_ = 0;
    int volumePercent_ = 100;
    int beatTickVolume_ = 100;
    int noteTickVolume_ = 100;
};

} // namespace quillex
