// The Dosika control window against a simulated instrument: the texts and states per
// type, each command reaching the instrument, the clear question, and the two windows
// it opens modally (analog sensors, dose conversion) with what it reads for them.

#include "ui/dosika/DosikaControlWindow.h"

#include "ControlWindowSupport.h"
#include "core/Errors.h"
#include "dosika/DosikaSimSeries.h"
#include "i18n/Translation.h"
#include "ui/dosika/AnalogSensorControlWindow.h"
#include "ui/dosika/DoseCoefficientWindow.h"

#include <QTest>

#include <ctime>
#include <functional>

namespace lumetra::test {
namespace {

class DosikaControlWindowTest : public TControlWindowTest {
protected:
    void SetUp() override {
        Analog = std::make_unique<TAnalogSensorControlWindow>(Catalog);
        Dose = std::make_unique<TDoseCoefficientWindow>(Catalog);
        Window = std::make_unique<TDosikaControlWindow>(Catalog, *Analog, *Dose);
        for (TControlWindow* w : std::initializer_list<TControlWindow*>{Analog.get(), Dose.get(), Window.get()})
            w->UseUserInterface(&Ui);
    }
    void TearDown() override {
        Window.reset();
        Dose.reset();
        Analog.reset();
    }

    // As the main window opens it: identity, calibration and setup read, then shown.
    void Open(const sim::TDkSimState& state) {
        ServeDosika(state);
        Window->SelectedCom = Port();
        ASSERT_EQ(DkOpenControl(Ui, Window->SelectedCom, Window->InitValues, Window->SetupValues), Result::Success);
        Window->show();
        ClearLog();
    }

    TTranslationCatalog Catalog;
    std::unique_ptr<TAnalogSensorControlWindow> Analog;
    std::unique_ptr<TDoseCoefficientWindow> Dose;
    std::unique_ptr<TDosikaControlWindow> Window;
};

TEST_F(DosikaControlWindowTest, TextsAndStatesFollowTheType) {
    struct TCase {
        Byte Type;
        std::string Caption;
        bool ClearAndStart, AnalogSensor, UserID, AlarmLevel, DoseButton, Group0, Group1, USUnits;
        std::string Group0Texts, Group2Texts; // caption / set / clear
    };
    const TCase cases[] = {
        {1, "Dosika SN: 321", true, false, true, true, true, true, true, true, "Buzzer/On/Off", "Radon Mode/Slow/Fast"},
        {2, "Dosika PRO SN: 321", true, false, true, true, true, true, true, true, "Buzzer/On/Off",
         "Dose Mode/On/Off"},
        {4, "KVX5210 SN: 321", true, false, true, false, false, true, true, false, "Pump Mode/Interval/Contineous",
         "Radon Mode/Slow/Fast"},
        {5, "Senra-R SN: 321", false, true, false, false, false, false, false, false, "Buzzer/On/Off",
         "Radon Mode/Slow/Fast"},
        {6, "Senra-P SN: 321", false, true, false, false, false, false, false, false, "Buzzer/On/Off",
         "Radon Mode/Slow/Fast"},
        // A Morvel has no name and keeps the window as it was created.
        {3, " SN: 321", true, false, true, true, false, true, true, false, "Buzzer/On/Off", "Mode/Mode 1/Mode 2"},
    };
    const auto texts = [](const QGroupBox* group, const QRadioButton* set, const QRadioButton* clear) {
        return (group->title() + "/" + set->text() + "/" + clear->text()).toStdString();
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.Type));
        TAnalogSensorControlWindow analog(Catalog);
        TDoseCoefficientWindow dose(Catalog);
        TDosikaControlWindow w(Catalog, analog, dose);
        w.InitValues.DeviceType = c.Type;
        w.InitValues.DeviceNumber = 321;
        w.ShowDkSetup();
        EXPECT_EQ(w.windowTitle().toStdString(), c.Caption);
        EXPECT_EQ(w.ClearAndStartButton->isEnabled(), c.ClearAndStart);
        EXPECT_EQ(w.SwitchOffButton->isEnabled(), c.ClearAndStart);
        EXPECT_EQ(w.RadonSensorAccessButton->isEnabled(), c.AnalogSensor);
        EXPECT_EQ(w.UserIDEdit->isEnabled(), c.UserID);
        EXPECT_EQ(w.AlarmLevelEdit->isEnabled(), c.AlarmLevel);
        EXPECT_EQ(!w.DoseCoefficientButton->isHidden(), c.DoseButton);
        EXPECT_EQ(w.ModeBit0GroupBox->isEnabled(), c.Group0);
        EXPECT_EQ(w.ModeBit1GroupBox->isEnabled(), c.Group1);
        EXPECT_TRUE(w.ModeBit2GroupBox->isEnabled());
        EXPECT_EQ(!w.USUnitsCheckBox->isHidden(), c.USUnits);
        EXPECT_EQ(texts(w.ModeBit0GroupBox, w.ModeBit0SetRadioButton, w.ModeBit0ClearRadioButton), c.Group0Texts);
        EXPECT_EQ(texts(w.ModeBit1GroupBox, w.ModeBit1SetRadioButton, w.ModeBit1ClearRadioButton),
                  "Button/Locked/Unlocked");
        EXPECT_EQ(texts(w.ModeBit2GroupBox, w.ModeBit2SetRadioButton, w.ModeBit2ClearRadioButton), c.Group2Texts);
    }
}

