#include "dosika/DosikaSimFaults.h"

namespace lumetra::sim {

namespace {

const struct {
    const char* Name;
    TDkFaultKind Kind;
    bool TakesFrame;
} kKinds[] = {{"silent", TDkFaultKind::Silent, false},
              {"noend", TDkFaultKind::NoEnd, true},
              {"checksum", TDkFaultKind::Checksum, true},
              {"complement", TDkFaultKind::Complement, true},
              {"oddblock", TDkFaultKind::OddBlock, false},
              {"blocklength", TDkFaultKind::BlockLength, false},
              {"spectrumsize", TDkFaultKind::SpectrumSize, false},
              {"echo", TDkFaultKind::Echo, false},
              {"refuse", TDkFaultKind::Refuse, false},
              {"refuse-while-measuring", TDkFaultKind::RefuseWhileMeasuring, false},
              {"reject", TDkFaultKind::Reject, false}};

bool Parse(const std::string& text, TDkFault& fault) {
    TSimFaultText parsed;
    if (!ParseSimFaultText(text, false, parsed)) {
        return false;
    }
    const auto* kind = FindSimFaultKind(kKinds, parsed.Kind);
    if (kind == nullptr || (parsed.HasFrame && !kind->TakesFrame) ||
        (parsed.Selector == TSimSelector::Command && parsed.Value > 0xFF)) {
        return false;
    }
    fault.Kind = kind->Kind;
    fault.Selector = parsed.Selector;
    fault.Value = parsed.Value;
    fault.Count = parsed.Count;
    fault.Frame = parsed.Frame;
    return true;
}

} // namespace

bool ParseDkFault(const std::string& text, TDkFault& fault, std::string& error) {
    fault = TDkFault{};
    const bool ok = Parse(text, fault);
    error = ok ? std::string() : "bad fault '" + text + "'";
    return ok;
}

} // namespace lumetra::sim
