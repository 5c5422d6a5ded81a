#include "analysis/onset_features.h"

#include <algorithm>
#include <cmath>

#include "analysis/attack_time.h"
#include "analysis/magnitude_frames.h"
#include "analysis/mono_mix.h"

namespace quillex {

namespace {

// A frequency band of the onset strength and its weight: the kick's and the snare's
// bands count fully, the hats' band a third.
struct Band {
    double fromHz, toHz, weight;
    bool body;
};
constexpr Band kBands[] = {
    {30, 200, 1.0, true}, {200, 2500, 1.0, true}, {2500, 12000, 0.35, false}};

// Magnitudes are compressed as log(1 + kCompression * |X| / (frame size / 4)), so a
// full-scale sine is about log(1 + kCompression) and quiet sounds still count.
constexpr double kCompression = 100;

// The curve's slow part (sustained sound swelling) is taken away over this many
// seconds either side, so that only sudden starts remain.
constexpr double kDetrendSeconds = 0.25;

// Two onsets closer than this are one sound.
constexpr double kSameOnsetSeconds = 0.010;

struct Flux {
    std::vector<float> all;
    std::vector<float> body;
};

// A rising log spectrum, band by band: the strength of new sound in each frame.
Flux spectralFlux(const std::vector<float>& mono, int sampleRate, int hop, int frameSize,
                  const AnalysisProgress& progress) {
    const std::size_t frames = mono.size() / static_cast<std::size_t>(hop) + 1;
    SpectrumFrames spectra(frameSize);
    struct BinRange {
        int from, to;
        double weight;
        bool body;
    };
    std::vector<BinRange> bands;
    for (const Band& b : kBands) {
        const int from = std::max(1, static_cast<int>(b.fromHz * frameSize / sampleRate));
        const int to = std::min(spectra.bins(), static_cast<int>(b.toHz * frameSize / sampleRate));
        if (to > from)
            bands.push_back({from, to, b.weight, b.body});
    }
    Flux flux{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
    int used = 0;
    for (const BinRange& b : bands)
        used = std::max(used, b.to);
    std::vector<float> magnitudes, previous(static_cast<std::size_t>(used), 0.0f);
    const auto scale = static_cast<float>(kCompression * 4.0 / frameSize);
    for (std::size_t t = 0; t < frames; ++t) {
        if (t % 1024 == 0 && progress && !progress(0.85 * static_cast<double>(t) / frames))
            return {};
        spectra.magnitudes(mono, static_cast<std::ptrdiff_t>(t) * hop, used, magnitudes);
        for (float& m : magnitudes)
            m = std::log1p(scale * m);
        double total = 0, body = 0;
        for (const BinRange& b : bands) {
            double rise = 0;
            for (int k = b.from; k < b.to; ++k)
                rise += std::max(0.0f, magnitudes[static_cast<std::size_t>(k)] -
                                           previous[static_cast<std::size_t>(k)]);
            total += b.weight * rise / (b.to - b.from);
            if (b.body)
                body += b.weight * rise / (b.to - b.from);
        }
        // The first frame rises from the silence before the music: music that starts
        // on its first sample starts with an onset there, as it does after a lead-in.
        flux.all[t] = static_cast<float>(total);
        flux.body[t] = static_cast<float>(body);
        previous.swap(magnitudes);
    }
    return flux;
}

// The flux less its running mean, negative values cut off.
std::vector<float> detrended(const std::vector<float>& flux, int halfWidth) {
    std::vector<double> prefix(flux.size() + 1, 0.0);
    for (std::size_t i = 0; i < flux.size(); ++i)
        prefix[i + 1] = prefix[i] + flux[i];
    std::vector<float> out(flux.size());
    const auto n = static_cast<std::ptrdiff_t>(flux.size());
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        const std::ptrdiff_t from = std::max<std::ptrdiff_t>(0, i - halfWidth);
        const std::ptrdiff_t to = std::min(n, i + halfWidth + 1);
        const double mean =
            (prefix[static_cast<std::size_t>(to)] - prefix[static_cast<std::size_t>(from)]) /
            static_cast<double>(to - from);
        out[static_cast<std::size_t>(i)] =
            static_cast<float>(std::max(0.0, flux[static_cast<std::size_t>(i)] - mean));
    }
    return out;
}

// Local peaks of the curve that stand out from the quiet parts; each refined to the
// sample where its attack begins.
std::vector<Onset> pickOnsets(const std::vector<float>& curve, const std::vector<float>& body,
                              const std::vector<float>& mono, int hop, int frameSize,
                              int sampleRate) {
    std::vector<float> sorted(curve);
    const std::size_t top = sorted.size() * 99 / 100;
    if (sorted.empty())
        return {};
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(top),
                     sorted.end());
    const float threshold = std::max(1e-4f, 0.06f * sorted[top]);
    constexpr std::ptrdiff_t kPeakRadius = 3;
    const auto n = static_cast<std::ptrdiff_t>(curve.size());
    std::vector<Onset> onsets;
    for (std::ptrdiff_t t = 0; t < n; ++t) {
        const float value = curve[static_cast<std::size_t>(t)];
        if (value < threshold)
            continue;
        bool peak = true;
        for (std::ptrdiff_t d = -kPeakRadius; d <= kPeakRadius && peak; ++d) {
            const std::ptrdiff_t j = t + d;
            if (d == 0 || j < 0 || j >= n)
                continue;
            const float other = curve[static_cast<std::size_t>(j)];
            peak = other < value || (other == value && d > 0);
        }
        if (!peak)
            continue;
        const std::ptrdiff_t centre = t * hop;
        const auto attack =
            attackSample(mono, centre - frameSize, centre + frameSize / 2,
                         centre - frameSize / 2 - hop, centre + frameSize / 4, sampleRate);
        float bodyValue = 0;
        for (std::ptrdiff_t j = std::max<std::ptrdiff_t>(t - 1, 0); j <= std::min(t + 1, n - 1);
             ++j)
            bodyValue = std::max(bodyValue, body[static_cast<std::size_t>(j)]);
        onsets.push_back({static_cast<double>(attack ? *attack : centre), value, bodyValue});
    }
    std::sort(onsets.begin(), onsets.end(),
              [](const Onset& a, const Onset& b) { return a.sample < b.sample; });
    // Neighbouring peaks refined onto one attack are one sound.
    std::vector<Onset> merged;
    const double same = kSameOnsetSeconds * sampleRate;
    for (const Onset& o : onsets) {
        if (!merged.empty() && o.sample - merged.back().sample < same) {
            if (o.strength > merged.back().strength)
                merged.back() = o;
            continue;
        }
        merged.push_back(o);
    }
    return merged;
}

} // namespace

OnsetFeatures computeOnsetFeatures(const PcmData& music, const AnalysisProgress& progress) {
    OnsetFeatures features;
    features.sampleRate = music.frequency;
    features.musicFrames = music.frames();
    if (music.frequency <= 0 || music.frames() == 0)
        return features;
    // About 5.8 ms between values whatever the rate; four hops to a frame.
    features.hop = std::max(16, static_cast<int>(std::lround(music.frequency / 172.27)));
    const int frameSize = 4 * features.hop;
    const std::vector<float> mono = monoMix(music);
    const Flux flux = spectralFlux(mono, music.frequency, features.hop, frameSize, progress);
    if (flux.all.empty())
        return {};
    const int halfWidth = static_cast<int>(kDetrendSeconds * music.frequency / features.hop);
    features.strength = detrended(flux.all, halfWidth);
    features.onsets = pickOnsets(features.strength, detrended(flux.body, halfWidth), mono,
                                 features.hop, frameSize, music.frequency);
    if (progress && !progress(0.95))
        return {};
    return features;
}

} // namespace quillex
