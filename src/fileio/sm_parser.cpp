#include "fileio/sm_parser.h"

#include <algorithm>
#include <array>

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
                      trimBlanks(fields[5])};
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

void parseNotes(std::string_view value, bool unclosed, SmFileContent& content, Messages& messages) {
    std::optional<NotesFields> notes = splitNotesFields(value);
    if (!notes) {
        messages.show(kNotesErrorMessage);
        return;
    }
    const std::optional<LevelIndex> level = editableLevel(*notes);
    int measuresSkipped = 0;
    if (!gameTypeFromSmName(notes->type)) {
        ForeignChart chart{notes->type,
                           std::string(notes->description),
                           notes->difficulty,
                           std::string(notes->meter),
                           std::move(notes->radarValues),
                           splitMeasures(notes->noteData)};
        content.foreignCharts.push_back(std::move(chart));
    } else if (level) {
        SmLevelData& data = content.timing.levels[*level];
        const std::int32_t meterValue = textToInt(notes->meter);
        data.meter = meterValue < 1 ? 1 : meterValue;
        data.measures = splitMeasures(notes->noteData);
        measuresSkipped =
            emptyMeasuresThatAreNotNoteRows(data.measures, columnCountOfLevel(*level));
        content.chartTexts[*level] = {std::string(notes->description),
                                      std::move(notes->radarValues)};
    } else {
        return; // a known game type at an unknown difficulty is dropped
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
                          const std::vector<std::size_t>& addedClosings) {
    SmFileContent content;
    for (const Statement& statement : splitStatements(joinedText)) {
        // Tempo, stops and charts are recognised whatever the case of their key and
        // whatever blanks surround it, as other tools write them; every other key
        // goes to the tag map exactly as the file spells it.
        const std::string key = toUpper(trimBlanks(statement.key));
        content.songTagsFound = content.songTagsFound || isUpperCaseSongKey(key);
        if (key == "#BPMS")
            appendTimedValues(statement.value, content.timing.bpms);
        else if (key == "#STOPS")
            appendTimedValues(statement.value, content.timing.stops);
        else if (key == "#NOTES")
            parseNotes(statement.value, statementUnclosed(statement, joinedText, addedClosings),
                       content, messages);
        else
            tags.add(statement.key, statement.value);
    }
    return content;
}

bool isSongKey(std::string_view key) {
    return isUpperCaseSongKey(toUpper(trimBlanks(key)));
}

ChartTextTable chartTextsOf(const std::vector<Statement>& statements) {
    ChartTextTable texts;
    for (const Statement& statement : statements) {
        if (toUpper(trimBlanks(statement.key)) != "#NOTES")
            continue;
        std::optional<NotesFields> notes = splitNotesFields(statement.value);
        if (!notes)
            continue;
        if (const std::optional<LevelIndex> level = editableLevel(*notes))
            texts[*level] = {std::string(notes->description), std::move(notes->radarValues)};
    }
    return texts;
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
