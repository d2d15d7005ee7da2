#pragma once
// What a pseudo-terminal server needs from a simulated instrument: bytes in, answers
// out. Each answer is written to the line with one write call.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra::sim {

using TAnswers = std::vector<std::vector<std::uint8_t>>;

class TSimDevice {
public:
    virtual ~TSimDevice() = default;
    // Bytes as they arrived from the client; returns the answers now due.
    virtual TAnswers Receive(const std::uint8_t* data, std::size_t size) = 0;
    // The client went quiet while InputPending(); an instrument drops a torn frame then.
    virtual TAnswers InputGap() = 0;
    virtual bool InputPending() const = 0;
    // Time between a complete request and its answer.
    virtual int AnswerDelayMs() const = 0;
};

} // namespace lumetra::sim
