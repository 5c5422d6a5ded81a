// Writes demo.sm (see demo_chart.h). Notes are placed by row (48 rows a beat, row 0 is .sm
// beat 0); the measures are written with the fewest rows that hold their notes.
#include "demo_chart.h"

#include "demo_timing.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace demo {

namespace {

constexpr int rowsPerBeat = 48;
constexpr int rowsPerMeasure = 4 * rowsPerBeat;
constexpr int columns = 4; // dance-single: left, down, up, right

class Chart {
  public:
    // A hold ('2') or roll ('4') runs lengthBeats; taps, mines and lifts have no length.
    // A note is left out when its column is already taken at that row by another note or a
    // hold, so the hand-written patterns below can overlap freely.
    void add(double beat, int column, char kind, double lengthBeats = 0) {
        const int row = static_cast<int>(beat * rowsPerBeat + 0.5);
        const int end = row + static_cast<int>(lengthBeats * rowsPerBeat + 0.5);
        for (int r = row; r <= end; ++r) {
            if (taken_.count({r, column}) != 0) {
                return;
            }
        }
        for (int r = row; r <= end; ++r) {
            taken_.insert({{r, column}, true});
        }
        grid_[row][column] = kind;
        if (end > row) {
            grid_[end][column] = '3';
        }
    }

    std::string measures() const {
        std::string text;
        for (int measure = 0; measure < measureCount; ++measure) {
            const int first = measure * rowsPerMeasure;
            int rows = rowsPerMeasure;
            for (int candidate : {4, 8, 12, 16, 24, 32, 48, 64, 96, 192}) {
                if (fits(first, rowsPerMeasure / candidate)) {
                    rows = candidate;
                    break;
                }
            }
            const int step = rowsPerMeasure / rows;
            for (int r = first; r < first + rowsPerMeasure; r += step) {
                text += rowText(r) + "\n";
            }
            text += measure + 1 < measureCount ? ",\n" : ";\n";
        }
        return text;
    }

  private:
    bool fits(int first, int step) const {
        for (auto it = grid_.lower_bound(first);
             it != grid_.end() && it->first < first + rowsPerMeasure; ++it) {
            if ((it->first - first) % step != 0) {
                return false;
            }
        }
        return true;
    }

    std::string rowText(int row) const {
        const auto it = grid_.find(row);
        if (it == grid_.end()) {
            return std::string(columns, '0');
        }
        return std::string(it->second.begin(), it->second.end());
    }

    struct Row : std::vector<char> {
        Row() : std::vector<char>(columns, '0') {}
    };
    std::map<int, Row> grid_;
    std::map<std::pair<int, int>, bool> taken_;
};

// The walking pattern both charts are built on: one arrow a beat.
const int walk[8] = {0, 1, 2, 3, 3, 2, 1, 0};

Chart easyChart() {
    Chart chart;
    chart.add(8, 0, '2', 2);
    chart.add(22.5, 3, 'M');
    chart.add(40, 3, '2', 3);
    chart.add(62.5, 0, 'M');
    for (int beat = 4; beat < 84; ++beat) {
        // A rest on the last beat of every second measure.
        if (beat % 8 != 7) {
            chart.add(beat, walk[beat % 8], '1');
        }
    }
    chart.add(84, 0, '1');
    chart.add(84, 3, '1');
    return chart;
}

Chart mediumChart() {
    Chart chart;
    chart.add(12, 1, '2', 3);
    chart.add(36, 2, '4', 2);
    chart.add(56, 0, '2', 4);
    chart.add(20.5, 0, 'M');
    chart.add(21.5, 3, 'M');
    chart.add(44.5, 1, 'M');
    chart.add(70.5, 2, 'L');
    chart.add(32, 0, '1'); // a jump where the tempo changes
    chart.add(32, 3, '1');
    for (int beat = 4; beat < 84; ++beat) {
        chart.add(beat, walk[beat % 8], '1');
        // Eighths on the hi-hats in the busier stretches.
        const int measure = beat / 4;
        if ((measure >= 3 && measure < 8) || (measure >= 12 && measure < 20)) {
            chart.add(beat + 0.5, walk[(beat + 3) % 8], '1');
        }
    }
    chart.add(84, 0, '1');
    chart.add(84, 3, '1');
    return chart;
}

std::string notesBlock(const char* difficulty, int meter, const Chart& chart) {
    std::string text = "//---------------dance-single - ----------------\n#NOTES:\n";
    text += "     dance-single:\n     :\n     " + std::string(difficulty) + ":\n";
    text += "     " + std::to_string(meter) + ":\n     0.000,0.000,0.000,0.000,0.000:\n";
    return text + chart.measures();
}

} // namespace

bool writeDemoSm(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return false;
    }
    char timing[160];
    std::snprintf(timing, sizeof timing, "#OFFSET:%g;\n", -firstBeatSeconds);
    file << "#TITLE:quillex demo;\n#SUBTITLE:;\n#ARTIST:quillex;\n#CREDIT:;\n"
         << "#MUSIC:demo.ogg;\n#SELECTABLE:YES;\n#BACKGROUND:;\n#BANNER:;\n#CDTITLE:;\n"
         << timing << "#SAMPLESTART:9.500;\n#SAMPLELENGTH:12.000;\n";
    std::snprintf(timing, sizeof timing, "#BPMS:0=%g,%g=%g;\n#STOPS:%g=%g;\n", firstBpm,
                  tempoChangeBeat, secondBpm, stopBeat, stopSeconds);
    file << timing;
    file << notesBlock("Easy", 3, easyChart()) << notesBlock("Medium", 6, mediumChart());
    return static_cast<bool>(file);
}

} // namespace demo
