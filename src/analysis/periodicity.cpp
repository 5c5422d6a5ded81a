#include "analysis/periodicity.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include <fftw3.h>

#include "analysis/fftw_planner.h"

namespace quillex {

namespace {

// The autocorrelation between its whole lags, read on a parabola through three.
double valueAt(const std::vector<double>& acf, double lag) {
    const auto i = static_cast<std::size_t>(std::floor(lag));
    if (i + 1 >= acf.size())
        return 0;
    const double f = lag - static_cast<double>(i);
    return acf[i] * (1 - f) + acf[i + 1] * f;
}

double combScore(const std::vector<double>& acf, double lag) {
    double score = 0;
    for (int k = 1; k <= 4; ++k)
        score += valueAt(acf, lag * k) / k;
    return score;
}

} // namespace

std::vector<double> autocorrelation(const std::vector<float>& curve, std::size_t from,
                                    std::size_t to, std::size_t maxLag) {
    to = std::min(to, curve.size());
    std::vector<double> acf(maxLag + 1, 0.0);
    if (to <= from)
        return acf;
    const std::size_t n = to - from;
    double mean = 0;
    for (std::size_t i = from; i < to; ++i)
        mean += curve[i];
    mean /= static_cast<double>(n);
    // The power spectrum of the curve, zero-padded so that no lag wraps around, turned
    // back: the autocorrelation at every lag in one pair of transforms.
    std::size_t size = 1;
    while (size < n + maxLag + 1)
        size *= 2;
    const std::size_t bins = size / 2 + 1;
    float* signal = fftwf_alloc_real(size);
    fftwf_complex* spectrum = fftwf_alloc_complex(bins);
    fftwf_plan forward, backward;
    {
        std::lock_guard lock(fftwPlannerMutex());
        forward = fftwf_plan_dft_r2c_1d(static_cast<int>(size), signal, spectrum, FFTW_ESTIMATE);
        backward = fftwf_plan_dft_c2r_1d(static_cast<int>(size), spectrum, signal, FFTW_ESTIMATE);
    }
    for (std::size_t i = 0; i < size; ++i)
        signal[i] = i < n ? static_cast<float>(curve[from + i] - mean) : 0.0f;
    fftwf_execute(forward);
    for (std::size_t k = 0; k < bins; ++k) {
        spectrum[k][0] = spectrum[k][0] * spectrum[k][0] + spectrum[k][1] * spectrum[k][1];
        spectrum[k][1] = 0;
    }
    fftwf_execute(backward);
    for (std::size_t lag = 0; lag <= maxLag && lag < n; ++lag)
        acf[lag] = signal[lag] / static_cast<double>(size) / static_cast<double>(n - lag);
    {
        std::lock_guard lock(fftwPlannerMutex());
        fftwf_destroy_plan(forward);
        fftwf_destroy_plan(backward);
    }
    fftwf_free(signal);
    fftwf_free(spectrum);
    return acf;
}

std::vector<double> periodicPeaks(const OnsetFeatures& features, std::size_t count) {
    if (features.hop <= 0 || features.strength.size() < 16)
        return {};
    const double framesPerMinute = 60.0 * features.sampleRate / features.hop;
    const double shortest = framesPerMinute / kFastestBpm;
    const double longest = framesPerMinute / kSlowestBpm;
    const auto maxLag = static_cast<std::size_t>(std::ceil(longest * 4)) + 2;
    const std::vector<double> acf =
        autocorrelation(features.strength, 0, features.strength.size(), maxLag);
    struct Peak {
        double lag, score;
    };
    std::vector<Peak> peaks;
    const auto first = static_cast<std::size_t>(std::floor(shortest));
    const auto lastLag = static_cast<std::size_t>(std::ceil(longest));
    for (std::size_t lag = std::max<std::size_t>(first, 2); lag <= lastLag; ++lag) {
        if (!(acf[lag] > acf[lag - 1] && acf[lag] >= acf[lag + 1]))
            continue;
        // The top of the parabola through the peak and its neighbours.
        const double a = acf[lag - 1], b = acf[lag], c = acf[lag + 1];
        const double denominator = a - 2 * b + c;
        const double shift = denominator < 0 ? 0.5 * (a - c) / denominator : 0;
        const double exact = static_cast<double>(lag) + std::clamp(shift, -0.5, 0.5);
        if (exact < shortest || exact > longest)
            continue;
        peaks.push_back({exact, combScore(acf, exact)});
    }
    std::sort(peaks.begin(), peaks.end(),
              [](const Peak& x, const Peak& y) { return x.score > y.score; });
    std::vector<double> periods;
    for (const Peak& p : peaks) {
        if (periods.size() == count || p.score <= 0)
            break;
        periods.push_back(p.lag * features.hop);
    }
    return periods;
}

} // namespace quillex
