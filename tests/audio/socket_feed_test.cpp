// The feed that hands an MP3 to libsndfile through a socket.
#include <gtest/gtest.h>

#include <unistd.h>

#include "audio/platform/socket_feed.h"

namespace quillex {
namespace {

std::vector<unsigned char> pattern(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + i / 251);
    return bytes;
}

// Far more than a socket buffers, so the writer has to wait for the reader.
constexpr std::size_t kBig = 4 << 20;

TEST(SocketFeed, DeliversEveryByteThenTheEnd) {
    const auto bytes = pattern(kBig);
    SocketFeed feed(bytes);
    ASSERT_GE(feed.readEnd(), 0);
    std::vector<unsigned char> got(kBig + 1);
    std::size_t have = 0;
    for (ssize_t n; (n = ::read(feed.readEnd(), got.data() + have, got.size() - have)) > 0;)
        have += static_cast<std::size_t>(n);
    got.resize(have);
    EXPECT_EQ(got, bytes);
}

TEST(SocketFeed, AReaderThatStopsEarlyDoesNotHoldItUp) {
    const auto bytes = pattern(kBig);
    SocketFeed feed(bytes);
    unsigned char first[1000];
    ASSERT_GT(::read(feed.readEnd(), first, sizeof first), 0);
    EXPECT_EQ(first[0], bytes[0]);
    // Destroying the feed now returns although its writer is blocked mid-way.
}

} // namespace
} // namespace quillex
