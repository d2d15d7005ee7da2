#include "ClientLine.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace lumetra::test {

TClientLine::TClientLine(const std::string& path) {
    Fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (Fd < 0) {
        return;
    }
    termios tio{};
    if (tcgetattr(Fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(Fd, TCSANOW, &tio);
    }
}

TClientLine::~TClientLine() {
    if (Fd >= 0) {
        close(Fd);
    }
}

bool TClientLine::Write(const std::vector<std::uint8_t>& bytes) {
    return write(Fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::vector<std::uint8_t> TClientLine::Read(std::size_t count, int timeoutMs) {
    using namespace std::chrono;
    std::vector<std::uint8_t> bytes;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    while (bytes.size() < count) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0) {
            break;
        }
        pollfd fd{Fd, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0) {
            break;
        }
        std::uint8_t buffer[256];
        const std::size_t want = std::min(sizeof buffer, count - bytes.size());
        const ssize_t n = read(Fd, buffer, want);
        if (n <= 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

} // namespace lumetra::test
