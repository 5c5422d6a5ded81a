#include "model/song_properties.h"
#include "base/text_pieces.h"

namespace quillex {

namespace {

std::string line(std::string_view key, std::string_view value) {
    std::string out;
    out.reserve(key.size() + value.size() + 2);
    out.append(key).append(":").append(value).append(";");
    return out;
}

} // namespace

void SongProperties::applyTags(const TagMap& tags) {
    title = tags.first("#TITLE");
    subtitle = tags.first("#SUBTITLE");
    artist = tags.first("#ARTIST");
    genre = tags.first("#GENRE");
    credit = tags.first("#CREDIT");
    cdTitle = tags.first("#CDTITLE");
    selectable = tags.first("#SELECTABLE") == "YES";
    setDisplayBpmFromText(tags.first("#DISPLAYBPM"));
    banner = tags.first("#BANNER");
}

void SongProperties::setDisplayBpmFromText(std::string_view value) {
    if (value.empty()) {
        displayBpmMode = DisplayBpmMode::None;
        return;
    }
    if (value == "*") {
        displayBpmMode = DisplayBpmMode::Random;
        return;
    }
    displayBpmMode = DisplayBpmMode::Range;
    const std::vector<std::string_view> pieces = splitNonEmpty(value, ':');
    if (pieces.empty() || value.find(':') == std::string_view::npos) {
        // No ":" at all, or nothing but colons: the value is both ends.
        displayBpmLow = displayBpmHigh = std::string(value);
        return;
    }
    displayBpmLow = std::string(pieces[0]);
    // A single piece ("150:") is a range of one tempo.
    displayBpmHigh = std::string(pieces.size() > 1 ? pieces[1] : pieces[0]);
}

void SongProperties::setDisplayBpm(DisplayBpmMode mode, std::string low, std::string high) {
    displayBpmMode = mode;
    displayBpmLow = std::move(low);
    displayBpmHigh = std::move(high);
}

std::vector<std::string> SongProperties::headerLines(std::string_view musicFileName,
                                                     std::string_view bannerName,
                                                     std::string_view backgroundName) const {
    std::vector<std::string> lines{
        line("#TITLE", title),
        line("#SUBTITLE", subtitle),
        line("#ARTIST", artist),
        line("#GENRE", genre),
        line("#CREDIT", credit),
        line("#MUSIC", musicFileName),
        line("#SELECTABLE", selectable ? "YES" : "NO"),
        line("#BACKGROUND", backgroundName),
        line("#BANNER", bannerName),
        line("#CDTITLE", cdTitle),
    };
    if (genre.empty())
        lines.erase(lines.begin() + 3); // no "#GENRE" line for a song without one
    if (displayBpmMode == DisplayBpmMode::Range)
        lines.push_back(line("#DISPLAYBPM", displayBpmLow + ":" + displayBpmHigh));
    else if (displayBpmMode == DisplayBpmMode::Random)
        lines.push_back(line("#DISPLAYBPM", "*"));
    return lines;
}

} // namespace quillex
