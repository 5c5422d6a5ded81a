#include "app/session/save_flow.h"

#include <filesystem>

#include "app/session/file_filters.h"
#include "fileio/song_paths.h"
#include "fileio/statement_text.h"
#include "settings/settings_syntax.h"

namespace quillex {

namespace {

constexpr int kBannerSaving = 1;
constexpr int kBannerDone = 2;

// The file name between the last separator and the last '.'.
std::string fileStem(const std::string& path) {
    const std::string name(fileNameOf(path));
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The Save As type a song file was read or written as: its own format, .sm with a
// BPM per beat or a single BPM, or .ssc.
int saveTypeOf(const std::string& path, bool perBeatBpm) {
    if (extensionOf(path) == ".sm")
        return perBeatBpm ? 2 : kSingleBpmFilter;
    if (extensionOf(path) == ".ssc")
        return kSscFilter;
    return 1;
}

// A title may hold separators; a backup must not land outside the backup folder.
std::string safeFileName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\\')
            c = '_';
    return name;
}

} // namespace

std::string SaveFlow::baseName() const {
    std::string title = files_.songTitle();
    return title.empty() ? fileStem(files_.musicPath()) : title;
}

bool SaveFlow::save() {
    if (!ownFormat_)
        return saveAs();
    const std::string base = baseName();
    setBannerMode(kBannerSaving);
    hooks_.drawFrame();
    bool written = files_.writeSong(savePath_, true, perBeatBpm_);
    if (saveBackups_)
        backupSave(base);
    setBannerMode(kBannerDone);
    hooks_.drawFrame();
    if (written) {
        store_.setModified(false);
        songSaved(savePath_);
    }
    return written;
}

SaveTarget SaveFlow::saveAsStart() const {
    if (!songPath_.empty())
        return {songFolderOf(songPath_) + fileStem(songPath_), songType_};
    return {songFolderOf(files_.musicPath()) + baseName(), 1};
}

std::string SaveFlow::promptName() const {
    if (!songPath_.empty())
        return songPath_;
    const std::string base = baseName();
    return base.empty() ? base : base + " (not saved yet)";
}

bool SaveFlow::saveAs() {
    const std::string base = baseName();
    std::optional<SaveTarget> target = ui_.askSavePath(saveAsStart());
    if (!target)
        return false;
    perBeatBpm_ = target->filterIndex != kSingleBpmFilter;
    const std::string path = savePathForType(target->path, target->filterIndex);
    setBannerMode(kBannerSaving);
    hooks_.drawFrame();
    bool written = files_.writeSong(path, true, perBeatBpm_);
    if (written) {
        ownFormat_ = true;
        savePath_ = path;
        songPath_ = path;
        songType_ = saveTypeOf(path, perBeatBpm_);
        if (saveBackups_)
            backupSave(base);
        store_.setModified(false);
        songSaved(path);
    }
    setBannerMode(kBannerDone);
    hooks_.drawFrame();
    return written;
}

void SaveFlow::backupSave(const std::string& baseName) {
    namespace fs = std::filesystem;
    const fs::path folder(backupFolder_);
    const std::string counterFile = (folder / "nextid.ini").string();
    long number = 0;
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        fs::create_directories(folder, error);
        writeFileWhole(counterFile, "1\n");
    } else if (auto counter = readWholeFile(counterFile)) {
        number = textToInt(*counter);
        writeFileWhole(counterFile, std::to_string(number + 1) + "\n");
    } else {
        writeFileWhole(counterFile, "1\n");
    }
    const std::string name = std::to_string(number) + "_" + safeFileName(baseName) + ".qx";
    files_.writeSong((folder / name).string(), false, perBeatBpm_);
}

void SaveFlow::songOpened(const std::string& path, bool ownFormat) {
    ownFormat_ = ownFormat;
    savePath_ = ownFormat ? path : std::string();
    songPath_ = path;
    songType_ = saveTypeOf(path, true);
}

} // namespace quillex
