#pragma once
// The logic of the dose conversion window, without a window: the lists offered per
// type, the coefficient and equilibrium factor shown for the instrument's calibration
// bytes, the changes the user makes, and the bytes written back.

#include "core/BasicTypes.h"
#include "core/UserInterface.h"
#include "dosika/DoseCoefficients.h"
#include "links/InstrumentAdapter.h"

#include <string>
#include <vector>

namespace lumetra {

struct TDoseCoefficientForm {
    TDkInitValues InitValues; // the calibration bytes, read by the opener and written back
    Real gEEC = DkWorkersEECCoefficient;
    Real Eqf = 0.5;
    Real gPot = 0;
    Byte Error = 0; // 13 when the bytes cannot be converted
    bool ClosedBySetButton = false;

    // What the controls show.
    std::string Caption;
    std::string Label;
    std::vector<std::string> CoefficientLines;
    std::string CoefficientText;
    bool FactorEnabled = false;
    std::vector<std::string> FactorLines;
    std::string FactorText;
};

// The window as it opens for the calibration bytes of a Dosika (type 1: the workers'
// g(EEC) and the factor the bytes hold) or a Dosika PRO (type 2: g(pot) from CAL2).
TDoseCoefficientForm DkOpenDoseCoefficients(const TDkInitValues& init, const TTranslate& translate);

// A coefficient chosen or typed: only the first four characters count ("7.80 nSv/...").
// For a Dosika the product g × F the instrument holds stays, and the factor shown
// follows. A text that is not a number above 0 changes nothing and gives false with
// `error` set (an empty text changes nothing and is no error).
bool DkDoseCoefficientChanged(TDoseCoefficientForm& form, const std::string& text, const TTranslate& translate,
                              std::string& error);

// An equilibrium factor chosen from the list (`lineSelected`: its first four characters
// count) or typed (the whole text counts). A factor outside 0.2 to 1 is taken as 0.5
// while the text stays as typed.
bool DkEquilibriumFactorChanged(TDoseCoefficientForm& form, const std::string& text, bool lineSelected,
                                const TTranslate& translate, std::string& error);

// Whether WRITE would store every calibration byte whole for what the window shows (the
// window itself keeps the low 8 bits of a value above 255).
bool DkDoseCoefficientsFit(const TDoseCoefficientForm& form);

// WRITE: the calibration bytes for what the window shows; `Error` 13 when CAL1 or CAL2
// is 0 (no byte changes). The window is then closed by this button.
void DkTransferDoseCoefficients(TDoseCoefficientForm& form);

// What the control window does once the dose window closed: an `Error` is the result;
// otherwise the calibration bytes are written, changed or not.
[[nodiscard]] Byte DkWriteDoseCoefficients(TUserInterface& ui, const TComPort& port, const TDoseCoefficientForm& form);

} // namespace lumetra
