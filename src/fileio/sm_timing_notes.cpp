#include "fileio/sm_timing_rows.h"

#include <array>

namespace quillex::sm_timing {

namespace {

bool isNoteCharacter(char c) {
    return c == '1' || c == '2' || c == '4' || c == 'M' || c == 'L';
}

// The editor row of file rows given in ascending order: moved by the pauses and delays
// before it. A row with a stop of its own stays at the pause's start, as its notes
// sound when the stop begins; a row with a delay lies at the delay's end, as its notes
// sound when the delay ends.
class EditorRowOf {
  public:
    EditorRowOf(const std::vector<TimingRow>& rows, std::int64_t firstRow)
        : rows_(rows), firstRow_(firstRow) {}
    std::int64_t operator()(std::int64_t fileRow) {
        while (next_ < rows_.size() && rows_[next_].row < fileRow) {
            const TimingRow& r = rows_[next_++];
            added_ = std::min(added_ + r.delayRows + r.pauseRows, kRowLimit);
        }
        const std::int64_t delay =
            next_ < rows_.size() && rows_[next_].row == fileRow ? rows_[next_].delayRows : 0;
        return fileRow - firstRow_ + added_ + delay;
    }

  private:
    const std::vector<TimingRow>& rows_;
    std::int64_t firstRow_;
    std::size_t next_ = 0;
    std::int64_t added_ = 0;
};

// Adds the notes of one level. Every measure spans four beats whatever its line count:
// line i of R lies on the row nearest to 192 × i / R. Past 192 lines two lines can
// fall on one row; a note whose column is taken there moves to the next row, and is
// lost only when the measure has no row left for it. A hold or roll head reaches the
// next "3" of its column, or one row past the chart's last row when no tail follows.
// Beat marker 1 lies on or before the beat of the first note, so every note has a row
// at or after it.

// The row of line `i` of a measure of `lines` lines starting at `measureStart`.
std::int64_t nearestRowOfLine(std::int64_t measureStart, std::int64_t i, std::int64_t lines) {
    return measureStart + (2 * kRowsPerMeasure * i + lines) / (2 * lines);
}
} // namespace

std::int64_t firstNoteRow(const SmTimingInput& input) {
    std::int64_t first = -1;
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const auto columns = static_cast<std::size_t>(columnCountOfLevel(level));
        std::int64_t measureStart = 0;
        for (const std::string& measure : input.levels[level].measures) {
            if (first >= 0 && measureStart > first)
                break;
            const std::size_t lineCount = measure.size() / columns;
            const auto at = std::find_if(measure.begin(), measure.end(), isNoteCharacter);
            if (lineCount > 0 && at != measure.end()) {
                const std::size_t width = measure.size() / lineCount;
                const auto line = static_cast<std::int64_t>(
                    std::min<std::size_t>((at - measure.begin()) / width, lineCount - 1));
                const std::int64_t row =
                    nearestRowOfLine(measureStart, line, static_cast<std::int64_t>(lineCount));
                first = first < 0 ? row : std::min(first, row);
                break;
            }
            measureStart += kRowsPerMeasure;
        }
    }
    return first;
}

void addNotes(const SmLevelData& data, LevelIndex level, const std::vector<TimingRow>& rows,
              std::int64_t firstRow, std::vector<ConvertedNote>& notes) {
    EditorRowOf editorRowOf(rows, firstRow);
    const int columns = columnCountOfLevel(level);
    std::array<std::vector<std::size_t>, kMaxColumns> openHolds; // indices into notes
    std::array<std::int64_t, kMaxColumns> lastRow;
    lastRow.fill(-1);
    std::int64_t measureStart = 0;
    const auto closeHolds = [&](int column, std::int64_t tailRow) {
        for (std::size_t head : openHolds[column])
            notes[head].lengthRows =
                clampToInt32(std::max<std::int64_t>(0, tailRow - notes[head].row));
        openHolds[column].clear();
    };
    for (const std::string& measure : data.measures) {
        const std::size_t lineCount = measure.size() / static_cast<std::size_t>(columns);
        const std::size_t width = lineCount == 0 ? 0 : measure.size() / lineCount;
        const auto lines = static_cast<std::int64_t>(lineCount);
        for (std::int64_t i = 0; i < lines; ++i) {
            const std::int64_t nearest = nearestRowOfLine(measureStart, i, lines);
            const char* text = measure.data() + static_cast<std::size_t>(i) * width;
            for (int j = 0; j < columns; ++j) {
                const char ch = text[j];
                if (ch != '3' && !isNoteCharacter(ch))
                    continue;
                std::int64_t row = nearest;
                if (row <= lastRow[j]) {
                    row = lastRow[j] + 1;
                    if (row >= measureStart + kRowsPerMeasure)
                        continue;
                }
                lastRow[j] = row;
                const std::int64_t editorRow = editorRowOf(row);
                if (ch == '3') {
                    closeHolds(j, editorRow);
                    continue;
                }
                if (row < firstRow)
                    continue;
                if (ch == '2' || ch == '4')
                    openHolds[j].push_back(notes.size());
                notes.push_back({level, j, clampToInt32(editorRow), 0, ch});
            }
        }
        measureStart += kRowsPerMeasure;
    }
    const std::int64_t chartEnd = editorRowOf(measureStart);
    for (int j = 0; j < columns; ++j)
        closeHolds(j, chartEnd);
}

} // namespace quillex::sm_timing
