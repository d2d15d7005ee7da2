#pragma once
// A simulated instrument that answers instrument message frames: it collects the
// client's bytes into frames and answers each complete frame in turn. The simulators
// of both families build on it; their state shares the one mutex, so a test may read
// it while the server thread runs.

#include "common/SimDevice.h"
#include "common/SimFrame.h"

#include <mutex>

namespace lumetra::sim {

class TFrameDevice : public TSimDevice {
public:
    TAnswers Receive(const std::uint8_t* data, std::size_t size) final;
    TAnswers InputGap() final;
    bool InputPending() const final;
    int AnswerDelayMs() const final;

protected:
    // Both are called with Mutex held. An empty answer means silence.
    virtual std::vector<std::uint8_t> Answer(const TReceivedFrame& frame) = 0;
    virtual int AnswerDelay() const = 0;

    mutable std::mutex Mutex;

private:
    TAnswers AnswerAll(const std::vector<TReceivedFrame>& frames);

    TFrameReader Reader;
};

} // namespace lumetra::sim
