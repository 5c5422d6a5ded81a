#include "fileio/folder_lock.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace quillex {

FolderLock::FolderLock(const std::vector<std::string>& filePaths, Kind kind) {
    std::vector<std::string> folders;
    for (const std::string& path : filePaths) {
        // Links followed, as a save follows them, so that a reader through a link and
        // a save to its target lock the same folder.
        std::error_code failed;
        const std::filesystem::path file = std::filesystem::weakly_canonical(path, failed);
        const std::filesystem::path folder =
            (failed ? std::filesystem::path(path) : file).parent_path();
        folders.push_back(folder.empty() ? "." : folder.string());
    }
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    for (const std::string& folder : folders) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            continue;
        int locked;
        do
            locked = ::flock(fd, kind == Kind::Exclusive ? LOCK_EX : LOCK_SH);
        while (locked != 0 && errno == EINTR);
        descriptors_.push_back(fd);
    }
}

FolderLock::~FolderLock() {
    // Closing the descriptor releases its lock.
    for (int fd : descriptors_)
        ::close(fd);
}

} // namespace quillex
