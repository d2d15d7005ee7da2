#include "ui/ProtocolPrinter.h"

#include "core/NumberFormat.h"
#include "core/TimeConversions.h"
#include "ui/ProtocolLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace lumetra {
namespace {

const QColor Silver(192, 192, 192);
const QColor CurveGreen(0, 128, 0);
const QColor BarGrey(128, 128, 128);

QString Q(const std::string& text) { return QString::fromStdString(text); }

struct TClimate {
    const char* Title;
    Real TMeasurementRecord::*Value;
    Real TPhysicalUnits::*Span;
    Real TPhysicalUnits::*Offset;
    Real TPhysicalUnits::*SubDiv;
    std::string TPhysicalUnits::*Unit;
    QColor Colour;
};

const TClimate Climates[] = {
    {"Temp.", &TMeasurementRecord::Temperature, &TPhysicalUnits::TempSpanPrinter, &TPhysicalUnits::TempOffsetPrinter,
     &TPhysicalUnits::SubDivTempPrinter, &TPhysicalUnits::TempUnitString, QColor(255, 0, 0)},
    {"rel.Hum.", &TMeasurementRecord::Humidity, &TPhysicalUnits::HumSpanPrinter, &TPhysicalUnits::HumOffsetPrinter,
     &TPhysicalUnits::SubDivHumPrinter, &TPhysicalUnits::HumUnitString, QColor(0, 0, 255)},
    {"Pres.", &TMeasurementRecord::Pressure, &TPhysicalUnits::PresSpanPrinter, &TPhysicalUnits::PresOffsetPrinter,
     &TPhysicalUnits::SubDivPresPrinter, &TPhysicalUnits::PresUnitString, QColor(255, 0, 255)},
    {"CO2", &TMeasurementRecord::CO2, &TPhysicalUnits::CO2SpanPrinter, &TPhysicalUnits::CO2OffsetPrinter,
     &TPhysicalUnits::SubDivCO2Printer, &TPhysicalUnits::CO2UnitString, QColor(128, 0, 0)},
};

class TProtocolPainter {
public:
    TProtocolPainter(QPagedPaintDevice& device, const TProtocolInputs& inputs)
        : Device(device), In(inputs), Raw(*inputs.Raw), Data(*inputs.Data), Integral(*inputs.Integral) {}

    bool Print() {
        if (!Painter.begin(&Device)) {
            return false;
        }
        Area = UsableArea(Device.width(), Device.height());
        Layout = SelectPrintLayout(Raw.Header.DeviceFamily, Raw.Header.DeviceType);
        Geometry = SectionGeometry(Area, Layout);
        Landscape = Device.width() > Device.height();
        Left = std::clamp<Integer>(Integral.LeftIndex, 1, Data.NumberOfRecords);
        Right = std::clamp<Integer>(Integral.RightIndex, Left, Data.NumberOfRecords);
        PrepareTimeAxis();

        TPlacementCursor cursor(Area, Layout);
        const auto place = [this, &cursor](Real fraction) {
            const Integer height = SectionHeight(Area, fraction);
            const auto spot = cursor.Place(height);
            if (spot.NewPage) {
                Footer(false);
                Device.newPage();
                ++Page;
            }
            return std::pair<Integer, Integer>{spot.Top, height};
        };
        const auto& validity = Data.SensorValidityMatrix;
        auto [commentTop, commentHeight] = place(Layout.CommentHeight);
        CommentBox(commentTop, commentHeight);
        auto [mainTop, mainHeight] = place(Layout.MainDiagramHeight);
        ConcentrationDiagram(mainTop, mainHeight);
        const bool climateValid[] = {validity.TempValid, validity.rHValid, validity.PresValid, validity.CO2Valid};
        for (std::size_t c = 0; c < std::size(Climates); ++c) {
            if (climateValid[c]) {
                auto [top, height] = place(Layout.ClimateDiagramHeight);
                ClimateDiagram(Climates[c], top, height);
            }
        }
        if (validity.SpectrumValid) {
            auto [top, height] = place(Layout.SpectrumHeight);
            Spectrum(top, height);
        }
        auto [resultsTop, resultsHeight] = place(Layout.ResultsHeight);
        Results(resultsTop, resultsHeight);
        Footer(true);
        return Painter.end();
    }

private:
    std::string T(const std::string& english) const { return In.Translate ? In.Translate(english) : english; }

