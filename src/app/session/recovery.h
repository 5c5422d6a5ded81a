// The crash recovery copy: while the song is modified, a copy of it (.qx and .qxx,
// written through the safe file replacement) is kept in the user's state folder, at
// most once per interval and only when something changed since the last copy. The
// song is copied on the main thread as shared lists (a snapshot costs pointer copies)
// and written on a worker thread, so a copy never stalls a frame. A normal save or
// close removes it; a copy found at start-up is what an earlier run left behind.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace quillex {

class Editor;

class RecoveryCopy {
  public:
    // `folder` is where the copy goes (made when first written).
    RecoveryCopy(Editor& editor, std::string folder);
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // Called once per interval: when the song is modified and changed since the last
    // copy, and no copy is still being written, starts writing one. True when it did.
    bool update();
    // The copy is no longer wanted (the song was saved or closed, the user declined
    // it): waits for a write in progress, then removes the files.
    void discard();
    // Waits for a write in progress.
    void wait();

    // True when a copy is on disk (from this run or an earlier one).
    bool exists() const;
    // The copy a restart opens.
    std::string songPath() const { return folder_ + "/recovery.qx"; }
    // A copy found at start-up was opened: it stays until the song is saved or closed.
    void adoptExisting() { written_ = true; }

    struct Contents;

  private:
    std::shared_ptr<const Contents> take() const;
    bool changedSince(const Contents& now) const;

    Editor& editor_;
    std::string folder_;
    std::thread worker_;
    std::atomic<bool> writing_{false};
    std::shared_ptr<const Contents> last_; // what the last copy held
    bool written_ = false;                 // this run's copy (or an adopted one) is on disk
};

} // namespace quillex
