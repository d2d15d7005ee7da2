#include "halvo/HalvoSimFaults.h"

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

bool ParseNumber(const std::string& text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool ParseKind(const std::string& name, THalvoFaultKind& kind) {
    static const struct {
        const char* Name;
        THalvoFaultKind Kind;
    } kinds[] = {{"silent", THalvoFaultKind::Silent}, {"garble", THalvoFaultKind::Garble},
                 {"badend", THalvoFaultKind::BadEnd}, {"short", THalvoFaultKind::Short},
                 {"echo", THalvoFaultKind::Echo},     {"refuse", THalvoFaultKind::Refuse}};
    for (const auto& k : kinds) {
        if (name == k.Name) {
            kind = k.Kind;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseHalvoFault(const std::string& text, THalvoFaultOption& option, std::string& error) {
    option = THalvoFaultOption{};
    const std::vector<std::string> parts = SplitColons(text);
    const std::string& kind = parts[0];
    error = "bad fault '" + text + "'";
    if (kind == "too-new" || kind == "mute") {
        option.TooNew = kind == "too-new";
        option.Mute = kind == "mute";
        return parts.size() == 1;
    }
    if (kind == "badtime") {
        return parts.size() == 2 && ParseNumber(parts[1], option.BadTimeRecord) && option.BadTimeRecord > 0;
    }
    THalvoFault& fault = option.Fault;
    if (!ParseKind(kind, fault.Kind)) {
        return false;
    }
    std::size_t next = 1;
    if (next < parts.size() && (parts[next] == "rec" || parts[next] == "cmd")) {
        fault.Selector = parts[next] == "rec" ? THalvoSelector::Record : THalvoSelector::Command;
        if (next + 1 >= parts.size() || !ParseNumber(parts[next + 1], fault.Value)) {
            return false;
        }
        next += 2;
    } else if (next < parts.size()) {
        fault.Selector = THalvoSelector::FromRequest;
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
    } else if (fault.Selector == THalvoSelector::Any) {
        fault.Count = 0; // a bare kind such as "echo" means every request
    }
    if (next != parts.size() || (fault.Selector == THalvoSelector::Record && fault.Value == 0)) {
        return false;
    }
    option.IsFault = true;
    error.clear();
    return true;
}

} // namespace lumetra::sim
