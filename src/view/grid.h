// The beat grid: which grid is chosen, and the label entries the grid layer draws for
// the beat markers in view (positions and BPMs) with the 8th and 16th lines between
// them.
#pragma once

#include <string>
#include <vector>

#include "items/item_list.h"
#include "items/timing_map.h"
#include "ports/command_id.h"
#include "view/view_geometry.h"

namespace quillex {

enum class GridChoice { None, Quarter, Eighth, Sixteenth };

class Grid {
  public:
    static constexpr int kQuarterBit = 1;
    static constexpr int kEighthBit = 2;
    static constexpr int kSixteenthBit = 4;

    void choose(GridChoice choice);
    GridChoice choice() const;
    int flags() const { return flags_; }
    bool any() const { return flags_ != 0; }
    bool has(int bit) const { return (flags_ & bit) != 0; }

    // The Tools/Grid command of each choice (No Grid, 4th, 8th, 16th).
    static CommandId commandId(GridChoice choice);

  private:
    int flags_ = 0;
};

struct GridEntry {
    int x = 0; // right end of the line (the marker's right edge)
    int y = 0; // three rows above the line
    int style = 0;
    bool faint = false;
    bool labelled = false;
    std::string position; // label 1
    std::string bpm;      // label 2
};

// Rebuilds `entries` for the beat markers in view (indices [first, last) of the
// timing map's list). Reuses the vector's storage from frame to frame.
void buildGridEntries(const Grid& grid, const TimingMap& timing, const ViewGeometry& view,
                      std::size_t first, std::size_t last, int timeFormat,
                      std::vector<GridEntry>& entries);

} // namespace quillex
