// The tab-separated export of hand-built evaluated data sets, compared with the bytes
// the file must hold. Dates are in the C locale (%x is MM/DD/YY).

#include "files/AsciiExport.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

namespace lumetra {
namespace {

using test::ReadBytes;
using test::TTempDir;

// A data set of `count` hourly records from 24 May 2017 08:00 with the given matrix.
struct TSet {
    TSet(Byte family, Byte type, std::size_t count, Byte units, const TSensorValidityMatrix& valid) {
        raw.Valid = true;
        raw.NumberOfRecords = static_cast<Word>(count);
        raw.Header.DeviceFamily = family;
        raw.Header.DeviceType = type;
        raw.Header.DeviceNumber = 1234;
        data.Valid = true;
        data.NumberOfRecords = static_cast<Word>(count);
        SetUnitSystem(units, data.RelatedUnitSettings);
        data.SensorValidityMatrix = valid;
        for (std::size_t i = 1; i <= count; ++i) {
            const int minutes = 8 * 60 + 60 * static_cast<int>(i - 1);
            data.Data[i].Time = MakeDeviceTime(2017, 5, 24 + minutes / 1440, minutes / 60 % 24, minutes % 60);
            raw.Records[i].Time = data.Data[i].Time;
            raw.Records[i].SampleInterval = 60;
        }
        integral.LeftIndex = 1;
        integral.RightIndex = static_cast<Word>(count);
        integral.RelatedUnitSettings = data.RelatedUnitSettings;
        integral.NumberOfSamples = static_cast<Integer>(count);
        integral.TotalSampleTime = 60 * static_cast<Integer>(count);
        integral.StartTestString = "05/24/17 07:00";
        integral.EndTestString = "05/24/17 10:00";
    }
    std::string Text(const std::string& comment = "Cellar") const {
        return AsciiExportText("cellar.lmx", comment, integral, data, raw);
    }
    TInstrumentData raw;
    TMeasurementData data;
    TIntegralData integral;
};

TSensorValidityMatrix HalvoRadonMatrix() {
    TSensorValidityMatrix m;
    m.RadonValid = m.MovementValid = m.TempValid = m.rHValid = true;
    m.NumberOfValidROI = 1;
    return m;
}

TSensorValidityMatrix SpectrometricMatrix() {
    TSensorValidityMatrix m;
    m.RadonValid = m.RadonFastValid = m.ThoronValid = true;
    m.SpectrumValid = m.IntervalSpectrumValid = m.MovementValid = true;
    m.TempValid = m.rHValid = m.PresValid = true;
    m.NumberOfValidROI = 4;
    return m;
}

TSensorValidityMatrix ProgenyMatrix() {
    TSensorValidityMatrix m;
    m.RadonEECValid = m.RadonPAECValid = m.ThoronPAECValid = true;
    return m;
}

// Halvo type 2 with three records; the third has no radon value.
TSet HalvoRadonSet() {
    TSet s(FamilyHalvo, 2, 3, UnitsSI, HalvoRadonMatrix());
    const Real radon[] = {123.4, 138.5, -1};
    const Real error[] = {12.6, 9.5, -1};
    const Real temperature[] = {21.25, -0.04, 19.96};
    const Real humidity[] = {45.5, 99.4, -1};
    for (std::size_t i = 1; i <= 3; ++i) {
        TMeasurementRecord& r = s.data.Data[i];
        r.Radon = radon[i - 1];
        r.RadonError = error[i - 1];
        r.Temperature = temperature[i - 1];
        r.Humidity = humidity[i - 1];
        r.NumberOfTilts = static_cast<Integer>(i) - 1;
        r.CountSums[1] = 50 + static_cast<Int64>(i);
    }
    s.integral.RadonAverage = 130.6;
    s.integral.RadonAverageError = 7.25;
    s.integral.RadonExposure = 391.8;
    return s;
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The record lines are those after the unit line, which follows the line starting "Time".
std::vector<std::string> RecordLines(const std::string& text) {
    const std::vector<std::string> lines = CrLfLines(text);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].rfind("Time\t", 0) == 0) {
            return {lines.begin() + static_cast<std::ptrdiff_t>(k + 2), lines.end()};
        }
    }
    return {};
}

bool HasLine(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
}

