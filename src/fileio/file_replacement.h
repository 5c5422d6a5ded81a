// Saving without ever destroying the previous file: every file of a save is first
// written whole to a temporary file in its own folder, and only when all of them were
// written are they renamed over the old ones.
#pragma once

#include <string>
#include <vector>

namespace quillex {

struct FileContent {
    std::string path;
    std::string text;
};

// Writes all files or none. On failure the old files are untouched, no temporary file
// is left behind, and `error` names the file and the reason.
bool replaceFiles(const std::vector<FileContent>& files, std::string& error);

} // namespace quillex
