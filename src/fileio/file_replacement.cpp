#include "fileio/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillex {

namespace {

std::string reasonOf(int error) {
    return std::strerror(error);
}

// Creates a new temporary file beside `path` (so that renaming it is a move within one
// file system) with the permissions a new file would get.
int createTemporary(const std::string& path, std::string& temporaryPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath =
            path + ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
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
    std::vector<std::string> temporaries;
    for (const FileContent& file : files) {
        std::string temporary;
        const int fd = createTemporary(file.path, temporary);
        if (fd < 0) {
            error = "I could not save the file " + file.path + ".\n" + reasonOf(errno);
            removeAll(temporaries);
            return false;
        }
        temporaries.push_back(temporary);
        const bool written = writeAll(fd, file.text);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            error = "I could not save the file " + file.path + ".\n" +
                    reasonOf(written ? errno : writeError);
            removeAll(temporaries);
            return false;
        }
    }
    // A rename can only fail now if a name is taken by a folder; check them all first
    // so that no file is replaced unless every one can be.
    for (const FileContent& file : files) {
        struct stat info {};
        if (::stat(file.path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            error = "I could not save the file " + file.path + ".\n" + reasonOf(EISDIR);
            removeAll(temporaries);
            return false;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (std::rename(temporaries[i].c_str(), files[i].path.c_str()) != 0) {
            error = "I could not save the file " + files[i].path + ".\n" + reasonOf(errno);
            removeAll({temporaries.begin() + static_cast<std::ptrdiff_t>(i), temporaries.end()});
            return false;
        }
    }
    return true;
}

} // namespace quillex
