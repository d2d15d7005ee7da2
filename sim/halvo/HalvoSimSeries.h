#pragma once
// Stored records generated from a smooth radon and climate time series: a daily cycle
// around configurable means, Poisson counts from a seeded generator (the same seed
// gives the same records everywhere), and raw sensor codes found by inverting the
// conversions the instrument's evaluation applies.

#include "halvo/HalvoSimulator.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra::sim {

struct THalvoSeries {
    std::size_t Count = 100;
    int StartYear = 2017;
    std::uint8_t StartMonth = 3;
    std::uint8_t StartDay = 1;
    std::uint8_t StartHour = 0;
    std::uint8_t StartMinute = 0;
    std::uint8_t Interval = 60;  // minutes; also the records' interval byte
    std::uint64_t Seed = 1;
    double RadonMean = 100.0;    // Bq/m³
    double RadonSwing = 0.4;     // relative amplitude of the daily cycle (peak at 6:00)
    double ThoronMean = 20.0;    // Bq/m³, spectrum types
    double TemperatureMean = 21.0, TemperatureSwing = 2.0;  // °C, peak at 15:00
    double HumidityMean = 45.0, HumiditySwing = 8.0;        // %, lowest at 15:00
    double PressureMean = 1013.0, PressureSwing = 4.0;      // mbar, five-day wave
    double CO2Mean = 600.0, CO2Swing = 150.0;               // ppm, type 9
    double TiltsPerRecord = 0.0;                            // Poisson mean
};

// Records for the instrument's type, firmware, serial, calibration, setup word and
// regions of interest.
std::vector<THalvoSimRecord> GenerateHalvoRecords(const THalvoSimState& instrument, const THalvoSeries& series);

} // namespace lumetra::sim
