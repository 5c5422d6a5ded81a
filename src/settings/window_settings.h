// The main window's remembered geometry (window.ini in the program's folder) and the
// rules that turn it into the window's first position and size.
#pragma once

#include <optional>
#include <string>

namespace quillex {

struct ScreenArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 800;
    int height = 600;
    bool maximised = false;

    bool operator==(const WindowGeometry&) const = default;
};

inline constexpr int kMinWindowWidth = 800;
inline constexpr int kMinWindowHeight = 600;

// The five numbers of the file (left, top, width, height, maximised), or nothing
// when the file cannot be opened or does not hold five integers.
std::optional<WindowGeometry> parseWindowFile(const std::string& text);
// The first geometry of the window: 800 x 600 centred in the work area when nothing
// was stored or the window was maximised (its restored size), otherwise the stored
// one with the left and top not below 0 and the size not below 800 x 600.
WindowGeometry placeWindow(const std::optional<WindowGeometry>& stored, const ScreenArea& workArea);

WindowGeometry readWindowGeometry(const std::string& path, const ScreenArea& workArea);
std::string formatWindowFile(const WindowGeometry& geometry);
bool writeWindowGeometry(const std::string& path, const WindowGeometry& geometry);

} // namespace quillex
