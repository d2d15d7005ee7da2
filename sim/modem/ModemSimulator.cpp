#include "modem/ModemSimulator.h"

#include <cctype>
#include <cstdio>

namespace lumetra::sim {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at pos; false if there are none and a number is required, or if
// the number is beyond 255.
bool ReadNumber(const std::string& text, std::size_t& pos, unsigned& value, bool required) {
    value = 0;
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        value = value * 10 + static_cast<unsigned>(text[pos] - '0');
        if (value > 255) {
            return false;
        }
        ++pos;
    }
    return !required || pos > start;
}

} // namespace

TModemSimulator::TModemSimulator(TModemSimOptions options) : Options(std::move(options)) {
    Current = Factory();
    Saved = Current;
}

TModemSimulator::TSettings TModemSimulator::Factory() const {
    TSettings s;
    s.Echo = Options.Echo;
    // Escape character, CR, LF, backspace, dial wait, carrier wait, comma pause,
    // carrier detect and carrier loss times, escape guard time.
    s.Registers[2] = 43;
    s.Registers[3] = 13;
    s.Registers[4] = 10;
    s.Registers[5] = 8;
    s.Registers[6] = 2;
    s.Registers[7] = 50;
    s.Registers[8] = 2;
    s.Registers[9] = 6;
    s.Registers[10] = 14;
    s.Registers[12] = 50;
    return s;
}

std::vector<TModemLoggedCommand> TModemSimulator::CommandLog() const {
    std::lock_guard lock(Mutex);
    return Log;
}

void TModemSimulator::ClearCommandLog() {
    std::lock_guard lock(Mutex);
    Log.clear();
}

bool TModemSimulator::EchoOn() const {
    std::lock_guard lock(Mutex);
    return Current.Echo;
}

std::uint8_t TModemSimulator::Register(std::size_t number) const {
    std::lock_guard lock(Mutex);
    return number < Current.Registers.size() ? Current.Registers[number] : 0;
}

TAnswers TModemSimulator::Receive(const std::uint8_t* data, std::size_t size) {
    std::lock_guard lock(Mutex);
    TAnswers answers;
    // New input does not wait for a held result any longer.
    if (!Held.empty()) {
        answers.push_back(std::vector<std::uint8_t>(Held.begin(), Held.end()));
        Held.clear();
    }
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            continue;
        }
        LineBytes += c;
        if (c != '\r') {
            Line += c;
            continue;
        }
        // The line was typed, and so echoed, under the echo setting it found.
        std::string echo = Current.Echo ? LineBytes : std::string();
        std::string result = Execute(Line);
        std::string received = LineBytes;
        Line.clear();
        LineBytes.clear();
        Deliver(answers, std::move(received), std::move(echo), std::move(result));
    }
    return answers;
}

TAnswers TModemSimulator::InputGap() {
    std::lock_guard lock(Mutex);
    TAnswers answers;
    if (!Held.empty()) {
        answers.push_back(std::vector<std::uint8_t>(Held.begin(), Held.end()));
        Held.clear();
    } else if (Line == "+++") {
        const std::string reply = (Current.Echo ? Line : std::string()) + ResultText(TResult::Ok);
        Log.push_back({Line, reply});
        Line.clear();
        LineBytes.clear();
        if (!reply.empty()) {
            answers.push_back(std::vector<std::uint8_t>(reply.begin(), reply.end()));
        }
    }
    return answers;
}

bool TModemSimulator::InputPending() const {
    std::lock_guard lock(Mutex);
    return !Held.empty() || Line == "+++";
}

void TModemSimulator::Deliver(TAnswers& answers, std::string received, std::string echo, std::string result) {
    Log.push_back({std::move(received), echo + result});
    if (Options.SlowResult) {
        Held = result;
        result.clear();
    }
    const std::string now = echo + result;
    if (!now.empty()) {
        answers.push_back(std::vector<std::uint8_t>(now.begin(), now.end()));
    }
}

std::string TModemSimulator::ResultText(TResult result) const {
    if (Current.Quiet || result == TResult::None) {
        return {};
    }
    static const char* const words[] = {"OK", "ERROR", "NO CARRIER"};
    static const char* const codes[] = {"0", "4", "3"};
    const auto index = static_cast<std::size_t>(result);
    return Current.Verbose ? std::string("\r\n") + words[index] + "\r\n" : std::string(codes[index]) + "\r";
}

std::string TModemSimulator::InfoText(const std::string& text) const {
    return Current.Verbose ? "\r\n" + text + "\r\n" : text + "\r\n";
}

std::string TModemSimulator::Execute(const std::string& line) {
    std::size_t at = std::string::npos;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        if (Upper(line[i]) == 'A' && Upper(line[i + 1]) == 'T') {
            at = i;
            break;
        }
    }
    if (at == std::string::npos) {
        return {};
    }
    std::string commands;
    for (std::size_t i = at + 2; i < line.size(); ++i) {
        if (line[i] != ' ') {
            commands += line[i];
        }
    }
    std::string info;
    TResult result = TResult::Ok;
    std::size_t pos = 0;
    while (pos < commands.size() && result == TResult::Ok) {
        const char c = Upper(commands[pos++]);
        unsigned n = 0;
        switch (c) {
        case 'E':
        case 'V':
        case 'Q':
            if (!ReadNumber(commands, pos, n, false) || n > 1) {
                result = TResult::Error;
            } else if (c == 'E') {
                Current.Echo = n == 1;
            } else if (c == 'V') {
                Current.Verbose = n == 1;
            } else {
                Current.Quiet = n == 1;
            }
            break;
        case 'Z':
        case 'I':
        case 'H':
        case 'M':
        case 'L':
        case 'X':
        case 'P':
        case 'T':
        case 'W':
        case 'Y':
        case 'B':
        case 'C':
        case 'N':
            if (!ReadNumber(commands, pos, n, false)) {
                result = TResult::Error;
            } else if (c == 'Z') {
                Current = Saved;
            } else if (c == 'I') {
                info += InfoText(Options.Identity);
            }
            break;
        case '&': {
            if (pos >= commands.size() || !std::isalpha(static_cast<unsigned char>(commands[pos]))) {
                result = TResult::Error;
                break;
            }
            const char which = Upper(commands[pos++]);
            if (!ReadNumber(commands, pos, n, false)) {
                result = TResult::Error;
            } else if (which == 'F') {
                Current = Factory();
            } else if (which == 'W') {
                Saved = Current;
            }
            break;
        }
        case 'S': {
            unsigned reg = 0, value = 0;
            if (!ReadNumber(commands, pos, reg, true) || pos >= commands.size()) {
                result = TResult::Error;
            } else if (commands[pos] == '=') {
                ++pos;
                if (!ReadNumber(commands, pos, value, true)) {
                    result = TResult::Error;
                } else {
                    Current.Registers[reg] = static_cast<std::uint8_t>(value);
                }
            } else if (commands[pos] == '?') {
                ++pos;
                char digits[8];
                std::snprintf(digits, sizeof digits, "%03u", static_cast<unsigned>(Current.Registers[reg]));
                info += InfoText(digits);
            } else {
                result = TResult::Error;
            }
            break;
        }
        case 'D':
            pos = commands.size(); // the rest is the number
            result = TResult::NoCarrier;
            break;
        case 'A':
        case 'O':
            result = TResult::NoCarrier;
            break;
        default:
            result = TResult::Error;
            break;
        }
    }
    if (result == TResult::Error) {
        info.clear();
    }
    return info + ResultText(result);
}

} // namespace lumetra::sim
