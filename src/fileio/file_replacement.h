// Saving without ever destroying the previous file: every file of a save is first
// written whole to a temporary file in its own folder, and only when all of them were
// written are they renamed over the old ones. The save holds the folder lock, so two
// saves of the same files never interleave; it writes through symbolic links, keeps
// the replaced file's permissions and never replaces anything but a regular file.
#pragma once

#include <string>
#include <vector>

namespace quillex {

struct FileContent {
    std::string path;
    std::string text;
};

// Writes all files or none. On failure the old files are untouched, no temporary file
// is left behind, and `error` names the file and the reason. Temporary files of these
// names that a killed save left behind are removed first.
bool replaceFiles(const std::vector<FileContent>& files, std::string& error);

} // namespace quillex
