#pragma once
// The command-line forms of what a test sets on a simulated Halvo instrument beyond its
// records: the recent readings (command 20) and the battery code (command 13).
//
// Recent readings: KEY=VALUE items separated by commas, e.g.
//   interval=10,time=2018-01-02T09:05,radon=85.5,radon-error=12,tilts=-2
// Keys: interval (minutes, 0 to 255), time (YYYY-MM-DDThh:mm, year 2000 to 2255; sent
// as minute, hour, day, month, year - 2000), radon, radon2 (thoron, or the average
// radon of type 3), temperature, humidity, pressure (numbers in the units of the setup
// word), radon-error, radon2-error (%, 0 to 255), tilts (signed 32 bits).

#include "halvo/HalvoSimulator.h"

#include <cstdint>
#include <string>

namespace lumetra::sim {

// Sets the keys given; false (and error set) on an unknown key or a bad value, with
// `recent` then partly changed.
bool ParseHalvoRecent(const std::string& text, THalvoRecent& recent, std::string& error);

// Whether a battery code fits the type's answer: 16 bits from types 4, 6 and 10, one
// byte from the others.
bool HalvoBatteryFits(std::uint8_t type, std::uint16_t raw);

} // namespace lumetra::sim
