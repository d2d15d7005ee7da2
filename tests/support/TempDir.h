#pragma once
// A fresh directory for one test, removed with everything in it afterwards.

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::test {

class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return Root; }
    std::string File(const std::string& name) const { return Root + "/" + name; }

private:
    std::string Root;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

} // namespace lumetra::test
