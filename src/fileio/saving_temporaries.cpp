#include "fileio/saving_temporaries.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <unistd.h>

#include "base/number_parse.h"

namespace quillex {

namespace {

constexpr std::string_view kMarker = ".saving-";

std::string temporaryPrefix(const std::string& path) {
    return path + std::string(kMarker);
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process id in "<pid>-<attempt>", when the text is exactly that.
std::optional<pid_t> processOf(std::string_view suffix) {
    const std::size_t dash = suffix.find('-');
    if (dash == std::string_view::npos || !allDigits(suffix.substr(0, dash)) ||
        !allDigits(suffix.substr(dash + 1)))
        return std::nullopt;
    const std::optional<std::int64_t> pid = parseWhole(suffix.substr(0, dash));
    if (!pid || *pid <= 0 || *pid > INT32_MAX)
        return std::nullopt;
    return static_cast<pid_t>(*pid);
}

// A process that cannot be signalled for lack of permission still runs.
bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

int createSavingTemporary(const std::string& path, std::string& temporaryPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath =
            temporaryPrefix(path) + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void removeStaleTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path file(path);
    const std::string prefix = file.filename().string() + std::string(kMarker);
    std::error_code failed;
    fs::directory_iterator entries(file.has_parent_path() ? file.parent_path() : fs::path("."),
                                   failed);
    if (failed)
        return;
    for (; !failed && entries != fs::directory_iterator(); entries.increment(failed)) {
        const fs::directory_entry& entry = *entries;
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0)
            continue;
        const std::optional<pid_t> pid = processOf(std::string_view(name).substr(prefix.size()));
        std::error_code ignored;
        if (pid && !processRuns(*pid) && entry.is_regular_file(ignored))
            fs::remove(entry.path(), ignored);
    }
}

} // namespace quillex
