#pragma once
// The window of the Senra-R and Senra-P analog sensors: the output setup, the current
// readings (once, or every few seconds while the window is shown), start and stop, and
// the output tests. The Dosika control window fills `AnalogSensorSetup`, the caption
// and `SelectedCom` and shows it modally; it never opens or closes the port.

#include "dosika/AnalogSensorControlPanel.h"
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
#include <QTimer>

#include <array>
#include <utility>
#include <vector>

namespace lumetra {

class TAnalogSensorControlWindow final : public TControlWindow {
public:
    explicit TAnalogSensorControlWindow(const TTranslationCatalog& catalog, QWidget* parent = nullptr);

    TComPort SelectedCom;
    TAnalogSensorSetup AnalogSensorSetup;
    QTimer Timer;

    void ShowAnalogSetup();

    // Handlers, named as the controls call them.
    void DeviceSetup();
    void GetDeviceSetup();
    void UpdataActualValues();
    void TimerGetActualValues();
    void SwitchTimer();
    void ClearAndStart();
    void Stop();
    void SetDACOutput();
    void SetSwitchOutput();

    QGroupBox* AOut1GroupBox = nullptr;
    QLineEdit* AOut1RangeEdit = nullptr;
    QLineEdit* AOut1AlarmLevelEdit = nullptr;
    QGroupBox* AOut2GroupBox = nullptr;
    QLineEdit* AOut2RangeEdit = nullptr;
    QLineEdit* AOut2AlarmLevelEdit = nullptr;
    QGroupBox* DOutGroupBox = nullptr;
    QRadioButton* DOutAlarm = nullptr;
    QRadioButton* DOutPulse = nullptr;
    QCheckBox* ROI1CheckBox = nullptr;
    QCheckBox* ROI2CheckBox = nullptr;
    QCheckBox* ROI3CheckBox = nullptr;
    QCheckBox* ROI4CheckBox = nullptr;
    QCheckBox* ROI5CheckBox = nullptr;
    QCheckBox* rHTCheckBox = nullptr;
    QPushButton* SetupButton = nullptr;
    QPushButton* GetSetupButton = nullptr;
    QFrame* ActualValuesPanel = nullptr;
    QLineEdit* RadonValueEdit = nullptr;
    QLineEdit* ThoronValueEdit = nullptr;
    QLineEdit* TempValueEdit = nullptr;
    QLineEdit* HumValueEdit = nullptr;
    QLineEdit* AOut1ValueEdit = nullptr;
    QLineEdit* AOut1mAEdit = nullptr;
    QLineEdit* AOut2ValueEdit = nullptr;
    QLineEdit* AOut2mAEdit = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QCheckBox* TimerEnable = nullptr;
    QLineEdit* IntervalEdit = nullptr;
    QFrame* AutoUpdateStatus = nullptr; // the lamp: red until the timer is first switched on
    QPushButton* StartButton = nullptr;
    QPushButton* StopButton = nullptr;
    QGroupBox* DACGroupBox = nullptr;
    QLineEdit* DAC1ValueEdit = nullptr;
    QLineEdit* DAC2ValueEdit = nullptr;
    QPushButton* DACTestButton = nullptr;
    QGroupBox* SwitchGroupBox = nullptr;
    QRadioButton* DOutONButton = nullptr;
    QRadioButton* DOutOffButton = nullptr;
    QPushButton* SwitchTestButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void CreateControls();
    void Retranslate();
    void InitAnalogSensorControlWindow();
    void TimerStop();
    void ShowActualValues();
    void ShowValueTexts(const TAnalogValueTexts& texts);
    void SourcesFollowMode();
    void SetLamp(const QColor& colour);
    TAnalogSetupForm ReadForm() const;
    std::array<QCheckBox*, 6> SourceBoxes() const;

    // A reading is on the line: a tick that comes meanwhile (reads let pending window
    // events run) is skipped, never queued behind it.
    bool Reading = false;
    // The captions and units beside the edits, with their English texts.
    std::vector<std::pair<QLabel*, const char*>> Captions;
};

} // namespace lumetra
