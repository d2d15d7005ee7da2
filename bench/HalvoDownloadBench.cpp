// A Halvo download of 5000 records from the simulator over a pseudo-terminal, against
// the time the protocol itself imposes: the 5 ms pause after every request byte, the
// simulator's time to answer each complete request, and the final status-11 answer,
// which is shorter than the record the client waits for and so is only taken when
// ReadTotalTimeOut runs out.

#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"
#include "halvo/HalvoDownload.h"
#include "links/InstrumentAdapter.h"

#include "common/SimPty.h"
#include "halvo/HalvoSimSeries.h"
#include "halvo/HalvoSimulator.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace lumetra::bench {
namespace {

constexpr std::size_t DownloadRecords = 5000;
constexpr Integer ReadTotalTimeOutMs = 1000;
constexpr int LoopbackExchanges = 200;

using TSteady = std::chrono::steady_clock;

double Seconds(TSteady::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Real waits, no user: progress and events are dropped.
class TBenchUserInterface final : public TUserInterface {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    bool InputText(const std::string&, const std::string&, std::string&) override { return false; }
    int ChooseFromList(const std::string&, const std::vector<std::string>&) override { return -1; }
    void ShowProgress(const std::string&, int) override {}
    void UpdateProgress(int, const std::string&) override {}
    void HideProgress() override {}
    void ProcessPendingEvents() override {}
    std::string Translate(const std::string& english) const override { return english; }
    TClock& Clock() override { return RealClock; }

private:
    TSystemClock RealClock;
};

// The exchange without its byte pauses: what is left is the line, the client's own work
// and the simulator's answer.
class TNoPauseClock final : public TClock {
public:
    void Pause(std::uint32_t) override {}
    std::uint64_t NowMilliseconds() override { return 0; }
};

// Times the simulator from the arrival of the last byte of a request to its answer
// being ready; the server writes it to the line right after.
class TTimedDevice final : public sim::TSimDevice {
public:
    explicit TTimedDevice(sim::THalvoSimulator& inner) : Inner(inner) {}

    sim::TAnswers Receive(const std::uint8_t* data, std::size_t size) override {
        const auto start = TSteady::now();
        sim::TAnswers answers = Inner.Receive(data, size);
        if (!answers.empty()) {
            AnswerNanoseconds +=
                std::chrono::duration_cast<std::chrono::nanoseconds>(TSteady::now() - start).count();
            ++Answers;
        }
        return answers;
    }
    sim::TAnswers InputGap() override { return Inner.InputGap(); }
    bool InputPending() const override { return Inner.InputPending(); }
    int AnswerDelayMs() const override { return Inner.AnswerDelayMs(); }

    void Reset() {
        AnswerNanoseconds = 0;
        Answers = 0;
    }

    std::atomic<long long> AnswerNanoseconds{0};
    std::atomic<long long> Answers{0};

private:
    sim::THalvoSimulator& Inner;
};

void BM_HalvoDownload5000Records(benchmark::State& state) {
    sim::THalvoSimState instrument;
    instrument.DeviceType = 1;
    instrument.SoftwareVersion = 8;
    instrument.SampleInterval = 10;
    sim::THalvoSeries series;
    series.Count = DownloadRecords;
    series.Interval = 10;
    instrument.Records = sim::GenerateHalvoRecords(instrument, series);
    sim::THalvoSimulator simulator(instrument);
    TTimedDevice device(simulator);
    sim::TPtyServer server(device);
    std::string error;
    if (!server.Start({}, error)) {
        state.SkipWithError(("cannot start the simulator: " + error).c_str());
        return;
    }
    const std::uint32_t handle = OpenComPort(server.SlavePath());
    if (handle == InvalidHandle) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    TComPort port;
    port.Handle = handle;
    port.ReadTotalTimeOut = ReadTotalTimeOutMs;
    port.Baudrate = 0;

    TBenchUserInterface ui;
    auto data = std::make_unique<TInstrumentData>();
    double measured = 0;
    Byte result = 0;
    for (auto _ : state) {
        simulator.ClearRequestLog();
        device.Reset();
        const auto start = TSteady::now();
        result = HlvDownload(ui, port, *data);
        measured = Seconds(TSteady::now() - start);
    }

    // The requests as they were sent, retries included.
    const std::vector<sim::THalvoLoggedRequest> log = simulator.RequestLog();
    std::size_t requestBytes = 0;
    std::size_t recordRequests = 0;
    for (const auto& request : log) {
        requestBytes += request.Frame.size();
        if (!request.Payload.empty() && (request.Payload[0] == 6 || request.Payload[0] == 7)) {
            ++recordRequests;
        }
    }
    const double answerSeconds = static_cast<double>(device.AnswerNanoseconds.load()) * 1e-9;

    // The same line without the pauses, for the part of an exchange beyond them.
    TNoPauseClock noPause;
    const auto loopStart = TSteady::now();
    int loopFailures = 0;
    for (int k = 0; k < LoopbackExchanges; ++k) {
        TFrameBuffer buffer{0x0C, 0x06, 0x06, 0x00};
        Byte flag = 1;
        loopFailures += ExchangeFrame(noPause, port, flag, 4, buffer, 13) != 0 ? 1 : 0;
    }
    const double loopback = Seconds(TSteady::now() - loopStart) / LoopbackExchanges;
    CloseComPort(handle);
    server.Stop();

    if (result != 0 || data->NumberOfRecords != DownloadRecords || loopFailures != 0) {
        state.SkipWithError("the download or the loopback exchanges failed");
        return;
    }
    const double pauses = static_cast<double>(requestBytes) * BytePauseMilliseconds / 1000.0;
    const double finalWait = ReadTotalTimeOutMs / 1000.0;
    const double minimum = pauses + answerSeconds + finalWait;
    state.counters["records"] = static_cast<double>(data->NumberOfRecords);
    state.counters["requests"] = static_cast<double>(log.size());
    state.counters["record_requests"] = static_cast<double>(recordRequests);
    state.counters["request_bytes"] = static_cast<double>(requestBytes);
    state.counters["measured_s"] = measured;
    state.counters["pauses_s"] = pauses;
    state.counters["sim_answer_s"] = answerSeconds;
    state.counters["final_wait_s"] = finalWait;
    state.counters["minimum_s"] = minimum;
    state.counters["ratio"] = measured / minimum;
    state.counters["exchange_without_pauses_ms"] = loopback * 1000.0;
}
BENCHMARK(BM_HalvoDownload5000Records)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace lumetra::bench
