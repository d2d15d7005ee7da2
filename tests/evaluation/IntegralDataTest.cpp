#include "evaluation/IntegralData.h"
#include "evaluation/RecordEvaluation.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

namespace lumetra {
namespace {

// The concentration calculation keeps its intermediates in single precision.
#define EXPECT_CLOSE(actual, expected) EXPECT_NEAR((actual), (expected), std::abs(expected) * 2e-6 + 1e-12)

Real Magnus(Real t, Real h) {
    return h * 1000 * 6.11213 * std::exp(17.5043 * t / (t + 241.2)) / ((t + 273.15) * 461.52);
}

struct TSet {
    TInstrumentData Raw;
    TMeasurementData Data;
};

// A data set of `n` records `interval` minutes apart, one series; the evaluated fields
// are filled by each test.
void Prepare(TSet& set, Byte family, Byte type, Byte software, Word n, Byte interval = 60,
             Byte units = UnitsSI) {
    set.Raw.Valid = true;
    set.Raw.NumberOfRecords = n;
    set.Raw.Header.DeviceFamily = family;
    set.Raw.Header.DeviceType = type;
    set.Raw.Header.SoftwareVersion = software;
    set.Raw.Header.DeviceNumber = 1234;
    set.Data.Valid = true;
    set.Data.NumberOfRecords = n;
    SetUnitSystem(units, set.Data.RelatedUnitSettings);
    for (Word i = 1; i <= n; ++i) {
        const TDeviceTime time = AddMinutes(MakeDeviceTime(2017, 3, 5, 0, 0), i * interval);
        set.Raw.Records[i].SampleInterval = interval;
        set.Raw.Records[i].Time = time;
        set.Data.Data[i].Time = time;
        set.Data.Data[i].SampleTime = interval;
        set.Data.Data[i].SeriesStart = i == 1;
    }
}

TIntegralData Integral(const TSet& set, Integer left, Integer right) {
    TIntegralData integral;
    integral.ShortestSampleInterval = 99; // the calculation must overwrite every field
    integral.SumSpectrum.Size = 5;
    CalculateIntegralData(left, right, set.Raw, integral, set.Data);
    return integral;
}

class IntegralData : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr); }
    void TearDown() override { std::setlocale(LC_ALL, Saved.c_str()); }
    std::string Saved = std::setlocale(LC_ALL, nullptr);
};

