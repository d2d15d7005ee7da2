#include "dosika/DosikaSimulator.h"

#include <algorithm>

namespace lumetra::sim {

namespace {

bool IsDownload(std::uint8_t command) { return command == 0x60 || command == 0x61; }

// Whether a fault kind can act on an answer to this command at all; one that cannot
// leaves the request alone and keeps its count.
bool CanAct(TDkFaultKind kind, std::uint8_t command, bool measuring) {
    switch (kind) {
    case TDkFaultKind::RefuseWhileMeasuring:
        return measuring;
    case TDkFaultKind::NoEnd:
        return IsDownload(command);
    case TDkFaultKind::OddBlock:
    case TDkFaultKind::BlockLength:
        return command == 0x61;
    case TDkFaultKind::SpectrumSize:
        return command == 0x60;
    default:
        return true;
    }
}

} // namespace

TDosikaSimulator::TDosikaSimulator(TDkSimState state) : Instrument(std::move(state)) {}

void TDosikaSimulator::AddFault(const TDkFault& fault) {
    std::lock_guard lock(Mutex);
    Faults.push_back(fault);
}

TDkSimState TDosikaSimulator::State() const {
    std::lock_guard lock(Mutex);
    return Instrument;
}

void TDosikaSimulator::SetState(TDkSimState state) {
    std::lock_guard lock(Mutex);
    Instrument = std::move(state);
}

std::vector<TDkSimRecord> TDosikaSimulator::Records() const {
    std::lock_guard lock(Mutex);
    return Instrument.Records;
}

void TDosikaSimulator::SetRecords(std::vector<TDkSimRecord> records) {
    std::lock_guard lock(Mutex);
    Instrument.Records = std::move(records);
}

std::array<std::uint32_t, kDkChannels> TDosikaSimulator::Spectrum() const {
    std::lock_guard lock(Mutex);
    return Instrument.Spectrum;
}

void TDosikaSimulator::SetMeasuring(bool measuring, bool postExposure) {
    std::lock_guard lock(Mutex);
    Instrument.Measuring = measuring || postExposure;
    Instrument.PostExposure = postExposure;
}

void TDosikaSimulator::SetValues(const TDkSimValues& values) {
    std::lock_guard lock(Mutex);
    Instrument.Values = values;
}

void TDosikaSimulator::SetValueSource(TDkValueSource source) {
    std::lock_guard lock(Mutex);
    ValueSource = std::move(source);
}

std::vector<TDkLoggedRequest> TDosikaSimulator::RequestLog() const {
    std::lock_guard lock(Mutex);
    return Log;
}

void TDosikaSimulator::ClearRequestLog() {
    std::lock_guard lock(Mutex);
    Log.clear();
}

std::vector<std::uint8_t> TDosikaSimulator::Answer(const TReceivedFrame& frame) {
    TDkLoggedRequest entry;
    entry.Frame = frame.Bytes;
    entry.Payload = frame.Payload;
    entry.CommandFlag = frame.CommandFlag;
    entry.Valid = frame.Valid;
    if (!frame.Valid || !frame.CommandFlag) {
        Log.push_back(std::move(entry));
        return {};
    }
    entry.Index = ++RequestCount;
    if (Instrument.SwitchedOff) {
        Log.push_back(std::move(entry));
        return {};
    }
    const std::uint8_t command = frame.Payload[0];
    const TSimRequest request{entry.Index, command, 0};
    const bool measuring = Instrument.Measuring || Instrument.PostExposure;
    const auto matches = [&](const TDkFault& f) {
        return CanAct(f.Kind, command, measuring) && SimFaultSelects(f, request);
    };

    // A silenced request consumes only silence and echo faults; the others wait for
    // a request that is actually answered.
    const bool silent = std::any_of(Faults.begin(), Faults.end(), [&](const TDkFault& f) {
        return f.Kind == TDkFaultKind::Silent && matches(f);
    });
    bool echo = Instrument.Echo, noEnd = false, refuse = false, reject = false;
    std::uint32_t keepFrames = 0, checksumFrame = 0, complementFrame = 0;
    TDamage damage;
    for (TDkFault& f : Faults) {
        const bool applies = !silent || f.Kind == TDkFaultKind::Silent || f.Kind == TDkFaultKind::Echo;
        if (!applies || !matches(f)) {
            continue;
        }
        ++f.Used;
        switch (f.Kind) {
        case TDkFaultKind::Silent:
            break;
        case TDkFaultKind::NoEnd:
            noEnd = true;
            keepFrames = f.Frame;
            break;
        case TDkFaultKind::Checksum:
            checksumFrame = std::max<std::uint32_t>(f.Frame, 1);
            break;
        case TDkFaultKind::Complement:
            complementFrame = std::max<std::uint32_t>(f.Frame, 1);
            break;
        case TDkFaultKind::OddBlock:
            damage.OddBlock = true;
            break;
        case TDkFaultKind::BlockLength:
            damage.BlockLength = true;
            break;
        case TDkFaultKind::SpectrumSize:
            damage.SpectrumSize = true;
            break;
        case TDkFaultKind::Echo:
            echo = true;
            break;
        case TDkFaultKind::Refuse:
        case TDkFaultKind::RefuseWhileMeasuring:
            refuse = true;
            break;
        case TDkFaultKind::Reject:
            reject = true;
            break;
        }
    }

    std::vector<std::uint8_t> out;
    if (echo) {
        out = frame.Bytes;
    }
    if (!silent) {
        std::vector<TOutFrame> frames;
        if (refuse || reject) {
            frames.push_back({true, {refuse ? kDkStatusRefused : kDkStatusUnknown}});
            if (IsDownload(command)) {
                frames.push_back({true, {kDkStatusEnd}});
            }
        } else {
            frames = Execute(frame.Payload, damage);
        }
        if (noEnd && !frames.empty()) {
            const std::size_t keep = frames.size() - 1;
            frames.resize(keepFrames != 0 ? std::min<std::size_t>(keepFrames, keep) : keep);
        }
        for (std::size_t i = 0; i < frames.size(); ++i) {
            std::vector<std::uint8_t> bytes = BuildFrame(frames[i].CommandFlag, frames[i].Payload);
            const std::size_t number = i + 1;
            const bool last = number == frames.size();
            if (checksumFrame == number || (last && checksumFrame > number)) {
                bytes[bytes.size() - 3] = static_cast<std::uint8_t>(bytes[bytes.size() - 3] + 1);
            }
            if (complementFrame == number || (last && complementFrame > number)) {
                bytes[2] ^= 0x01;
            }
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
    }
    entry.Answer = out;
    Log.push_back(std::move(entry));
    return out;
}

} // namespace lumetra::sim
