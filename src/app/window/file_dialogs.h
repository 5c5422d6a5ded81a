// The window's modal questions: the Open and Save As file dialogs with the program's
// file types, and the save-changes prompt.
#pragma once

#include <optional>
#include <string>

#include "app/session/shell_ports.h"

class QWidget;

namespace quillex {

// The file chosen to open; nothing when the user cancels.
std::optional<std::string> runOpenDialog(QWidget* owner);
// The Open dialog for a song's music, in `folder`, showing music files.
std::optional<std::string> runMusicOpenDialog(QWidget* owner, const std::string& folder);
// The file and type chosen to save as, starting at `start` (folder, name without
// extension, type); nothing on Cancel.
std::optional<SaveTarget> runSaveAsDialog(QWidget* owner, const SaveTarget& start);
// "Do you want to save the changes to this file?" with Yes, No and Cancel (also
// Escape and the close box), naming `songName` below the question.
SavePromptAnswer runSavePrompt(QWidget* owner, const std::string& songName);

} // namespace quillex
