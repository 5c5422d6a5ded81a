// quillex-tool: the song files of quillex from the command line (see README.md).
#include <clocale>
#include <iostream>

#include "audio/platform/sndfile_decoder.h"
#include "audio/silent_output.h"
#include "cli/song_tool.h"

int main(int argc, char** argv) {
    // The user's locale, as the editor runs in it; numbers read and written ignore it.
    std::setlocale(LC_ALL, "");
    quillex::AudioBackend audio;
    audio.makeDecoder = [] { return std::make_unique<quillex::SndfileDecoder>(); };
    // Nothing is played: the silent output keeps the player's clock without a device.
    audio.output = std::make_unique<quillex::SilentOutput>();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return quillex::runSongTool(arguments, std::cout, std::cerr, std::move(audio));
}
