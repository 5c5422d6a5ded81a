// An item store with fixed music, a song and meters: enough to write song text
// without a music player.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "fileio/sm_writer.h"
#include "items/busy_counter.h"
#include "items/item_store.h"

namespace quillex::test {

inline std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string dataFile(const std::string& name) {
    return readFileBytes(std::string(QUILLEX_FILEIO_TEST_DATA) + "/" + name);
}

struct WriterFixture {
    FixedMusicInfo music{44100, 44100 * 60};
    BusyCounter busy;
    ItemStore store{music, busy};
    Song song;
    MeterTable meters;
    std::string musicPath = "/songs/x/song.ogg";
    int previewStart = 0;
    int previewEnd = 0;

    void beats(std::initializer_list<SamplePosition> samples) {
        for (SamplePosition s : samples)
            store.addBeat(s);
        store.refresh();
    }
    void note(LevelIndex level, int column, std::int32_t row, std::int32_t length = 0,
              bool mineLike = false, bool alt = false) {
        const NoteKind kind = mineLike ? (alt ? NoteKind::Lift : NoteKind::Mine)
                                       : (alt ? NoteKind::Roll : NoteKind::Tap);
        store.addNote(level, column, RowPosition::fromRow(row), RowPosition::fromRow(length), kind);
    }
    void pause(std::int32_t row, std::int32_t length) {
        store.addPause(RowPosition::fromRow(row), RowPosition::fromRow(length));
    }
    std::string text() {
        store.refresh();
        return smSongText(
            {song, store, meters, musicPath, music.sampleRate(), previewStart, previewEnd});
    }
};

} // namespace quillex::test
