#include "audio/platform/socket_feed.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace quillex {

SocketFeed::SocketFeed(const std::vector<unsigned char>& bytes) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    writer_ = std::thread([this, &bytes] { write(bytes); });
}

void SocketFeed::write(const std::vector<unsigned char>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        // No SIGPIPE when the reader has gone: the send just fails.
        const ssize_t n = ::send(writeEnd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
    ::shutdown(writeEnd_, SHUT_WR); // the reader sees the end of the data
}

SocketFeed::~SocketFeed() {
    if (readEnd_ >= 0)
        ::close(readEnd_); // a send still waiting for the reader fails at once
    if (writer_.joinable())
        writer_.join();
    if (writeEnd_ >= 0)
        ::close(writeEnd_);
}

} // namespace quillex