TEST_F(IntegralData, SingleCounterAverageComesFromTheSummedCounts) {
    struct Case {
        Byte Type, Software;
    };
    // Types and firmware without a humidity correction: C1 is the plain sum.
    for (const Case c : {Case{2, 7}, Case{3, 8}, Case{5, 1}, Case{7, 1}, Case{8, 1}, Case{9, 1}}) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << " software " << int(c.Software));
        TSet set;
        Prepare(set, FamilyHalvo, c.Type, c.Software, 4);
        set.Raw.Header.UniCon[1] = 300; // K1 = 0.3
        set.Data.SensorValidityMatrix.RadonValid = true;
        const Int64 counts[] = {100, 250, 400, 900};
        const Integer tilts[] = {0, 30, 0, 15};
        const Real radon[] = {333, 862, 1333, 2000};
        for (Word i = 1; i <= 4; ++i) {
            TMeasurementRecord& r = set.Data.Data[i];
            r.CountSums[1] = counts[i - 1];
            r.NumberOfTilts = tilts[i - 1];
            r.SampleTime = 60 - 4.0 * tilts[i - 1] / 60;
            r.Radon = radon[i - 1];
            r.RadonError = 5;
            r.Temperature = 20;
            r.Humidity = 50;
        }
        set.Raw.Records[2].SampleInterval = 120; // the largest interval is kept

        const TIntegralData a = Integral(set, 1, 3);
        const Real t = 60 + 58 + 60;
        EXPECT_CLOSE(a.RadonAverage, 750 * 1000 / t / 0.3);
        EXPECT_CLOSE(a.RadonAverageError, 100 * std::sqrt(750.0) / 750);
        EXPECT_CLOSE(a.RadonExposure, 240 * a.RadonAverage / 60);
        EXPECT_EQ(a.RadonMinimum, 333);
        EXPECT_EQ(a.RadonMaximum, 1333);
        EXPECT_EQ(a.IntegralCountSums[1], 750);
        EXPECT_EQ(a.NumberOfSamples, 3);
        EXPECT_EQ(a.TotalSampleTime, 240);
        EXPECT_EQ(a.ShortestSampleInterval, 120);
        EXPECT_EQ(a.TotalNumberOfTilts, 30);
        EXPECT_TRUE(a.DataOfOneSeries);
        EXPECT_EQ(a.LeftIndex, 1);
        EXPECT_EQ(a.RightIndex, 3);
        // Quantities the instrument does not deliver keep their initial values.
        EXPECT_EQ(a.RadonFastAverage, -1);
        EXPECT_EQ(a.RadonFastMinimum, 1.0E12);
        EXPECT_EQ(a.RadonFastMaximum, 0);
        EXPECT_EQ(a.ThoronMinimum, 1.0E12);
        EXPECT_EQ(a.RadonPAECMaximum, 0);
        EXPECT_EQ(a.DoseRadon, -1);
        EXPECT_EQ(a.DoseRadonFast, -1);
        EXPECT_EQ(a.DosePot, -1);
        EXPECT_EQ(a.ThoronPAECExposure, 0);
        EXPECT_EQ(a.SumSpectrum.Size, 0);

        // A range of one record.
        const TIntegralData one = Integral(set, 4, 4);
        EXPECT_EQ(one.NumberOfSamples, 1);
        EXPECT_TRUE(one.DataOfOneSeries);
        EXPECT_EQ(one.RadonMinimum, 2000);
        EXPECT_EQ(one.RadonMaximum, 2000);
        EXPECT_CLOSE(one.RadonAverage, 900 * 1000 / 59.0 / 0.3);
        EXPECT_EQ(one.TotalSampleTime, 60);
        EXPECT_EQ(one.ShortestSampleInterval, 60);
        EXPECT_EQ(one.TotalNumberOfTilts, 15);
    }
}

TEST_F(IntegralData, HumidityFactorPerRecordAndAverageHumidity) {
    const Real temperature[] = {20, 5, 30};
    const Real humidity[] = {50, 80, 35};
    const Integer counts[] = {500, 800, 300};
    for (const Byte units : {UnitsSI, UnitsUS}) {
        SCOPED_TRACE(testing::Message() << "units " << int(units));
        const Real toUs = units == UnitsUS ? 0.027 : 1.0;
        // Types 2 from software 8 and 3 from software 9 weight each record's counts.
        for (const Byte type : {Byte{2}, Byte{3}}) {
            TSet set;
            Prepare(set, FamilyHalvo, type, type == 2 ? 8 : 9, 3, 60, units);
            set.Raw.Header.UniCon[1] = 250; // K1 = 0.25
            set.Data.SensorValidityMatrix.RadonValid = true;
            Real c1 = 0;
            for (Word i = 1; i <= 3; ++i) {
                TMeasurementRecord& r = set.Data.Data[i];
                r.CountSums[1] = counts[i - 1];
                // US data sets hold °F; the Magnus formula wants °C.
                r.Temperature = units == UnitsUS ? 1.81 * temperature[i - 1] + 31 : temperature[i - 1];
                r.Humidity = humidity[i - 1];
                c1 += counts[i - 1] * ((Magnus(temperature[i - 1], humidity[i - 1]) - 10) * 0.0085 + 1);
            }
            const TIntegralData a = Integral(set, 1, 3);
            EXPECT_CLOSE(a.RadonAverage, c1 * 1000 / 180 / 0.25 * toUs);
            EXPECT_CLOSE(a.RadonAverageError, 100 * std::sqrt(c1) / c1);
            EXPECT_EQ(a.IntegralCountSums[1], 1600);
        }

        // Type 1 corrects with the average absolute humidity of the range.
        TSet set;
        Prepare(set, FamilyHalvo, 1, 1, 3, 60, units);
        set.Raw.Header.UniCon[2] = 2000; // K2
        set.Raw.Header.UniCon[3] = 5000; // K3
        set.Raw.Header.UniCon[4] = 1000; // K4
        set.Data.SensorValidityMatrix.RadonValid = true;
        Real ah = 0;
        for (Word i = 1; i <= 3; ++i) {
            TMeasurementRecord& r = set.Data.Data[i];
            r.CountSums[1] = counts[i - 1];
            r.Temperature = units == UnitsUS ? 1.81 * temperature[i - 1] + 31 : temperature[i - 1];
            r.Humidity = humidity[i - 1];
            ah += Magnus(temperature[i - 1], humidity[i - 1]) / 3;
        }
        const TIntegralData a = Integral(set, 1, 3);
        EXPECT_CLOSE(a.RadonAverage, 1600 * 1000 / 180.0 / (1 + 2 * std::exp(-ah / 5)) * toUs);
    }
}

