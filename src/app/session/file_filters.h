// The file types offered by the Open and Save As dialogs, in the order shown, and the
// name a Save As writes for the type chosen.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillex {

struct FileFilter {
    std::string_view label;
    std::string_view patterns; // ";" between patterns
};

inline constexpr std::array<FileFilter, 8> kOpenFilters{{
    {"Supported Media (*.qx, *.sm, *.ssc, *.mp3, *.ogg, *.wav)",
     "*.qx;*.sm;*.ssc;*.mp3;*.ogg;*.wav"},
    {"quillex Files (*.qx)", "*.qx"},
    {"StepMania/ITG PC Files (*.sm)", "*.sm"},
    {"StepMania 5 Files (*.ssc)", "*.ssc"},
    {"MP3 Audio (*.mp3)", "*.mp3"},
    {"OggVorbis (*.ogg)", "*.ogg"},
    {"Wave (Microsoft) (*.wav)", "*.wav"},
    {"All Files (*.*)", "*.*"},
}};
inline constexpr std::string_view kOpenDefaultExtension = "mp3";

inline constexpr std::array<FileFilter, 5> kSaveFilters{{
    {"quillex (*.qx)", "*.qx"},
    {"StepMania/ITG PC (*.sm)", "*.sm"},
    {"StepMania/ITG, Single BPM (*.sm)", "*.sm"},
    {"StepMania 5 (*.ssc)", "*.ssc"},
    {"All Files (*.*)", "*.*"},
}};
inline constexpr std::string_view kSaveDefaultExtension = "sm";
// The Save As type that writes one BPM for the whole song (1-based).
inline constexpr int kSingleBpmFilter = 3;
// The Save As type that writes `.ssc` (1-based).
inline constexpr int kSscFilter = 4;

// The extension a name typed without one gets under a Save As type (1-based): the
// type's own ("qx", "sm"), the default "sm" for "All Files" and unknown types.
std::string_view saveTypeExtension(int filterIndex);
// The file Save As writes: the name as typed when its file name has a ".", else the
// name with the chosen type's extension.
std::string savePathForType(const std::string& typed, int filterIndex);

} // namespace quillex
