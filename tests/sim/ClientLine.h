#pragma once
// The client end of a simulator's pseudo-terminal, opened by path and set raw as a
// serial client would, with reads bounded by time.

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::test {

class TClientLine {
public:
    explicit TClientLine(const std::string& path);
    ~TClientLine();
    TClientLine(const TClientLine&) = delete;
    TClientLine& operator=(const TClientLine&) = delete;

    bool IsOpen() const { return Fd >= 0; }
    bool Write(const std::vector<std::uint8_t>& bytes);
    // Returns once count bytes arrived or timeoutMs passed without completing them.
    std::vector<std::uint8_t> Read(std::size_t count, int timeoutMs = 2000);

private:
    int Fd = -1;
};

} // namespace lumetra::test
