#include "audio/wave_filter_channel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUILLEX_HAVE_AVX2_PATH 1
#endif

namespace quillex {

namespace {

// Outputs per step of the finite filter: the step's inputs stay in the first cache
// level, and cancel and progress are checked once per step.
constexpr std::size_t kBlock = 4096;

std::int16_t narrow(double v) {
    // Truncation toward zero, then clamped to the 16-bit range.
    return static_cast<std::int16_t>(std::clamp(std::trunc(v), -32768.0, 32767.0));
}

int peakOf(const std::int16_t* y, std::size_t n) {
    int peak = 0;
    for (std::size_t i = 0; i < n; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(y[i])));
    return peak;
}

// The taps padded with zeros to 68 (17 groups of four), each repeated in four lanes.
struct BroadcastTaps {
    static constexpr int kGroups = 17;
    alignas(32) double lanes[kGroups * 4 * 4] = {};
    explicit BroadcastTaps(const double* h) {
        for (int k = 0; k < kFirTaps; ++k)
            for (int l = 0; l < 4; ++l)
                lanes[4 * k + l] = h[k];
    }
};

void firPlain(const double* __restrict x, const BroadcastTaps& taps, std::size_t count,
              std::int16_t* __restrict out) {
    for (std::size_t i = 0; i < count; ++i) {
        double sum = 0;
        for (int k = 0; k < kFirTaps; ++k)
            sum += taps.lanes[4 * k] * x[i + static_cast<std::size_t>(k)];
        out[i] = narrow(sum);
    }
}

#ifdef QUILLEX_HAVE_AVX2_PATH

bool haveAvx2Fma() {
    static const bool ok = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return ok;
}

// Thirty-two outputs (eight vectors of four) per step. Tap k = 4q + s meets the input
// vector x[i + 4m + s ..] in output vector r = m - q, so each input vector is loaded
// once per shift s and feeds up to eight multiply-adds, and the eight accumulators
// hide the multiply-add latency. Reads up to 4 inputs past the last one used.
__attribute__((target("avx2,fma"))) void firAvx2(const double* x, const BroadcastTaps& taps,
                                                 std::size_t count, std::int16_t* out) {
    constexpr int kAcc = 8, kGroups = BroadcastTaps::kGroups;
    const __m256d lo = _mm256_set1_pd(-32768.0);
    const __m256d hi = _mm256_set1_pd(32767.0);
    std::size_t i = 0;
    for (; i + 4 * kAcc <= count; i += 4 * kAcc) {
        __m256d a[kAcc];
        for (auto& v : a)
            v = _mm256_setzero_pd();
        for (int s = 0; s < 4; ++s) {
            const double* p = x + i + s;
#pragma GCC unroll 32
            for (int m = 0; m < kAcc + kGroups - 1; ++m) {
                const __m256d v = _mm256_loadu_pd(p + 4 * m);
#pragma GCC unroll 8
                for (int r = 0; r < kAcc; ++r) {
                    const int q = m - r;
                    if (q >= 0 && q < kGroups)
                        a[r] =
                            _mm256_fmadd_pd(_mm256_load_pd(taps.lanes + 4 * (4 * q + s)), v, a[r]);
                }
            }
        }
        // Clamping before the truncating conversion gives the same as after it.
        for (int r = 0; r < kAcc; r += 2) {
            const __m128i q0 = _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(a[r], lo), hi));
            const __m128i q1 = _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(a[r + 1], lo), hi));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4 * r), _mm_packs_epi32(q0, q1));
        }
    }
    firPlain(x + i, taps, count - i, out + i);
}

#endif

void firOutputs(const double* x, const BroadcastTaps& taps, std::size_t count, std::int16_t* out) {
#ifdef QUILLEX_HAVE_AVX2_PATH
    if (haveAvx2Fma())
        return firAvx2(x, taps, count, out);
#endif
    firPlain(x, taps, count, out);
}

