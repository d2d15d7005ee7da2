// export FILE: the tab-separated export of a range of records, as the main window's
// export button writes it.

#include "cli/CliCommands.h"

#include "cli/EvaluatedFile.h"
#include "core/Errors.h"
#include "files/AsciiExport.h"

#include <filesystem>
#include <memory>
#include <string>

namespace lumetra::cli {
namespace {

constexpr int ExitWriteFailed = Result::FileNotWritten;

int RunExport(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    // Two full data sets are several megabytes: kept off the stack.
    const auto file = std::make_unique<TEvaluatedFile>();
    if (const int status = OpenEvaluatedFile("export", options, *file, err); status != 0) {
        return status;
    }
    const std::string dataFileName = std::filesystem::path(options.Positional[0]).filename().string();
    const std::string comment = options.Value("--comment").value_or(file->Raw.Comment);

    if (const auto outputName = options.Value("-o")) {
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

const TCliCommand& ExportCommand() {
    static const TCliCommand command{
        "export",
        "export FILE [-o OUT] [--units si|us] [--range L:R] [--comment TEXT]",
        "the tab-separated text export of a range of records",
        "FILE is a data file of any of the formats .lmx, .lm3, .lmb and .hvb. Its records\n"
        "are evaluated and written as the main window's text export writes them: header,\n"
        "results of the range, sum spectrum, column headers, units and one line per record,\n"
        "tab-separated with CR LF line ends and the decimal separator of the locale.\n"
        "\n"
        "  -o OUT           the text file to write (replaced if it exists); prints its\n"
        "                   path. Without it the export goes to stdout.\n"
        "  --units si|us    SI units (the default) or US units\n"
        "  --range L:R      records L to R, 1-based and inclusive (default: all)\n"
        "  --comment TEXT   the comment of the export (default: the file's comment)\n",
        {{{"-o", true}, {"--units", true}, {"--range", true}, {"--comment", true}}, {"FILE"}, 1, 1},
        RunExport,
    };
    return command;
}

} // namespace lumetra::cli
