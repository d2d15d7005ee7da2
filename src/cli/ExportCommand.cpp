// export FILE: the tab-separated export of a range of records, as the main window's
// export button writes it.

#include "cli/CliCommands.h"

#include "cli/EvaluatedFile.h"
#include "core/Errors.h"
#include "files/AsciiExport.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace lumetra::cli {
namespace {

constexpr int ExitWriteFailed = Result::FileNotWritten;

struct TExportOptions {
    TEvaluationOptions Evaluation;
    std::optional<std::string> Output;  // stdout when not given
    std::optional<std::string> Comment; // the file's comment when not given
};

int RunExport(const TExportOptions& options, std::ostream& out, std::ostream& err) {
    // Two full data sets are several megabytes: kept off the stack.
    const auto file = std::make_unique<TEvaluatedFile>();
    if (const int status = OpenEvaluatedFile("export", options.Evaluation, *file, err); status != 0) {
        return status;
    }
    const std::string dataFileName = std::filesystem::path(options.Evaluation.File).filename().string();
    const std::string comment = options.Comment.value_or(file->Raw.Comment);

    if (const auto& outputName = options.Output) {
        if (!WriteAsciiExport(*outputName, dataFileName, comment, file->Integral, file->Data, file->Raw)) {
            err << "Unable to write file: " << *outputName << '\n';
            return ExitWriteFailed;
        }
        out << *outputName << '\n';
        return 0;
    }
    const std::string text = AsciiExportText(dataFileName, comment, file->Integral, file->Data, file->Raw);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return 0;
}

} // namespace

void AddExportCommand(TCliCommands& commands) {
    auto [command, options] =
        commands.Add("export", "the tab-separated text export of a range of records",
                     "FILE is a data file of any of the formats .lmx, .lm3, .lmb and .hvb. Its records\n"
                     "are evaluated and written as the main window's text export writes them: header,\n"
                     "results of the range, sum spectrum, column headers, units and one line per record,\n"
                     "tab-separated with CR LF line ends and the decimal separator of the locale.\n",
                     RunExport);
    command
        .add_option(
            "-o", options.Output,
            "the text file to write (replaced if it exists); prints its path. Without it the export goes "
            "to stdout.")
        ->type_name("OUT");
    AddEvaluationOptions(command, options.Evaluation);
    command
        .add_option("--comment", options.Comment, "the comment of the export (default: the file's comment)")
        ->type_name("TEXT");
}

} // namespace lumetra::cli
