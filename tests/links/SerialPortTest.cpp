// The POSIX serial layer on a bare pseudo-terminal whose master side the test holds:
// line settings, raw bytes, bounded reads, purge, exclusive mode and the port list.

#include "links/InstrumentAdapter.h"
#include "links/SerialPort.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lumetra {
namespace {

using Bytes = std::vector<std::uint8_t>;
using SteadyClock = std::chrono::steady_clock;

long MillisecondsSince(SteadyClock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count());
}

// A pseudo-terminal: the test writes and reads the master, the code under test opens
// the slave by name.
class TBarePty {
public:
    TBarePty() {
        Master = ::posix_openpt(O_RDWR | O_NOCTTY);
        char name[256] = {};
        if (Master >= 0 && ::grantpt(Master) == 0 && ::unlockpt(Master) == 0 &&
            ::ptsname_r(Master, name, sizeof name) == 0) {
            SlaveName = name;
        }
    }
    ~TBarePty() {
        if (Master >= 0) {
            ::close(Master);
        }
    }
    TBarePty(const TBarePty&) = delete;
    TBarePty& operator=(const TBarePty&) = delete;

    void Write(const Bytes& bytes) const { ASSERT_EQ(::write(Master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
    // What arrived at the master within `milliseconds`.
    Bytes Read(std::size_t count, int milliseconds) const {
        Bytes got;
        const auto end = SteadyClock::now() + std::chrono::milliseconds(milliseconds);
        while (got.size() < count && SteadyClock::now() < end) {
            std::uint8_t b[256];
            const int flags = ::fcntl(Master, F_GETFL);
            ::fcntl(Master, F_SETFL, flags | O_NONBLOCK);
            const ssize_t n = ::read(Master, b, sizeof b);
            ::fcntl(Master, F_SETFL, flags);
            if (n > 0) {
                got.insert(got.end(), b, b + n);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        return got;
    }

    int Master = -1;
    std::string SlaveName;
};

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Pty.SlaveName.empty());
        Fd = SerialOpen(Pty.SlaveName);
        ASSERT_GE(Fd, 0);
    }
    void TearDown() override { SerialClose(Fd); }

    TBarePty Pty;
    int Fd = -1;
};

TEST_F(SerialPortTest, LineSettings) {
    SerialConfigure(Fd, 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(Fd, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);

    // 115200 with mark parity: a pseudo-terminal may drop the parity bits, but the
    // speed, the character size and raw mode must hold.
    SerialConfigure(Fd, 1);
    ASSERT_EQ(::tcgetattr(Fd, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B115200));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
}

// Every Dosika exchange configures the line anew, so a second configuration must leave
// the line as the first did. Read from the instrument's side of the pseudo-terminal,
// which reports the slave's settings.
TEST_F(SerialPortTest, ConfiguringTwiceLeavesTheSameLine) {
    const tcflag_t mark = CMSPAR | PARODD;
    for (const int selector : {1, 1, 0, 1, 1}) {
        SerialConfigure(Fd, static_cast<std::uint8_t>(selector));
        termios seen{};
        ASSERT_EQ(::tcgetattr(Pty.Master, &seen), 0);
        const bool fast = selector != 0;
        EXPECT_EQ(::cfgetospeed(&seen), static_cast<speed_t>(fast ? B115200 : B9600));
        EXPECT_EQ(seen.c_cflag & mark, fast ? mark : 0u) << "selector " << selector;
    }
}

// A descriptor at the end of its input (a socket whose peer has finished sending, which
// polls readable without a hang-up) ends a read at once instead of spinning until the
// time-out.
TEST(SerialRead, EndOfInputEndsTheReadAtOnce) {
    int pair[2] = {-1, -1};
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    ASSERT_EQ(::write(pair[1], "ab", 2), 2);
    ASSERT_EQ(::shutdown(pair[1], SHUT_WR), 0);
    std::uint8_t buffer[8] = {};
    const auto start = SteadyClock::now();
    EXPECT_EQ(SerialRead(pair[0], buffer, sizeof buffer, 3000, 3000), 2u);
    EXPECT_LT(MillisecondsSince(start), 1000);
    ::close(pair[0]);
    ::close(pair[1]);
}

TEST_F(SerialPortTest, EveryByteValuePassesUnchanged) {
    SerialConfigure(Fd, 0);
    SerialPurge(Fd);
    Bytes all(256);
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    // Out: byte-wise writes arrive as written (no CR/LF mapping, no XON/XOFF eaten).
    for (const auto b : all) {
        ASSERT_TRUE(SerialWriteByte(Fd, b));
    }
    EXPECT_EQ(Pty.Read(all.size(), 2000), all);
    // In: control characters, ^C and 0x7F included, are data.
    Pty.Write(all);
    Bytes got(all.size());
    EXPECT_EQ(SerialRead(Fd, got.data(), got.size(), 2000, 1000), all.size());
    EXPECT_EQ(got, all);
}

TEST_F(SerialPortTest, ReadEndsWhenCountArrived) {
    SerialConfigure(Fd, 0);
    Pty.Write({1, 2, 3, 4, 5, 6, 7});
    std::uint8_t got[8] = {};
    const auto start = SteadyClock::now();
    EXPECT_EQ(SerialRead(Fd, got, 5, 3000, 3000), 5u);
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_EQ(Bytes(got, got + 5), (Bytes{1, 2, 3, 4, 5}));
    // The rest waits for the next read.
    EXPECT_EQ(SerialRead(Fd, got, 5, 200, 3000), 2u);
    EXPECT_EQ(got[0], 6);
}

TEST_F(SerialPortTest, ReadEndsAtTotalTime) {
    SerialConfigure(Fd, 0);
    std::uint8_t got[8] = {};
    auto start = SteadyClock::now();
    EXPECT_EQ(SerialRead(Fd, got, 8, 250, 5000), 0u);
    long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 250);
    EXPECT_LT(elapsed, 1000);

    // Bytes that keep trickling in do not extend the total time.
    std::thread feeder([this] {
        for (int i = 0; i < 10; ++i) {
            Pty.Write({static_cast<std::uint8_t>(i)});
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
    });
    start = SteadyClock::now();
    const std::size_t n = SerialRead(Fd, got, 8, 300, 5000);
    elapsed = MillisecondsSince(start);
    feeder.join();
    EXPECT_GE(n, 3u);
    EXPECT_LE(n, 7u);
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 500);
}

TEST_F(SerialPortTest, ReadEndsAtGapBetweenBytes) {
    SerialConfigure(Fd, 0);
    std::thread feeder([this] {
        for (int i = 0; i < 4; ++i) {
            Pty.Write({static_cast<std::uint8_t>(0x30 + i)});
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        Pty.Write({0x39});
    });
    std::uint8_t got[8] = {};
    const auto start = SteadyClock::now();
    // Gaps of 40 ms are within the 150 ms bound; the 400 ms one ends the read.
    const std::size_t n = SerialRead(Fd, got, 8, 3000, 150);
    const long elapsed = MillisecondsSince(start);
    feeder.join();
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(Bytes(got, got + n), (Bytes{0x30, 0x31, 0x32, 0x33}));
    EXPECT_GE(elapsed, 120 + 150);
    EXPECT_LT(elapsed, 500);
}

TEST_F(SerialPortTest, PurgeDropsWaitingInput) {
    SerialConfigure(Fd, 0);
    Pty.Write({0x42, 0x80, 0x7F});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SerialPurge(Fd);
    std::uint8_t got[4] = {};
    EXPECT_EQ(SerialRead(Fd, got, 3, 100, 100), 0u);
}

TEST_F(SerialPortTest, ReadEndsWhenLineHangsUp) {
    SerialConfigure(Fd, 0);
    ::close(Pty.Master);
    Pty.Master = -1;
    std::uint8_t got[4] = {};
    const auto start = SteadyClock::now();
    EXPECT_EQ(SerialRead(Fd, got, 4, 2000, 2000), 0u);
    EXPECT_LT(MillisecondsSince(start), 1000);
}

// Whether another process (without root's right to override exclusive mode) can open
// the terminal: 0 yes, 1 refused as busy, 2 refused otherwise.
int OpenFromOtherProcess(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::_exit(fd >= 0 ? 0 : errno == EBUSY ? 1 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
}

TEST(SerialExclusive, HeldWhileOpenReleasedOnClose) {
    TBarePty pty;
    ASSERT_FALSE(pty.SlaveName.empty());
    ASSERT_EQ(::chmod(pty.SlaveName.c_str(), 0666), 0);
    const int fd = SerialOpen(pty.SlaveName);
    ASSERT_GE(fd, 0);
    int exclusive = 0;
    ASSERT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    EXPECT_EQ(OpenFromOtherProcess(pty.SlaveName), 1);

    // The master keeps the terminal alive, so the flag would outlive the close if it
    // were not released.
    SerialClose(fd);
    EXPECT_EQ(OpenFromOtherProcess(pty.SlaveName), 0);
    const int again = SerialOpen(pty.SlaveName);
    EXPECT_GE(again, 0);
    SerialClose(again);
}

TEST(SerialOpenTest, RefusesWhatIsNoTerminal) {
    test::TTempDir dir;
    EXPECT_EQ(SerialOpen(dir.File("missing")), -1);
    test::WriteBytes(dir.File("plain"), {1, 2, 3});
    EXPECT_EQ(SerialOpen(dir.File("plain")), -1);
    EXPECT_EQ(OpenComPort(dir.File("plain")), InvalidHandle);
    EXPECT_EQ(SerialOpen("/dev/null"), -1);
}

TEST(SearchComPortsTest, SerialDevicesInNaturalOrderThenTcpIp) {
    test::TTempDir dir;
    TBarePty a, b, c, d;
    namespace fs = std::filesystem;
    fs::create_symlink(a.SlaveName, dir.File("ttyS10"));
    fs::create_symlink(b.SlaveName, dir.File("ttyS2"));
    fs::create_symlink(c.SlaveName, dir.File("ttyUSB0"));
    fs::create_symlink(d.SlaveName, dir.File("ttyACM3"));
    fs::create_symlink(d.SlaveName, dir.File("console")); // not a serial port name
    fs::create_symlink(d.SlaveName, dir.File("ttyS"));    // no number
    test::WriteBytes(dir.File("ttyS4"), {0});              // the name, but no terminal
    fs::create_symlink(dir.File("gone"), dir.File("ttyUSB7")); // dangling

    const std::vector<std::string> expected = {dir.File("ttyACM3"), dir.File("ttyS2"), dir.File("ttyS10"),
                                               dir.File("ttyUSB0"), "TCP-IP"};
    EXPECT_EQ(SearchComPorts(dir.Path()), expected);

    // Each port was closed again, exclusive mode released.
    const int fd = ::open(b.SlaveName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    int exclusive = 1;
    ASSERT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(fd);
}

TEST(SearchComPortsTest, NoSerialPortStillListsTcpIp) {
    test::TTempDir dir;
    EXPECT_EQ(SearchComPorts(dir.Path()), (std::vector<std::string>{"TCP-IP"}));
    EXPECT_EQ(SearchComPorts(dir.File("missing")), (std::vector<std::string>{"TCP-IP"}));
}

} // namespace
} // namespace lumetra
