#pragma once
// lumetra-sim as a child process serving a link, for the CLI tests that talk to a
// simulated instrument or modem.

#include <string>
#include <sys/types.h>
#include <vector>

namespace lumetra::test {

class TSimProcess {
public:
    TSimProcess() = default;
    ~TSimProcess() { Stop(); }
    TSimProcess(const TSimProcess&) = delete;
    TSimProcess& operator=(const TSimProcess&) = delete;

    // Starts "lumetra-sim KIND OPTIONS --link LINK" (KIND halvo, dosika or modem) with
    // stderr to `errorLog` and waits until it has printed its slave path, which it does
    // once the link exists. False (with `error`) when it does not come up.
    bool Start(const std::string& kind, const std::vector<std::string>& options, const std::string& link,
               const std::string& errorLog, std::string& error);

    // SIGTERM, then SIGKILL if it has not ended within 10 s; true when it ended by
    // itself with status 0 (or was never started).
    bool Stop();

    bool Running() const { return Pid > 0; }

private:
    pid_t Pid = -1;
};

} // namespace lumetra::test
