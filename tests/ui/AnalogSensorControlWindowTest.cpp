// The analog sensor window against a simulated Senra-P: the output setup in both
// directions, the readings once and by the timer, start and stop, the output tests.

#include "ui/dosika/AnalogSensorControlWindow.h"

#include "ControlWindowSupport.h"
#include "core/Errors.h"
#include "dosika/DosikaCommands.h"
#include "i18n/Translation.h"

#include <QTest>

#include <functional>

namespace lumetra::test {
namespace {

class AnalogSensorControlWindowTest : public TControlWindowTest {
protected:
    void SetUp() override {
        Window = std::make_unique<TAnalogSensorControlWindow>(Catalog);
        Window->UseUserInterface(&Ui);
    }

    // As the Dosika control window opens it: the setup read, then shown.
    void Open(const sim::TDkSimState& state) {
        ServeDosika(state);
        Window->SelectedCom = Port();
        ASSERT_EQ(DkReadAnalogSetup(Ui, Window->SelectedCom, Window->AnalogSensorSetup), Result::Success);
        Window->show();
        ClearLog();
    }

    std::vector<std::string> Readings() const {
        std::vector<std::string> texts;
        for (const QLineEdit* edit : {Window->RadonValueEdit, Window->ThoronValueEdit, Window->TempValueEdit,
                                      Window->HumValueEdit, Window->AOut1ValueEdit, Window->AOut1mAEdit,
                                      Window->AOut2ValueEdit, Window->AOut2mAEdit})
            texts.push_back(edit->text().toStdString());
        return texts;
    }

