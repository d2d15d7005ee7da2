#pragma once
// What answers on an open serial port: the instrument families are asked in turn until
// one of them answers.

#include "core/BasicTypes.h"

#include <cstdint>

namespace lumetra {

class TUserInterface;

// Asks the instrument on `handle`, each answer awaited at most `timeout` ms: the
// Dosika-family identity first, then the Halvo-family one, then whether a modem answers
// "at&f". On success family, type, serial and software describe it; a measuring
// Dosika-family instrument refuses to tell more than its family (family 1, type 0); a
// modem is family 3 with the rest 0; a Halvo-family instrument too new for this program
// gives family 2 with result 19. Any other failure leaves all four 0 and returns the
// result of the last probe; an invalid handle gives 1 at once. `noModemProbe` skips the
// modem probe (after a modem connection the line is already a call).
Byte IdentifyInstrument(TUserInterface& ui, std::uint32_t handle, Word timeout, bool noModemProbe,
                        Byte& software, Word& serial, Byte& type, Byte& family);

} // namespace lumetra