    QFont Font(qreal points, bool bold = false, bool italic = false) const {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(points);
        font.setBold(bold);
        font.setItalic(italic);
        return font;
    }

    Integer StepOf(const QFont& font) const { return LineStep(QFontMetrics(font, &Device).height()); }

    // Text with its top-left corner at (x, top), in the painter's font.
    void Text(Integer x, Integer top, const std::string& text) {
        Painter.drawText(QPointF(x, top + Painter.fontMetrics().ascent()), Q(text));
    }
    Integer Width(const std::string& text) { return Painter.fontMetrics().horizontalAdvance(Q(text)); }
    void RightText(Integer right, Integer top, const std::string& text) { Text(right - Width(text), top, text); }

    void Pen(const QColor& colour, int width) { Painter.setPen(QPen(colour, width)); }

    void Footer(bool lastPage) {
        const QFont font = Font(8, false, true);
        Painter.setFont(font);
        Pen(Qt::black, 1);
        const Integer y = Area.Y1 + QFontMetrics(font, &Device).height();
        Text(Geometry.BoxLeft, y,
             "Merix Lumetra 6.6.0" + T(" Protocol: ") + In.PrintDate + " " + In.PrintTime + T(" from ") + "\"" +
                 In.DataFileName + "\"");
        RightText(Area.X1, y, T("Page ") + std::to_string(Page) + (lastPage ? T(" (Last Page)") : ""));
    }

    void Frame(Integer left, Integer top, Integer right, Integer bottom) {
        Painter.setBrush(Qt::NoBrush);
        Pen(Qt::black, 6);
        Painter.drawRect(QRect(QPoint(left, top), QPoint(right, bottom)));
    }

    void CommentBox(Integer top, Integer s) {
        const Integer bx = Geometry.BoxLeft, bw = Geometry.BoxWidth;
        Frame(bx, top, bx + bw, top + s);
        Painter.setFont(Font(10, true));
        Text(bx + RoundHalfEvenPixels(0.02 * bw), top + RoundHalfEvenPixels(0.05 * s), T("COMMENT"));
        const QFont regular = Font(10);
        Painter.setFont(regular);
        const Integer step = StepOf(regular);
        const auto lines = BreakCommentLines(In.Comment, RoundHalfEvenPixels(0.96 * bw),
                                             [this](const std::string& text) { return Width(text); });
        for (std::size_t j = 0; j < lines.size(); ++j) {
            Text(bx + RoundHalfEvenPixels(0.02 * bw),
                 top + RoundHalfEvenPixels(0.3 * s) + static_cast<Integer>(j) * step, lines[j]);
        }
    }

    // Minutes from the first record of the range to each record, and the ticks.
    void PrepareTimeAxis() {
        const Integer first = Raw.Records[Left].SampleInterval;
        Integer total = Integral.TotalSampleTime - first;
        if (total <= 0) {
            total = 1; // a range of one record: everything at the left edge
        }
        MinutesPerPixel = static_cast<Real>(Geometry.PlotWidth) / total;
        Integer sum = 0;
        Offsets.assign(static_cast<std::size_t>(Right - Left + 1), 0);
        for (Integer i = Left; i <= Right; ++i) {
            sum += Raw.Records[i].SampleInterval;
            Offsets[static_cast<std::size_t>(i - Left)] = sum - first;
        }
        TickStep = TimeTickStep(total, Integral.ShortestSampleInterval);
        Ticks.clear();
        for (Integer k = 0;; ++k) {
            const Integer x = Geometry.PlotLeft + RoundHalfEvenPixels(k * TickStep * MinutesPerPixel);
            if (x >= Geometry.PlotLeft + Geometry.PlotWidth) {
                break;
            }
            Ticks.push_back(x);
        }
    }

    Integer RecordX(Integer i) const {
        return Geometry.PlotLeft + RoundHalfEvenPixels(Offsets[static_cast<std::size_t>(i - Left)] * MinutesPerPixel);
    }

