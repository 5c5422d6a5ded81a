#include "fileio/song_paths.h"

#include <filesystem>
#include <system_error>

#include "fileio/statement_text.h"

namespace quillex {

namespace fs = std::filesystem;

std::string songFolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string_view fileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view extensionOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : path.substr(dot);
}

std::string companionPathOf(std::string_view songPath) {
    const std::size_t dot = songPath.rfind('.');
    return std::string(songPath.substr(0, dot)) + ".qxx";
}

namespace {

bool isRegularFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string findIgnoringCase(const std::string& folder, std::string_view name) {
    std::error_code error;
    const std::string wanted = toLower(name);
    fs::directory_iterator it(folder.empty() ? std::string(".") : folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (toLower(entry) == wanted && isRegularFile(folder + entry))
            return folder + entry;
    }
    return {};
}

} // namespace

std::string resolveSongFile(const std::string& songFolder, std::string_view name) {
    std::string relative(name);
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    const std::string asPath = relative.starts_with('/') ? relative : songFolder + relative;
    if (name.empty() || isRegularFile(asPath))
        return asPath;
    const std::string bare = songFolder + std::string(fileNameOf(name));
    if (isRegularFile(bare))
        return bare;
    const std::string otherCase = findIgnoringCase(songFolder, fileNameOf(name));
    return otherCase.empty() ? asPath : otherCase;
}

namespace {

// An absolute path with "." and ".." and symbolic links resolved as far as it exists.
fs::path settledPath(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path.empty() ? fs::path(".") : fs::path(path), error);
    fs::path settled = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : settled;
}

} // namespace

std::string songRelativeName(const std::string& songFolder, const std::string& filePath) {
    const fs::path file = settledPath(filePath);
    const fs::path relative = file.lexically_relative(settledPath(songFolder));
    return relative.empty() ? file.generic_string() : relative.generic_string();
}

std::string relocatedSongName(const std::string& oldFolder, const std::string& name,
                              const std::string& newFolder) {
    if (name.empty() || settledPath(oldFolder) == settledPath(newFolder))
        return name;
    const std::string found = resolveSongFile(oldFolder, name);
    return isRegularFile(found) ? songRelativeName(newFolder, found) : name;
}

} // namespace quillex
