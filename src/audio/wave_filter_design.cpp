#include "audio/wave_filter_design.h"

#include <cmath>
#include <numbers>

namespace quillex {

namespace {

constexpr double kDesignRate = 44100.0;
constexpr std::array<int, 10> kHighPassCutoffs = {1000, 2000,  3000,  4000,  6000,
                                                  8000, 10000, 12000, 14000, 16000};
constexpr double kLowestCutoff = 60.0; // low-pass -11, infinite response only

} // namespace

std::string filterStrengthText(int strength) {
    return std::to_string(strength);
}

std::optional<double> filterCutoff(int a, bool finite) {
    if (a >= 1 && a <= kMaxFilterStrength)
        return kHighPassCutoffs[static_cast<std::size_t>(a - 1)];
    if (a <= -1 && a >= -kMaxFilterStrength)
        return (11 + a) * 100.0;
    if (a == -11 && !finite)
        return kLowestCutoff;
    return std::nullopt;
}

std::optional<std::array<double, kFirTaps>> firTaps(int a) {
    const std::optional<double> cutoff = filterCutoff(a, true);
    if (!cutoff)
        return std::nullopt;
    const double f = *cutoff / kDesignRate;
    const double pi = std::numbers::pi;
    std::array<double, kFirTaps> h{};
    for (int n = 0; n < kFirTaps; ++n) {
        const double w = 0.54 - 0.46 * std::cos(2 * pi * n / (kFirTaps - 1));
        const int m = n - kFirCentre;
        const double s = m == 0 ? 2 * f : std::sin(2 * pi * f * m) / (pi * m);
        h[static_cast<std::size_t>(n)] = a < 0 ? w * s : -w * s;
    }
    double gain = 0;
    if (a < 0) {
        for (double v : h)
            gain += v;
    } else {
        h[kFirCentre] += 1.0;
        for (int n = 0; n < kFirTaps; ++n)
            gain += (n % 2 == 0 ? 1.0 : -1.0) * h[static_cast<std::size_t>(n)];
    }
    for (double& v : h)
        v /= gain;
    return h;
}

std::optional<Biquad> iirSection(int a) {
    const std::optional<double> cutoff = filterCutoff(a, false);
    if (!cutoff)
        return std::nullopt;
    const double w = std::tan(std::numbers::pi * *cutoff / kDesignRate);
    const double w2 = w * w;
    const double n = 1 + std::numbers::sqrt2 * w + w2;
    Biquad q{};
    q.a1 = 2 * (w2 - 1) / n;
    q.a2 = (1 - std::numbers::sqrt2 * w + w2) / n;
    if (a < 0) {
        q.b0 = q.b2 = w2 / n;
        q.b1 = 2 * w2 / n;
    } else {
        q.b0 = q.b2 = 1 / n;
        q.b1 = -2 / n;
    }
    return q;
}

} // namespace quillex
