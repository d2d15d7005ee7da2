#include "links/TcpClient.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumetra {
namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int RemainingMs(std::int64_t deadline) {
    const std::int64_t left = deadline - NowMs();
    return left <= 0 ? 0 : static_cast<int>(std::min<std::int64_t>(left, 1 << 30));
}

// A non-blocking connect to one address, finished within the deadline.
int ConnectOne(const addrinfo& address, std::int64_t deadline) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                            address.ai_protocol);
    if (fd < 0) {
        return -1;
    }
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) {
        return fd;
    }
    if (errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int ready = 0;
        do {
            ready = ::poll(&p, 1, RemainingMs(deadline));
        } while (ready < 0 && errno == EINTR);
        int error = 0;
        socklen_t length = sizeof error;
        if (ready == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
            return fd;
        }
    }
    ::close(fd);
    return -1;
}

} // namespace

TTcpClient::TTcpClient(TTcpClient&& other) noexcept
    : Socket(other.Socket), EndOfStream(other.EndOfStream), Pending(std::move(other.Pending)) {
    other.Socket = -1;
}

TTcpClient& TTcpClient::operator=(TTcpClient&& other) noexcept {
    if (this != &other) {
        Disconnect();
        Socket = other.Socket;
        EndOfStream = other.EndOfStream;
        Pending = std::move(other.Pending);
        other.Socket = -1;
    }
    return *this;
}

bool TTcpClient::Connect(const std::string& host, std::uint16_t port, int timeoutMs) {
    Disconnect();
    const std::int64_t deadline = NowMs() + std::max(timeoutMs, 0);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses) != 0) {
        return false;
    }
    for (const addrinfo* a = addresses; a != nullptr && Socket < 0 && RemainingMs(deadline) > 0; a = a->ai_next) {
        Socket = ConnectOne(*a, deadline);
    }
    ::freeaddrinfo(addresses);
    return Socket >= 0;
}

void TTcpClient::Disconnect() {
    if (Socket >= 0) {
        ::close(Socket);
    }
    Socket = -1;
    EndOfStream = false;
    Pending.clear();
}

bool TTcpClient::Send(const Byte* data, std::size_t size) {
    std::size_t sent = 0;
    const std::int64_t deadline = NowMs() + 10000;
    while (Socket >= 0 && sent < size) {
        // MSG_NOSIGNAL: a peer that went away gives EPIPE here, not a signal.
        const ssize_t n = ::send(Socket, data + sent, size - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{Socket, POLLOUT, 0};
            if (::poll(&p, 1, RemainingMs(deadline)) <= 0) {
                return false;
            }
            continue;
        }
        return false;
    }
    return Socket >= 0 && sent == size;
}

bool TTcpClient::WaitReadable(std::int64_t deadline) {
    pollfd p{Socket, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready > 0) {
            return true; // data, or the end of the stream, which the read then finds
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

std::size_t TTcpClient::ReadExact(Byte* buffer, std::size_t count, int timeoutMs) {
    std::size_t got = std::min(count, Pending.size());
    std::memcpy(buffer, Pending.data(), got);
    Pending.erase(0, got);
    const std::int64_t deadline = NowMs() + std::max(timeoutMs, 0);
    while (Socket >= 0 && got < count && !EndOfStream) {
        if (!WaitReadable(deadline)) {
            break;
        }
        const ssize_t n = ::recv(Socket, buffer + got, count - got, 0);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0) {
            EndOfStream = true; // closed by the peer: nothing more will come
        } else if (errno != EAGAIN && errno != EINTR) {
            break;
        }
    }
    return got;
}

bool TTcpClient::ReadLine(std::string& line, int timeoutMs, std::size_t maxLength) {
    line.clear();
    const std::int64_t deadline = NowMs() + std::max(timeoutMs, 0);
    for (;;) {
        if (const auto end = Pending.find('\n'); end != std::string::npos) {
            if (end > maxLength) {
                return false;
            }
            line = Pending.substr(0, end);
            Pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return true;
        }
        if (Pending.size() > maxLength || Socket < 0 || EndOfStream || !WaitReadable(deadline)) {
            return false;
        }
        char chunk[512];
        const ssize_t n = ::recv(Socket, chunk, sizeof chunk, 0);
        if (n > 0) {
            Pending.append(chunk, static_cast<std::size_t>(n));
        } else if (n == 0) {
            EndOfStream = true;
        } else if (errno != EAGAIN && errno != EINTR) {
            return false;
        }
    }
}

} // namespace lumetra
