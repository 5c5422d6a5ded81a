// The song-position bar at the right of the editor: where it draws the play position
// and where a click on it seeks to.
#pragma once

#include <optional>

#include "model/edit_item.h"
#include "model/row_position.h"

namespace quillex {

class PositionBar {
  public:
    static constexpr int kX = 771;
    static constexpr int kWidth = 20;
    static constexpr int kTop = 0;

    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    // The range the bar spans: 0 to the music's length (100 before any load).
    void setRange(SamplePosition begin, SamplePosition end);

    // The bar's outline for a window client height: rows 0 to height - 2.
    ScreenBox frame(int clientHeight) const;
    // The row of the play position's mark.
    int markerRow(double position, int clientHeight) const;

    // A click: the point is kept; a click strictly inside an enabled bar returns the
    // sample to seek to (the caller clamps it, as every seek does).
    std::optional<SamplePosition> click(int x, int y, int clientHeight, SamplePosition length);
    // The sample a row of the bar stands for, whatever the column (a drag that started
    // on the bar keeps seeking when it leaves it sideways); nothing outside the bar's
    // inner rows or for a bar too short to have any.
    std::optional<SamplePosition> sampleAtRow(int y, int clientHeight, SamplePosition length) const;

  private:
    bool enabled_ = true;
    SamplePosition begin_ = 0;
    SamplePosition end_ = 100;
};

} // namespace quillex
