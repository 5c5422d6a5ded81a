#include "analysis/analysis_runner.h"

namespace quillex {

void AnalysisRunner::start(std::shared_ptr<const PcmData> music, Observer observer) {
    worker_.start(
        [music = std::move(music), cache = cache_](const AnalysisProgress& progress) mutable
        -> std::optional<std::shared_ptr<const MusicAnalysis>> {
            auto analysis = music ? analyseMusic(*music, &cache, progress)
                                  : std::optional<MusicAnalysis>(MusicAnalysis{});
            if (!analysis)
                return std::nullopt;
            return std::make_shared<const MusicAnalysis>(std::move(*analysis));
        },
        std::move(observer));
}

} // namespace quillex
