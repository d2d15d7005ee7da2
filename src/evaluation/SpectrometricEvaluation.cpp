#include "evaluation/SpectrometricEvaluation.h"

// Spill-over evaluation of the region-of-interest counts. Each region's count carries
// a fraction of the counts of the regions above it in energy; the net counts are
// worked out from the highest region down, each with its Poisson variance. Where a net
// count is not significant the detection limit is stored with error -1.
//
// A calibration word that leaves a divisor or a spill-over coefficient undefined
// (a sensitivity of 0, two equal sensitivities, a percentage of exactly 100) leaves
// every value that depends on it at -1 with error -1.

namespace lumetra::evaluation_detail {
namespace {

// Counts of an interval of t minutes over a sensitivity, in Bq/m³.
inline double Rate(double counts, Real t, double sensitivity) {
    return counts * 1000.0 / t / sensitivity;
}

// The spill-over fraction of a region whose share is `percent` of the counts above it;
// undefined at 100 %.
inline bool SpillOver(int percent, float& coefficient) {
    if (percent == 100) {
        coefficient = 0.0f;
        return false;
    }
    coefficient = static_cast<float>(percent) / static_cast<float>(100 - percent);
    return true;
}

} // namespace

void HalvoSpectrometric(TMeasurementRecord& r, const TCountValues& c, const Array1<Word, 6>& uniCon, Real t,
                        Byte softwareVersion) {
    const float K1 = static_cast<float>(uniCon[1]) / 1000.0f;
    const float K2 = static_cast<float>(uniCon[2]) / 1000.0f;
    const float K3 = static_cast<float>(uniCon[3]) / 1000.0f;
    const float K12 = K1 - K2;

    float u = 0.5625f;
    float v = 0.02f;
    float y = 0.05f;
    if (softwareVersion >= 3) {
        u = static_cast<float>(uniCon[6]) / 100000.0f;
        // Tenths of a percent from one byte: at most 25.5 %, so 100 - p never vanishes.
        const float p = static_cast<float>(uniCon[5] >> 8) / 10.0f;
        const float q = static_cast<float>(uniCon[5] & 0xFF) / 10.0f;
        v = p / (100.0f - p);
        y = q / (100.0f - q);
    }
    float z = 0.0f;
    float w = 0.0f;
    const bool zKnown = SpillOver(uniCon[4] >> 8, z);
    const bool wKnown = SpillOver(uniCon[4] & 0xFF, w);

    const double C1 = c[1];
    const double C2 = c[2];
    const double C3 = c[3];
    const double C4 = c[4];
    const float g = Single(3.0 * C4);

    // 1. ROI 3 net of ROI 4.
    const bool fKnown = Usable(K12);
    const float lim3 = Single(2.0 * SqrtCounts(double{y} * y * g));
    float G = 0.0f;
    float B = 0.0f;
    float E = 0.0f;
    float F = 0.0f;
    float H = 0.0f;
    if (lim3 <= 0.1) {
        G = Single(C3);
        B = Single(C3);
        F = fKnown ? Single(Rate(C3, t, K12)) : 0.0f;
        H = C3 >= 1.0 ? Single(100.0 * SqrtCounts(C3) / C3) : 0.0f;
        E = Single(3.0 * C3 * w * w);
    } else {
        G = Single(C3 - C4 * y);
        const float D = Single(C3 + double{y} * y * g);
        if (G <= lim3 || G <= SqrtCounts(D)) {
            H = -1.0f;
            F = fKnown ? Single(Rate(lim3, t, K12)) : 0.0f;
            E = B = G = 0.0f;
        } else {
            H = Single(100.0 * SqrtCounts(D) / G);
            F = fKnown ? Single(Rate(G, t, K12)) : 0.0f;
            E = Single(double{w} * w * (double{D} + 2.0 * G));
            B = D;
        }
    }

    // 2. Thoron, ROI 2.
    const float lim2 = Single(2.0 * SqrtCounts(E + double{g} * v * v));
    float Kn = 0.0f; // net count of ROI 2
    float J = 0.0f;
    Real thoron = -1.0;
    Real thoronError = -1.0;
    if (lim2 <= 0.1) {
        Kn = Single(C2);
        thoron = Rate(C2, t, K3);
        thoronError = C2 > 0.0 ? 100.0 * SqrtCounts(C2) / C2 : 0.0;
        J = Single(3.0 * C2 * z * z);
    } else {
        Kn = Single(C2 - double{w} * G - C4 * v);
        const float I = Single(E + C2 + double{g} * v * v);
        if (Kn <= lim2 || Kn < SqrtCounts(I)) {
            thoron = Rate(lim2, t, K3);
            thoronError = -1.0;
            J = Kn = 0.0f;
        } else {
            thoron = Rate(Kn, t, K3);
            thoronError = 100.0 * SqrtCounts(I) / Kn;
            J = Single(double{z} * z * (double{I} + 2.0 * Kn));
        }
    }
    if (wKnown && Usable(K3)) {
        r.Thoron = thoron;
        r.ThoronError = thoronError;
    }

    // 3. Radon fast, ROI 1.
    const bool chainKnown = zKnown && wKnown;
    const float lim1 = Single(2.0 * SqrtCounts(J + double{g} * u * u));
    float M = 0.0f;
    float Cf = 0.0f;
    Real fast = -1.0;
    Real fastError = -1.0;
    if (lim1 <= 1.0) {
        M = Cf = Single(C1);
        if (C1 <= 0.0) {
            fast = Rate(1.0, t, K2);
            fastError = -1.0;
        } else {
            fast = Rate(C1, t, K2);
            fastError = 100.0 * SqrtCounts(C1) / C1;
        }
    } else {
        M = Single(C1 - double{z} * Kn - C4 * u);
        Cf = Single(C1 + J + double{g} * u * u);
        if (M <= lim1 || M <= SqrtCounts(Cf)) {
            fast = Rate(lim1, t, K2);
            fastError = -1.0;
            Cf = M = 0.0f;
        } else {
            fast = Rate(M, t, K2);
            fastError = 100.0 * SqrtCounts(Cf) / M;
        }
    }
    if (chainKnown && Usable(K2)) {
        r.RadonFast = fast;
        r.RadonFastError = fastError;
    }

    // 4. Radon, ROI 1 + ROI 3.
    const float N = G + M;
    const float limR = Single(2.0 * SqrtCounts(double{y} * y * g + J + double{g} * u * u));
    const double spread = SqrtCounts(double{Cf} + B);
    if (chainKnown && Usable(K1)) {
        if (N <= limR || N < spread) {
            r.Radon = Rate(limR, t, K1);
            r.RadonError = -1.0;
        } else {
            r.Radon = Rate(N, t, K1);
            r.RadonError = 100.0 * spread / N;
        }
    }

    // 5. Too few counts in ROI 1 for the sum: ROI 3 alone.
    if (chainKnown && G < lim1) {
        if (fKnown) {
            r.Radon = F;
            r.RadonError = H;
        } else {
            NoValue(r.Radon, r.RadonError);
        }
    }
}

void DosikaSpectrometric(TMeasurementRecord& r, const TCountValues& c, const Array1<Word, 6>& uniCon,
                         Real t) {
    const float K1 = static_cast<float>(uniCon[1]) / 10.0f;
    const float K2 = static_cast<float>(uniCon[2]) / 10.0f;
    const float K3 = static_cast<float>(uniCon[5]) / 10.0f;
    const float K21 = K2 - K1;

    const double C2 = c[2];
    const double C3 = c[3];
    const double C4 = c[4];
    const double C5 = c[5];
    const float n = Single(3.0 * C5);
    const float W = Single(0.0025 * n);
    const float X = Single(2.0 * SqrtCounts(W));
    const float Y = Single(0.31640625 * n);
    const float Z = Single(0.0004 * n);
    float a = 0.0f;
    float b = 0.0f;
    const bool aKnown = SpillOver(uniCon[4], a);
    const bool bKnown = SpillOver(uniCon[3], b);

    // 1. ROI 4 net of ROI 5.
    const bool cvKnown = Usable(K21);
    float E = 0.0f;
    float D = 0.0f;
    float B = 0.0f;
    float Cv = 0.0f;
    float Fv = 0.0f;
    if (X <= 0.1) {
        E = D = Single(C4);
        Cv = cvKnown ? Single(Rate(C4, t, K21)) : 0.0f;
        Fv = C4 >= 1.0 ? Single(100.0 * SqrtCounts(C4) / C4) : 0.0f;
        B = Single(3.0 * C4 * b * b);
    } else {
        E = Single(C4 - 0.05 * C5);
        D = Single(C4 + W);
        if (E <= X || E <= SqrtCounts(D)) {
            Fv = -1.0f;
            Cv = cvKnown ? Single(Rate(X, t, K21)) : 0.0f;
            B = D = E = 0.0f;
        } else {
            Fv = Single(100.0 * SqrtCounts(D) / E);
            Cv = cvKnown ? Single(Rate(E, t, K21)) : 0.0f;
            B = Single(double{b} * b * (double{D} + 2.0 * E));
        }
    }

    // 2. Thoron, ROI 3.
    const float limT = Single(2.0 * SqrtCounts(double{B} + Z));
    float I = 0.0f;
    float Hh = 0.0f;
    Real thoron = -1.0;
    Real thoronError = -1.0;
    if (limT <= 0.1) {
        I = Single(C3);
        thoron = Rate(C3, t, K3);
        thoronError = C3 > 0.0 ? 100.0 * SqrtCounts(C3) / C3 : 0.0;
        Hh = Single(3.0 * C3 * a * a);
    } else {
        I = Single(C3 - double{b} * E - 0.02 * C5);
        const float Gp = Single(double{Z} + C3 + B);
        if (I <= limT || I < SqrtCounts(Gp)) {
            thoron = Rate(limT, t, K3);
            thoronError = -1.0;
            Hh = I = 0.0f;
        } else {
            thoron = Rate(I, t, K3);
            thoronError = 100.0 * SqrtCounts(Gp) / I;
            Hh = Single(double{a} * a * (double{Gp} + 2.0 * I));
        }
    }
    if (bKnown && Usable(K3)) {
        r.Thoron = thoron;
        r.ThoronError = thoronError;
    }

    // 3. Radon fast, ROI 2.
    const bool chainKnown = aKnown && bKnown;
    const float J = Single(2.0 * SqrtCounts(double{Hh} + Y));
    float Kn = 0.0f; // net count of ROI 2
    float L = 0.0f;
    Real fast = -1.0;
    Real fastError = -1.0;
    if (J <= 1.0) {
        Kn = L = Single(C2);
        fast = Rate(C2, t, K1);
        fastError = C2 > 0.0 ? 100.0 * SqrtCounts(C2) / C2 : -1.0;
    } else {
        Kn = Single(C2 - double{a} * I - 0.5625 * C5);
        L = Single(double{Y} + C2 + Hh);
        if (Kn > J && Kn > SqrtCounts(L)) {
            fast = Rate(Kn, t, K1);
            fastError = 100.0 * SqrtCounts(L) / Kn;
        } else {
            fast = Rate(J, t, K1);
            fastError = -1.0;
            Kn = L = 0.0f;
        }
    }
    if (chainKnown && Usable(K1)) {
        r.RadonFast = fast;
        r.RadonFastError = fastError;
    }

    // 4. Radon, ROI 2 + ROI 4.
    const float M = E + Kn;
    const float limR = Single(2.0 * SqrtCounts(double{W} + Hh + Y));
    const double spread = SqrtCounts(double{L} + D);
    if (chainKnown && Usable(K2)) {
        if (M <= limR || M < spread) {
            r.Radon = Rate(limR, t, K2);
            r.RadonError = -1.0;
        } else {
            r.Radon = Rate(M, t, K2);
            r.RadonError = 100.0 * spread / M;
        }
    }

    // 5. Too few counts in ROI 2 for the sum: ROI 4 alone.
    if (chainKnown && E < J) {
        if (cvKnown) {
            r.Radon = Cv;
            r.RadonError = Fv;
        } else {
            NoValue(r.Radon, r.RadonError);
        }
    }
}

} // namespace lumetra::evaluation_detail
