#include "DkTestLine.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace lumetra::test {

Bytes DkFrameBytes(bool commandFlag, const Bytes& payload) {
    const auto control = static_cast<std::uint8_t>((payload.size() - 1) | (commandFlag ? 0x80u : 0u));
    Bytes frame{0x42, control, static_cast<std::uint8_t>(0xFF - control)};
    unsigned sum = 0;
    for (const auto b : payload) {
        frame.push_back(b);
        sum += b;
    }
    frame.push_back(static_cast<std::uint8_t>(sum % 256));
    frame.push_back(static_cast<std::uint8_t>((sum / 256) % 256));
    frame.push_back(0x45);
    return frame;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TDkTestLine::TDkTestLine(TResponder responder, TMode mode) : Responder(std::move(responder)), Mode(mode) {
    Master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (Master < 0 || ::grantpt(Master) != 0 || ::unlockpt(Master) != 0) {
        return;
    }
    ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
    const char* name = ::ptsname(Master);
    if (name == nullptr) {
        return;
    }
    Client = OpenComPort(name);
    if (Client == InvalidHandle) {
        return;
    }
    // Raw from the start, so nothing is echoed or translated before the first
    // operation sets the line up.
    termios settings{};
    if (::tcgetattr(static_cast<int>(Client), &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(static_cast<int>(Client), TCSANOW, &settings);
    }
    Worker = std::thread([this] { Serve(); });
}

TDkTestLine::~TDkTestLine() {
    Stopping = true;
    if (Worker.joinable()) {
        Worker.join();
    }
    CloseComPort(Client);
    if (Master >= 0) {
        ::close(Master);
    }
}

TComPort TDkTestLine::Port(int readTotalTimeOut) const {
    TComPort port;
    port.Handle = Client;
    port.ReadTotalTimeOut = readTotalTimeOut;
    port.Baudrate = 1;
    return port;
}

std::vector<Bytes> TDkTestLine::Requests() const {
    const std::lock_guard guard(Lock);
    return Received;
}

std::vector<Bytes> TDkTestLine::RawRequests() const {
    const std::lock_guard guard(Lock);
    return RawReceived;
}

std::size_t TDkTestLine::StrayBytes() const {
    const std::lock_guard guard(Lock);
    return Stray;
}

bool TDkTestLine::WriteAll(const Bytes& data) {
    std::size_t sent = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (sent < data.size()) {
        if (Stopping || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        const ssize_t n = ::write(Master, data.data() + sent, data.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd p{Master, POLLOUT, 0};
        ::poll(&p, 1, 20);
    }
    return true;
}

void TDkTestLine::TakeRequests(Bytes& pending) {
    while (!pending.empty()) {
        Bytes request;
        if (Mode == TMode::Frames) {
            if (pending[0] != 0x42) {
                pending.erase(pending.begin());
                const std::lock_guard guard(Lock);
                ++Stray;
                continue;
            }
            if (pending.size() < 3) {
                return;
            }
            const std::size_t n = (pending[1] & 0x7Fu) + 1u;
            if (pending.size() < n + 6) {
                return;
            }
            const Bytes frame(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n + 6));
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n + 6));
            request.assign(frame.begin() + 3, frame.begin() + 3 + static_cast<std::ptrdiff_t>(n));
            const std::lock_guard guard(Lock);
            RawReceived.push_back(frame);
            Received.push_back(request);
        } else {
            const std::string text(pending.begin(), pending.end());
            std::size_t end = 0;
            if (text.rfind("+++", 0) == 0) {
                end = 3;
            } else {
                const std::size_t cr = text.find('\r');
                if (cr == std::string::npos) {
                    return;
                }
                end = cr + 1;
            }
            request.assign(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(end));
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(end));
            const std::lock_guard guard(Lock);
            Received.push_back(request);
        }
        for (const TChunk& chunk : Responder(request)) {
            for (int waited = 0; waited < chunk.DelayMs && !Stopping; waited += 5) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            if (!WriteAll(chunk.Data)) {
                return;
            }
        }
    }
}

void TDkTestLine::Serve() {
    Bytes pending;
    while (!Stopping) {
        pollfd p{Master, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0 || (p.revents & POLLIN) == 0) {
            continue;
        }
        std::uint8_t buffer[512];
        const ssize_t n = ::read(Master, buffer, sizeof buffer);
        if (n <= 0) {
            continue;
        }
        pending.insert(pending.end(), buffer, buffer + n);
        TakeRequests(pending);
    }
}

TDkTestLine::TResponder ByCommand(std::function<Bytes(std::uint8_t code, const Bytes& request)> answer) {
    return [answer = std::move(answer)](const Bytes& request) -> TReply {
        Bytes bytes = answer(request.empty() ? 0 : request[0], request);
        if (bytes.empty()) {
            return {};
        }
        return {TChunk{0, std::move(bytes)}};
    };
}

} // namespace lumetra::test
