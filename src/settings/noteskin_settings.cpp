#include "settings/noteskin_settings.h"

#include <filesystem>

#include "settings/settings_syntax.h"

namespace quillex {

namespace {
constexpr std::array<const char*, 3> kKeys{"#DANCE_SINGLE", "#DANCE_DOUBLE", "#DANCE_COUPLE"};
}

void parseNoteskins(const std::string& text, NoteskinChoice& choice) {
    for (const SettingsEntry& entry : parseSettingsEntries(text))
        for (size_t i = 0; i < kKeys.size(); ++i)
            if (entry.key == kKeys[i])
                choice.enhanced[i] = entry.value == "ENHANCED";
}

std::string formatNoteskins(const NoteskinChoice& choice) {
    std::string text;
    for (size_t i = 0; i < kKeys.size(); ++i) {
        text += kKeys[i];
        text += choice.enhanced[i] ? ":ENHANCED;\n" : ":STANDARD;\n";
    }
    return text;
}

void readNoteskins(const std::string& path, NoteskinChoice& choice) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        writeNoteskins(path, NoteskinChoice{});
        return;
    }
    if (auto text = readWholeFile(path))
        parseNoteskins(*text, choice);
}

bool writeNoteskins(const std::string& path, const NoteskinChoice& choice) {
    return writeFileWhole(path, formatNoteskins(choice));
}

} // namespace quillex
