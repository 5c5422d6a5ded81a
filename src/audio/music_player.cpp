#include "audio/music_player.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <new>

#include "audio/music_decoding.h"

namespace quillex {

namespace {

struct EffectFile {
    EffectSound sound;
    const char* name;
};
constexpr EffectFile kEffectFiles[] = {
    {EffectSound::BeatTick, "beattick.wav"},
    {EffectSound::NoteTick, "notetick.wav"},
    {EffectSound::Mine, "minesound.wav"},
};

bool readable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file.good();
}

} // namespace

MusicPlayer::MusicPlayer(AudioBackend backend, ItemStore& store, WaveView& wave, ShellHooks& shell,
                         Messages& messages)
    : store_(store), wave_(wave), shell_(shell), messages_(messages),
      makeDecoder_(std::move(backend.makeDecoder)), output_(std::move(backend.output)) {
    setTimeFormat(kTimeSeconds);
    if (!backend.deviceNotice.empty()) {
        std::cerr << "quillex: " << backend.deviceNotice << '\n';
        shell_.setStatusText(0, backend.deviceNotice);
    }
    loadEffectSounds("sounds");
}

MusicPlayer::~MusicPlayer() {
    if (loaded())
        output_->closeMusic();
}

void MusicPlayer::loadEffectSounds(const std::string& folder) {
    if (!makeDecoder_)
        return;
    for (const EffectFile& effect : kEffectFiles) {
        const std::string path = folder + "/" + effect.name;
        auto decoder = makeDecoder_();
        MusicFormat format;
        auto pcm = std::make_shared<PcmData>();
        // A missing or unreadable sound only stays silent.
        if (!readable(path) || !decoder->open(path, format) || formatRefusal(format) ||
            !decodeAll(*decoder, format, pcm, nullptr))
            continue;
        output_->loadEffect(effect.sound, std::move(pcm));
    }
}

SamplePosition MusicPlayer::musicLength() const {
    return loaded() && music_ ? static_cast<SamplePosition>(music_->frames()) : 0;
}

bool MusicPlayer::decodeInto(const std::string& path, MusicFormat& format) {
    if (!makeDecoder_)
        return false;
    auto decoder = makeDecoder_();
    if (!decoder->open(path, format)) {
        const std::string reason = decoder->openError();
        messages_.show("Could not open the music file " + path + ": " +
                       (reason.empty() ? "its data could not be decoded." : reason));
        return false;
    }
    fileFrequency_ = format.frequency;
    fileBits_ = format.bits;
    fileChannels_ = format.channels;
    if (auto refusal = formatRefusal(format)) {
        messages_.show(*refusal);
        return false;
    }
    auto pcm = std::make_shared<PcmData>();
    wave_.resetToDefaults(shell_.windowHeight());
    bool ok = false;
    try {
        ok = decodeAll(*decoder, format, pcm, &wave_.peaks);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        wave_.freePeaks();
        return false;
    }
    music_ = std::move(pcm);
    return true;
}

bool MusicPlayer::loadMusic(const std::string& path, const std::string& titleFallback,
                            bool titleFromPath) {
    unloadMusic();
    if (path.empty() || !readable(path))
        return false;
    MusicFormat format;
    // The file is checked and decoded before anything else changes, so a refused or
    // damaged file leaves the editor as empty as the unload made it.
    if (!decodeInto(path, format))
        return false;
    return startLoadedMusic(path, titleFallback, titleFromPath);
}

bool MusicPlayer::loadSilence(const std::string& path, int rate, SamplePosition frames) {
    unloadMusic();
    if (rate <= 0 || frames <= 0)
        return false;
    auto pcm = std::make_shared<PcmData>();
    pcm->channels = 1;
    pcm->frequency = rate;
    // A long block comes zeroed from mmap and costs no memory until it is read; only a
    // short one, taken from the heap, has to be cleared.
    pcm->samples.resize(static_cast<std::size_t>(frames));
    if (pcm->samples.size() * sizeof(std::int16_t) <
        LargeBufferAllocator<std::int16_t>::kMappedBytes)
        std::fill(pcm->samples.begin(), pcm->samples.end(), std::int16_t{0});
    fileFrequency_ = rate;
    fileBits_ = 16;
    fileChannels_ = 1;
    music_ = std::move(pcm);
    silent_ = startLoadedMusic(path, std::string(), false);
    return silent_;
}

