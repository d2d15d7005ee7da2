// A plausible evaluated data set drawn the way the main window shows it; the pictures
// are written to the working (build) folder to be looked at.

#include "ui/DiagramPainter.h"

#include "DiagramTestData.h"

#include <QDir>
#include <gtest/gtest.h>

#include <string>

namespace lumetra {
namespace {

using namespace diagram_test;

// The diagram panel of a 1200 × 760 window client area.
constexpr int ShotPanelWidth = 1184;
constexpr int ShotPanelHeight = 528;
constexpr int ShotW = ShotPanelWidth - 200;
constexpr int ShotH = ShotPanelHeight - 120;

class DiagramScreenshot : public ::testing::Test {
protected:
    void SetUp() override {
        Raw = HalvoSpectrumSet(500, 300);
        Data = Evaluated(*Raw);
        SetUnitSystem(UnitsSI, Units);
        ASSERT_TRUE(Data->Valid);
        ASSERT_EQ(Data->NumberOfRecords, 500);
        // The view after loading: all records fit, so the zoom is W div N.
        View.Zoom = ShotW / 500;
        View.FirstVisibleRecord = 1;
        View.LastVisibleRecord = 500;
        View.LeftBorderIndex = 1;
        View.RightBorderIndex = 500;
    }

    QImage Shot(const std::string& name, const TSmoothedSeries* smoothed = nullptr, bool errorBars = false) {
        TDiagramSources sources{Data.get(), &Units, smoothed, errorBars};
        QImage image = RenderDiagramImage(QSize(ShotPanelWidth, ShotPanelHeight), sources, View);
        const QString path = QDir::current().filePath(QString::fromStdString(name));
        EXPECT_TRUE(image.save(path)) << path.toStdString();
        return image;
    }

    static int CountColour(const QImage& image, int r, int g, int b) {
        int count = 0;
        for (int y = InnerTop; y < InnerTop + ShotH; ++y)
            for (int x = InnerLeft; x < InnerLeft + ShotW; ++x)
                if (IsColour(image, x, y, r, g, b))
                    ++count;
        return count;
    }

    std::unique_ptr<TInstrumentData> Raw;
    std::unique_ptr<TMeasurementData> Data;
    TPhysicalUnits Units;
    TViewState View;
};

TEST_F(DiagramScreenshot, FullView) {
    const QImage image = Shot("diagram-full.png");
    EXPECT_GT(CountColour(image, 0, 128, 0), 1000); // the radon curve and its markers
    EXPECT_GT(CountColour(image, 255, 0, 0), 200);  // temperature
    EXPECT_GT(CountColour(image, 0, 0, 255), 200);  // humidity
    EXPECT_GT(CountColour(image, 255, 0, 255), 200); // pressure
    // The six-hour gap after record 300 starts a new series at x = 300 (zoom 1).
    ASSERT_TRUE(Data->Data[301].SeriesStart);
    EXPECT_TRUE(IsColour(image, InnerLeft + 300, InnerTop + 10, 128, 0, 0));
    EXPECT_TRUE(IsColour(image, InnerLeft + 150, InnerTop + 10, 255, 255, 255) ||
                IsColour(image, InnerLeft + 150, InnerTop + 10, 192, 192, 192));
}

TEST_F(DiagramScreenshot, ZoomedWithBordersAndErrorBars) {
    View.Zoom = 7;
    View.FirstVisibleRecord = 200;
    View.LastVisibleRecord = 200 + ShotW / 7 + 1;
    View.BordersSelected = true;
    View.LeftBorderIndex = 220;
    View.RightBorderIndex = 260;
    const QImage image = Shot("diagram-zoomed.png", nullptr, true);
    // Record 240 lies inside the borders: its strip (x = 280 - 7 .. 279) is dark.
    const int stripX = InnerLeft + (240 - 200) * 7 - 3;
    const QRgb strip = image.pixel(stripX, InnerTop + 2);
    EXPECT_TRUE(strip == qRgb(47, 47, 47) || strip == qRgb(79, 79, 79));
    EXPECT_GT(CountColour(image, 47, 47, 47), 1000);
}

TEST_F(DiagramScreenshot, Smoothed) {
    auto smoothed = std::make_unique<TSmoothedSeries>();
    smoothed->DisplayMode = 1;
    smoothed->Period = 3;
    SmoothSeries(*Data, *smoothed);
    const QImage image = Shot("diagram-smoothed.png", smoothed.get());
    EXPECT_GT(CountColour(image, 0, 128, 0), 1000);
}

TEST_F(DiagramScreenshot, ThoronInUsUnits) {
    Data = Evaluated(*Raw, UnitsUS);
    SetUnitSystem(UnitsUS, Units);
    View.RadonDisplayMode = 3;
    const QImage image = Shot("diagram-thoron-us.png", nullptr, true);
    EXPECT_GT(CountColour(image, 0, 128, 0), 500);
}

TEST_F(DiagramScreenshot, Empty) {
    Data->Valid = false;
    const QImage image = Shot("diagram-empty.png");
    EXPECT_EQ(CountColour(image, 192, 192, 192), ShotW * ShotH);
}

} // namespace
} // namespace lumetra
