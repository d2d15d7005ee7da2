#include "halvo/HalvoSimulator.h"

#include <algorithm>
#include <bit>

namespace lumetra::sim {

namespace {

constexpr std::uint8_t kLongInterval = 180; // minutes, command 3
constexpr std::uint8_t kShortInterval = 60; // command 4

void PutLittleEndian(std::vector<std::uint8_t>& d, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        d.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutBigEndian(std::vector<std::uint8_t>& d, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        d.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Request lengths the instrument accepts; anything else is refused, so a client that
// sends stray bytes is caught rather than humoured.
std::size_t RequestLength(std::uint8_t command) {
    switch (command) {
    case 12:
        return 4; // 0C 06 06 00
    case 15:
        return 8;
    case 5:
        return 7;
    default:
        return 1;
    }
}

} // namespace

THalvoSimulator::THalvoSimulator(THalvoSimState state) : Instrument(std::move(state)) {}

void THalvoSimulator::AddFault(const THalvoFault& fault) {
    std::lock_guard lock(Mutex);
    Faults.push_back(fault);
}

THalvoSimState THalvoSimulator::State() const {
    std::lock_guard lock(Mutex);
    return Instrument;
}

void THalvoSimulator::SetRecent(const THalvoRecent& recent) {
    std::lock_guard lock(Mutex);
    Instrument.Recent = recent;
}

void THalvoSimulator::SetBatteryRaw(std::uint16_t raw) {
    std::lock_guard lock(Mutex);
    Instrument.BatteryRaw = raw;
}

std::vector<THalvoSimRecord> THalvoSimulator::Records() const {
    std::lock_guard lock(Mutex);
    return Instrument.Records;
}

void THalvoSimulator::SetRecords(std::vector<THalvoSimRecord> records) {
    std::lock_guard lock(Mutex);
    Instrument.Records = std::move(records);
    Cursor = 0;
}

std::vector<THalvoLoggedRequest> THalvoSimulator::RequestLog() const {
    std::lock_guard lock(Mutex);
    return Log;
}

void THalvoSimulator::ClearRequestLog() {
    std::lock_guard lock(Mutex);
    Log.clear();
}

std::size_t THalvoSimulator::RecordCursor() const {
    std::lock_guard lock(Mutex);
    return Cursor;
}

std::vector<std::uint8_t> THalvoSimulator::Answer(const TReceivedFrame& frame) {
    THalvoLoggedRequest entry;
    entry.Frame = frame.Bytes;
    entry.Payload = frame.Payload;
    entry.CommandFlag = frame.CommandFlag;
    entry.Valid = frame.Valid;
    // Requests carry the command flag and a command code. A frame without the flag, or
    // starting with one of our status codes, is an answer of ours that an echoing line
    // sent back; answering it would have the simulator talk to itself.
    const std::uint8_t first = frame.Valid ? frame.Payload[0] : 0;
    const bool ownAnswer = !frame.CommandFlag || first == kHalvoStatusOk || first == kHalvoStatusNoMoreRecords ||
                           first == kHalvoStatusNeedsNewerProgram || first == kHalvoStatusRefused;
    if (!frame.Valid || ownAnswer || Instrument.Mute) {
        entry.Index = frame.Valid && !ownAnswer ? ++RequestCount : 0;
        Log.push_back(std::move(entry));
        return {};
    }
    entry.Index = ++RequestCount;
    const std::uint8_t command = frame.Payload[0];
    TSimRequest request{entry.Index, command, 0};
    if (command == 6) {
        request.Record = 1;
    } else if (command == 7) {
        request.Record = Cursor + 1;
    }

    // A silenced request consumes only silence and echo faults; the others wait for
    // the attempt that is actually answered.
    const bool silent = std::any_of(Faults.begin(), Faults.end(), [&](const THalvoFault& f) {
        return f.Kind == THalvoFaultKind::Silent && SimFaultSelects(f, request);
    });
    bool echo = false, refuse = false, garble = false, badEnd = false, cut = false;
    int garbleAt = 3, keep = 5;
    for (THalvoFault& f : Faults) {
        const bool applies = silent ? (f.Kind == THalvoFaultKind::Silent || f.Kind == THalvoFaultKind::Echo) : true;
        if (!applies || !SimFaultSelects(f, request)) {
            continue;
        }
        ++f.Used;
        switch (f.Kind) {
        case THalvoFaultKind::Silent:
            break;
        case THalvoFaultKind::Echo:
            echo = true;
            break;
        case THalvoFaultKind::Refuse:
            refuse = true;
            break;
        case THalvoFaultKind::Garble:
            garble = true;
            garbleAt = f.Parameter >= 0 ? f.Parameter : 3;
            break;
        case THalvoFaultKind::BadEnd:
            badEnd = true;
            break;
        case THalvoFaultKind::Short:
            cut = true;
            keep = f.Parameter >= 0 ? f.Parameter : 5;
            break;
        }
    }

    std::vector<std::uint8_t> out;
    if (echo) {
        out = frame.Bytes;
    }
    if (!silent) {
        const TReply reply = refuse ? TReply{{kHalvoStatusRefused}, true, false} : Execute(frame.Payload);
        std::vector<std::uint8_t> answer = BuildFrame(reply.CommandFlag, reply.Payload);
        if (garble) {
            answer[std::min(static_cast<std::size_t>(garbleAt), answer.size() - 1)] ^= 0xFF;
        }
        if (badEnd) {
            answer.back() = 0x00;
        }
        if (cut) {
            answer.resize(std::min(static_cast<std::size_t>(keep), answer.size()));
        }
        // A record lost on the line is offered again to the retry.
        if (reply.DeliversRecord && !garble && !badEnd && !cut) {
            ++Cursor;
        }
        out.insert(out.end(), answer.begin(), answer.end());
    }
    entry.Answer = out;
    Log.push_back(std::move(entry));
    return out;
}

THalvoSimulator::TReply THalvoSimulator::Execute(const std::vector<std::uint8_t>& request) {
    const std::uint8_t command = request[0];
    const TReply ok{{kHalvoStatusOk}, true, false};
    const TReply refused{{kHalvoStatusRefused}, true, false};
    if (request.size() != RequestLength(command)) {
        return refused;
    }
    THalvoSimState& s = Instrument;
    const bool spectrum = HalvoIsSpectrumType(s.DeviceType);
    TReply reply{{kHalvoStatusOk}, true, false};
    std::vector<std::uint8_t>& b = reply.Payload;
    switch (command) {
    case 1:
        s.Locked = true;
        return ok;
    case 2:
        s.Locked = false;
        return ok;
    case 3:
    case 4:
        s.LongInterval = command == 3;
        s.SampleInterval = command == 3 ? kLongInterval : kShortInterval;
        s.Recent.Interval = s.SampleInterval;
        return ok;
    case 5:
        s.Clock = {2000 + request[6], request[5], request[4], request[3], request[2], request[1]};
        return ok;
    case 6:
    case 7: {
        if (command == 6) {
            Cursor = 0;
        }
        if (Cursor >= s.Records.size() || HalvoRecordLength(s.DeviceType, s.SoftwareVersion) == 0) {
            return {{kHalvoStatusNoMoreRecords}, true, false};
        }
        return {EncodeHalvoRecord(s.DeviceType, s.SoftwareVersion, s.Records[Cursor]), false, true};
    }
    case 8:
        s.Records.clear();
        Cursor = 0;
        return ok;
    case 12:
        if (s.TooNew) {
            return {{kHalvoStatusNeedsNewerProgram}, true, false};
        }
        b.push_back(s.DeviceType);
        b.push_back(s.SoftwareVersion);
        PutLittleEndian(b, s.DeviceNumber, 2);
        for (std::size_t i = 0; i < 4; ++i) {
            PutLittleEndian(b, s.UniCon[i], 2);
        }
        return reply;
    case 13:
        PutLittleEndian(b, s.BatteryRaw, spectrum ? 2 : 1);
        return reply;
    case 15:
        s.SampleInterval = request[1];
        s.Recent.Interval = s.SampleInterval;
        s.SetupWord = static_cast<std::uint16_t>(request[2] | (request[3] << 8));
        s.AlarmLevel = static_cast<std::int32_t>(static_cast<std::uint32_t>(request[4]) | (request[5] << 8) |
                                                 (request[6] << 16) | (static_cast<std::uint32_t>(request[7]) << 24));
        return ok;
    case 16:
        b.push_back(s.SampleInterval);
        PutLittleEndian(b, s.SetupWord, 2);
        PutLittleEndian(b, static_cast<std::uint32_t>(s.AlarmLevel), 4);
        return reply;
    case 17:
        if (!spectrum) {
            return refused;
        }
        b.push_back(s.Offset);
        b.insert(b.end(), s.ROILevel.begin(), s.ROILevel.end());
        return reply;
    case 18:
        s.Measuring = true;
        return ok;
    case 19:
        if (!spectrum || s.SoftwareVersion < 3) {
            return refused;
        }
        PutLittleEndian(b, s.UniCon[4], 2);
        PutLittleEndian(b, s.UniCon[5], 2);
        return reply;
    case 20: {
        const THalvoRecent& r = s.Recent;
        b.insert(b.end(), {r.Interval, r.Minute, r.Hour, r.Day, r.Month, r.Year});
        PutBigEndian(b, std::bit_cast<std::uint32_t>(r.Radon));
        b.push_back(r.RadonError);
        PutBigEndian(b, std::bit_cast<std::uint32_t>(r.Radon2));
        b.push_back(r.Radon2Error);
        PutBigEndian(b, std::bit_cast<std::uint32_t>(r.Temperature));
        PutBigEndian(b, std::bit_cast<std::uint32_t>(r.Humidity));
        PutBigEndian(b, std::bit_cast<std::uint32_t>(r.Pressure));
        PutBigEndian(b, static_cast<std::uint32_t>(r.Tilts));
        return reply;
    }
    case 21:
        s.Measuring = false;
        return ok;
    default:
        return refused;
    }
}

} // namespace lumetra::sim