    void ConcentrationDiagram(Integer top, Integer s) {
        const QFont regular = Font(10);
        const Integer ph = s - 2 * StepOf(regular);
        const Integer px = Geometry.PlotLeft, pw = Geometry.PlotWidth;
        const Integer bottom = top + ph;
        if (Data.SensorValidityMatrix.MovementValid) {
            for (Integer i = Left; i <= Right; ++i) {
                if (Data.Data[i].Movement) {
                    const Integer from = RecordX(std::max(Left, i - 1));
                    Painter.fillRect(QRect(QPoint(from, top), QPoint(RecordX(i), bottom)), Silver);
                }
            }
        }
        Frame(px, top, px + pw, bottom);

        // Time axis: grid lines with the date and time below.
        const QFont small = Font(8);
        Painter.setFont(small);
        const Integer smallStep = StepOf(small);
        for (std::size_t k = 0; k < Ticks.size(); ++k) {
            Pen(Qt::black, 1);
            Painter.drawLine(Ticks[k], top, Ticks[k], bottom);
            const TDeviceTime at = AddMinutes(Raw.Records[Left].Time, static_cast<Integer>(k) * TickStep);
            const std::string date = DateText(at), time = TimeText(at);
            Text(Ticks[k] - Width(date) / 2, bottom + smallStep / 4, date);
            Text(Ticks[k] - Width(time) / 2, bottom + smallStep / 4 + smallStep, time);
        }

        // Concentration axis.
        Real maximum = MaxUpperErrorBound(Left, Right, In.DisplayMode, Data);
        if (maximum <= 0) {
            maximum = 10;
        }
        const Real gridStep = ProtocolGridStep(maximum);
        const Real scale = ph / maximum;
        const Integer gridPixels = RoundHalfEvenPixels(gridStep * scale);
        const Integer labelRight = px - RoundHalfEvenPixels(0.015 * pw);
        const Integer halfText = QFontMetrics(small, &Device).height() / 2;
        for (Integer k = 1; gridPixels > 0; ++k) {
            const Integer y = bottom - k * gridPixels;
            if (y <= top) {
                break;
            }
            Pen(Qt::black, 1);
            Painter.drawLine(px, y, px + pw, y);
            RightText(labelRight, y - halfText, FormatFixed(k * gridStep, 15, 0));
        }
        RightText(labelRight, bottom - halfText, "0");

        // Legend.
        const auto& units = Data.RelatedUnitSettings;
        Painter.setFont(Font(8, true));
        Text(Geometry.BoxLeft, top, T(ProtocolLegendTitle(In.DisplayMode)));
        Painter.setFont(small);
        const bool paec = In.DisplayMode == DisplayMode::RadonPAEC || In.DisplayMode == DisplayMode::ThoronPAEC;
        Text(Geometry.BoxLeft, top + smallStep, paec ? units.PAECUnitString : units.RnUnitString);
        const bool smoothing = In.Smoothed != nullptr && In.Smoothed->Period > 0;
        if (smoothing) {
            Text(Geometry.BoxLeft, top + 2 * smallStep, "(s. " + std::to_string(In.Smoothed->Period) + "P)");
        }

        // Curve, with error bars when asked for and not smoothed.
        QPolygon curve;
        for (Integer i = Left; i <= Right; ++i) {
            const TMeasurementRecord& record = Data.Data[i];
            const Real error = DisplayError(record, In.DisplayMode);
            Real value = smoothing ? In.Smoothed->Values[i] : DisplayValue(record, In.DisplayMode);
            if (!smoothing && error <= 0) {
                value = 0;
            }
            const Integer valuePixels = RoundHalfEvenPixels(std::max<Real>(value, 0) * scale);
            const Integer x = RecordX(i), y = bottom - valuePixels;
            curve << QPoint(x, y);
            if (In.ErrorBars && !smoothing && error > 0) {
                const Integer half = RoundHalfEvenPixels(valuePixels * error / 100.0);
                Pen(CurveGreen, 1);
                Painter.drawLine(x, y - half, x, y + half);
                Painter.drawLine(x - 4, y - half, x + 4, y - half);
                Painter.drawLine(x - 4, y + half, x + 4, y + half);
            }
        }
        Pen(CurveGreen, 3);
        Painter.drawPolyline(curve);
    }

