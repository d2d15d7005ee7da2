#include "evaluation/IntegralData.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace lumetra {
namespace {

class SummaryTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
        SetUnitSystem(UnitsSI, Si);
        SetUnitSystem(UnitsUS, Us);
        Integral.RelatedUnitSettings = Si;
        Integral.StartTestString = "03/04/17 23:55";
        Integral.EndTestString = "03/05/17 12:25";
        Integral.SamplePeriodString = "03/04/17 23:55 - 03/05/17 12:25";
        Integral.NumberOfSamples = 75;
        Integral.TotalSampleTime = 750;
        Header.DeviceFamily = FamilyHalvo;
        Header.DeviceType = 6;
        Header.DeviceNumber = 1234;
    }
    void TearDown() override { std::setlocale(LC_ALL, Saved.c_str()); }

    // With the program's units those the integral was made with.
    TSummaryTexts Texts(Byte mode, bool borders = true) const {
        const TPhysicalUnits& units = Integral.RelatedUnitSettings.SelectedUnits == UnitsUS ? Us : Si;
        return SummaryTexts(mode, Integral, units, Header, borders, Translate);
    }
    TSummaryTexts Texts(Byte mode, const TPhysicalUnits& units) const {
        return SummaryTexts(mode, Integral, units, Header, true, Translate);
    }

    // Marks every text that went through the lookup.
    TTranslate Translate = [](const std::string& text) { return "[" + text + "]"; };
    std::string Saved = std::setlocale(LC_ALL, nullptr);
    TPhysicalUnits Si;
    TPhysicalUnits Us;
    TIntegralData Integral;
    TInstrumentHeader Header;
};

TEST_F(SummaryTextsTest, BookkeepingLabels) {
    const TSummaryTexts t = Texts(DisplayMode::Radon);
    EXPECT_EQ(t.StartTestLabel, "03/04/17 23:55");
    EXPECT_EQ(t.EndTestLabel, "03/05/17 12:25");
    EXPECT_EQ(t.PeriodLabel, "03/04/17 23:55 - 03/05/17 12:25");
    EXPECT_EQ(t.DevNumberLabel, "Thoron-Halvo SN: 1234");
    EXPECT_EQ(t.TotalRecordsLabel, "75");
    EXPECT_EQ(t.ExposureTimeLabel, "12.5[ hours]");
    EXPECT_TRUE(t.ExposureVisible);

    Header.DeviceFamily = FamilyDosika;
    Header.DeviceType = 2;
    Header.DeviceNumber = 77;
    Integral.TotalSampleTime = 1;
    EXPECT_EQ(Texts(DisplayMode::Radon).DevNumberLabel, "Dosika PRO SN: 77");
    EXPECT_EQ(Texts(DisplayMode::Radon).ExposureTimeLabel, "0.0[ hours]");

    // Without a lookup the English texts are shown.
    const TSummaryTexts english = SummaryTexts(DisplayMode::Radon, Integral, Si, Header, true, nullptr);
    EXPECT_EQ(english.ExposureItemLabel, "Exposure");
}

TEST_F(SummaryTextsTest, ColourFollowsBordersAndSeries) {
    Integral.DataOfOneSeries = true;
    TSummaryTexts t = Texts(DisplayMode::Radon, false);
    EXPECT_EQ(t.Colour, TSummaryColour::Grey);
    EXPECT_EQ(t.PrintButton, TPrintButtonState::Unchanged);
    t = Texts(DisplayMode::Radon, true);
    EXPECT_EQ(t.Colour, TSummaryColour::Black);
    EXPECT_EQ(t.PrintButton, TPrintButtonState::FollowExport);

    Integral.DataOfOneSeries = false;
    t = Texts(DisplayMode::Radon, true);
    EXPECT_EQ(t.Colour, TSummaryColour::Red);
    EXPECT_EQ(t.PrintButton, TPrintButtonState::Disabled);
    t = Texts(DisplayMode::Radon, false);
    EXPECT_EQ(t.Colour, TSummaryColour::Grey);
    EXPECT_EQ(t.PrintButton, TPrintButtonState::Unchanged);
}

TEST_F(SummaryTextsTest, RadonAveragesExposuresAndDoses) {
    Integral.RadonAverage = 1549.4;
    Integral.RadonAverageError = 4.6;
    Integral.RadonExposure = 19367.5;
    TSummaryTexts t = Texts(DisplayMode::Radon);
    EXPECT_EQ(t.AverageLabel, "1549 Bq/m³ ±5 %");
    EXPECT_EQ(t.ExposureItemLabel, "[Exposure]");
    EXPECT_EQ(t.ExposureLabel, "19368 Bqh/m³");

    // A dose replaces the exposure.
    Integral.DoseRadon = 0.12345;
    t = Texts(DisplayMode::Radon);
    EXPECT_EQ(t.ExposureItemLabel, "[Dose]");
    EXPECT_EQ(t.ExposureLabel, "0.123 µSv");

    // Below the detection limit: an upper limit for the average and the exposure.
    Integral.DoseRadon = -1;
    Integral.RadonAverage = 12.4;
    Integral.RadonAverageError = -1;
    Integral.RadonExposure = 155;
    t = Texts(DisplayMode::Radon);
    EXPECT_EQ(t.AverageLabel, "< 12 Bq/m³");
    EXPECT_EQ(t.ExposureLabel, "< 155 Bqh/m³");
    // No counts (error 0): the average is shown as a limit, the exposure is not.
    Integral.RadonAverageError = 0;
    t = Texts(DisplayMode::Radon);
    EXPECT_EQ(t.AverageLabel, "< 12 Bq/m³");
    EXPECT_EQ(t.ExposureLabel, "155 Bqh/m³");

    Integral.RadonFastAverage = 880.5;
    Integral.RadonFastAverageError = 12.5;
    Integral.RadonFastExposure = 11006.25;
    Integral.DoseRadonFast = 0;
    t = Texts(DisplayMode::RadonFast);
    EXPECT_EQ(t.AverageLabel, "881 Bq/m³ ±13 %");
    EXPECT_EQ(t.ExposureItemLabel, "[Exposure]");
    EXPECT_EQ(t.ExposureLabel, "11006 Bqh/m³");
    Integral.DoseRadonFast = 2.5;
    t = Texts(DisplayMode::RadonFast);
    EXPECT_EQ(t.ExposureItemLabel, "[Dose]");
    EXPECT_EQ(t.ExposureLabel, "2.500 µSv");
}

