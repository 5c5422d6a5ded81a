// The Properties dialog's logic without Qt: the values it shows for the song, the
// checks of OK (refused symbols; display BPMs and the preview region put right) and
// what OK keeps.
#pragma once

#include <optional>
#include <string>

#include "audio/music_player.h"
#include "items/timing_map.h"
#include "model/song_properties.h"

namespace quillex {

// Text fields hold at most this many characters (longer texts read from a file are
// kept whole).
inline constexpr int kPropertyTextLimit = 255;
// A display BPM above this is taken for a typing error, like one not above 0.
inline constexpr double kMaxDisplayBpm = 100000;
inline constexpr std::string_view kFileNameSemicolonMessage =
    "You cannot use ; in the background, banner or CD title file names.";

struct PropertiesForm {
    std::string title, subtitle, artist, genre, credit;
    bool selectable = true;
    DisplayBpmMode displayBpmMode = DisplayBpmMode::None;
    std::string displayBpmLow, displayBpmHigh;
    std::string previewBegin, previewEnd; // samples
    std::string background, banner, cdTitle;
};

PropertiesForm propertiesFormOf(const SongProperties& properties, const MusicPlayer& player);
// The loaded music's path (saying so when it did not load and silence stands in for
// it), or "No Music Loaded".
std::string musicText(const MusicPlayer& player);
// "120.000 to 180.000": the lowest and highest tempo between markers; "N/A" with
// fewer than two markers.
std::string bpmRangeText(const TimingMap& timing);

// OK's checks in order: a text field holding one of \ / : * ? " < > | # ; (the message
// names the first such field of title, subtitle, artist, genre, credits), a file name holding
// ";". Then the display BPMs are rewritten "%.3f" (a value that is not a number, not
// above 0 or above kMaxDisplayBpm becomes "100.000") and the preview texts rewritten
// as whole numbers (both "0" unless 0 <= begin < end within 32 bits). Returns the
// refusal, or nothing when the form may be applied.
std::optional<std::string> checkPropertiesForm(PropertiesForm& form);

// The symbols a song's texts cannot hold (they end or split the file's statements, or
// name folders): nothing when `text` has none, otherwise the message naming `field`.
std::optional<std::string> refusedSymbolsIn(std::string_view text, std::string_view field);

// Which pictures OK changed the name of (they are loaded again).
struct PictureChanges {
    bool banner = false;
    bool background = false;
};
// Keeps a checked form: the properties and the preview region.
PictureChanges applyPropertiesForm(const PropertiesForm& form, SongProperties& properties,
                                   MusicPlayer& player);

} // namespace quillex
