#pragma once
// Instrument families and types: model names and the one-line descriptions shown by
// the search and the link windows.

#include "core/BasicTypes.h"

#include <string>

namespace lumetra {

// Sets `name` to the model name of the pair; leaves it unchanged for a pair without one.
void DeviceName(Byte family, Byte type, std::string& name);

// "<prefix><serial>, SW:<software>"; family 3 gives the modem text alone.
void DeviceDescription(Byte family, Byte type, Word serial, std::string& text, Byte software);

} // namespace lumetra
