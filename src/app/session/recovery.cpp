#include "app/session/recovery.h"

#include <atomic>
#include <filesystem>

#include "app/session/editor.h"
#include "fileio/file_replacement.h"
#include "fileio/qxx_companion.h"
#include "fileio/qxx_pair_check.h"
#include "fileio/sm_writer.h"
#include "fileio/song_paths.h"
#include "model/music_info.h"

namespace quillex {

namespace fs = std::filesystem;

// Everything the copy writes, taken on the main thread. The lists are shared with the
// editor's store: an edit after this copies the list it changes, never this one.
struct RecoveryCopy::Contents {
    ItemSnapshot items;
    Song song;
    MeterTable meters;
    std::vector<std::string> header; // the properties as written, to see a change
    std::string musicPath;
    int sampleRate = 0;
    SamplePosition musicLength = 0;
    int previewStart = 0;
    int previewEnd = 0;
    SamplePosition cursor = 0;
};

namespace {

bool sameLists(const ItemSnapshot& a, const ItemSnapshot& b) {
    if (!a.beats.sharesStorageWith(b.beats) || !a.pauses.sharesStorageWith(b.pauses) ||
        !a.delays.sharesStorageWith(b.delays) || !a.warps.sharesStorageWith(b.warps))
        return false;
    for (std::size_t level = 0; level < a.notes.size(); ++level)
        if (!a.notes[level].sharesStorageWith(b.notes[level]))
            return false;
    return true;
}

bool sameMeters(const MeterTable& a, const MeterTable& b) {
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (a.get(level) != b.get(level))
            return false;
    return true;
}

// Runs on the worker thread: a store of its own over the shared lists, the song's
// texts with names relative to the copy's folder, both files replaced together.
bool writeCopy(const RecoveryCopy::Contents& c, const std::string& folder,
               const std::string& path) {
    FixedMusicInfo music(c.sampleRate, c.musicLength);
    BusyCounter busy;
    ItemStore store(music, busy);
    store.restore(c.items);
    const std::string songFolder = folder + "/";
    const SongProperties& properties = c.song.properties();
    const SongFileNames names{
        songRelativeName(songFolder, c.musicPath),
        relocatedSongName(c.song.folder(), properties.banner, songFolder),
        relocatedSongName(c.song.folder(), properties.background, songFolder)};
    const SmWriteInput input{c.song,       store,          c.meters,     c.musicPath,
                             c.sampleRate, c.previewStart, c.previewEnd, &names};
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    std::string companion = companionText(store, c.meters, c.previewStart, c.previewEnd, c.cursor,
                                          c.song.beatsBeforeFirstMarker(), c.song.kept());
    std::string error;
    return replaceFiles({{path, withCompanionCheck(smSongText(input), companion)},
                         {companionPathOf(path), std::move(companion)}},
                        error);
}

} // namespace

RecoveryCopy::RecoveryCopy(Editor& editor, std::string folder)
    : editor_(editor), folder_(std::move(folder)) {}

RecoveryCopy::~RecoveryCopy() {
    wait();
}

std::shared_ptr<const RecoveryCopy::Contents> RecoveryCopy::take() const {
    auto c = std::make_shared<Contents>();
    const MusicPlayer& player = editor_.player();
    c->items = editor_.store().snapshot();
    c->song = editor_.song();
    c->meters = editor_.meters();
    c->header = c->song.properties().headerLines("");
    c->musicPath = player.musicPath();
    c->sampleRate = player.sampleRate();
    c->musicLength = player.musicLength();
    c->previewStart = player.previewStart();
    c->previewEnd = player.previewEnd();
    c->cursor = player.position();
    return c;
}

bool RecoveryCopy::changedSince(const Contents& now) const {
    if (!last_)
        return true;
    const Contents& was = *last_;
    return !sameLists(was.items, now.items) || was.header != now.header ||
           !sameMeters(was.meters, now.meters) || was.song.chartTexts() != now.song.chartTexts() ||
           was.musicPath != now.musicPath || was.previewStart != now.previewStart ||
           was.previewEnd != now.previewEnd;
}

bool RecoveryCopy::update() {
    if (writing_.load() || !editor_.store().modified() || editor_.store().beats().size() < 2)
        return false;
    std::shared_ptr<const Contents> now = take();
    if (!changedSince(*now))
        return false;
    wait(); // the last write has ended; its thread is joined
    last_ = now;
    written_ = true;
    writing_ = true;
    worker_ = std::thread([this, now, folder = folder_, path = songPath()] {
        writeCopy(*now, folder, path);
        writing_ = false;
    });
    return true;
}

void RecoveryCopy::wait() {
    if (worker_.joinable())
        worker_.join();
}

void RecoveryCopy::discard() {
    if (!written_)
        return;
    wait();
    std::error_code ignored;
    fs::remove(songPath(), ignored);
    fs::remove(companionPathOf(songPath()), ignored);
    written_ = false;
    last_.reset();
}

bool RecoveryCopy::exists() const {
    std::error_code ignored;
    return fs::is_regular_file(songPath(), ignored) &&
           fs::is_regular_file(companionPathOf(songPath()), ignored);
}

} // namespace quillex
