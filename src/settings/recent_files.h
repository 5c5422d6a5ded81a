// File ▸ Open Recent: the songs last opened or saved, newest first, kept in a small
// text file (one path a line) in the user's configuration folder.
#pragma once

#include <string>
#include <vector>

namespace quillex {

inline constexpr std::size_t kRecentFileCount = 10;

class RecentFiles {
  public:
    // `path` is the list's file; an empty one keeps the list in memory only.
    explicit RecentFiles(std::string path = {}) : path_(std::move(path)) {}

    // Reads the list's file; a missing or unreadable file gives an empty list.
    void load();
    // Puts `file` first (once only), keeps the newest ten and writes the list.
    void add(const std::string& file);
    // Drops `file` from the list (a file that is gone) and writes the list.
    void remove(const std::string& file);

    const std::vector<std::string>& files() const { return files_; }

  private:
    void save() const;

    std::string path_;
    std::vector<std::string> files_;
};

} // namespace quillex
