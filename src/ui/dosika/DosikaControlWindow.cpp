#include "ui/dosika/DosikaControlWindow.h"

#include "core/Errors.h"
#include "dosika/DosikaCommands.h"
#include "dosika/DoseCoefficientForm.h"
#include "ui/dosika/AnalogSensorControlWindow.h"
#include "ui/dosika/DoseCoefficientWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumetra {
namespace {

QGroupBox* RadioPair(QWidget* parent, QRadioButton*& set, QRadioButton*& clear) {
    auto* group = new QGroupBox(parent);
    auto* layout = new QHBoxLayout(group);
    set = new QRadioButton(group);
    clear = new QRadioButton(group);
    layout->addWidget(set);
    layout->addWidget(clear);
    layout->addStretch(1);
    return group;
}

} // namespace

TDosikaControlWindow::TDosikaControlWindow(const TTranslationCatalog& catalog,
                                           TAnalogSensorControlWindow& analogSensorWindow,
                                           TDoseCoefficientWindow& doseCoefficientWindow, QWidget* parent)
    : TControlWindow(catalog, parent), AnalogSensorWindow(analogSensorWindow),
      DoseCoefficientWindow(doseCoefficientWindow) {
    CreateControls();
    Retranslate();
    ModeBit0ClearRadioButton->setChecked(true);
    ModeBit1ClearRadioButton->setChecked(true);
    ModeBit2ClearRadioButton->setChecked(true);
    USUnitsCheckBox->hide();
    DoseCoefficientButton->hide();
}

void TDosikaControlWindow::CreateControls() {
    SetClockButton = CommandButton();
    ClearAndStartButton = CommandButton();
    SwitchOffButton = CommandButton();
    RadonSensorAccessButton = CommandButton();
    GetSetupButton = CommandButton();
    SetupButton1 = CommandButton();
    auto* commands = new QVBoxLayout;
    for (QPushButton* button : {SetClockButton, ClearAndStartButton, SwitchOffButton, RadonSensorAccessButton})
        commands->addWidget(button);
    commands->addSpacing(12);
    commands->addWidget(GetSetupButton);
    commands->addWidget(SetupButton1);
    commands->addStretch(1);

    SetupPanel = new QFrame(this);
    SetupPanel->setFrameShape(QFrame::StyledPanel);
    const auto edit = [this] {
        auto* e = new QLineEdit(SetupPanel);
        e->setMaximumWidth(90);
        return e;
    };
    CountryCodeEdit = edit();
    RegionCodeEdit = edit();
    EntryCodeEdit = edit();
    UserIDEdit = edit();
    AlarmLevelEdit = edit();
    SampleTimeEdit = edit();
    for (QLabel** label : {&CountryCodeLabel, &RegionCodeLabel, &EntryCodeLabel, &UserIDLabel, &AlarmLevelLabel,
                           &AlarmUnitLabel, &SampleTimeLabel, &SampleTimeUnitLabel})
        *label = new QLabel(SetupPanel);
    DoseCoefficientButton = new QPushButton(SetupPanel);
    DoseCoefficientButton->setAutoDefault(false);

    auto* edits = new QGridLayout;
    const struct {
        QLabel* Label;
        QLineEdit* Edit;
        QWidget* After;
    } rows[] = {
        {CountryCodeLabel, CountryCodeEdit, nullptr}, {RegionCodeLabel, RegionCodeEdit, nullptr},
        {EntryCodeLabel, EntryCodeEdit, nullptr},     {UserIDLabel, UserIDEdit, nullptr},
        {AlarmLevelLabel, AlarmLevelEdit, AlarmUnitLabel}, {SampleTimeLabel, SampleTimeEdit, SampleTimeUnitLabel},
    };
    int row = 0;
    for (const auto& r : rows) {
        edits->addWidget(r.Label, row, 0);
        edits->addWidget(r.Edit, row, 1);
        if (r.After)
            edits->addWidget(r.After, row, 2);
        ++row;
    }
    edits->addWidget(DoseCoefficientButton, row, 1);
    edits->setRowStretch(row + 1, 1);

    ModeBit0GroupBox = RadioPair(SetupPanel, ModeBit0SetRadioButton, ModeBit0ClearRadioButton);
    ModeBit1GroupBox = RadioPair(SetupPanel, ModeBit1SetRadioButton, ModeBit1ClearRadioButton);
    ModeBit2GroupBox = RadioPair(SetupPanel, ModeBit2SetRadioButton, ModeBit2ClearRadioButton);
    USUnitsCheckBox = new QCheckBox(SetupPanel);
    auto* modes = new QVBoxLayout;
    modes->addWidget(ModeBit0GroupBox);
    modes->addWidget(ModeBit1GroupBox);
    modes->addWidget(ModeBit2GroupBox);
    modes->addWidget(USUnitsCheckBox);
    modes->addStretch(1);

    auto* panel = new QHBoxLayout(SetupPanel);
    panel->addLayout(edits);
    panel->addSpacing(12);
    panel->addLayout(modes);

    auto* window = new QHBoxLayout(this);
    window->addLayout(commands);
    window->addSpacing(8);
    window->addWidget(SetupPanel, 1);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(SetClockButton, &QPushButton::clicked, this, &TDosikaControlWindow::SetClockButtonClick);
    connect(ClearAndStartButton, &QPushButton::clicked, this, &TDosikaControlWindow::ClearAndStart);
    connect(SwitchOffButton, &QPushButton::clicked, this, &TDosikaControlWindow::SwitchOff);
    connect(RadonSensorAccessButton, &QPushButton::clicked, this,
            &TDosikaControlWindow::OpenAnalogSensorControlWindow);
    connect(GetSetupButton, &QPushButton::clicked, this, &TDosikaControlWindow::ReadSetupFromInstrument);
    connect(SetupButton1, &QPushButton::clicked, this, &TDosikaControlWindow::WriteSetupToInstrument);
    connect(DoseCoefficientButton, &QPushButton::clicked, this, &TDosikaControlWindow::ChangeDoseConversion);
}