TEST(AsciiExport, HalvoRadonSetByteForByte) {
    EXPECT_EQ(HalvoRadonSet().Text(), "Comment:\r\n"
                                      "Cellar\r\n"
                                      "\r\n"
                                      "Data exported from \"cellar.lmx\"\r\n"
                                      "\r\n"
                                      "Halvo\r\n"
                                      "Serial Number:\t1234\r\n"
                                      "Start Test:\t05/24/17 07:00\r\n"
                                      "End Test:\t05/24/17 10:00\r\n"
                                      "Sample Time:\t3.0 hours\r\n"
                                      "Data Records:\t3\r\n"
                                      "\r\n"
                                      "RESULTS\r\n"
                                      "\r\n"
                                      "Radon Average:\t131 Bq/m\xC2\xB3\r\n"
                                      "Error:\t7.3 %\r\n"
                                      "Radon Exposure:\t392 Bqh/m\xC2\xB3\r\n"
                                      "\r\n"
                                      "Time\tRadon\tError\tTemp.\trel. Hum.\tTilt\tROI1\r\n"
                                      "\tBq/m\xC2\xB3\t%\t\xC2\xB0" "C\t%\t\tcts\r\n"
                                      "05/24/17 08:00\t123\t13\t21.3\t46\t0\t51\r\n"
                                      "05/24/17 09:00\t139\t10\t0.0\t99\t1\t52\r\n"
                                      "05/24/17 10:00\t-1\t-1\t20.0\t-1\t2\t53\r\n");
}

TEST(AsciiExport, HalvoHomeWithPressureAndCo2Columns) {
    // Types 8 and 9 add pressure or CO2 in 5 digits with the pressure decimals: 0 in SI
    // units, 2 in US units. A name-less type leaves the instrument line empty.
    TSensorValidityMatrix m = HalvoRadonMatrix();
    m.PresValid = m.CO2Valid = true;
    for (const Byte units : {UnitsSI, UnitsUS}) {
        TSet s(FamilyHalvo, 42, 1, units, m);
        s.data.Data[1].Radon = 12.25;
        s.data.Data[1].RadonError = 33.5;
        s.data.Data[1].Temperature = 70.15;
        s.data.Data[1].Humidity = 50;
        s.data.Data[1].Pressure = units == UnitsSI ? 1013.5 : 29.9261;
        s.data.Data[1].CO2 = 1234.5;
        const std::string text = s.Text();
        EXPECT_NE(text.find("\"\r\n\r\n\r\nSerial Number:\t1234\r\n"), std::string::npos) << text;
        if (units == UnitsSI) {
            EXPECT_TRUE(HasLine(text, "Time\tRadon\tError\tTemp.\trel. Hum.\tPres.\tCO2\tTilt\tROI1")) << text;
            EXPECT_TRUE(HasLine(text, "\tBq/m\xC2\xB3\t%\t\xC2\xB0" "C\t%\tmbar\tppm\t\tcts")) << text;
            EXPECT_TRUE(HasLine(text, "05/24/17 08:00\t12\t34\t70.2\t50\t1014\t1235\t0\t0")) << text;
        } else {
            EXPECT_TRUE(HasLine(text, "\tpCi/L\t%\t\xC2\xB0" "F\t%\tinHg\tppm\t\tcts")) << text;
            EXPECT_TRUE(HasLine(text, "05/24/17 08:00\t12.3\t34\t70.2\t50\t29.93\t1234.50\t0\t0")) << text;
        }
    }
}

