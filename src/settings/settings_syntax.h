// The entry syntax shared by options.ini and noteskin.ini ("#KEY:VALUE;") and
// whole-file reading and writing. Numbers in values are read with textToInt and
// textToDouble from fileio/statement_text.h and written with base/number_format.h,
// so they never depend on the user's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillex {

struct SettingsEntry {
    std::string key;   // everything before the first ':' (the '#' included)
    std::string value; // everything after it
};

// Joins the lines (line breaks dropped), splits at every ';' and each piece at its
// first ':'. Nothing is trimmed; a piece without ':' is skipped.
std::vector<SettingsEntry> parseSettingsEntries(std::string_view text);

// Exactly "NO" is false; any other value is true.
bool settingsBool(std::string_view value);

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);
// Writes `content` to a temporary file beside `path` and renames it over `path`, so
// the file is either the old one or the new one in full, never half written.
bool writeFileWhole(const std::string& path, std::string_view content);

} // namespace quillex
