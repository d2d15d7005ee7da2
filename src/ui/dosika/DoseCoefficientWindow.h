#pragma once
// The dose conversion window of the Dosika and Dosika PRO: the user chooses the dose
// conversion coefficient (and for the Dosika the equilibrium factor), which WRITE turns
// into calibration bytes. The Dosika control window fills `InitValues`, shows it
// modally and writes the bytes of `Form()` back afterwards.

#include "dosika/DoseCoefficientForm.h"
#include "dosika/DosikaTypes.h"
#include "ui/ControlWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace lumetra {

class TDoseCoefficientWindow final : public TControlWindow {
public:
    explicit TDoseCoefficientWindow(const TTranslationCatalog& catalog, QWidget* parent = nullptr);
    ~TDoseCoefficientWindow() override;

    TDkInitValues InitValues;
    // What the window holds since it was last shown: the choice, `Error`,
    // `ClosedBySetButton` and the calibration bytes to write.
    const TDoseCoefficientForm& Form() const { return DoseForm; }

    // Handlers, named as the controls call them.
    void DoseConversionCoefficientChanged(const std::string& text);
    void UpdateEquilibriumFactor(const std::string& text, bool lineSelected);
    void TransferDoseConversionFactor();

    QLabel* DoseConversionCoefficientLabel = nullptr;
    QComboBox* DoseCoefficientComboBox = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* EquilibriumFactorComboBox = nullptr;
    QPushButton* WriteButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void InitDoseCoefficientWindow();
    static void ShowText(QComboBox* box, const std::string& text);

    TDoseCoefficientForm DoseForm;
};

} // namespace lumetra
