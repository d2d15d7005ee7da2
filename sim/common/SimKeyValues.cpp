#include "common/SimKeyValues.h"

#include "common/SimFaults.h"

#include <charconv>
#include <cmath>

namespace lumetra::sim {

bool SplitSimKeyValues(const std::string& text, TSimKeyValues& items) {
    items.clear();
    std::string::size_type start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto equals = item.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == item.size()) {
            return false;
        }
        items.emplace_back(item.substr(0, equals), item.substr(equals + 1));
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

bool ParseSimInteger(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    const bool negative = !text.empty() && text[0] == '-';
    std::uint32_t magnitude = 0;
    if (!ParseSimNumber(negative ? text.substr(1) : text, magnitude)) {
        return false;
    }
    value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return value >= low && value <= high;
}

bool ParseSimFloat(const std::string& text, float& value) {
    double number = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(number) || std::fabs(number) > 3.0e38) {
        return false;
    }
    value = static_cast<float>(number);
    return true;
}

} // namespace lumetra::sim
