// One analysis of a music, as the sync tools ask for it: the onset features (from the
// cache when this music was analysed before) and the tempo candidates. It runs on any
// thread and touches nothing but the decoded music it is given.
#pragma once

#include <optional>
#include <vector>

#include "analysis/analysis_cache.h"
#include "analysis/onset_features.h"
#include "analysis/tempo_candidates.h"

namespace quillex {

inline constexpr std::size_t kSuggestedTempos = 5;

struct MusicAnalysis {
    OnsetFeatures features;
    std::vector<TempoCandidate> candidates; // best first; empty: no rhythm found
    bool fromCache = false;
    bool rhythmFound() const { return !candidates.empty(); }
};

// Nothing when the progress callback asked to stop. `cache` may be null.
std::optional<MusicAnalysis> analyseMusic(const PcmData& music, const AnalysisCache* cache,
                                          const AnalysisProgress& progress);

} // namespace quillex
