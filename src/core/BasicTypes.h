#pragma once
// Numeric types of the instrument data and files, and arrays indexed from 1 as the
// instruments and files number their fields.

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra {

using Byte = std::uint8_t;
using Word = std::uint16_t;
using Integer = std::int32_t;
using Int64 = std::int64_t;
using Real = double;

// A fixed array whose first element is [1]. Its layout is exactly that of T[N], so it
// can stand in the byte layouts of the data sets.
template <typename T, std::size_t N> struct Array1 {
    T Items[N];

    static constexpr std::size_t size() { return N; }
    T& operator[](std::size_t i) {
        assert(i >= 1 && i <= N);
        return Items[i - 1];
    }
    const T& operator[](std::size_t i) const {
        assert(i >= 1 && i <= N);
        return Items[i - 1];
    }
    T* begin() { return Items; }
    T* end() { return Items + N; }
    const T* begin() const { return Items; }
    const T* end() const { return Items + N; }
    bool operator==(const Array1&) const = default;
};

// A large array numbered from 1 that lives on the heap, so that data sets of 16416
// records can be copied like values without filling the stack.
template <typename T, std::size_t N> class RecordArray {
public:
    RecordArray() : Items(N) {}

    static constexpr std::size_t size() { return N; }
    T& operator[](std::size_t i) {
        assert(i >= 1 && i <= N);
        return Items[i - 1];
    }
    const T& operator[](std::size_t i) const {
        assert(i >= 1 && i <= N);
        return Items[i - 1];
    }
    // Elements 1..count as a contiguous block, for bulk work.
    T* data() { return Items.data(); }
    const T* data() const { return Items.data(); }
    bool operator==(const RecordArray&) const = default;

private:
    std::vector<T> Items;
};

} // namespace lumetra
