#pragma once
// Internal to the record evaluation: the spill-over evaluation of the spectrometric
// types and the small numeric helpers the concentration formulas share.

#include "evaluation/RecordEvaluation.h"

#include <cmath>

namespace lumetra::evaluation_detail {

// The intermediates of the concentration formulas are single precision, as the
// instruments' own evaluation keeps them; expressions are computed in double and stored.
inline float Single(double x) {
    return static_cast<float>(x);
}

// Square root of a sum of counts. Only damaged data makes such a sum negative; it then
// counts as no spread instead of producing a NaN.
inline double SqrtCounts(double x) {
    return x > 0.0 ? std::sqrt(x) : 0.0;
}

// A sensitivity or other divisor that can be divided by.
inline bool Usable(double divisor) {
    return divisor != 0.0 && std::isfinite(divisor);
}

inline void NoValue(Real& value, Real& error) {
    value = -1.0;
    error = -1.0;
}

// Halvo types 4, 6, 10: four ROI count values C1..C4 with spill-over correction.
void HalvoSpectrometric(TMeasurementRecord& record, const TCountValues& c, const Array1<Word, 6>& uniCon,
                        Real t, Byte softwareVersion);

// Dosika types 4 and 5: ROI count values C2..C5 with spill-over correction.
void DosikaSpectrometric(TMeasurementRecord& record, const TCountValues& c, const Array1<Word, 6>& uniCon,
                         Real t);

} // namespace lumetra::evaluation_detail
