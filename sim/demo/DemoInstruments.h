#pragma once
// Simulated instruments for trying the program without hardware: a Halvo PLUS, a
// spectrometric KVX5210-2, a Dosika PRO and a Senra-P analog sensor, each served on a
// pseudo-terminal of its own with records ending about now. The records come from
// seeded generators, so every start offers the same measurements (only shifted in
// time). The Senra-P also has current readings that follow a daily radon cycle and
// change a little at every read, for its analog sensor window. Plain C++: the window
// only receives the list of ports.

#include <cstddef>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumetra {

namespace sim {
class THalvoSimulator;
class TDosikaSimulator;
class TPtyServer;
} // namespace sim

struct TDemoOptions {
    std::size_t HalvoRecords = 3000; // per Halvo instrument, one every hour
    std::size_t DosikaRecords = 0;   // 0: as many as one record block holds
    std::size_t SensorRecords = 14 * 24; // the Senra-P's, one every hour
    std::time_t EndTime = 0;         // the last record's hour; 0: now
};

// Display name and the path to open.
using TDemoPortList = std::vector<std::pair<std::string, std::string>>;

class TDemoInstruments {
public:
    explicit TDemoInstruments(TDemoOptions options = {});
    ~TDemoInstruments();
    TDemoInstruments(const TDemoInstruments&) = delete;
    TDemoInstruments& operator=(const TDemoInstruments&) = delete;

    // Creates a private folder (below $XDG_RUNTIME_DIR, else /tmp) holding one link per
    // instrument to its pseudo-terminal, and starts serving. Empty with `error` set when
    // anything fails; what was acquired is released then. A second Start while running
    // returns the same ports.
    TDemoPortList Start(std::string& error);
    // Stops the servers and removes the links and the folder. Idempotent.
    void Stop();

    bool Running() const { return !Ports.empty(); }
    const std::string& Folder() const { return Directory; }
    const TDemoPortList& PortList() const { return Ports; }

private:
    TDemoOptions Options;
    std::unique_ptr<sim::THalvoSimulator> HalvoPlus;
    std::unique_ptr<sim::THalvoSimulator> Spectrometer;
    std::unique_ptr<sim::TDosikaSimulator> Dosimeter;
    std::unique_ptr<sim::TDosikaSimulator> Sensor;
    std::vector<std::unique_ptr<sim::TPtyServer>> Servers;
    std::string Directory;
    TDemoPortList Ports;
};

} // namespace lumetra
