#include "files/AsciiExport.h"

#include "core/DeviceIdentification.h"
#include "core/NumberFormat.h"
#include "files/ByteBuffer.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <vector>

namespace lumetra {
namespace {

constexpr const char* Eol = "\r\n";
constexpr char Tab = '\t';

// The text grows in one buffer: tens of thousands of record lines must not each build
// their own stream.
class TExportText {
public:
    explicit TExportText(std::size_t expectedSize) { Text.reserve(expectedSize); }

    TExportText& operator<<(const std::string& piece) {
        Text += piece;
        return *this;
    }
    TExportText& operator<<(const char* piece) {
        Text += piece;
        return *this;
    }
    TExportText& operator<<(char c) {
        Text += c;
        return *this;
    }
    TExportText& Int(Int64 value) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        Text.append(digits, result.ptr);
        return *this;
    }
    TExportText& Fixed(Real value, int precision, int decimals) {
        Text += FormatFixed(value, precision, decimals);
        return *this;
    }
    void Line(const std::string& line) { Text.append(line).append(Eol); }
    void EndLine() { Text += Eol; }

    std::string Text;
};

// An average and its error in RESULTS, with the "< " form of a detection limit.
void AverageLines(TExportText& out, const char* averageLabel, Real average, Real error, bool limitForm,
                  const TPhysicalUnits& units, const std::string& unit) {
    const bool limit = limitForm && error == -1.0;
    out << averageLabel << Tab << (limit ? "< " : "");
    out.Fixed(average, 7, units.RadonDecimals) << ' ' << unit << Eol;
    out << "Error:" << Tab;
    if (!limit) {
        out.Fixed(error, 3, 1) << " %";
    }
    out.EndLine();
}

void ExposureLine(TExportText& out, const char* label, Real exposure, bool limit, const std::string& unit) {
    out << label << Tab << (limit ? "< " : "");
    out.Fixed(exposure, 7, 0) << ' ' << unit << Eol;
}

void DoseLine(TExportText& out, const char* label, Real dose) {
    if (dose > 0) {
        out << label << Tab;
        out.Fixed(dose, 7, 3) << " \xC2\xB5Sv" << Eol;
    }
}

void WriteResults(TExportText& out, const TIntegralData& integral, const TSensorValidityMatrix& valid) {
    const TPhysicalUnits& units = integral.RelatedUnitSettings;
    if (valid.RadonValid) {
        out.EndLine();
        AverageLines(out, "Radon Average:", integral.RadonAverage, integral.RadonAverageError, false, units,
                     units.RnUnitString);
        ExposureLine(out, "Radon Exposure:", integral.RadonExposure, false, units.ExpUnitString);
        DoseLine(out, "Radon Dose:", integral.DoseRadon);
    }
    if (valid.RadonFastValid) {
        out.EndLine();
        AverageLines(out, "Radon* Average (fast):", integral.RadonFastAverage, integral.RadonFastAverageError,
                     false, units, units.RnUnitString);
        ExposureLine(out, "Radon* Exposure (fast):", integral.RadonFastExposure, false, units.ExpUnitString);
        DoseLine(out, "Radon* Dose (fast):", integral.DoseRadonFast);
    }
    if (valid.ThoronValid) {
        out.EndLine();
        AverageLines(out, "Thoron Average:", integral.ThoronAverage, integral.ThoronAverageError, true, units,
                     units.RnUnitString);
        ExposureLine(out, "Thoron Exposure:", integral.ThoronExposure, integral.ThoronAverageError == -1.0,
                     units.ExpUnitString);
    }
    if (valid.RadonEECValid) {
        // The equilibrium-equivalent concentration carries the error of the PAEC.
        out.EndLine();
        AverageLines(out, "EEC (Radon) Average:", integral.RadonEECAverage, integral.RadonPAECAverageError, false,
                     units, units.RnUnitString);
        ExposureLine(out, "EEC (Radon) Exposure:", integral.RadonEECExposure, false, units.ExpUnitString);
    }
    if (valid.RadonPAECValid) {
        out.EndLine();
        out << "PAEC (Radon) Average:" << Tab;
        out.Fixed(integral.RadonPAECAverage, 7, 0) << ' ' << units.PAECUnitString << Eol;
        out << "Error:" << Tab;
        out.Fixed(integral.RadonPAECAverageError, 3, 1) << " %" << Eol;
        ExposureLine(out, "PAEC (Radon) Exposure:", integral.RadonPAECExposure, false, units.PAECExpUnitString);
        DoseLine(out, "Dose:", integral.DosePot);
        if (valid.ThoronPAECValid) {
            out.EndLine();
            out << "PAEC (Thoron) Average:" << Tab;
            out.Fixed(integral.ThoronPAECAverage, 7, units.RadonDecimals) << ' ' << units.PAECUnitString << Eol;
        }
    }
}

void WriteSumSpectrum(TExportText& out, const TDosikaSpectrum& spectrum) {
    // A file may store any size; only the channels that exist are written.
    const auto size = static_cast<std::size_t>(std::clamp<Integer>(spectrum.Size, 0, DosikaSpectrumChannels));
    out.EndLine();
    out.Line("Sum Spectrum");
    out << "Channel";
    for (std::size_t n = 1; n <= size; ++n) {
        out << Tab;
        out.Int(static_cast<Int64>(n));
    }
    out << Eol << "Counts";
    for (std::size_t n = 1; n <= size; ++n) {
        out << Tab;
        out.Int(spectrum.Channels[n]);
    }
    out.EndLine();
}

std::size_t ValidROI(const TSensorValidityMatrix& valid) {
    return std::min<std::size_t>(valid.NumberOfValidROI, TCountSums::size());
}

void WriteColumnHeads(TExportText& out, const TSensorValidityMatrix& valid, const TPhysicalUnits& units) {
    std::string head = "Time";
    std::string unitLine;
    const auto column = [&](const char* name, const std::string& unit) {
        head.append(1, Tab).append(name);
        unitLine.append(1, Tab).append(unit);
    };
    const auto concentration = [&](const char* name, const std::string& unit) {
        column(name, unit);
        column("Error", "%");
    };
    if (valid.RadonValid) concentration("Radon", units.RnUnitString);
    if (valid.RadonFastValid) concentration("Radon* (fast)", units.RnUnitString);
    if (valid.ThoronValid) concentration("Thoron", units.RnUnitString);
    if (valid.RadonEECValid) concentration("EEC (Radon)", units.RnUnitString);
    if (valid.RadonPAECValid) concentration("PAEC (Radon)", units.PAECUnitString);
    if (valid.ThoronPAECValid) concentration("PAEC (Thoron)", units.PAECUnitString);
    if (valid.TempValid) column("Temp.", units.TempUnitString);
    if (valid.rHValid) column("rel. Hum.", units.HumUnitString);
    if (valid.PresValid) column("Pres.", units.PresUnitString);
    if (valid.CO2Valid) column("CO2", units.CO2UnitString);
    if (valid.MovementValid) column("Tilt", "");
    for (std::size_t k = 1; k <= ValidROI(valid); ++k) {
        column(("ROI" + std::to_string(k)).c_str(), "cts");
    }
    if (valid.IntervalSpectrumValid) {
        column("Channel", "");
        for (std::size_t n = 1; n <= IntervalChannels; ++n) {
            head.append(1, Tab).append(std::to_string(n));
            unitLine.append(1, Tab).append("cts");
        }
    }
    out.Line(head);
    out.Line(unitLine);
}

// Value and error of one concentration. With `limitForm` an error <= 0 marks a
// detection limit: "< " before the value and an empty error column.
void Concentration(TExportText& out, Real value, Real error, bool limitForm, const TPhysicalUnits& units) {
    const bool limit = limitForm && error <= 0;
    out << Tab << (limit ? "< " : "");
    out.Fixed(value, 7, units.RadonDecimals) << Tab;
    if (!limit) {
        out.Fixed(error, 3, 0);
    }
}

void WriteRecord(TExportText& out, const TMeasurementRecord& r, const TInstrumentRecord& raw,
                 const TSensorValidityMatrix& valid, const TPhysicalUnits& units) {
    out << DateTimeText(r.Time);
    if (valid.RadonValid) Concentration(out, r.Radon, r.RadonError, false, units);
    if (valid.RadonFastValid) Concentration(out, r.RadonFast, r.RadonFastError, false, units);
    if (valid.ThoronValid) Concentration(out, r.Thoron, r.ThoronError, true, units);
    // A record keeps no error of its own for the EEC; it is that of the PAEC.
    if (valid.RadonEECValid) Concentration(out, r.RadonEEC, r.RadonPAECError, false, units);
    if (valid.RadonPAECValid) Concentration(out, r.RadonPAEC, r.RadonPAECError, false, units);
    if (valid.ThoronPAECValid) Concentration(out, r.ThoronPAEC, r.ThoronPAECError, true, units);
    if (valid.TempValid) (out << Tab).Fixed(r.Temperature, 4, 1);
    if (valid.rHValid) (out << Tab).Fixed(r.Humidity, 3, 0);
    if (valid.PresValid) (out << Tab).Fixed(r.Pressure, 5, units.PresDecimals);
    if (valid.CO2Valid) (out << Tab).Fixed(r.CO2, 5, units.PresDecimals);
    if (valid.MovementValid) (out << Tab).Int(r.NumberOfTilts);
    for (std::size_t k = 1; k <= ValidROI(valid); ++k) {
        (out << Tab).Int(r.CountSums[k]);
    }
    if (valid.IntervalSpectrumValid) {
        out << Tab;
        for (std::size_t n = 1; n <= IntervalChannels; ++n) {
            (out << Tab).Int(raw.Channels[n]);
        }
    }
    out.EndLine();
}

std::size_t ExpectedSize(std::size_t lines, const TSensorValidityMatrix& valid) {
    const std::size_t perLine = 32 + 12 * (12 + ValidROI(valid)) + (valid.IntervalSpectrumValid ? 8 * 40 : 0);
    return 4096 + lines * perLine;
}

} // namespace

