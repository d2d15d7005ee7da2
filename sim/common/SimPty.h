#pragma once
// Serves a simulated instrument on the master side of a pseudo-terminal, in a thread
// of its own. The server keeps the slave open itself, so a client may open and close
// the slave (directly or through the link path) as often as it likes without the
// master ever seeing a hang-up.

#include "common/SimDevice.h"

#include <string>
#include <thread>

namespace lumetra::sim {

class TPtyServer {
public:
    // A torn frame is given up after this much silence from the client.
    static constexpr int kInputGapMs = 1000;

    explicit TPtyServer(TSimDevice& device);
    ~TPtyServer();
    TPtyServer(const TPtyServer&) = delete;
    TPtyServer& operator=(const TPtyServer&) = delete;

    // Creates the pseudo-terminal, makes linkPath (if not empty) a symbolic link to its
    // slave (an existing symbolic link there is replaced, any other file is left alone
    // and Start fails) and starts serving. On failure everything acquired is released.
    bool Start(const std::string& linkPath, std::string& error);
    // Ends the thread, closes the pseudo-terminal and removes the link. Idempotent.
    void Stop();

    bool Running() const { return Worker.joinable(); }
    const std::string& SlavePath() const { return Slave; }
    const std::string& LinkPath() const { return Link; }

private:
    void Serve();
    void Release();

    TSimDevice& Device;
    int MasterFd = -1;
    int SlaveFd = -1;
    int StopFd = -1;
    std::string Slave;
    std::string Link;
    std::thread Worker;
};

} // namespace lumetra::sim
