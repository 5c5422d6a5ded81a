#include "tools/stream_breakdown.h"

namespace quillex {

std::string streamBreakdown(std::span<const int> noteRowsPerMeasure) {
    std::string text;
    int run = 0;
    int gap = 0;
    auto endRun = [&] {
        if (run == 0)
            return;
        if (!text.empty())
            text += gap <= kShortBreakMeasures ? " (" + std::to_string(gap) + ") "
                                               : " /" + std::to_string(gap) + "/ ";
        text += std::to_string(run);
        run = gap = 0;
    };
    for (int rows : noteRowsPerMeasure) {
        if (rows >= kStreamRowsPerMeasure) {
            ++run;
            continue;
        }
        endRun();
        ++gap;
    }
    endRun();
    return text.empty() ? kNoStream : text;
}

} // namespace quillex