FilterResult filterFinite(const std::int16_t* in, int stride, std::size_t n, int a,
                          std::int16_t* out, FilterProgress& progress, int& peak) {
    const auto h = firTaps(a);
    if (!h || n < kMinFiniteSamples)
        return FilterResult::Failed;
    const auto taps = std::make_unique<BroadcastTaps>(h->data());
    const std::size_t outputs = n - (kFirTaps - 1) - 1; // j = 0 .. n - 66
    // Zero-padded: the vector kernel reads a few inputs past those it uses.
    std::vector<double> x(kBlock + kFirTaps - 1 + 8);
    for (std::size_t j0 = 0; j0 < outputs; j0 += kBlock) {
        const std::size_t count = std::min(kBlock, outputs - j0);
        const std::size_t inputs = count + kFirTaps - 1;
        for (std::size_t i = 0; i < inputs; ++i)
            x[i] = in[(j0 + i) * static_cast<std::size_t>(stride)];
        firOutputs(x.data(), *taps, count, out + j0);
        if (!progress.advance(count))
            return FilterResult::Cancelled;
    }
    std::fill(out + outputs, out + n, std::int16_t{0});
    peak = peakOf(out, outputs);
    progress.advance(n - outputs);
    return FilterResult::Done;
}

FilterResult filterInfinite(const std::int16_t* in, int stride, std::size_t n, int a,
                            std::int16_t* out, FilterProgress& progress, int& peak) {
    const auto q = iirSection(a);
    if (!q || n < kMinInfiniteSamples)
        return FilterResult::Failed;
    const auto s = static_cast<std::size_t>(stride);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = in[i * s];
    // out[] starts as the input, so out[1] and out[2] seed the recursion unfiltered and
    // the inputs ahead of i are still unfiltered when they are read.
    const std::size_t last = n - 4;
    double y1 = out[2], y2 = out[1];
    for (std::size_t i0 = 3; i0 <= last; i0 += kBlock) {
        const std::size_t end = std::min(last + 1, i0 + kBlock);
        for (std::size_t i = i0; i < end; ++i) {
            const double v =
                q->b0 * out[i] + q->b1 * out[i + 1] + q->b2 * out[i + 2] - q->a1 * y1 - q->a2 * y2;
            out[i] = narrow(v);
            y2 = y1;
            y1 = out[i];
        }
        if (!progress.advance(end - i0))
            return FilterResult::Cancelled;
    }
    peak = peakOf(out + 3, last - 2);
    out[0] = out[1] = out[2] = 0;
    progress.advance(n - (last - 2));
    // A mean level of half full scale or more in the middle means the section rings or
    // is overdriven on this music.
    long long sum = 0;
    const std::size_t mid = n / 2;
    for (std::size_t i = mid; i < mid + 256 && i < n; ++i)
        sum += std::abs(static_cast<int>(out[i]));
    return sum / 256 < 32767 / 2 ? FilterResult::Done : FilterResult::Warning;
}

void rescale(std::int16_t* y, std::size_t n, int peak) {
    if (peak == 0)
        return;
    const double factor = 32767.0 / peak;
    for (std::size_t i = 0; i < n; ++i)
        y[i] = narrow(factor * y[i]);
}

} // namespace

FilterResult filterChannel(const std::int16_t* in, int stride, std::size_t n,
                           const WaveFilterSettings& settings, std::int16_t* out,
                           FilterProgress& progress) {
    int peak = 0;
    const int a = settings.signedStrength();
    const FilterResult result = settings.finite
                                    ? filterFinite(in, stride, n, a, out, progress, peak)
                                    : filterInfinite(in, stride, n, a, out, progress, peak);
    if (settings.rescale && (result == FilterResult::Done || result == FilterResult::Warning)) {
        progress.scaling();
        rescale(out, n, peak);
    }
    return result;
}

} // namespace quillex
