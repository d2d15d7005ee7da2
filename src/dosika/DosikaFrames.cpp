#include "dosika/DosikaFrames.h"

#include "core/Errors.h"
#include "core/UserInterface.h"
#include "links/SerialPort.h"

#include <algorithm>
#include <string>

namespace lumetra {
namespace {

const TDkFrame EmptyFrame{0, DkFrameKind::Echo, {}};

// Storage for frame i (from 1), growing the buffer as needed.
TDkFrame& Slot(TDkResponseBuffer& responses, std::size_t i) {
    if (responses.Frames.size() < i) {
        responses.Frames.resize(i);
    }
    return responses.Frames[i - 1];
}

} // namespace

bool TDkFrame::operator==(const TDkFrame& other) const {
    if (PayloadLength != other.PayloadLength || FrameKind != other.FrameKind) {
        return false;
    }
    const std::size_t n = std::min<std::size_t>(PayloadLength, MaxPayload);
    return std::equal(Payload.begin(), Payload.begin() + static_cast<std::ptrdiff_t>(n), other.Payload.begin());
}

const TDkFrame& TDkResponseBuffer::Frame(std::size_t i) const {
    if (i == 0 || i > Frames.size()) {
        return EmptyFrame;
    }
    return Frames[i - 1];
}

Word DkChecksum(const Byte* bytes, std::size_t count) {
    Word sum = 0;
    for (std::size_t k = 0; k < count; ++k) {
        sum = static_cast<Word>(sum + bytes[k]);
    }
    return sum;
}

std::vector<Byte> DkRequestBytes(const TDkFrame& request) {
    return BuildFrame(request.Payload.data(), request.PayloadLength, request.FrameKind == DkFrameKind::Command);
}

TDkFrame DkCommandFrame(const std::vector<Byte>& payload) {
    TDkFrame frame;
    const std::size_t n = std::min(payload.size(), MaxPayload);
    std::copy_n(payload.begin(), n, frame.Payload.begin());
    frame.PayloadLength = static_cast<Byte>(n);
    frame.FrameKind = DkFrameKind::Command;
    return frame;
}

void ConfigureDkPort(const TComPort& port) {
    const int fd = static_cast<int>(port.Handle);
    SerialConfigure(fd, 1); // 115200 baud, mark parity, whatever Baudrate says
    SerialPurge(fd);
}

Byte DkFrameTransaction(TUserInterface& ui, const TComPort& port, const TDkFrame& request, Byte byteDelay,
                        TDkResponseBuffer& responses, Byte stopCode, Word expectedFrames) {
    TClock& clock = ui.Clock();
    clock.Pause(DkEntryPauseMilliseconds);
    const bool showProgress = expectedFrames == 0;
    if (showProgress) {
        ui.ShowProgress(ui.Translate("Data Download"), 0);
        ui.UpdateProgress(0, "");
    }
    const auto finish = [&](Byte result) {
        if (showProgress) {
            ui.HideProgress();
        }
        return result;
    };
    if (port.Handle == InvalidHandle) {
        return finish(Result::PortNotOpen);
    }
    // Checked before anything is written: a lone start byte would leave the instrument
    // waiting for a frame that the next request would then garble.
    if (request.PayloadLength == 0 || request.PayloadLength > MaxPayload) {
        return finish(Result::RequestLength);
    }
    const int fd = static_cast<int>(port.Handle);
    ConfigureDkPort(port);
    clock.Pause(byteDelay);
    for (const Byte b : DkRequestBytes(request)) {
        (void)SerialWriteByte(fd, b); // a failed write shows as silence
        clock.Pause(byteDelay);
    }

    const int total = port.ReadTotalTimeOut;
    std::size_t i = 0;
    bool error = false;
    bool timedOut = false;
    bool endSeen = false;
    bool overflow = false;
    bool echoPending = false;
    bool firstFrameExamined = false;
    while (true) {
        if (showProgress) {
            ui.UpdateProgress(static_cast<int>(i + 1), std::to_string(i + 1));
        }
        std::array<Byte, 3> header{};
        const std::size_t got = SerialRead(fd, header.data(), 3, total, ByteGapMilliseconds);
        if (got == 3) {
            error = header[0] != FrameStart || header[2] != static_cast<Byte>(header[1] ^ 0xFF);
        } else if (got == 0) {
            timedOut = true;
        } else {
            error = true;
        }
        bool complete = false;
        if (!error && !timedOut) {
            const std::size_t n = (header[1] & 0x7Fu) + 1u;
            const bool flag = (header[1] & 0x80u) != 0;
            std::array<Byte, MaxPayload> payload{};
            if (SerialRead(fd, payload.data(), n, total, ByteGapMilliseconds) < n) {
                error = true;
            } else {
                if (!echoPending) {
                    ++i;
                }
                if (i > DkResponseCapacity) {
                    overflow = true;
                } else {
                    TDkFrame& frame = Slot(responses, i);
                    frame.PayloadLength = static_cast<Byte>(n);
                    frame.FrameKind = flag ? DkFrameKind::Command : DkFrameKind::Data;
                    frame.Payload = payload;
                    endSeen = flag && payload[0] == stopCode;
                    std::array<Byte, 3> trailer{};
                    const Word sum = DkChecksum(payload.data(), n);
                    if (SerialRead(fd, trailer.data(), 3, total, ByteGapMilliseconds) < 3 ||
                        trailer[0] != (sum & 0xFF) || trailer[1] != (sum >> 8) || trailer[2] != FrameEnd) {
                        error = true;
                    } else {
                        complete = true;
                    }
                }
            }
        }
        // Only the first frame that arrives can be the echo of the request; a reply that
        // happens to look like the request is kept.
        if (complete && !firstFrameExamined) {
            firstFrameExamined = true;
            if (i == 1 && responses.Frames[0] == request) {
                responses.Frames[0] = EmptyFrame;
                echoPending = true;
                endSeen = false;
                continue;
            }
        }
        if (i > 0) {
            echoPending = false;
        }
        if (error || timedOut || endSeen || overflow || (expectedFrames != 0 && i == expectedFrames)) {
            break;
        }
    }

    if (overflow) {
        return finish(Result::UnexpectedResponse);
    }
    if (error) {
        return finish(Result::FrameError);
    }
    if (timedOut || i == 0) {
        return finish(Result::NoAnswer);
    }
    responses.Count = static_cast<Word>(i);
    return finish(Result::Success);
}

void JoinDataFrames(const TDkResponseBuffer& responses, TDkPayloadBuffer& joined) {
    joined.Bytes.clear();
    const std::size_t count =
        std::min({static_cast<std::size_t>(responses.Count), DkResponseCapacity, responses.Frames.size()});
    for (std::size_t i = 1; i <= count; ++i) {
        const TDkFrame& frame = responses.Frames[i - 1];
        if (frame.FrameKind == DkFrameKind::Data) {
            const std::size_t n = std::min<std::size_t>(frame.PayloadLength, MaxPayload);
            joined.Bytes.insert(joined.Bytes.end(), frame.Payload.begin(),
                                frame.Payload.begin() + static_cast<std::ptrdiff_t>(n));
        }
    }
    joined.TotalLength = joined.Bytes.size();
}

} // namespace lumetra
