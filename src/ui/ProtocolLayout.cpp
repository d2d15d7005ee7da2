#include "ui/ProtocolLayout.h"

#include "core/DeviceIdentification.h"
#include "core/NumberFormat.h"

#include <cmath>

namespace lumetra {
namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The concentration shown for a display mode, its error, extremes and unit.
struct TModeValues {
    Real Average = -1, Error = -1, Maximum = 0, Minimum = 0;
    std::string Unit;
};

TModeValues ModeValues(const TIntegralData& d, Byte mode, const TPhysicalUnits& units) {
    switch (mode) {
    case DisplayMode::RadonFast:
        return {d.RadonFastAverage, d.RadonFastAverageError, d.RadonFastMaximum, d.RadonFastMinimum, units.RnUnitString};
    case DisplayMode::Thoron:
        return {d.ThoronAverage, d.ThoronAverageError, d.ThoronMaximum, d.ThoronMinimum, units.RnUnitString};
    case DisplayMode::RadonEEC:
        return {d.RadonEECAverage, d.RadonPAECAverageError, d.RadonEECMaximum, d.RadonEECMinimum, units.RnUnitString};
    case DisplayMode::RadonPAEC:
        return {d.RadonPAECAverage, d.RadonPAECAverageError, d.RadonPAECMaximum, d.RadonPAECMinimum,
                units.PAECUnitString};
    case DisplayMode::ThoronPAEC:
        return {d.ThoronPAECAverage, -1, d.ThoronPAECMaximum, d.ThoronPAECMinimum, units.PAECUnitString};
    default:
        return {d.RadonAverage, d.RadonAverageError, d.RadonMaximum, d.RadonMinimum, units.RnUnitString};
    }
}

} // namespace

Integer RoundHalfEvenPixels(Real value) { return static_cast<Integer>(std::nearbyint(value)); }

TPageArea UsableArea(Integer width, Integer height) {
    return {RoundHalfEvenPixels(0.1 * width), RoundHalfEvenPixels(0.95 * width), RoundHalfEvenPixels(0.1 * height),
            RoundHalfEvenPixels(0.95 * height)};
}

TPrintLayout SelectPrintLayout(Byte deviceFamily, Byte deviceType) {
    if (deviceFamily == FamilyHalvo) {
        switch (deviceType) {
        case 1:
        case 2:
        case 7: return {0.3, 0.15, 0, 0.1, 0.1, 0.09, 0.025, 0.88, 1};
        case 3:
        case 5:
        case 8:
        case 9: return {0.24, 0.12, 0, 0.1, 0.1, 0.09, 0.02, 0.88, 1};
        case 4:
        case 6:
        case 10: return {0.28, 0.14, 0.28, 0.1, 0.1, 0.09, 0.025, 0.88, 1};
        default: return {};
        }
    }
    if (deviceFamily == FamilyDosika) {
        switch (deviceType) {
        case 1:
        case 2:
        case 4:
        case 6: return {0.3, 0, 0.3, 0.1, 0.1, 0.09, 0.033, 0.88, 1};
        case 5: return {0.35, 0.175, 0.35, 0.1, 0.1, 0.19, 0.033, 0.88, 1};
        default: return {};
        }
    }
    return {};
}

TSectionGeometry SectionGeometry(const TPageArea& area, const TPrintLayout& layout) {
    TSectionGeometry g;
    g.PlotWidth = RoundHalfEvenPixels(area.Width() * layout.PlotWidth);
    g.PlotLeft = area.X0 + area.Width() - g.PlotWidth;
    g.BoxWidth = RoundHalfEvenPixels(area.Width() * layout.BoxWidth);
    g.BoxLeft = area.X0 + area.Width() - g.BoxWidth;
    g.Gap = RoundHalfEvenPixels(area.Height() * layout.SectionGap);
    return g;
}

Integer SectionHeight(const TPageArea& area, Real fraction) { return RoundHalfEvenPixels(area.Height() * fraction); }

TPlacementCursor::TPlacementCursor(const TPageArea& area, const TPrintLayout& layout)
    : Area(area), Gap(RoundHalfEvenPixels(area.Height() * layout.SectionGap)),
      Position(area.Y0 + SectionHeight(area, layout.TopOffset) - Gap) {}

TPlacementCursor::TPlace TPlacementCursor::Place(Integer height) {
    if (Position + Gap + height < Area.Y1) {
        const Integer top = Position + Gap;
        Position = top + height;
        return {top, false};
    }
    Position = Area.Y0 + height;
    return {Area.Y0, true};
}

Integer LineStep(Integer characterHeight) { return RoundHalfEvenPixels(1.1 * characterHeight); }

Integer TimeTickStep(Integer totalMinutes, Integer shortestInterval) {
    Integer step = totalMinutes / 10;
    if (shortestInterval > 0) {
        while (step % shortestInterval != 0) {
            ++step;
        }
    }
    return step <= 0 ? 1 : step;
}

Real ProtocolGridStep(Real maximum) {
    Real v = (maximum == 0 ? 10.0 : maximum) / 10.0;
    int e = 0;
    while (v > 10) {
        v /= 10;
        ++e;
    }
    return (std::trunc(v) + 1) * std::pow(10.0, e);
}

