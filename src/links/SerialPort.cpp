#include "links/SerialPort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace lumetra {

int SerialOpen(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    // A UART the kernel lists but the machine lacks refuses its settings.
    termios probe{};
    if (!::isatty(fd) || ::tcgetattr(fd, &probe) != 0) {
        ::close(fd);
        return -1;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        // Another process holds it exclusively, or the driver refuses: not fatal.
    }
    return fd;
}

void SerialClose(int fd) {
    if (fd < 0) {
        return;
    }
    (void)::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

void SerialConfigure(int fd, std::uint8_t baudrateSelector) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        return;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | CRTSCTS | PARENB | PARODD | CMSPAR);
    settings.c_cflag |= CS8;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    speed_t speed = B9600;
    if (baudrateSelector != 0) {
        speed = B115200;
        // Mark parity: the parity bit is always 1.
        settings.c_cflag |= PARENB | CMSPAR | PARODD;
    }
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, speed);
    ::cfsetospeed(&settings, speed);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0 && baudrateSelector != 0) {
        // A pseudo-terminal keeps CMSPAR and PARODD but drops PARENB, and then refuses
        // the same request with EINVAL the next time. Give up only what it refuses, so
        // that configuring twice leaves the line as configuring once did.
        settings.c_cflag &= ~static_cast<tcflag_t>(PARENB);
        if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
            settings.c_cflag &= ~static_cast<tcflag_t>(CMSPAR | PARODD);
            (void)::tcsetattr(fd, TCSANOW, &settings);
        }
    }

    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIS, &lines); // refused by pseudo-terminals
}

void SerialPurge(int fd) { (void)::tcflush(fd, TCIOFLUSH); }

bool SerialWriteByte(int fd, std::uint8_t byte) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const ssize_t written = ::write(fd, &byte, 1);
        if (written == 1) {
            return true;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd p{fd, POLLOUT, 0};
        (void)::poll(&p, 1, 10);
    }
    return false;
}

std::size_t SerialRead(int fd, std::uint8_t* buffer, std::size_t count, int totalMilliseconds,
                       int gapMilliseconds) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(totalMilliseconds < 0 ? 0 : totalMilliseconds);
    auto lastByte = start;
    std::size_t received = 0;
    const bool isTerminal = ::isatty(fd) == 1;
    while (received < count) {
        const auto now = Clock::now();
        auto until = deadline;
        if (received > 0) {
            const auto gapEnd = lastByte + std::chrono::milliseconds(gapMilliseconds);
            if (gapEnd < until) {
                until = gapEnd;
            }
        }
        if (now >= until) {
            break;
        }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count() + 1;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(wait));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (ready == 0) {
            continue;
        }
        if ((p.revents & POLLIN) == 0) {
            if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
                break; // the other side is gone: nothing more will arrive
            }
            continue;
        }
        const ssize_t n = ::read(fd, buffer + received, count - received);
        if (n > 0) {
            received += static_cast<std::size_t>(n);
            lastByte = Clock::now();
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        } else if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            break;
        } else if (n == 0 && !isTerminal) {
            break; // a socket or pipe at its end: polling on would spin until the time-out
        }
        // A raw terminal with VMIN 0 answers an empty read with 0, not EAGAIN: that is
        // no end of input, so wait on within the bounds.
    }
    return received;
}

} // namespace lumetra
