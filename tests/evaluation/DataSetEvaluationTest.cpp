// Whole data sets: validity matrix, series starts, the progeny state across records,
// and a randomised sweep for values that are not finite.

#include "EvaluationTestSupport.h"

#include <cstdint>
#include <memory>
#include <random>
#include <utility>

namespace lumetra {
namespace {

using namespace testing_support;

std::unique_ptr<TInstrumentData> RawSet(const TInstrumentHeader& header, Word count) {
    auto raw = std::make_unique<TInstrumentData>();
    raw->Valid = count > 0;
    raw->NumberOfRecords = count;
    raw->Header = header;
    for (Word i = 1; i <= count; ++i)
        raw->Records[i] = RawRecord(10);
    return raw;
}

TSensorValidityMatrix Row(std::initializer_list<int> flags, Byte rois) {
    TSensorValidityMatrix m;
    bool* fields[] = {&m.RadonValid,     &m.RadonFastValid,  &m.ThoronValid,   &m.RadonEECValid,
                      &m.RadonPAECValid, &m.ThoronPAECValid, &m.SpectrumValid, &m.IntervalSpectrumValid,
                      &m.MovementValid,  &m.TempValid,       &m.rHValid,       &m.PresValid,
                      &m.CO2Valid};
    std::size_t i = 0;
    for (int f : flags)
        *fields[i++] = f != 0;
    m.NumberOfValidROI = rois;
    return m;
}

TEST(ValidityMatrix, RowsOfEveryFamilyAndType) {
    struct Case {
        Byte Family, Type;
        TSensorValidityMatrix Expected;
    };
    //                  Rn Fa Tn EEC PAEC TnP Sp ISp Mov T  rH P  CO2
    const auto simple = Row({1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0}, 1);
    const auto withP = Row({1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0}, 1);
    const auto co2 = Row({1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 1}, 1);
    const auto spectro = Row({1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0}, 4);
    const Case cases[] = {
        {FamilyHalvo, 1, simple},
        {FamilyHalvo, 2, simple},
        {FamilyHalvo, 7, simple},
        {FamilyHalvo, 3, withP},
        {FamilyHalvo, 5, withP},
        {FamilyHalvo, 8, withP},
        {FamilyHalvo, 9, co2},
        {FamilyHalvo, 4, spectro},
        {FamilyHalvo, 6, spectro},
        {FamilyHalvo, 10, spectro},
        {FamilyDosika, 1, Row({1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, 5)},
        {FamilyDosika, 4, Row({1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, 5)},
        {FamilyDosika, 5, Row({1, 1, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0}, 5)},
        {FamilyDosika, 2, Row({0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0}, 5)},
        {FamilyDosika, 6, Row({0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0}, 5)},
    };
    for (const Case& c : cases) {
        auto m = Row({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 9); // every blank must be cleared
        EXPECT_TRUE(ValidityMatrixFor(c.Family, c.Type, m));
        EXPECT_EQ(m, c.Expected) << int{c.Family} << "/" << int{c.Type};
    }
    const auto before = Row({0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}, 3);
    for (auto [family, type] : {std::pair<Byte, Byte>{FamilyHalvo, 11},
                                {FamilyHalvo, 0},
                                {FamilyDosika, 3},
                                {FamilyDosika, 7},
                                {FamilyModem, 1}}) {
        auto m = before;
        EXPECT_FALSE(ValidityMatrixFor(family, type, m));
        EXPECT_EQ(m, before);
    }
}

TEST(EvaluateDataSet, SetsHeaderFieldsMatrixAndSeriesStarts) {
    auto raw = RawSet(Header(FamilyHalvo, 9, 1, {1000}), 4);
    raw->Records[2].Time = AddMinutes(raw->Records[1].Time, 10); // on time
    raw->Records[3].Time = AddMinutes(raw->Records[2].Time, 30); // a gap
    raw->Records[4].Time = AddMinutes(raw->Records[3].Time, 10);
    raw->Records[4].SampleInterval = 20; // interval changed
    auto data = std::make_unique<TMeasurementData>();
    TPhysicalUnits units;
    SetUnitSystem(UnitsUS, units);
    EvaluateDataSet(units, *raw, *data);

    EXPECT_TRUE(data->Valid);
    EXPECT_EQ(data->NumberOfRecords, 4);
    EXPECT_EQ(data->RelatedUnitSettings, units);
    EXPECT_EQ(data->SensorValidityMatrix, Row({1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 1}, 1));
    EXPECT_TRUE(data->Data[1].SeriesStart);
    EXPECT_FALSE(data->Data[2].SeriesStart);
    EXPECT_TRUE(data->Data[3].SeriesStart);
    EXPECT_TRUE(data->Data[4].SeriesStart);
    EXPECT_EQ(data->Data[3].Time, raw->Records[3].Time);
}

TEST(EvaluateDataSet, WritesEachRecordWhole) {
    auto raw = RawSet(Header(FamilyHalvo, 4, 2, {3000, 1000, 500}), 2);
    auto data = std::make_unique<TMeasurementData>();
    data->Data[1].NumberOfTilts = 99;
    data->Data[1].CO2 = 450;
    data->Data[1].CountSums[6] = 7;
    data->Data[3].CO2 = 450; // beyond the set: untouched
    data->SensorValidityMatrix.CO2Valid = true;
    EvaluateDataSet(TPhysicalUnits{}, *raw, *data);
    EXPECT_EQ(data->Data[1].NumberOfTilts, 0);
    EXPECT_EQ(data->Data[1].CO2, -1.0);
    EXPECT_EQ(data->Data[1].CountSums[6], 0);
    EXPECT_EQ(data->Data[3].CO2, 450.0);
    EXPECT_FALSE(data->SensorValidityMatrix.CO2Valid);
}

TEST(EvaluateDataSet, UnknownTypeKeepsTheMatrixAndInvalidSetOnlyClearsValid) {
    auto data = std::make_unique<TMeasurementData>();
    const auto before = Row({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2);
    data->SensorValidityMatrix = before;
    EvaluateDataSet(TPhysicalUnits{}, *RawSet(Header(FamilyHalvo, 12, 1, {1000}), 3), *data);
    EXPECT_TRUE(data->Valid);
    EXPECT_EQ(data->NumberOfRecords, 3);
    EXPECT_EQ(data->SensorValidityMatrix, before);

    data->Data[1].Radon = 123;
    auto invalid = RawSet(Header(FamilyHalvo, 1, 1, {1000}), 5);
    invalid->Valid = false;
    EvaluateDataSet(TPhysicalUnits{}, *invalid, *data);
    EXPECT_FALSE(data->Valid);
    EXPECT_EQ(data->NumberOfRecords, 3);
    EXPECT_EQ(data->Data[1].Radon, 123.0);
}

TEST(EvaluateDataSet, ThoronProgenyStartsAfreshEachTime) {
    auto raw = RawSet(Header(FamilyDosika, 6, 1, {3}), 3);
    const Integer roi5[] = {100, 100, 400};
    for (Word i = 1; i <= 3; ++i) {
        raw->Records[i].SampleInterval = 60;
        raw->Records[i].ROICounts[5] = roi5[i - 1];
    }
    auto first = std::make_unique<TMeasurementData>();
    auto second = std::make_unique<TMeasurementData>();
    EvaluateDataSet(TPhysicalUnits{}, *raw, *first);
    EvaluateDataSet(TPhysicalUnits{}, *raw, *first); // the same target again
    EvaluateDataSet(TPhysicalUnits{}, *raw, *second);
    for (Word i = 1; i <= 3; ++i) {
        EXPECT_EQ(first->Data[i].ThoronPAEC, second->Data[i].ThoronPAEC) << i;
        EXPECT_EQ(first->Data[i].ThoronPAECError, second->Data[i].ThoronPAECError) << i;
    }
    // Record 1 saw no previous count: 100 counts, error 10 %.
    EXPECT_TRUE(
        Near(first->Data[1].ThoronPAEC, 3.0 * 100 * 1000 / 3600.0 / 0.64 / 0.001085757 * 7.804 / 6240));
    EXPECT_TRUE(Near(first->Data[1].ThoronPAECError, 10.0));
    EXPECT_EQ(first->Data[2].ThoronPAECError, -1.0); // 100 after 100 is not significant
    EXPECT_GT(first->Data[3].ThoronPAECError, 0.0);
}

// Every Real of an evaluated record.
bool AllFinite(const TMeasurementRecord& r) {
    const Real values[] = {r.SampleTime,     r.Humidity,   r.Temperature, r.Pressure,       r.CO2,
                           r.Radon,          r.RadonError, r.RadonFast,   r.RadonFastError, r.Thoron,
                           r.ThoronError,    r.RadonEEC,   r.RadonPAEC,   r.RadonPAECError, r.ThoronPAEC,
                           r.ThoronPAECError};
    for (Real v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

TEST(EvaluateDataSet, RandomRawDataNeverGivesValuesThatAreNotFinite) {
    std::mt19937 random(20240301);
    auto pick = [&](Integer low, Integer high) {
        return std::uniform_int_distribution<Integer>(low, high)(random);
    };
    auto word = [&]() -> Word {
        switch (pick(0, 5)) {
        case 0:
            return 0;
        case 1:
            return 100;
        case 2:
            return static_cast<Word>((100 << 8) | pick(0, 255));
        case 3:
            return static_cast<Word>(pick(0, 255) << 8 | 100);
        default:
            return static_cast<Word>(pick(0, 65535));
        }
    };
    auto count = [&]() -> Integer {
        switch (pick(0, 4)) {
        case 0:
            return 0;
        case 1:
            return pick(-1000, 0);
        case 2:
            return pick(INT32_MIN, INT32_MAX);
        default:
            return pick(0, 2000);
        }
    };
    auto raw = std::make_unique<TInstrumentData>();
    auto data = std::make_unique<TMeasurementData>();
    Word records = 0;
    for (int set = 0; set < 400; ++set) {
        const bool halvo = pick(0, 1) == 0;
        TInstrumentHeader& h = raw->Header;
        h.DeviceFamily = halvo ? FamilyHalvo : FamilyDosika;
        h.DeviceType = static_cast<Byte>(halvo ? pick(1, 10) : pick(1, 6));
        h.SoftwareVersion = static_cast<Byte>(pick(0, 20));
        h.DeviceNumber = pick(0, 2000);
        for (auto& level : h.ROILevel)
            level = static_cast<Byte>(pick(0, 3) == 0 ? pick(0, 255) : pick(0, 40));
        for (auto& w : h.UniCon)
            w = word();
        raw->Setup.SetupWord = static_cast<Word>(pick(0, 65535));
        records = static_cast<Word>(pick(1, 40));
        for (Word i = 1; i <= records; ++i) {
            TInstrumentRecord& r = raw->Records[i];
            r.SampleInterval = static_cast<Byte>(pick(0, 255));
            r.Time = MakeDeviceTime(2024, 1, 1, 0, pick(0, 59));
            // Includes the poles of the humidity formula (raw -403 .. -413 is near -241 °C).
            r.TemperatureRaw = pick(0, 3) == 0 ? count() : pick(-700, 700);
            r.HumidityRaw = pick(0, 3) == 0 ? count() : pick(-100, 400);
            r.PressureRaw = count();
            r.Counts = count();
            r.Status = pick(0, 2) == 0 ? count() : pick(0, 300);
            for (auto& ch : r.Channels)
                ch = pick(0, 9) == 0 ? count() : pick(0, 50);
            r.ExtraCounts = count();
            for (auto& c : r.ROICounts)
                c = count();
        }
        raw->Valid = true;
        raw->NumberOfRecords = records;
        TPhysicalUnits units;
        SetUnitSystem(static_cast<Byte>(set % 2), units);
        EvaluateDataSet(units, *raw, *data);
        for (Word i = 1; i <= records; ++i) {
            const TMeasurementRecord& r = data->Data[i];
            ASSERT_TRUE(AllFinite(r)) << "set " << set << " record " << i << " family " << int{h.DeviceFamily}
                                      << " type " << int{h.DeviceType};
            ASSERT_GE(r.SampleTime, 0.0);
            if (r.SampleTime == 0.0) {
                ASSERT_EQ(r.Radon, -1.0);
            }
        }
    }
}

} // namespace
} // namespace lumetra