TEST_F(DosikaControlWindowTest, CommandsReachTheInstrument) {
    Open(sim::DkSimDefaultState(2, 5));
    EXPECT_EQ(Window->UserIDEdit->text().toStdString(), "0");
    EXPECT_EQ(Window->CountryCodeEdit->text().toStdString(), "49");

    Type(Window->CountryCodeEdit, QStringLiteral("44"));
    Type(Window->RegionCodeEdit, QStringLiteral("7"));
    Type(Window->EntryCodeEdit, QStringLiteral("3"));
    Type(Window->UserIDEdit, QStringLiteral("1234"));
    Type(Window->AlarmLevelEdit, QStringLiteral("500"));
    Type(Window->SampleTimeEdit, QStringLiteral("10"));
    Window->ModeBit0SetRadioButton->click();
    Window->ModeBit2SetRadioButton->click();
    Window->USUnitsCheckBox->click();
    Window->SetupButton1->click();
    sim::TDkSimState s = Dosika->State();
    EXPECT_EQ(s.CountryCode, 44);
    EXPECT_EQ(s.RegionCode, 7);
    EXPECT_EQ(s.EntryCode, 3);
    EXPECT_EQ(s.UserID, 1234);
    EXPECT_EQ(s.AlarmLevel, 500);
    EXPECT_EQ(s.SampleInterval, 10);
    EXPECT_EQ(s.SetupByte, 0x0D);
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Setup successful!"});

    s.UserID = 77;
    s.SampleInterval = 15;
    s.SetupByte = 0x02;
    Dosika->SetState(s);
    Ui.Messages.clear();
    Window->GetSetupButton->click();
    EXPECT_EQ(Window->UserIDEdit->text().toStdString(), "77");
    EXPECT_EQ(Window->SampleTimeEdit->text().toStdString(), "15");
    EXPECT_TRUE(Window->ModeBit0ClearRadioButton->isChecked());
    EXPECT_TRUE(Window->ModeBit1SetRadioButton->isChecked());
    EXPECT_FALSE(Window->USUnitsCheckBox->isChecked());
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Setup loaded!"});

    Ui.Messages.clear();
    Window->SetClockButton->click();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(Dosika->State().Clock.Month, local.tm_mon + 1); // the simulator starts in January
    EXPECT_EQ(Dosika->State().Clock.Day, local.tm_mday);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].rfind("Clock set to: ", 0), 0u) << Ui.Messages[0];

    // An unexpected status to the switch-off means the instrument's state forbids it.
    sim::TDkFault reject;
    reject.Kind = sim::TDkFaultKind::Reject;
    Dosika->AddFault(reject);
    Ui.Messages.clear();
    Window->SwitchOffButton->click();
    Window->SwitchOffButton->click();
    EXPECT_EQ(Ui.Messages, (std::vector<std::string>{*ResultMessageText(Result::MeasurementState),
                                                     "Instrument switched off!"}));
    EXPECT_TRUE(Dosika->State().SwitchedOff);
}

TEST_F(DosikaControlWindowTest, ClearAndStartAsksFirst) {
    sim::TDkSimState state = sim::DkSimDefaultState(1, 5);
    sim::GenerateDkData(state, sim::TDkSeries{});
    Open(state);
    Ui.YesNoAnswers = {false};
    Window->ClearAndStartButton->click();
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(Ui.Warnings, std::vector<std::string>{"You really want to clear all data?"});
    EXPECT_EQ(Ui.QuestionTitles, std::vector<std::string>{"Clear Data"});

    Ui.YesNoAnswers = {true};
    Window->ClearAndStartButton->click();
    EXPECT_EQ(Commands(), (TBytes{0x34, 0x32}));
    EXPECT_TRUE(Dosika->State().Records.empty());
    EXPECT_TRUE(Dosika->State().Measuring);
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Measurement started!"});
}

