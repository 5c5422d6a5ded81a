#include "fileio/sm_chart_text.h"

#include <algorithm>

#include "fileio/sm_file_layout.h"
#include "fileio/ssc_parser.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

constexpr std::string_view kIndent = "     ";

// The length of the row that starts at `pos`: `columns` characters, each with the
// bracketed text that follows it. A row cut short by the measure's end is what is left.
std::size_t rowLength(std::string_view measure, std::size_t pos, int columns) {
    std::size_t end = pos;
    for (int c = 0; c < columns && end < measure.size(); ++c) {
        ++end;
        while (end < measure.size() && (measure[end] == '[' || measure[end] == '{')) {
            const char closing = measure[end] == '[' ? ']' : '}';
            const std::size_t close = measure.find(closing, end);
            end = close == std::string_view::npos ? measure.size() : close + 1;
        }
    }
    return end - pos;
}

} // namespace

int chartColumnsOf(std::string_view stepsType) {
    if (const std::optional<int> type = gameTypeFromSmName(toLower(stepsType)))
        return gameTypeInfo(*type).columns;
    return foreignColumnCount(stepsType);
}

std::optional<int> firstRowWidth(std::string_view noteLines) {
    while (!noteLines.empty()) {
        const std::size_t end = std::min(noteLines.find_first_of("\r\n"), noteLines.size());
        std::string_view line = noteLines.substr(0, end);
        noteLines.remove_prefix(std::min(end + 1, noteLines.size()));
        line = trimBlanks(line.substr(0, line.find("//")));
        if (line.empty())
            continue;
        if (line.front() == ',' || line.front() == ';')
            return std::nullopt;
        int width = 0;
        for (std::size_t pos = 0; pos < line.size(); ++pos) {
            if (line[pos] == '[' || line[pos] == '{')
                pos = std::min(line.find(line[pos] == '[' ? ']' : '}', pos), line.size());
            else if (!isBlank(line[pos]))
                ++width;
        }
        return width;
    }
    return std::nullopt;
}

int keptChartColumns(const KeptChart& chart) {
    if (gameTypeFromSmName(toLower(chart.stepsType)))
        return chartColumnsOf(chart.stepsType);
    const std::string_view section = chart.sectionText;
    const std::size_t notes = toUpper(section).find("#NOTES");
    const std::size_t colon = section.find(':', notes);
    const std::optional<int> width =
        notes == std::string_view::npos || colon == std::string_view::npos
            ? std::nullopt
            : firstRowWidth(section.substr(colon + 1));
    return width && *width > 0 ? *width : chartColumnsOf(chart.stepsType);
}

void appendSmChartHeader(std::string& out, std::string_view type, std::string_view description,
                         std::string_view difficulty, std::string_view meter,
                         const std::vector<std::string>& radarValues) {
    out.append("//---------------").append(type).append(" - ----------------");
    out.append(kFileLineBreak);
    appendFileLine(out, "#NOTES:");
    for (std::string_view field : {type, description, difficulty, meter})
        out.append(kIndent).append(field).append(":").append(kFileLineBreak);
    out.append(kIndent);
    const std::size_t count = std::max<std::size_t>(radarValues.size(), 5);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += ',';
        out += i < radarValues.size() ? radarValues[i] : std::string("0.000");
    }
    out.append(":").append(kFileLineBreak);
}

void appendMeasureRows(std::string& out, const std::vector<std::string>& measures, int columns) {
    for (std::size_t m = 0; m < measures.size(); ++m) {
        const std::string_view measure = measures[m];
        for (std::size_t pos = 0; pos < measure.size();) {
            const std::size_t length = rowLength(measure, pos, std::max(columns, 1));
            appendFileLine(out, measure.substr(pos, length));
            pos += length;
        }
        appendFileLine(out, m + 1 < measures.size() ? "," : ";");
    }
    if (measures.empty())
        appendFileLine(out, ";");
}

void appendSmChart(std::string& out, const SmChart& chart) {
    appendSmChartHeader(out, chart.type, chart.description, chart.difficulty, chart.meter,
                        chart.radarValues);
    appendMeasureRows(out, chart.measures, chart.columns);
}

std::string keptSectionOf(const SmChart& chart) {
    std::string radar;
    for (const std::string& value : chart.radarValues)
        radar.append(radar.empty() ? "" : ",").append(value);
    std::string out;
    for (const auto& [key, value] : {std::pair<std::string_view, std::string_view>{"#NOTEDATA", ""},
                                     {"#STEPSTYPE", chart.type},
                                     {"#DESCRIPTION", chart.description},
                                     {"#DIFFICULTY", chart.difficulty},
                                     {"#METER", chart.meter},
                                     {"#RADARVALUES", radar}})
        out.append(key).append(":").append(value).append(";").append(kFileLineBreak);
    appendFileLine(out, "#NOTES:");
    appendMeasureRows(out, chart.measures, chart.columns);
    return out;
}

SmChart smChartOf(const KeptChart& chart) {
    ChartSectionTexts texts = chartSectionTextsOf(chart.sectionText);
    return {chart.stepsType,
            std::move(texts.texts.description),
            chart.difficulty,
            std::move(texts.meterText),
            std::move(texts.texts.radarValues),
            chartMeasuresOf(chart.sectionText),
            keptChartColumns(chart)};
}

} // namespace quillex
