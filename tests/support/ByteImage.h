#pragma once
// A test-side little-endian file image: fields written one by one at the offsets of the
// file tables, independent of the code under test.

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::test {

struct TImage {
    explicit TImage(std::size_t size) : Bytes(size, 0) {}

    void U8(std::size_t at, std::uint32_t v) { Bytes.at(at) = static_cast<std::uint8_t>(v & 0xFF); }
    void U16(std::size_t at, std::uint32_t v) {
        U8(at, v);
        U8(at + 1, v >> 8);
    }
    void I32(std::size_t at, std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (std::size_t k = 0; k < 4; ++k) {
            U8(at + k, u >> (8 * k));
        }
    }
    // Length byte, then the (already single-byte) characters.
    void Text(std::size_t at, const std::string& ansi) {
        U8(at, static_cast<std::uint32_t>(ansi.size()));
        for (std::size_t k = 0; k < ansi.size(); ++k) {
            U8(at + 1 + k, static_cast<std::uint8_t>(ansi[k]));
        }
    }
    std::uint32_t GetU16(std::size_t at) const { return Bytes.at(at) | (Bytes.at(at + 1) << 8); }

    std::vector<std::uint8_t> Bytes;
};

} // namespace lumetra::test
