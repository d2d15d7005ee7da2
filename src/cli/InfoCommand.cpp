// info FILE: what a data file holds, one "Label: value" line each; with --calibration
// also the calibration constants text of the instrument label.

#include "cli/CliCommands.h"
#include "cli/OptionKinds.h"

#include "core/DeviceIdentification.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "core/PhysicalUnits.h"
#include "core/TimeConversions.h"
#include "evaluation/CalibrationConstants.h"
#include "files/OlderFileFormats.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace lumetra::cli {
namespace {

unsigned Number(Byte value) {
    return value;
}
unsigned Number(Word value) {
    return value;
}

std::string HexWord(Word value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

// One line per label: a comment cannot break the line structure scripts rely on.
std::string SingleLine(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

void PrintInfo(const std::string& fileName, const TInstrumentData& data, std::ostream& out) {
    const std::filesystem::path path(fileName);
    const TInstrumentHeader& header = data.Header;
    const TInstrumentSetup& setup = data.Setup;

    std::string description;
    DeviceDescription(header.DeviceFamily, header.DeviceType, static_cast<Word>(header.DeviceNumber & 0xFFFF),
                      description, header.SoftwareVersion);

    // The read succeeded, so the name ends in one of the four extensions.
    const std::string format = fileName.size() >= 3 ? fileName.substr(fileName.size() - 3) : std::string();
    out << "File: " << path.filename().string() << '\n';
    out << "Format: " << format << '\n';
    out << "Instrument: " << description << '\n';
    out << "Family: " << Number(header.DeviceFamily) << '\n';
    out << "Type: " << Number(header.DeviceType) << '\n';
    out << "Serial: " << header.DeviceNumber << '\n';
    out << "Software: " << Number(header.SoftwareVersion) << '\n';
    out << "Offset: " << Number(header.Offset) << '\n';
    out << "ROI levels:";
    for (Byte level : header.ROILevel) {
        out << ' ' << Number(level);
    }
    out << "\nROI limits:";
    for (const TROILimits& roi : header.ROILimits) {
        out << ' ' << Number(roi.LowerLimit) << '-' << Number(roi.UpperLimit);
    }
    out << "\nBeta limits: " << Number(header.BetaLowerLimit) << '-' << Number(header.BetaUpperLimit) << '\n';
    out << "Calibration:";
    for (Word constant : header.UniCon) {
        out << ' ' << Number(constant);
    }
    out << "\nUser ID: " << Number(setup.UserID) << '\n';
    out << "Country code: " << Number(setup.CountryCode) << '\n';
    out << "Region code: " << Number(setup.RegionCode) << '\n';
    out << "Entry code: " << Number(setup.EntryCode) << '\n';
    out << "Setup word: " << Number(setup.SetupWord) << " (" << HexWord(setup.SetupWord) << ")\n";
    out << "Sample interval: " << Number(setup.SampleInterval) << " min\n";
    out << "Alarm level: " << setup.AlarmLevel << '\n';
    out << "Records: " << data.NumberOfRecords << '\n';
    out << "First record: " << DateTimeText(data.Records[1].Time) << '\n';
    out << "Last record: " << DateTimeText(data.Records[data.NumberOfRecords].Time) << '\n';
    out << "Spectrum channels: " << data.Spectrum.Size << '\n';
    out << "Comment: " << SingleLine(data.Comment) << '\n';
}

// The window's text in English and SI units; it ends with exactly one line break.
void PrintCalibration(const TInstrumentData& data, std::ostream& out) {
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    const std::string text =
        CalibrationConstantsText(data, units, [](const std::string& english) { return english; }).value_or("");
    out << text;
    if (text.empty() || text.back() != '\n') {
        out << '\n';
    }
}

struct TInfoOptions {
    std::string File;
    bool Calibration = false;
};

int RunInfo(const TInfoOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& fileName = options.File;
    TInstrumentData data;
    // Every reader promises records on success; the check keeps a broken promise from
    // indexing outside the record array.
    if (ReadAnyDataFile(fileName, data) != Result::Success || !data.Valid || data.NumberOfRecords == 0 ||
        data.NumberOfRecords > MaxRecords) {
        return ReportResult(err, Result::FileUnreadable);
    }
    PrintInfo(fileName, data, out);
    if (options.Calibration) {
        PrintCalibration(data, out);
    }
    return 0;
}

} // namespace

void AddInfoCommand(TCliCommands& commands) {
    auto [command, options] =
        commands.Add("info", "header, setup, records and time span of a data file",
                     "FILE is a data file of any of the formats .lmx, .lm3, .lmb and .hvb (the extension\n"
                     "is matched exactly). Prints one \"Label: value\" line each: file, format,\n"
                     "instrument, header, setup, number of records, first and last time stamp, spectrum\n"
                     "channels and comment.\n",
                     RunInfo);
    command.add_option("FILE", options.File)->required();
    AddFlag(command, "--calibration", options.Calibration,
            "after the info lines, the calibration constants as the window shows them on a click of the "
            "instrument label (SI units): a heading, an empty line, one line per constant");
}

} // namespace lumetra::cli