TEST_F(IntegralData, UsAveragesAgreeWithSiAverages) {
    // One raw data set evaluated in both systems: the US average is the SI one × 0.027.
    for (const Byte type : {Byte{1}, Byte{2}}) {
        SCOPED_TRACE(testing::Message() << "type " << int(type));
        TInstrumentData raw;
        raw.Valid = true;
        raw.NumberOfRecords = 24;
        raw.Header.DeviceFamily = FamilyHalvo;
        raw.Header.DeviceType = type;
        raw.Header.SoftwareVersion = 9;
        raw.Header.UniCon = {{250, 2000, 5000, 1000, 0, 0}};
        for (Word i = 1; i <= 24; ++i) {
            TInstrumentRecord& r = raw.Records[i];
            r.SampleInterval = 60;
            r.Time = AddMinutes(MakeDeviceTime(2020, 6, 1, 0, 0), 60 * i);
            r.TemperatureRaw = 110 + 3 * i; // 15 .. 51 °C
            r.HumidityRaw = 60 + 4 * i;
            r.Counts = 300 + 37 * i;
        }
        TPhysicalUnits si;
        TPhysicalUnits us;
        SetUnitSystem(UnitsSI, si);
        SetUnitSystem(UnitsUS, us);
        TMeasurementData siData;
        TMeasurementData usData;
        EvaluateDataSet(si, raw, siData);
        EvaluateDataSet(us, raw, usData);
        TIntegralData siIntegral;
        TIntegralData usIntegral;
        CalculateIntegralData(3, 20, raw, siIntegral, siData);
        CalculateIntegralData(3, 20, raw, usIntegral, usData);
        ASSERT_GT(siIntegral.RadonAverage, 0);
        EXPECT_NEAR(usIntegral.RadonAverage, siIntegral.RadonAverage * 0.027,
                    siIntegral.RadonAverage * 0.027 * 1e-5);
        EXPECT_NEAR(usIntegral.RadonExposure, siIntegral.RadonExposure * 0.027,
                    siIntegral.RadonExposure * 0.027 * 1e-5);
        EXPECT_NEAR(usIntegral.RadonAverageError, siIntegral.RadonAverageError, 1e-4);
        EXPECT_EQ(usIntegral.RelatedUnitSettings.SelectedUnits, UnitsUS);
        EXPECT_EQ(usIntegral.RelatedUnitSettings.RnUnitString, "pCi/L");
    }
}

