#include "common/SimFrameDevice.h"

#include <utility>

namespace lumetra::sim {

TAnswers TFrameDevice::Receive(const std::uint8_t* data, std::size_t size) {
    std::lock_guard lock(Mutex);
    std::vector<TReceivedFrame> frames;
    Reader.Feed(data, size, frames);
    return AnswerAll(frames);
}

TAnswers TFrameDevice::InputGap() {
    std::lock_guard lock(Mutex);
    std::vector<TReceivedFrame> frames;
    Reader.Flush(frames);
    return AnswerAll(frames);
}

bool TFrameDevice::InputPending() const {
    std::lock_guard lock(Mutex);
    return Reader.Pending();
}

int TFrameDevice::AnswerDelayMs() const {
    std::lock_guard lock(Mutex);
    return AnswerDelay();
}

TAnswers TFrameDevice::AnswerAll(const std::vector<TReceivedFrame>& frames) {
    TAnswers answers;
    for (const TReceivedFrame& frame : frames) {
        std::vector<std::uint8_t> bytes = Answer(frame);
        if (!bytes.empty()) {
            answers.push_back(std::move(bytes));
        }
    }
    return answers;
}

} // namespace lumetra::sim
