// Reading the companion file: its statements gathered first, then put into the store,
// with what a damaged companion lost named in one message.
#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

#include "fileio/qxx_companion.h"
#include "fileio/qxx_kept_data.h"
#include "fileio/qxx_keys.h"
#include "fileio/qxx_pair_check.h"
#include "fileio/song_music.h"
#include "fileio/statement_text.h"
#include "items/busy_counter.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

using namespace qxx;

// The level a "#NOTES_..._EX" or "#FOOT_..." key names.
std::optional<LevelIndex> levelOfKey(std::string_view key, bool notes) {
    static const auto keys = [] {
        std::array<std::array<std::string, kLevelCount>, 2> k;
        for (LevelIndex level = 0; level < kLevelCount; ++level) {
            k[0][level] = footKey(level);
            k[1][level] = notesKey(level);
        }
        return k;
    }();
    const auto& family = keys[notes ? 1 : 0];
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (family[level] == key)
            return level;
    return std::nullopt;
}

struct CompanionNote {
    std::int32_t row, column, typeCode, lengthRows;
};

using IntPair = std::pair<std::int32_t, std::int32_t>;

// Everything a companion holds, gathered before any of it enters the store, and what
// could not be read, one sentence each.
struct CompanionContent {
    std::vector<IntPair> beatLocations; // row, sample
    std::vector<std::string> beatProps;
    std::vector<IntPair> pauses; // start row, length rows
    std::vector<IntPair> delays; // the same
    std::vector<IntPair> warps;  // the same
    std::array<std::vector<CompanionNote>, kLevelCount> notes;
    std::optional<std::int32_t> previewStart, previewEnd;
    std::int32_t beatsBeforeFirstMarker = 0;
    std::int32_t standInRate = 0;
    std::optional<KeptSongData> kept;
    bool anyNotes = false;
    std::vector<std::string> problems;
};

// The pieces of a list value: split at "," with empty pieces dropped.
std::vector<std::string_view> listPieces(std::string_view value) {
    return splitNonEmpty(value, ',');
}

// The "a=b" pieces of a list: the text after "=" of each. A piece without "=" is no
// item; it is skipped and named.
std::vector<SplitPair> keyedPieces(const Statement& s, std::vector<std::string>& problems) {
    std::vector<SplitPair> pairs;
    std::size_t skipped = 0;
    for (std::string_view piece : listPieces(s.value)) {
        const SplitPair pair = splitFirst(piece, '=');
        if (pair.found)
            pairs.push_back(pair);
        else
            ++skipped;
    }
    if (skipped > 0)
        problems.push_back(std::string(s.key) + ": skipped " + std::to_string(skipped) +
                           (skipped == 1 ? " piece that is" : " pieces that are") +
                           " not \"row=value\".");
    return pairs;
}

std::vector<IntPair> intPairs(const Statement& s, std::vector<std::string>& problems) {
    std::vector<IntPair> pairs;
    for (const SplitPair& pair : keyedPieces(s, problems))
        pairs.push_back({textToInt(pair.first), textToInt(pair.second)});
    return pairs;
}

CompanionNote noteOf(const SplitPair& pair) {
    // Missing "|" fields read as 0, like any text that is not a number.
    std::array<std::int32_t, 3> fields{};
    std::string_view rest = pair.second;
    for (std::size_t i = 0; i < fields.size() && !rest.empty(); ++i) {
        const SplitPair field = splitFirst(rest, '|');
        fields[i] = textToInt(field.first);
        rest = field.second;
    }
    return {textToInt(pair.first), fields[0], fields[1], fields[2]};
}

