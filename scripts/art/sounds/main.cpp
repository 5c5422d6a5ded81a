// Writes the effect sounds and the demo song (music and .sm).
// Usage: quillex-make-sounds <sounds folder> <demo folder>
#include "demo_chart.h"
#include "demo_music.h"
#include "effect_sounds.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <sounds folder> <demo folder>\n", argv[0]);
        return 2;
    }
    const std::string soundsFolder = argv[1];
    const std::string demoFolder = argv[2];
    std::error_code error;
    std::filesystem::create_directories(soundsFolder, error);
    std::filesystem::create_directories(demoFolder, error);
    bool ok = sounds::writeEffectSounds(soundsFolder);
    ok &= demo::writeDemoMusic(demoFolder + "/demo.ogg");
    ok &= demo::writeDemoSm(demoFolder + "/demo.sm");
    return ok ? 0 : 1;
}
