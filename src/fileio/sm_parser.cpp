#include "fileio/sm_parser.h"

#include <algorithm>
#include <array>

#include "fileio/sm_chart_text.h"
#include "model/game_type.h"

namespace quillex {

void appendTimedValues(std::string_view value, std::vector<SmTimedValue>& out) {
    if (value.find(',') == std::string_view::npos) {
        const SplitPair pair = splitFirst(value, '=');
        if (!pair.first.empty() && !pair.second.empty())
            out.push_back({textToDouble(pair.first), textToDouble(pair.second)});
        return;
    }
    for (std::string_view piece : splitNonEmpty(value, ',')) {
        const SplitPair pair = splitFirst(piece, '=');
        out.push_back({textToDouble(pair.first), textToDouble(pair.second)});
    }
}

namespace {

// The keys a song file is made of; a file with none of them is no song.
constexpr std::array<std::string_view, 22> kSongKeys = {
    "#TITLE", "#SUBTITLE", "#ARTIST",      "#TITLETRANSLIT", "#SUBTITLETRANSLIT", "#ARTISTTRANSLIT",
    "#GENRE", "#CREDIT",   "#BANNER",      "#BACKGROUND",    "#LYRICSPATH",       "#CDTITLE",
    "#MUSIC", "#OFFSET",   "#SAMPLESTART", "#SAMPLELENGTH",  "#SELECTABLE",       "#DISPLAYBPM",
    "#BPMS",  "#STOPS",    "#BGCHANGES",   "#NOTES"};

bool isUpperCaseSongKey(std::string_view key) {
    return std::find(kSongKeys.begin(), kSongKeys.end(), key) != kSongKeys.end();
}

// The statements the writers make themselves from the song and its markers.
// The .qx file's check value of its companion is written anew with every save.
constexpr std::array<std::string_view, 20> kWrittenSongKeys = {
    "#VERSION", "#TITLE",      "#SUBTITLE",   "#ARTIST",      "#GENRE",
    "#CREDIT",  "#MUSIC",      "#SELECTABLE", "#BACKGROUND",  "#BANNER",
    "#CDTITLE", "#DISPLAYBPM", "#OFFSET",     "#SAMPLESTART", "#SAMPLELENGTH",
    "#BPMS",    "#STOPS",      "#DELAYS",     "#WARPS",       "#QXXCHECK"};

// A note row holds a digit or capital letter per column ("0", "1" … "M", "L", "F", "K").
// A table, so that checking a measure costs one look-up per character.
constexpr std::array<bool, 256> kNoteCharacters = [] {
    std::array<bool, 256> table{};
    for (char c = '0'; c <= '9'; ++c)
        table[static_cast<unsigned char>(c)] = true;
    for (char c = 'A'; c <= 'Z'; ++c)
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();
bool isNoteCharacter(char c) {
    return kNoteCharacters[static_cast<unsigned char>(c)];
}

} // namespace

std::vector<std::string> splitMeasures(std::string_view noteData) {
    const std::vector<std::string_view> pieces = splitNonEmpty(noteData, ',');
    std::vector<std::string> measures;
    measures.reserve(pieces.size());
    for (std::string_view measure : pieces)
        measures.push_back(withoutBlanks(measure));
    return measures;
}

int emptyMeasuresThatAreNotNoteRows(std::vector<std::string>& measures, int columns) {
    int skipped = 0;
    for (std::string& measure : measures) {
        const bool noteRows = measure.size() % static_cast<std::size_t>(columns) == 0 &&
                              std::all_of(measure.begin(), measure.end(), isNoteCharacter);
        if (!noteRows) {
            measure.assign(static_cast<std::size_t>(columns), '0');
            ++skipped;
        }
    }
    return skipped;
}

namespace {

// The six fields of a "#NOTES" value, trimmed as the reader uses them.
struct NotesFields {
    std::string type; // lower-case
    std::string_view description;
    std::string difficulty; // lower-case
    std::string_view meter;
    std::vector<std::string> radarValues;
    std::string_view noteData;
    std::string_view typeAsRead, difficultyAsRead;
};

// Fewer than six fields are no chart. More are a chart whose note data holds a ":"
// (damaged): the note data is everything from the sixth field on, and the measures
// with the ":" are not note rows.
std::optional<NotesFields> splitNotesFields(std::string_view value) {
    std::vector<std::string_view> fields = splitNonEmpty(value, ':');
    if (fields.size() < 6)
        return std::nullopt;
    if (fields.size() > 6)
        fields[5] = value.substr(static_cast<std::size_t>(fields[5].data() - value.data()));
    // Fields are trimmed of blanks, not only of spaces: files written by other tools
    // indent them with tabs.
    NotesFields notes{toLower(trimBlanks(fields[0])),
                      trimBlanks(fields[1]),
                      toLower(trimBlanks(fields[2])),
                      trimBlanks(fields[3]),
                      {},
                      trimBlanks(fields[5]),
                      trimBlanks(fields[0]),
                      trimBlanks(fields[2])};
    for (std::string_view r : splitNonEmpty(trimBlanks(fields[4]), ','))
        notes.radarValues.emplace_back(trimBlanks(r));
    return notes;
}

std::optional<LevelIndex> editableLevel(const NotesFields& notes) {
    const std::optional<int> gameType = gameTypeFromSmName(notes.type);
    const std::optional<int> difficulty = difficultyFromName(notes.difficulty);
    if (!gameType || !difficulty)
        return std::nullopt;
    return levelIndex(*gameType, *difficulty);
}

// What the reader has found so far besides the statements, and the text it reads.
struct SmReading {
    SmFileContent& content;
    Messages& messages;
    std::string_view joinedText;
    const std::vector<std::size_t>& lineStarts;
    std::array<bool, kLevelCount> taken{};

