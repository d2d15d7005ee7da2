#include "common/SimFrame.h"

namespace lumetra::sim {

std::vector<std::uint8_t> BuildFrame(bool commandFlag, const std::vector<std::uint8_t>& payload) {
    if (payload.empty() || payload.size() > kMaxFramePayload) {
        return {};
    }
    const auto control = static_cast<std::uint8_t>((payload.size() - 1) | (commandFlag ? 0x80u : 0u));
    std::vector<std::uint8_t> frame;
    frame.reserve(payload.size() + kFrameOverhead);
    frame.push_back(kFrameStart);
    frame.push_back(control);
    frame.push_back(static_cast<std::uint8_t>(~control));
    std::uint16_t sum = 0;
    for (const std::uint8_t b : payload) {
        frame.push_back(b);
        sum = static_cast<std::uint16_t>(sum + b);
    }
    frame.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(sum >> 8));
    frame.push_back(kFrameEnd);
    return frame;
}

void TFrameReader::Feed(const std::uint8_t* data, std::size_t size, std::vector<TReceivedFrame>& frames) {
    Buffer.insert(Buffer.end(), data, data + size);
    Scan(frames);
}

void TFrameReader::Flush(std::vector<TReceivedFrame>& frames) {
    while (!Buffer.empty()) {
        Buffer.erase(Buffer.begin());
        Scan(frames);
    }
}

void TFrameReader::Scan(std::vector<TReceivedFrame>& frames) {
    const std::size_t size = Buffer.size();
    std::size_t pos = 0;
    while (pos < size) {
        if (Buffer[pos] != kFrameStart) {
            ++pos;
            continue;
        }
        if (size - pos < 3) {
            break;
        }
        const std::uint8_t control = Buffer[pos + 1];
        if (Buffer[pos + 2] != static_cast<std::uint8_t>(~control)) {
            ++pos;
            continue;
        }
        const std::size_t length = (control & 0x7Fu) + 1u;
        if (size - pos < length + kFrameOverhead) {
            break;
        }
        std::uint16_t sum = 0;
        for (std::size_t i = 0; i < length; ++i) {
            sum = static_cast<std::uint16_t>(sum + Buffer[pos + 3 + i]);
        }
        const auto stored = static_cast<std::uint16_t>(Buffer[pos + 3 + length] | (Buffer[pos + 4 + length] << 8));
        TReceivedFrame frame;
        frame.Valid = stored == sum && Buffer[pos + 5 + length] == kFrameEnd;
        frame.CommandFlag = (control & 0x80u) != 0;
        const auto first = Buffer.begin() + static_cast<std::ptrdiff_t>(pos);
        frame.Bytes.assign(first, first + static_cast<std::ptrdiff_t>(length + kFrameOverhead));
        frame.Payload.assign(first + 3, first + 3 + static_cast<std::ptrdiff_t>(length));
        pos += frame.Valid ? length + kFrameOverhead : 1;
        frames.push_back(std::move(frame));
    }
    Buffer.erase(Buffer.begin(), Buffer.begin() + static_cast<std::ptrdiff_t>(pos));
}

} // namespace lumetra::sim
