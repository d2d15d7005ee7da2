#pragma once
// Little-endian access to file images and whole-file input/output. Every field is read
// and written on its own, so the file layout never depends on how the compiler lays
// out a struct.

#include "core/BasicTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

inline Word GetWord(const Byte* p) {
    return static_cast<Word>(p[0] | (p[1] << 8));
}

inline Integer GetInteger(const Byte* p) {
    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) |
                            (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<Integer>(v);
}

inline void PutWord(Byte* p, Word v) {
    p[0] = static_cast<Byte>(v);
    p[1] = static_cast<Byte>(v >> 8);
}

inline void PutInteger(Byte* p, Integer v) {
    const auto u = static_cast<std::uint32_t>(v);
    p[0] = static_cast<Byte>(u);
    p[1] = static_cast<Byte>(u >> 8);
    p[2] = static_cast<Byte>(u >> 16);
    p[3] = static_cast<Byte>(u >> 24);
}

// Reads at most `maxBytes` from the start of a regular file in one go (a shorter file
// gives fewer bytes). False when the file cannot be opened or read; a directory or any
// other non-regular file counts as one that cannot be opened.
bool ReadFileHead(const std::string& fileName, std::size_t maxBytes, std::vector<Byte>& bytes);

// Writes the bytes to a temporary file beside the target, flushes it to disk and
// renames it over the target. On failure the temporary is removed and an existing
// target is left as it was.
bool WriteFileAtomically(const std::string& fileName, const std::vector<Byte>& bytes);

} // namespace lumetra
