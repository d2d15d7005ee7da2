#pragma once
// Stored records and the sum spectrum of a simulated Dosika-family instrument,
// generated from a daily radon cycle with Poisson counts from a seeded generator (the
// same seed gives the same data everywhere). Each record's interval spectrum has the
// five alpha peaks (Rn-222, Po-218, Po-216, Po-214, Po-212) on a falling background;
// a record's counters are the sums of that spectrum over the regions of interest, and
// the sum spectrum is the sum of all interval spectra, so the two agree.

#include "dosika/DosikaSimState.h"

#include <cstddef>
#include <cstdint>

namespace lumetra::sim {

struct TDkSeries {
    std::size_t Count = 48;     // cut to what one record block holds
    std::uint8_t Interval = 60; // minutes; also the state's sample interval
    std::uint64_t Seed = 1;
    double RadonMean = 300.0;   // Bq/m³
    double RadonSwing = 0.4;    // relative amplitude of the daily cycle, peak at 6:00
    double ThoronMean = 30.0;   // Bq/m³
    double TemperatureMean = 21.0, TemperatureSwing = 2.0; // °C, peak at 15:00 (Senra-R)
    double HumidityMean = 45.0, HumiditySwing = 8.0;       // % rH, lowest at 15:00
    double ShortIntervalChance = 0.05; // a record measured a few minutes short
};

// Fills Records, Spectrum and SampleInterval of the state for its type and firmware;
// the records start at state.StartTime.
void GenerateDkData(TDkSimState& state, const TDkSeries& series);

} // namespace lumetra::sim