TEST_F(IntegralData, SpectrometricTypesUseTheirOwnHumidityCoefficient) {
    // With no counts in ROI 4 and no spill-over between ROI 2 and 3 the range values
    // have closed forms: fast = C1/t/K2, thoron = C2/t/K3, radon = (C1 + C3)/t/K1.
    struct Case {
        Byte Type, Software;
        Real Coefficient;
    };
    const Real temperature[] = {20, 28};
    const Real humidity[] = {50, 70};
    for (const Case c : {Case{4, 12, 0.025}, Case{6, 12, 0.0085}, Case{10, 12, 0.0085}, Case{6, 11, 0}}) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << " software " << int(c.Software));
        TSet set;
        Prepare(set, FamilyHalvo, c.Type, c.Software, 2, 30);
        set.Raw.Header.UniCon = {{2000, 1000, 500, 0, 0x1e1e, 56250}};
        TSensorValidityMatrix& m = set.Data.SensorValidityMatrix;
        m.RadonValid = m.RadonFastValid = m.ThoronValid = true;
        Real c1 = 0, c2 = 0, c3 = 0;
        for (Word i = 1; i <= 2; ++i) {
            TMeasurementRecord& r = set.Data.Data[i];
            r.Temperature = temperature[i - 1];
            r.Humidity = humidity[i - 1];
            r.CountSums = {{400 * i, 90 * i, 700 * i, 0, 5, 6}};
            const Real f = (Magnus(temperature[i - 1], humidity[i - 1]) - 10) * c.Coefficient + 1;
            c1 += 400 * i * f;
            c2 += 90 * i * f;
            c3 += 700 * i * f;
            for (Word ch = 1; ch <= IntervalChannels; ++ch)
                set.Raw.Records[i].Channels[ch] = ch * 10 + i;
        }
        const TIntegralData a = Integral(set, 1, 2);
        EXPECT_CLOSE(a.RadonFastAverage, c1 * 1000 / 60 / 1.0);
        EXPECT_CLOSE(a.RadonFastAverageError, 100 / std::sqrt(c1));
        EXPECT_CLOSE(a.ThoronAverage, c2 * 1000 / 60 / 0.5);
        EXPECT_CLOSE(a.ThoronAverageError, 100 / std::sqrt(c2));
        EXPECT_CLOSE(a.RadonAverage, (c1 + c3) * 1000 / 60 / 2.0);
        EXPECT_CLOSE(a.RadonAverageError, 100 / std::sqrt(c1 + c3));
        EXPECT_CLOSE(a.ThoronExposure, 60 * a.ThoronAverage / 60);
        EXPECT_EQ(a.IntegralCountSums, (TCountSums{{1200, 270, 2100, 0, 10, 12}}));
        // The interval spectra are summed channel by channel.
        EXPECT_EQ(a.SumSpectrum.Size, 38);
        EXPECT_EQ(a.SumSpectrum.Channels[1], 23);
        EXPECT_EQ(a.SumSpectrum.Channels[38], 763);
        EXPECT_EQ(a.SumSpectrum.Channels[39], 0);
    }
}

TEST_F(IntegralData, RangeOfOneSpectrometricRecordEqualsTheRecord) {
    for (const Byte type : {Byte{4}, Byte{6}, Byte{10}}) {
        SCOPED_TRACE(testing::Message() << "type " << int(type));
        TInstrumentData raw;
        raw.Valid = true;
        raw.NumberOfRecords = 3;
        raw.Header.DeviceFamily = FamilyHalvo;
        raw.Header.DeviceType = type;
        raw.Header.SoftwareVersion = 14;
        raw.Header.ROILevel = {{0, 10, 20, 30, 38}};
        raw.Header.UniCon = {{4000, 3000, 2500, 0x0a05, 0x1e14, 56250}};
        for (Word i = 1; i <= 3; ++i) {
            TInstrumentRecord& r = raw.Records[i];
            r.SampleInterval = 60;
            r.Time = AddMinutes(MakeDeviceTime(2020, 6, 1, 0, 0), 60 * i);
            r.TemperatureRaw = 120 + 10 * i;
            r.HumidityRaw = 100 + 20 * i;
            for (Word ch = 1; ch <= IntervalChannels; ++ch)
                r.Channels[ch] = ch <= 30 ? 200 + 7 * ch * i : 3 * i;
        }
        TPhysicalUnits si;
        SetUnitSystem(UnitsSI, si);
        TMeasurementData data;
        EvaluateDataSet(si, raw, data);
        for (Integer i = 1; i <= 3; ++i) {
            TIntegralData a;
            CalculateIntegralData(i, i, raw, a, data);
            EXPECT_CLOSE(a.RadonAverage, data.Data[i].Radon);
            EXPECT_CLOSE(a.RadonFastAverage, data.Data[i].RadonFast);
            EXPECT_CLOSE(a.ThoronAverage, data.Data[i].Thoron);
            EXPECT_CLOSE(a.ThoronAverageError, data.Data[i].ThoronError);
        }
    }
}