TEST(AsciiExport, SpectrometricSetHasRoiAndChannelColumns) {
    TSet s(FamilyHalvo, 4, 2, UnitsSI, SpectrometricMatrix());
    for (std::size_t i = 1; i <= 2; ++i) {
        TMeasurementRecord& r = s.data.Data[i];
        r.Radon = 100.0 * static_cast<Real>(i);
        r.RadonError = 10;
        r.RadonFast = 90.0 * static_cast<Real>(i);
        r.RadonFastError = 20;
        r.Thoron = 30;
        r.ThoronError = 40;
        r.Temperature = 20;
        r.Humidity = 40;
        r.Pressure = 990;
        r.NumberOfTilts = 0;
        for (std::size_t k = 1; k <= 6; ++k) {
            r.CountSums[k] = static_cast<Int64>(10 * i + k);
        }
        for (std::size_t n = 1; n <= 38; ++n) {
            s.raw.Records[i].Channels[n] = static_cast<Integer>(1000 * i + n);
        }
    }
    s.integral.SumSpectrum.Size = 38;
    for (std::size_t n = 1; n <= 38; ++n) {
        s.integral.SumSpectrum.Channels[n] = static_cast<Integer>(3000 + n);
    }
    const std::string text = s.Text();

    std::string channels = "Channel";
    std::string counts = "Counts";
    std::string head = "Time\tRadon\tError\tRadon* (fast)\tError\tThoron\tError\tTemp.\trel. Hum.\tPres.\tTilt"
                       "\tROI1\tROI2\tROI3\tROI4\tChannel";
    std::string units = "\tBq/m\xC2\xB3\t%\tBq/m\xC2\xB3\t%\tBq/m\xC2\xB3\t%\t\xC2\xB0" "C\t%\tmbar\t\tcts\tcts\tcts\tcts\t";
    std::string record1 = "05/24/17 08:00\t100\t10\t90\t20\t30\t40\t20.0\t40\t990\t0\t11\t12\t13\t14\t";
    std::string record2 = "05/24/17 09:00\t200\t10\t180\t20\t30\t40\t20.0\t40\t990\t0\t21\t22\t23\t24\t";
    for (int n = 1; n <= 38; ++n) {
        channels += "\t" + std::to_string(n);
        counts += "\t" + std::to_string(3000 + n);
        head += "\t" + std::to_string(n);
        units += "\tcts";
        record1 += "\t" + std::to_string(1000 + n);
        record2 += "\t" + std::to_string(2000 + n);
    }
    const std::string tail = "\r\nSum Spectrum\r\n" + channels + "\r\n" + counts + "\r\n\r\n" + head + "\r\n" + units +
                             "\r\n" + record1 + "\r\n" + record2 + "\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_NE(text.find("\r\nRadon* Average (fast):\t-1 Bq/m\xC2\xB3\r\nError:\t-1.0 %\r\n"
                        "Radon* Exposure (fast):\t0 Bqh/m\xC2\xB3\r\n\r\nThoron Average:"),
              std::string::npos)
        << text;
}

TEST(AsciiExport, SumSpectrumKeepsToTheChannelsThatExist) {
    TSensorValidityMatrix m;
    m.SpectrumValid = true;
    TSet s(FamilyDosika, 1, 1, UnitsSI, m);
    s.integral.SumSpectrum.Size = 99;
    for (std::size_t n = 1; n <= 60; ++n) {
        s.integral.SumSpectrum.Channels[n] = static_cast<Integer>(n * n);
    }
    std::string channels = "Channel";
    std::string counts = "Counts";
    for (int n = 1; n <= 60; ++n) {
        channels += "\t" + std::to_string(n);
        counts += "\t" + std::to_string(n * n);
    }
    EXPECT_TRUE(HasLine(s.Text(), channels));
    EXPECT_TRUE(HasLine(s.Text(), counts));

    s.integral.SumSpectrum.Size = -5;
    EXPECT_NE(s.Text().find("\r\nSum Spectrum\r\nChannel\r\nCounts\r\n\r\nTime\r\n\r\n"), std::string::npos)
        << s.Text();
}

TEST(AsciiExport, DosikaDosesAndFastRadon) {
    TSensorValidityMatrix m;
    m.RadonValid = m.RadonFastValid = true;
    TSet s(FamilyDosika, 1, 1, UnitsSI, m);
    s.integral.RadonAverage = 250.5;
    s.integral.RadonAverageError = 4.44;
    s.integral.RadonExposure = 12345.5;
    s.integral.DoseRadon = 0.12345;
    s.integral.RadonFastAverage = 260;
    s.integral.RadonFastAverageError = 5.56;
    s.integral.RadonFastExposure = 2.5;
    s.integral.DoseRadonFast = 1234567.8906;
    EXPECT_NE(s.Text().find("RESULTS\r\n"
                            "\r\n"
                            "Radon Average:\t251 Bq/m\xC2\xB3\r\n"
                            "Error:\t4.4 %\r\n"
                            "Radon Exposure:\t12346 Bqh/m\xC2\xB3\r\n"
                            "Radon Dose:\t0.123 \xC2\xB5Sv\r\n"
                            "\r\n"
                            "Radon* Average (fast):\t260 Bq/m\xC2\xB3\r\n"
                            "Error:\t5.6 %\r\n"
                            "Radon* Exposure (fast):\t3 Bqh/m\xC2\xB3\r\n"
                            "Radon* Dose (fast):\t1234568.000 \xC2\xB5Sv\r\n"
                            "\r\n"
                            "Time\tRadon\tError\tRadon* (fast)\tError\r\n"),
              std::string::npos)
        << s.Text();
}

