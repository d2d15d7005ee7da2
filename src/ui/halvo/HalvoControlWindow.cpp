#include "ui/halvo/HalvoControlWindow.h"

#include "core/Errors.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumetra {
namespace {

constexpr Word USBit = 0x0010;

QRadioButton* Radio(QGroupBox* group, QLayout* layout) {
    auto* radio = new QRadioButton(group);
    layout->addWidget(radio);
    return radio;
}

QGroupBox* Group(QWidget* parent, QVBoxLayout*& layout) {
    auto* group = new QGroupBox(parent);
    layout = new QVBoxLayout(group);
    return group;
}

} // namespace

THalvoControlWindow::THalvoControlWindow(const TTranslationCatalog& catalog, QWidget* parent)
    : TControlWindow(catalog, parent) {
    CreateControls();
    Retranslate();
    SetupValues = HlvDefaultSetupValues();
    ShowForm();
}

void THalvoControlWindow::CreateControls() {
    SetTimeButton = CommandButton();
    CheckBatteryButton = CommandButton();
    LockButton = CommandButton();
    UnlockButton = CommandButton();
    ShortIntervalButton = CommandButton();
    LongIntervalButton = CommandButton();
    StartButton = CommandButton();
    StopButton = CommandButton();
    RecentReadingsButton = CommandButton();
    ClearDataButton = CommandButton();
    GetButton = CommandButton();
    SetButton = CommandButton();

    auto* commands = new QVBoxLayout;
    for (QPushButton* button : {SetTimeButton, CheckBatteryButton, LockButton, UnlockButton, ShortIntervalButton,
                                LongIntervalButton, StartButton, StopButton, RecentReadingsButton})
        commands->addWidget(button);
    commands->addSpacing(12);
    commands->addWidget(ClearDataButton);
    commands->addStretch(1);

    SampleIntervalLabel = new QLabel(this);
    SampleIntervalEdit = new QLineEdit(this);
    MinutesLabel = new QLabel(this);
    AlarmLevelLabel = new QLabel(this);
    AlarmLevelEdit = new QLineEdit(this);
    UnitLabel = new QLabel(this);
    for (QLineEdit* edit : {SampleIntervalEdit, AlarmLevelEdit})
        edit->setMaximumWidth(90);
    auto* edits = new QGridLayout;
    edits->addWidget(SampleIntervalLabel, 0, 0);
    edits->addWidget(SampleIntervalEdit, 0, 1);
    edits->addWidget(MinutesLabel, 0, 2);
    edits->addWidget(AlarmLevelLabel, 1, 0);
    edits->addWidget(AlarmLevelEdit, 1, 1);
    edits->addWidget(UnitLabel, 1, 2);
    edits->setColumnStretch(3, 1);

    QVBoxLayout* layout = nullptr;
    UnitsGroupBox = Group(this, layout);
    SIRadioButton = Radio(UnitsGroupBox, layout);
    USRadioButton = Radio(UnitsGroupBox, layout);
    RadonGroupBox = Group(this, layout);
    FastRadioButton = Radio(RadonGroupBox, layout);
    SlowRadioButton = Radio(RadonGroupBox, layout);
    PumpGroupBox = Group(this, layout);
    ContinuousRadioButton = Radio(PumpGroupBox, layout);
    IntervalRadioButton = Radio(PumpGroupBox, layout);
    LucasCellSizeGroupBox = Group(this, layout);
    SizeSRadioButton = Radio(LucasCellSizeGroupBox, layout);
    SizeMRadioButton = Radio(LucasCellSizeGroupBox, layout);
    SizeLRadioButton = Radio(LucasCellSizeGroupBox, layout);
    SizeXLRadioButton = Radio(LucasCellSizeGroupBox, layout);
    BuzzerGroupBox = Group(this, layout);
    BuzzerOFFRadioButton = Radio(BuzzerGroupBox, layout);
    AlarmRadioButton = Radio(BuzzerGroupBox, layout);
    Po216RadioButton = Radio(BuzzerGroupBox, layout);
    Po218RadioButton = Radio(BuzzerGroupBox, layout);

    auto* groups = new QGridLayout;
    groups->addWidget(UnitsGroupBox, 0, 0);
    groups->addWidget(RadonGroupBox, 0, 1);
    groups->addWidget(PumpGroupBox, 0, 2);
    groups->addWidget(LucasCellSizeGroupBox, 1, 0);
    groups->addWidget(BuzzerGroupBox, 1, 1, 1, 2);

    auto* transfer = new QHBoxLayout;
    transfer->addWidget(GetButton);
    transfer->addWidget(SetButton);

    auto* setup = new QVBoxLayout;
    setup->addLayout(edits);
    setup->addLayout(groups);
    setup->addStretch(1);
    setup->addLayout(transfer);

    auto* window = new QHBoxLayout(this);
    window->addLayout(commands);
    window->addSpacing(8);
    window->addLayout(setup, 1);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(SetTimeButton, &QPushButton::clicked, this, &THalvoControlWindow::SetRTC);
    connect(CheckBatteryButton, &QPushButton::clicked, this, &THalvoControlWindow::CheckBatteryButtonClick);
    connect(GetButton, &QPushButton::clicked, this, &THalvoControlWindow::GetSetup);
    connect(SetButton, &QPushButton::clicked, this, &THalvoControlWindow::Setup);
    connect(ClearDataButton, &QPushButton::clicked, this, &THalvoControlWindow::ClearDataButtonClick);
    connect(LockButton, &QPushButton::clicked, this, &THalvoControlWindow::LockSwitch);
    connect(UnlockButton, &QPushButton::clicked, this, &THalvoControlWindow::UnlockSwitch);
    connect(LongIntervalButton, &QPushButton::clicked, this, &THalvoControlWindow::SetLongInterval);
    connect(ShortIntervalButton, &QPushButton::clicked, this, &THalvoControlWindow::SetShortInterval);
    connect(StartButton, &QPushButton::clicked, this, &THalvoControlWindow::StartButtonClick);
    connect(StopButton, &QPushButton::clicked, this, &THalvoControlWindow::StopButtonClick);
    connect(RecentReadingsButton, &QPushButton::clicked, this, &THalvoControlWindow::RecentReadingsButtonClick);
    connect(SIRadioButton, &QRadioButton::clicked, this, &THalvoControlWindow::ChangeToSI);
    connect(USRadioButton, &QRadioButton::clicked, this, &THalvoControlWindow::ChangeToUS);
    // From the user's first keystroke the alarm edit's text counts, not the value behind it.
    connect(AlarmLevelEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { HlvAlarmLevelEdited(Form, text.toStdString()); });
}

