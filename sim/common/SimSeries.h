#pragma once
// What the generated series of the instrument simulators share: seeded Poisson and
// uniform draws and the daily cycle. The draws are our own because the standard
// distributions differ between libraries and the engine does not, so a seed gives the
// same series everywhere.

#include <cstdint>
#include <random>

namespace lumetra::sim {

class TSimDraw {
public:
    explicit TSimDraw(std::uint64_t seed) : Engine(seed) {}

    // In [0, 1), from the engine's top 53 bits.
    double Uniform() { return static_cast<double>(Engine() >> 11) * 0x1.0p-53; }

    // 0 for a mean that is not positive. Above 1e5 the normal approximation: the exact
    // draw takes about one uniform per count.
    std::uint32_t Poisson(double mean);

private:
    std::mt19937_64 Engine;
};

// 1 at peakHour, -1 twelve hours later.
double DailyCycle(double hourOfDay, double peakHour);

} // namespace lumetra::sim