TEST_F(DosikaControlWindowTest, ANumberThatDoesNotFitIsRefusedAndNothingSent) {
    Open(sim::DkSimDefaultState(1, 5));
    Type(Window->SampleTimeEdit, QStringLiteral("300"));
    Window->SetupButton1->click();
    EXPECT_TRUE(Requests().empty());
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_NE(Ui.Messages[0].find("Sampling Interval"), std::string::npos) << Ui.Messages[0];
}

TEST_F(DosikaControlWindowTest, TheAnalogSensorWindowOpensWithTheSetupReadForIt) {
    sim::TDkSimState state = sim::DkSimDefaultState(6, 5);
    state.DOutMode = 0x81;
    state.AOut1RangeWord = 0x8032; // 50000
    state.AOut2RangeWord = 2000;
    state.AOut1AlarmWord = 100;
    state.AOut2AlarmWord = 200;
    Open(state);
    TWhenShown shown(*Analog, [this] {
        EXPECT_EQ(Analog->windowTitle(), Window->windowTitle());
        EXPECT_EQ(Analog->SelectedCom.Handle, Window->SelectedCom.Handle);
        EXPECT_EQ(Analog->AnalogSensorSetup, (TAnalogSensorSetup{50000, 2000, 100, 200, 0x81}));
        EXPECT_EQ(Analog->AOut1RangeEdit->text().toStdString(), "50000");
        EXPECT_TRUE(Analog->DOutPulse->isChecked());
        EXPECT_TRUE(Analog->ROI1CheckBox->isChecked());
        EXPECT_TRUE(Analog->ROI1CheckBox->isEnabled());
    });
    Window->RadonSensorAccessButton->click();
    EXPECT_TRUE(shown.Done);
    EXPECT_FALSE(Analog->isVisible());
    EXPECT_EQ(Commands(), (TBytes{0x54, 0x52, 0x55}));
}

TEST_F(DosikaControlWindowTest, DoseCoefficientsAreWrittenBackAndReportedOnlyAfterWrite) {
    // Closed by its close box after a change: the bytes go back unchanged, silently.
    sim::TDkSimState dosika = sim::DkSimDefaultState(1, 5);
    dosika.Cal = {50, 40, 26, 21, 0, 0};
    Open(dosika);
    TWhenShown closed(*Dose, [this] {
        EXPECT_EQ(Dose->DoseCoefficientComboBox->currentText().toStdString(), "7.80 nSv/(Bqh/m³) - Workers");
        EXPECT_EQ(Dose->EquilibriumFactorComboBox->currentText().toStdString(), "0.40");
        QTest::keyClick(Dose->EquilibriumFactorComboBox, Qt::Key_Up);
        EXPECT_EQ(Dose->EquilibriumFactorComboBox->currentText().toStdString(), "0.30");
    });
    Window->DoseCoefficientButton->click();
    EXPECT_TRUE(closed.Done);
    EXPECT_EQ(Requests().back(), (TBytes{0x13, 50, 40, 26, 21}));
    EXPECT_TRUE(Ui.Messages.empty());

    // WRITE on a Dosika PRO after choosing the public coefficient: 1.10 × 10 in CAL2.
    sim::TDkSimState pro = sim::DkSimDefaultState(2, 5);
    pro.Cal = {12, 14, 0, 0, 0, 0};
    Open(pro);
    TWhenShown written(*Dose, [this] {
        EXPECT_EQ(Dose->DoseCoefficientComboBox->currentText().toStdString(), "1.40 Sv/(Jh/m³)");
        QTest::keyClick(Dose->DoseCoefficientComboBox, Qt::Key_Down);
        EXPECT_EQ(Dose->DoseCoefficientComboBox->currentText().toStdString(), "1.10 Sv/(Jh/m³) - Public");
        Dose->WriteButton->click();
    });
    Window->DoseCoefficientButton->click();
    EXPECT_TRUE(written.Done);
    EXPECT_EQ(Dosika->State().Cal[1], 11);
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Dose Coefficients written!"});
}

} // namespace
} // namespace lumetra::test
