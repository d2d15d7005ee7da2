#pragma once
// The setup window of a Halvo-family instrument. The main window opens it modally
// after reading the identity (and for some types the setup) over a line it holds open;
// the window offers the commands the type supports and reports each outcome. It works
// on the `SelectedCom` it is given and never opens or closes the port.

#include "halvo/HalvoControl.h"
#include "halvo/HalvoProtocol.h"
#include "links/InstrumentAdapter.h"
#include "ui/ControlWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace lumetra {

class THalvoControlWindow final : public TControlWindow {
public:
    explicit THalvoControlWindow(const TTranslationCatalog& catalog, QWidget* parent = nullptr);

    TComPort SelectedCom;
    THlvInitValues InitValues;
    THlvSetupValues SetupValues;

    // Fills the window from `InitValues` and `SetupValues`.
    void ShowSetupValues();

    // Handlers, named as the buttons call them.
    void SetRTC();
    void CheckBatteryButtonClick();
    void GetSetup();
    void Setup();
    void ClearDataButtonClick();
    void LockSwitch();
    void UnlockSwitch();
    void SetLongInterval();
    void SetShortInterval();
    void StartButtonClick();
    void StopButtonClick();
    void RecentReadingsButtonClick();
    void ChangeToSI();
    void ChangeToUS();

    QPushButton* SetTimeButton = nullptr;
    QPushButton* CheckBatteryButton = nullptr;
    QPushButton* GetButton = nullptr;
    QPushButton* SetButton = nullptr;
    QPushButton* ClearDataButton = nullptr;
    QPushButton* LockButton = nullptr;
    QPushButton* UnlockButton = nullptr;
    QPushButton* LongIntervalButton = nullptr;
    QPushButton* ShortIntervalButton = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* StopButton = nullptr;
    QPushButton* RecentReadingsButton = nullptr;
    QLabel* SampleIntervalLabel = nullptr;
    QLineEdit* SampleIntervalEdit = nullptr;
    QLabel* MinutesLabel = nullptr;
    QLabel* AlarmLevelLabel = nullptr;
    QLineEdit* AlarmLevelEdit = nullptr;
    QLabel* UnitLabel = nullptr;
    QGroupBox* BuzzerGroupBox = nullptr;
    QRadioButton* BuzzerOFFRadioButton = nullptr;
    QRadioButton* AlarmRadioButton = nullptr;
    QRadioButton* Po216RadioButton = nullptr;
    QRadioButton* Po218RadioButton = nullptr;
    QGroupBox* RadonGroupBox = nullptr;
    QRadioButton* FastRadioButton = nullptr;
    QRadioButton* SlowRadioButton = nullptr;
    QGroupBox* PumpGroupBox = nullptr;
    QRadioButton* ContinuousRadioButton = nullptr;
    QRadioButton* IntervalRadioButton = nullptr;
    QGroupBox* UnitsGroupBox = nullptr;
    QRadioButton* SIRadioButton = nullptr;
    QRadioButton* USRadioButton = nullptr;
    QGroupBox* LucasCellSizeGroupBox = nullptr;
    QRadioButton* SizeSRadioButton = nullptr;
    QRadioButton* SizeMRadioButton = nullptr;
    QRadioButton* SizeLRadioButton = nullptr;
    QRadioButton* SizeXLRadioButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void Retranslate();
    void InitSetupWindow();
    void ApplyControlStates(const THlvControlStates& states);
    // The setup form shown in the controls, and read back from them.
    void ShowForm();
    void ReadForm();
    THlvControlStates States() const;
    void SetIntervalPreset(bool longInterval);

    THlvSetupForm Form;
};

} // namespace lumetra
