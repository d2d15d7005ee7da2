#include "files/ByteBuffer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {
namespace {

// Closes the descriptor on every path, including an exception from an allocation.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : Fd(fd) {}
    ~TFileDescriptor() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return Fd; }
    // Closes now and reports whether the close succeeded (a late write error shows here).
    bool Close() {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0;
    }

private:
    int Fd;
};

bool WriteAll(int fd, const Byte* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A replaced file keeps its permissions; a new one gets the usual rw-r--r--.
mode_t TargetMode(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        return st.st_mode & 07777;
    }
    return S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH;
}

} // namespace

bool ReadFileHead(const std::string& fileName, std::size_t maxBytes, std::vector<Byte>& bytes) {
    bytes.clear();
    // O_NONBLOCK keeps a FIFO from blocking the open; it is then refused as not regular.
    TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        return false;
    }
    const std::size_t wanted = std::min(static_cast<std::size_t>(st.st_size), maxBytes);
    bytes.resize(wanted);
    std::size_t got = 0;
    while (got < wanted) {
        const ssize_t n = ::read(file.Get(), bytes.data() + got, wanted - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            bytes.clear();
            return false;
        }
        if (n == 0) {
            break; // the file shrank since fstat
        }
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return true;
}

bool WriteFileAtomically(const std::string& fileName, const std::vector<Byte>& bytes) {
    const mode_t mode = TargetMode(fileName);
    std::string temp = fileName + ".XXXXXX";
    TFileDescriptor file(::mkstemp(temp.data()));
    if (file.Get() < 0) {
        return false;
    }
    bool ok = WriteAll(file.Get(), bytes.data(), bytes.size()) && ::fchmod(file.Get(), mode) == 0 &&
              ::fsync(file.Get()) == 0;
    ok = file.Close() && ok;
    ok = ok && std::rename(temp.c_str(), fileName.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}

} // namespace lumetra
