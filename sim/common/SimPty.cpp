#include "common/SimPty.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace lumetra::sim {

namespace {

using TClock = std::chrono::steady_clock;

struct TPendingAnswer {
    TClock::time_point Due;
    std::vector<std::uint8_t> Bytes;
    std::size_t Written = 0;
};

std::string ErrnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void SetCloseOnExec(int fd) {
    const int flags = fcntl(fd, F_GETFD);
    if (flags >= 0) {
        fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
}

int MillisecondsUntil(TClock::time_point when, TClock::time_point now) {
    if (when <= now) {
        return 0;
    }
    // Round up so poll never wakes a hair early and spins.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    return ms > 60000 ? 60000 : static_cast<int>(ms);
}

} // namespace

TPtyServer::TPtyServer(TSimDevice& device) : Device(device) {}

TPtyServer::~TPtyServer() { Stop(); }

bool TPtyServer::Start(const std::string& linkPath, std::string& error) {
    if (Running()) {
        error = "already running";
        return false;
    }
    MasterFd = posix_openpt(O_RDWR | O_NOCTTY);
    if (MasterFd < 0) {
        error = ErrnoText("posix_openpt");
        return false;
    }
    SetCloseOnExec(MasterFd);
    char name[256] = {};
    if (grantpt(MasterFd) != 0 || unlockpt(MasterFd) != 0 || ptsname_r(MasterFd, name, sizeof name) != 0) {
        error = ErrnoText("pseudo-terminal setup");
        Release();
        return false;
    }
    Slave = name;
    SlaveFd = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (SlaveFd < 0) {
        error = ErrnoText("open slave");
        Release();
        return false;
    }
    termios tio{};
    if (tcgetattr(SlaveFd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(SlaveFd, TCSANOW, &tio);
    }
    const int flags = fcntl(MasterFd, F_GETFL);
    if (flags < 0 || fcntl(MasterFd, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = ErrnoText("fcntl");
        Release();
        return false;
    }
    StopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (StopFd < 0) {
        error = ErrnoText("eventfd");
        Release();
        return false;
    }
    if (!linkPath.empty()) {
        struct stat st {};
        if (lstat(linkPath.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                error = linkPath + " exists and is not a symbolic link";
                Release();
                return false;
            }
            unlink(linkPath.c_str());
        }
        if (symlink(Slave.c_str(), linkPath.c_str()) != 0) {
            error = ErrnoText("symlink");
            Release();
            return false;
        }
        Link = linkPath;
    }
    try {
        Worker = std::thread([this] { Serve(); });
    } catch (...) {
        error = "cannot start the server thread";
        Release();
        return false;
    }
    return true;
}

void TPtyServer::Stop() {
    if (Worker.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t ignored = write(StopFd, &one, sizeof one);
        Worker.join();
    }
    Release();
}

void TPtyServer::Release() {
    if (!Link.empty()) {
        // Only remove the link if it still points at our slave; someone may have
        // taken the name over meanwhile.
        char target[256] = {};
        const ssize_t n = readlink(Link.c_str(), target, sizeof target - 1);
        if (n > 0 && Slave == std::string(target, static_cast<std::size_t>(n))) {
            unlink(Link.c_str());
        }
        Link.clear();
    }
    for (int* fd : {&StopFd, &SlaveFd, &MasterFd}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
    Slave.clear();
}

void TPtyServer::Serve() {
    std::deque<TPendingAnswer> pending;
    TClock::time_point lastInput = TClock::now();
    const auto gap = std::chrono::milliseconds(kInputGapMs);

    const auto enqueue = [&](TAnswers answers) {
        const auto due = TClock::now() + std::chrono::milliseconds(std::max(0, Device.AnswerDelayMs()));
        for (auto& bytes : answers) {
            if (!bytes.empty()) {
                pending.push_back({due, std::move(bytes), 0});
            }
        }
    };

    for (;;) {
        const auto now = TClock::now();
        int timeout = -1;
        bool wantWrite = false;
        if (!pending.empty()) {
            if (pending.front().Due <= now) {
                wantWrite = true;
            } else {
                timeout = MillisecondsUntil(pending.front().Due, now);
            }
        }
        if (Device.InputPending()) {
            const int untilGap = MillisecondsUntil(lastInput + gap, now);
            timeout = timeout < 0 ? untilGap : std::min(timeout, untilGap);
        }
        pollfd fds[2] = {{StopFd, POLLIN, 0}, {MasterFd, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0}};
        const int ready = poll(fds, 2, timeout);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            std::uint8_t buffer[4096];
            const ssize_t n = read(MasterFd, buffer, sizeof buffer);
            if (n > 0) {
                lastInput = TClock::now();
                enqueue(Device.Receive(buffer, static_cast<std::size_t>(n)));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // Cannot happen while we hold the slave; wait on the stop signal rather
                // than spin on a dead line.
                pollfd stopOnly{StopFd, POLLIN, 0};
                if (poll(&stopOnly, 1, 100) > 0) {
                    return;
                }
            }
        }
        if (Device.InputPending() && TClock::now() >= lastInput + gap) {
            enqueue(Device.InputGap());
        }
        while (!pending.empty() && pending.front().Due <= TClock::now()) {
            TPendingAnswer& answer = pending.front();
            const ssize_t n = write(MasterFd, answer.Bytes.data() + answer.Written, answer.Bytes.size() - answer.Written);
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) {
                    break; // full: poll for POLLOUT next round
                }
                pending.pop_front(); // the line refuses it; drop rather than spin
                continue;
            }
            answer.Written += static_cast<std::size_t>(n);
            if (answer.Written < answer.Bytes.size()) {
                break;
            }
            pending.pop_front();
        }
    }
}

} // namespace lumetra::sim
