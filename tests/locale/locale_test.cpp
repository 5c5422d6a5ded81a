// Under a comma-decimal locale every number read, written or shown keeps the point.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <locale>
#include <sstream>
#include <stdexcept>

#include "cli/song_tool.h"
#include "fileio/song_file_fixture.h"
#include "settings/options.h"
#include "settings/window_settings.h"
#include "view/status_layer.h"

namespace quillex {
namespace {

constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Switches the C and the global C++ locale for its lifetime.
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) : savedC_(std::setlocale(LC_ALL, nullptr)) {
        if (!std::setlocale(LC_ALL, name))
            throw std::runtime_error(std::string("the locale ") + name +
                                     " is not installed (scripts/test generates it)");
        std::locale::global(std::locale(name));
    }
    ~ScopedLocale() {
        std::locale::global(savedCpp_);
        std::setlocale(LC_ALL, savedC_.c_str());
    }

  private:
    std::string savedC_;
    std::locale savedCpp_;
};

std::string cLibraryText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

const std::string kSong = "#TITLE:Comma;#MUSIC:song.ogg;#OFFSET:-0.25;#SAMPLESTART:1.5;"
                          "#SAMPLELENGTH:2.25;#BPMS:0=112.5,4=157.5;#STOPS:2=0.5;\n"
                          "#NOTES:dance-single: :Medium:4:0,0,0,0,0:1000\n0100\n0010\n0001\n"
                          ",0000\n0000\n0000\n0000\n;\n";

class CommaLocale : public ::testing::Test, public test::SongFileFixture {
  protected:
    std::string run(std::vector<std::string> arguments) {
        std::ostringstream out;
        std::ostringstream err;
        runSongTool(arguments, out, err, test::silentMusicBackend(music));
        return out.str() + err.str();
    }
    std::string fileText(const std::string& name) {
        std::ifstream in(pathOf(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Every listing of the `.sm` song, the song converted to `.sm` and to `.qx` with
    // its companion, and the `.qx` song read back.
    std::string everything() {
        std::string all;
        const std::string song = writeSongFile("a.sm", kSong);
        for (const char* command : {"info", "beats", "pauses", "notes"})
            all += run({command, song});
        all += run({"convert", song, pathOf("b.sm")});
        all += fileText("b.sm");
        all += run({"convert", song, pathOf("c.qx")});
        all += fileText("c.qx") + fileText("c.qxx");
        all += run({"beats", pathOf("c.qx")});
        return all;
    }
};

TEST_F(CommaLocale, SongToolReadsAndWritesAsInTheCLocale) {
    const std::string inC = [&] {
        ScopedLocale locale("C");
        return everything();
    }();
    ScopedLocale locale(kCommaLocale);
    ASSERT_EQ(cLibraryText(0.5), "0,5"); // the locale is in force
    EXPECT_EQ(everything(), inC);
    EXPECT_NE(inC.find("highest bpm\t157.500"), std::string::npos);
    EXPECT_NE(inC.find("#STOPS:2=0.5;"), std::string::npos);
}

TEST_F(CommaLocale, SettingsFilesKeepThePoint) {
    ScopedLocale locale(kCommaLocale);
    Options options;
    parseOptions("#PRACTICEMODESCALE:2.5;#PRACTICEMODEGOOD:122.5;#KBLAGCOMP:-12.25;", options);
    EXPECT_DOUBLE_EQ(options.practiceScale, 2.5);
    EXPECT_DOUBLE_EQ(options.goodWindow, 0.1225);
    const std::string written = formatOptions(options);
    for (const char* entry :
         {"#PRACTICEMODESCALE:2.5;", "#PRACTICEMODEGOOD:122.5;", "#KBLAGCOMP:-12.25;"})
        EXPECT_NE(written.find(entry), std::string::npos) << entry;

    const WindowGeometry window{1280, 20, 1600, 1200, false};
    EXPECT_EQ(formatWindowFile(window), "1280\n20\n1600\n1200\n0\n");
    EXPECT_EQ(parseWindowFile("1280\n20\n1600\n1200\n0\n"), window);
}

TEST_F(CommaLocale, StatusTextsKeepThePoint) {
    ScopedLocale locale(kCommaLocale);
    ASSERT_TRUE(read(writeSongFile("a.sm", kSong)));
    TransportState transport;
    transport.position = 22050;
    StatusLayer status;
    status.updateTransportSlots(transport, store.timing());
    EXPECT_EQ(status.slot(3), "112.500 bpm");
    EXPECT_EQ(status.slot(4), "0.500");
}

} // namespace
} // namespace quillex
