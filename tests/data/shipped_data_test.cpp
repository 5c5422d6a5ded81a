// The data the program ships: the effect sounds must be in the format the player
// loads, and the demo song's .sm, read through the program's own .sm conversion, must
// put every beat marker on a drum hit of its music and its stop on the pause in the
// drums.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

#include "fileio/sm_parser.h"
#include "fileio/sm_timing.h"
#include "fileio/statement_text.h"
#include "model/tag_map.h"
#include "ports/messages.h"

namespace quillex {
namespace {

const std::string kSourceDir = QUILLEX_SOURCE_DIR;
// The closing hit of the demo's music (.sm beat 88, 39.4 s); the grid runs on after it.
constexpr SamplePosition kLastHit = 1737540;

struct Sound {
    SF_INFO info{};
    std::vector<float> samples; // mono
};

bool decode(const std::string& path, Sound& sound) {
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
    if (file == nullptr)
        return false;
    std::vector<float> frames(static_cast<size_t>(sound.info.frames * sound.info.channels));
    const sf_count_t read = sf_readf_float(file, frames.data(), sound.info.frames);
    sf_close(file);
    for (sf_count_t i = 0; i < read; ++i)
        sound.samples.push_back(frames[static_cast<size_t>(i * sound.info.channels)]);
    return read == sound.info.frames;
}

// Mean square of the samples in [from, from + length), clamped to the music.
double energy(const std::vector<float>& samples, std::int64_t from, std::int64_t length) {
    double sum = 0;
    std::int64_t count = 0;
    for (std::int64_t i = std::max<std::int64_t>(from, 0);
         i < from + length && i < static_cast<std::int64_t>(samples.size()); ++i, ++count)
        sum += samples[static_cast<size_t>(i)] * samples[static_cast<size_t>(i)];
    return count > 0 ? sum / count : 0;
}

TEST(ShippedSounds, AreShortMonoSixteenBitAndEndInSilence) {
    for (const char* name : {"beattick", "notetick", "minesound"}) {
        SCOPED_TRACE(name);
        Sound sound;
        ASSERT_TRUE(decode(kSourceDir + "/data/sounds/" + name + ".wav", sound));
        EXPECT_EQ(sound.info.samplerate, 44100);
        EXPECT_EQ(sound.info.channels, 1);
        EXPECT_EQ(sound.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        const double seconds = static_cast<double>(sound.info.frames) / sound.info.samplerate;
        EXPECT_GE(seconds, 0.02);
        EXPECT_LE(seconds, 0.2);
        // A sound that stops on a non-zero sample clicks.
        EXPECT_LT(std::fabs(sound.samples.back()), 0.002f);
    }
}

class DemoSong : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string folder = kSourceDir + "/examples/demo/";
        ASSERT_TRUE(decode(folder + "demo.ogg", music));
        const JoinedText text = readJoinedText(folder + "demo.sm", TextKind::Song);
        ASSERT_TRUE(text.opened);
        TagMap tags;
        RecordingMessages messages;
        SmFileContent content = parseSmText(text.text, tags, messages);
        content.timing.offsetSeconds = textToDouble(tags.first("#OFFSET"));
        timing = convertSmTiming(content.timing, music.info.samplerate,
                                 static_cast<SamplePosition>(music.samples.size()));
    }

    // A drum hit starts at the sample: much more sound just after it than just before.
    bool hitAt(SamplePosition sample) const {
        const double before = energy(music.samples, sample - 661, 441);
        const double after = energy(music.samples, sample, 441);
        return after > 0.01 && after > 4 * before;
    }

    Sound music;
    ConvertedTiming timing;
};

TEST_F(DemoSong, PutsEveryBeatMarkerOnADrumHitAndTheStopOnTheSilence) {
    ASSERT_EQ(timing.pauses.size(), 1u);
    const ConvertedPause pause = timing.pauses.front();
    ASSERT_GT(timing.beats.size(), 80u);
    int hits = 0;
    for (const ConvertedBeat& beat : timing.beats) {
        SCOPED_TRACE(beat.row);
        // The chart stands still over the pause while the grid runs on: the markers
        // after its start up to its end fall in the gap in the drums.
        const bool inPause =
            beat.row > pause.startRow && beat.row <= pause.startRow + pause.lengthRows;
        if (beat.sample + 441 >= static_cast<SamplePosition>(music.samples.size()))
            continue;
        if (inPause) {
            EXPECT_LT(energy(music.samples, beat.sample, 441), 1e-4);
        } else if (beat.sample <= kLastHit) {
            EXPECT_TRUE(hitAt(beat.sample));
            ++hits;
        }
    }
    EXPECT_EQ(hits, 89); // .sm beats 0..88, the last at 39.4 s
}

TEST_F(DemoSong, HasTwoDanceSingleChartsWithEveryKindOfNoteOutsideThePause) {
    std::string kindsEasy, kindsMedium;
    const ConvertedPause pause = timing.pauses.front();
    for (const ConvertedNote& note : timing.notes) {
        EXPECT_FALSE(note.row > pause.startRow && note.row < pause.startRow + pause.lengthRows);
        std::string& kinds = note.level == levelIndex(0, 1) ? kindsEasy : kindsMedium;
        EXPECT_TRUE(note.level == levelIndex(0, 1) || note.level == levelIndex(0, 2));
        if (kinds.find(note.smCharacter) == std::string::npos)
            kinds += note.smCharacter;
    }
    EXPECT_EQ(kindsEasy.size(), 3u) << kindsEasy;     // taps, holds, mines
    EXPECT_EQ(kindsMedium.size(), 5u) << kindsMedium; // and rolls and lifts
}

} // namespace
} // namespace quillex
