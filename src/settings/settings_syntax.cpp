#include "settings/settings_syntax.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fileio/file_replacement.h"

namespace quillex {

std::vector<SettingsEntry> parseSettingsEntries(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (char c : text)
        if (c != '\n' && c != '\r')
            joined.push_back(c);

    std::vector<SettingsEntry> entries;
    std::string_view rest(joined);
    while (!rest.empty()) {
        size_t end = rest.find(';');
        std::string_view piece = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        size_t colon = piece.find(':');
        if (colon == std::string_view::npos)
            continue;
        entries.push_back(
            {std::string(piece.substr(0, colon)), std::string(piece.substr(colon + 1))});
    }
    return entries;
}

bool settingsBool(std::string_view value) {
    return value != "NO";
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return content.str();
}

bool writeFileWhole(const std::string& path, std::string_view content) {
    // The settings folder is made on the first write.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::string error;
    return replaceFiles({{path, std::string(content)}}, error);
}

} // namespace quillex
