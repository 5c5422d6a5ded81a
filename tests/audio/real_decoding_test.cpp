// Music files decoded with libsndfile through the player: every bit depth, float
// data, channel counts and rates, the committed Ogg and MP3 files, MP3s the lame
// encoder writes during the test, and damaged input.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "audio/platform/sndfile_decoder.h"
#include "audio/silent_output.h"
#include "fake_audio.h"
#include "player_fixture.h"

namespace quillex {
namespace {

const std::string kData = QUILLEX_AUDIO_TEST_DATA;

// The samples level 1 of the wave shows on one side: each runs from 0 to the sample.
std::vector<std::int8_t> levelOne(const PeakPyramid& p, bool right) {
    std::vector<std::int8_t> out;
    for (std::size_t i = 0; i < p.blockCount(1); ++i) {
        const PeakRange r = p.range(1, i);
        out.push_back(
            static_cast<std::int8_t>(right ? r.rightMin + r.rightMax : r.leftMin + r.leftMax));
    }
    return out;
}

struct RealDecoding : ::testing::Test {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillex-decode-" + std::to_string(::getpid()));
    RecordingMessages messages;
    test::RecordingShell shell;
    std::unique_ptr<Editor> editor;

    void SetUp() override {
        std::filesystem::create_directories(folder);
        AudioBackend audio;
        audio.makeDecoder = [] { return std::make_unique<SndfileDecoder>(); };
        audio.output = std::make_unique<SilentOutput>();
        editor = std::make_unique<Editor>(messages, shell, std::move(audio));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    MusicPlayer& player() { return editor->player(); }
    const PeakPyramid& peaks() { return editor->waveView().peaks; }

    // Writes a WAV file; integer samples are given left-aligned in 32 bits.
    std::string writeWav(const std::string& name, int subtype, int channels, int rate,
                         const std::vector<int>& samples) {
        const std::string path = (folder / name).string();
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = SF_FORMAT_WAV | subtype;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
        sf_write_int(file, samples.data(), static_cast<sf_count_t>(samples.size()));
        sf_close(file);
        return path;
    }
    std::string writeFloatWav(const std::string& name, int subtype, const std::vector<double>& s) {
        const std::string path = (folder / name).string();
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | subtype;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        sf_command(file, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
        sf_write_double(file, s.data(), static_cast<sf_count_t>(s.size()));
        sf_close(file);
        return path;
    }
    std::vector<std::int8_t> levelOneLeft() { return levelOne(peaks(), false); }
};

TEST_F(RealDecoding, EveryIntegerBitDepthReducesToSignedBytes) {
    struct Case {
        int subtype;
        int bits;
        std::vector<int> written; // left-aligned
        std::vector<std::int8_t> expected;
    };
    const std::vector<Case> cases = {
        {SF_FORMAT_PCM_U8, 8, {INT32_MIN, 127 << 24, 0, 1 << 24}, {-128, 127, 0, 1}},
        {SF_FORMAT_PCM_16,
         16,
         {-1 << 16, -256 << 16, 32767 << 16, 255 << 16, 256 << 16},
         {0, -1, 127, 0, 1}},
        {SF_FORMAT_PCM_24, 24, {-1 << 8, -65535 << 8, -65536 << 8, 8388607 << 8}, {0, 0, -1, 127}},
        {SF_FORMAT_PCM_32, 32, {-16777215, -16777216, INT32_MAX, INT32_MIN}, {0, -1, 127, -128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const std::string path =
            writeWav("d" + std::to_string(c.bits) + ".wav", c.subtype, 1, 44100, c.written);
        ASSERT_TRUE(player().loadMusic(path, "", true));
        EXPECT_EQ(player().fileBits(), c.bits);
        EXPECT_EQ(player().fileChannels(), 1);
        EXPECT_EQ(levelOneLeft(), c.expected);
        EXPECT_EQ(levelOne(peaks(), true), c.expected); // mono: both sides the same
        // The frames kept for playback are the samples' top 16 bits.
        const auto& pcm = player().decodedMusic()->samples;
        ASSERT_EQ(pcm.size(), c.written.size());
        for (std::size_t i = 0; i < pcm.size(); ++i)
            EXPECT_EQ(pcm[i], c.written[i] >> 16);
    }
}

TEST_F(RealDecoding, FloatDataAreScaledNotReadAsIntegers) {
    const std::string path =
        writeFloatWav("f.wav", SF_FORMAT_FLOAT, {0.5, -1.0, 1.5, -0.00001, 0.25});
    ASSERT_TRUE(player().loadMusic(path, "", true));
    EXPECT_EQ(player().fileBits(), 32);
    EXPECT_EQ(levelOneLeft(), (std::vector<std::int8_t>{64, -128, 127, 0, 32}));
    EXPECT_EQ(player().decodedMusic()->samples[0], 16384);

    EXPECT_FALSE(player().loadMusic(writeFloatWav("d.wav", SF_FORMAT_DOUBLE, {0.5}), "", true));
    EXPECT_NE(messages.lastText().find("44100 hz, 64-bit, Mono audio."), std::string::npos);
}

TEST_F(RealDecoding, StereoKeepsItsSidesApart) {
    const std::string path = writeWav("s.wav", SF_FORMAT_PCM_16, 2, 48000,
                                      {100 << 16, -200 << 16, 3000 << 16, -4000 << 16, 0, 0});
    ASSERT_TRUE(player().loadMusic(path, "", true));
    EXPECT_EQ(player().sampleRate(), 48000);
    EXPECT_EQ(player().musicLength(), 3);
    EXPECT_EQ(levelOneLeft(), (std::vector<std::int8_t>{0, 11, 0}));
    EXPECT_EQ(levelOne(peaks(), true), (std::vector<std::int8_t>{0, -15, 0}));
    EXPECT_EQ(peaks().blockCount(2), 1u);
    EXPECT_EQ(peaks().range(2, 0), (PeakRange{0, 11, -15, 0}));
}

TEST_F(RealDecoding, RatesUpTo192000AndOneOrTwoChannelsAreAccepted) {
    const std::vector<int> second(2 * 1000, 1 << 20);
    for (int rate : {44100, 48000, 192000}) {
        ASSERT_TRUE(
            player().loadMusic(writeWav("r.wav", SF_FORMAT_PCM_16, 2, rate, second), "", true));
        EXPECT_EQ(player().sampleRate(), rate);
    }
    EXPECT_FALSE(
        player().loadMusic(writeWav("h.wav", SF_FORMAT_PCM_16, 2, 196000, second), "", true));
    EXPECT_NE(messages.lastText().find("196000 hz, 16-bit, Stereo audio."), std::string::npos);
    EXPECT_FALSE(
        player().loadMusic(writeWav("6.wav", SF_FORMAT_PCM_24, 6, 48000, second), "", true));
    EXPECT_NE(messages.lastText().find("48000 hz, 24-bit, Other multi-channel audio."),
              std::string::npos);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_FALSE(player().loaded());
}

TEST_F(RealDecoding, OggVorbisDecodesTo16Bits) {
    ASSERT_TRUE(player().loadMusic(kData + "/tone.ogg", "", true));
    EXPECT_EQ(player().fileBits(), 16);
    EXPECT_EQ(player().fileChannels(), 2);
    EXPECT_EQ(player().sampleRate(), 44100);
    EXPECT_EQ(player().musicLength(), 44100);
    EXPECT_EQ(peaks().blockCount(2), 44099u / 2);
}

// The MP3 holds one second of tone that starts at its first sample; the encoder put
// 576 frames of delay before it and the decoder adds 529 more. Untrimmed, the music
// is every MPEG frame's 1152 samples (40 frames after the info frame) and the tone
// starts 1105 frames in.
TEST_F(RealDecoding, Mp3KeepsTheDecodersFramesUntrimmed) {
    ASSERT_TRUE(player().loadMusic(kData + "/tone.mp3", "", true));
    EXPECT_EQ(player().fileBits(), 16);
    EXPECT_EQ(player().musicLength(), 40 * 1152);
    const auto& pcm = player().decodedMusic()->samples;
    auto firstLoud = [&](int channel) {
        for (std::size_t i = 0; i < pcm.size() / 2; ++i)
            if (std::abs(pcm[2 * i + channel]) > 1000)
                return static_cast<int>(i);
        return -1;
    };
    EXPECT_NEAR(firstLoud(0), 1105, 4);
    EXPECT_NEAR(firstLoud(1), 1105, 4);
}

// Without its info frame the same MPEG stream is decoded untrimmed by the library
// itself (its length is then only estimated, so only the start is compared).
TEST_F(RealDecoding, Mp3MatchesTheLibrarysOwnUntrimmedOutput) {
    std::ifstream in(kData + "/tone.mp3", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t infoFrame = 417; // 128 kbit/s at 44100 Hz, no padding
    ASSERT_EQ(static_cast<unsigned char>(bytes[infoFrame]), 0xFF);
    const std::string bare = (folder / "bare.mp3").string();
    std::ofstream(bare, std::ios::binary)
        .write(bytes.data() + infoFrame, static_cast<std::streamsize>(bytes.size() - infoFrame));
    SF_INFO info{};
    SNDFILE* file = sf_open(bare.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE); // as the decoder reads
    std::vector<short> expected(8000 * 2);
    ASSERT_EQ(sf_readf_short(file, expected.data(), 8000), 8000);
    sf_close(file);

    ASSERT_TRUE(player().loadMusic(kData + "/tone.mp3", "", true));
    const auto& pcm = player().decodedMusic()->samples;
    for (std::size_t i = 529 * 2; i < expected.size(); ++i)
        ASSERT_EQ(pcm[i], expected[i]) << "sample " << i;
}

// Where a click lands in the decoded music of MP3s as LAME writes them: the encoder's
// delay (576) and the decoder's (529) stay in front of it, and behind an "Info" frame
// one more frame of silence. Files without an Info/Xing frame announce only a guess at
// their length, which the music may fall short of or run past.
TEST_F(RealDecoding, Mp3ClicksLandWhereTheGameHasThem) {
    struct Case {
        const char* name;
        int rate;
        int channels;
        const char* lameOptions;
        int silentFrame; // samples of the Info frame's silence
        int versusGuess; // sign of decoded length minus libsndfile's guess; 0 unchecked
    };
    const std::vector<Case> cases = {
        {"info-stereo", 44100, 2, "-b 128", 1152, 0},
        {"info-mono", 44100, 1, "-b 64", 1152, 0},
        {"info-mpeg2", 22050, 1, "-b 64", 576, 0},
        {"xing-vbr", 44100, 2, "-V 2", 0, 0},
        {"bare-tagged-cbr", 44100, 2, "-t -b 128 --add-id3v2 --tt Song", 0, -1},
        {"bare-vbr", 44100, 1, "-t -V 2", 0, +1},
    };
    constexpr int kDelays = 576 + 529;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Two clicks of 8 samples: one early, one at 2 s, the end of the music. Quiet
        // noise in the first 0.1 s makes a variable bit rate start high, so a guess at
        // the length from the first frame falls short.
        const std::vector<int> clicks = {c.rate / 4, 2 * c.rate};
        std::vector<int> samples(static_cast<std::size_t>((2 * c.rate + 200) * c.channels));
        std::uint32_t noise = 1;
        for (std::size_t i = 0; i < static_cast<std::size_t>(c.rate / 10 * c.channels); ++i) {
            noise = noise * 1664525u + 1013904223u;
            samples[i] = static_cast<int>(noise) >> 4; // within 1/16 of full scale
        }
        for (int at : clicks)
            std::fill_n(samples.begin() + at * c.channels, 8 * c.channels, 0x73000000);
        const std::string wav =
            writeWav(std::string(c.name) + ".wav", SF_FORMAT_PCM_16, c.channels, c.rate, samples);
        const std::string mp3 = (folder / (std::string(c.name) + ".mp3")).string();
        const std::string lame =
            "lame --quiet " + std::string(c.lameOptions) + " '" + wav + "' '" + mp3 + "'";
        ASSERT_EQ(std::system(lame.c_str()), 0)
            << "the lame encoder (in the test packages) makes these files";

        ASSERT_TRUE(player().loadMusic(mp3, "", true));
        EXPECT_EQ(player().sampleRate(), c.rate);
        const int frameSize = c.rate > 32000 ? 1152 : 576;
        EXPECT_EQ(player().musicLength() % frameSize, 0) << "whole MPEG frames";
        const auto& pcm = player().decodedMusic()->samples;
        std::vector<int> heard;
        for (std::size_t i = 0; i < pcm.size(); i += static_cast<std::size_t>(c.channels)) {
            const int frame = static_cast<int>(i) / c.channels;
            if (std::abs(pcm[i]) > 8000 && (heard.empty() || frame > heard.back() + c.rate / 4))
                heard.push_back(frame);
        }
        ASSERT_EQ(heard.size(), clicks.size());
        for (std::size_t k = 0; k < clicks.size(); ++k)
            EXPECT_NEAR(heard[k], clicks[k] + kDelays + c.silentFrame, 4);

        if (c.versusGuess != 0) {
            SF_INFO info{};
            SNDFILE* file = sf_open(mp3.c_str(), SFM_READ, &info);
            ASSERT_NE(file, nullptr);
            sf_close(file);
            EXPECT_EQ(player().musicLength() > info.frames ? 1 : -1, c.versusGuess)
                << "the file no longer tests a wrong guess";
        }
    }
}

TEST_F(RealDecoding, DamagedInputNeverLoads) {
    std::ifstream in(kData + "/tone.mp3", std::ios::binary);
    std::vector<char> mp3((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto write = [&](const std::string& name, const char* data, std::size_t size) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary).write(data, static_cast<std::streamsize>(size));
        return path;
    };
    const std::string garbage(5000, 'q');
    const std::vector<std::string> bad = {
        (folder / "missing.ogg").string(),
        write("empty.wav", "", 0),
        write("empty.mp3", "", 0),
        write("garbage.wav", garbage.data(), garbage.size()),
        write("garbage.ogg", garbage.data(), garbage.size()),
        write("garbage.mp3", garbage.data(), garbage.size()),
        write("truncated.mp3", mp3.data(), mp3.size() * 6 / 10),
        write("headonly.mp3", mp3.data(), 500),
        writeWav("silent.wav", SF_FORMAT_PCM_16, 2, 44100, {}),
    };
    for (const std::string& path : bad) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(player().loadMusic(kData + "/tone.ogg", "", true));
        const std::size_t shownBefore = messages.shown.size();
        EXPECT_FALSE(player().loadMusic(path, "", true));
        // A file libsndfile refuses is named with the library's reason.
        if (messages.shown.size() > shownBefore) {
            const std::string prefix = "Could not open the music file " + path + ": ";
            EXPECT_EQ(messages.lastText().rfind(prefix, 0), 0u) << messages.lastText();
            EXPECT_GT(messages.lastText().size(), prefix.size() + 3);
        }
        if (path.find("garbage") != std::string::npos) {
            EXPECT_GT(messages.shown.size(), shownBefore) << "no decoder takes it";
        }
        EXPECT_FALSE(player().loaded());
        EXPECT_EQ(player().musicLength(), 0);
        EXPECT_TRUE(peaks().empty());
        EXPECT_EQ(player().decodedMusic(), nullptr);
    }
}

} // namespace
} // namespace quillex