TEST_F(IntegralData, ThoronExtremesOnlyFromRecordsWithAPositiveError) {
    TSet set;
    Prepare(set, FamilyHalvo, 4, 5, 4);
    set.Data.SensorValidityMatrix.ThoronValid = true;
    const Real thoron[] = {50, 500, 5, 70};
    const Real error[] = {10, -1, 0, 20};
    for (Word i = 1; i <= 4; ++i) {
        set.Data.Data[i].Thoron = thoron[i - 1];
        set.Data.Data[i].ThoronError = error[i - 1];
    }
    TIntegralData a = Integral(set, 1, 3);
    EXPECT_EQ(a.ThoronMinimum, 50);
    EXPECT_EQ(a.ThoronMaximum, 50);
    a = Integral(set, 1, 4);
    EXPECT_EQ(a.ThoronMinimum, 50);
    EXPECT_EQ(a.ThoronMaximum, 70);
    a = Integral(set, 2, 3);
    EXPECT_EQ(a.ThoronMinimum, 1.0E12);
    EXPECT_EQ(a.ThoronMaximum, 0);
}

TEST_F(IntegralData, SeriesStartsAndPeriodTexts) {
    TSet set;
    Prepare(set, FamilyHalvo, 2, 7, 5, 10);
    set.Data.Data[3].SeriesStart = true;
    EXPECT_TRUE(Integral(set, 1, 2).DataOfOneSeries);
    EXPECT_FALSE(Integral(set, 2, 4).DataOfOneSeries);
    EXPECT_FALSE(Integral(set, 1, 5).DataOfOneSeries);
    // A range that begins with a series start is still one series.
    EXPECT_TRUE(Integral(set, 3, 5).DataOfOneSeries);

    // The range starts one interval before its first record's stamp (00:10 here).
    set.Raw.Records[1].SampleInterval = 15;
    const TIntegralData a = Integral(set, 1, 5);
    EXPECT_EQ(a.StartTestString, "03/04/17 23:55");
    EXPECT_EQ(a.EndTestString, "03/05/17 00:50");
    EXPECT_EQ(a.SamplePeriodString, "03/04/17 23:55 - 03/05/17 00:50");
    EXPECT_EQ(a.TotalSampleTime, 55);
    EXPECT_EQ(a.ShortestSampleInterval, 15);
}

