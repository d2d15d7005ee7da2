#pragma once
// The AT dialogue with a Hayes modem on a serial port, and the probe by which the
// instrument search recognises one. A command goes out followed by a carriage return
// ("+++" alone); the modem answers CR LF, the answer, CR LF, possibly after an echo of
// the command. Example: "at&f" sent, "at&f\r\r\nOK\r\n" read: the answer is "OK".

#include "core/BasicTypes.h"

#include <cstdint>
#include <string>

namespace lumetra {

class TUserInterface;

constexpr const char* ModemNoResponse = "NO RESPONSE";
constexpr int ModemReadTotalMilliseconds = 500;
constexpr int ModemReadGapMilliseconds = 200;
constexpr std::uint32_t ModemRetryPauseMilliseconds = 500;
constexpr std::size_t ModemReadLength = 64;

// 9600 baud, 8N1, no handshake, DTR and RTS on; purges both directions.
void ConfigureModemPort(std::uint32_t handle);

// The text a command goes out as.
std::string ModemCommandText(const std::string& command);

// The answer in one reading `received` after `sent`: without an echo of `sent` and the
// CR LF pairs around it. False when the reading holds no answer (empty, only the echo,
// or nothing left once the framing is removed).
bool ExtractModemAnswer(const std::string& sent, const std::string& received, std::string& answer);

// Sends `command` and reads the answer, with `tries` further readings (each after a
// pause of 500 ms) while none came. `answer` is "NO RESPONSE" when none came.
void ModemCommand(TUserInterface& ui, std::uint32_t handle, const std::string& command, int tries,
                  std::string& answer);

// 0 when a modem answers "at&f", 3 when nothing does.
[[nodiscard]] Byte DetectModem(TUserInterface& ui, std::uint32_t handle);

// Removes every blank.
void RemoveBlanks(std::string& text);

} // namespace lumetra