TEST(AsciiExport, ThoronAtTheDetectionLimit) {
    TSensorValidityMatrix m;
    m.ThoronValid = true;
    TSet s(FamilyHalvo, 6, 3, UnitsSI, m);
    s.integral.ThoronAverage = 12.4;
    s.integral.ThoronAverageError = -1;
    s.integral.ThoronExposure = 37.2;
    const Real value[] = {5.5, 7, 8};
    const Real error[] = {0, -1, 61.5};
    for (std::size_t i = 1; i <= 3; ++i) {
        s.data.Data[i].Thoron = value[i - 1];
        s.data.Data[i].ThoronError = error[i - 1];
    }
    const std::string text = s.Text();
    EXPECT_NE(text.find("\r\n\r\nThoron Average:\t< 12 Bq/m\xC2\xB3\r\n"
                        "Error:\t\r\n"
                        "Thoron Exposure:\t< 37 Bqh/m\xC2\xB3\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(RecordLines(text),
              (std::vector<std::string>{"05/24/17 08:00\t< 6\t", "05/24/17 09:00\t< 7\t", "05/24/17 10:00\t8\t62"}));

    // An error of 0 (no counts) is no detection limit in the summary.
    s.integral.ThoronAverageError = 0;
    EXPECT_NE(s.Text().find("Thoron Average:\t12 Bq/m\xC2\xB3\r\nError:\t0.0 %\r\nThoron Exposure:\t37 Bqh"),
              std::string::npos)
        << s.Text();
}

TEST(AsciiExport, ProgenyInUsUnits) {
    TSet s(FamilyDosika, 2, 2, UnitsUS, ProgenyMatrix());
    s.integral.RadonEECAverage = 3.456;
    s.integral.RadonPAECAverageError = 8.15;
    s.integral.RadonEECExposure = 6.5;
    s.integral.RadonPAECAverage = 12.7;
    s.integral.RadonPAECExposure = 25.4;
    s.integral.DosePot = 0.0625;
    s.integral.ThoronPAECAverage = 0.36;
    const Real eec[] = {3.44, 3.46};
    const Real paec[] = {12.64, 12.76};
    const Real paecError[] = {8.5, 9.4};
    const Real thoron[] = {0.45, 0.25};
    const Real thoronError[] = {25, -1};
    for (std::size_t i = 1; i <= 2; ++i) {
        TMeasurementRecord& r = s.data.Data[i];
        r.RadonEEC = eec[i - 1];
        r.RadonPAEC = paec[i - 1];
        r.RadonPAECError = paecError[i - 1];
        r.ThoronPAEC = thoron[i - 1];
        r.ThoronPAECError = thoronError[i - 1];
    }
    const std::string text = s.Text();
    EXPECT_NE(text.find("RESULTS\r\n"
                        "\r\n"
                        "EEC (Radon) Average:\t3.5 pCi/L\r\n"
                        "Error:\t8.2 %\r\n"
                        "EEC (Radon) Exposure:\t7 pCih/L\r\n"
                        "\r\n"
                        "PAEC (Radon) Average:\t13 mWL\r\n"
                        "Error:\t8.2 %\r\n"
                        "PAEC (Radon) Exposure:\t25 mWLh\r\n"
                        "Dose:\t0.063 \xC2\xB5Sv\r\n"
                        "\r\n"
                        "PAEC (Thoron) Average:\t0.4 mWL\r\n"
                        "\r\n"
                        "Time\tEEC (Radon)\tError\tPAEC (Radon)\tError\tPAEC (Thoron)\tError\r\n"
                        "\tpCi/L\t%\tmWL\t%\tmWL\t%\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(RecordLines(text), (std::vector<std::string>{"05/24/17 08:00\t3.4\t9\t12.6\t9\t0.5\t25",
                                                           "05/24/17 09:00\t3.5\t9\t12.8\t9\t< 0.3\t"}));
}

