#include "common/SimFaults.h"

#include <charconv>

namespace lumetra::sim {

std::vector<std::string> SplitSimFault(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) {
            return parts;
        }
        start = colon + 1;
    }
}

bool ParseSimNumber(const std::string& text, std::uint32_t& value) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, hex ? 16 : 10);
    return begin != end && ec == std::errc() && ptr == end;
}

bool ParseSimFaultText(const std::string& text, bool recordSelector, TSimFaultText& fault) {
    fault = TSimFaultText{};
    const std::vector<std::string> parts = SplitSimFault(text);
    fault.Kind = parts[0];
    if (const auto at = fault.Kind.find('@'); at != std::string::npos) {
        fault.HasFrame = true;
        if (!ParseSimNumber(fault.Kind.substr(at + 1), fault.Frame) || fault.Frame == 0) {
            return false;
        }
        fault.Kind.resize(at);
    }
    std::size_t next = 1;
    if (next < parts.size() && ((recordSelector && parts[next] == "rec") || parts[next] == "cmd")) {
        fault.Selector = parts[next] == "rec" ? TSimSelector::Record : TSimSelector::Command;
        if (next + 1 >= parts.size() || !ParseSimNumber(parts[next + 1], fault.Value) ||
            (fault.Selector == TSimSelector::Record && fault.Value == 0)) {
            return false;
        }
        next += 2;
    } else if (next < parts.size()) {
        fault.Selector = TSimSelector::FromRequest;
        if (!ParseSimNumber(parts[next], fault.Value) || fault.Value == 0) {
            return false;
        }
        ++next;
    }
    if (next < parts.size()) {
        if (!ParseSimNumber(parts[next], fault.Count)) {
            return false;
        }
        ++next;
    } else if (fault.Selector == TSimSelector::Any) {
        fault.Count = 0;
    }
    return next == parts.size();
}

} // namespace lumetra::sim
