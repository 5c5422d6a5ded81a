#include "fileio/save_target.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quillex {

namespace {

// The system's own limit on the links one path may pass through.
constexpr int kMostLinksFollowed = 40;

// What a file that is not a regular file is, for the message that refuses it.
std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

std::string refusal(const std::string& path, const std::string& reason) {
    return "I could not save the file " + path + ".\n" + reason + "; nothing was written.";
}

} // namespace

std::optional<FileTarget> fileTargetOf(const std::string& path, std::string& error) {
    FileTarget target;
    target.path = path;
    for (int followed = 0;; ++followed) {
        struct stat info {};
        if (::lstat(target.path.c_str(), &info) != 0)
            return target; // nothing there (or a folder we cannot look into): the save says
        if (S_ISLNK(info.st_mode)) {
            if (followed == kMostLinksFollowed) {
                error = refusal(path, "Its symbolic links lead round in a circle");
                return std::nullopt;
            }
            std::error_code failed;
            const std::filesystem::path link = std::filesystem::read_symlink(target.path, failed);
            if (failed) {
                error = refusal(path, failed.message());
                return std::nullopt;
            }
            target.path = link.is_absolute()
                              ? link.string()
                              : (std::filesystem::path(target.path).parent_path() / link).string();
            continue;
        }
        if (!S_ISREG(info.st_mode)) {
            error =
                refusal(path, "It is " + kindOf(info.st_mode) + ", not a file a song is saved in");
            return std::nullopt;
        }
        target.exists = true;
        target.mode = info.st_mode & 07777;
        target.owner = info.st_uid;
        target.group = info.st_gid;
        return target;
    }
}

void keepPermissions(int fd, const FileTarget& target) {
    if (!target.exists)
        return;
    // The owner first: a change of owner clears the set-user-ID bits the mode restores.
    // A group this user does not belong to is refused by the system, and so is another
    // owner; each is tried alone so that what may be kept is kept.
    // A refusal changes nothing, so the results need no checking.
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        if (info.st_gid != target.group) [[maybe_unused]]
            const int kept = ::fchown(fd, static_cast<uid_t>(-1), target.group);
        if (info.st_uid != target.owner) [[maybe_unused]]
            const int kept = ::fchown(fd, target.owner, static_cast<gid_t>(-1));
    }
    [[maybe_unused]] const int kept = ::fchmod(fd, target.mode);
}

} // namespace quillex
