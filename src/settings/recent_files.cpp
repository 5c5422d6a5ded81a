#include "settings/recent_files.h"

#include <algorithm>

#include "settings/settings_syntax.h"

namespace quillex {

void RecentFiles::load() {
    files_.clear();
    const std::optional<std::string> text = path_.empty() ? std::nullopt : readWholeFile(path_);
    if (!text)
        return;
    std::size_t start = 0;
    while (start < text->size() && files_.size() < kRecentFileCount) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos)
            end = text->size();
        std::string line = text->substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && std::find(files_.begin(), files_.end(), line) == files_.end())
            files_.push_back(std::move(line));
        start = end + 1;
    }
}

void RecentFiles::add(const std::string& file) {
    if (file.empty())
        return;
    std::erase(files_, file);
    files_.insert(files_.begin(), file);
    if (files_.size() > kRecentFileCount)
        files_.resize(kRecentFileCount);
    save();
}

void RecentFiles::remove(const std::string& file) {
    if (std::erase(files_, file) > 0)
        save();
}

void RecentFiles::save() const {
    if (path_.empty())
        return;
    std::string text;
    for (const std::string& file : files_)
        text += file + "\n";
    writeFileWhole(path_, text);
}

} // namespace quillex
