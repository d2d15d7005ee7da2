#pragma once
// A simulated Hayes modem in command state, for the modem probe and the AT dialogue.
//
// A command line ends with CR (LF is ignored); it is executed from its first "AT"
// (any case; text before it is dropped, a line without it is ignored). With echo on
// (E1) the received bytes of the line come back first, CR included, then the result:
//   verbose (V1): CR LF "OK" CR LF, or "ERROR", or "NO CARRIER" the same way
//   numeric (V0): "0" CR, "4" CR, "3" CR
//   quiet (Q1): no result at all
// so "at&f" CR with echo on is answered "at&f" CR CR LF "OK" CR LF.
// Commands: E V Q M L X H Z I P T W Y B C N with an optional number; &F (back to the
// configured defaults), &W (save as the Z profile), &Y and any other &x[n]; Sr=v and
// Sr? (three digits); D... and A and O answer NO CARRIER, as there is no remote modem.
// I answers a line of identification before the result. Anything else is ERROR.
// The escape "+++" followed by a second of silence is answered OK (echoed first with
// echo on), as a modem on line would.
//
// SlowResult holds every result back until the line has been quiet for a second
// (TPtyServer::kInputGapMs), so the echo and the result arrive in different reads.

#include "common/SimDevice.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace lumetra::sim {

struct TModemSimOptions {
    bool Echo = true; // the factory setting, restored by &F
    bool SlowResult = false;
    std::string Identity = "Lumetra simulated modem 56k";
};

struct TModemLoggedCommand {
    std::string Received; // the line as received (CR included) or "+++"
    std::string Reply;    // everything sent back for it, echo included
};

class TModemSimulator final : public TSimDevice {
public:
    explicit TModemSimulator(TModemSimOptions options = {});

    std::vector<TModemLoggedCommand> CommandLog() const;
    void ClearCommandLog();
    bool EchoOn() const;
    std::uint8_t Register(std::size_t number) const;

    TAnswers Receive(const std::uint8_t* data, std::size_t size) override;
    TAnswers InputGap() override;
    bool InputPending() const override;
    int AnswerDelayMs() const override { return 0; }

private:
    enum class TResult { Ok, Error, NoCarrier, None };
    struct TSettings {
        bool Echo = true;
        bool Verbose = true;
        bool Quiet = false;
        std::array<std::uint8_t, 256> Registers{};
    };

    TSettings Factory() const;
    std::string Execute(const std::string& line);
    std::string ResultText(TResult result) const;
    std::string InfoText(const std::string& text) const;
    void Deliver(TAnswers& answers, std::string received, std::string echo, std::string result);

    mutable std::mutex Mutex;
    TModemSimOptions Options;
    TSettings Current;
    TSettings Saved;
    std::string Line;
    std::string LineBytes; // everything received for the line, for the echo and the log
    std::string Held;      // a result waiting for the line to go quiet
    std::size_t HeldLog = 0;
    std::vector<TModemLoggedCommand> Log;
};

} // namespace lumetra::sim
