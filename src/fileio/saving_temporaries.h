// The temporary files a save writes beside each file it replaces, named
// "<file>.saving-<process id>-<attempt>", and the clean-up of those a save left behind
// when its process was killed before it could rename or remove them.
#pragma once

#include <string>

namespace quillex {

// Creates a new, empty temporary file beside `path` (in its folder, so that renaming it
// over `path` is a move within one file system) with the permissions a new file gets.
// The open descriptor, or -1 with errno set.
int createSavingTemporary(const std::string& path, std::string& temporaryPath);

// Removes the temporary files of `path` whose process has ended. Only names of exactly
// this form are touched, and only when no process with that id runs any more: a save
// running at the same time keeps its files.
void removeStaleTemporaries(const std::string& path);

} // namespace quillex