    void ClimateDiagram(const TClimate& climate, Integer top, Integer s) {
        const Integer px = Geometry.PlotLeft, pw = Geometry.PlotWidth;
        const auto& units = Data.RelatedUnitSettings;
        const Real span = units.*climate.Span, offset = units.*climate.Offset, subDiv = units.*climate.SubDiv;
        Frame(px, top, px + pw, top + s);
        Pen(Qt::black, 1);
        for (std::size_t k = 1; k < Ticks.size(); ++k) {
            Painter.drawLine(Ticks[k], top, Ticks[k], top + s);
        }
        const QFont small = Font(8);
        Painter.setFont(small);
        const Integer halfText = QFontMetrics(small, &Device).height() / 2;
        const Integer labelRight = px - RoundHalfEvenPixels(0.015 * pw);
        const Real scale = span > 0 ? s / span : 0;
        const auto label = [](Real value) { return FormatFixed(value, 4, 0); };
        const Integer divisions = subDiv > 0 ? static_cast<Integer>(subDiv) : 0;
        for (Integer k = 1; k < divisions; ++k) {
            const Integer y = top + k * RoundHalfEvenPixels(scale * span / subDiv);
            Painter.drawLine(px, y, px + pw, y);
            RightText(labelRight, y - halfText, label(offset + span - k * span / subDiv));
        }
        RightText(labelRight, top - halfText, label(offset + span));
        RightText(labelRight, top + s - halfText, label(offset));
        Painter.setFont(Font(8, true));
        Text(Geometry.BoxLeft, top, T(climate.Title));
        Painter.setFont(small);
        Text(Geometry.BoxLeft, top + StepOf(small), "[" + units.*climate.Unit + "]");

        QPolygon curve;
        for (Integer i = Left; i <= Right; ++i) {
            const Real value = Data.Data[i].*climate.Value;
            const Integer y = top + s - RoundHalfEvenPixels(std::clamp<Real>((value - offset) * scale, 0, s));
            curve << QPoint(RecordX(i), y);
        }
        Pen(climate.Colour, 3);
        Painter.drawPolyline(curve);
    }

    void Spectrum(Integer top, Integer s) {
        const Integer px = Geometry.PlotLeft, pw = Geometry.PlotWidth, bottom = top + s;
        const TDosikaSpectrum& spectrum = Integral.SumSpectrum;
        const Integer size = std::clamp<Integer>(spectrum.Size, 0, static_cast<Integer>(spectrum.Channels.size()));
        const Integer bar = SpectrumBarWidth(pw, size);
        Integer largest = 1;
        for (Integer n = 1; n <= size; ++n) {
            largest = std::max(largest, spectrum.Channels[n]);
        }
        Painter.setPen(QPen(Qt::black, 2));
        Painter.setBrush(BarGrey);
        for (Integer n = 1; n <= size; ++n) {
            const Integer height = RoundHalfEvenPixels(static_cast<Real>(spectrum.Channels[n]) / largest * s);
            Painter.drawRect(QRect(QPoint(px + (n - 1) * bar, bottom - height), QPoint(px + n * bar, bottom)));
        }
        Frame(px, top, px + pw, bottom);

        const QFont tiny = Font(6);
        Painter.setFont(tiny);
        const Integer step = StepOf(tiny);
        const Integer textShift = RoundHalfEvenPixels(0.01 * pw);
        // On a white ground of their own: the labels stand over the bars.
        const auto label = [&](Integer x, Integer y, const std::string& text, const QColor& colour) {
            Painter.fillRect(QRect(x, y, Width(text), Painter.fontMetrics().height()), Qt::white);
            Pen(colour, 1);
            Text(x, y, text);
        };
        const auto labels = [&](Integer x, Integer lineOffset, const std::string& nuclide, const std::string& channels,
                                Int64 counts) {
            label(x + textShift, top + (lineOffset + 1) * step, nuclide, Qt::black);
            label(x + textShift, top + (lineOffset + 2) * step, channels, Qt::black);
            label(x + textShift, top + (lineOffset + 3) * step, std::to_string(counts) + T(" cts"), Qt::red);
        };
        const auto marker = [&](Integer x) {
            Pen(Qt::black, 4);
            Painter.drawLine(x, top, x, bottom);
        };
        const auto& header = Raw.Header;
        if (header.DeviceFamily == FamilyHalvo) {
            static const char* const nuclides[] = {"Po-218 (6002keV)", "Po-216 (6778keV)", "Po-214 (7687keV)",
                                                   "Po-212 (8785keV)"};
            for (int k = 1; k <= 5; ++k) {
                marker(px + header.ROILevel[k] * bar);
            }
            for (int k = 1; k <= 4; ++k) {
                labels(px + header.ROILevel[k] * bar, 0, T(nuclides[k - 1]),
                       T("Channels ") + std::to_string(header.ROILevel[k] + 1) + T(":") +
                           std::to_string(header.ROILevel[k + 1]),
                       Integral.IntegralCountSums[k]);
            }
        } else {
            static const char* const nuclides[] = {"Rn-222 (5490keV)", "Po-218 (6002keV)", "Po-216 (6778keV)",
                                                   "Po-214 (7687keV)", "Po-212 (8785keV)"};
            for (int k = 1; k <= 5; ++k) {
                const TROILimits& roi = header.ROILimits[k];
                const Integer lower = px + (roi.LowerLimit - 1) * bar;
                marker(lower);
                marker(px + roi.UpperLimit * bar);
                labels(lower, k % 2 == 1 ? 4 : 0, T(nuclides[k - 1]),
                       T("Channels ") + std::to_string(roi.LowerLimit) + T(":") + std::to_string(roi.UpperLimit),
                       Integral.IntegralCountSums[k]);
            }
        }
        const QFont small = Font(8, true);
        Painter.setFont(small);
        Pen(Qt::black, 1);
        const Integer smallStep = StepOf(small);
        Text(Geometry.BoxLeft, top, T("Counts"));
        RightText(px + pw, bottom + smallStep / 4, T("Channels"));
        Painter.setFont(Font(8, false, true));
        Text(px, bottom + smallStep / 4, T("Spectrum Offset ") + std::to_string(header.Offset) + T(" Channels"));
    }

