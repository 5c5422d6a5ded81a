#include "fileio/sm_tempo_entries.h"

#include <algorithm>

#include "base/number_format.h"
#include "fileio/statement_text.h"
#include "model/row_position.h"

namespace quillex::sm_fit {

namespace {

// The file row of a fit row: the rows of the warps that start before it put back.
std::int64_t writtenRow(const SmTempoFitInput& in, std::int64_t row) {
    std::int64_t written = row;
    for (const SmWarpSpan& warp : in.warps)
        if (warp.timedRow < row)
            written += warp.length;
    return written;
}

} // namespace

WrittenNumber written(double value, int digits) {
    WrittenNumber w{formatNumber(value, digits), 0};
    w.value = textToDouble(w.text);
    return w;
}

std::string entryList(const SmTempoFitInput& in, const std::vector<Entry>& entries) {
    std::string out;
    for (const Entry& e : entries) {
        if (!out.empty())
            out += ',';
        appendNumber(out, static_cast<double>(writtenRow(in, e.row)) / kRowsPerBeat);
        out += '=';
        out += e.value->text;
    }
    return out;
}

std::string tempoList(const SmTempoFitInput& in, const std::vector<TempoRun>& runs) {
    std::vector<Entry> entries;
    if (in.removeDuplicateBpms) {
        for (const TempoRun& run : runs)
            if (entries.empty() || run.pinned || run.bpm.text != entries.back().value->text)
                entries.push_back({run.startRow, &run.bpm});
        return entryList(in, entries);
    }
    std::vector<std::int64_t> rows;
    for (const SmTimingPoint& p : in.points)
        if (p.kind == SmTimingPoint::Kind::Marker)
            rows.push_back(p.fileRow);
    for (const TempoRun& run : runs)
        rows.push_back(run.startRow);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::size_t run = 0;
    for (std::int64_t row : rows) {
        if (row < 0)
            continue;
        while (run + 1 < runs.size() && runs[run + 1].startRow <= row)
            ++run;
        entries.push_back({row, &runs[run].bpm});
    }
    return entryList(in, entries);
}

} // namespace quillex::sm_fit
