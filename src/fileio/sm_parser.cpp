#include "fileio/sm_parser.h"

#include "fileio/statement_text.h"
#include "model/game_type.h"

namespace quillex {

namespace {

// "#BPMS" and "#STOPS": beat=value pairs separated by ",". A value without "," is one
// pair, taken only when both of its texts are there.
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

// Note data spreads over many lines, which are joined without separators; blanks
// inside it (indentation, trailing spaces) carry no meaning and are removed.
std::vector<std::string> splitMeasures(std::string_view noteData) {
    std::vector<std::string> measures;
    for (std::string_view measure : splitNonEmpty(noteData, ','))
        measures.push_back(withoutBlanks(measure));
    return measures;
}

void parseNotes(std::string_view value, SmFileContent& content, Messages& messages) {
    const std::vector<std::string_view> fields = splitNonEmpty(value, ':');
    if (fields.size() != 6) {
        messages.show(kNotesErrorMessage);
        return;
    }
    // Fields are trimmed of blanks, not only of spaces: files written by other tools
    // indent them with tabs.
    const std::string type = toLower(trimBlanks(fields[0]));
    const std::string_view description = trimBlanks(fields[1]);
    const std::string difficulty = toLower(trimBlanks(fields[2]));
    const std::string_view meter = trimBlanks(fields[3]);
    const std::string_view noteData = trimBlanks(fields[5]);

    const std::optional<int> gameType = gameTypeFromSmName(type);
    if (!gameType) {
        ForeignChart chart;
        chart.typeName = type;
        chart.description = std::string(description);
        chart.difficultyName = difficulty;
        chart.meterText = std::string(meter);
        for (std::string_view r : splitNonEmpty(trimBlanks(fields[4]), ','))
            chart.radarValues.emplace_back(trimBlanks(r));
        chart.measures = splitMeasures(noteData);
        content.foreignCharts.push_back(std::move(chart));
        return;
    }
    const std::optional<int> difficultyIndex = difficultyFromName(difficulty);
    if (!difficultyIndex)
        return; // a known game type at an unknown difficulty is dropped
    SmLevelData& level = content.timing.levels[levelIndex(*gameType, *difficultyIndex)];
    const std::int32_t meterValue = textToInt(meter);
    level.meter = meterValue < 1 ? 1 : meterValue;
    level.measures = splitMeasures(noteData);
}

} // namespace

SmFileContent parseSmText(std::string_view joinedText, TagMap& tags, Messages& messages) {
    SmFileContent content;
    for (const Statement& statement : splitStatements(joinedText)) {
        // Tempo, stops and charts are recognised whatever the case of their key and
        // whatever blanks surround it, as other tools write them; every other key
        // goes to the tag map exactly as the file spells it.
        const std::string key = toUpper(trimBlanks(statement.key));
        if (key == "#BPMS")
            appendTimedValues(statement.value, content.timing.bpms);
        else if (key == "#STOPS")
            appendTimedValues(statement.value, content.timing.stops);
        else if (key == "#NOTES")
            parseNotes(statement.value, content, messages);
        else
            tags.add(statement.key, statement.value);
    }
    return content;
}

} // namespace quillex
