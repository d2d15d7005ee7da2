#pragma once
// The command-line options of one command: positional arguments, options with a value
// ("-o FILE", "--units si", "--units=si") and flags ("--stop-measurement"). Each
// command declares what it accepts; anything else is a usage error.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lumetra::cli {

struct TCliOptionSyntax {
    std::string Name; // with its dashes: "-o", "--data-dir"
    bool TakesValue = false;
};

struct TCliCommandSyntax {
    std::vector<TCliOptionSyntax> Options;
    std::vector<std::string> PositionalNames; // "FILE": for the message when one is missing
    std::size_t MinPositional = 0;
    std::size_t MaxPositional = 0;
};

struct TCliOptions {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Values;
    std::set<std::string> Flags;

    bool HasFlag(const std::string& name) const { return Flags.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// Parses `args` (the words after the command name). On a usage error returns false and
// sets `error` to a one-line message. "--" ends the options; a lone "-" is positional.
// An option given twice is an error, so that a script never silently loses one.
bool ParseCliOptions(const std::vector<std::string>& args, const TCliCommandSyntax& syntax,
                     TCliOptions& options, std::string& error);

// True when "--help" appears among the options (before any "--").
bool RequestsHelp(const std::vector<std::string>& args);

} // namespace lumetra::cli
