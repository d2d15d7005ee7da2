// The protocol's geometry and texts without a printer.

#include "ui/ProtocolLayout.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

const TTranslate English = [](const std::string& text) { return text; };

TEST(ProtocolLayout, PageAreaAndLayoutRows) {
    const TPageArea a4 = UsableArea(4958, 7016); // A4 at 600 dpi
    EXPECT_EQ(a4.X0, 496);
    EXPECT_EQ(a4.X1, 4710);
    EXPECT_EQ(a4.Y0, 702); // 701.6
    EXPECT_EQ(a4.Y1, 6665); // 6665.2
    struct TCase {
        Byte Family, Type;
        Real Main, Spectrum, Gap;
    };
    const TCase cases[] = {{2, 1, 0.3, 0, 0.025},  {2, 7, 0.3, 0, 0.025},   {2, 9, 0.24, 0, 0.02},
                           {2, 10, 0.28, 0.28, 0.025}, {1, 6, 0.3, 0.3, 0.033}, {1, 5, 0.35, 0.35, 0.033},
                           {1, 3, 0, 0, 0},         {2, 11, 0, 0, 0}};
    for (const TCase& c : cases) {
        const TPrintLayout l = SelectPrintLayout(c.Family, c.Type);
        EXPECT_EQ(l.MainDiagramHeight, c.Main) << int{c.Family} << "/" << int{c.Type};
        EXPECT_EQ(l.SpectrumHeight, c.Spectrum) << int{c.Family} << "/" << int{c.Type};
        EXPECT_EQ(l.SectionGap, c.Gap) << int{c.Family} << "/" << int{c.Type};
    }
    const TSectionGeometry g = SectionGeometry({100, 1100, 100, 1100}, SelectPrintLayout(2, 4));
    EXPECT_EQ(g.PlotWidth, 880);
    EXPECT_EQ(g.PlotLeft, 220);
    EXPECT_EQ(g.BoxLeft, 100);
    EXPECT_EQ(g.Gap, 25);
}

TEST(ProtocolLayout, SectionsFlowDownThePages) {
    // Height 1000: top offset 90, gap 25; sections of 100, 280, 140, 140, 280, 100.
    TPlacementCursor cursor({0, 1000, 0, 1000}, SelectPrintLayout(2, 4));
    const std::pair<Integer, Integer> expected[] = {{90, 0}, {215, 0}, {520, 0}, {685, 0}, {0, 1}, {305, 0}};
    const Integer heights[] = {100, 280, 140, 140, 280, 100};
    for (std::size_t i = 0; i < std::size(heights); ++i) {
        const auto place = cursor.Place(heights[i]);
        EXPECT_EQ(place.Top, expected[i].first) << i;
        EXPECT_EQ(place.NewPage, expected[i].second == 1) << i;
    }
}

TEST(ProtocolLayout, AxisSteps) {
    EXPECT_EQ(ProtocolGridStep(537), 60);
    EXPECT_EQ(ProtocolGridStep(0), 2); // an axis up to 10
    EXPECT_EQ(ProtocolGridStep(100), 11); // v = 10 is not reduced
    EXPECT_EQ(TimeTickStep(1440, 60), 180);
    EXPECT_EQ(TimeTickStep(5, 1), 1); // 0 becomes 1
    EXPECT_EQ(TimeTickStep(600, 0), 60);
    EXPECT_EQ(SpectrumBarWidth(880, 60), 14);
    EXPECT_EQ(SpectrumBarWidth(880, 0), 0);
}

TEST(ProtocolLayout, CommentBreaksBetweenAnyTwoCharacters) {
    const auto width = [](const std::string& text) { return static_cast<Integer>(text.size()) * 10; };
    EXPECT_EQ(BreakCommentLines("Cellar, north wall", 60, width),
              (std::vector<std::string>{"Cellar", ", nort", "h wall"}));
    EXPECT_TRUE(BreakCommentLines("", 60, width).empty());
    // A box narrower than one character still takes one per line; "ü" stays whole.
    EXPECT_EQ(BreakCommentLines("aüb", 5, width), (std::vector<std::string>{"a", "ü", "b"}));
}

TEST(ProtocolLayout, ResultsRowsInSIAndUS) {
    TInstrumentData raw;
    raw.Header.DeviceFamily = FamilyHalvo;
    raw.Header.DeviceType = 3;
    raw.Header.DeviceNumber = 815;
    TIntegralData d;
    d.RadonAverage = 123.4;
    d.RadonAverageError = 5.25;
    d.RadonMaximum = 300;
    d.RadonMinimum = 12;
    d.RadonExposure = 2961.6;
    d.DoseRadon = -1;
    d.NumberOfSamples = 24;
    d.SamplePeriodString = "1 d 0 h";
    d.TotalSampleTime = 1440;
    d.TotalNumberOfTilts = 3;
    d.StartTestString = "start";
    d.EndTestString = "end";
    TPhysicalUnits si;
    SetUnitSystem(UnitsSI, si);
    TResultsRows rows = ProtocolResultsRows(d, raw, DisplayMode::Radon, si, English);
    EXPECT_EQ(rows[0][1], "Halvo PLUS SN: 815");
    EXPECT_EQ(rows[0][3], "123 Bq/m³ ±5.3%");
    EXPECT_EQ(rows[1][2] + rows[1][3], "Exposure:2962 Bqh/m³");
    EXPECT_EQ(rows[2][2] + rows[2][3], "Maximum:300 Bq/m³");
    EXPECT_EQ(rows[3][1], "24.0 hours");
    d.DoseRadon = 0.0125;
    rows = ProtocolResultsRows(d, raw, DisplayMode::Radon, si, English);
    EXPECT_EQ(rows[1][2] + rows[1][3], "Dose:0.013 µSv");
    // Thoron without error: an upper limit; PAEC of thoron: no error, no row 2.
    d.ThoronAverage = 4;
    d.ThoronAverageError = -1;
    EXPECT_EQ(ProtocolResultsRows(d, raw, DisplayMode::Thoron, si, English)[0][3], "< 4 Bq/m³");
    rows = ProtocolResultsRows(d, raw, DisplayMode::ThoronPAEC, si, English);
    EXPECT_EQ(rows[1][2] + rows[1][3], "");

    TPhysicalUnits us;
    SetUnitSystem(UnitsUS, us);
    rows = ProtocolResultsRows(d, raw, DisplayMode::Radon, us, English);
    EXPECT_EQ(rows[1][2] + rows[1][3], "Tilts:3");
    EXPECT_EQ(rows[2][2] + rows[2][3], "Start Test:start");
    EXPECT_EQ(rows[3][2] + rows[3][3], "End Test:end");
}

} // namespace
} // namespace lumetra
