// Where a save really writes and what it keeps of the file it replaces: a symbolic link
// is followed to the file it names (the link stays a link), only a regular file is ever
// replaced (never a folder, a device or a pipe), and the new file gets the old one's
// permissions and, where the system allows, its owner and group.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace quillex {

struct FileTarget {
    std::string path; // the file the save replaces or creates, links followed
    bool exists = false;
    mode_t mode = 0; // permission bits of the existing file
    uid_t owner = 0;
    gid_t group = 0;
};

// The target of a save to `path`. Nothing when it must not be written, with `error`
// naming `path` and the reason: something other than a regular file is there, or a
// chain of links that never ends.
std::optional<FileTarget> fileTargetOf(const std::string& path, std::string& error);

// Gives the file open as `fd` the mode, owner and group of the file it will replace.
// An owner or group this process may not give is left as it is (a user saving a
// friend's song becomes its owner, as any editor makes it).
void keepPermissions(int fd, const FileTarget& target);

} // namespace quillex