void parseStatement(const Statement& s, CompanionContent& c, MeterTable& meters) {
    std::vector<std::string>& problems = c.problems;
    if (s.key == "#BEATLOC_EX") {
        c.beatLocations.clear();
        if (s.value.find(',') == std::string_view::npos)
            return; // a single location is no beat grid
        c.beatLocations = intPairs(s, problems);
    } else if (s.key == "#BEATPROPS_EX") {
        for (const SplitPair& pair : keyedPieces(s, problems))
            c.beatProps.emplace_back(pair.second);
    } else if (s.key == "#PAUSES") {
        c.pauses = intPairs(s, problems);
    } else if (s.key == kDelayRowsKey) {
        c.delays = intPairs(s, problems);
    } else if (s.key == kWarpRowsKey) {
        c.warps = intPairs(s, problems);
    } else if (s.key == kKeptDataKey) {
        KeptDataRead read = readKeptDataValue(s.value);
        if (!read.lost.empty())
            problems.push_back(std::string(kKeptDataKey) + " is damaged: " + read.lost + ".");
        c.kept = std::move(read.kept);
    } else if (s.key == kBeatsBeforeFirstMarkerKey) {
        c.beatsBeforeFirstMarker = std::clamp(textToInt(s.value), 0, kLargestFileRow / 48);
    } else if (s.key == kStandInRateKey) {
        c.standInRate = std::max(textToInt(s.value), 0);
    } else if (s.key == "#SONGDEMOBEGIN") {
        c.previewStart = textToInt(s.value);
    } else if (s.key == "#SONGDEMOEND") {
        c.previewEnd = textToInt(s.value);
    } else if (const auto level = levelOfKey(s.key, true)) {
        const std::vector<SplitPair> pieces = keyedPieces(s, problems);
        c.anyNotes = c.anyNotes || !pieces.empty();
        for (const SplitPair& pair : pieces)
            c.notes[*level].push_back(noteOf(pair));
    } else if (const auto level = levelOfKey(s.key, false)) {
        meters.set(*level, textToInt(s.value));
    }
}

// The statements of a joined companion. One that the text ends inside (a companion
// cut short) loses what may be cut: the last piece of a list, a whole single value.
// The kept `.ssc` data reads its own damage.
std::vector<Statement> companionStatements(std::string_view text,
                                           std::vector<std::string>& problems) {
    std::vector<Statement> statements = splitStatements(text);
    const std::size_t last = text.find_last_not_of(" \t");
    if (statements.empty() || last == std::string_view::npos || text[last] == ';')
        return statements;
    Statement& cut = statements.back();
    problems.push_back("It ends inside " + std::string(cut.key) +
                       ": the file was cut short there, and whatever followed is lost.");
    if (cut.key == kKeptDataKey)
        return statements;
    const std::size_t lastPiece = cut.value.rfind(',');
    if (lastPiece == std::string_view::npos || cut.key == cut.value)
        statements.pop_back();
    else
        cut.value = cut.value.substr(0, lastPiece);
    return statements;
}

void addCompanionItems(SongFileContext& context, CompanionContent& c) {
    ItemStore& store = context.store;
    const std::size_t beatCount = c.beatLocations.size();
    if (beatCount > 0 && c.beatProps.size() != beatCount)
        c.problems.push_back("#BEATPROPS_EX holds " + std::to_string(c.beatProps.size()) +
                             " beat properties for " + std::to_string(beatCount) +
                             " beats: beats without theirs are unlocked and blue.");
    for (std::size_t i = 0; i < beatCount; ++i) {
        const std::string props = i < c.beatProps.size() ? c.beatProps[i] : std::string();
        const bool locked = props.size() == 4 && props[2] == '1';
        const bool white = props.size() == 4 && props[3] == '1';
        store.addBeatAtRow(c.beatLocations[i].second,
                           RowPosition::fromRow(fileRow(c.beatLocations[i].first)),
                           {.locked = locked, .white = white});
    }
    const auto rows = [](std::int32_t row) { return RowPosition::fromRow(fileRow(row)); };
    for (const auto& [start, length] : c.pauses)
        store.addPause(rows(start), rows(length));
    for (const auto& [start, length] : c.delays)
        store.addDelay(rows(start), rows(length));
    for (const auto& [start, length] : c.warps)
        store.addWarp(rows(start), rows(length));
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        for (const CompanionNote& n : c.notes[level]) {
            const RowPosition length = RowPosition::fromRow(fileRow(n.lengthRows));
            store.addNote(level, n.column, RowPosition::fromRow(fileRow(n.row)), length,
                          noteKindFromQxxTypeCode(n.typeCode, length.row() > 0));
        }
    }
}

