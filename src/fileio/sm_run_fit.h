// One tempo run of a written `.sm` file, from a start the reader's arithmetic fixes
// exactly: the tempos that bring every marker of the run back on its sample as the
// reader places them, narrowed marker by marker, and the simplest of them.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "base/simplest_number.h"
#include "fileio/sm_tempo_entries.h"

namespace quillex::sm_fit {

// The BPM of `slope` samples per row.
double bpmOfSlope(double slope, int rate);

// The simplest number near [lo, hi] that `keeps` accepts as it reads back, with up to
// `maxDigits` significant digits. The range only guides the search: `keeps` decides,
// exactly as the reader will compute.
template <class Keeps>
std::optional<WrittenNumber> simplestKept(double lo, double hi, int maxDecimals, const Keeps& keeps,
                                          int maxDigits = 6) {
    std::optional<WrittenNumber> found;
    offerSimplestNumbers(
        lo, hi, maxDecimals,
        [&](double value, int digits) {
            WrittenNumber w = written(value, digits);
            if (!keeps(w.value))
                return false;
            found = std::move(w);
            return true;
        },
        maxDigits);
    return found;
}

// One tempo run: it starts at the reader's exact position x on a row. The tempos that
// keep every marker of the run on its sample form a range of samples per row, narrowed
// by each marker taken in; the markers are kept to check a tempo exactly.
class RunFit {
  public:
    explicit RunFit(int rate) : rate_(rate) {}

    // Starts a run at x on `row`; its tempo may take up to `maxDigits` significant
    // digits where fewer cannot keep it.
    void start(double x, std::int64_t row, int maxDigits = kMostSignificantDigits);
    double x() const { return x_; }
    std::int64_t startRow() const { return startRow_; }
    std::int64_t lastRow() const { return lastRow_; }

    // Takes a marker in when a tempo that can be written keeps it and all before it on
    // their samples. A marker on the start row leaves the range as it is.
    bool add(std::int64_t row, double sample);
    // Takes a marker in on its own, whether or not a tempo can be written for it.
    void force(std::int64_t row, double sample);

    // Whether some marker limits the tempo.
    bool limited() const { return !members_.empty() && hi_ > 0; }
    // Whether a tempo that can be written keeps every marker of the run exactly (the
    // range of tempos may hold none when a marker lies half a sample off).
    bool keepable() const;
    double middleTempo() const;

    // Calls `take` with the tempos that keep every marker of the run on its sample, as
    // they are written and read back, simplest first: the fewest decimals (up to three,
    // nearest the middle of the range among equals), then six significant digits, and
    // only when none of those keeps the run, more digits. At most `limit` of them,
    // until `take` returns true.
    template <class Take> void forEachTempo(int limit, const Take& take) const;

  private:
    struct Member {
        std::int64_t rows;
        double sample;
    };

    void take(std::int64_t row, double sample);
    // The samples per row that put the reader's position within half a sample of the
    // marker's sample.
    std::pair<double, double> bounds(std::int64_t row, double sample) const;
    // The BPM range of a range of samples per row; a range reaching zero samples per
    // row is cut at a thousandth of its top.
    std::pair<double, double> bpmRange(double lo, double hi) const;
    bool writable(double lo, double hi) const;
    bool keepsAll(double bpm) const;

    int rate_;
    int maxDigits_ = kMostSignificantDigits;
    double x_ = 0;
    std::int64_t startRow_ = 0, lastRow_ = 0;
    double lo_ = 0, hi_ = 0;
    std::vector<Member> members_;
};

template <class Take> void RunFit::forEachTempo(int limit, const Take& take) const {
    constexpr int kTempoDecimals = 3;
    const auto [lo, hi] = bpmRange(lo_, hi_);
    const double middle = lo / 2 + hi / 2;
    const double slack = (lo + hi) * 1e-12; // an edge of the range may be exact
    bool offered = false;
    const auto offer = [&](const WrittenNumber& bpm) {
        if (!keepsAll(bpm.value))
            return false;
        offered = true;
        return take(bpm) || --limit <= 0;
    };
    double scale = 1;
    for (int d = 0; d <= kTempoDecimals; ++d, scale *= 10) {
        const auto tryK = [&](double k) {
            // k / scale reads back from its text exactly when it has six digits.
            if (k >= 1e6 || (d > 0 && std::fmod(k, 10) == 0))
                return false;
            return offer(written(k / scale));
        };
        if (nearestFirst(std::ceil((lo - slack) * scale), std::floor((hi + slack) * scale),
                         std::round(middle * scale), kSimplestCandidatesPerLevel, tryK))
            return;
    }
    for (int digits = 6; digits <= maxDigits_ && !(digits > 6 && offered); ++digits)
        if (offerNumbersOfDigits(lo - slack, hi + slack, middle, digits, digits > 6,
                                 [&](double v, int n) { return offer(written(v, n)); }))
            return;
}

} // namespace quillex::sm_fit