void THalvoControlWindow::Retranslate() {
    SetHint(SetTimeButton, Tr("Set Real Time Clock"));
    SetHint(CheckBatteryButton, Tr("Check Battery"));
    SetHint(GetButton, Tr("Load Setup from Instrument"));
    SetHint(SetButton, Tr("Transfer Setup to Instrument"));
    SetHint(ClearDataButton, Tr("Clear Data"));
    SetHint(LockButton, Tr("Lock Button/Switch"));
    SetHint(UnlockButton, Tr("Unlock Button/Switch"));
    SetHint(LongIntervalButton, Tr("Set Sampling Interval to 3 hours"));
    SetHint(ShortIntervalButton, Tr("Set Sampling Interval to 1 hour"));
    SetHint(StartButton, Tr("Start Sampling"));
    SetHint(StopButton, Tr("Stop Sampling"));
    SetHint(RecentReadingsButton, Tr("Recent Readings"));
    SampleIntervalLabel->setText(Tr("Sampling Interval"));
    MinutesLabel->setText(Tr("min"));
    AlarmLevelLabel->setText(Tr("Alarm Level"));
    UnitLabel->setText(QString::fromStdString(T(HlvAlarmUnit(Form.US))));
    BuzzerGroupBox->setTitle(Tr("Buzzer"));
    BuzzerOFFRadioButton->setText(Tr("OFF"));
    AlarmRadioButton->setText(Tr("Alarm"));
    Po216RadioButton->setText(Tr("Po-216"));
    Po218RadioButton->setText(Tr("Po-216/Po-218"));
    RadonGroupBox->setTitle(Tr("Radon Mode"));
    FastRadioButton->setText(Tr("Fast"));
    SlowRadioButton->setText(Tr("Slow"));
    PumpGroupBox->setTitle(Tr("Pump Mode"));
    ContinuousRadioButton->setText(Tr("Continuous"));
    IntervalRadioButton->setText(Tr("Interval"));
    UnitsGroupBox->setTitle(Tr("Units"));
    SIRadioButton->setText(Tr("SI Style"));
    USRadioButton->setText(Tr("US Style"));
    LucasCellSizeGroupBox->setTitle(Tr("Lucas Cell"));
    SizeSRadioButton->setText(Tr("Size S"));
    SizeMRadioButton->setText(Tr("Size M"));
    SizeLRadioButton->setText(Tr("Size L"));
    SizeXLRadioButton->setText(Tr("Size XL"));
}

