// A decoder that hands out frames made in memory and an output that records what it
// is asked and can be told to fail, for driving the music player without files or a
// device.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "audio/audio_backend.h"
#include "ports/shell_hooks.h"

namespace quillex::test {

// Music the fake decoder serves, by path.
struct FakeMusic {
    MusicFormat format;
    std::vector<std::int16_t> samples; // interleaved, for formats up to 16 bits
};

class FakeDecoder : public MusicDecoder {
  public:
    explicit FakeDecoder(const std::map<std::string, FakeMusic>& library) : library_(library) {}
    bool open(const std::string& path, MusicFormat& format) override {
        auto it = library_.find(path);
        if (it == library_.end())
            return false;
        music_ = &it->second;
        format = music_->format;
        return true;
    }
    std::int64_t read16(std::int16_t* out, std::int64_t frames) override {
        const int ch = music_->format.channels;
        const auto total = static_cast<std::int64_t>(music_->samples.size()) / ch;
        const std::int64_t n = std::min(frames, total - next_);
        std::copy_n(music_->samples.begin() + next_ * ch, n * ch, out);
        next_ += n;
        return n;
    }
    std::int64_t read32(std::int32_t*, std::int64_t) override { return -1; }
    bool complete() const override { return true; }

  private:
    const std::map<std::string, FakeMusic>& library_;
    const FakeMusic* music_ = nullptr;
    std::int64_t next_ = 0;
};

class FakeOutput : public AudioOutput {
  public:
    struct State {
        bool open = false;
        bool paused = true;
        SamplePosition position = 0;
        float gain = 1;
        float frequency = 0;
        int calls = 0; // every call but getPosition
        int openCount = 0;
        int closeCount = 0;
        std::int64_t frames = 0; // of the sound last opened
        // Each effect played, with the music's position then.
        std::vector<std::pair<EffectSound, SamplePosition>> effects;
        // Names of operations that fail: "paused", "position", "getPosition",
        // "volume", "frequency", "open".
        std::vector<std::string> failing;
        bool fails(const std::string& op) const {
            return std::find(failing.begin(), failing.end(), op) != failing.end();
        }
    };
    explicit FakeOutput(State& state) : s_(state) {}

    bool audible() const override { return true; }
    bool openMusic(std::shared_ptr<const PcmData> music) override {
        ++s_.calls;
        ++s_.openCount;
        if (s_.fails("open"))
            return false;
        s_.open = true;
        s_.paused = true;
        s_.position = 0;
        s_.frequency = static_cast<float>(music->frequency);
        s_.frames = music->frames();
        return true;
    }
    void closeMusic() override {
        ++s_.calls;
        ++s_.closeCount;
        s_.open = false;
    }
    bool setPaused(bool paused) override {
        return change("paused", [&] { s_.paused = paused; });
    }
    bool setPosition(SamplePosition frame) override {
        return change("position", [&] { s_.position = frame; });
    }
    bool getPosition(SamplePosition& frame) override {
        if (s_.fails("getPosition"))
            return false;
        frame = s_.position;
        return true;
    }
    bool setVolume(float gain) override {
        return change("volume", [&] { s_.gain = gain; });
    }
    bool setFrequency(float hz) override {
        return change("frequency", [&] { s_.frequency = hz; });
    }
    bool loadEffect(EffectSound, std::shared_ptr<const PcmData>) override { return true; }
    bool playEffect(EffectSound sound) override {
        s_.effects.push_back({sound, s_.position});
        return true;
    }
    void setEffectVolume(EffectSound, float) override {}

  private:
    template <class F> bool change(const std::string& op, F apply) {
        ++s_.calls;
        if (s_.fails(op))
            return false;
        apply();
        return true;
    }
    State& s_;
};

// Records what the player asks of the window.
class RecordingShell : public NullShellHooks {
  public:
    void setWindowTitle(std::string_view t) override { title = t; }
    void setMenuCheck(CommandId id, bool on) override { checks[id] = on; }
    void setStatusText(int slot, std::string_view text) override { status[slot] = text; }
    void clearUndoHistory() override { ++undoClears; }
    void setPositionBar(int length, bool enabled) override {
        barLength = length;
        barEnabled = enabled;
    }
    bool recordingOn() const override { return recording; }
    void switchRecordingOff() override { recording = false; }
    void postCommand(CommandId id) override { posted.push_back(id); }
    // The music Open dialog: records the folder it opens in, answers `chosenMusic`.
    std::optional<std::string> askMusicFile(const std::string& folder) override {
        musicDialogFolders.push_back(folder);
        return chosenMusic;
    }

    std::string title;
    std::optional<std::string> chosenMusic;
    std::vector<std::string> musicDialogFolders;
    std::map<CommandId, bool> checks;
    std::map<int, std::string> status;
    int undoClears = 0;
    int barLength = -1;
    bool barEnabled = false;
    bool recording = false;
    std::vector<CommandId> posted;
};

} // namespace quillex::test