std::string AsciiExportText(const std::string& dataFileName, const std::string& comment,
                            const TIntegralData& integral, const TMeasurementData& data,
                            const TInstrumentData& raw) {
    if (!data.Valid) {
        return {};
    }
    const TSensorValidityMatrix& valid = data.SensorValidityMatrix;
    const Integer count = std::min<Integer>(data.NumberOfRecords, static_cast<Integer>(MaxRecords));
    const Integer left = std::clamp<Integer>(integral.LeftIndex, 1, std::max<Integer>(count, 1));
    const Integer right = std::clamp<Integer>(integral.RightIndex, 1, std::max<Integer>(count, 1));
    const Integer lines = count > 0 && left <= right ? right - left + 1 : 0;

    TExportText out(ExpectedSize(static_cast<std::size_t>(lines), valid));
    out.Line("Comment:");
    out.Line(comment);
    out.EndLine();
    out << "Data exported from \"" << dataFileName << '"' << Eol;
    out.EndLine();

    std::string instrument;
    DeviceName(raw.Header.DeviceFamily, raw.Header.DeviceType, instrument);
    out.Line(instrument);
    (out << "Serial Number:" << Tab).Int(raw.Header.DeviceNumber).EndLine();
    out << "Start Test:" << Tab << integral.StartTestString << Eol;
    out << "End Test:" << Tab << integral.EndTestString << Eol;
    (out << "Sample Time:" << Tab).Fixed(integral.TotalSampleTime / 60.0, 7, 1) << " hours" << Eol;
    (out << "Data Records:" << Tab).Int(integral.NumberOfSamples).EndLine();
    out.EndLine();
    out.Line("RESULTS");
    WriteResults(out, integral, valid);
    if (valid.SpectrumValid) {
        WriteSumSpectrum(out, integral.SumSpectrum);
    }
    out.EndLine();
    WriteColumnHeads(out, valid, data.RelatedUnitSettings);
    for (Integer i = left; lines > 0 && i <= right; ++i) {
        const auto index = static_cast<std::size_t>(i);
        WriteRecord(out, data.Data[index], raw.Records[index], valid, data.RelatedUnitSettings);
    }
    return std::move(out.Text);
}

bool WriteAsciiExport(const std::string& fileName, const std::string& dataFileName, const std::string& comment,
                      const TIntegralData& integral, const TMeasurementData& data, const TInstrumentData& raw) {
    if (!data.Valid) {
        return false;
    }
    const std::string text = AsciiExportText(dataFileName, comment, integral, data, raw);
    const std::vector<Byte> bytes(text.begin(), text.end());
    return WriteFileAtomically(fileName, bytes);
}

} // namespace lumetra
