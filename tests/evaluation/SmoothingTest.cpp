#include "evaluation/Smoothing.h"
#include "evaluation/IntegralData.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace lumetra {
namespace {

// Radon values of one series, record 1 a series start.
TMeasurementData RadonSeries(std::initializer_list<Real> values) {
    TMeasurementData data;
    data.Valid = true;
    Word i = 0;
    for (const Real v : values) {
        ++i;
        data.Data[i].Radon = v;
        data.Data[i].RadonError = 10;
        data.Data[i].SeriesStart = i == 1;
    }
    data.NumberOfRecords = i;
    return data;
}

std::vector<Real> Smoothed(const TMeasurementData& data, Integer period, Byte mode = DisplayMode::Radon) {
    TSmoothedSeries series;
    series.DisplayMode = mode;
    series.Period = period;
    SmoothSeries(data, series);
    std::vector<Real> values;
    for (Word i = 1; i <= data.NumberOfRecords; ++i)
        values.push_back(series.Values[i]);
    return values;
}

TEST(SmoothSeries, MovingAverageStaysInsideItsSeries) {
    TMeasurementData data = RadonSeries({10, 20, 30, 40, 50});
    EXPECT_EQ(Smoothed(data, 1), (std::vector<Real>{15, 20, 30, 40, 45}));
    // P = 2: (10+20+30)/3, (10+..+40)/4, (10+..+50)/5, (20+..+50)/4, (30+40+50)/3
    EXPECT_EQ(Smoothed(data, 2), (std::vector<Real>{20, 25, 30, 35, 40}));
    // No smoothing leaves the values as they are.
    EXPECT_EQ(Smoothed(data, 0), (std::vector<Real>{10, 20, 30, 40, 50}));

    // A series start at record 4: record 3 averages 2 and 3, record 4 averages 4 and 5.
    data.Data[4].SeriesStart = true;
    EXPECT_EQ(Smoothed(data, 1), (std::vector<Real>{15, 20, 25, 45, 45}));
}

TEST(SmoothSeries, PeriodLongerThanTheDataSetGivesTheMeanOfEachSeries) {
    TMeasurementData data = RadonSeries({10, 20, 30, 40, 50, 60, 70});
    data.Data[4].SeriesStart = true;
    EXPECT_EQ(Smoothed(data, 6), (std::vector<Real>{20, 20, 20, 55, 55, 55, 55}));
    EXPECT_EQ(Smoothed(data, 1000000), (std::vector<Real>{20, 20, 20, 55, 55, 55, 55}));
    // A series of one record keeps its value, whatever lies around it.
    data.Data[7].SeriesStart = true;
    EXPECT_EQ(Smoothed(data, 6), (std::vector<Real>{20, 20, 20, 50, 50, 50, 70}));
}

TEST(SmoothSeries, QuantityFollowsTheDisplayMode) {
    TMeasurementData data = RadonSeries({0, 0, 0});
    const Real thoron[] = {100, 200, 400};
    const Real thoronError[] = {10, 0, -1}; // only the first is usable
    for (Word i = 1; i <= 3; ++i) {
        data.Data[i].Thoron = thoron[i - 1];
        data.Data[i].ThoronError = thoronError[i - 1];
        data.Data[i].ThoronPAEC = thoron[i - 1] / 10;
        data.Data[i].ThoronPAECError = thoronError[i - 1];
        data.Data[i].RadonFast = 3 * i;
        data.Data[i].RadonEEC = 6 * i;
        data.Data[i].RadonPAEC = 9 * i;
    }
    // Thoron values without a positive error are smoothed as 0.
    EXPECT_EQ(Smoothed(data, 1, DisplayMode::Thoron), (std::vector<Real>{50, 100.0 / 3, 0}));
    EXPECT_EQ(Smoothed(data, 1, DisplayMode::ThoronPAEC), (std::vector<Real>{5, 10.0 / 3, 0}));
    EXPECT_EQ(Smoothed(data, 1, DisplayMode::RadonFast), (std::vector<Real>{4.5, 6, 7.5}));
    EXPECT_EQ(Smoothed(data, 1, DisplayMode::RadonEEC), (std::vector<Real>{9, 12, 15}));
    EXPECT_EQ(Smoothed(data, 1, DisplayMode::RadonPAEC), (std::vector<Real>{13.5, 18, 22.5}));

    // "No value" and detection limits take part like any other value.
    data.Data[2].Radon = -1;
    data.Data[3].Radon = 7;
    data.Data[3].RadonError = -1;
    EXPECT_EQ(Smoothed(data, 1), (std::vector<Real>{-0.5, 2, 3}));
}

TEST(SmoothSeries, FullDataSet) {
    TMeasurementData data;
    data.NumberOfRecords = static_cast<Word>(MaxRecords);
    for (Word i = 1; i <= data.NumberOfRecords; ++i) {
        data.Data[i].Radon = i;
        data.Data[i].SeriesStart = i == 1 || i == 100;
    }
    TSmoothedSeries series;
    series.Period = 6;
    SmoothSeries(data, series);
    EXPECT_DOUBLE_EQ(series.Values[1], (1 + 2 + 3 + 4 + 5 + 6 + 7) / 7.0);
    EXPECT_DOUBLE_EQ(series.Values[99], (93 + 94 + 95 + 96 + 97 + 98 + 99) / 7.0);
    EXPECT_DOUBLE_EQ(series.Values[100], (100 + 101 + 102 + 103 + 104 + 105 + 106) / 7.0);
    EXPECT_DOUBLE_EQ(series.Values[5000], 5000);
    EXPECT_DOUBLE_EQ(series.Values[MaxRecords],
                     (16410 + 16411 + 16412 + 16413 + 16414 + 16415 + 16416) / 7.0);
}

TEST(MaxUpperErrorBound, TopOfTheErrorBars) {
    TMeasurementData data = RadonSeries({-1, -1, -1});
    for (Word i = 1; i <= 3; ++i)
        data.Data[i].RadonError = -1;
    // -1 with error -1 gives -0.99 and never raises the result above 0.
    EXPECT_EQ(MaxUpperErrorBound(1, 3, DisplayMode::Radon, data), 0);

    // A detection limit contributes 0.99 times its value.
    data.Data[2].Radon = 50;
    EXPECT_DOUBLE_EQ(MaxUpperErrorBound(1, 3, DisplayMode::Radon, data), 49.5);
    data.Data[3].Radon = 40;
    data.Data[3].RadonError = 25;
    EXPECT_DOUBLE_EQ(MaxUpperErrorBound(1, 3, DisplayMode::Radon, data), 50);
    // Only the range counts.
    EXPECT_DOUBLE_EQ(MaxUpperErrorBound(1, 2, DisplayMode::Radon, data), 49.5);
    EXPECT_DOUBLE_EQ(MaxUpperErrorBound(3, 3, DisplayMode::Radon, data), 50);

    // No zero substitution here: a thoron value with error 0 counts as it is. The EEC
    // carries the PAEC's error.
    data.Data[1].Thoron = 80;
    data.Data[1].ThoronError = 0;
    data.Data[2].RadonEEC = 100;
    data.Data[2].RadonPAECError = 10;
    data.Data[2].RadonPAEC = 200;
    EXPECT_DOUBLE_EQ(MaxUpperErrorBound(1, 3, DisplayMode::Thoron, data), 80);
    EXPECT_DOUBLE_EQ(MaxUpperErrorBound(1, 3, DisplayMode::RadonEEC, data), 110);
    EXPECT_DOUBLE_EQ(MaxUpperErrorBound(1, 3, DisplayMode::RadonPAEC, data), 220);
}

} // namespace
} // namespace lumetra
