// Which arrow pictures ("noteskin") the three dance game types with a choice use, and
// the noteskin.ini file that remembers the choice between runs.
#pragma once

#include <array>
#include <string>

namespace quillex {

struct NoteskinChoice {
    // dance-single, dance-double, dance-couple: true = Enhanced, false = Standard.
    std::array<bool, 3> enhanced{false, false, false};

    // The game types other than those three have Standard only.
    bool enhancedFor(int gameTypeIndex) const {
        return gameTypeIndex >= 0 && gameTypeIndex < 3 && enhanced[gameTypeIndex];
    }
};

void parseNoteskins(const std::string& text, NoteskinChoice& choice);
std::string formatNoteskins(const NoteskinChoice& choice);
// Reads the file over `choice`. A missing file is created with all three Standard.
// A file that cannot be read or written is skipped silently.
void readNoteskins(const std::string& path, NoteskinChoice& choice);
bool writeNoteskins(const std::string& path, const NoteskinChoice& choice);

} // namespace quillex
