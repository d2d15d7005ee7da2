#pragma once
// The help texts of lumetra-cli. "lumetra-cli --help" is the overview: one line per
// command, its synopsis and summary. "lumetra-cli COMMAND --help" is the synopsis, the
// summary, the options and the command's details. The synopses are made from the
// options themselves, so they cannot drift from what the parser accepts.

#include <CLI/CLI.hpp>

#include <string>

namespace lumetra::cli {

class THelpFormatter final : public CLI::FormatterBase {
public:
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;
};

// The option group whose options the synopsis names together, as "[OPERATION ...]", where
// the first of them stands (a command with many operations keeps a one-line synopsis;
// its help still lists each of them).
constexpr const char* OperationGroup = "OPERATION";

// "export FILE [-o OUT] [--units si|us]": positional arguments first, then the options in
// the order they were added; optional ones in brackets.
std::string Synopsis(const CLI::App& command);

} // namespace lumetra::cli
