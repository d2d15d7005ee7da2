// convert FILE -o OUT.lmx: a data file of any format written as a native one.

#include "cli/CliCommands.h"

#include "cli/OptionKinds.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "files/DataSetFile.h"
#include "files/OlderFileFormats.h"

#include <string>

namespace lumetra::cli {
namespace {

struct TConvertOptions {
    std::string File;
    std::string Output; // a native file name
};

int RunConvert(const TConvertOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& inputName = options.File;
    const std::string& outputName = options.Output;

    TInstrumentData data;
    if (ReadAnyDataFile(inputName, data) != Result::Success || !data.Valid || data.NumberOfRecords == 0 ||
        data.NumberOfRecords > MaxRecords) {
        return ReportResult(err, Result::FileUnreadable);
    }
    if (const Byte result = SaveDataSetFile(outputName, data); result != Result::Success) {
        err << "Unable to write file: " << outputName << '\n';
        return result;
    }
    out << outputName << '\n';
    return 0;
}

} // namespace

void AddConvertCommand(TCliCommands& commands) {
    auto [command, options] =
        commands.Add("convert", "a data file of any format saved as a native one",
                     "FILE is a data file of any of the formats .lmx, .lm3, .lmb and .hvb. The data set\n"
                     "it holds is written to OUT.lmx (the name must end in \".lmx\"), replacing a file\n"
                     "of that name. Prints the path written.\n",
                     RunConvert);
    command.add_option("FILE", options.File)->required();
    command.add_option("-o", options.Output, "the native file to write")
        ->required()
        ->check(NativeFileName())
        ->type_name("OUT.lmx");
}

} // namespace lumetra::cli
