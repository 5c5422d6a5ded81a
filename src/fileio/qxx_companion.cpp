#include "fileio/qxx_companion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "fileio/qxx_kept_data.h"
#include "fileio/statement_text.h"
#include "items/busy_counter.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
// The whole beats of the `.sm` file's grid before beat marker 1. Companions of earlier
// versions do not have it: their songs had none.
constexpr std::string_view kBeatsBeforeFirstMarkerKey = "#BEATSBEFOREFIRSTMARKER";
// Delays and warps in rows, like "#PAUSES": written only by songs that have them.
constexpr std::string_view kDelayRowsKey = "#DELAYROWS";
constexpr std::string_view kWarpRowsKey = "#WARPROWS";
// The rate of the silence a song was saved over (its music not found): the samples are
// counted at it, and music of another rate scales them to keep their times.
constexpr std::string_view kStandInRateKey = "#STANDINRATE";

// "<prefix>_<game type>_<difficulty>": the key of a statement about one level.
std::string levelKey(std::string_view prefix, LevelIndex level) {
    return std::string(prefix) + "_" + std::string(gameTypeInfo(gameTypeOfLevel(level)).qxxTag) +
           "_" + std::string(difficultyQxxTag(difficultyOfLevel(level)));
}

std::string notesKey(LevelIndex level) {
    return levelKey("#NOTES", level) + "_EX";
}

std::string footKey(LevelIndex level) {
    return levelKey("#FOOT", level);
}

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

// Everything a companion holds, gathered before any of it enters the store.
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
};

// The pieces of a list value: split at "," with empty pieces dropped.
std::vector<std::string_view> listPieces(std::string_view value) {
    return splitNonEmpty(value, ',');
}

// The "a=b" pieces of a list value as numbers; pieces without "=" are skipped.
std::vector<IntPair> intPairs(std::string_view value) {
    std::vector<IntPair> pairs;
    for (std::string_view piece : listPieces(value)) {
        const SplitPair pair = splitFirst(piece, '=');
        if (pair.found)
            pairs.push_back({textToInt(pair.first), textToInt(pair.second)});
    }
    return pairs;
}

void parseStatement(const Statement& s, CompanionContent& c, MeterTable& meters) {
    if (s.key == "#BEATLOC_EX") {
        c.beatLocations.clear();
        if (s.value.find(',') == std::string_view::npos)
            return; // a single location is no beat grid
        c.beatLocations = intPairs(s.value);
    } else if (s.key == "#BEATPROPS_EX") {
        for (std::string_view piece : listPieces(s.value)) {
            const SplitPair pair = splitFirst(piece, '=');
            if (pair.found)
                c.beatProps.emplace_back(pair.second);
        }
    } else if (s.key == "#PAUSES") {
        c.pauses = intPairs(s.value);
    } else if (s.key == kDelayRowsKey) {
        c.delays = intPairs(s.value);
    } else if (s.key == kWarpRowsKey) {
        c.warps = intPairs(s.value);
    } else if (s.key == kKeptDataKey) {
        c.kept = parseKeptDataValue(s.value);
    } else if (s.key == kBeatsBeforeFirstMarkerKey) {
        c.beatsBeforeFirstMarker = std::clamp(textToInt(s.value), 0, kLargestFileRow / 48);
    } else if (s.key == kStandInRateKey) {
        c.standInRate = std::max(textToInt(s.value), 0);
    } else if (s.key == "#SONGDEMOBEGIN") {
        c.previewStart = textToInt(s.value);
    } else if (s.key == "#SONGDEMOEND") {
        c.previewEnd = textToInt(s.value);
    } else if (const auto level = levelOfKey(s.key, true)) {
        const std::vector<std::string_view> pieces = listPieces(s.value);
        if (!pieces.empty())
            c.anyNotes = true;
        for (std::string_view piece : pieces) {
            const SplitPair pair = splitFirst(piece, '=');
            if (!pair.found)
                continue;
            // Missing "|" fields read as 0, like any text that is not a number.
            std::array<std::int32_t, 3> fields{};
            std::string_view rest = pair.second;
            for (std::size_t i = 0; i < fields.size() && !rest.empty(); ++i) {
                const SplitPair field = splitFirst(rest, '|');
                fields[i] = textToInt(field.first);
                rest = field.second;
            }
            c.notes[*level].push_back({textToInt(pair.first), fields[0], fields[1], fields[2]});
        }
    } else if (const auto level = levelOfKey(s.key, false)) {
        meters.set(*level, textToInt(s.value));
    }
}

