// The song files of a corpus folder, for the tests that read real songs.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

namespace quillex::test {

// The files below `folder` whose extension is one of `extensions`, sorted; none when
// the folder is missing (a machine without the corpus).
inline std::vector<std::filesystem::path>
songFilesUnder(const std::filesystem::path& folder,
               std::initializer_list<std::string_view> extensions = {".sm", ".ssc"}) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (std::find(extensions.begin(), extensions.end(), it->path().extension().string()) !=
            extensions.end())
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace quillex::test
