// The sync assistant's accuracy over a corpus of songs with known beats (made by
// scripts/make-sync-corpus): for each music file beside a .truth file, the suggested
// tempos and the tracked beats against the truth, then the shares the goals name.
// Not a benchmark of speed and not built by default: `ninja -C build sync_accuracy`,
// then `build/bench/sync_accuracy CORPUS-DIR [-v | -vv]` (-vv also lists each true
// beat that was missed or found more than 2 ms away).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/beat_tracker.h"
#include "analysis/onset_features.h"
#include "analysis/tempo_candidates.h"
#include "audio/music_decoding.h"
#include "audio/platform/sndfile_decoder.h"

namespace {

using namespace quillex;

struct Truth {
    bool constant = false;
    double bpm = 0;
    double first = 0;
    std::vector<double> beats;
};

Truth readTruth(const std::string& path) {
    Truth truth;
    std::ifstream in(path);
    std::string key, value;
    while (in >> key >> value) {
        if (key == "tempo") {
            truth.constant = value != "moving";
            truth.bpm = truth.constant ? std::stod(value) : 0;
        } else if (key == "first") {
            truth.first = std::stod(value);
        } else if (key == "beat") {
            truth.beats.push_back(std::stod(value));
        }
    }
    return truth;
}

struct Tally {
    int constantSongs = 0, topWithin = 0, inTopThree = 0, firstWithin = 0;
    long truthBeats = 0, beatsWithin = 0, extra = 0, missing = 0;
};

// Tracked beats against the truth: a true beat is found when a tracked one lies within
// half its period; found within 2 ms counts as exact. Tracked beats nearest to no true
// beat are extra.
void scoreTracking(const std::vector<double>& truth, const std::vector<double>& tracked,
                   Tally& tally, long& within, long& extra, long& missing, bool detail) {
    std::vector<bool> used(tracked.size(), false);
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const double half =
            0.5 * (i + 1 < truth.size() ? truth[i + 1] - truth[i] : truth[i] - truth[i - 1]);
        auto it = std::lower_bound(tracked.begin(), tracked.end(), truth[i]);
        std::size_t best = tracked.size();
        double bestDistance = half;
        for (auto c : {it, it == tracked.begin() ? it : it - 1}) {
            if (c == tracked.end())
                continue;
            const double d = std::abs(*c - truth[i]);
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<std::size_t>(c - tracked.begin());
            }
        }
        if (best == tracked.size() || used[best]) {
            ++missing;
            if (detail)
                std::printf("    beat %zu at %.3f s missing\n", i, truth[i]);
            continue;
        }
        used[best] = true;
        within += bestDistance <= 0.002;
        if (detail && bestDistance > 0.002)
            std::printf("    beat %zu at %.3f s off by %+.2f ms\n", i, truth[i],
                        (tracked[best] - truth[i]) * 1000);
    }
    extra = static_cast<long>(std::count(used.begin(), used.end(), false));
    if (detail)
        for (std::size_t k = 0; k < tracked.size(); ++k)
            if (!used[k])
                std::printf("    extra marker at %.3f s\n", tracked[k]);
    tally.truthBeats += static_cast<long>(truth.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: sync_accuracy CORPUS-DIR [-v | -vv]\n";
        return 2;
    }
    const bool detail = argc > 2 && std::string(argv[2]) == "-vv";
    const bool verbose = detail || (argc > 2 && std::string(argv[2]) == "-v");
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (entry.path().extension() == ".truth")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    Tally tally;
    for (const auto& truthPath : files) {
        const std::string music = truthPath.parent_path() / truthPath.stem();
        SndfileDecoder decoder;
        MusicFormat format;
        const auto decoded = std::make_shared<PcmData>();
        const PcmData& pcm = *decoded;
        if (!decoder.open(music, format) || !decodeAll(decoder, format, decoded, nullptr)) {
            std::cerr << "cannot decode " << music << '\n';
            continue;
        }
        const OnsetFeatures features = computeOnsetFeatures(pcm, {});
        // The grid of the truth goes on to the end of the music as decoded (an MP3's
        // padding makes it longer than the music it was made from).
        Truth truth = readTruth(truthPath);
        const double length = static_cast<double>(pcm.frames()) / pcm.frequency;
        while (truth.beats.size() >= 2 &&
               2 * truth.beats.back() - truth.beats[truth.beats.size() - 2] < length)
            truth.beats.push_back(2 * truth.beats.back() - truth.beats[truth.beats.size() - 2]);
        const auto candidates = suggestTempos(features, 5);
        std::ostringstream line;
        line << truthPath.stem().string();
        if (truth.constant) {
            ++tally.constantSongs;
            const bool top =
                !candidates.empty() && std::abs(candidates[0].bpm - truth.bpm) <= 0.001;
            bool three = false;
            for (std::size_t i = 0; i < std::min<std::size_t>(3, candidates.size()); ++i)
                three = three || std::abs(candidates[i].bpm - truth.bpm) <= 0.001;
            const bool first =
                top && std::abs(candidates[0].firstBeatSeconds - truth.first) <= 0.001;
            tally.topWithin += top;
            tally.inTopThree += three;
            tally.firstWithin += first;
            if (!candidates.empty()) {
                char text[160];
                std::snprintf(text, sizeof text, "  bpm %.4f (%+.4f)  first %+.2f ms  conf %.2f",
                              candidates[0].bpm, candidates[0].bpm - truth.bpm,
                              (candidates[0].firstBeatSeconds - truth.first) * 1000,
                              candidates[0].confidence);
                line << text;
            } else {
                line << "  no rhythm";
            }
        }
        const auto tracked = trackBeats(features, std::nullopt);
        std::vector<double> seconds;
        for (double s : tracked)
            seconds.push_back(s / features.sampleRate);
        long within = 0, extra = 0, missing = 0;
        if (detail)
            std::cout << truthPath.stem().string() << '\n';
        scoreTracking(truth.beats, seconds, tally, within, extra, missing, detail);
        tally.beatsWithin += within;
        tally.extra += extra;
        tally.missing += missing;
        line << "  track " << within << '/' << truth.beats.size() << " +" << extra << " -"
             << missing;
        if (verbose)
            std::cout << line.str() << '\n';
    }
    auto share = [](double a, double b) { return b > 0 ? 100.0 * a / b : 0.0; };
    std::printf("constant-tempo songs: %d\n", tally.constantSongs);
    std::printf("top BPM within 0.001: %.1f %% (goal >= 95 %%)\n",
                share(tally.topWithin, tally.constantSongs));
    std::printf("true BPM in top three: %.1f %% (goal 100 %%)\n",
                share(tally.inTopThree, tally.constantSongs));
    std::printf("first beat within 1 ms: %.1f %% (goal >= 95 %%)\n",
                share(tally.firstWithin, tally.constantSongs));
    std::printf("tracked beats within 2 ms: %.1f %% of %ld (goal >= 97 %%)\n",
                share(tally.beatsWithin, tally.truthBeats), tally.truthBeats);
    std::printf("extra markers: %.2f %%, missing: %.2f %% (goal <= 1 %% each)\n",
                share(tally.extra, tally.truthBeats), share(tally.missing, tally.truthBeats));
    return 0;
}
