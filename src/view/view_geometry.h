// The editor's one vertical time axis: time runs down the screen, the play position
// sits on the cursor row, and one screen row covers a fixed number of samples set by
// the wave zoom. Every layer, the item boxes and the mouse go through this mapping.
#pragma once

#include <compare> // row_position.h needs it and does not include it
#include <cstdint>

#include "model/row_position.h"

namespace quillex {

inline constexpr int kMinZoomLevel = 1;
inline constexpr int kMaxZoomLevel = 13;
inline constexpr int kNoteSizeCount = 4; // 0 the largest .. 3 the smallest

struct ViewGeometry {
    double position = 0; // play position in samples, shown on the cursor row
    double samplesPerRow = 512;
    int cursorRow = 100;
    int width = 800; // the window's client size
    int height = 600;

    // Screen row of a sample. Truncates toward zero, so samples a fraction of a row
    // above row 0 land on row 0 as well; use inView() to decide visibility.
    int rowOfSample(double sample) const {
        return static_cast<int>((sample - position) / samplesPerRow + cursorRow);
    }
    double sampleOfRow(int row) const { return position + (row - cursorRow) * samplesPerRow; }

    // The samples shown: [visibleBegin, visibleEnd).
    double visibleBegin() const { return position - samplesPerRow * cursorRow; }
    double visibleEnd() const { return visibleBegin() + samplesPerRow * height; }
    // An item is drawn and given a screen box only when its sample lies strictly
    // inside the visible range.
    bool inView(double sample) const { return sample > visibleBegin() && sample < visibleEnd(); }
};

enum class ZoomCommand { In, Out, InFull, OutFull };

// The zoom level after a zoom command, kept within 1..13.
int zoomLevelAfter(ZoomCommand command, int zoomLevel);

enum class NoteSizeCommand { Auto, Smaller, Larger };

// The arrow layer's note size and whether the user set it by hand ("Auto" off).
struct NoteSizeSetting {
    int size = 0;
    bool manual = false;
    friend bool operator==(const NoteSizeSetting&, const NoteSizeSetting&) = default;
};

// The note size after a Note Size command; `automaticSize` is the size that goes with
// the current zoom level. Smaller at the smallest size and Larger at the largest act
// as Auto.
NoteSizeSetting noteSizeAfter(NoteSizeCommand command, NoteSizeSetting current, int automaticSize);
// The note size after a zoom change: follows the zoom unless set by hand.
NoteSizeSetting noteSizeAfterZoom(NoteSizeSetting current, int automaticSize);

// One step of the scrolling cursor: one row toward the home row, none when there.
int cursorRowStepTowardHome(int cursorRow, int homeRow);

} // namespace quillex