    TTranslationCatalog Catalog;
    std::unique_ptr<TAnalogSensorControlWindow> Window;
};

TEST_F(AnalogSensorControlWindowTest, TheSetupGoesOutAsTheControlsSayAndComesBack) {
    Open(sim::DkSimDefaultState(6, 5));
    EXPECT_TRUE(Window->DOutAlarm->isChecked());
    EXPECT_FALSE(Window->ROI2CheckBox->isEnabled());

    Type(Window->AOut1RangeEdit, QStringLiteral("50000"));
    Type(Window->AOut2RangeEdit, QString());
    Type(Window->AOut1AlarmLevelEdit, QStringLiteral("100"));
    Type(Window->AOut2AlarmLevelEdit, QStringLiteral("abc"));
    Window->DOutPulse->click();
    EXPECT_TRUE(Window->ROI2CheckBox->isEnabled());
    EXPECT_TRUE(Window->rHTCheckBox->isEnabled());
    Window->ROI2CheckBox->click();
    Window->rHTCheckBox->click();
    Window->SetupButton->click();
    sim::TDkSimState s = Dosika->State();
    EXPECT_EQ(s.AOut1RangeWord, 0x8032); // 50 thousands
    EXPECT_EQ(s.AOut2RangeWord, 1000);
    EXPECT_EQ(s.AOut1AlarmWord, 100);
    EXPECT_EQ(s.AOut2AlarmWord, 10);
    EXPECT_EQ(s.DOutMode, 0x80 | 0x02 | 0x20);
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Setup successful"});

    // Back in alarm mode the sources cannot be chosen, but stay as they were.
    Window->DOutAlarm->click();
    EXPECT_FALSE(Window->ROI2CheckBox->isEnabled());
    EXPECT_TRUE(Window->ROI2CheckBox->isChecked());

    s.DOutMode = 0x81;
    s.AOut1RangeWord = 3000;
    s.AOut2AlarmWord = 0x8028; // 40000
    Dosika->SetState(s);
    Ui.Messages.clear();
    Window->GetSetupButton->click();
    EXPECT_TRUE(Window->DOutPulse->isChecked());
    EXPECT_TRUE(Window->ROI1CheckBox->isChecked());
    EXPECT_FALSE(Window->ROI2CheckBox->isChecked());
    EXPECT_TRUE(Window->ROI5CheckBox->isEnabled());
    EXPECT_EQ(Window->AOut1RangeEdit->text().toStdString(), "3000");
    EXPECT_EQ(Window->AOut2AlarmLevelEdit->text().toStdString(), "40000");
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Setup loaded"});
}

TEST_F(AnalogSensorControlWindowTest, ReadingsAreShownOnceWithAMessage) {
    sim::TDkSimState state = sim::DkSimDefaultState(6, 5);
    state.Values.RadonValue = 120;
    state.Values.RadonError = 8;
    state.Values.ThoronValue = -1;
    state.Values.TemperatureCode = 255;
    state.Values.HumidityCode = 96; // 45.2 % rH
    state.Values.AOut1Value = 1022;
    state.Values.AOut2Value = 1023;
    Open(state);
    EXPECT_EQ(Readings(), (std::vector<std::string>{"no value", "no value", "no value", "no value", "not valid",
                                                    "not valid", "not valid", "not valid"}));
    Window->SpeedButton1->click();
    EXPECT_EQ(Commands(), (TBytes{0x62, 0x63, 0x64, 0x65}));
    EXPECT_EQ(Readings(), (std::vector<std::string>{"120Bq/m³ ±8%", "no value", "no value", " 45%", "1022mV",
                                                    "20.44mA", "not valid", "not valid"}));
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Actual data loaded!"});
}

TEST_F(AnalogSensorControlWindowTest, TheTimerReadsSilentlyWhileTheWindowIsShown) {
    Open(sim::DkSimDefaultState(6, 5));
    const QColor red = Window->AutoUpdateStatus->palette().color(QPalette::Window);
    EXPECT_EQ(red, QColor(255, 0, 0));
    Type(Window->IntervalEdit, QStringLiteral("abc"));
    Window->TimerEnable->click();
    EXPECT_TRUE(Window->Timer.isActive());
    EXPECT_EQ(Window->Timer.interval(), 30000);
    EXPECT_EQ(Window->IntervalEdit->text().toStdString(), "30");
    EXPECT_EQ(Window->AutoUpdateStatus->palette().color(QPalette::Window), QColor(0, 160, 0));

    // A tick reads without a message, also when the read fails.
    sim::TDkSimValues values;
    values.AOut1Value = 700;
    Dosika->SetValues(values);
    Window->TimerGetActualValues();
    EXPECT_EQ(Window->AOut1ValueEdit->text().toStdString(), "700mV");
    sim::TDkFault silent;
    silent.Count = 0;
    Dosika->AddFault(silent);
    Window->TimerGetActualValues();
    EXPECT_TRUE(Ui.Messages.empty());

    Window->hide();
    EXPECT_FALSE(Window->Timer.isActive());
    EXPECT_FALSE(Window->TimerEnable->isChecked());
    // Without the timer a failed read says so.
    Window->SpeedButton1->click();
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{*ResultMessageText(Result::NoAnswer)});
}

TEST_F(AnalogSensorControlWindowTest, ATickDuringAReadIsSkipped) {
    Open(sim::DkSimDefaultState(6, 5));
    // The tick comes while the read waits before its first request.
    Ui.ManualClock.OnNextPause = [this] { Window->TimerGetActualValues(); };
    Window->SpeedButton1->click();
    EXPECT_FALSE(Ui.ManualClock.OnNextPause); // it came
    EXPECT_EQ(Commands(), (TBytes{0x62, 0x63, 0x64, 0x65}));
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Actual data loaded!"});
}

TEST_F(AnalogSensorControlWindowTest, OperationAndOutputTestsReachTheSensor) {
    Open(sim::DkSimDefaultState(6, 5));
    Type(Window->DAC1ValueEdit, QStringLiteral("1200"));
    Type(Window->DAC2ValueEdit, QStringLiteral("x"));
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        std::function<bool(const sim::TDkSimState&)> Done;
        std::string Message;
    };
    const TCase cases[] = {
        {"DAC test", [this] { Window->DACTestButton->click(); },
         [](const auto& s) { return s.Dac1 == 1200 && s.Dac2 == 500; }, "DAC Output updated!"},
        {"switch on",
         [this] {
             Window->DOutONButton->click();
             Window->SwitchTestButton->click();
         },
         [](const auto& s) { return s.SwitchOn; }, "Switch Output updated!"},
        {"switch off",
         [this] {
             Window->DOutOffButton->click();
             Window->SwitchTestButton->click();
         },
         [](const auto& s) { return !s.SwitchOn; }, "Switch Output updated!"},
        {"start", [this] { Window->StartButton->click(); },
         [](const auto& s) { return s.Measuring && s.Records.empty(); }, "Measurement started!"},
        {"stop", [this] { Window->StopButton->click(); }, [](const auto& s) { return !s.Measuring; },
         "Measurement stopped!"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Ui.Messages.clear();
        c.Act();
        EXPECT_TRUE(c.Done(Dosika->State()));
        EXPECT_EQ(Ui.Messages, std::vector<std::string>{c.Message});
    }
}

} // namespace
} // namespace lumetra::test
