#include "fileio/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "fileio/folder_lock.h"
#include "fileio/save_target.h"
#include "fileio/saving_temporaries.h"

namespace quillex {

namespace {

std::string failure(const std::string& path, int error) {
    return "I could not save the file " + path + ".\n" + std::strerror(error);
}

bool writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0 || errno == EINVAL;
}

void removeAll(const std::vector<std::string>& paths) {
    for (const std::string& p : paths)
        ::unlink(p.c_str());
}

} // namespace

bool replaceFiles(const std::vector<FileContent>& files, std::string& error) {
    // Every name is checked before anything is written: a save replaces no file unless
    // every one can be replaced.
    std::vector<FileTarget> targets;
    std::vector<std::string> targetPaths;
    for (const FileContent& file : files) {
        std::optional<FileTarget> target = fileTargetOf(file.path, error);
        if (!target)
            return false;
        targetPaths.push_back(target->path);
        targets.push_back(std::move(*target));
    }
    const FolderLock lock(targetPaths, FolderLock::Kind::Exclusive);
    for (const std::string& path : targetPaths)
        removeStaleTemporaries(path);

    std::vector<std::string> temporaries;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string temporary;
        const int fd = createSavingTemporary(targets[i].path, temporary);
        if (fd < 0) {
            error = failure(files[i].path, errno);
            removeAll(temporaries);
            return false;
        }
        temporaries.push_back(temporary);
        keepPermissions(fd, targets[i]);
        const bool written = writeAll(fd, files[i].text);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            error = failure(files[i].path, written ? errno : writeError);
            removeAll(temporaries);
            return false;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (std::rename(temporaries[i].c_str(), targets[i].path.c_str()) != 0) {
            error = failure(files[i].path, errno);
            removeAll({temporaries.begin() + static_cast<std::ptrdiff_t>(i), temporaries.end()});
            return false;
        }
    }
    return true;
}

} // namespace quillex
