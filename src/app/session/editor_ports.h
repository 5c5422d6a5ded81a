// The shell's ports over the real subsystems: the song files read and written through
// the song reader and writer with the editor's player, and playback through the
// player.
#pragma once

#include <functional>
#include <string>

#include "app/session/editor.h"
#include "app/session/shell_ports.h"
#include "fileio/song_file_context.h"

namespace quillex {

class EditorSongFiles : public SongFiles {
  public:
    explicit EditorSongFiles(Editor& editor) : editor_(editor) {}

    // Told the song's banner and background files (full paths, empty for none) after
    // every read, music load and close, so the renderer can show or drop them.
    std::function<void(const std::string& banner, const std::string& background)>
        songPicturesChanged;

    bool loadSong(const std::string& path) override;
    bool musicLocated() const override { return editor_.song().musicLocated(); }
    // What a read does when the song's music does not load (the tool goes on over
    // silence; the editor asks to locate it).
    void setMissingMusic(MissingMusic missing) { missingMusic_ = missing; }
    bool loadMusic(const std::string& path) override;
    void closeSong() override;
    bool writeSong(const std::string& path, bool updateTitle, bool perBeatBpm) override;
    std::string songTitle() const override { return editor_.song().properties().title; }
    std::string musicPath() const override { return editor_.player().musicPath(); }

    // Tells songPicturesChanged the pictures the song names in `folder`.
    void announceSongPictures(const std::string& folder);

  private:
    Editor& editor_;
    MissingMusic missingMusic_ = MissingMusic::Locate;
};

class PlayerTransport : public Transport {
  public:
    explicit PlayerTransport(MusicPlayer& player) : player_(player) {}
    bool playing() const override { return player_.playing(); }
    void startPlayback() override { player_.play(); }
    void stopPlayback() override { player_.pause(); }
    bool snapSet() const override { return player_.snap(false) != 0; }

  private:
    MusicPlayer& player_;
};

} // namespace quillex
