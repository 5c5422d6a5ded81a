#include "analysis/music_analysis.h"

namespace quillex {

std::optional<MusicAnalysis> analyseMusic(const PcmData& music, const AnalysisCache* cache,
                                          const AnalysisProgress& progress) {
    MusicAnalysis analysis;
    const std::uint64_t hash = musicContentHash(music);
    if (cache) {
        if (auto cached = cache->load(hash)) {
            analysis.features = std::move(*cached);
            analysis.fromCache = true;
        }
    }
    if (!analysis.fromCache) {
        analysis.features = computeOnsetFeatures(music, progress);
        if (progress && !progress(0.95))
            return std::nullopt;
        if (cache && analysis.features.sampleRate > 0)
            cache->store(hash, analysis.features);
    }
    analysis.candidates = suggestTempos(analysis.features, kSuggestedTempos);
    if (progress && !progress(1.0))
        return std::nullopt;
    return analysis;
}

} // namespace quillex