TEST_F(IntegralData, DosikaRadonDoses) {
    // C1..C5 of the two counters, summed over the range.
    const Integer roi[3][5] = {{400, 300, 10, 900, 40}, {500, 250, 20, 1100, 60}, {450, 350, 30, 1000, 50}};
    const Real c1 = 1350, c2 = 900, c4 = 3000, c5 = 150, t = 3 * 120;
    const Real s = std::sqrt(c1 + c2 + 0.3164 * c5);
    const Real a = c1 + c2 - 0.5625 * c5;
    const Real fs = std::sqrt(c4 + s * s);
    for (const Word uniCon1 : {Word{50}, Word{0}}) {
        SCOPED_TRACE(testing::Message() << "UniCon[1] " << uniCon1);
        TSet set;
        Prepare(set, FamilyDosika, 1, 1, 3, 120);
        set.Raw.Header.UniCon = {{uniCon1, 40, 30, 0, 0, 0}};
        set.Data.SensorValidityMatrix.RadonValid = true;
        set.Data.SensorValidityMatrix.RadonFastValid = true;
        set.Data.SensorValidityMatrix.SpectrumValid = true;
        for (Word i = 1; i <= 3; ++i) {
            for (Word k = 1; k <= 5; ++k)
                set.Data.Data[i].CountSums[k] = roi[i - 1][k - 1];
            set.Data.Data[i].CountSums[6] = 7;
            set.Data.Data[i].Radon = 100.0 * i;
            set.Data.Data[i].RadonFast = 10.0 * i;
            set.Data.Data[i].NumberOfTilts = 3;
        }
        set.Raw.Spectrum.Size = 60;
        for (Word ch = 1; ch <= 60; ++ch)
            set.Raw.Spectrum.Channels[ch] = 1000 - ch;

        const TIntegralData d = Integral(set, 1, 3);
        EXPECT_EQ(d.IntegralCountSums, (TCountSums{{1350, 900, 60, 3000, 150, 21}}));
        const Real radon = (c4 + a) / t / (0.01 / 40);
        EXPECT_CLOSE(d.RadonAverage, radon);
        EXPECT_CLOSE(d.RadonAverageError, 100 * fs / (c4 + a));
        EXPECT_CLOSE(d.RadonExposure, 360 * radon / 60);
        EXPECT_EQ(d.RadonMinimum, 100);
        EXPECT_EQ(d.RadonMaximum, 300);
        // The downloaded sum spectrum is taken over whole.
        EXPECT_EQ(d.SumSpectrum, set.Raw.Spectrum);
        if (uniCon1 != 0) {
            const Real fast = a / t / (0.01 / 50);
            EXPECT_CLOSE(d.RadonFastAverage, fast);
            EXPECT_CLOSE(d.RadonFastAverageError, 100 * s / a);
            const Real factor = (10.0 / 50) * (10.0 * 30) / 16.66;
            EXPECT_CLOSE(d.DoseRadon, 0.001 * (360 * radon / 60) * factor);
            EXPECT_CLOSE(d.DoseRadonFast, 0.001 * (360 * fast / 60) * factor);
        } else {
            EXPECT_EQ(d.DoseRadon, -1);
            EXPECT_EQ(d.DoseRadonFast, -1);
        }
        EXPECT_EQ(d.DosePot, -1);
    }
}

TEST_F(IntegralData, DosikaProgenyAndPotentialAlphaEnergyDose) {
    // Counts of ROI 2, 4 and 5 decide the radon progeny.
    const Real c2 = 3000, c4 = 800, c5 = 400, t = 240, uniCon1 = 300;
    const Real d = std::sqrt(c2 + 0.3164 * c5);
    const Real w = c2 - 0.5625 * c5;
    const Real paec = (0.96 * w + 1.23 * c4) * uniCon1 / t;
    const Real paecError = (uniCon1 * std::sqrt(0.9216 * d * d + 1.5129 * c4) / t) * 100 / paec;
    for (const Byte type : {Byte{2}, Byte{6}}) {
        SCOPED_TRACE(testing::Message() << "type " << int(type));
        TSet set;
        Prepare(set, FamilyDosika, type, 1, 2, 120);
        set.Raw.Header.UniCon = {{300, 25, 0, 0, 0, 0}};
        TSensorValidityMatrix& m = set.Data.SensorValidityMatrix;
        m.RadonEECValid = m.RadonPAECValid = m.ThoronPAECValid = true;
        const Real thoronPaec[] = {12, 30};
        const Real thoronPaecError[] = {15, -1};
        for (Word i = 1; i <= 2; ++i) {
            TMeasurementRecord& r = set.Data.Data[i];
            r.CountSums = {{0, 1500, 0, 400, 200, 0}};
            r.RadonPAEC = 100.0 * i;
            r.RadonEEC = 20.0 * i;
            r.ThoronPAEC = thoronPaec[i - 1];
            r.ThoronPAECError = thoronPaecError[i - 1];
        }
        const TIntegralData a = Integral(set, 1, 2);
        EXPECT_CLOSE(a.RadonPAECAverage, paec);
        EXPECT_CLOSE(a.RadonPAECAverageError, paecError);
        EXPECT_CLOSE(a.RadonEECAverage, paec / 5.56844);
        EXPECT_CLOSE(a.RadonEECAverageError, paecError);
        EXPECT_CLOSE(a.RadonPAECExposure, 240 * paec / 60);
        EXPECT_CLOSE(a.RadonEECExposure, 240 * paec / 5.56844 / 60);
        // The thoron progeny average is the mean of the records with a positive error,
        // the others counting as 0; it has no error.
        EXPECT_EQ(a.ThoronPAECAverage, 6);
        EXPECT_EQ(a.ThoronPAECAverageError, -1);
        EXPECT_EQ(a.ThoronPAECMinimum, 12);
        EXPECT_EQ(a.ThoronPAECMaximum, 30);
        EXPECT_EQ(a.RadonPAECMinimum, 100);
        EXPECT_EQ(a.RadonEECMaximum, 40);
        EXPECT_EQ(a.ThoronPAECExposure, 0);
        if (type == 2)
            EXPECT_CLOSE(a.DosePot, 0.001 * (240 * paec / 60) * 2.5);
        else
            EXPECT_EQ(a.DosePot, -1);
        EXPECT_EQ(a.DoseRadon, -1);
    }
}

