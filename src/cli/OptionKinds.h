#pragma once
// The kinds of option value, and the options, that the commands share. Each check names the value it rejects;
// CLI11 puts the option's name in front.

#include <CLI/CLI.hpp>

#include <initializer_list>
#include <string>

namespace lumetra::cli {

// Plain decimal digits, without sign, blanks or leading zeros: CLI11's own conversion
// would take "010" as octal and " 1" or "0x1" as numbers. Put it before a CLI::Range.
CLI::Validator DecimalNumber();

// Digits with at most one decimal separator (a full stop, or the locale's) and digits
// after it, as a user types a level into an edit: "4.05", "150". No sign, no blanks.
CLI::Validator DecimalFraction();

// A native file name: the extension ".lmx" matched exactly, like the readers match it,
// so that a file saved as ".LMX" can be opened again.
CLI::Validator NativeFileName();

// One of the words, matched exactly ("si|us").
CLI::Validator OneOf(std::initializer_list<std::string> words);

// "--ports-dir DIR": where the serial devices are looked for instead of /dev.
CLI::Option* AddPortsDirOption(CLI::App& command, std::string& directory);

// A flag: it takes no value ("--yes=no" is an error, not a No) and may be repeated.
CLI::Option* AddFlag(CLI::App& command, const std::string& name, bool& value, const std::string& description);

} // namespace lumetra::cli
