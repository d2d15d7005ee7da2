#include "ui/dosika/AnalogSensorControlWindow.h"

#include "core/Errors.h"
#include "dosika/DosikaCommands.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QVBoxLayout>

namespace lumetra {
namespace {

const QColor LampOff(255, 0, 0);
const QColor LampOn(0, 160, 0);

} // namespace

TAnalogSensorControlWindow::TAnalogSensorControlWindow(const TTranslationCatalog& catalog, QWidget* parent)
    : TControlWindow(catalog, parent) {
    CreateControls();
    Retranslate();
    DOutAlarm->setChecked(true);
    DOutONButton->setChecked(true);
    IntervalEdit->setText(QStringLiteral("30"));
    DAC1ValueEdit->setText(QStringLiteral("0"));
    DAC2ValueEdit->setText(QStringLiteral("0"));
    SetLamp(LampOff);
    SourcesFollowMode();
    ShowValueTexts(AnalogInitialValueTexts(Translator()));
}

void TAnalogSensorControlWindow::CreateControls() {
    const auto caption = [this](QWidget* parent, const char* english) {
        auto* label = new QLabel(parent);
        Captions.emplace_back(label, english);
        return label;
    };
    const auto edit = [](QWidget* parent, int width, bool readOnly = false) {
        auto* e = new QLineEdit(parent);
        e->setMinimumWidth(width);
        e->setMaximumWidth(width + 40);
        e->setReadOnly(readOnly);
        return e;
    };

    // The output setup, on the left.
    const auto outputGroup = [&](QGroupBox*& group, QLineEdit*& range, QLineEdit*& alarm) {
        group = new QGroupBox(this);
        auto* grid = new QGridLayout(group);
        range = edit(group, 80);
        alarm = edit(group, 80);
        grid->addWidget(caption(group, "Range"), 0, 0);
        grid->addWidget(range, 0, 1);
        grid->addWidget(caption(group, "Bq/m³"), 0, 2);
        grid->addWidget(caption(group, "Alarm"), 1, 0);
        grid->addWidget(alarm, 1, 1);
        grid->addWidget(caption(group, "Bq/m³"), 1, 2);
        grid->setColumnStretch(3, 1);
    };
    outputGroup(AOut1GroupBox, AOut1RangeEdit, AOut1AlarmLevelEdit);
    outputGroup(AOut2GroupBox, AOut2RangeEdit, AOut2AlarmLevelEdit);

    DOutGroupBox = new QGroupBox(this);
    auto* dout = new QGridLayout(DOutGroupBox);
    DOutAlarm = new QRadioButton(DOutGroupBox);
    DOutPulse = new QRadioButton(DOutGroupBox);
    dout->addWidget(DOutAlarm, 0, 0);
    dout->addWidget(DOutPulse, 0, 1);
    for (QCheckBox** box : {&ROI1CheckBox, &ROI2CheckBox, &ROI3CheckBox, &ROI4CheckBox, &ROI5CheckBox, &rHTCheckBox})
        *box = new QCheckBox(DOutGroupBox);
    const auto boxes = SourceBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        dout->addWidget(boxes[i], 1 + static_cast<int>(i / 3), static_cast<int>(i % 3));

    GetSetupButton = CommandButton();
    SetupButton = CommandButton();
    auto* transfer = new QHBoxLayout;
    transfer->addWidget(GetSetupButton);
    transfer->addWidget(SetupButton);

    auto* setup = new QVBoxLayout;
    setup->addWidget(AOut1GroupBox);
    setup->addWidget(AOut2GroupBox);
    setup->addWidget(DOutGroupBox);
    setup->addLayout(transfer);

    // The readings and the tests, on the right.
    ActualValuesPanel = new QFrame(this);
    ActualValuesPanel->setFrameShape(QFrame::StyledPanel);
    auto* values = new QGridLayout(ActualValuesPanel);
    RadonValueEdit = edit(ActualValuesPanel, 150, true);
    ThoronValueEdit = edit(ActualValuesPanel, 150, true);
    TempValueEdit = edit(ActualValuesPanel, 150, true);
    HumValueEdit = edit(ActualValuesPanel, 150, true);
    AOut1ValueEdit = edit(ActualValuesPanel, 70, true);
    AOut1mAEdit = edit(ActualValuesPanel, 70, true);
    AOut2ValueEdit = edit(ActualValuesPanel, 70, true);
    AOut2mAEdit = edit(ActualValuesPanel, 70, true);
    values->addWidget(caption(ActualValuesPanel, "Radon/EEC"), 0, 0);
    values->addWidget(RadonValueEdit, 0, 1, 1, 2);
    values->addWidget(caption(ActualValuesPanel, "Thoron/Po-218"), 1, 0);
    values->addWidget(ThoronValueEdit, 1, 1, 1, 2);
    values->addWidget(caption(ActualValuesPanel, "Temperature"), 2, 0);
    values->addWidget(TempValueEdit, 2, 1, 1, 2);
    values->addWidget(caption(ActualValuesPanel, "Humidity"), 3, 0);
    values->addWidget(HumValueEdit, 3, 1, 1, 2);
    values->addWidget(caption(ActualValuesPanel, "Analog Out 1"), 4, 0);
    values->addWidget(AOut1ValueEdit, 4, 1);
    values->addWidget(AOut1mAEdit, 4, 2);
    values->addWidget(caption(ActualValuesPanel, "Analog Out 2"), 5, 0);
    values->addWidget(AOut2ValueEdit, 5, 1);
    values->addWidget(AOut2mAEdit, 5, 2);
    SpeedButton1 = new QPushButton(ActualValuesPanel);
    SpeedButton1->setAutoDefault(false);
    values->addWidget(SpeedButton1, 6, 0, 1, 3);
    TimerEnable = new QCheckBox(ActualValuesPanel);
    IntervalEdit = edit(ActualValuesPanel, 50);
    AutoUpdateStatus = new QFrame(ActualValuesPanel);
    AutoUpdateStatus->setFixedSize(14, 14);
    AutoUpdateStatus->setFrameShape(QFrame::Panel);
    AutoUpdateStatus->setFrameShadow(QFrame::Sunken);
    AutoUpdateStatus->setAutoFillBackground(true);
    auto* timer = new QHBoxLayout;
    timer->addWidget(TimerEnable);
    timer->addWidget(IntervalEdit);
    timer->addWidget(caption(ActualValuesPanel, "sec"));
    timer->addStretch(1);
    timer->addWidget(AutoUpdateStatus);
    values->addLayout(timer, 7, 0, 1, 3);

    StartButton = CommandButton();
    StopButton = CommandButton();
    auto* operation = new QHBoxLayout;
    operation->addWidget(StartButton);
    operation->addWidget(StopButton);
    // Start and stop sit under the setup, a little apart from it.
    setup->addSpacing(12);
    setup->addLayout(operation);
    setup->addStretch(1);

    DACGroupBox = new QGroupBox(this);
    auto* dac = new QGridLayout(DACGroupBox);
    DAC1ValueEdit = edit(DACGroupBox, 60);
    DAC2ValueEdit = edit(DACGroupBox, 60);
    DACTestButton = new QPushButton(DACGroupBox);
    DACTestButton->setAutoDefault(false);
    dac->addWidget(caption(DACGroupBox, "AOut1 [mV]"), 0, 0);
    dac->addWidget(DAC1ValueEdit, 0, 1);
    dac->addWidget(caption(DACGroupBox, "AOut2 [mV]"), 1, 0);
    dac->addWidget(DAC2ValueEdit, 1, 1);
    dac->addWidget(DACTestButton, 0, 2, 2, 1);

    SwitchGroupBox = new QGroupBox(this);
    auto* switchTest = new QHBoxLayout(SwitchGroupBox);
    DOutONButton = new QRadioButton(SwitchGroupBox);
    DOutOffButton = new QRadioButton(SwitchGroupBox);
    SwitchTestButton = new QPushButton(SwitchGroupBox);
    SwitchTestButton->setAutoDefault(false);
    switchTest->addWidget(DOutONButton);
    switchTest->addWidget(DOutOffButton);
    switchTest->addStretch(1);
    switchTest->addWidget(SwitchTestButton);

    auto* tests = new QVBoxLayout;
    tests->addWidget(ActualValuesPanel);
    tests->addWidget(DACGroupBox);
    tests->addWidget(SwitchGroupBox);
    tests->addStretch(1);

    auto* window = new QHBoxLayout(this);
    window->addLayout(setup);
    window->addSpacing(8);
    window->addLayout(tests);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(SetupButton, &QPushButton::clicked, this, &TAnalogSensorControlWindow::DeviceSetup);
    connect(GetSetupButton, &QPushButton::clicked, this, &TAnalogSensorControlWindow::GetDeviceSetup);
    // Checked from code or by a click: the sources follow the mode either way.
    connect(DOutPulse, &QRadioButton::toggled, this, &TAnalogSensorControlWindow::SourcesFollowMode);
    connect(SpeedButton1, &QPushButton::clicked, this, &TAnalogSensorControlWindow::UpdataActualValues);
    connect(&Timer, &QTimer::timeout, this, &TAnalogSensorControlWindow::TimerGetActualValues);
    connect(TimerEnable, &QCheckBox::clicked, this, &TAnalogSensorControlWindow::SwitchTimer);
    connect(StartButton, &QPushButton::clicked, this, &TAnalogSensorControlWindow::ClearAndStart);
    connect(StopButton, &QPushButton::clicked, this, &TAnalogSensorControlWindow::Stop);
    connect(DACTestButton, &QPushButton::clicked, this, &TAnalogSensorControlWindow::SetDACOutput);
    connect(SwitchTestButton, &QPushButton::clicked, this, &TAnalogSensorControlWindow::SetSwitchOutput);
}

void TAnalogSensorControlWindow::Retranslate() {
    for (const auto& [label, english] : Captions)
        label->setText(Tr(english));
    AOut1GroupBox->setTitle(Tr("Analog Output 1 (Radon/EEC)"));
    AOut2GroupBox->setTitle(Tr("Analog Output 2 (Thoron/Po-218)"));
    DOutGroupBox->setTitle(Tr("Digital Output Mode"));
    DOutAlarm->setText(Tr("Alarm"));
    DOutPulse->setText(Tr("Pulse"));
    const char* const sources[] = {"ROI1", "ROI2", "ROI3", "ROI4", "ROI5", "rH/T"};
    const auto boxes = SourceBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(Tr(sources[i]));
    SetHint(SetupButton, Tr("Transfer Setup to Instrument"));
    SetHint(GetSetupButton, Tr("Load Setup from Instrument"));
    SpeedButton1->setText(Tr("Read Actual Values"));
    SpeedButton1->setToolTip(Tr("Read Actual Values"));
    TimerEnable->setText(Tr("Timer"));
    SetHint(StartButton, Tr("Start Operation"));
    SetHint(StopButton, Tr("Stop Operation"));
    DACGroupBox->setTitle(Tr("DAC Test"));
    DACTestButton->setText(Tr("Set DAC"));
    SwitchGroupBox->setTitle(Tr("Switch Test"));
    DOutONButton->setText(Tr("ON"));
    DOutOffButton->setText(Tr("OFF"));
    SwitchTestButton->setText(Tr("Set Switch"));
}

std::array<QCheckBox*, 6> TAnalogSensorControlWindow::SourceBoxes() const {
    return {ROI1CheckBox, ROI2CheckBox, ROI3CheckBox, ROI4CheckBox, ROI5CheckBox, rHTCheckBox};
}

void TAnalogSensorControlWindow::showEvent(QShowEvent* event) {
    InitAnalogSensorControlWindow();
    TControlWindow::showEvent(event);
}

void TAnalogSensorControlWindow::hideEvent(QHideEvent* event) {
    TimerStop();
    TControlWindow::hideEvent(event);
}

void TAnalogSensorControlWindow::InitAnalogSensorControlWindow() {
    Retranslate();
    // Readings of the sensor shown before belong to that opening.
    ShowValueTexts(AnalogInitialValueTexts(Translator()));
    ShowAnalogSetup();
    adjustSize();
}

void TAnalogSensorControlWindow::TimerStop() {
    Timer.stop();
    TimerEnable->setChecked(false);
}

void TAnalogSensorControlWindow::SetLamp(const QColor& colour) {
    QPalette palette = AutoUpdateStatus->palette();
    palette.setColor(QPalette::Window, colour);
    AutoUpdateStatus->setPalette(palette);
}

void TAnalogSensorControlWindow::SourcesFollowMode() {
    const bool enabled = AnalogSourcesEnabled(ReadForm());
    for (QCheckBox* box : SourceBoxes())
        box->setEnabled(enabled);
}

void TAnalogSensorControlWindow::ShowAnalogSetup() {
    const TAnalogSetupForm form = AnalogFormFromSetup(AnalogSensorSetup);
    const auto boxes = SourceBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(form.Sources[i]);
    (form.Pulse ? DOutPulse : DOutAlarm)->setChecked(true);
    AOut1RangeEdit->setText(QString::fromStdString(form.AOut1RangeText));
    AOut2RangeEdit->setText(QString::fromStdString(form.AOut2RangeText));
    AOut1AlarmLevelEdit->setText(QString::fromStdString(form.AOut1AlarmText));
    AOut2AlarmLevelEdit->setText(QString::fromStdString(form.AOut2AlarmText));
}

TAnalogSetupForm TAnalogSensorControlWindow::ReadForm() const {
    TAnalogSetupForm form;
    form.AOut1RangeText = AOut1RangeEdit->text().toStdString();
    form.AOut2RangeText = AOut2RangeEdit->text().toStdString();
    form.AOut1AlarmText = AOut1AlarmLevelEdit->text().toStdString();
    form.AOut2AlarmText = AOut2AlarmLevelEdit->text().toStdString();
    form.Pulse = DOutPulse->isChecked();
    const auto boxes = SourceBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        form.Sources[i] = boxes[i]->isChecked();
    return form;
}

void TAnalogSensorControlWindow::DeviceSetup() {
    TUserInterface& ui = User();
    std::string error;
    const auto setup = AnalogSetupFromForm(ReadForm(), Translator(), error);
    if (!setup) {
        ui.ShowMessage(error);
        return;
    }
    AnalogSensorSetup = *setup;
    ShowResultMessage(ui, DkWriteAnalogSetup(ui, SelectedCom, AnalogSensorSetup), T("Setup successful"));
}

void TAnalogSensorControlWindow::GetDeviceSetup() {
    TUserInterface& ui = User();
    TAnalogSensorSetup setup;
    const Byte result = DkReadAnalogSetup(ui, SelectedCom, setup);
    if (result == Result::Success) {
        AnalogSensorSetup = setup;
        ShowAnalogSetup();
    }
    ShowResultMessage(ui, result, T("Setup loaded"));
}

void TAnalogSensorControlWindow::UpdataActualValues() { ShowActualValues(); }

void TAnalogSensorControlWindow::TimerGetActualValues() { ShowActualValues(); }

void TAnalogSensorControlWindow::ShowActualValues() {
    if (Reading)
        return;
    TUserInterface& ui = User();
    TAnalogSensorValues values;
    Reading = true;
    const Byte result = DkReadActualValues(ui, SelectedCom, values);
    Reading = false;
    if (result == Result::Success)
        ShowValueTexts(AnalogValueTexts(values, Translator()));
    // While the timer runs the readings speak for themselves; a message box every few
    // seconds would stop the user from switching it off.
    if (!Timer.isActive())
        ShowResultMessage(ui, result, T("Actual data loaded!"));
}

void TAnalogSensorControlWindow::ShowValueTexts(const TAnalogValueTexts& texts) {
    const std::pair<QLineEdit*, const std::string*> edits[] = {
        {RadonValueEdit, &texts.Radon},         {ThoronValueEdit, &texts.Thoron},
        {TempValueEdit, &texts.Temperature},    {HumValueEdit, &texts.Humidity},
        {AOut1ValueEdit, &texts.AOut1Value},    {AOut1mAEdit, &texts.AOut1mA},
        {AOut2ValueEdit, &texts.AOut2Value},    {AOut2mAEdit, &texts.AOut2mA},
    };
    for (const auto& [edit, text] : edits)
        edit->setText(QString::fromStdString(*text));
}

void TAnalogSensorControlWindow::SwitchTimer() {
    if (!TimerEnable->isChecked()) {
        Timer.stop();
        return;
    }
    std::string error;
    const auto seconds = AnalogTimerSeconds(IntervalEdit->text().toStdString(), Translator(), error);
    if (!seconds) {
        TimerEnable->setChecked(false);
        User().ShowMessage(error);
        return;
    }
    SetLamp(LampOn);
    IntervalEdit->setText(QString::number(*seconds));
    Timer.start(*seconds * 1000);
}

void TAnalogSensorControlWindow::ClearAndStart() {
    TUserInterface& ui = User();
    ShowResultMessage(ui, DkClearAndStart(ui, SelectedCom), T("Measurement started!"));
}

void TAnalogSensorControlWindow::Stop() {
    TUserInterface& ui = User();
    ShowResultMessage(ui, DkStopMeasurement(ui, SelectedCom), T("Measurement stopped!"));
}

void TAnalogSensorControlWindow::SetDACOutput() {
    TUserInterface& ui = User();
    std::string error;
    const auto outputs = AnalogDacValues(DAC1ValueEdit->text().toStdString(), DAC2ValueEdit->text().toStdString(),
                                         Translator(), error);
    if (!outputs) {
        ui.ShowMessage(error);
        return;
    }
    ShowResultMessage(ui, DkSetAnalogOutputs(ui, SelectedCom, outputs->first, outputs->second),
                      T("DAC Output updated!"));
}

void TAnalogSensorControlWindow::SetSwitchOutput() {
    TUserInterface& ui = User();
    ShowResultMessage(ui, DkSetSwitchOutput(ui, SelectedCom, DOutONButton->isChecked()),
                      T("Switch Output updated!"));
}

} // namespace lumetra
