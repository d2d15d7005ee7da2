#include "dosika/DosikaSimFaults.h"

#include <charconv>
#include <vector>

namespace lumetra::sim {

namespace {

std::vector<std::string> SplitColons(const std::string& text) {
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

// Decimal, or hexadecimal after "0x".
bool ParseNumber(const std::string& text, std::uint32_t& value) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, hex ? 16 : 10);
    return begin != end && ec == std::errc() && ptr == end;
}

bool ParseKind(const std::string& name, TDkFaultKind& kind, bool& takesFrame) {
    static const struct {
        const char* Name;
        TDkFaultKind Kind;
        bool TakesFrame;
    } kinds[] = {{"silent", TDkFaultKind::Silent, false},        {"noend", TDkFaultKind::NoEnd, true},
                 {"checksum", TDkFaultKind::Checksum, true},     {"complement", TDkFaultKind::Complement, true},
                 {"oddblock", TDkFaultKind::OddBlock, false},    {"blocklength", TDkFaultKind::BlockLength, false},
                 {"spectrumsize", TDkFaultKind::SpectrumSize, false}, {"echo", TDkFaultKind::Echo, false},
                 {"refuse", TDkFaultKind::Refuse, false},        {"reject", TDkFaultKind::Reject, false}};
    for (const auto& k : kinds) {
        if (name == k.Name) {
            kind = k.Kind;
            takesFrame = k.TakesFrame;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseDkFault(const std::string& text, TDkFault& fault, std::string& error) {
    fault = TDkFault{};
    error = "bad fault '" + text + "'";
    const std::vector<std::string> parts = SplitColons(text);
    std::string kind = parts[0];
    std::string frame;
    if (const auto at = kind.find('@'); at != std::string::npos) {
        frame = kind.substr(at + 1);
        kind.resize(at);
    }
    bool takesFrame = false;
    if (!ParseKind(kind, fault.Kind, takesFrame)) {
        return false;
    }
    if (!frame.empty() || parts[0].find('@') != std::string::npos) {
        if (!takesFrame || !ParseNumber(frame, fault.Frame) || fault.Frame == 0) {
            return false;
        }
    }
    std::size_t next = 1;
    if (next < parts.size() && parts[next] == "cmd") {
        fault.Selector = TDkSelector::Command;
        if (next + 1 >= parts.size() || !ParseNumber(parts[next + 1], fault.Value) || fault.Value > 0xFF) {
            return false;
        }
        next += 2;
    } else if (next < parts.size()) {
        fault.Selector = TDkSelector::FromRequest;
        if (!ParseNumber(parts[next], fault.Value) || fault.Value == 0) {
            return false;
        }
        ++next;
    }
    if (next < parts.size()) {
        if (!ParseNumber(parts[next], fault.Count)) {
            return false;
        }
        ++next;
    } else if (fault.Selector == TDkSelector::Any) {
        fault.Count = 0;
    }
    if (next != parts.size()) {
        return false;
    }
    error.clear();
    return true;
}

} // namespace lumetra::sim