TEST_F(IntegralData, DosesDoNotDependOnTheUnits) {
    for (const Byte type : {Byte{1}, Byte{2}}) {
        SCOPED_TRACE(testing::Message() << "type " << int(type));
        TInstrumentData raw;
        raw.Valid = true;
        raw.NumberOfRecords = 6;
        raw.Header.DeviceFamily = FamilyDosika;
        raw.Header.DeviceType = type;
        raw.Header.UniCon = {{50, 40, 30, 0, 0, 0}};
        for (Word i = 1; i <= 6; ++i) {
            TInstrumentRecord& r = raw.Records[i];
            r.SampleInterval = 120;
            r.Time = AddMinutes(MakeDeviceTime(2020, 6, 1, 0, 0), 120 * i);
            r.ROICounts = {{400 + 10 * i, 3000 + 20 * i, 20, 800 + 5 * i, 200}};
        }
        TPhysicalUnits si;
        TPhysicalUnits us;
        SetUnitSystem(UnitsSI, si);
        SetUnitSystem(UnitsUS, us);
        TMeasurementData siData;
        TMeasurementData usData;
        EvaluateDataSet(si, raw, siData);
        EvaluateDataSet(us, raw, usData);
        TIntegralData a;
        TIntegralData b;
        CalculateIntegralData(1, 6, raw, a, siData);
        CalculateIntegralData(1, 6, raw, b, usData);
        if (type == 1) {
            ASSERT_GT(a.DoseRadon, 0);
            ASSERT_GT(a.DoseRadonFast, 0);
            EXPECT_NEAR(b.DoseRadon, a.DoseRadon, a.DoseRadon * 1e-6);
            EXPECT_NEAR(b.DoseRadonFast, a.DoseRadonFast, a.DoseRadonFast * 1e-6);
            EXPECT_NEAR(b.RadonExposure, a.RadonExposure * 0.027, a.RadonExposure * 0.027 * 1e-6);
        } else {
            ASSERT_GT(a.DosePot, 0);
            EXPECT_NEAR(b.DosePot, a.DosePot, a.DosePot * 1e-6);
            // 1 mWL = 20.8 nJ/m³
            EXPECT_NEAR(b.RadonPAECExposure, a.RadonPAECExposure / 20.8, a.RadonPAECExposure / 20.8 * 1e-6);
        }
    }
}

