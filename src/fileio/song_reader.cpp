#include "fileio/song_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <type_traits>

#include "base/number_format.h"
#include "fileio/qxx_companion.h"
#include "fileio/sm_parser.h"
#include "fileio/sm_timing.h"
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

// Negative tempos and stops (an old trick for skipping part of a song) cannot be
// represented by beat markers on the music. The message names the earliest one; empty
// when there is none.
std::string negativeTimingMessage(const SmTimingInput& timing) {
    const auto earliestNegative = [](const std::vector<SmTimedValue>& entries) {
        const SmTimedValue* found = nullptr;
        for (const SmTimedValue& e : entries)
            if (e.value < 0 && (!found || e.beat < found->beat))
                found = &e;
        return found;
    };
    if (const SmTimedValue* tempo = earliestNegative(timing.bpms))
        return "I can't open this song: it has a negative tempo at beat " +
               formatNumber(tempo->beat) + " (#BPMS).  Negative tempos are not supported.";
    if (const SmTimedValue* stop = earliestNegative(timing.stops))
        return "I can't open this song: it has a negative stop at beat " +
               formatNumber(stop->beat) + " (#STOPS).  Negative stops are not supported.";
    return std::string();
}

// The file is read and checked before the open song is touched: a song that cannot be
// opened leaves the previous one as it was. `Content` is what the `.sm` or `.ssc`
// parser found.
template <class Content>
bool buildReadSong(SongFileContext& context, const std::string& path, bool opened, TagMap& tags,
                   Content& content) {
    if (!checkSongFile(context, path, opened, content.songTagsFound))
        return false;
    if (const std::string refusal = negativeTimingMessage(content.timing); !refusal.empty()) {
        context.messages.show(refusal);
        return false;
    }
    if (!content.damage.empty())
        context.messages.show(damageMessage(path, content.damage));
    context.song.reset();
    context.song.tags() = std::move(tags);
    context.song.chartTexts() = std::move(content.chartTexts);
    if constexpr (std::is_same_v<Content, SscFileContent>)
        context.song.kept() = std::move(content.kept);
    else
        context.song.foreignCharts() = std::move(content.foreignCharts);
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

bool readQxSong(SongFileContext& context, const std::string& path) {
    const JoinedText text = readJoinedText(path, TextKind::Song);
    const std::vector<Statement> statements = splitStatements(text.text);
    const bool songTagsFound = std::any_of(statements.begin(), statements.end(),
                                           [](const Statement& s) { return isSongKey(s.key); });
    if (!checkSongFile(context, path, text.opened, songTagsFound))
        return false;
    context.song.reset();
    for (const Statement& statement : statements)
        context.song.tags().add(statement.key, statement.value);
    context.song.chartTexts() = chartTextsOf(statements);
    // The companion holds the beats: a silence for a song without its music lasts as
    // long as the song file's charts.
    TagMap unused;
    RecordingMessages quiet;
    const SamplePosition standInFrames =
        smSongEndSample(parseSmText(text.text, unused, quiet).timing, kStandInRate);
    if (!loadPropertiesAndMusic(context, path, standInFrames))
        return false;
    readCompanion(context, companionPathOf(path));
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
    return "This song runs past the longest time I can hold (2^31 samples, " +
           formatNumber(std::floor(hours * 10) / 10) + " hours at " + std::to_string(sampleRate) +
           " Hz): its timing ends at beat " + std::to_string(lastBeat) +
           ", and the notes after it (" + std::to_string(notesLost) + ") are left out.";
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
    if (!context.song.foreignCharts().empty())
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
