// The lists the tempo fit writes: numbers as they are written and read back, the tempo
// runs it found, and the "beat=value" entries of #BPMS, #STOPS and #DELAYS, put on the
// file's rows (the warp rows the fit leaves out put back in).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileio/sm_tempo_fit.h"

namespace quillex::sm_fit {

// A number as it is written and as it reads back.
struct WrittenNumber {
    std::string text;
    double value = 0;
};

// `value` written with at most `digits` significant digits.
WrittenNumber written(double value, int digits = 6);

struct TempoRun {
    std::int64_t startRow;
    WrittenNumber bpm;
    bool pinned; // starts on a sub-beat marker: its entry is written even when repeated
};

struct Entry {
    std::int64_t row;
    const WrittenNumber* value;
};

std::string entryList(const SmTempoFitInput& in, const std::vector<Entry>& entries);

// One entry per run, a repeated tempo left out unless its run starts on a sub-beat; or,
// with duplicates kept, one on every marker's row and every run's start.
std::string tempoList(const SmTempoFitInput& in, const std::vector<TempoRun>& runs);

} // namespace quillex::sm_fit
