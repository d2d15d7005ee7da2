#include "halvo/HalvoSimFaults.h"

#include <vector>

namespace lumetra::sim {

namespace {

const struct {
    const char* Name;
    THalvoFaultKind Kind;
} kKinds[] = {{"silent", THalvoFaultKind::Silent}, {"garble", THalvoFaultKind::Garble},
              {"badend", THalvoFaultKind::BadEnd}, {"short", THalvoFaultKind::Short},
              {"echo", THalvoFaultKind::Echo},     {"refuse", THalvoFaultKind::Refuse}};

bool Parse(const std::string& text, THalvoFaultOption& option) {
    const std::vector<std::string> parts = SplitSimFault(text);
    if (parts[0] == "too-new" || parts[0] == "mute") {
        option.TooNew = parts[0] == "too-new";
        option.Mute = parts[0] == "mute";
        return parts.size() == 1;
    }
    if (parts[0] == "badtime") {
        return parts.size() == 2 && ParseSimNumber(parts[1], option.BadTimeRecord) &&
               option.BadTimeRecord > 0;
    }
    TSimFaultText parsed;
    if (!ParseSimFaultText(text, true, parsed) || parsed.HasFrame) {
        return false;
    }
    const auto* kind = FindSimFaultKind(kKinds, parsed.Kind);
    if (kind == nullptr) {
        return false;
    }
    THalvoFault& fault = option.Fault;
    fault.Kind = kind->Kind;
    fault.Selector = parsed.Selector;
    fault.Value = parsed.Value;
    fault.Count = parsed.Count;
    option.IsFault = true;
    return true;
}

} // namespace

bool ParseHalvoFault(const std::string& text, THalvoFaultOption& option, std::string& error) {
    option = THalvoFaultOption{};
    const bool ok = Parse(text, option);
    error = ok ? std::string() : "bad fault '" + text + "'";
    return ok;
}

} // namespace lumetra::sim