void THalvoControlWindow::showEvent(QShowEvent* event) {
    InitSetupWindow();
    TControlWindow::showEvent(event);
}

void THalvoControlWindow::InitSetupWindow() {
    Retranslate();
    ShowSetupValues();
    // The layout fixes the size: up to the buzzer group on the right and the transfer
    // buttons at the bottom, whatever the language's texts need.
    adjustSize();
}

THlvControlStates THalvoControlWindow::States() const {
    return HlvControlStates(InitValues.DeviceType, InitValues.SoftwareVersion);
}

void THalvoControlWindow::ShowSetupValues() {
    SetTimeButton->setEnabled(true);
    setWindowTitle(QString::fromStdString(HlvWindowCaption(InitValues)));
    const THlvControlStates states = States();
    if (states.Known)
        ApplyControlStates(states);
    Form = HlvFormFromSetup(SetupValues);
    ShowForm();
}

void THalvoControlWindow::ApplyControlStates(const THlvControlStates& s) {
    StartButton->setEnabled(s.Start);
    if (s.Stop)
        StopButton->setEnabled(*s.Stop);
    LockButton->setEnabled(s.LockUnlock);
    UnlockButton->setEnabled(s.LockUnlock);
    ShortIntervalButton->setEnabled(s.IntervalPresets);
    LongIntervalButton->setEnabled(s.IntervalPresets);
    CheckBatteryButton->setEnabled(s.Battery);
    for (QRadioButton* radio : {BuzzerOFFRadioButton, AlarmRadioButton, Po216RadioButton, Po218RadioButton})
        radio->setEnabled(s.Buzzer);
    FastRadioButton->setEnabled(s.RadonMode);
    SlowRadioButton->setEnabled(s.RadonMode);
    ContinuousRadioButton->setEnabled(s.Pump);
    IntervalRadioButton->setEnabled(s.Pump);
    SIRadioButton->setEnabled(s.Units);
    USRadioButton->setEnabled(s.Units);
    AlarmLevelEdit->setEnabled(s.AlarmLevel);
    SampleIntervalEdit->setEnabled(s.SampleInterval);
    SetButton->setEnabled(s.SetGet);
    GetButton->setEnabled(s.SetGet);
    LucasCellSizeGroupBox->setEnabled(s.CellSize);
    for (QRadioButton* radio : {SizeSRadioButton, SizeMRadioButton, SizeLRadioButton, SizeXLRadioButton})
        radio->setEnabled(s.CellSize);
    RecentReadingsButton->setVisible(s.RecentReadings);
}

void THalvoControlWindow::ShowForm() {
    SampleIntervalEdit->setText(QString::fromStdString(Form.SampleIntervalText));
    AlarmLevelEdit->setText(QString::fromStdString(Form.AlarmLevelText));
    UnitLabel->setText(QString::fromStdString(T(HlvAlarmUnit(Form.US))));
    QRadioButton* const buzzer[] = {BuzzerOFFRadioButton, AlarmRadioButton, Po216RadioButton, Po218RadioButton};
    buzzer[Form.Buzzer & 3]->setChecked(true);
    (Form.Fast ? FastRadioButton : SlowRadioButton)->setChecked(true);
    (Form.IntervalPump ? IntervalRadioButton : ContinuousRadioButton)->setChecked(true);
    (Form.US ? USRadioButton : SIRadioButton)->setChecked(true);
    QRadioButton* const sizes[] = {SizeSRadioButton, SizeMRadioButton, SizeLRadioButton, SizeXLRadioButton};
    sizes[Form.CellSize & 3]->setChecked(true);
}

void THalvoControlWindow::ReadForm() {
    Form.SampleIntervalText = SampleIntervalEdit->text().toStdString();
    // The alarm text is taken over only once edited (HlvAlarmLevelEdited); until then it
    // shows the value behind it.
    if (!Form.AlarmLevelBq)
        Form.AlarmLevelText = AlarmLevelEdit->text().toStdString();
    Form.Buzzer = AlarmRadioButton->isChecked()    ? HlvBuzzer::Alarm
                  : Po216RadioButton->isChecked()  ? HlvBuzzer::Po216
                  : Po218RadioButton->isChecked()  ? HlvBuzzer::Po216Po218
                                                   : HlvBuzzer::Off;
    Form.Fast = FastRadioButton->isChecked();
    Form.IntervalPump = IntervalRadioButton->isChecked();
    Form.US = USRadioButton->isChecked();
    Form.CellSize = SizeMRadioButton->isChecked()    ? 1
                    : SizeLRadioButton->isChecked()  ? 2
                    : SizeXLRadioButton->isChecked() ? 3
                                                     : 0;
}

