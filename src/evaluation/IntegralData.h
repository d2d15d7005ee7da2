#pragma once
// The summary of a range of records: minimum, maximum, average with error, exposure and
// dose of every quantity the data set holds, plus the range's bookkeeping values.

#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"

#include <functional>
#include <string>

namespace lumetra {

// The quantity shown in the diagram and the summary.
namespace DisplayMode {
constexpr Byte Radon = 1;
constexpr Byte RadonFast = 2;
constexpr Byte Thoron = 3;
constexpr Byte RadonEEC = 4;
constexpr Byte RadonPAEC = 5;
constexpr Byte ThoronPAEC = 6;
} // namespace DisplayMode

// Whether a data set holds values of a display mode.
bool HoldsDisplayMode(const TSensorValidityMatrix& valid, Byte displayMode);
// The mode the main window starts on: radon, or the EEC for the sets that hold no radon.
Byte InitialDisplayMode(const TSensorValidityMatrix& valid);

struct TIntegralData {
    Word LeftIndex = 0;
    Word RightIndex = 0;
    TPhysicalUnits RelatedUnitSettings{};
    Real RadonMinimum = 0, RadonMaximum = 0, RadonAverage = -1, RadonAverageError = -1;
    Real RadonFastMinimum = 0, RadonFastMaximum = 0, RadonFastAverage = -1, RadonFastAverageError = -1;
    Real ThoronMinimum = 0, ThoronMaximum = 0, ThoronAverage = -1, ThoronAverageError = -1;
    Real RadonEECMinimum = 0, RadonEECMaximum = 0, RadonEECAverage = -1, RadonEECAverageError = -1;
    Real RadonPAECMinimum = 0, RadonPAECMaximum = 0, RadonPAECAverage = -1, RadonPAECAverageError = -1;
    Real ThoronPAECMinimum = 0, ThoronPAECMaximum = 0, ThoronPAECAverage = -1, ThoronPAECAverageError = -1;
    Real RadonExposure = 0;
    Real DoseRadon = -1;
    Real RadonFastExposure = 0;
    Real DoseRadonFast = -1;
    Real ThoronExposure = 0;
    Real RadonEECExposure = 0;
    Real RadonPAECExposure = 0;
    Real ThoronPAECExposure = 0; // never computed
    Real DosePot = -1;
    Integer NumberOfSamples = 0;
    Integer TotalSampleTime = 0; // minutes
    Byte ShortestSampleInterval = 1; // the largest interval of the range, at least 1
    std::string SamplePeriodString;
    std::string StartTestString;
    std::string EndTestString;
    TCountSums IntegralCountSums{};
    TDosikaSpectrum SumSpectrum{};
    bool DataOfOneSeries = true;
    Integer TotalNumberOfTilts = 0;
};

// Summarises records left..right (1-based, inclusive, within 1..NumberOfRecords) of an
// evaluated data set and the raw data set it came from.
void CalculateIntegralData(Integer leftIndex, Integer rightIndex, const TInstrumentData& raw,
                           TIntegralData& integral, const TMeasurementData& data);

// The colour of the summary labels.
enum class TSummaryColour { Grey, Black, Red };
// What the summary does to the print button.
enum class TPrintButtonState { Unchanged, FollowExport, Disabled };

// The texts of the summary panel for one display mode, as the main window shows them
// and the command-line tool prints them.
struct TSummaryTexts {
    TSummaryColour Colour = TSummaryColour::Grey;
    TPrintButtonState PrintButton = TPrintButtonState::Unchanged;
    std::string StartTestLabel;
    std::string EndTestLabel;
    std::string AverageLabel;
    std::string ExposureItemLabel;
    std::string ExposureLabel;
    bool ExposureVisible = true;
    std::string DevNumberLabel;
    std::string TotalRecordsLabel;
    std::string ExposureTimeLabel;
    std::string PeriodLabel;
};


// `units` are the program's current settings (their unit strings label the values);
// `bordersSelected` says whether the user has set both borders.
TSummaryTexts SummaryTexts(Byte displayMode, const TIntegralData& integral, const TPhysicalUnits& units,
                           const TInstrumentHeader& header, bool bordersSelected, const TTranslate& translate);

} // namespace lumetra