void TDosikaControlWindow::Retranslate() {
    SetHint(SetClockButton, Tr("Set Real Time Clock"));
    SetHint(ClearAndStartButton, Tr("Clear Data and Start Measurement"));
    SetHint(SwitchOffButton, Tr("Switch Off"));
    SetHint(RadonSensorAccessButton, Tr("Analog Sensor Setup"));
    SetHint(GetSetupButton, Tr("Load Setup from Instrument"));
    SetHint(SetupButton1, Tr("Transfer Setup to Instrument"));
    CountryCodeLabel->setText(Tr("Country Code"));
    RegionCodeLabel->setText(Tr("Region Code"));
    EntryCodeLabel->setText(Tr("Entry Code"));
    UserIDLabel->setText(Tr("User ID"));
    AlarmLevelLabel->setText(Tr("Alarm Level"));
    AlarmUnitLabel->setText(Tr("µSv"));
    SampleTimeLabel->setText(Tr("Sampling Interval"));
    SampleTimeUnitLabel->setText(Tr("Minutes"));
    DoseCoefficientButton->setText(Tr("F + g"));
    DoseCoefficientButton->setToolTip(Tr("Change Dose Conversion Coefficient"));
    USUnitsCheckBox->setText(Tr("US unit system"));
    const struct {
        QGroupBox* Group;
        QRadioButton* Set;
        QRadioButton* Clear;
        const TDkModeGroup& Texts;
    } groups[] = {
        {ModeBit0GroupBox, ModeBit0SetRadioButton, ModeBit0ClearRadioButton, States.Group0},
        {ModeBit1GroupBox, ModeBit1SetRadioButton, ModeBit1ClearRadioButton, States.Group1},
        {ModeBit2GroupBox, ModeBit2SetRadioButton, ModeBit2ClearRadioButton, States.Group2},
    };
    for (const auto& g : groups) {
        g.Group->setTitle(QString::fromStdString(T(g.Texts.Caption)));
        g.Set->setText(QString::fromStdString(T(g.Texts.SetText)));
        g.Clear->setText(QString::fromStdString(T(g.Texts.ClearText)));
    }
}

void TDosikaControlWindow::showEvent(QShowEvent* event) {
    InitDosikaControlWindow();
    TControlWindow::showEvent(event);
}

void TDosikaControlWindow::InitDosikaControlWindow() {
    ShowDkSetup();
    // The layout fixes the size: the command column and the setup panel beside it.
    adjustSize();
}

void TDosikaControlWindow::ShowDkSetup() {
    setWindowTitle(QString::fromStdString(DkWindowCaption(InitValues)));
    ApplyControlStates(DkControlStates(InitValues.DeviceType));
    ShowForm(DkFormFromSetup(InitValues.DeviceType, SetupValues, ReadForm()));
}

void TDosikaControlWindow::ApplyControlStates(const TDkControlStates& states) {
    States = states;
    Retranslate();
    ClearAndStartButton->setEnabled(states.ClearAndStart);
    SwitchOffButton->setEnabled(states.SwitchOff);
    RadonSensorAccessButton->setEnabled(states.AnalogSensor);
    UserIDEdit->setEnabled(states.UserID);
    AlarmLevelEdit->setEnabled(states.AlarmLevel);
    DoseCoefficientButton->setVisible(states.DoseCoefficients);
    ModeBit0GroupBox->setEnabled(states.Group0.Enabled);
    ModeBit1GroupBox->setEnabled(states.Group1.Enabled);
    ModeBit2GroupBox->setEnabled(states.Group2.Enabled);
    USUnitsCheckBox->setVisible(states.USUnits);
}