void THalvoControlWindow::ChangeToSI() {
    ReadForm();
    HlvChangeToSI(Form);
    ShowForm();
}

void THalvoControlWindow::ChangeToUS() {
    ReadForm();
    HlvChangeToUS(Form);
    ShowForm();
}

void THalvoControlWindow::SetRTC() {
    TUserInterface& ui = User();
    std::string dateTime;
    const Byte result = HlvSetClock(ui, SelectedCom, dateTime);
    ShowResultMessage(ui, result, HlvClockText(dateTime, Translator()));
}

void THalvoControlWindow::CheckBatteryButtonClick() {
    TUserInterface& ui = User();
    Real volts = 0;
    const Byte result = HlvReadBattery(ui, SelectedCom, volts);
    ShowResultMessage(ui, result, HlvBatteryText(volts, Translator()));
}

void THalvoControlWindow::GetSetup() {
    TUserInterface& ui = User();
    // Read beside the shown values: a failed read leaves the window as it was.
    THlvInitValues init;
    THlvSetupValues setup = SetupValues;
    Byte result = HlvReadInitValues(ui, SelectedCom, init);
    if (result == Result::Success && HlvHasReadableSetup(init.DeviceType))
        result = HlvReadSetupValues(ui, SelectedCom, setup);
    if (result == Result::Success) {
        InitValues = init;
        SetupValues = setup;
        ShowSetupValues();
    }
    ShowResultMessage(ui, result, T("Setup loaded"));
}

void THalvoControlWindow::Setup() {
    TUserInterface& ui = User();
    ReadForm();
    std::string error;
    const auto setup = HlvSetupFromForm(Form, SetupValues, States(), Translator(), error);
    if (!setup) {
        ui.ShowMessage(error);
        return;
    }
    SetupValues = *setup;
    ShowResultMessage(ui, HlvWriteSetupValues(ui, SelectedCom, SetupValues), T("Setup successful!"));
}

void THalvoControlWindow::ClearDataButtonClick() {
    TUserInterface& ui = User();
    if (!ui.AskWarning(T("Clear Data"), T("You really want to clear all data?")))
        return;
    ShowResultMessage(ui, HlvClearMemory(ui, SelectedCom), T("Data memory cleared!"));
}

void THalvoControlWindow::LockSwitch() {
    TUserInterface& ui = User();
    ShowResultMessage(ui, HlvLockSwitch(ui, SelectedCom), T("Switch locked!"));
}

void THalvoControlWindow::UnlockSwitch() {
    TUserInterface& ui = User();
    ShowResultMessage(ui, HlvUnlockSwitch(ui, SelectedCom), T("Switch unlocked!"));
}

void THalvoControlWindow::SetIntervalPreset(bool longInterval) {
    TUserInterface& ui = User();
    const Byte result = HlvSetIntervalPreset(ui, SelectedCom, InitValues.DeviceType, longInterval, SetupValues);
    if (InitValues.DeviceType == 3) {
        // The whole setup went out with the preset's interval: the edit shows it.
        Form.SampleIntervalText = std::to_string(SetupValues.SampleInterval);
        SampleIntervalEdit->setText(QString::fromStdString(Form.SampleIntervalText));
    }
    ShowResultMessage(ui, result,
                      longInterval ? T("Sample interval set to 3 hours!") : T("Sample interval set to 1 hour!"));
}

void THalvoControlWindow::SetLongInterval() { SetIntervalPreset(true); }

void THalvoControlWindow::SetShortInterval() { SetIntervalPreset(false); }

void THalvoControlWindow::StartButtonClick() {
    TUserInterface& ui = User();
    ShowResultMessage(ui, HlvStartMeasurement(ui, SelectedCom), T("Sampling started!"));
}

void THalvoControlWindow::StopButtonClick() {
    TUserInterface& ui = User();
    if (!ui.AskWarning(T("Stop sampling"), T("You really want to stop sampling?")))
        return;
    ShowResultMessage(ui, HlvStopMeasurement(ui, SelectedCom), T("Sampling stopped!"));
}

void THalvoControlWindow::RecentReadingsButtonClick() {
    TUserInterface& ui = User();
    THlvRecentValues values;
    const Byte result = HlvReadRecentValues(ui, SelectedCom, values);
    const bool us = (SetupValues.SetupWord & USBit) != 0;
    ShowResultMessage(ui, result, HlvRecentReadingsText(values, InitValues.DeviceType, us, Translator()));
}

} // namespace lumetra
