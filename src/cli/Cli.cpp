#include "cli/Cli.h"

#include "cli/CliCommands.h"
#include "core/Errors.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace lumetra::cli {
namespace {

// An exception escaping a command is a fault of this program, not of the input.
constexpr int ExitInternalError = 70;
constexpr int ExitOutputFailed = Result::FileNotWritten;

// In the order of the overview.
const std::vector<const TCliCommand*>& Commands() {
    static const std::vector<const TCliCommand*> commands{
        &PortsCommand(), &SearchCommand(),  &IdentifyCommand(), &DownloadCommand(),
        &InfoCommand(),  &ConvertCommand(), &ExportCommand(),   &SummaryCommand()};
    return commands;
}

const TCliCommand* FindCommand(const std::string& name) {
    for (const TCliCommand* command : Commands()) {
        if (name == command->Name) {
            return command;
        }
    }
    return nullptr;
}

void PrintOverview(std::ostream& out) {
    out << "Usage: lumetra-cli COMMAND [ARGS] [OPTIONS]\n"
           "       lumetra-cli COMMAND --help\n"
           "\n"
           "Commands:\n";
    std::size_t width = 0;
    for (const TCliCommand* command : Commands()) {
        width = std::max(width, std::string(command->Synopsis).size());
    }
    for (const TCliCommand* command : Commands()) {
        const std::string synopsis = command->Synopsis;
        out << "  " << synopsis << std::string(width - synopsis.size() + 3, ' ') << command->Summary << '\n';
    }
    out << "\n"
           "Data goes to stdout, messages to stderr. Exit status: 0 success; the result code\n"
           "(1 to 19) of a failed file or instrument operation; 20 a download that found no\n"
           "records; 64 a usage error.\n";
}

void PrintCommandHelp(const TCliCommand& command, std::ostream& out) {
    std::string summary = command.Summary;
    if (!summary.empty() && summary[0] >= 'a' && summary[0] <= 'z') {
        summary[0] = static_cast<char>(summary[0] - 'a' + 'A');
    }
    out << "Usage: lumetra-cli " << command.Synopsis << "\n\n" << summary << ".\n\n" << command.Details;
}

int Dispatch(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        return ReportUsageError(err, "missing command");
    }
    const std::string& name = words[0];
    if (name == "--help") {
        PrintOverview(out);
        return 0;
    }
    const TCliCommand* command = FindCommand(name);
    if (command == nullptr) {
        return ReportUsageError(
            err, (name.size() > 1 && name[0] == '-' ? "unknown option '" : "unknown command '") + name + "'");
    }
    const std::vector<std::string> args(words.begin() + 1, words.end());
    if (RequestsHelp(args)) {
        PrintCommandHelp(*command, out);
        return 0;
    }
    TCliOptions options;
    std::string error;
    if (!ParseCliOptions(args, command->Syntax, options, error)) {
        return ReportUsageError(err, std::string(command->Name) + ": " + error);
    }
    return command->Run(options, out, err);
}

} // namespace

int ReportUsageError(std::ostream& err, const std::string& message) {
    err << "lumetra-cli: " << message << "\nTry 'lumetra-cli --help'.\n";
    return ExitUsage;
}

int ReportResult(std::ostream& err, int code) {
    if (const auto message = ResultMessageText(static_cast<Byte>(code))) {
        err << *message << '\n';
    }
    return code;
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
    try {
        std::vector<std::string> words;
        for (int i = 1; i < argc; ++i) {
            words.emplace_back(argv[i]);
        }
        const int status = Dispatch(words, out, err);
        // Data lost on the way out (a full disk, a closed pipe) must not pass for success.
        if (!out.flush() && status == 0) {
            err << "lumetra-cli: unable to write the output\n";
            return ExitOutputFailed;
        }
        return status;
    } catch (const std::exception& e) {
        err << "lumetra-cli: internal error: " << e.what() << '\n';
    } catch (...) {
        err << "lumetra-cli: internal error\n";
    }
    return ExitInternalError;
}

} // namespace lumetra::cli
