#include "settings/window_settings.h"

#include <locale>
#include <sstream>

#include "settings/settings_syntax.h"

namespace quillex {

std::optional<WindowGeometry> parseWindowFile(const std::string& text) {
    std::istringstream in(text);
    // Streams follow the global C++ locale, which may group digits ("1.280").
    in.imbue(std::locale::classic());
    WindowGeometry g;
    int maximised = 0;
    if (!(in >> g.left >> g.top >> g.width >> g.height >> maximised))
        return std::nullopt;
    g.maximised = maximised == 1;
    return g;
}

WindowGeometry placeWindow(const std::optional<WindowGeometry>& stored,
                           const ScreenArea& workArea) {
    WindowGeometry centred;
    // Centred in the work area (the area may start right of or below the screen's origin).
    centred.left = (workArea.left + workArea.right - kMinWindowWidth) / 2;
    centred.top = (workArea.top + workArea.bottom - kMinWindowHeight) / 2;
    if (!stored)
        return centred;
    if (stored->maximised) {
        centred.maximised = true;
        return centred;
    }
    WindowGeometry g = *stored;
    g.left = g.left < 0 ? 0 : g.left;
    g.top = g.top < 0 ? 0 : g.top;
    g.width = g.width < kMinWindowWidth ? kMinWindowWidth : g.width;
    g.height = g.height < kMinWindowHeight ? kMinWindowHeight : g.height;
    return g;
}

WindowGeometry readWindowGeometry(const std::string& path, const ScreenArea& workArea) {
    std::optional<WindowGeometry> stored;
    if (auto text = readWholeFile(path))
        stored = parseWindowFile(*text);
    return placeWindow(stored, workArea);
}

std::string formatWindowFile(const WindowGeometry& g) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << g.left << '\n'
        << g.top << '\n'
        << g.width << '\n'
        << g.height << '\n'
        << (g.maximised ? 1 : 0) << '\n';
    return out.str();
}

bool writeWindowGeometry(const std::string& path, const WindowGeometry& geometry) {
    return writeFileWhole(path, formatWindowFile(geometry));
}

} // namespace quillex
