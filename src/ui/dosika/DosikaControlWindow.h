#pragma once
// The setup window of a Dosika-family instrument (Dosika, Dosika PRO, Morvel, KVX5210,
// Senra-R, Senra-P). The main window opens it modally over a line it holds open; from
// here the analog sensor window and the dose conversion window are opened. It works on
// the `SelectedCom` it is given and never opens or closes the port.

#include "dosika/DosikaControl.h"
#include "dosika/DosikaTypes.h"
#include "links/InstrumentAdapter.h"
#include "ui/ControlWindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace lumetra {

class TAnalogSensorControlWindow;
class TDoseCoefficientWindow;

class TDosikaControlWindow final : public TControlWindow {
public:
    // The two subordinate windows live as long as this one.
    TDosikaControlWindow(const TTranslationCatalog& catalog, TAnalogSensorControlWindow& analogSensorWindow,
                         TDoseCoefficientWindow& doseCoefficientWindow, QWidget* parent = nullptr);

    TComPort SelectedCom;
    TDkInitValues InitValues;
    TDkSetupValues SetupValues;

    // Fills the window from `InitValues` and `SetupValues`.
    void ShowDkSetup();

    // Handlers, named as the buttons call them.
    void SetClockButtonClick();
    void WriteSetupToInstrument();
    void ReadSetupFromInstrument();
    void SwitchOff();
    void ClearAndStart();
    void OpenAnalogSensorControlWindow();
    void ChangeDoseConversion();

    QPushButton* SetClockButton = nullptr;
    QPushButton* ClearAndStartButton = nullptr;
    QPushButton* SwitchOffButton = nullptr;
    QPushButton* RadonSensorAccessButton = nullptr;
    QPushButton* GetSetupButton = nullptr;
    QPushButton* SetupButton1 = nullptr;
    QFrame* SetupPanel = nullptr;
    QLineEdit* CountryCodeEdit = nullptr;
    QLineEdit* RegionCodeEdit = nullptr;
    QLineEdit* EntryCodeEdit = nullptr;
    QLineEdit* UserIDEdit = nullptr;
    QLineEdit* AlarmLevelEdit = nullptr;
    QLineEdit* SampleTimeEdit = nullptr;
    QLabel* CountryCodeLabel = nullptr;
    QLabel* RegionCodeLabel = nullptr;
    QLabel* EntryCodeLabel = nullptr;
    QLabel* UserIDLabel = nullptr;
    QLabel* AlarmLevelLabel = nullptr;
    QLabel* AlarmUnitLabel = nullptr;
    QLabel* SampleTimeLabel = nullptr;
    QLabel* SampleTimeUnitLabel = nullptr;
    QPushButton* DoseCoefficientButton = nullptr;
    QGroupBox* ModeBit0GroupBox = nullptr;
    QRadioButton* ModeBit0SetRadioButton = nullptr;
    QRadioButton* ModeBit0ClearRadioButton = nullptr;
    QGroupBox* ModeBit1GroupBox = nullptr;
    QRadioButton* ModeBit1SetRadioButton = nullptr;
    QRadioButton* ModeBit1ClearRadioButton = nullptr;
    QGroupBox* ModeBit2GroupBox = nullptr;
    QRadioButton* ModeBit2SetRadioButton = nullptr;
    QRadioButton* ModeBit2ClearRadioButton = nullptr;
    QCheckBox* USUnitsCheckBox = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void Retranslate();
    void InitDosikaControlWindow();
    void ApplyControlStates(const TDkControlStates& states);
    void ShowForm(const TDkSetupForm& form);
    TDkSetupForm ReadForm() const;

    TAnalogSensorControlWindow& AnalogSensorWindow;
    TDoseCoefficientWindow& DoseCoefficientWindow;
    // The mode groups' texts as the type names them (English), kept for a language switch.
    TDkControlStates States;
};

} // namespace lumetra