void TDosikaControlWindow::ShowForm(const TDkSetupForm& form) {
    UserIDEdit->setText(QString::fromStdString(form.UserIDText));
    CountryCodeEdit->setText(QString::fromStdString(form.CountryCodeText));
    RegionCodeEdit->setText(QString::fromStdString(form.RegionCodeText));
    EntryCodeEdit->setText(QString::fromStdString(form.EntryCodeText));
    SampleTimeEdit->setText(QString::fromStdString(form.SampleIntervalText));
    AlarmLevelEdit->setText(QString::fromStdString(form.AlarmLevelText));
    (form.ModeBit0 ? ModeBit0SetRadioButton : ModeBit0ClearRadioButton)->setChecked(true);
    (form.ModeBit1 ? ModeBit1SetRadioButton : ModeBit1ClearRadioButton)->setChecked(true);
    (form.ModeBit2 ? ModeBit2SetRadioButton : ModeBit2ClearRadioButton)->setChecked(true);
    USUnitsCheckBox->setChecked(form.USUnits);
}

TDkSetupForm TDosikaControlWindow::ReadForm() const {
    TDkSetupForm form;
    form.UserIDText = UserIDEdit->text().toStdString();
    form.CountryCodeText = CountryCodeEdit->text().toStdString();
    form.RegionCodeText = RegionCodeEdit->text().toStdString();
    form.EntryCodeText = EntryCodeEdit->text().toStdString();
    form.SampleIntervalText = SampleTimeEdit->text().toStdString();
    form.AlarmLevelText = AlarmLevelEdit->text().toStdString();
    form.ModeBit0 = ModeBit0SetRadioButton->isChecked();
    form.ModeBit1 = ModeBit1SetRadioButton->isChecked();
    form.ModeBit2 = ModeBit2SetRadioButton->isChecked();
    form.USUnits = USUnitsCheckBox->isChecked();
    return form;
}

void TDosikaControlWindow::SetClockButtonClick() {
    TUserInterface& ui = User();
    std::string dateTime;
    const Byte result = DkSetClock(ui, SelectedCom, dateTime);
    ShowResultMessage(ui, result, T("Clock set to: ") + dateTime);
}

void TDosikaControlWindow::WriteSetupToInstrument() {
    TUserInterface& ui = User();
    std::string error;
    const auto setup = DkSetupFromForm(InitValues.DeviceType, ReadForm(), SetupValues, Translator(), error);
    if (!setup) {
        ui.ShowMessage(error);
        return;
    }
    SetupValues = *setup;
    ShowResultMessage(ui, DkWriteSetup(ui, SelectedCom, SetupValues), T("Setup successful!"));
}

void TDosikaControlWindow::ReadSetupFromInstrument() {
    TUserInterface& ui = User();
    // Read beside the shown values: a failed read leaves the window as it was.
    TDkSetupValues setup = SetupValues;
    const Byte result = DkReadSetup(ui, SelectedCom, setup);
    if (result == Result::Success) {
        SetupValues = setup;
        ShowDkSetup();
    }
    ShowResultMessage(ui, result, T("Setup loaded!"));
}

void TDosikaControlWindow::SwitchOff() {
    TUserInterface& ui = User();
    ShowResultMessage(ui, DkSwitchOffInstrument(ui, SelectedCom), T("Instrument switched off!"));
}

void TDosikaControlWindow::ClearAndStart() {
    TUserInterface& ui = User();
    if (!ui.AskWarning(T("Clear Data"), T("You really want to clear all data?")))
        return;
    ShowResultMessage(ui, DkClearAndStart(ui, SelectedCom), T("Measurement started!"));
}

void TDosikaControlWindow::OpenAnalogSensorControlWindow() {
    TUserInterface& ui = User();
    TAnalogSensorSetup setup;
    const Byte result = DkReadAnalogSetup(ui, SelectedCom, setup);
    if (result != Result::Success) {
        ShowResultMessage(ui, result);
        return;
    }
    AnalogSensorWindow.AnalogSensorSetup = setup;
    AnalogSensorWindow.setWindowTitle(windowTitle());
    AnalogSensorWindow.SelectedCom = SelectedCom;
    AnalogSensorWindow.exec();
}

void TDosikaControlWindow::ChangeDoseConversion() {
    TUserInterface& ui = User();
    TDkInitValues init;
    Byte result = DkReadInitValues(ui, SelectedCom, init);
    if (result != Result::Success) {
        ShowResultMessage(ui, result);
        return;
    }
    DoseCoefficientWindow.InitValues = init;
    DoseCoefficientWindow.exec();
    // Written back also when the window was closed without WRITE, then unchanged.
    const TDoseCoefficientForm& form = DoseCoefficientWindow.Form();
    result = DkWriteDoseCoefficients(ui, SelectedCom, form);
    if (form.ClosedBySetButton)
        ShowResultMessage(ui, result, T("Dose Coefficients written!"));
}

} // namespace lumetra