Integer SpectrumBarWidth(Integer plotWidth, Integer channels) { return channels <= 0 ? 0 : plotWidth / channels; }

std::vector<std::string> BreakCommentLines(const std::string& comment, Integer maxWidth,
                                           const std::function<Integer(const std::string&)>& measure) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < comment.size()) {
        // Grow the line one character at a time while it fits.
        std::size_t end = start;
        std::size_t fits = start;
        while (end < comment.size()) {
            std::size_t next = end + 1;
            while (next < comment.size() && IsUtf8Continuation(comment[next])) {
                ++next;
            }
            if (measure(comment.substr(start, next - start)) > maxWidth) {
                break;
            }
            fits = next;
            end = next;
        }
        if (fits == start) { // not even one character fits: take it anyway
            fits = start + 1;
            while (fits < comment.size() && IsUtf8Continuation(comment[fits])) {
                ++fits;
            }
        }
        lines.push_back(comment.substr(start, fits - start));
        start = fits;
    }
    return lines;
}

std::string ProtocolLegendTitle(Byte displayMode) {
    switch (displayMode) {
    case DisplayMode::RadonFast: return "Radon*";
    case DisplayMode::Thoron: return "Thoron";
    case DisplayMode::RadonEEC: return "EEC";
    case DisplayMode::RadonPAEC: return "PAEC(Rn)";
    case DisplayMode::ThoronPAEC: return "PAEC(Tn)";
    default: return "Radon";
    }
}

TResultsRows ProtocolResultsRows(const TIntegralData& integral, const TInstrumentData& raw, Byte displayMode,
                                 const TPhysicalUnits& units, const TTranslate& translate) {
    const auto value = [&units](Real v) { return FormatFixed(v, 7, units.RadonDecimals); };
    const TModeValues mode = ModeValues(integral, displayMode, units);
    std::string average = value(mode.Average) + " " + mode.Unit;
    if (displayMode == DisplayMode::Thoron && mode.Error <= 0) {
        average = "< " + average;
    } else if (displayMode != DisplayMode::ThoronPAEC) {
        average += " ±" + FormatFixed(mode.Error, 4, 1) + "%";
    }

    std::string name;
    DeviceName(raw.Header.DeviceFamily, raw.Header.DeviceType, name);
    TResultsRows rows;
    rows[0] = {translate("Instrument:"), name + " SN: " + std::to_string(raw.Header.DeviceNumber),
               translate("Average:"), average};
    rows[1] = {translate("Data Records:"), std::to_string(integral.NumberOfSamples), "", ""};
    rows[2] = {translate("Sample Period:"), integral.SamplePeriodString, "", ""};
    rows[3] = {translate("Exposure Time:"),
               FormatFixed(integral.TotalSampleTime / 60.0, 7, 1) + translate(" hours"), "", ""};

    if (units.SelectedUnits == UnitsUS) {
        rows[1][2] = translate("Tilts:");
        rows[1][3] = std::to_string(integral.TotalNumberOfTilts);
        rows[2][2] = translate("Start Test:");
        rows[2][3] = integral.StartTestString;
        rows[3][2] = translate("End Test:");
        rows[3][3] = integral.EndTestString;
        return rows;
    }
    rows[2][2] = translate("Maximum:");
    rows[2][3] = value(mode.Maximum) + " " + mode.Unit;
    rows[3][2] = translate("Minimum:");
    rows[3][3] = value(mode.Minimum) + " " + mode.Unit;

    // The label says what the value is: a dose where the instrument gives one, else the
    // exposure of the range.
    const auto exposure = [](Real v, const std::string& unit, bool upperLimit) {
        return (upperLimit ? "< " : "") + FormatFixed(v, 7, 0) + " " + unit;
    };
    Real dose = -1;
    std::string exposureText;
    switch (displayMode) {
    case DisplayMode::Radon:
        dose = integral.DoseRadon;
        exposureText = exposure(integral.RadonExposure, units.ExpUnitString, false);
        break;
    case DisplayMode::RadonFast:
        dose = integral.DoseRadonFast;
        exposureText = exposure(integral.RadonFastExposure, units.ExpUnitString, false);
        break;
    case DisplayMode::Thoron:
        exposureText = exposure(integral.ThoronExposure, units.ExpUnitString, integral.ThoronAverageError == -1);
        break;
    case DisplayMode::RadonEEC:
        exposureText = exposure(integral.RadonEECExposure, units.ExpUnitString, false);
        break;
    case DisplayMode::RadonPAEC:
        dose = integral.DosePot;
        exposureText = exposure(integral.RadonPAECExposure, units.PAECExpUnitString, false);
        break;
    default: // PAEC of thoron: no exposure is computed
        return rows;
    }
    if (dose > 0) {
        rows[1][2] = translate("Dose:");
        rows[1][3] = FormatFixed(dose, 7, 3) + " µSv";
    } else {
        rows[1][2] = translate("Exposure:");
        rows[1][3] = exposureText;
    }
    return rows;
}

} // namespace lumetra
