#pragma once
// The commands of lumetra-cli. A command is one function that adds its subcommand and
// options to the App, binds them to a plain struct and names the run function that
// takes the struct. Nothing runs before the whole command line has been parsed and
// checked, so a usage error never leaves a half-done operation behind.

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace lumetra::cli {

template <typename TOptions>
using TRunFunction = int (*)(const TOptions& options, std::ostream& out, std::ostream& err);

// The subcommand and the options struct that Add gives a command to fill in.
template <typename TOptions> struct TCommandBinding {
    CLI::App& Command;
    TOptions& Options;
};

class TCliCommands {
public:
    explicit TCliCommands(CLI::App& app) : App(app) {}

    // `summary` is the command's line in the overview (lower case, no full stop);
    // `details` closes its help, after the options.
    template <typename TOptions>
    TCommandBinding<TOptions> Add(const char* name, const char* summary, const char* details,
                                  TRunFunction<TOptions> run) {
        CLI::App* command = App.add_subcommand(name, summary);
        command->footer(details);
        auto options = std::make_shared<TOptions>();
        Runs.emplace_back(command, [run, options](std::ostream& out, std::ostream& err) {
            return run(*options, out, err);
        });
        return {*command, *options};
    }

    // The command the parsed line chose with its options bound; empty when it chose none.
    std::function<int(std::ostream&, std::ostream&)> Chosen() const;

private:
    CLI::App& App;
    std::vector<std::pair<const CLI::App*, std::function<int(std::ostream&, std::ostream&)>>> Runs;
};

// In the order of the overview.
void AddPortsCommand(TCliCommands& commands);
void AddSearchCommand(TCliCommands& commands);
void AddIdentifyCommand(TCliCommands& commands);
void AddDownloadCommand(TCliCommands& commands);
void AddSetupCommand(TCliCommands& commands);
void AddInfoCommand(TCliCommands& commands);
void AddConvertCommand(TCliCommands& commands);
void AddExportCommand(TCliCommands& commands);
void AddSummaryCommand(TCliCommands& commands);

// Prints the one-line message and the hint to the overview; gives ExitUsage.
int ReportUsageError(std::ostream& err, const std::string& message);

// Prints the fixed message of a result code (if it has one); gives the code.
int ReportResult(std::ostream& err, int code);

} // namespace lumetra::cli