TEST_F(IntegralData, RangeWithoutAValueHasNoExposureOrDose) {
    // Records filled with tilts have no effective time, so the range has no value.
    TSet halvo;
    Prepare(halvo, FamilyHalvo, 2, 7, 2);
    halvo.Raw.Header.UniCon[1] = 300;
    halvo.Data.SensorValidityMatrix.RadonValid = true;
    for (Word i = 1; i <= 2; ++i) {
        halvo.Data.Data[i].SampleTime = 0;
        halvo.Data.Data[i].CountSums[1] = 50;
    }
    TIntegralData a = Integral(halvo, 1, 2);
    EXPECT_EQ(a.RadonAverage, -1);
    EXPECT_EQ(a.RadonExposure, -1);

    TSet dosika;
    Prepare(dosika, FamilyDosika, 1, 1, 1);
    dosika.Raw.Header.UniCon = {{50, 40, 30, 0, 0, 0}};
    dosika.Data.SensorValidityMatrix.RadonValid = true;
    dosika.Data.SensorValidityMatrix.RadonFastValid = true;
    dosika.Data.Data[1].SampleTime = 0;
    dosika.Data.Data[1].CountSums = {{400, 300, 10, 900, 40, 0}};
    a = Integral(dosika, 1, 1);
    EXPECT_EQ(a.RadonAverage, -1);
    EXPECT_EQ(a.RadonExposure, -1);
    EXPECT_EQ(a.RadonFastExposure, -1);
    EXPECT_EQ(a.DoseRadon, -1);
    EXPECT_EQ(a.DoseRadonFast, -1);
}

TEST_F(IntegralData, IndicesOutsideTheDataSetAreHeldInside) {
    TSet set;
    Prepare(set, FamilyHalvo, 7, 1, 3);
    set.Raw.Header.UniCon[1] = 500;
    set.Data.SensorValidityMatrix.RadonValid = true;
    for (Word i = 1; i <= 3; ++i)
        set.Data.Data[i].CountSums[1] = 100;
    TIntegralData a = Integral(set, 0, 70000);
    EXPECT_EQ(a.LeftIndex, 1);
    EXPECT_EQ(a.RightIndex, 3);
    EXPECT_EQ(a.NumberOfSamples, 3);
    EXPECT_CLOSE(a.RadonAverage, 300 * 1000 / 180.0 / 0.5);

    // A Dosika sum spectrum with a damaged size is copied, never indexed by it.
    set.Raw.Header.DeviceFamily = FamilyDosika;
    set.Raw.Header.DeviceType = 1;
    set.Raw.Spectrum.Size = 100000;
    a = Integral(set, 2, 2);
    EXPECT_EQ(a.SumSpectrum.Size, 100000);

    // An empty data set gives an empty range without touching any record.
    set.Data.NumberOfRecords = 0;
    a = Integral(set, 1, 1);
    EXPECT_EQ(a.NumberOfSamples, 0);
    EXPECT_EQ(a.TotalSampleTime, 0);
    EXPECT_EQ(a.SamplePeriodString, "");
    EXPECT_EQ(a.RadonAverage, -1);
    EXPECT_TRUE(std::isfinite(a.RadonExposure));
    EXPECT_TRUE(std::isfinite(a.ThoronPAECAverage));
}

TEST_F(IntegralData, DamagedClimateCodesLeaveNoNaN) {
    // Just below -241.2 °C the Magnus formula overflows to infinity.
    TSet set;
    Prepare(set, FamilyHalvo, 2, 8, 2);
    set.Raw.Header.UniCon = {{300, 0, 0, 0, 0, 0}};
    set.Data.SensorValidityMatrix.RadonValid = true;
    for (Word i = 1; i <= 2; ++i) {
        set.Data.Data[i].CountSums[1] = 100;
        set.Data.Data[i].Temperature = -241.3;
        set.Data.Data[i].Humidity = 50;
    }
    const TIntegralData a = Integral(set, 1, 2);
    EXPECT_TRUE(std::isfinite(a.RadonAverage));
    EXPECT_TRUE(std::isfinite(a.RadonAverageError));
    EXPECT_TRUE(std::isfinite(a.RadonExposure));
}

} // namespace
} // namespace lumetra
