#pragma once
// The command-line form of an analog sensor's readings (commands 0x62 to 0x65):
// KEY=VALUE items separated by commas, e.g.
//   radon=120,radon-error=8,thoron=-1,temperature-code=100,aout1=1022
// Keys: radon, thoron (Bq/m³, signed 32 bits; -1 = no value), radon-error,
// thoron-error (%, 0 to 255), temperature-code, humidity-code (0 to 255; 255 = no
// value), aout1, aout2 (mV, 0 to 65535; 1023 and above = not valid), status (the
// status byte of the four answers, 0 to 255).

#include "dosika/DosikaSimState.h"

#include <string>

namespace lumetra::sim {

// Sets the keys given; false (and error set) on an unknown key or a bad value, with
// `values` then partly changed.
bool ParseDkValues(const std::string& text, TDkSimValues& values, std::string& error);

} // namespace lumetra::sim
