// Save, Save As and the numbered backup copies: which file a save goes to, in which
// form, the name an untitled song gets, and the backup folder with its nextid.ini.
#pragma once

#include <functional>
#include <string>

#include "app/session/shell_ports.h"
#include "items/item_store.h"
#include "ports/shell_hooks.h"

namespace quillex {

class SaveFlow {
  public:
    // `backupFolder` is an absolute path fixed at start-up.
    SaveFlow(SongFiles& files, ShellUi& ui, ShellHooks& hooks, ItemStore& store,
             std::string backupFolder)
        : files_(files), ui_(ui), hooks_(hooks), store_(store),
          backupFolder_(std::move(backupFolder)) {}

    // Saves in place when the song has a file of the program's own format, otherwise
    // asks for one (Save As). True when the song was written; the modified flag is
    // cleared only then.
    bool save();
    // Asks for a file and a type; the type decides one BPM per beat or a single BPM,
    // the extension of the name decides the format. A cancelled or failed save keeps
    // the modified flag.
    bool saveAs();
    // Writes a numbered copy (the number from nextid.ini) into the backup folder.
    void backupSave(const std::string& baseName);
    // The song's title, or the music file's name without folder and extension.
    std::string baseName() const;
    // Where Save As starts: the song's own folder, file name (without extension) and
    // type once it has a song file, so a song opened from .sm is saved back as .sm;
    // otherwise the music's folder, the base name and the program's own type.
    SaveTarget saveAsStart() const;
    // The song the save-changes question is about: its file, or for a song not yet
    // saved the base name and that it has no file; empty without music or song.
    std::string promptName() const;

    // A song was opened: a .qx file becomes the place Save writes to; any other file
    // must be saved with Save As first. Also called with "" on Close.
    void songOpened(const std::string& path, bool ownFormat);

    bool ownFormat() const { return ownFormat_; }
    const std::string& savePath() const { return savePath_; }
    bool perBeatBpm() const { return perBeatBpm_; }
    const std::string& backupFolder() const { return backupFolder_; }
    void setSaveBackups(bool on) { saveBackups_ = on; }

    // The status layer's banner: 1 while saving, 2 when done.
    std::function<void(int mode)> setBannerMode = [](int) {};
    // A save by the user wrote the song to `path` (backups do not count).
    std::function<void(const std::string& path)> songSaved = [](const std::string&) {};

  private:
    SongFiles& files_;
    ShellUi& ui_;
    ShellHooks& hooks_;
    ItemStore& store_;
    std::string backupFolder_;
    std::string savePath_;
    std::string songPath_; // the song file last opened or saved, of any format
    int songType_ = 1;     // its Save As type (1-based, in the order of kSaveFilters)
    bool ownFormat_ = false;
    bool perBeatBpm_ = true;
    bool saveBackups_ = false;
};

} // namespace quillex
