// Timing sox against quillex in one benchmark run: the wall time of a shell command, and
// the bench song opened by an editor (null audio device) whose decoded music both read.
#pragma once

#include <chrono>
#include <cstdlib>
#include <string>

#include "app/session/editor.h"
#include "audio/platform/platform_audio.h"
#include "bench_song.h"

namespace quillex::bench {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// How long `command` ran, in ms; -1 when it failed (sox not installed, say).
inline double commandMs(const std::string& command) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        return -1;
    return msSince(start);
}

// The five-minute WAV song, opened as the editor opens music.
struct OpenedSong {
    std::string path = makeSong("quillex-bench-song.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    RecordingMessages messages;
    NullShellHooks shell;
    Editor editor{messages, shell, (setenv("ALSOFT_DRIVERS", "null", 0), makePlatformAudio())};
    bool loaded = editor.player().loadMusic(path, "", true);
};

} // namespace quillex::bench
