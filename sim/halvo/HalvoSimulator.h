#pragma once
// A simulated Halvo-family radon monitor (types 1 to 10) behind the instrument message
// frame. Each request payload starts with a command code; each answer is a status
// answer (command flag set, payload[0] = 10 ok, 11 no more records, 22 needs a newer
// program, 255 refused) or a data record (flag clear). E.g. the setup read 42 80 7F
// 10 10 00 45 is answered by 42 87 78 0A 3C 11 00 2C 01 00 00 84 00 45 for interval 60,
// setup word 0x0011 and alarm level 300. Status-only answers (refusals, status 11 and
// 22 included) carry one payload byte whatever length the client expects. A record
// answer damaged by a fault does not move the record cursor, so a retry gets it again.
//
// Every command that changes the instrument changes State(): the setup write (15), the
// clock (5), lock and unlock (1, 2), the interval presets (3 sets 180 minutes, 4 sets
// 60), clearing the memory (8), start and stop (18, 21). Nothing is refused for the
// run state: the Halvo family answers every command while it measures.
//
// In-process use: fill a THalvoSimState, construct the simulator, add faults, serve it
// with a TPtyServer (common/SimPty.h). Every accessor is safe to call while the server
// thread is running; a request is logged before its answer is written.

#include "common/SimFrame.h"
#include "common/SimFrameDevice.h"
#include "halvo/HalvoSimFaults.h"
#include "halvo/HalvoSimRecords.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace lumetra::sim {

inline constexpr std::uint8_t kHalvoStatusOk = 10;
inline constexpr std::uint8_t kHalvoStatusNoMoreRecords = 11;
inline constexpr std::uint8_t kHalvoStatusNeedsNewerProgram = 22;
inline constexpr std::uint8_t kHalvoStatusRefused = 255;

struct THalvoClock {
    int Year = 2017; // four digits
    std::uint8_t Month = 3;
    std::uint8_t Day = 15;
    std::uint8_t Hour = 12;
    std::uint8_t Minute = 0;
    std::uint8_t Second = 0;
    bool operator==(const THalvoClock&) const = default;
};

struct THalvoRecent {
    std::uint8_t Interval = 60;
    std::uint8_t Minute = 0;
    std::uint8_t Hour = 12;
    std::uint8_t Day = 15;
    std::uint8_t Month = 3;
    std::uint8_t Year = 17; // two digits, as sent
    float Radon = 85.5f;
    std::uint8_t RadonError = 12;
    float Radon2 = 20.25f;
    std::uint8_t Radon2Error = 30;
    float Temperature = 21.5f;
    float Humidity = 45.0f;
    float Pressure = 1013.25f;
    std::int32_t Tilts = 0;
    bool operator==(const THalvoRecent&) const = default;
};

// The instrument: identity, calibration, setup and run state, stored records, and
// the line behaviour (answer delay, the too-new and mute flags).
struct THalvoSimState {
    std::uint8_t DeviceType = 1;
    std::uint8_t SoftwareVersion = 8;
    std::uint16_t DeviceNumber = 1234;
    std::array<std::uint16_t, 6> UniCon{3000, 1500, 2000, 0x0505, 0x1414, 56250}; // UniCon1..6
    std::uint8_t Offset = 2;
    std::array<std::uint8_t, 5> ROILevel{4, 12, 18, 26, 34};
    std::uint8_t SampleInterval = 60;
    std::uint16_t SetupWord = 0;
    std::int32_t AlarmLevel = 300;
    THalvoClock Clock;     // as last set; it does not run
    bool Measuring = true; // started by 18, stopped by 21
    bool Locked = false;   // switch locked by 1, unlocked by 2
    bool LongInterval = true; // the last interval preset: 3 (180 minutes) or 4 (60 minutes)
    THalvoRecent Recent;      // its Interval follows every change of SampleInterval
    std::uint16_t BatteryRaw = 200; // types 4, 6, 10 send 16 bits, the others the low byte
    std::vector<THalvoSimRecord> Records;

    bool TooNew = false;   // identity answered with status 22
    bool Mute = false;     // nothing is ever answered
    int AnswerDelayMs = 0; // between a complete request and its answer
};

struct THalvoLoggedRequest {
    // 1-based among requests; 0 for a broken frame or one that is not a request (no
    // command flag, or a status code where the command belongs: our own echoed answer)
    std::uint32_t Index = 0;
    std::vector<std::uint8_t> Frame;    // the request exactly as received
    std::vector<std::uint8_t> Payload;
    bool CommandFlag = false;
    bool Valid = false;
    std::vector<std::uint8_t> Answer;   // the bytes written back (echo included); empty = silent
};

class THalvoSimulator final : public TFrameDevice {
public:
    explicit THalvoSimulator(THalvoSimState state = {});

    void AddFault(const THalvoFault& fault);
    THalvoSimState State() const;            // current state, records included
    void SetRecent(const THalvoRecent& recent);
    void SetBatteryRaw(std::uint16_t raw);
    std::vector<THalvoSimRecord> Records() const;
    void SetRecords(std::vector<THalvoSimRecord> records);
    std::vector<THalvoLoggedRequest> RequestLog() const;
    void ClearRequestLog();
    // Index of the next record command 7 delivers (0-based; command 6 resets it).
    std::size_t RecordCursor() const;

private:
    struct TReply {
        std::vector<std::uint8_t> Payload;
        bool CommandFlag = true;
        bool DeliversRecord = false;
    };

    std::vector<std::uint8_t> Answer(const TReceivedFrame& frame) override;
    int AnswerDelay() const override { return Instrument.AnswerDelayMs; }
    TReply Execute(const std::vector<std::uint8_t>& request);

    THalvoSimState Instrument;
    std::vector<THalvoFault> Faults;
    std::vector<THalvoLoggedRequest> Log;
    std::uint32_t RequestCount = 0;
    std::size_t Cursor = 0;
};

} // namespace lumetra::sim
