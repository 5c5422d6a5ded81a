// What the shell's own commands need from the rest of the program, as small
// interfaces: the song files and music (reading, writing, closing), the playback
// switch, and the window's dialogs. The Qt shell and the program's wiring implement
// them; tests use fakes.
#pragma once

#include <optional>
#include <string>

#include "app/session/shell_state.h"

namespace quillex {

class SongFiles {
  public:
    virtual ~SongFiles() = default;
    // Reads a .sm or .qx song and its music. False when it could not be read.
    virtual bool loadSong(const std::string& path) = 0;
    // The last song read had its music located by the user in place of the one it
    // named: it has changed since it was read.
    virtual bool musicLocated() const { return false; }
    // Clears the song's pictures, resets the song and loads a music file.
    virtual bool loadMusic(const std::string& path) = 0;
    // Clears the pictures, unloads the music (which empties the undo history and
    // switches the layers off) and empties the song.
    virtual void closeSong() = 0;
    // Writes the song; the extension of `path` decides the format. `updateTitle`
    // false leaves the window title and the status messages alone (backups).
    virtual bool writeSong(const std::string& path, bool updateTitle, bool perBeatBpm) = 0;
    // The song's title (may be empty) and the loaded music's path.
    virtual std::string songTitle() const = 0;
    virtual std::string musicPath() const = 0;
};

class Transport {
  public:
    virtual ~Transport() = default;
    virtual bool playing() const = 0;
    // Starts playback from the play position.
    virtual void startPlayback() = 0;
    virtual void stopPlayback() = 0;
    // A snap other than None is set.
    virtual bool snapSet() const = 0;
};

// A file chosen in the Save As dialog and the file type chosen (1-based, in the
// order of kSaveFilters).
struct SaveTarget {
    std::string path;
    int filterIndex = 1;
};

class ShellUi {
  public:
    virtual ~ShellUi() = default;
    // The Open dialog; nothing when the user cancels.
    virtual std::optional<std::string> askOpenPath() = 0;
    // The Save As dialog, starting at `start`: its folder and name (without
    // extension) and the type chosen. Nothing when the user cancels.
    virtual std::optional<SaveTarget> askSavePath(const SaveTarget& start) = 0;
    // "Do you want to save the changes to this file?" with Yes, No and Cancel, naming
    // `songName` (nothing when empty); the window is restored first when it is
    // minimised.
    virtual SavePromptAnswer askToSaveChanges(const std::string& songName) = 0;
    // Asks the window to close, as its close box does (the Exit command).
    virtual void closeWindow() = 0;
    virtual void setWaitCursor(bool waiting) = 0;
};

} // namespace quillex
