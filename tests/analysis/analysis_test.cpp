#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analysis/analysis_cache.h"
#include "analysis/beat_tracker.h"
#include "analysis/music_analysis.h"
#include "analysis/tempo_suggestion_model.h"
#include "audio/music_decoding.h"
#include "audio/platform/sndfile_decoder.h"
#include "generated_song.h"

namespace quillex {
namespace {

using test::beatTimes;
using test::drumSong;

constexpr int kRate = 44100;

OnsetFeatures featuresOf(const test::GeneratedSong& song) {
    return computeOnsetFeatures(song.pcm, {});
}

// Constant tempos: the top candidate within 0.001 BPM and its first beat (the earliest
// at or after 0 s, wherever the drums start) within 1 ms.
TEST(TempoSuggestion, TopCandidateIsTheTrueTempoAndFirstBeat) {
    struct Case {
        const char* name;
        double bpm, first;
        bool kickOnEveryBeat;
        int leadIn; // silence in front, as an MP3's delays put it
    } cases[] = {
        {"click-like kicks", 137.412, 0.3731, true, 0},
        // Kick and snare alternate with hats between: neither 88.25 (kicks alone) nor
        // 353 (hats) is the beat.
        {"octave trap", 176.5, 0.61, false, 0},
        {"slow with hats", 71.337, 1.2, false, 0},
        {"behind an MP3's delays", 128.256, 0.05, false, 576 + 529 + 1152},
    };
    for (const Case& c : cases) {
        const auto song = drumSong(beatTimes(c.first, 45, [&](double) { return c.bpm; }), 46,
                                   c.kickOnEveryBeat, c.leadIn);
        const auto candidates = suggestTempos(featuresOf(song), 3);
        ASSERT_FALSE(candidates.empty()) << c.name;
        EXPECT_NEAR(candidates[0].bpm, c.bpm, 0.001) << c.name;
        const double period = 60.0 / c.bpm;
        const double first = song.beats[0] - std::floor(song.beats[0] / period) * period;
        EXPECT_NEAR(candidates[0].firstBeatSeconds, first, 0.001) << c.name;
        EXPECT_GT(candidates[0].confidence, 0.5) << c.name;
    }
}

TEST(TempoSuggestion, SilenceAndNoiseHaveNoRhythm) {
    PcmData silence;
    silence.channels = 1;
    silence.frequency = kRate;
    silence.samples.assign(kRate * 20, 0);
    PcmData noise = silence;
    std::mt19937 random(3);
    std::uniform_int_distribution<int> sample(-8000, 8000);
    for (auto& s : noise.samples)
        s = static_cast<std::int16_t>(sample(random));
    for (const PcmData* music : {&silence, &noise}) {
        const OnsetFeatures features = computeOnsetFeatures(*music, {});
        EXPECT_TRUE(suggestTempos(features, 5).empty());
        EXPECT_TRUE(trackBeats(features, std::nullopt).empty());
    }
}

// A marker on every beat of music whose tempo steps or drifts, each within 2 ms, from
// the start of the music to its end, none extra; through an intro without drums the
// beats follow the tempo as it moves where the drums come in.
TEST(BeatTracking, FollowsATempoStepAndASlowDrift) {
    struct Case {
        const char* name;
        double (*bpmAt)(double);
        std::size_t introBeats;
    } cases[] = {
        {"step", [](double t) { return t < 20 ? 120.0 : 134.0; }, 0},
        {"drift", [](double t) { return 140.0 + 4 * std::sin(t / 40 * 2 * std::numbers::pi); }, 0},
        {"drift after an intro without drums",
         [](double t) { return 140.0 + 3 * std::sin(t / 60 * 2 * std::numbers::pi); }, 8},
    };
    for (const Case& c : cases) {
        const auto song =
            drumSong(beatTimes(0.4, 40.5, c.bpmAt), 40.5, false, 0, kRate, c.introBeats);
        const std::vector<double> tracked = trackBeats(featuresOf(song), std::nullopt);
        ASSERT_EQ(tracked.size(), song.beats.size()) << c.name;
        for (std::size_t i = 0; i < tracked.size(); ++i)
            ASSERT_NEAR(tracked[i] / kRate, song.beats[i], 0.002) << c.name << " beat " << i;
    }
}

// The demo song's music alone: a marker within 2 ms of each of the song's own, from
// its first sound (none in the silence before it), across its half-second stop after
// beat 16 and the step from 120 to 150 BPM at 17 s, to the end of the music.
TEST(BeatTracking, TheDemoMusicGetsTheDemoSongsMarkers) {
    SndfileDecoder decoder;
    MusicFormat format;
    const auto decoded = std::make_shared<PcmData>();
    const PcmData& music = *decoded;
    ASSERT_TRUE(decoder.open(QUILLEX_DEMO_MUSIC, format));
    ASSERT_TRUE(decodeAll(decoder, format, decoded, nullptr));
    std::vector<double> expected;
    for (int b = 0; b <= 16; ++b)
        expected.push_back(0.5 + 0.5 * b);
    for (int b = 16; b <= 32; ++b) // 9.0 s: the marker inside the stop
        expected.push_back(1.0 + 0.5 * b);
    const double end = static_cast<double>(music.frames()) / music.frequency;
    for (int b = 33; 17.0 + 0.4 * (b - 32) < end; ++b)
        expected.push_back(17.0 + 0.4 * (b - 32));
    const std::vector<double> tracked = trackBeats(computeOnsetFeatures(music, {}), std::nullopt);
    ASSERT_EQ(tracked.size(), expected.size());
    for (std::size_t i = 0; i < tracked.size(); ++i)
        ASSERT_NEAR(tracked[i] / music.frequency, expected[i], 0.002) << i;
}

TEST(AnalysisCache, ASecondRequestIsReadBackAndADamagedFileIsIgnored) {
    const auto directory = std::filesystem::temp_directory_path() / "quillex-analysis-test";
    std::filesystem::remove_all(directory);
    const AnalysisCache cache(directory);
    const auto song = drumSong(beatTimes(0.5, 12, [](double) { return 150.0; }), 12, true);
    const auto first = analyseMusic(song.pcm, &cache, {});
    const auto second = analyseMusic(song.pcm, &cache, {});
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(first->fromCache);
    EXPECT_TRUE(second->fromCache);
    EXPECT_EQ(second->features.strength, first->features.strength);
    ASSERT_EQ(second->candidates.size(), first->candidates.size());
    EXPECT_EQ(second->candidates[0].bpm, first->candidates[0].bpm);

    const std::uint64_t hash = musicContentHash(song.pcm);
    {
        std::fstream file(cache.fileFor(hash), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(100);
        file.put('\x5a');
    }
    EXPECT_FALSE(cache.load(hash));
    EXPECT_FALSE(analyseMusic(song.pcm, &cache, {})->fromCache);
    EXPECT_TRUE(cache.load(hash)); // written anew
    std::filesystem::resize_file(cache.fileFor(hash), 40);
    EXPECT_FALSE(cache.load(hash));
    std::filesystem::remove_all(directory);
}

TEST(TempoSuggestionModel, RowsShowThreeDecimalsAndDoubleOrHalveInPlace) {
    TempoCandidate c;
    c.grid = {0.25 * kRate, kRate * 60.0 / 87.5};
    c.bpm = 87.5;
    c.firstBeatSeconds = 0.25;
    c.confidence = 0.8125;
    TempoSuggestionModel model({c}, kRate);
    EXPECT_EQ(model.bpmText(0), "87.500");
    EXPECT_EQ(model.firstBeatText(0), "0.250000");
    EXPECT_EQ(model.confidenceText(0), "0.81");
    model.doubleRow(0);
    EXPECT_EQ(model.bpmText(0), "175.000");
    EXPECT_EQ(model.firstBeatText(0), "0.250000");
    model.halveRow(0);
    model.halveRow(0);
    EXPECT_EQ(model.bpmText(0), "43.750");
    EXPECT_TRUE(TempoSuggestionModel({}, kRate).empty());
}

} // namespace
} // namespace quillex
