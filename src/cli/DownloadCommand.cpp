// download PORT: identify the instrument, read its records and save them as a native
// file, named and filed as the main window saves a download.

#include "cli/CliCommands.h"

#include "cli/ConsoleUserInterface.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "dosika/DosikaDownload.h"
#include "files/DataFileNames.h"
#include "files/DataSetFile.h"
#include "halvo/HalvoDownload.h"
#include "instrument/InstrumentConnection.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace lumetra::cli {
namespace {

constexpr int ExitNoData = 20;

// Identifies and downloads over the port by the family found; the port is closed on
// return whatever happened.
Byte DownloadFrom(TConsoleUserInterface& ui, const std::string& portName, TInstrumentData& data,
                  TInstrumentIdentity& identity) {
    const TFamilyOperations download{
        [&ui, &data](const TComPort& port, const TInstrumentIdentity&) { return DkDownload(ui, port, data); },
        [&ui, &data](const TComPort& port, const TInstrumentIdentity&) { return HlvDownload(ui, port, data); },
    };
    return RunOnInstrument(ui, portName, TConnectionPurpose::Download, download, identity);
}

// The codes the main window leaves silent still need a word for a script's log.
void ReportSilentResult(std::ostream& err, Byte result, Byte family) {
    switch (result) {
    case Result::Declined:
        err << "Measurement running; download declined (use --stop-measurement).\n";
        break;
    case Result::LengthMismatch:
        err << "The instrument's answer has an unexpected length; nothing was saved.\n";
        break;
    case Result::PartialRecord:
        err << "The instrument's record block is not a whole number of records; nothing was saved.\n";
        break;
    case Result::NotDecodable:
        err << "The records of this instrument type cannot be decoded.\n";
        break;
    case Result::FamilyNotSupported:
        if (family == FamilyModem) {
            err << "A modem answered; dial-up connections are not supported by the command-line tool yet.\n";
        } else {
            err << "This instrument family cannot be downloaded yet.\n";
        }
        break;
    default:
        break;
    }
}

// The target of -o, or the folder and name rules of the native file below `dataDir`.
int SaveDownload(const TInstrumentData& data, const std::optional<std::string>& outputName,
                 const std::string& dataDir, const TUserInterface& ui, std::ostream& out, std::ostream& err) {
    std::string fileName;
    if (outputName) {
        fileName = *outputName;
    } else {
        const std::string folder =
            DataFolderPath(dataDir, data, [&ui](const std::string& text) { return ui.Translate(text); });
        if (!CreateDataFolder(folder)) {
            err << "Unable to create folder: " << folder << '\n';
            return Result::FileNotWritten;
        }
        fileName = folder + "/" + DataFileName(data);
    }
    if (SaveDataSetFile(fileName, data) != Result::Success) {
        err << "Unable to write file: " << fileName << '\n';
        return Result::FileNotWritten;
    }
    out << fileName << '\n';
    return 0;
}

int RunDownload(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& portName = options.Positional[0];
    const auto outputName = options.Value("-o");
    const auto dataDir = options.Value("--data-dir");
    if (outputName && dataDir) {
        return ReportUsageError(err, "download: -o and --data-dir exclude each other");
    }
    // Matched exactly, like the readers do: a file saved as ".LMX" could not be opened again.
    if (outputName && std::filesystem::path(*outputName).extension() != ".lmx") {
        return ReportUsageError(err, "download: the output file name must end in \".lmx\": " + *outputName);
    }
    // Progress rewrites one line in place: only for a person watching a terminal.
    TConsoleUserInterface ui(err, ::isatty(STDERR_FILENO) == 1);
    ui.YesNoAnswers["Stop measurement?"] = options.HasFlag("--stop-measurement");

    // A full data set is several megabytes: kept off the stack.
    const auto data = std::make_unique<TInstrumentData>();
    TInstrumentIdentity identity;
    const Byte result = DownloadFrom(ui, portName, *data, identity);
    if (result != Result::Success) {
        ReportSilentResult(err, result, identity.Family);
        return ReportResult(err, result);
    }
    if (!data->Valid || data->NumberOfRecords == 0) {
        err << "No data available!\n";
        return ExitNoData;
    }
    return SaveDownload(*data, outputName, dataDir.value_or("."), ui, out, err);
}

} // namespace

const TCliCommand& DownloadCommand() {
    static const TCliCommand command{
        "download",
        "download PORT [-o FILE] [--data-dir DIR] [--stop-measurement]",
        "the records of the instrument on a port, saved as a native file",
        "PORT is a serial device (see \"ports\") or a link to one. The instrument is\n"
        "identified and its records are read and saved as a native file; prints the path\n"
        "written. Progress is shown on stderr when that is a terminal.\n"
        "\n"
        "  -o FILE             the file to write (the name must end in \".lmx\"; replaced\n"
        "                      if it exists)\n"
        "  --data-dir DIR      without -o: the file goes to\n"
        "                      DIR/DATA/Year-<year>/Dev.No. <serial>/ under its standard\n"
        "                      name (folders are created); DIR defaults to the current\n"
        "                      directory\n"
        "  --stop-measurement  answers \"Stop measurement?\" with Yes (without it: No):\n"
        "                      a measuring Dosika-family instrument is stopped and read\n"
        "\n"
        "Exit status: 0; the result code (1 to 19) with its message (15: a measuring\n"
        "instrument not stopped; 9: a modem or another link that is not supported here);\n"
        "20 \"No data available!\" when the instrument holds no records.\n",
        {{{"-o", true}, {"--data-dir", true}, {"--stop-measurement", false}}, {"PORT"}, 1, 1},
        RunDownload,
    };
    return command;
}

} // namespace lumetra::cli
