// The painted diagram checked pixel by pixel on a 900 × 500 panel: W = 700, H = 380,
// inner diagram at (80, 20), time axis box at (1, 400), right scales from x = 780.

#include "ui/DiagramPainter.h"

#include "DiagramTestData.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <vector>

namespace lumetra {
namespace {

using namespace diagram_test;

struct TRender {
    TPhysicalUnits Units;
    TRender() { SetUnitSystem(UnitsSI, Units); }

    QImage operator()(const TMeasurementData& data, TViewState& view, const TSmoothedSeries* smoothed = nullptr,
                      bool errorBars = false) const {
        TDiagramSources sources;
        sources.Data = &data;
        sources.Units = &Units;
        sources.Smoothed = smoothed;
        sources.ErrorBars = errorBars;
        return RenderDiagramImage(QSize(PanelWidth, PanelHeight), sources, view);
    }
};

// Pixels of the inner diagram in its own coordinates.
bool Inner(const QImage& image, int x, int y, int r, int g, int b) {
    return IsColour(image, InnerLeft + x, InnerTop + y, r, g, b);
}
bool InnerWhite(const QImage& image, int x, int y) { return Inner(image, x, y, 255, 255, 255); }
bool InnerGreen(const QImage& image, int x, int y) { return Inner(image, x, y, 0, 128, 0); }
bool InnerMaroon(const QImage& image, int x, int y) { return Inner(image, x, y, 128, 0, 0); }
bool InnerBlack(const QImage& image, int x, int y) { return Inner(image, x, y, 0, 0, 0); }

std::set<int> BlackRowsInColumn(const QImage& image, int x) {
    std::set<int> rows;
    for (int y = 0; y < H; ++y)
        if (InnerBlack(image, x, y))
            rows.insert(y);
    return rows;
}

// 30 records of radon 55 without error, one of 110 that sets the scale to 110
// (K = 380 / 110, so 55 lies at y = 190), 20 pixels apart.
std::unique_ptr<TMeasurementData> CurveSet() {
    auto data = FlatSet(30);
    for (std::size_t i = 1; i <= 30; ++i)
        data->Data[i].Radon = 55.0;
    data->Data[3].Radon = 110.0;
    data->Data[8].SeriesStart = true;
    return data;
}

TEST(DiagramPainter, WithoutDataAllFiveBoxesAreSilverAndNothingElse) {
    auto data = FlatSet(10);
    data->Valid = false;
    TViewState view = ViewOf(1, 10, 1);
    const QImage image = TRender()(*data, view);
    ASSERT_EQ(image.size(), QSize(PanelWidth, PanelHeight));
    // The boxes cover the panel but for its first row and column.
    int others = 0;
    for (int y = 1; y < PanelHeight; ++y)
        for (int x = 1; x < PanelWidth; ++x)
            if (!IsColour(image, x, y, 192, 192, 192))
                ++others;
    EXPECT_EQ(others, 0);
    EXPECT_TRUE(IsColour(image, 0, 0, 240, 240, 240));
    EXPECT_TRUE(view.DiagramRepainted);
}

TEST(DiagramPainter, StripsShadeTheBorderedAndMovedRecords) {
    auto data = FlatSet(30);
    data->SensorValidityMatrix.MovementValid = true;
    data->Data[15].Movement = true;
    data->Data[25].Movement = true;
    TViewState view = ViewOf(1, 30, 10);
    view.BordersSelected = true;
    view.LeftBorderIndex = 10;
    view.RightBorderIndex = 20;
    const QImage image = TRender()(*data, view);
    // Record i is drawn at x = 10 (i - 1); its strip is the 10 columns left of it,
    // from row 1 to row H - 2.
    for (int i = 2; i <= 30; ++i) {
        const int x = 10 * (i - 2) + 5;
        int r = 255;
        if (i == 15)
            r = 79;
        else if (i >= 10 && i <= 20)
            r = 47;
        else if (i == 25)
            r = 192;
        EXPECT_TRUE(Inner(image, x, 2, r, r, r)) << "record " << i;
        EXPECT_TRUE(Inner(image, x, H - 2, r, r, r)) << "record " << i;
        EXPECT_TRUE(InnerWhite(image, x, 0)) << "record " << i;
        EXPECT_TRUE(InnerWhite(image, x, H - 1)) << "record " << i;
    }
    // Strip edges: record 15 covers columns 130 .. 139.
    EXPECT_TRUE(Inner(image, 130, 100, 79, 79, 79));
    EXPECT_TRUE(Inner(image, 139, 100, 79, 79, 79));
    EXPECT_TRUE(Inner(image, 129, 100, 47, 47, 47));
    EXPECT_TRUE(Inner(image, 140, 100, 47, 47, 47));
    EXPECT_TRUE(Inner(image, 80, 100, 47, 47, 47)); // record 10 at x = 90 starts at 90 - 10
    EXPECT_TRUE(InnerWhite(image, 79, 100));         // record 9
}

TEST(DiagramPainter, MarkersAndTheSeriesStartLine) {
    auto data = CurveSet();
    TViewState view = ViewOf(1, 30, 20);
    const QImage image = TRender()(*data, view);
    // Record 5 at x = 80: an 8 × 8 green square from (76, 186) to (83, 193).
    EXPECT_TRUE(InnerGreen(image, 76, 186));
    EXPECT_TRUE(InnerGreen(image, 83, 193));
    EXPECT_TRUE(InnerGreen(image, 80, 190));
    EXPECT_TRUE(InnerWhite(image, 75, 186));
    EXPECT_TRUE(InnerWhite(image, 84, 186));
    EXPECT_TRUE(InnerWhite(image, 80, 185));
    EXPECT_TRUE(InnerWhite(image, 80, 194));
    // The curve joins the points along y = 190 ...
    EXPECT_TRUE(InnerGreen(image, 110, 190));
    EXPECT_TRUE(InnerGreen(image, 150, 190));
    // ... but breaks before the series start at record 8 (x = 140).
    EXPECT_TRUE(InnerWhite(image, 130, 190));
    EXPECT_TRUE(InnerWhite(image, 130, 189));
    EXPECT_TRUE(InnerMaroon(image, 136, 186));
    EXPECT_TRUE(InnerMaroon(image, 143, 193));
    // The maroon series-start line, 3 pixels wide over the whole height.
    for (int y : {0, 50, 300, H - 1}) {
        EXPECT_TRUE(InnerMaroon(image, 139, y)) << y;
        EXPECT_TRUE(InnerMaroon(image, 140, y)) << y;
        EXPECT_TRUE(InnerMaroon(image, 141, y)) << y;
        EXPECT_TRUE(InnerWhite(image, 138, y)) << y;
        EXPECT_TRUE(InnerWhite(image, 142, y)) << y;
    }
}

TEST(DiagramPainter, ErrorBarsOnlyWhenTheButtonIsDown) {
    auto data = CurveSet();
    data->Data[5].RadonError = 20.0; // e = Round(190 × 0.2) = 38
    TViewState view = ViewOf(1, 30, 20);
    const QImage plain = TRender()(*data, view);
    const QImage bars = TRender()(*data, view, nullptr, true);
    // Record 5 at x = 80, y = 190: bars at rows 152 and 228 from x - 4 to x + 3.
    for (int y : {152, 228}) {
        EXPECT_TRUE(InnerGreen(bars, 76, y)) << y;
        EXPECT_TRUE(InnerGreen(bars, 83, y)) << y;
        EXPECT_TRUE(InnerWhite(bars, 75, y)) << y;
        EXPECT_TRUE(InnerWhite(bars, 84, y)) << y;
        EXPECT_TRUE(InnerWhite(plain, 76, y)) << y;
    }
    // The upright joins them at x = 80.
    EXPECT_TRUE(InnerGreen(bars, 80, 160));
    EXPECT_TRUE(InnerGreen(bars, 80, 220));
    EXPECT_TRUE(InnerWhite(bars, 79, 220));
    EXPECT_TRUE(InnerWhite(bars, 81, 220));
    EXPECT_TRUE(InnerWhite(bars, 80, 229));
    EXPECT_TRUE(InnerWhite(plain, 80, 220));
}

TEST(DiagramPainter, GridLinesForThreeScales) {
    struct TCase {
        double Peak;
        std::set<int> Rows;
    };
    const std::vector<TCase> cases = {
        {0.0, {311, 242, 173, 104, 35}},                         // Ymax 110, N 20
        {45.0, {338, 296, 254, 212, 170, 128, 86, 44, 2}},        // N 5, 42 pixels
        {7.0, {326, 272, 218, 164, 110, 56, 2}},                  // N 1, 54 pixels
    };
    for (const TCase& c : cases) {
        auto data = FlatSet(702);
        data->Data[100].Radon = c.Peak;
        TViewState view = ViewOf(1, 702, 1);
        const QImage image = TRender()(*data, view);
        EXPECT_EQ(BlackRowsInColumn(image, 350), c.Rows) << c.Peak;
        const int y = *c.Rows.begin();
        EXPECT_TRUE(InnerBlack(image, 1, y)) << c.Peak;
        EXPECT_TRUE(InnerBlack(image, W - 1, y)) << c.Peak;
        EXPECT_TRUE(InnerWhite(image, W, y)) << c.Peak; // the right scale box
        // Left scale: a tick from the axis 4 pixels into the box, the axis at panel x 80.
        EXPECT_TRUE(IsColour(image, 77, InnerTop + y, 0, 0, 0)) << c.Peak;
        EXPECT_TRUE(IsColour(image, 76, InnerTop + y, 255, 255, 255)) << c.Peak;
        EXPECT_TRUE(IsColour(image, 80, InnerTop + y + 3, 0, 0, 0)) << c.Peak;
    }
}

TEST(DiagramPainter, OneRecordIsASingleMarkerWithTwoTicks) {
    auto data = FlatSet(1);
    data->Data[1].Radon = 50.0;
    data->Data[1].RadonError = 100.0; // Ymax 100: y = 380 - Round(190) = 190
    data->Data[1].SeriesStart = true; // as the evaluation marks every first record
    TViewState view = ViewOf(1, 1, W);
    const QImage image = TRender()(*data, view);
    int green = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (InnerGreen(image, x, y))
                ++green;
    EXPECT_EQ(green, 0);
    // The marker's visible right half and the series line; column 0 lies under the left axis.
    EXPECT_TRUE(InnerMaroon(image, 3, 186));
    EXPECT_TRUE(InnerMaroon(image, 3, 193));
    EXPECT_TRUE(InnerMaroon(image, 2, 190));
    EXPECT_TRUE(InnerMaroon(image, 1, 100));
    EXPECT_TRUE(InnerWhite(image, 2, 100));
    EXPECT_TRUE(InnerWhite(image, 4, 190));
    EXPECT_TRUE(InnerBlack(image, 0, 100));

    // Time axis: the line from box x 80 to 779, ticks at box x 80 and 780, 2 rows long.
    const int axisY = XAxisTop;
    EXPECT_TRUE(IsColour(image, XAxisLeft + 80, axisY, 0, 0, 0));
    EXPECT_TRUE(IsColour(image, XAxisLeft + 779, axisY, 0, 0, 0));
    EXPECT_FALSE(IsDark(image, XAxisLeft + 79, axisY));
    std::vector<int> tickColumns;
    for (int x = 1; x < PanelWidth; ++x)
        if (IsDark(image, x, axisY + 1))
            tickColumns.push_back(x - XAxisLeft);
    EXPECT_EQ(tickColumns, (std::vector<int>{80, 780}));
    EXPECT_FALSE(IsDark(image, XAxisLeft + 780, axisY + 2));
}

TEST(DiagramPainter, RotatedLabelRisesToEndAtItsTick) {
    auto data = FlatSet(1); // one caption only, at box x 80
    TViewState view = ViewOf(1, 1, W);
    const QImage image = TRender()(*data, view);
    const QString caption = QString::fromStdString(DateTimeText(data->Data[1].Time));
    const int width = QFontMetrics(DiagramAxisFont()).horizontalAdvance(caption);
    const int height = QFontMetrics(DiagramAxisFont()).height();
    const int d = static_cast<int>(std::lround(width * std::sqrt(0.5)));
    const int tickX = XAxisLeft + 80;
    const int tickEnd = XAxisTop + 2;

    int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN, xAtTop = 0, xAtBottom = 0;
    for (int y = tickEnd; y < PanelHeight; ++y)
        for (int x = 1; x < tickX + 40; ++x)
            if (IsDark(image, x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                if (y < minY) {
                    minY = y;
                    xAtTop = x;
                }
                if (y > maxY) {
                    maxY = y;
                    xAtBottom = x;
                }
            }
    ASSERT_NE(minX, INT_MAX) << "no label drawn";
    const int body = static_cast<int>(std::ceil(height * std::sqrt(0.5))); // glyphs hang below the top edge
    // The top edge of the text ends at the tick ...
    EXPECT_LE(minY, tickEnd + 4);
    EXPECT_LE(std::abs(xAtTop - tickX), 6);
    EXPECT_GE(maxX, tickX - 3);
    EXPECT_LE(maxX, tickX + body + 2);
    // ... and starts d pixels left of and below it.
    EXPECT_GE(minX, tickX - d - 3);
    EXPECT_LE(minX, tickX - d + body);
    EXPECT_GE(maxY, tickEnd + d - 4);
    EXPECT_LE(maxY, tickEnd + d + body + 2);
    EXPECT_LT(xAtBottom, xAtTop); // rising to the right
    EXPECT_LT(maxY, PanelHeight);
}

TEST(DiagramPainter, SmoothedCurveReplacesTheMarkers) {
    auto data = CurveSet();
    auto smoothed = std::make_unique<TSmoothedSeries>();
    smoothed->Period = 1;
    for (std::size_t i = 1; i <= 30; ++i)
        smoothed->Values[i] = 55.0;
    TViewState view = ViewOf(1, 30, 20);
    const QImage image = TRender()(*data, view, smoothed.get());
    // No marker corners.
    EXPECT_TRUE(InnerWhite(image, 76, 186));
    EXPECT_TRUE(InnerWhite(image, 136, 186));
    // Between records 5 and 6 the curve is three rows wide around the raw one.
    std::set<int> greenRows;
    for (int y = 180; y <= 200; ++y)
        if (InnerGreen(image, 90, y))
            greenRows.insert(y);
    EXPECT_EQ(greenRows, (std::set<int>{189, 190, 191}));
    // It breaks at the series start too.
    EXPECT_TRUE(InnerWhite(image, 128, 189));
    EXPECT_TRUE(InnerWhite(image, 128, 191));
    // The series line still shows.
    EXPECT_TRUE(InnerMaroon(image, 140, 50));
}

TEST(DiagramPainter, ClimateCurvesAndTheirScales) {
    auto data = FlatSet(30);
    data->SensorValidityMatrix.TempValid = true;
    data->SensorValidityMatrix.rHValid = true;
    for (std::size_t i = 1; i <= 30; ++i) {
        data->Data[i].Temperature = 25.0; // 380 - Round(45 × 380 / 60) = 95
        data->Data[i].Humidity = 50.0;    // 380 - 190 = 190
    }
    TViewState view = ViewOf(1, 30, 20);
    const QImage image = TRender()(*data, view);
    EXPECT_TRUE(Inner(image, 90, 95, 255, 0, 0));
    EXPECT_TRUE(Inner(image, 90, 190, 0, 0, 255));
    EXPECT_TRUE(InnerWhite(image, 90, 94));

    const int right = InnerLeft + W; // left of the right scale box
    for (int y : {10, 300}) {
        EXPECT_TRUE(IsColour(image, right, InnerTop + y, 255, 0, 0)) << y;
        EXPECT_TRUE(IsColour(image, right + 40, InnerTop + y, 0, 0, 255)) << y;
        EXPECT_TRUE(IsColour(image, right + 80, InnerTop + y, 255, 255, 255)) << y; // no pressure
    }
    // The 0 °C tick: y = 380 - Round(126.67) = 253, two pixels long.
    EXPECT_TRUE(IsColour(image, right + 1, InnerTop + 253, 255, 0, 0));
    EXPECT_TRUE(IsColour(image, right + 2, InnerTop + 253, 255, 255, 255));
    EXPECT_TRUE(IsColour(image, right + 1, InnerTop + 252, 255, 255, 255));
    // Its label at x 10, centred on the tick, and the unit headers.
    auto reddish = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const QRgb p = image.pixel(x, y);
                if (qRed(p) > 150 && qGreen(p) < 120 && qBlue(p) < 120)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(reddish(right + 10, right + 30, InnerTop + 253 - 7, InnerTop + 253 + 7));
    EXPECT_FALSE(reddish(right + 10, right + 30, InnerTop + 253 + 12, InnerTop + 253 + 20));
    EXPECT_TRUE(reddish(right + 10, right + 35, 1, 18));
}

} // namespace
} // namespace lumetra
