// Zoom commands, note-size commands and the scrolling cursor step.
#include "view/view_geometry.h"

#include <algorithm>

namespace quillex {

int zoomLevelAfter(ZoomCommand command, int zoomLevel) {
    switch (command) {
    case ZoomCommand::In:
        return std::max(kMinZoomLevel, zoomLevel - 1);
    case ZoomCommand::Out:
        return std::min(kMaxZoomLevel, zoomLevel + 1);
    case ZoomCommand::InFull:
        return kMinZoomLevel;
    case ZoomCommand::OutFull:
        return kMaxZoomLevel;
    }
    return zoomLevel;
}

NoteSizeSetting noteSizeAfter(NoteSizeCommand command, NoteSizeSetting current, int automaticSize) {
    const NoteSizeSetting automatic{automaticSize, false};
    switch (command) {
    case NoteSizeCommand::Auto:
        return automatic;
    case NoteSizeCommand::Smaller:
        if (current.size >= kNoteSizeCount - 1)
            return automatic;
        return {current.size + 1, true};
    case NoteSizeCommand::Larger:
        if (current.size <= 0)
            return automatic;
        return {current.size - 1, true};
    }
    return current;
}

NoteSizeSetting noteSizeAfterZoom(NoteSizeSetting current, int automaticSize) {
    if (current.manual)
        return current;
    return {automaticSize, false};
}

int cursorRowStepTowardHome(int cursorRow, int homeRow) {
    if (cursorRow < homeRow)
        return cursorRow + 1;
    if (cursorRow > homeRow)
        return cursorRow - 1;
    return cursorRow;
}

} // namespace quillex