TEST(AsciiExport, RecordLinesFollowTheRange) {
    TSet s(FamilyHalvo, 7, 30, UnitsSI, HalvoRadonMatrix());
    for (std::size_t i = 1; i <= 30; ++i) {
        s.data.Data[i].Radon = static_cast<Real>(i);
    }
    s.integral.LeftIndex = 10;
    s.integral.RightIndex = 20;
    std::vector<std::string> lines = RecordLines(s.Text());
    ASSERT_EQ(lines.size(), 11u);
    // Record 10 is 9 hours after 08:00, record 20 is 19 hours after.
    EXPECT_EQ(lines.front().substr(0, 18), "05/24/17 17:00\t10\t");
    EXPECT_EQ(lines.back().substr(0, 18), "05/25/17 03:00\t20\t");

    // Indices outside the records are held to them.
    s.integral.LeftIndex = 0;
    s.integral.RightIndex = 65000;
    lines = RecordLines(s.Text());
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines.front().substr(0, 17), "05/24/17 08:00\t1\t");
    EXPECT_EQ(lines.back().substr(0, 18), "05/25/17 13:00\t30\t");

    s.integral.LeftIndex = 25;
    s.integral.RightIndex = 24;
    EXPECT_TRUE(RecordLines(s.Text()).empty());
}

TEST(AsciiExport, CommentIsWrittenAsUtf8) {
    const std::string comment = "Keller M\xC3\xBCller, Gr\xC3\xB6\xC3\x9F" "e 3";
    const std::string text = HalvoRadonSet().Text(comment);
    EXPECT_EQ(text.substr(0, 10 + comment.size() + 4), "Comment:\r\n" + comment + "\r\n\r\n");
}

TEST(AsciiExport, DecimalSeparatorOfTheLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "locale de_DE.UTF-8 is not installed";
    const std::string text = HalvoRadonSet().Text();
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_TRUE(HasLine(text, "Sample Time:\t3,0 hours")) << text;
    EXPECT_TRUE(HasLine(text, "Error:\t7,3 %")) << text;
    EXPECT_TRUE(HasLine(text, "05/24/17 08:00\t123\t13\t21,3\t46\t0\t51")) << text;
    for (const std::string& line : RecordLines(text)) {
        EXPECT_EQ(line.find('.'), std::string::npos) << line;
    }
}

TEST(AsciiExport, WritesTheTextOnlyForAValidDataSet) {
    TTempDir dir;
    TSet s = HalvoRadonSet();
    const std::string name = dir.File("export.txt");
    ASSERT_TRUE(WriteAsciiExport(name, "cellar.lmx", "Cellar", s.integral, s.data, s.raw));
    const std::vector<std::uint8_t> written = ReadBytes(name);
    const std::string expected = "Comment:\r\nCellar\r\n\r\nData exported from \"cellar.lmx\"\r\n";
    ASSERT_GT(written.size(), expected.size());
    EXPECT_EQ(std::string(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    const std::string last = "05/24/17 10:00\t-1\t-1\t20.0\t-1\t2\t53\r\n";
    EXPECT_EQ(std::string(written.end() - static_cast<std::ptrdiff_t>(last.size()), written.end()), last);

    s.data.Valid = false;
    EXPECT_TRUE(s.Text().empty());
    EXPECT_FALSE(WriteAsciiExport(dir.File("invalid.txt"), "cellar.lmx", "Cellar", s.integral, s.data, s.raw));
    EXPECT_FALSE(std::filesystem::exists(dir.File("invalid.txt")));
    // The earlier export is not replaced by an invalid one.
    EXPECT_FALSE(WriteAsciiExport(name, "cellar.lmx", "Cellar", s.integral, s.data, s.raw));
    EXPECT_EQ(ReadBytes(name), written);

    s.data.Valid = true;
    EXPECT_FALSE(WriteAsciiExport(dir.File("missing/export.txt"), "cellar.lmx", "", s.integral, s.data, s.raw));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(AsciiExport, FullSetOfSpectrometricRecords) {
    TSet s(FamilyHalvo, 10, MaxRecords, UnitsSI, SpectrometricMatrix());
    for (std::size_t i = 1; i <= MaxRecords; ++i) {
        s.data.Data[i].Radon = static_cast<Real>(i) + 0.5;
        s.raw.Records[i].Channels[38] = static_cast<Integer>(i);
    }
    const std::vector<std::string> lines = RecordLines(s.Text());
    ASSERT_EQ(lines.size(), MaxRecords);
    // Record 16416 is 16415 hours (683 days 23 h) after 24 May 2017 08:00: 8 April 2019 07:00.
    EXPECT_EQ(lines.back().substr(0, 21), "04/08/19 07:00\t16417\t");
    EXPECT_EQ(lines.back().substr(lines.back().size() - 8), "\t0\t16416");
}

} // namespace
} // namespace lumetra
