#include "cli/Cli.h"

#include "cli/CliCommands.h"
#include "cli/HelpFormatter.h"
#include "core/Errors.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace lumetra::cli {
namespace {

// An exception escaping a command is a fault of this program, not of the input.
constexpr int ExitInternalError = 70;
constexpr int ExitOutputFailed = Result::FileNotWritten;

using TAddCommand = void (*)(TCliCommands&);
constexpr TAddCommand CommandsInOverviewOrder[] = {
    AddPortsCommand,   AddSearchCommand, AddIdentifyCommand, AddDownloadCommand, AddSetupCommand,
    AddInfoCommand,    AddConvertCommand, AddExportCommand,  AddSummaryCommand,
};

const char* const OverviewDetails =
    "Data goes to stdout, messages to stderr. Exit status: 0 success; the result code\n"
    "(1 to 19) of a failed file or instrument operation; 20 a download that found no\n"
    "records; 64 a usage error.\n";

// The help asked for: the overview for "--help" as the first word; a command's help for
// "--help" anywhere before "--" after the command's name, whatever else the line holds.
// Null when the line asks for none. CLI11's own help flag is not used: it would answer
// a "--help" after "--" too, once the command has all its arguments.
const CLI::App* HelpAsked(const CLI::App& app, const std::vector<std::string>& words) {
    if (words.empty()) {
        return nullptr;
    }
    if (words[0] == "--help") {
        return &app;
    }
    const std::vector<const CLI::App*> named =
        app.get_subcommands([&words](const CLI::App* command) { return command->check_name(words[0]); });
    if (named.empty()) {
        return nullptr;
    }
    for (std::size_t k = 1; k < words.size() && words[k] != "--"; ++k) {
        if (words[k] == "--help") {
            return named.front();
        }
    }
    return nullptr;
}

// The command the line names, or null before one was recognised.
const CLI::App* ChosenCommand(const CLI::App& app) {
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    return chosen.empty() ? nullptr : chosen.front();
}

// CLI11 leaves the words it could not place on the command or, when they came after
// what the command takes, on the App; "--" stays among them.
std::string FirstLeftOver(const CLI::App& app, const CLI::App* command) {
    for (const CLI::App* owner : {command, &app}) {
        if (owner == nullptr) {
            continue;
        }
        for (const std::string& word : owner->remaining()) {
            if (word != "--") {
                return word;
            }
        }
    }
    return {};
}

// One line that says what is wrong. A word that fits nowhere is named first, as it
// probably caused the rest ("info --bogus" is not missing its FILE as much as it has an
// unknown option); CLI11 would check the required arguments before it.
std::string UsageMessage(const CLI::ParseError& error, const CLI::App& app) {
    const CLI::App* command = ChosenCommand(app);
    std::string message;
    if (const std::string word = FirstLeftOver(app, command); !word.empty()) {
        if (word.size() > 1 && word[0] == '-') {
            message = "unknown option '" +
                      word.substr(0, word.rfind("--", 0) == 0 ? word.find('=') : word.npos) + "'";
        } else {
            message = (command == nullptr ? "unknown command '" : "unexpected argument '") + word + "'";
        }
    } else {
        message = error.what();
    }
    for (char& c : message) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return command == nullptr ? message : command->get_name() + ": " + message;
}

int ParseAndRun(int argc, char** argv, std::ostream& out, std::ostream& err) {
    CLI::App app("", "lumetra-cli");
    app.formatter(std::make_shared<THelpFormatter>());
    // Removed before the commands are added, which would take it over.
    app.set_help_flag();
    app.require_subcommand(0, 1);
    TCliCommands commands(app);
    for (const TAddCommand add : CommandsInOverviewOrder) {
        add(commands);
    }
    app.footer(OverviewDetails);

    const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
    if (const CLI::App* help = HelpAsked(app, words)) {
        out << help->help();
        return 0;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ReportUsageError(err, UsageMessage(error, app));
    }
    const auto run = commands.Chosen();
    if (!run) {
        return ReportUsageError(err, "missing command");
    }
    return run(out, err);
}

} // namespace

std::function<int(std::ostream&, std::ostream&)> TCliCommands::Chosen() const {
    for (const auto& [command, run] : Runs) {
        if (command->parsed()) {
            return run;
        }
    }
    return {};
}

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
        const int status = ParseAndRun(argc, argv, out, err);
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
