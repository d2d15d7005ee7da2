#pragma once
// Readings given on the simulator's command line as a list of KEY=VALUE items separated
// by commas ("radon=85.5,tilts=3"); each instrument names its keys. Only the keys given
// change; the others keep what they were.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lumetra::sim {

using TSimKeyValues = std::vector<std::pair<std::string, std::string>>;

// False for an empty list, an item without '=' or with an empty key or value.
bool SplitSimKeyValues(const std::string& text, TSimKeyValues& items);

// Decimal with an optional '-', or hexadecimal after "0x"; within [low, high].
bool ParseSimInteger(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value);

// A finite decimal number ("21.5", "-0.125", "1e3"), independent of the locale.
bool ParseSimFloat(const std::string& text, float& value);

// ParseSimInteger into a narrower field.
template <typename T> bool ParseSimField(const std::string& text, std::int64_t low, std::int64_t high, T& field) {
    std::int64_t value = 0;
    if (!ParseSimInteger(text, low, high, value)) {
        return false;
    }
    field = static_cast<T>(value);
    return true;
}

// Splits the list and hands each item to set(key, value), which returns whether it is
// good; false (and error set, naming `what`) at the first bad item.
template <typename TSet>
bool ApplySimKeyValues(const std::string& text, const std::string& what, TSet set, std::string& error) {
    TSimKeyValues items;
    if (!SplitSimKeyValues(text, items)) {
        error = "bad " + what + " '" + text + "' (KEY=VALUE,...)";
        return false;
    }
    for (const auto& [key, value] : items) {
        if (!set(key, value)) {
            error = "bad " + what + " item '" + key + "=" + value + "'";
            return false;
        }
    }
    return true;
}

} // namespace lumetra::sim
