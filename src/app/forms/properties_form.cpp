#include "app/forms/properties_form.h"

#include <array>
#include <cstdint>

#include "base/number_format.h"
#include "base/number_parse.h"

namespace quillex {

namespace {

constexpr std::string_view kRefusedSymbols = "\\/:*?\"<>|#;";

std::string symbolsMessage(std::string_view field) {
    return "You cannot use these symbols in the " + std::string(field) +
           ":\n\\, /, :, *, ?, \", <, >, |, #, ;";
}

std::string checkedBpm(const std::string& text) {
    const std::optional<double> bpm = parseDecimal(text);
    return formatFixed3(bpm && *bpm > 0 && *bpm <= kMaxDisplayBpm ? *bpm : 100.0);
}

} // namespace

PropertiesForm propertiesFormOf(const SongProperties& p, const MusicPlayer& player) {
    PropertiesForm form;
    form.title = p.title;
    form.subtitle = p.subtitle;
    form.artist = p.artist;
    form.genre = p.genre;
    form.credit = p.credit;
    form.selectable = p.selectable;
    form.displayBpmMode = p.displayBpmMode;
    form.displayBpmLow = p.displayBpmLow;
    form.displayBpmHigh = p.displayBpmHigh;
    form.previewBegin = std::to_string(player.previewStart());
    form.previewEnd = std::to_string(player.previewEnd());
    form.background = p.background;
    form.banner = p.banner;
    form.cdTitle = p.cdTitle;
    return form;
}

std::optional<std::string> refusedSymbolsIn(std::string_view text, std::string_view field) {
    if (text.find_first_of(kRefusedSymbols) == std::string_view::npos)
        return std::nullopt;
    return symbolsMessage(field);
}

std::string musicText(const MusicPlayer& player) {
    if (!player.loaded())
        return "No Music Loaded";
    return player.silent() ? player.musicPath() + " (not loaded: the song plays over silence)"
                           : player.musicPath();
}

std::string bpmRangeText(const TimingMap& timing) {
    const double highest = timing.highestBpm();
    if (highest == 0)
        return "N/A";
    return formatFixed3(timing.lowestBpm()) + " to " + formatFixed3(highest);
}

std::optional<std::string> checkPropertiesForm(PropertiesForm& form) {
    const std::array<std::pair<const std::string*, std::string_view>, 5> texts = {{
        {&form.title, "title"},
        {&form.subtitle, "subtitle"},
        {&form.artist, "artist"},
        {&form.genre, "genre"},
        {&form.credit, "credits"},
    }};
    for (const auto& [text, name] : texts)
        if (auto refused = refusedSymbolsIn(*text, name))
            return refused;
    for (const std::string* name : {&form.background, &form.banner, &form.cdTitle})
        if (name->find(';') != std::string::npos)
            return std::string(kFileNameSemicolonMessage);

    form.displayBpmLow = checkedBpm(form.displayBpmLow);
    form.displayBpmHigh = checkedBpm(form.displayBpmHigh);
    const auto begin = parseWhole(form.previewBegin);
    const auto end = parseWhole(form.previewEnd);
    if (begin && end && *begin >= 0 && *begin < *end && *end <= INT32_MAX) {
        form.previewBegin = std::to_string(*begin);
        form.previewEnd = std::to_string(*end);
    } else {
        form.previewBegin = form.previewEnd = "0";
    }
    return std::nullopt;
}

PictureChanges applyPropertiesForm(const PropertiesForm& form, SongProperties& p,
                                   MusicPlayer& player) {
    // The texts are checked: whole numbers within 32 bits.
    player.setPreviewStart(static_cast<int>(parseWhole(form.previewBegin).value_or(0)));
    player.setPreviewEnd(static_cast<int>(parseWhole(form.previewEnd).value_or(0)));
    p.title = form.title;
    p.subtitle = form.subtitle;
    p.artist = form.artist;
    p.genre = form.genre;
    p.credit = form.credit;
    PictureChanges changes;
    changes.background = form.background != p.background;
    changes.banner = form.banner != p.banner;
    p.background = form.background;
    p.banner = form.banner;
    p.cdTitle = form.cdTitle;
    p.selectable = form.selectable;
    p.setDisplayBpm(form.displayBpmMode, form.displayBpmLow, form.displayBpmHigh);
    return changes;
}

} // namespace quillex
