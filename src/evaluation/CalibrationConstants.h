#pragma once
// The calibration constants of the instrument that made a data set, decoded from the
// six calibration words of its header by family and type, as one text: the window
// shows it in a message box on a click of the instrument label, `lumetra-cli info
// --calibration` prints it.

#include "core/GlobalDefinitions.h"
#include "core/PhysicalUnits.h"
#include "core/UserInterface.h"

#include <optional>
#include <string>

namespace lumetra {

// "Calibration Constants for " + the instrument's description and a line break, then
// one line per constant the type has, each after a line break of its own (so an empty
// line follows the heading). Sensitivities to radon and thoron are shown in the
// selected units (US: × 2.22, cph/(pCi/L)). Nothing for a data set that is not valid.
std::optional<std::string> CalibrationConstantsText(const TInstrumentData& data, const TPhysicalUnits& units,
                                                    const TTranslate& translate);

} // namespace lumetra