    // The columns of a chart: its game type's, or for a type the editor does not know
    // the width of its first row as the file laid it out.
    int columnsOf(const NotesFields& notes) const {
        if (gameTypeFromSmName(notes.type) || lineStarts.empty())
            return chartColumnsOf(notes.typeAsRead);
        const std::size_t begin =
            static_cast<std::size_t>(notes.noteData.data() - joinedText.data());
        const std::size_t end = begin + notes.noteData.size();
        std::string lines;
        std::size_t from = begin;
        for (auto it = std::upper_bound(lineStarts.begin(), lineStarts.end(), begin);
             it != lineStarts.end() && *it < end; ++it) {
            lines.append(joinedText.substr(from, *it - from)).append("\n");
            from = *it;
        }
        lines.append(joinedText.substr(from, end - from));
        return firstRowWidth(lines).value_or(chartColumnsOf(notes.typeAsRead));
    }
};

// A chart the editor does not take becomes a chart kept as read, in its place.
void keepChart(NotesFields& notes, std::optional<LevelIndex> level, SmReading& reading) {
    const SmChart chart{std::string(notes.typeAsRead),
                        std::string(notes.description),
                        std::string(notes.difficultyAsRead),
                        std::string(notes.meter),
                        std::move(notes.radarValues),
                        splitMeasures(notes.noteData),
                        reading.columnsOf(notes)};
    KeptSongData& kept = reading.content.kept;
    kept.chartOrder.push_back({true, static_cast<int>(kept.charts.size())});
    kept.charts.push_back({keptSectionOf(chart), chart.type, chart.difficulty, "", false, level});
}

void parseNotes(std::string_view value, bool unclosed, SmReading& reading) {
    std::optional<NotesFields> notes = splitNotesFields(value);
    if (!notes) {
        reading.messages.show(kNotesErrorMessage);
        return;
    }
    SmFileContent& content = reading.content;
    const std::optional<LevelIndex> level = editableLevel(*notes);
    int measuresSkipped = 0;
    if (!level || reading.taken[*level] || hasNoteAnnotations(notes->noteData)) {
        keepChart(*notes, level, reading);
    } else {
        reading.taken[*level] = true;
        SmLevelData& data = content.timing.levels[*level];
        const std::int32_t meterValue = textToInt(notes->meter);
        data.meter = meterValue < 1 ? 1 : meterValue;
        data.measures = splitMeasures(notes->noteData);
        measuresSkipped =
            emptyMeasuresThatAreNotNoteRows(data.measures, columnCountOfLevel(*level));
        content.chartTexts[*level] = {std::string(notes->description),
                                      std::move(notes->radarValues)};
        content.kept.chartOrder.push_back({false, *level});
    }
    if (!unclosed && measuresSkipped == 0)
        return;
    content.damage.push_back(
        {chartDamageName(level, notes->type, notes->difficulty), unclosed, measuresSkipped});
}

} // namespace

std::string chartDamageName(std::optional<LevelIndex> level, std::string_view type,
                            std::string_view difficulty) {
    if (!level)
        return std::string(type) + " " + std::string(difficulty);
    return std::string(gameTypeInfo(gameTypeOfLevel(*level)).smName) + " " +
           std::string(difficultySmName(difficultyOfLevel(*level)));
}

namespace {

std::string countOf(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace

SmFileContent parseSmText(std::string_view joinedText, TagMap& tags, Messages& messages,
                          const std::vector<std::size_t>& addedClosings,
                          const std::vector<std::size_t>& lineStarts) {
    SmFileContent content;
    SmReading reading{content, messages, joinedText, lineStarts};
    for (const Statement& statement : splitStatements(joinedText)) {
        // Tempo, stops and charts are recognised whatever the case of their key and
        // whatever blanks surround it, as other tools write them; every other key
        // goes to the tag map exactly as the file spells it.
        const std::string key = toUpper(trimBlanks(statement.key));
        content.songTagsFound = content.songTagsFound || isUpperCaseSongKey(key);
        if (key == "#BPMS" || key == "#STOPS" || key == "#OFFSET")
            content.kept.songTiming.push_back({key, std::string(statement.value)});
        if (key == "#BPMS") {
            appendTimedValues(statement.value, content.timing.bpms);
        } else if (key == "#STOPS") {
            appendTimedValues(statement.value, content.timing.stops);
        } else if (key == "#NOTES") {
            parseNotes(statement.value, statementUnclosed(statement, joinedText, addedClosings),
                       reading);
        } else {
            tags.add(statement.key, statement.value);
            keepSongStatement(statement, content.kept);
        }
    }
    return content;
}

bool isSongKey(std::string_view key) {
    return isUpperCaseSongKey(toUpper(trimBlanks(key)));
}

bool isWrittenSongKey(std::string_view upperKey) {
    return std::find(kWrittenSongKeys.begin(), kWrittenSongKeys.end(), upperKey) !=
           kWrittenSongKeys.end();
}

void keepSongStatement(const Statement& statement, KeptSongData& kept) {
    const std::string_view key = trimBlanks(statement.key);
    if (key.starts_with('#') && !isWrittenSongKey(toUpper(key)))
        kept.songStatements.push_back({std::string(key), std::string(statement.value)});
}

bool hasNoteAnnotations(std::string_view noteData) {
    // Two searches for one character each: find_first_of would look up every character
    // of the notes in the set, which costs more than the rest of the reading.
    return noteData.find('[') != std::string_view::npos ||
           noteData.find('{') != std::string_view::npos;
}

std::string damageMessage(const std::string& path, const std::vector<ChartDamage>& damage) {
    if (damage.empty())
        return std::string();
    std::string text = "Some of " + path + " could not be read; the song opens with what could.";
    for (const ChartDamage& chart : damage) {
        text += "\n" + chart.chart + ":";
        if (chart.unclosed)
            text += " the chart ends without its closing \";\".";
        if (chart.measuresSkipped > 0)
            text += " skipped " + countOf(chart.measuresSkipped, "measure", "measures") +
                    (chart.measuresSkipped == 1 ? " that is" : " that are") +
                    " not made of note rows.";
    }
    return text;
}

} // namespace quillex