void addCompanionItems(SongFileContext& context, const CompanionContent& c) {
    ItemStore& store = context.store;
    if (!c.beatLocations.empty() && c.beatLocations.size() == c.beatProps.size()) {
        for (std::size_t i = 0; i < c.beatLocations.size(); ++i) {
            const std::string& props = c.beatProps[i];
            const bool locked = props.size() == 4 && props[2] == '1';
            const bool white = props.size() == 4 && props[3] == '1';
            store.addBeatAtRow(c.beatLocations[i].second,
                               RowPosition::fromRow(fileRow(c.beatLocations[i].first)),
                               {.locked = locked, .white = white});
        }
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

void appendInt(std::string& out, std::int64_t value) {
    out += std::to_string(value);
}

// A list statement of start row "=" length rows, one pair per stretch.
void appendStretches(std::string& out, std::string_view key, const ItemList& stretches) {
    out.append(key).append(":");
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        if (i > 0)
            out += ',';
        appendInt(out, stretches[i].row());
        out += '=';
        appendInt(out, stretches[i].lengthRows());
    }
    out.append(";").append(kLineBreak);
}

// Samples counted at the silence a song was saved over, moved to the rate loaded now so
// that each keeps its time.
void scaleToLoadedRate(CompanionContent& c, int loadedRate) {
    if (c.standInRate <= 0 || loadedRate == c.standInRate)
        return;
    const double factor = static_cast<double>(loadedRate) / c.standInRate;
    const auto scaled = [factor](std::int32_t sample) {
        return static_cast<std::int32_t>(
            std::clamp(std::round(sample * factor), double{INT32_MIN}, double{INT32_MAX}));
    };
    for (IntPair& location : c.beatLocations)
        location.second = scaled(location.second);
    for (std::optional<std::int32_t>* preview : {&c.previewStart, &c.previewEnd})
        if (*preview)
            **preview = scaled(**preview);
}

} // namespace

void applyCompanionText(SongFileContext& context, std::string_view joinedText) {
    CompanionContent content;
    for (const Statement& statement : splitStatements(joinedText))
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
}

bool readCompanion(SongFileContext& context, const std::string& companionPath) {
    const JoinedText text = readJoinedText(companionPath, TextKind::Companion);
    if (!text.opened) {
        context.messages.show(kMissingCompanionMessage);
        context.store.refresh();
        return false;
    }
    applyCompanionText(context, text.text);
    return true;
}

std::string companionText(const ItemStore& store, const MeterTable& meters, int previewStart,
                          int previewEnd, SamplePosition cursor,
                          std::int32_t beatsBeforeFirstMarker, const KeptSongData& kept,
                          int standInRate) {
    std::string out;
    const ItemList& beats = store.beats();
    out += "#BEATLOC_EX:";
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (i > 0)
            out += ',';
        appendInt(out, beats[i].row());
        out += '=';
        appendInt(out, beats[i].sample);
    }
    out.append(";").append(kLineBreak);

    out += "#BEATPROPS_EX:";
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (i > 0)
            out += ',';
        appendInt(out, beats[i].row());
        out += "=0";
        out += beats[i].isSubBeat ? '1' : '0';
        out += beats[i].locked ? '1' : '0';
        out += beats[i].colour.red == 255 ? '1' : '0';
    }
    out.append(";").append(kLineBreak);

    appendStretches(out, "#PAUSES", store.pauses());
    // Written only when there are any, so a song without them keeps its old text.
    if (!store.delays().empty())
        appendStretches(out, kDelayRowsKey, store.delays());
    if (!store.warps().empty())
        appendStretches(out, kWarpRowsKey, store.warps());
    if (beatsBeforeFirstMarker > 0) {
        out.append(kBeatsBeforeFirstMarkerKey).append(":");
        appendInt(out, beatsBeforeFirstMarker);
        out.append(";").append(kLineBreak);
    }

    if (const std::string value = keptDataValue(kept); !value.empty())
        out.append(kKeptDataKey).append(":").append(value).append(";").append(kLineBreak);
    if (standInRate > 0) {
        out.append(kStandInRateKey).append(":");
        appendInt(out, standInRate);
        out.append(";").append(kLineBreak);
    }

    out.append("#SONGDEMOBEGIN:").append(std::to_string(previewStart)).append(";");
    out.append(kLineBreak);
    out.append("#SONGDEMOEND:").append(std::to_string(previewEnd)).append(";").append(kLineBreak);

    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const ItemList& notes = store.notes(level);
        if (notes.empty())
            continue;
        out += notesKey(level);
        out += ':';
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const EditItem& n = notes[i];
            if (i > 0)
                out += ',';
            appendInt(out, n.row());
            out += '=';
            appendInt(out, n.column);
            out += '|';
            appendInt(out, qxxTypeCode(n));
            out += '|';
            appendInt(out, n.isHold ? n.lengthRows() : 0);
        }
        out.append(";").append(kLineBreak);
    }
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        if (store.notes(level).empty())
            continue;
        out.append(footKey(level)).append(":").append(std::to_string(meters.get(level)));
        out.append(";").append(kLineBreak);
    }
    out.append("#WAVECURSOR:").append(std::to_string(cursor)).append(";").append(kLineBreak);
    return out;
}

} // namespace quillex
