#pragma once
// The commands of lumetra-cli. Each command describes its syntax and help text; the
// dispatcher parses the options and hands them over.

#include "cli/CliOptions.h"

#include <ostream>
#include <string>

namespace lumetra::cli {

struct TCliCommand {
    const char* Name;
    const char* Synopsis; // "info FILE"
    const char* Summary;  // one line for the overview
    const char* Details;  // the rest of "COMMAND --help"
    TCliCommandSyntax Syntax;
    int (*Run)(const TCliOptions& options, std::ostream& out, std::ostream& err);
};

const TCliCommand& PortsCommand();
const TCliCommand& SearchCommand();
const TCliCommand& IdentifyCommand();
const TCliCommand& DownloadCommand();
const TCliCommand& InfoCommand();
const TCliCommand& ConvertCommand();
const TCliCommand& ExportCommand();
const TCliCommand& SummaryCommand();

// Prints the one-line message and the hint to the overview; gives ExitUsage.
int ReportUsageError(std::ostream& err, const std::string& message);

// Prints the fixed message of a result code (if it has one); gives the code.
int ReportResult(std::ostream& err, int code);

} // namespace lumetra::cli
