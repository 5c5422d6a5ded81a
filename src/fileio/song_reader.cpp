#include "fileio/song_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <type_traits>

#include "base/number_format.h"
#include "fileio/folder_lock.h"
#include "fileio/qxx_companion.h"
#include "fileio/qxx_pair_check.h"
#include "fileio/sm_parser.h"
#include "fileio/sm_timing.h"
#include "fileio/sm_timing_check.h"
#include "fileio/song_music.h"
#include "fileio/song_paths.h"
#include "fileio/ssc_parser.h"
#include "fileio/statement_text.h"
#include "items/busy_counter.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

// Sets the properties from the tags and loads the music the song names (or what
// stands in for it). False when the song has no music.
bool loadPropertiesAndMusic(SongFileContext& context, const std::string& path,
                            SamplePosition standInFrames) {
    SongProperties& properties = context.song.properties();
    properties.applyTags(context.song.tags());
    context.meters.reset();
    if (!loadSongMusic(context, path, standInFrames))
        return false;
    properties.applyBackground(context.song.tags());
    return true;
}

// The file is there and readable, and it is a song: otherwise the reason is shown.
bool checkSongFile(SongFileContext& context, const std::string& path, bool opened,
                   bool songTagsFound) {
    std::error_code error;
    if (!opened) {
        context.messages.show(std::filesystem::exists(path, error) ? cannotReadMessage(path)
                                                                   : missingFileMessage(path));
        return false;
    }
    if (!songTagsFound) {
        context.messages.show(notASongMessage(path));
        return false;
    }
    return true;
}

void setPreviewFromSeconds(SongFileContext& context) {
    const TagMap& tags = context.song.tags();
    const double rate = context.player.sampleRate();
    const std::int32_t start = truncToInt32(textToDouble(tags.first("#SAMPLESTART")) * rate);
    const double length = std::trunc(textToDouble(tags.first("#SAMPLELENGTH")) * rate);
    context.player.setPreviewStart(start);
    context.player.setPreviewEnd(truncToInt32(length + start));
}

void addConvertedItems(SongFileContext& context, const ConvertedTiming& timing) {
    ItemStore& store = context.store;
    // Warps first: the refresh numbers the markers by the beats they skip.
    for (const ConvertedPause& warp : timing.warps)
        store.addWarp(RowPosition::fromRow(fileRow(warp.startRow)),
                      RowPosition::fromRow(fileRow(warp.lengthRows)));
    store.editBeats().reserve(store.beats().size() + timing.beats.size());
    for (const ConvertedBeat& beat : timing.beats)
        store.addBeatAtRow(beat.sample, {fileRow(beat.row) / kRowsPerBeat, beat.fraction});
    for (const ConvertedPause& pause : timing.pauses)
        store.addPause(RowPosition::fromRow(fileRow(pause.startRow)),
                       RowPosition::fromRow(fileRow(pause.lengthRows)));
    for (const ConvertedPause& delay : timing.delays)
        store.addDelay(RowPosition::fromRow(fileRow(delay.startRow)),
                       RowPosition::fromRow(fileRow(delay.lengthRows)));
    store.refresh();
    showArrowLayer(context);

    std::array<std::size_t, kLevelCount> perLevel{};
    for (const ConvertedNote& note : timing.notes)
        ++perLevel[note.level];
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (perLevel[level] > 0)
            store.editNotes(level).reserve(store.notes(level).size() + perLevel[level]);
    for (const ConvertedNote& note : timing.notes)
        store.addNote(note.level, note.column, RowPosition::fromRow(fileRow(note.row)),
                      RowPosition::fromRow(fileRow(note.lengthRows)),
                      noteKindFromSmHead(note.smCharacter).value_or(NoteKind::Tap));
}

// The file is read and checked before the open song is touched: a song that cannot be
// opened leaves the previous one as it was. `Content` is what the `.sm` or `.ssc`
// parser found.
template <class Content>
bool buildReadSong(SongFileContext& context, const std::string& path, bool opened, TagMap& tags,
                   Content& content) {
    if (!checkSongFile(context, path, opened, content.songTagsFound))
        return false;
    if (const std::string refusal = timingRefusal(content.timing, tags.first("#OFFSET"));
        !refusal.empty()) {
        context.messages.show(refusal);
        return false;
    }
    if (!content.damage.empty())
        context.messages.show(damageMessage(path, content.damage));
    context.song.reset();
    context.song.tags() = std::move(tags);
    context.song.chartTexts() = std::move(content.chartTexts);
    context.song.kept() = std::move(content.kept);
    if (!loadPropertiesAndMusic(context, path, smSongEndSample(content.timing, kStandInRate)))
        return false;
    return buildSmSong(context, content.timing,
                       std::is_same_v<Content, SscFileContent> ? "SSC" : "SM");
}

bool readSmSong(SongFileContext& context, const std::string& path) {
    const JoinedText text = readJoinedText(path, TextKind::Song);
    TagMap tags;
    SmFileContent content = parseSmText(text, tags, context.messages);
    return buildReadSong(context, path, text.opened, tags, content);
}

