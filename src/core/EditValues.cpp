#include "core/EditValues.h"

#include "core/NumberFormat.h"

#include <clocale>
#include <cmath>
#include <cstdlib>

namespace lumetra {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::optional<long long> ParseIntegerText(const std::string& text) {
    const std::string t = Trimmed(text);
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i == t.size()) {
        return std::nullopt;
    }
    for (std::size_t k = i; k < t.size(); ++k) {
        if (!IsDigit(t[k])) {
            return std::nullopt;
        }
    }
    // Beyond 64 bits strtoll holds the value at its ends: still a number, and still
    // out of every field's range.
    return std::strtoll(t.c_str(), nullptr, 10);
}

std::optional<double> ParseNumberText(const std::string& text) {
    std::string t = Trimmed(text);
    const char separator = LocaleDecimalSeparator();
    // Digits, one separator, digits: checked here, so strtod's other forms (hex,
    // exponents, "inf") never count as what a user typed.
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (IsDigit(t[k])) {
            digits = true;
        } else if ((t[k] == '.' || t[k] == separator) && !point) {
            point = true;
            t[k] = separator; // strtod reads the locale's separator
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    const double value = std::strtod(t.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string OutOfRangeMessage(const TFieldRange& field, const TTranslate& translate) {
    std::string message = translate("%1 takes a whole number from %2 to %3.");
    const std::string parts[] = {translate(field.Label), std::to_string(field.Minimum), std::to_string(field.Maximum)};
    for (int n = 0; n < 3; ++n) {
        const std::string marker = "%" + std::to_string(n + 1);
        if (const auto at = message.find(marker); at != std::string::npos) {
            message.replace(at, marker.size(), parts[n]);
        }
    }
    return message;
}

std::optional<long long> IntegerFromEdit(const std::string& text, long long fallback, const TFieldRange& field,
                                         const TTranslate& translate, std::string& error) {
    const long long value = ParseIntegerText(text).value_or(fallback);
    if (value < field.Minimum || value > field.Maximum) {
        error = OutOfRangeMessage(field, translate);
        return std::nullopt;
    }
    return value;
}

} // namespace lumetra
