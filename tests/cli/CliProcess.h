#pragma once
// Runs the built lumetra-cli as a child process in the C locale with stdin on /dev/null,
// and captures what it prints and how it ends.

#include <string>
#include <vector>

namespace lumetra::test {

struct TCliRun {
    int Status = -1; // the exit status; 128 + signal when killed
    std::string Out;
    std::string Err;
};

TCliRun RunLumetraCli(const std::vector<std::string>& args);
// The same in the given locale (LC_ALL), for the commands that follow it.
TCliRun RunLumetraCli(const std::vector<std::string>& args, const std::string& locale);

// The text split at '\n' (a final line break ends the last line, it adds none).
std::vector<std::string> Lines(const std::string& text);

} // namespace lumetra::test
