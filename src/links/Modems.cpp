#include "links/Modems.h"

#include "core/Errors.h"
#include "core/UserInterface.h"
#include "links/InstrumentAdapter.h"
#include "links/SerialPort.h"

#include <algorithm>
#include <array>

namespace lumetra {

void ConfigureModemPort(std::uint32_t handle) {
    const int fd = static_cast<int>(handle);
    SerialConfigure(fd, 0);
    SerialPurge(fd);
}

std::string ModemCommandText(const std::string& command) { return command == "+++" ? command : command + "\r"; }

bool ExtractModemAnswer(const std::string& sent, const std::string& received, std::string& answer) {
    if (received.empty() || received == sent) {
        return false;
    }
    // What is left between the leading framing (the echo and its CR LF, or the CR LF
    // alone) and the trailing CR LF.
    const std::size_t begin = received.starts_with(sent) ? sent.size() + 2 : 2;
    if (received.size() < begin + 2) {
        return false;
    }
    std::string text = received.substr(begin, received.size() - begin - 2);
    if (text.empty() || text == sent) {
        return false;
    }
    answer = std::move(text);
    return true;
}

void ModemCommand(TUserInterface& ui, std::uint32_t handle, const std::string& command, int tries,
                  std::string& answer) {
    answer = ModemNoResponse;
    if (handle == InvalidHandle) {
        return;
    }
    const int fd = static_cast<int>(handle);
    const std::string sent = ModemCommandText(command);
    for (const char c : sent) {
        (void)SerialWriteByte(fd, static_cast<Byte>(c));
    }
    for (int attempt = 0; attempt <= tries; ++attempt) {
        std::array<Byte, ModemReadLength> buffer{};
        const std::size_t n =
            SerialRead(fd, buffer.data(), buffer.size(), ModemReadTotalMilliseconds, ModemReadGapMilliseconds);
        const std::string received(reinterpret_cast<const char*>(buffer.data()), n);
        std::string taken;
        const bool answered = ExtractModemAnswer(sent, received, taken);
        if (answered) {
            answer = std::move(taken);
        } else {
            answer = ModemNoResponse;
            ui.Clock().Pause(ModemRetryPauseMilliseconds);
        }
        ui.ProcessPendingEvents();
        if (answered) {
            return;
        }
    }
}

Byte DetectModem(TUserInterface& ui, std::uint32_t handle) {
    if (handle == InvalidHandle) {
        return Result::NoAnswer;
    }
    ConfigureModemPort(handle);
    std::string answer;
    ModemCommand(ui, handle, "at&f", 2, answer);
    return answer == ModemNoResponse ? Result::NoAnswer : Result::Success;
}

void RemoveBlanks(std::string& text) { text.erase(std::remove(text.begin(), text.end(), ' '), text.end()); }

} // namespace lumetra