    void Results(Integer top, Integer s) {
        const Integer bx = Geometry.BoxLeft, bw = Geometry.BoxWidth;
        Frame(bx, top, bx + bw, top + s);
        const std::array<Real, 4> columns = Landscape ? std::array<Real, 4>{0.125, 0.225, 0.475, 0.55}
                                                      : std::array<Real, 4>{0.02, 0.198, 0.57, 0.688};
        const QFont regular = Font(Landscape ? 8 : 10);
        const Integer step = StepOf(regular);
        const Integer rowOffset = Landscape ? -RoundHalfEvenPixels(0.1 * s) : RoundHalfEvenPixels(0.07 * s);
        Pen(Qt::black, 1);
        Painter.setFont(Font(Landscape ? 8 : 10, true));
        const Integer titleX = Landscape ? bx + RoundHalfEvenPixels(0.02 * bw) : bx + RoundHalfEvenPixels(columns[0] * bw);
        const Integer titleY = Landscape ? top + step - RoundHalfEvenPixels(0.1 * s) : top + RoundHalfEvenPixels(0.05 * s);
        Text(titleX, titleY, T("RESULTS"));
        Painter.setFont(regular);
        const TResultsRows rows =
            ProtocolResultsRows(Integral, Raw, In.DisplayMode, Data.RelatedUnitSettings, [this](const std::string& t) { return T(t); });
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t c = 0; c < 4; ++c) {
                Text(bx + RoundHalfEvenPixels(columns[c] * bw), top + static_cast<Integer>(r + 1) * step + rowOffset,
                     rows[r][c]);
            }
        }
    }

    QPagedPaintDevice& Device;
    const TProtocolInputs& In;
    const TInstrumentData& Raw;
    const TMeasurementData& Data;
    const TIntegralData& Integral;
    QPainter Painter;
    TPageArea Area;
    TPrintLayout Layout;
    TSectionGeometry Geometry;
    bool Landscape = false;
    Integer Left = 1, Right = 1;
    int Page = 1;
    Real MinutesPerPixel = 0;
    std::vector<Integer> Offsets;
    Integer TickStep = 1;
    std::vector<Integer> Ticks;
};

} // namespace

void StampPrintTime(TProtocolInputs& inputs) {
    const TDeviceTime now = LocalDeviceTimeNow();
    inputs.PrintDate = DateText(now);
    inputs.PrintTime = TimeText(now);
}

bool PrintProtocolDocument(QPagedPaintDevice& device, const TProtocolInputs& inputs) {
    if (inputs.Raw == nullptr || inputs.Data == nullptr || inputs.Integral == nullptr || !inputs.Data->Valid ||
        inputs.Data->NumberOfRecords == 0) {
        return false;
    }
    TProtocolPainter painter(device, inputs);
    return painter.Print();
}

} // namespace lumetra
