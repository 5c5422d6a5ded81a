#include "model/song.h"

namespace quillex {

namespace {

MeasureResolution makeResolution(int rowsPerMeasure) {
    std::string pattern(kRowsPerMeasure, '0');
    const int step = kRowsPerMeasure / rowsPerMeasure;
    for (int i = 0; i < kRowsPerMeasure; i += step)
        pattern[i] = '1';
    return {rowsPerMeasure, std::move(pattern)};
}

} // namespace

Song::Song()
    : resolutions_{makeResolution(4),  makeResolution(8),  makeResolution(12),
                   makeResolution(16), makeResolution(24), makeResolution(32),
                   makeResolution(48), makeResolution(64), makeResolution(96)} {}

// What the last file filled is given back, not only emptied: a song opened after a
// bigger one starts as small as the first.
void Song::clearFileData() {
    tags_.clear();
    ChartTextTable fresh;
    chartTexts_.swap(fresh);
    kept_ = KeptSongData();
    beatsBeforeFirstMarker_ = 0;
    musicLocated_ = false;
    timedInSeconds_ = false;
}

std::string keptChartLabel(const KeptChart& chart) {
    std::string label = chart.stepsType + " " + chart.difficulty;
    if (!chart.chartName.empty())
        label += " \"" + chart.chartName + "\"";
    return label;
}

void Song::reset() {
    properties_.reset();
    clearFileData();
}

} // namespace quillex
