// A chart as a `.sm` "#NOTES" statement holds it, and its text. The `.sm` reader keeps a
// chart it does not edit (a second chart of a level already taken, a game type or
// difficulty the editor does not know, notes with keysounds) as the chart section a
// `.ssc` file would give it, so that one kind of kept chart serves every format; the
// `.sm` writer writes a kept section back as "#NOTES".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/kept_charts.h"

namespace quillex {

struct SmChart {
    std::string type; // as the file spells it
    std::string description;
    std::string difficulty; // as the file spells it
    std::string meter;
    std::vector<std::string> radarValues;
    std::vector<std::string> measures; // blanks removed
    int columns = 4;                   // note characters in a row
};

// The columns of a chart's game type: the editor's for a type it edits, otherwise a
// guess from the few other types it knows of (four when it knows none).
int chartColumnsOf(std::string_view stepsType);
// The columns of a kept chart: those of a type the editor edits, otherwise the width of
// the section's first row (a file lays its notes out a row a line), otherwise the
// guess of chartColumnsOf.
int keptChartColumns(const KeptChart& chart);
// The width of the first row of notes laid out a row a line (blanks, comments and
// bracketed keysounds or attributes not counted); nothing when there is no row.
std::optional<int> firstRowWidth(std::string_view noteLines);

// The comment line and "#NOTES:" a chart starts with, its type, description, difficulty
// and meter fields, one indented line each, then the radar values: every value given,
// and zeros for the missing ones up to five (a chart made here has none).
void appendSmChartHeader(std::string& out, std::string_view type, std::string_view description,
                         std::string_view difficulty, std::string_view meter,
                         const std::vector<std::string>& radarValues);

// The measures a row a line: `columns` note characters each, a keysound ("1[3]") or
// attributes ("{...}") staying with their note; "," after each measure and ";" after
// the last (only ";" when there is none).
void appendMeasureRows(std::string& out, const std::vector<std::string>& measures, int columns);

// The whole "#NOTES" statement.
void appendSmChart(std::string& out, const SmChart& chart);

// The chart section a kept `.sm` chart is held as (line breaks CR LF).
std::string keptSectionOf(const SmChart& chart);

// The `.sm` fields of a kept chart's section.
SmChart smChartOf(const KeptChart& chart);

} // namespace quillex
