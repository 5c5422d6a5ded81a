// Hands a block of bytes to a reader through a local socket pair, written by a thread
// of its own so that the reader may take them at its own pace. libsndfile treats a
// socket like a pipe: it reads an MP3 from one to its very end, where from a file it
// stops at the length it guessed when the file was opened.
#pragma once

#include <cstdint>
#include <thread>
#include <vector>

namespace quillex {

class SocketFeed {
  public:
    // `bytes` must stay unchanged until the feed is destroyed.
    explicit SocketFeed(const std::vector<unsigned char>& bytes);
    // Stops the writer (a reader that stopped early leaves it blocked) and closes both
    // ends. The reader must be done with readEnd() by then.
    ~SocketFeed();
    SocketFeed(const SocketFeed&) = delete;
    SocketFeed& operator=(const SocketFeed&) = delete;

    // The end to read the bytes from, up to an end of file after the last; -1 when no
    // socket pair could be made.
    int readEnd() const { return readEnd_; }

  private:
    void write(const std::vector<unsigned char>& bytes);

    int readEnd_ = -1;
    int writeEnd_ = -1;
    std::thread writer_;
};

} // namespace quillex
