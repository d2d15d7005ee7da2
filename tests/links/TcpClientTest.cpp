// The TCP client against a peer on loopback that the test plays: exact reads of answers
// written in pieces, lines with both line ends, a peer that closes or stays silent, and
// writes to a peer that is gone.

#include "links/TcpClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>
#include <functional>
#include <string>
#include <thread>

namespace lumetra {
namespace {

// A listening socket on loopback whose one connection is served by `script`.
class TPeer {
public:
    explicit TPeer(std::function<void(int)> script, bool ipv6 = false) {
        Listener = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (ipv6) {
            sockaddr_in6 a{};
            a.sin6_family = AF_INET6;
            a.sin6_addr = in6addr_loopback;
            Bound = ::bind(Listener, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        } else {
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            Bound = ::bind(Listener, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        }
        sockaddr_storage bound{};
        socklen_t length = sizeof bound;
        Bound = Bound && ::listen(Listener, 1) == 0 &&
                ::getsockname(Listener, reinterpret_cast<sockaddr*>(&bound), &length) == 0;
        Port = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                          : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
        if (Bound) {
            Server = std::thread([this, script] {
                // A client that never comes must not hang the test.
                pollfd p{Listener, POLLIN, 0};
                if (::poll(&p, 1, 5000) != 1)
                    return;
                const int connection = ::accept(Listener, nullptr, nullptr);
                if (connection >= 0) {
                    script(connection);
                    ::close(connection);
                }
            });
        }
    }
    ~TPeer() {
        if (Server.joinable())
            Server.join();
        ::close(Listener);
    }
    TPeer(const TPeer&) = delete;
    TPeer& operator=(const TPeer&) = delete;

    int Listener = -1;
    bool Bound = false;
    std::uint16_t Port = 0;
    std::thread Server;
};

void Write(int fd, const std::string& text) { ASSERT_EQ(::send(fd, text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size())); }

std::string Receive(int fd, std::size_t count) {
    std::string got(count, '\0');
    std::size_t at = 0;
    while (at < count) {
        const ssize_t n = ::recv(fd, got.data() + at, count - at, 0);
        if (n <= 0)
            break;
        at += static_cast<std::size_t>(n);
    }
    got.resize(at);
    return got;
}

TEST(TcpClient, FramesAndLinesArriveWholeFromPieces) {
    const std::string request{'\x42', '\x80', '\x7F', '\xE0', '\xE0', '\x00', '\x45'};
    std::string seen;
    TPeer peer([&](int fd) {
        seen = Receive(fd, request.size());
        // The answer 42 00 FF E4 E4 00 45 in four pieces.
        for (const std::string& piece : std::vector<std::string>{{'\x42', '\x00'}, {'\xFF'}, {'\xE4', '\xE4', '\x00'}, {'\x45'}}) {
            Write(fd, piece);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        Write(fd, "F1 > Lab North > 127.0.0.1 > 50000\r\nsecond line\nthird");
    });
    ASSERT_TRUE(peer.Bound);
    TTcpClient client;
    ASSERT_TRUE(client.Connect("localhost", peer.Port, 2000));
    ASSERT_TRUE(client.Send(request));
    Byte answer[7] = {};
    ASSERT_EQ(client.ReadExact(answer, 7, 2000), 7u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), 7), std::string("\x42\x00\xFF\xE4\xE4\x00\x45", 7));
    std::string line;
    ASSERT_TRUE(client.ReadLine(line, 2000));
    EXPECT_EQ(line, "F1 > Lab North > 127.0.0.1 > 50000");
    ASSERT_TRUE(client.ReadLine(line, 2000));
    EXPECT_EQ(line, "second line");
    // "third" has no line end: the peer closes, and the read ends at once.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.ReadLine(line, 5000));
    EXPECT_TRUE(client.PeerClosed());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(seen, request);
}

TEST(TcpClient, SilencePeerGoneAndNoServer) {
    {
        TPeer silent([](int fd) { Receive(fd, 1); }); // waits for the client's byte
        ASSERT_TRUE(silent.Bound);
        TTcpClient client;
        ASSERT_TRUE(client.Connect("127.0.0.1", silent.Port, 2000));
        Byte b = 0;
        EXPECT_EQ(client.ReadExact(&b, 1, 150), 0u); // time-out
        EXPECT_FALSE(client.PeerClosed());
        ASSERT_TRUE(client.Send(std::string(1, 'x')));
    }
    {
        TPeer closing([](int) {});
        ASSERT_TRUE(closing.Bound);
        TTcpClient client;
        ASSERT_TRUE(client.Connect("127.0.0.1", closing.Port, 2000));
        closing.Server.join();
        // Writes to a peer that is gone fail; the process lives on (no SIGPIPE).
        bool failed = false;
        for (int i = 0; i < 50 && !failed; ++i) {
            failed = !client.Send(std::string(4096, 'y'));
        }
        EXPECT_TRUE(failed);
    }
    TTcpClient client;
    const std::uint16_t unused = [] {
        TPeer probe([](int) {});
        const std::uint16_t port = probe.Port;
        TTcpClient c;
        (void)c.Connect("127.0.0.1", port, 500);
        return port;
    }();
    EXPECT_FALSE(client.Connect("127.0.0.1", unused, 500)); // nothing listens any more
    EXPECT_FALSE(client.Connect("no-such-host.invalid", 50000, 500));
    EXPECT_FALSE(client.Connected());
}

TEST(TcpClient, IPv6Literal) {
    TPeer peer([](int fd) { Write(fd, "OK\n"); }, true);
    if (!peer.Bound) {
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    }
    TTcpClient client;
    ASSERT_TRUE(client.Connect("::1", peer.Port, 2000));
    std::string line;
    EXPECT_TRUE(client.ReadLine(line, 2000));
    EXPECT_EQ(line, "OK");
}

} // namespace
} // namespace lumetra