bool MusicPlayer::startLoadedMusic(const std::string& path, const std::string& titleFallback,
                                   bool titleFromPath) {
    musicPath_ = path;
    sampleRate_ = fileFrequency_;
    chartStale_ = true; // the windows in samples follow the rate
    shell_.sampleRateChanged(sampleRate_);

    std::string title = titleFromPath ? path : std::string();
    if (!titleFromPath) {
        title = titleProvider_ ? titleProvider_() : std::string();
        if (title.empty())
            title = titleFallback;
    }
    shell_.setWindowTitle("quillex - [" + title + "]");
    shell_.setPositionBar(static_cast<int>(music_->frames()), true);
    setLayers(true, false);

    if (!output_->openMusic(music_)) {
        unloadMusic();
        return false;
    }
    outputStart_ = 0;
    outputEnd_ = music_->frames();
    setVolume(100);
    setSpeed(100);
    playing_ = false;
    loaded_ = true;
    return true;
}

bool MusicPlayer::unloadMusic() {
    shell_.clearUndoHistory();
    shell_.discardFilteredWaves();
    if (loaded()) {
        if (!output_->setPaused(true))
            messages_.show("Non-fatal Error in Unload - SetPaused.-???");
        output_->closeMusic();
    }
    // The timer thread reads these without a lock: they go first, before the song's
    // lists are emptied.
    playing_ = false;
    loaded_ = false;
    shell_.switchRecordingOff();
    playStart_ = 0;
    position_ = 0;
    volumePercent_ = 100;
    musicPath_.clear();
    previewStart_ = 0;
    previewEnd_ = 0;
    music_.reset();
    silent_ = false;
    outputStart_ = 0;
    outputEnd_ = 0;

    store_.clearSong();
    resetTickIndices(0);
    shell_.resetRegion();
    shell_.clearSongSettingsText();

    wave_.freePeaks();
    shell_.setPositionBar(0, false);
    setLayers(false, true);
    shell_.setWindowTitle("quillex");
    shell_.drawFrame();
    return true;
}

// A load switches on wave, beat, pause and status; an unload switches those and the
// arrow layer off.
void MusicPlayer::setLayers(bool on, bool withArrow) {
    wave_.visible = on;
    store_.setLayer(Layer::Wave, on);
    shell_.setMenuCheck(CommandId::WaveLayer, on);
    store_.setLayer(Layer::Beat, on);
    shell_.setMenuCheck(CommandId::BeatLayer, on);
    if (withArrow) {
        store_.setLayer(Layer::Arrow, on);
        shell_.setMenuCheck(CommandId::ArrowLayer, on);
    }
    store_.setLayer(Layer::Pause, on);
    shell_.setMenuCheck(CommandId::PauseLayer, on);
    store_.setLayer(Layer::Status, on);
    shell_.setMenuCheck(CommandId::StatusLayer, on);
}

void MusicPlayer::setBeatTickOff(bool off) {
    beatTickOff_ = off;
    shell_.setMenuCheck(CommandId::BeatTick, !off);
}

void MusicPlayer::setNoteTickOff(bool off) {
    noteTickOff_ = off;
    shell_.setMenuCheck(CommandId::NoteTick, !off);
}

void MusicPlayer::setTickVolumes(int beatTick, int noteTick) {
    auto valid = [](int v) { return v >= 0 && v <= 100 ? v : 100; };
    beatTickVolume_ = valid(beatTick);
    noteTickVolume_ = valid(noteTick);
    output_->setEffectVolume(EffectSound::BeatTick, beatTickVolume_ * 0.01f);
    output_->setEffectVolume(EffectSound::NoteTick, noteTickVolume_ * 0.01f);
}

} // namespace quillex
