// An editor whose music player decodes from memory and plays into a recording output,
// with a temporary folder for the (empty) files the player checks exist.
#pragma once

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/session/editor.h"
#include "fake_audio.h"

namespace quillex::test {

struct PlayerFixture {
    std::filesystem::path folder = makeFolder();
    std::map<std::string, FakeMusic> library;
    FakeOutput::State out;
    RecordingMessages messages;
    RecordingShell shell;
    Editor editor{messages, shell, backend()};
    MusicPlayer& player = editor.player();
    ItemStore& store = editor.store();

    ~PlayerFixture() { std::filesystem::remove_all(folder); }

    // A music of `frames` frames of a slow ramp, registered under a new file name.
    std::string addMusic(const std::string& name, std::int64_t frames, int rate = 44100,
                         int channels = 2, int bits = 16) {
        const std::string path = (folder / name).string();
        std::ofstream(path).put('x');
        FakeMusic& m = library[path];
        m.format = {rate, bits, channels, false, frames};
        m.samples.resize(static_cast<std::size_t>(frames * channels));
        for (std::size_t i = 0; i < m.samples.size(); ++i)
            m.samples[i] = static_cast<std::int16_t>(i % 20000);
        return path;
    }
    // Beats every `spacing` samples from `first`, then a refresh.
    void addBeats(int count, SamplePosition first, SamplePosition spacing) {
        for (int i = 0; i < count; ++i)
            store.addBeat(first + i * spacing);
        store.refresh();
    }

  private:
    static std::filesystem::path makeFolder() {
        static int counter = 0;
        auto p = std::filesystem::temp_directory_path() /
                 ("quillex-player-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(p);
        return p;
    }
    AudioBackend backend() {
        AudioBackend b;
        b.makeDecoder = [this] { return std::make_unique<FakeDecoder>(library); };
        b.output = std::make_unique<FakeOutput>(out);
        return b;
    }
};

} // namespace quillex::test