// The message for a companion that could not be read at all; the song has no beats.
std::string unreadMessage(const std::string& path, CompanionFile::State state) {
    const auto reason = [state] {
        switch (state) {
        case CompanionFile::State::Folder:
            return "it is a folder, not a file";
        case CompanionFile::State::Unreadable:
            return "the file could not be read";
        default:
            return "it is empty";
        }
    };
    if (state == CompanionFile::State::Missing)
        return std::string(kMissingCompanionMessage);
    return "I can't read " + path + ": " + reason() + ".  " + std::string(kNotLoaded);
}

// Samples counted at the silence a song was saved over, moved to the rate loaded now so
// that each keeps its time.
void scaleToLoadedRate(CompanionContent& c, int loadedRate) {
    if (c.standInRate <= 0 || loadedRate == c.standInRate)
        return;
    const double factor = static_cast<double>(loadedRate) / c.standInRate;
    for (IntPair& location : c.beatLocations)
        location.second = scaledSample(location.second, factor);
    for (std::optional<std::int32_t>* preview : {&c.previewStart, &c.previewEnd})
        if (*preview)
            **preview = scaledSample(**preview, factor);
}

} // namespace

std::vector<std::string> applyCompanionText(SongFileContext& context, std::string_view joinedText) {
    CompanionContent content;
    for (const Statement& statement : companionStatements(joinedText, content.problems))
        parseStatement(statement, content, context.meters);
    scaleToLoadedRate(content, context.player.sampleRate());
    context.song.setTimedInSeconds(content.standInRate > 0);
    if (content.previewStart)
        context.player.setPreviewStart(*content.previewStart);
    if (content.previewEnd)
        context.player.setPreviewEnd(*content.previewEnd);
    context.song.setBeatsBeforeFirstMarker(content.beatsBeforeFirstMarker);
    if (content.kept)
        context.song.kept() = std::move(*content.kept);
    if (content.anyNotes)
        showArrowLayer(context);
    {
        BusyGuard busy(context.store.busyCounter());
        addCompanionItems(context, content);
    }
    context.store.refresh();
    return std::move(content.problems);
}

CompanionFile readCompanionFile(const std::string& path) {
    std::error_code failed;
    if (std::filesystem::is_directory(path, failed))
        return {CompanionFile::State::Folder, {}};
    JoinedText text = readJoinedText(path, TextKind::Companion);
    if (text.opened)
        return {CompanionFile::State::Read, std::move(text.text)};
    return {std::filesystem::exists(path, failed) ? CompanionFile::State::Unreadable
                                                  : CompanionFile::State::Missing,
            {}};
}

bool readCompanion(SongFileContext& context, const std::string& companionPath,
                   const CompanionFile& file, std::string_view expectedCheck) {
    if (file.state != CompanionFile::State::Read || splitStatements(file.text).empty()) {
        context.messages.show(unreadMessage(companionPath, file.state));
        context.store.refresh();
        return false;
    }
    std::vector<std::string> problems = applyCompanionText(context, file.text);
    if (!expectedCheck.empty() && expectedCheck != companionCheckValue(file.text) &&
        problems.empty())
        problems.push_back("It is not the companion that was saved with the song file: it was "
                           "changed or replaced since, or that save was interrupted.  Its "
                           "beats and notes are loaded as they are; check them against the "
                           "song before saving.");
    if (!problems.empty()) {
        std::string text = "Some of " + companionPath +
                           " could not be read as it was saved; the song opens with what could.";
        for (const std::string& problem : problems)
            text += "\n" + problem;
        context.messages.show(text);
    }
    return true;
}

} // namespace quillex