bool readSscSong(SongFileContext& context, const std::string& path) {
    const std::optional<std::string> bytes = readFileBytes(path);
    TagMap tags;
    SscFileContent content =
        bytes ? parseSscText(*bytes, tags, context.messages) : SscFileContent();
    return buildReadSong(context, path, bytes.has_value(), tags, content);
}

// The song file holds the properties, the kept statements and charts and the charts'
// texts; the companion holds the beats, pauses and notes, and what a song keeps as
// read (which the song file's text gives only for a song saved without it).
bool readQxSong(SongFileContext& context, const std::string& path) {
    // Both files are read under the folder lock a save holds, so that a save running
    // now is read whole or not at all.
    const std::string companionPath = companionPathOf(path);
    JoinedText text;
    CompanionFile companion;
    {
        const FolderLock lock({path, companionPath}, FolderLock::Kind::Shared);
        text = readJoinedText(path, TextKind::Song);
        companion = readCompanionFile(companionPath);
    }
    TagMap tags;
    RecordingMessages quiet; // the companion's notes are the song's, not the text's
    SmFileContent content = parseSmText(text, tags, quiet);
    if (!checkSongFile(context, path, text.opened, content.songTagsFound))
        return false;
    // The check value names the companion written with this file; it is no tag of the
    // song's.
    const std::string companionCheck = tags.first(kCompanionCheckKey);
    context.song.reset();
    context.song.tags() = std::move(tags);
    context.song.chartTexts() = std::move(content.chartTexts);
    context.song.kept() = std::move(content.kept);
    // A silence for a song without its music lasts as long as the song file's charts.
    const SamplePosition standInFrames = smSongEndSample(content.timing, kStandInRate);
    if (!loadPropertiesAndMusic(context, path, standInFrames))
        return false;
    readCompanion(context, companionPath, companion, companionCheck);
    return true;
}

// Notes past the last marker's row, which the refresh leaves out.
std::size_t notesPastTheMarkers(const ConvertedTiming& timing) {
    if (timing.beats.empty())
        return timing.notes.size();
    const std::int32_t lastRow = timing.beats.back().row;
    return static_cast<std::size_t>(
        std::count_if(timing.notes.begin(), timing.notes.end(),
                      [lastRow](const ConvertedNote& n) { return n.row > lastRow; }));
}

} // namespace

std::string timelineCutMessage(std::size_t notesLost, std::int32_t lastBeat, int sampleRate) {
    const double hours = (double{INT32_MAX} / std::max(sampleRate, 1)) / 3600.0;
    return "This song runs past the longest timeline I can hold (2^31 samples, " +
           formatNumber(std::floor(hours * 10) / 10) + " hours at " + std::to_string(sampleRate) +
           " Hz, or " + std::to_string(kMostMarkers) + " beats): its timing ends at beat " +
           std::to_string(lastBeat) + ", and the notes after it (" + std::to_string(notesLost) +
           ") are left out.";
}

std::string stopsMessage(std::string_view fileKind) {
    std::string text(kStopsMessage);
    constexpr std::string_view kNamed = "this SM file";
    text.replace(text.find(kNamed), kNamed.size(), "this " + std::string(fileKind) + " file");
    return text;
}

bool buildSmSong(SongFileContext& context, SmTimingInput& input, std::string_view fileKind) {
    setPreviewFromSeconds(context);

    if (input.bpms.empty()) {
        context.messages.show(kNoBpmsMessage);
        return false;
    }
    if (input.bpms.front().beat != 0) {
        context.messages.show(kNoBeatZeroMessage);
        return false;
    }
    if (!input.stops.empty())
        context.messages.show(stopsMessage(fileKind));

    input.offsetSeconds = textToDouble(context.song.tags().first("#OFFSET"));
    const ConvertedTiming timing =
        convertSmTiming(input, context.player.sampleRate(), context.player.musicLength());
    context.song.setBeatsBeforeFirstMarker(timing.beatsBeforeFirstMarker);
    context.song.setTimedInSeconds(true);
    if (timing.timelineCut)
        context.messages.show(
            timelineCutMessage(notesPastTheMarkers(timing),
                               timing.beats.empty() ? 0 : timing.beats.back().row / kRowsPerBeat,
                               context.player.sampleRate()));
    {
        BusyGuard busy(context.store.busyCounter());
        addConvertedItems(context, timing);
        for (LevelIndex level = 0; level < kLevelCount; ++level)
            if (input.levels[level].meter > 0)
                context.meters.set(level, input.levels[level].meter);
    }
    const std::vector<KeptChart>& kept = context.song.kept().charts;
    if (std::any_of(kept.begin(), kept.end(), [](const KeptChart& chart) {
            return !gameTypeFromSmName(toLower(chart.stepsType));
        }))
        context.messages.show(kForeignChartsMessage);
    context.store.refresh();
    return true;
}

bool readSong(SongFileContext& context, const std::string& path) {
    const std::string_view extension = extensionOf(path);
    if (extension != ".sm" && extension != ".ssc" && extension != ".qx")
        return false;
    context.song.setFolder(songFolderOf(path));
    if (extension == ".sm")
        return readSmSong(context, path);
    if (extension == ".ssc")
        return readSscSong(context, path);
    return readQxSong(context, path);
}

} // namespace quillex
