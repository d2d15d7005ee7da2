#pragma once
// Record evaluation: raw counts, climate codes and tilt counters of the instrument data
// set become concentrations with relative Poisson errors and climate values in the
// chosen system of units.

#include "core/GlobalDefinitions.h"

namespace lumetra {

// The count values C1..C6 handed to the concentration calculation.
using TCountValues = Array1<Real, 6>;

// Absolute humidity in g/m³ from temperature (°C) and relative humidity (%), Magnus form.
// Not finite close to -241.2 °C and -273.15 °C, which only damaged climate codes give;
// callers treat such a result as no value.
Real AbsoluteHumidity(Real temperatureCelsius, Real humidity);

// Fills the concentration fields of `record` (Radon .. ThoronPAECError) from the count
// values of an effective measuring time `t` in minutes. `previousProgenyCount` carries
// the C5 of the previous call for the thoron progeny of Dosika types 2 and 6; it is
// updated by those types. A zero calibration word or a time t <= 0 leaves the affected
// values at -1 ("no value"); no NaN or infinity is ever stored.
void CalculateConcentrations(Byte unitSystem, Byte family, Byte type, TMeasurementRecord& record,
                             const TInstrumentSetup& setup, const TCountValues& counts, Real absoluteHumidity,
                             const Array1<Word, 6>& uniCon, Real t, Byte softwareVersion,
                             Real& previousProgenyCount);

// One raw record into one evaluated record (time, effective time, count sums, tilts,
// movement, climate values, concentrations).
void EvaluateRecord(Byte unitSystem, const TInstrumentHeader& header, const TInstrumentSetup& setup,
                    TMeasurementRecord& record, const TInstrumentRecord& raw, Real& previousProgenyCount);

// Which quantities a family and type deliver; false for a pair without an entry (the
// matrix is then left as it was).
bool ValidityMatrixFor(Byte family, Byte type, TSensorValidityMatrix& matrix);

// The whole raw data set into the measurement data set in the given units, records
// 1..N in order, with series starts and the validity matrix. A raw set that is not
// valid only makes the evaluated set not valid.
void EvaluateDataSet(const TPhysicalUnits& units, const TInstrumentData& raw, TMeasurementData& data);

// nJ/m³ to mWL: 1 mWL = 20.8 nJ/m³. The one place this factor lives.
Real NanojoulePerM3ToMilliWorkingLevel(Real value);

} // namespace lumetra