TEST_F(SummaryTextsTest, ThoronAndProgenyModes) {
    Integral.DoseRadon = 5; // never shown for thoron
    Integral.ThoronAverage = 45.6;
    Integral.ThoronAverageError = -1;
    Integral.ThoronExposure = 570;
    TSummaryTexts t = Texts(DisplayMode::Thoron);
    EXPECT_EQ(t.AverageLabel, "< 46 Bq/m³");
    EXPECT_EQ(t.ExposureItemLabel, "[Exposure]");
    EXPECT_EQ(t.ExposureLabel, "< 570 Bqh/m³");
    Integral.ThoronAverageError = 33.3;
    t = Texts(DisplayMode::Thoron);
    EXPECT_EQ(t.AverageLabel, "46 Bq/m³ ±33 %");
    EXPECT_EQ(t.ExposureLabel, "570 Bqh/m³");

    // EEC has no upper-limit form.
    Integral.RadonEECAverage = 100.4;
    Integral.RadonEECAverageError = -1;
    Integral.RadonEECExposure = 1255;
    t = Texts(DisplayMode::RadonEEC);
    EXPECT_EQ(t.AverageLabel, "100 Bq/m³ ±-1 %");
    EXPECT_EQ(t.ExposureLabel, "1255 Bqh/m³");

    Integral.RadonPAECAverage = 559.04;
    Integral.RadonPAECAverageError = 8.49;
    Integral.RadonPAECExposure = 6988;
    t = Texts(DisplayMode::RadonPAEC);
    EXPECT_EQ(t.AverageLabel, "559 nJ/m³ ±8 %");
    EXPECT_EQ(t.ExposureItemLabel, "[Exposure]");
    EXPECT_EQ(t.ExposureLabel, "6988 nJh/m³");
    Integral.DosePot = 17.4705;
    t = Texts(DisplayMode::RadonPAEC);
    EXPECT_EQ(t.ExposureItemLabel, "[Dose]");
    EXPECT_EQ(t.ExposureLabel, "17.471 µSv");

    Integral.ThoronPAECAverage = 6;
    Integral.ThoronPAECAverageError = -1;
    t = Texts(DisplayMode::ThoronPAEC);
    EXPECT_EQ(t.AverageLabel, "6 nJ/m³");
    EXPECT_EQ(t.ExposureItemLabel, "");
    EXPECT_EQ(t.ExposureLabel, "");
}

TEST_F(SummaryTextsTest, UsUnitsHideExposureAndDose) {
    Integral.RelatedUnitSettings = Us;
    Integral.RadonAverage = 41.834;
    Integral.RadonAverageError = 4.6;
    Integral.RadonPAECAverage = 26.876;
    Integral.RadonPAECAverageError = 10;
    TSummaryTexts t = Texts(DisplayMode::Radon);
    EXPECT_EQ(t.AverageLabel, "41.8 pCi/L ±5 %");
    EXPECT_FALSE(t.ExposureVisible);
    t = Texts(DisplayMode::RadonPAEC);
    EXPECT_EQ(t.AverageLabel, "26.9 mWL ±10 %");
    EXPECT_FALSE(t.ExposureVisible);
    // Visibility follows the units the integral was made with, the unit strings the
    // program's current settings.
    t = Texts(DisplayMode::Radon, Si);
    EXPECT_FALSE(t.ExposureVisible);
    EXPECT_EQ(t.AverageLabel, "42 Bq/m³ ±5 %");
    Integral.RelatedUnitSettings = Si;
    EXPECT_TRUE(Texts(DisplayMode::Radon, Us).ExposureVisible);
}

TEST_F(SummaryTextsTest, DecimalSeparatorOfTheLocale) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 not installed";
    Integral.RelatedUnitSettings = Us;
    Integral.RadonAverage = 41.834;
    Integral.RadonAverageError = 4.6;
    const TSummaryTexts t = Texts(DisplayMode::Radon);
    EXPECT_EQ(t.AverageLabel, "41,8 pCi/L ±5 %");
    EXPECT_EQ(t.ExposureTimeLabel, "12,5[ hours]");
}

} // namespace
} // namespace lumetra
