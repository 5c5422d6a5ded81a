// An advisory lock (flock) on the folders of the files a save writes, so that a song
// file and its companion are never written half by one save and half by another, nor
// read while a save is between its two renames: a save holds it exclusively, a reader
// of the pair shared. Programs that do not take it are not held back; the companion
// check of the own format catches what they leave.
#pragma once

#include <string>
#include <vector>

namespace quillex {

class FolderLock {
  public:
    enum class Kind { Shared, Exclusive };
    // Locks the folder of each of `filePaths` (each folder once, in one order, so two
    // saves never wait for each other crosswise). A folder that cannot be opened is
    // left unlocked: the save goes on, and its own errors name what is wrong.
    FolderLock(const std::vector<std::string>& filePaths, Kind kind);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    std::vector<int> descriptors_;
};

} // namespace quillex
