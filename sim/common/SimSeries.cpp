#include "common/SimSeries.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumetra::sim {

std::uint32_t TSimDraw::Poisson(double mean) {
    if (!(mean > 0.0)) {
        return 0;
    }
    if (mean > 1.0e5) {
        // Box-Muller.
        const double u = std::max(Uniform(), 1e-300);
        const double z = std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * Uniform());
        return static_cast<std::uint32_t>(std::max(0.0, std::round(mean + z * std::sqrt(mean))));
    }
    // In steps of at most 30: exp(-mean) of a large mean would underflow.
    std::uint32_t total = 0;
    while (mean > 0.0) {
        const double part = std::min(mean, 30.0);
        mean -= part;
        const double limit = std::exp(-part);
        double product = Uniform();
        while (product > limit) {
            ++total;
            product *= Uniform();
        }
    }
    return total;
}

double DailyCycle(double hourOfDay, double peakHour) {
    return std::cos(2.0 * std::numbers::pi * (hourOfDay - peakHour) / 24.0);
}

} // namespace lumetra::sim
