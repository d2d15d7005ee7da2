// convert FILE -o OUT.lmx: a data file of any format written as a native one.

#include "cli/CliCommands.h"

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "files/DataSetFile.h"
#include "files/OlderFileFormats.h"

#include <filesystem>
#include <string>

namespace lumetra::cli {
namespace {

int RunConvert(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& inputName = options.Positional[0];
    const auto outputName = options.Value("-o");
    if (!outputName) {
        return ReportUsageError(err, "convert: missing option -o OUT.lmx");
    }
    // Matched exactly, like the readers do: a file saved as ".LMX" could not be opened again.
    if (std::filesystem::path(*outputName).extension() != ".lmx") {
        return ReportUsageError(err, "convert: the output file name must end in \".lmx\": " + *outputName);
    }

    TInstrumentData data;
    if (ReadAnyDataFile(inputName, data) != Result::Success || !data.Valid || data.NumberOfRecords == 0 ||
        data.NumberOfRecords > MaxRecords) {
        return ReportResult(err, Result::FileUnreadable);
    }
    if (const Byte result = SaveDataSetFile(*outputName, data); result != Result::Success) {
        err << "Unable to write file: " << *outputName << '\n';
        return result;
    }
    out << *outputName << '\n';
    return 0;
}

} // namespace

const TCliCommand& ConvertCommand() {
    static const TCliCommand command{
        "convert",
        "convert FILE -o OUT.lmx",
        "a data file of any format saved as a native one",
        "FILE is a data file of any of the formats .lmx, .lm3, .lmb and .hvb. The data set\n"
        "it holds is written to OUT.lmx (the name must end in \".lmx\"), replacing a file\n"
        "of that name. Prints the path written.\n"
        "\n"
        "  -o OUT.lmx   the native file to write\n",
        {{{"-o", true}}, {"FILE"}, 1, 1},
        RunConvert,
    };
    return command;
}

} // namespace lumetra::cli
