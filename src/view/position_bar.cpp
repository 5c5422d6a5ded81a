// Song-position bar geometry and clicks.
#include "view/position_bar.h"

#include <cmath>

namespace quillex {

void PositionBar::setRange(SamplePosition begin, SamplePosition end) {
    begin_ = begin;
    end_ = end;
}

ScreenBox PositionBar::frame(int clientHeight) const {
    return {kX, kTop, kX + kWidth, kTop + clientHeight - 2};
}

int PositionBar::markerRow(double position, int clientHeight) const {
    const double span = static_cast<double>(end_) - begin_;
    const double fraction = span > 0 ? (position - begin_) / span : 0.0;
    return kTop + 1 + static_cast<int>(std::trunc(fraction * (clientHeight - 4)));
}

std::optional<SamplePosition> PositionBar::click(int x, int y, int clientHeight,
                                                 SamplePosition length) {
    if (!enabled_)
        return std::nullopt;
    if (x <= kX || x >= kX + kWidth)
        return std::nullopt;
    return sampleAtRow(y, clientHeight, length);
}

std::optional<SamplePosition> PositionBar::sampleAtRow(int y, int clientHeight,
                                                       SamplePosition length) const {
    if (!enabled_ || clientHeight <= 4 || y <= kTop || y >= kTop + clientHeight - 2)
        return std::nullopt;
    // In double: the row times a long song's length does not fit 32 bits.
    const double fraction = static_cast<double>(y - kTop - 1) / (clientHeight - 4);
    return static_cast<SamplePosition>(std::trunc(fraction * length));
}

} // namespace quillex
