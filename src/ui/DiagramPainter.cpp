#include "ui/DiagramPainter.h"

#include "core/NumberFormat.h"
#include "ui/DiagramHelpers.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace lumetra {
namespace {

constexpr int AxisFontPixels = 11;
constexpr int LabelEscapement = 450; // tenths of a degree

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// Pen position and colour as the drawing steps use them: MoveTo sets the point, LineTo
// draws from it to the target and moves there. Axis-parallel lines leave out their end
// pixel, so that a line "from y to H" covers rows y .. H - 1 and rectangles of lines
// fit edge to edge.
class TPenWalker {
public:
    explicit TPenWalker(QPainter& painter) : Painter(painter) {}

    void SetPen(TRgb colour, int width) {
        Colour = colour;
        Width = width;
        // Not cosmetic: on a high-DPI screen a 1-pixel line grows with the scale.
        Painter.setPen(QPen(ToQColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    TRgb PenColour() const { return Colour; }

    void MoveTo(int x, int y) {
        X = x;
        Y = y;
    }
    void LineTo(int x, int y) {
        Line(X, Y, x, y);
        MoveTo(x, y);
    }
    void Line(int x1, int y1, int x2, int y2) {
        if (Width > 1) {
            Painter.drawLine(x1, y1, x2, y2);
        } else if (y1 == y2) {
            if (x1 != x2)
                Painter.drawLine(x1, y1, x2 > x1 ? x2 - 1 : x2 + 1, y1);
        } else if (x1 == x2) {
            Painter.drawLine(x1, y1, x1, y2 > y1 ? y2 - 1 : y2 + 1);
        } else {
            Painter.drawLine(x1, y1, x2, y2);
        }
    }

private:
    QPainter& Painter;
    TRgb Colour = BlackInk;
    int Width = 1;
    int X = 0;
    int Y = 0;
};

// A box's own coordinate system from (0, 0), clipped to the box.
class TBoxScope {
public:
    TBoxScope(QPainter& painter, const TLayoutRect& box) : Painter(painter) {
        Painter.save();
        Painter.translate(box.Left, box.Top);
        Painter.setClipRect(0, 0, box.Width, box.Height);
    }
    ~TBoxScope() { Painter.restore(); }
    TBoxScope(const TBoxScope&) = delete;
    TBoxScope& operator=(const TBoxScope&) = delete;

private:
    QPainter& Painter;
};

// Text placed by the top-left corner of its cell.
void DrawTextAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

struct TPaintContext {
    QPainter& Painter;
    const TDiagramLayout& Boxes;
    const TMeasurementData& Data;
    const TPhysicalUnits& Units;
    const TViewState& View;
    TRecordRange Range;
    TDiagramScale Scale;
    Integer W = 0;
    Integer H = 0;
    Integer SmoothingPeriod = 0;
    const TSmoothedSeries* Smoothed = nullptr;
    bool ErrorBars = false;
};

const TMeasurementRecord& RecordAt(const TMeasurementData& data, Integer i) {
    return data.Data[static_cast<std::size_t>(i)];
}

void FillBoxes(QPainter& painter, const TDiagramLayout& boxes, QColor colour) {
    // The header and the time axis first: the inner diagram's top row and the left
    // scale's axis column lie over their neighbours.
    for (const TLayoutRect* box : {&boxes.DiagramHeader, &boxes.XAxisBox, &boxes.InnerDiagram,
                                   &boxes.LeftYAxisBox, &boxes.RightYAxisBox})
        painter.fillRect(box->Left, box->Top, box->Width, box->Height, colour);
}

void PaintTimeAxis(TPaintContext& c) {
    QPainter& p = c.Painter;
    const TLayoutRect& box = c.Boxes.XAxisBox;
    TBoxScope scope(p, box);
    TPenWalker pen(p);
    pen.SetPen(BlackInk, 1);
    const QFont font = DiagramAxisFont();
    p.setFont(font);
    pen.Line(80, 0, box.Width - 120, 0);

    const QFontMetrics metrics(font);
    TTickMarkList ticks;
    Integer lastTick = 0;
    BuildTimeTicks(c.W, metrics.height(), c.Data, c.View.Zoom, c.View.FirstVisibleRecord, ticks, lastTick);
    for (std::size_t k = 0; k < ticks.Count(); ++k) {
        const TTickMark& tick = ticks.Get(k);
        const int x = 80 + tick.XPos;
        pen.Line(x, 0, x, 2);
        if (tick.Caption.empty())
            continue;
        const QString caption = Text(tick.Caption);
        const TTextOffset offset = RotatedTextOffset(metrics.horizontalAdvance(caption), LabelEscapement);
        // The label rises to the right and its top edge ends at the tick.
        p.save();
        p.translate(x - offset.Dx, 2 + offset.Dy);
        p.rotate(-LabelEscapement / 10.0);
        DrawTextAt(p, 0, 0, caption);
        p.restore();
    }
    DrawTextAt(p, box.Width - 110, 5, QStringLiteral("t"));
}

void PaintStrips(TPaintContext& c) {
    QPainter& p = c.Painter;
    const Integer zoom = std::max(c.View.Zoom, 1);
    // Neighbouring strips adjoin; a run of one shade is filled at once.
    Integer runStart = 0;
    TRgb runColour = White;
    for (Integer i = c.Range.First; i <= c.Range.Last + 1; ++i) {
        const Integer x = RecordX(i, c.View.FirstVisibleRecord, zoom);
        const TRgb colour = i <= c.Range.Last ? StripColour(i, c.View, c.Data) : White;
        if (i > c.Range.First && colour == runColour)
            continue;
        const Integer runEnd = x - zoom; // the last run ends where this strip begins
        if (i > c.Range.First && runColour != White) // the box is white already
            p.fillRect(runStart, 1, runEnd - runStart, c.H - 2, ToQColor(runColour));
        runStart = runEnd;
        runColour = colour;
    }
}

void PaintRadonCurve(TPaintContext& c) {
    QPainter& p = c.Painter;
    TPenWalker pen(p);
    // The pen starts green so that the first point's error bar is visible.
    pen.SetPen(CurveGreen, 1);
    const Byte mode = c.View.RadonDisplayMode;
    for (Integer i = c.Range.First; i <= c.Range.Last; ++i) {
        const TMeasurementRecord& record = RecordAt(c.Data, i);
        const Integer x = RecordX(i, c.View.FirstVisibleRecord, c.View.Zoom);
        const TRadonPoint point = RadonPoint(record, mode, c.H, c.Scale.K);
        const Integer y = point.Y;
        const Integer e = point.E;
        if (i == c.View.FirstVisibleRecord || record.SeriesStart) {
            pen.MoveTo(x, y);
        } else {
            pen.SetPen(CurveGreen, 1);
            pen.LineTo(x, y);
        }
        if (c.SmoothingPeriod < 1)
            p.fillRect(x - 4, y - 4, 8, 8, ToQColor(record.SeriesStart ? Maroon : CurveGreen));
        if (c.ErrorBars) {
            pen.Line(x - 4, y + e, x + 4, y + e);
            pen.Line(x - 4, y - e, x + 4, y - e);
            pen.Line(x, y + e, x, y - e);
        }
        if (record.SeriesStart) {
            // The series break: a maroon line three pixels wide over the whole height.
            p.fillRect(x - 1, 0, 3, c.H, ToQColor(Maroon));
            pen.SetPen(Maroon, 1);
        }
        pen.MoveTo(x, y);
    }
}

// The move-and-draw rule of the smoothed and climate curves.
template <typename YOf> void PaintSeries(TPaintContext& c, TRgb colour, int width, YOf yOf) {
    TPenWalker pen(c.Painter);
    pen.SetPen(colour, width);
    for (Integer i = c.Range.First; i <= c.Range.Last; ++i) {
        const Integer x = RecordX(i, c.View.FirstVisibleRecord, c.View.Zoom);
        const Integer y = yOf(i);
        if (i == c.View.FirstVisibleRecord || RecordAt(c.Data, i).SeriesStart)
            pen.MoveTo(x, y);
        else
            pen.LineTo(x, y);
    }
}

void PaintInnerDiagram(TPaintContext& c) {
    TBoxScope scope(c.Painter, c.Boxes.InnerDiagram);
    PaintStrips(c);
    PaintRadonCurve(c);
    if (c.SmoothingPeriod >= 1 && c.Smoothed) {
        const TSmoothedSeries& s = *c.Smoothed;
        PaintSeries(c, CurveGreen, 3, [&](Integer i) {
            return c.H - RoundHalfEven(s.Values[static_cast<std::size_t>(i)] * c.Scale.K);
        });
    }
    for (TClimateQuantity quantity : ClimateCurveOrder) {
        if (!ClimateShown(quantity, c.Data.SensorValidityMatrix))
            continue;
        const TClimateScale scale = ClimateScale(quantity, c.Units);
        PaintSeries(c, scale.Colour, 1,
                    [&](Integer i) { return ClimateY(ClimateValue(RecordAt(c.Data, i), quantity), scale, c.H); });
    }
    TPenWalker pen(c.Painter);
    pen.SetPen(BlackInk, 1);
    for (const TScaleTick& line : GridTicks(c.H, c.Scale.Ymax))
        pen.Line(0, line.Y, c.W, line.Y);
}

void PaintLeftScale(TPaintContext& c) {
    QPainter& p = c.Painter;
    {
        TBoxScope scope(p, c.Boxes.LeftYAxisBox);
        TPenWalker pen(p);
        pen.SetPen(BlackInk, 1);
        p.setFont(DiagramScaleFont());
        pen.Line(79, 0, 79, c.H);
        const QFontMetrics metrics = p.fontMetrics();
        for (const TScaleTick& tick : GridTicks(c.H, c.Scale.Ymax)) {
            pen.Line(80, tick.Y, 75, tick.Y);
            const QString label = QString::number(static_cast<qint64>(tick.Value));
            DrawTextAt(p, 80 - metrics.horizontalAdvance(label) - 10,
                       tick.Y - RoundHalfEven(metrics.height() * 0.5), label);
        }
    }
    TBoxScope scope(p, c.Boxes.DiagramHeader);
    p.setPen(ToQColor(BlackInk));
    p.setFont(DiagramScaleFont());
    const bool paec = c.View.RadonDisplayMode == 5 || c.View.RadonDisplayMode == 6;
    const QString unit = Text(paec ? c.Units.PAECUnitString : c.Units.RnUnitString);
    const QFontMetrics metrics = p.fontMetrics();
    DrawTextAt(p, 80 - metrics.horizontalAdvance(unit) - 10, 18 - metrics.height(), unit);
}

void PaintRightScales(TPaintContext& c) {
    QPainter& p = c.Painter;
    for (TClimateQuantity quantity : ClimateScaleOrder) {
        if (!ClimateShown(quantity, c.Data.SensorValidityMatrix))
            continue;
        const TClimateScale scale = ClimateScale(quantity, c.Units);
        {
            TBoxScope scope(p, c.Boxes.RightYAxisBox);
            TPenWalker pen(p);
            pen.SetPen(scale.Colour, 1);
            p.setFont(DiagramScaleFont());
            const QFontMetrics metrics = p.fontMetrics();
            pen.Line(scale.AxisX, 0, scale.AxisX, c.H);
            for (const TScaleTick& tick : ClimateScaleTicks(scale, c.H)) {
                pen.Line(scale.AxisX, tick.Y, scale.AxisX + 2, tick.Y);
                DrawTextAt(p, scale.LabelX, tick.Y - RoundHalfEven(metrics.height() * 0.5),
                           Text(FormatFixed(tick.Value, scale.Precision, scale.Decimals)));
            }
        }
        TBoxScope scope(p, c.Boxes.DiagramHeader);
        p.setPen(ToQColor(scale.Colour));
        p.setFont(DiagramScaleFont());
        DrawTextAt(p, c.Boxes.RightYAxisBox.Left + scale.HeaderX, 18 - p.fontMetrics().height(),
                   Text(scale.HeaderText));
    }
}

} // namespace

QFont DiagramAxisFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(AxisFontPixels);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QFont DiagramScaleFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(AxisFontPixels);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QColor ToQColor(TRgb colour) { return QColor(colour.R, colour.G, colour.B); }

void PaintDiagram(QPainter& painter, QSize panelSize, const TDiagramSources& sources, TViewState& view) {
    TDiagramLayout boxes;
    LayoutDiagramBoxes(panelSize.width(), panelSize.height(), boxes);
    const bool valid = sources.Data && sources.Units && sources.Data->Valid;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    FillBoxes(painter, boxes, valid ? ToQColor(White) : ToQColor(Silver));
    if (valid) {
        TPaintContext c{painter, boxes, *sources.Data, *sources.Units, view, VisibleRecords(view, *sources.Data),
                        {}, boxes.InnerWidth(), boxes.InnerHeight(), 0, sources.Smoothed, sources.ErrorBars};
        c.Scale = DiagramScale(c.Data, view, c.H);
        c.SmoothingPeriod = sources.Smoothed ? sources.Smoothed->Period : 0;
        PaintTimeAxis(c);
        PaintInnerDiagram(c);
        PaintLeftScale(c);
        PaintRightScales(c);
    }
    painter.restore();
    view.DiagramRepainted = true;
}

QImage RenderDiagramImage(QSize panelSize, const TDiagramSources& sources, TViewState& view, QColor background) {
    QImage image(panelSize.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dpi, the screen the box sizes are made for
    image.setDotsPerMeterY(3780);
    image.fill(background);
    QPainter painter(&image);
    PaintDiagram(painter, panelSize, sources, view);
    painter.end();
    return image;
}

} // namespace lumetra
