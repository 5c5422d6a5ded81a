// An editor whose music is silence of a chosen length, a temporary song folder, and
// the shell and message boxes recorded.
#pragma once

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/session/editor.h"
#include "audio/fake_audio.h"
#include "fileio/song_file_context.h"
#include "fileio/song_reader.h"
#include "fileio/song_writer.h"
#include "silent_music.h"
#include "writer_fixture.h"

namespace quillex::test {

class SaveRecordingShell : public RecordingShell {
  public:
    void startSaveNotice(SaveNotice notice) override { notices.push_back(notice); }
    std::vector<SaveNotice> notices;
};

struct SongFileFixture {
    std::filesystem::path folder = makeFolder();
    SilentMusicFormat music;
    RecordingMessages messages;
    SaveRecordingShell shell;
    Editor editor{messages, shell, silentMusicBackend(music)};
    SongFileContext files = songFileContext(editor);
    ItemStore& store = editor.store();

    ~SongFileFixture() { std::filesystem::remove_all(folder); }

    std::string pathOf(const std::string& name) const { return (folder / name).string(); }
    std::string writeFile(const std::string& name, const std::string& content) const {
        std::ofstream(pathOf(name), std::ios::binary) << content;
        return pathOf(name);
    }
    // A song file beside a music file "song.ogg" (silence; its content is not read).
    std::string writeSongFile(const std::string& name, const std::string& content) const {
        writeFile("song.ogg", "x");
        return writeFile(name, content);
    }
    bool read(const std::string& path) { return readSong(files, path); }
    bool write(const std::string& path, bool updateTitle = true) {
        return writeSong(files, path, updateTitle);
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> out;
        for (const auto& m : messages.shown)
            out.push_back(m.text);
        return out;
    }

  private:
    static std::filesystem::path makeFolder() {
        static int counter = 0;
        auto p = std::filesystem::temp_directory_path() /
                 ("quillex-files-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(p);
        return p;
    }
};

} // namespace quillex::test
