#pragma once
// A simulated Dosika-family instrument (types 1 to 6) behind the instrument message
// frame. Requests carry the command flag and start with the command code; every
// command is answered with one frame, command flag set, whose first byte is the
// status: 0 accepted, 1 refused while measuring, 5 stop refused during the post-
// exposure analysis, 0xFF unknown command, wrong parameter count or a command the
// type does not have. E.g. the identity read 42 80 7F 40 40 00 45 of a Dosika with
// software 5 and serial 4321 (0x10E1) is answered 42 85 7A 00 01 05 E1 10 01 F8 00 45.
//
// The two download commands (0x60 spectrum, 0x61 records) are answered with a status
// frame, the data in frames of at most 128 payload bytes with the command flag clear,
// and the closing frame [04] with the flag set. A refused download command gets its
// status frame and the closing frame, so the client is not left waiting for the end.
//
// While measuring, the reads of identity, calibration, setup and stored data (0x40-0x44,
// 0x50, 0x51, 0x53, 0x60, 0x61, 0x71, 0x73) are refused with status 1 and everything
// else is answered; stop ends the measurement with status 0, or answers 5 and changes
// nothing during the post-exposure analysis. After switch-off nothing is answered any
// more. Frames with a bad checksum or end byte and frames without the command flag are
// logged and not answered.
//
// The analog sensors (types 5, 6) keep their output setup as sent, the DAC test values
// (which the output reads then return) and the switch state; their readings are
// TDkSimState::Values, set by a test or renewed by a value source at every radon read.
//
// In-process use: fill a TDkSimState (DkSimDefaultState, GenerateDkData), construct
// the simulator, add faults, serve it with a TPtyServer (common/SimPty.h). Every
// accessor is safe while the server thread runs; a request is logged before its answer
// is written.

#include "common/SimFrame.h"
#include "common/SimFrameDevice.h"
#include "dosika/DosikaSimFaults.h"
#include "dosika/DosikaSimState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace lumetra::sim {

inline constexpr std::uint8_t kDkStatusOk = 0;
inline constexpr std::uint8_t kDkStatusRefused = 1;
inline constexpr std::uint8_t kDkStatusEnd = 4;
inline constexpr std::uint8_t kDkStatusPostExposure = 5;
inline constexpr std::uint8_t kDkStatusUnknown = 0xFF;

struct TDkLoggedRequest {
    // 1-based among valid request frames; 0 for a broken frame or one without the
    // command flag
    std::uint32_t Index = 0;
    std::vector<std::uint8_t> Frame; // exactly as received
    std::vector<std::uint8_t> Payload;
    bool CommandFlag = false;
    bool Valid = false;
    std::vector<std::uint8_t> Answer; // the bytes written back, echo included; empty = silent
};

// Gives the readings for the next radon read (0x62) from the instrument as it is; it runs
// on the server thread with the simulator locked, so it must not call the simulator.
using TDkValueSource = std::function<TDkSimValues(const TDkSimState&)>;

class TDosikaSimulator final : public TFrameDevice {
public:
    explicit TDosikaSimulator(TDkSimState state = {});

    void AddFault(const TDkFault& fault);
    TDkSimState State() const;
    void SetState(TDkSimState state); // faults, log and request numbering are kept
    std::vector<TDkSimRecord> Records() const;
    void SetRecords(std::vector<TDkSimRecord> records);
    std::array<std::uint32_t, kDkChannels> Spectrum() const;
    void SetMeasuring(bool measuring, bool postExposure = false);
    void SetValues(const TDkSimValues& values); // the analog sensor's readings
    void SetValueSource(TDkValueSource source); // empty: the readings stay as set
    std::vector<TDkLoggedRequest> RequestLog() const;
    void ClearRequestLog();

private:
    struct TOutFrame {
        bool CommandFlag = true;
        std::vector<std::uint8_t> Payload;
    };
    struct TDamage {
        bool OddBlock = false;
        bool BlockLength = false;
        bool SpectrumSize = false;
    };

    std::vector<std::uint8_t> Answer(const TReceivedFrame& frame) override;
    int AnswerDelay() const override { return Instrument.AnswerDelayMs; }
    std::vector<TOutFrame> Execute(const std::vector<std::uint8_t>& request, const TDamage& damage);
    std::vector<std::uint8_t> Status(const std::vector<std::uint8_t>& request);

    TDkSimState Instrument;
    std::vector<TDkFault> Faults;
    TDkValueSource ValueSource;
    std::vector<TDkLoggedRequest> Log;
    std::uint32_t RequestCount = 0;
};

} // namespace lumetra::sim
