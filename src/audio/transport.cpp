// The music player's transport: play, pause, seek, the per-frame position update,
// volume and speed. Every failed output call shows one "Tip" and leaves the player's
// fields as they were.
#include <algorithm>

#include "audio/music_player.h"
#include "audio/timeline_sound.h"

namespace quillex {

bool MusicPlayer::report(const char* text) {
    messages_.show(text);
    return false;
}

SamplePosition MusicPlayer::timelineStart() const {
    const ItemList& beats = store_.beats();
    return loaded() && !beats.empty() ? std::min(beats.front().sample, 0) : 0;
}

SamplePosition MusicPlayer::timelineEnd() const {
    const ItemList& beats = store_.beats();
    const SamplePosition length = musicLength();
    if (!loaded() || beats.empty() || beats.back().sample < length)
        return length;
    return beats.back().sample == INT32_MAX ? INT32_MAX : beats.back().sample + 1;
}

bool MusicPlayer::fitOutputToTimeline() {
    const SamplePosition start = timelineStart();
    const SamplePosition end = timelineEnd();
    if (start == outputStart_ && end == outputEnd_)
        return true;
    const bool musicAlone = start == 0 && end == music_->frames();
    const auto frames = static_cast<std::int64_t>(end) - start;
    if (!output_->openMusic(musicAlone ? music_
                                       : musicInSilence(*music_, -std::int64_t{start}, frames)))
        return false;
    outputStart_ = start;
    outputEnd_ = end;
    return true;
}

bool MusicPlayer::play() {
    const SamplePosition p = position();
    resetTickIndices(p);
    if (!loaded() || p >= timelineEnd() - 1)
        return true;
    if (!fitOutputToTimeline())
        return report("Non-fatal Error in Play - the music with silence around it.");
    if (!output_->setPosition(p - outputStart_))
        return report("Non-fatal Error in Play - setposition.");
    setVolume(volumePercent_);
    if (!output_->setPaused(false))
        return report("Non-fatal Error in Play - Unpause.");
    setSpeed(speedPercent_);
    playing_ = true;
    playStart_ = p;
    return true;
}

std::optional<SamplePosition> MusicPlayer::channelPosition() const {
    SamplePosition frame = 0;
    if (!playing() || !output_->getPosition(frame))
        return std::nullopt;
    return frame + outputStart_;
}

bool MusicPlayer::pause() {
    if (!loaded())
        return true;
    // Back to the position last shown, so a pause never leaves the music ahead of the
    // display.
    if (!output_->setPosition(position() - outputStart_))
        return report("Non-fatal Error in Pause - set position.");
    if (!output_->setPaused(true))
        return report("Non-fatal Error in Pause - Set Paused.");
    playing_ = false;
    return true;
}

bool MusicPlayer::seek(SamplePosition target) {
    // Clamped to the timeline; with nothing loaded the only position is 0.
    target = std::max(std::min(target, timelineEnd() - 1), timelineStart());
    if (playing() && !output_->setPosition(target - outputStart_))
        return report("Non-fatal Error in Seek - Set Position.");
    position_ = target;
    resetTickIndices(target);
    return true;
}

bool MusicPlayer::pollPosition() {
    if (playing() && loaded()) {
        SamplePosition p = 0;
        if (!output_->getPosition(p))
            return report("Non-fatal Error in Getposition SlowUpdate.");
        p += outputStart_;
        position_ = p;
        // An edit (or new judging windows) while the music plays: the ticks and the
        // judging follow at once.
        if (chartStale_ || store_.revision() != chartRevision_)
            resetTickIndices(p);
    }
    const SamplePosition last = timelineEnd() - 1;
    if (position() <= last)
        return true;
    // Played past the end: stop on the last sample; a running recording ends with it.
    output_->setPaused(true);
    seek(last);
    playing_ = false;
    if (shell_.recordingOn())
        shell_.postCommand(CommandId::Record);
    return true;
}

bool MusicPlayer::setVolume(int percent) {
    if (loaded() && !output_->setVolume(static_cast<float>(percent) * 0.01f))
        return report("Non-fatal Error in Set Music Volume.");
    volumePercent_ = percent;
    shell_.setMenuCheck(CommandId::Mute, percent == 0);
    shell_.setMenuCheck(CommandId::VolumeNormal, percent == 100);
    return true;
}

bool MusicPlayer::volumeLouder() {
    return setVolume(std::min(volumePercent_ + 10, 100));
}

bool MusicPlayer::volumeSofter() {
    return setVolume(std::max(volumePercent_ - 10, 0));
}

bool MusicPlayer::setSpeed(int percent) {
    if (percent < 10 || percent > 200)
        return true;
    shell_.setMenuCheck(CommandId::SpeedNormal, percent == 100);
    speedPercent_ = percent;
    if (loaded() && !output_->setFrequency(static_cast<float>(percent) * 0.01f *
                                           static_cast<float>(sampleRate_)))
        return report("Non-fatal Error in SetPlaybackSpeed.");
    return true;
}

} // namespace quillex
