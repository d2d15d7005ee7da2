// The Halvo control window against a simulated instrument: each command reaches it and
// changes what it holds, the questions declined send nothing, the setup goes out as the
// controls say.

#include "ui/halvo/HalvoControlWindow.h"

#include "ControlWindowSupport.h"
#include "core/Errors.h"
#include "halvo/HalvoSimSeries.h"
#include "i18n/Translation.h"

#include <QTest>

#include <ctime>
#include <functional>
#include <sstream>

namespace lumetra::test {
namespace {

sim::THalvoSimState Instrument(std::uint8_t type, std::uint8_t software) {
    sim::THalvoSimState state;
    state.DeviceType = type;
    state.SoftwareVersion = software;
    state.DeviceNumber = 4711;
    state.Measuring = false;
    return state;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line, '\r');)
        lines.push_back(line);
    return lines;
}

class HalvoControlWindowTest : public TControlWindowTest {
protected:
    void SetUp() override {
        Window = std::make_unique<THalvoControlWindow>(Catalog);
        Window->UseUserInterface(&Ui);
    }

    // As the main window opens it: identity and setup read, then shown.
    void Open(const sim::THalvoSimState& state) {
        ServeHalvo(state);
        Window->SelectedCom = Port();
        ASSERT_EQ(HlvOpenControl(Ui, Window->SelectedCom, Window->InitValues, Window->SetupValues), Result::Success);
        Window->show();
        ClearLog();
    }

    TTranslationCatalog Catalog;
    std::unique_ptr<THalvoControlWindow> Window;
};

TEST_F(HalvoControlWindowTest, ControlsFollowTheTypeAndFirmware) {
    struct TCase {
        Byte Type, Software;
        bool StopBefore;
        bool Start, Stop, Battery, Presets, Buzzer, Pump, Alarm, Lucas, SetGet, Recent;
    };
    const TCase cases[] = {
        {1, 8, true, false, false, false, true, false, false, false, false, false, false},
        // Type 3 leaves the stop button as it was.
        {3, 9, false, false, false, true, true, false, false, false, false, true, true},
        {3, 10, true, false, true, true, true, false, false, true, false, true, true},
        {4, 6, false, true, true, true, false, true, true, true, false, true, false},
        {4, 7, false, true, true, true, false, true, true, true, false, true, true},
        {5, 12, true, false, false, true, false, false, false, false, true, true, false},
        {6, 9, false, true, true, true, false, true, false, true, false, true, true},
        {8, 12, true, false, false, false, false, false, false, false, false, true, false},
        // A type of no row changes nothing: the window as it was created.
        {42, 1, false, true, false, true, true, true, true, true, true, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << " software " << int(c.Software));
        THalvoControlWindow w(Catalog);
        w.StopButton->setEnabled(c.StopBefore);
        w.SetTimeButton->setEnabled(false);
        w.InitValues.DeviceType = c.Type;
        w.InitValues.SoftwareVersion = c.Software;
        w.InitValues.DeviceNumber = 4711;
        w.ShowSetupValues();
        EXPECT_TRUE(w.SetTimeButton->isEnabled());
        EXPECT_EQ(w.StartButton->isEnabled(), c.Start);
        EXPECT_EQ(w.StopButton->isEnabled(), c.Stop);
        EXPECT_EQ(w.CheckBatteryButton->isEnabled(), c.Battery);
        EXPECT_EQ(w.LongIntervalButton->isEnabled(), c.Presets);
        EXPECT_EQ(w.ShortIntervalButton->isEnabled(), c.Presets);
        EXPECT_EQ(w.Po218RadioButton->isEnabled(), c.Buzzer);
        EXPECT_EQ(w.FastRadioButton->isEnabled(), c.Buzzer); // the radon mode goes with the buzzer
        EXPECT_EQ(w.IntervalRadioButton->isEnabled(), c.Pump);
        EXPECT_EQ(w.AlarmLevelEdit->isEnabled(), c.Alarm);
        EXPECT_EQ(w.LucasCellSizeGroupBox->isEnabled(), c.Lucas);
        EXPECT_EQ(w.SizeXLRadioButton->isEnabled(), c.Lucas);
        EXPECT_EQ(w.SetButton->isEnabled(), c.SetGet);
        EXPECT_EQ(w.GetButton->isEnabled(), c.SetGet);
        EXPECT_EQ(w.SIRadioButton->isEnabled(), c.Type != 1 && c.Type != 2);
        EXPECT_EQ(!w.RecentReadingsButton->isHidden(), c.Recent);
    }
    THalvoControlWindow w(Catalog);
    w.InitValues.DeviceType = 4;
    w.InitValues.SoftwareVersion = 7;
    w.InitValues.DeviceNumber = 4711;
    w.ShowSetupValues();
    EXPECT_EQ(w.windowTitle().toStdString(), "KVX5210-2, SN 4711 / 7");
}

TEST_F(HalvoControlWindowTest, CommandsReachTheInstrument) {
    Open(Instrument(4, 12));
    Halvo->SetBatteryRaw(200);
    struct TCase {
        const char* Name;
        QPushButton* Button;
        Byte Command;
        std::function<bool(const sim::THalvoSimState&)> Done;
        std::string Message;
    };
    const TCase cases[] = {
        {"lock", Window->LockButton, 0x01, [](const auto& s) { return s.Locked; }, "Switch locked!"},
        {"unlock", Window->UnlockButton, 0x02, [](const auto& s) { return !s.Locked; }, "Switch unlocked!"},
        {"start", Window->StartButton, 0x12, [](const auto& s) { return s.Measuring; }, "Sampling started!"},
        // 200 × 0.01801 V on a KVX5210-2.
        {"battery", Window->CheckBatteryButton, 0x0D, [](const auto&) { return true; },
         "Battery Voltage per Cell: 3.60V"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Ui.Messages.clear();
        ClearLog();
        c.Button->click();
        EXPECT_EQ(Commands().back(), c.Command);
        EXPECT_TRUE(c.Done(Halvo->State()));
        EXPECT_EQ(Ui.Messages, std::vector<std::string>{c.Message});
    }

    Ui.Messages.clear();
    Window->SetTimeButton->click();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(Halvo->State().Clock.Year, local.tm_year + 1900); // the simulator starts in 2017
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].rfind("Clock set to: ", 0), 0u) << Ui.Messages[0];
}

TEST_F(HalvoControlWindowTest, SetupIsLoadedAndSentAsTheControlsSay) {
    sim::THalvoSimState state = Instrument(4, 12);
    state.SampleInterval = 30;
    state.SetupWord = 0x0006; // buzzer Po-216, fast
    state.AlarmLevel = 300;
    ServeHalvo(state);
    Window->SelectedCom = Port();
    Window->InitValues.DeviceType = 4;
    Window->InitValues.SoftwareVersion = 12;
    Window->show();
    EXPECT_EQ(Window->SampleIntervalEdit->text().toStdString(), "60");
    EXPECT_EQ(Window->AlarmLevelEdit->text().toStdString(), "200");

    Window->GetButton->click();
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Setup loaded"});
    EXPECT_EQ(Window->SampleIntervalEdit->text().toStdString(), "30");
    EXPECT_EQ(Window->AlarmLevelEdit->text().toStdString(), "300");
    EXPECT_TRUE(Window->Po216RadioButton->isChecked());
    EXPECT_TRUE(Window->FastRadioButton->isChecked());
    EXPECT_TRUE(Window->SIRadioButton->isChecked());

    // Interval 60, buzzer on alarm, slow, US units: the setup word 0x0011; the alarm
    // level shown in pCi/L is still the 300 Bq/m³ read.
    Type(Window->SampleIntervalEdit, QStringLiteral("60"));
    Window->AlarmRadioButton->click();
    Window->SlowRadioButton->click();
    Window->USRadioButton->click();
    EXPECT_EQ(Window->AlarmLevelEdit->text().toStdString(), "8.1");
    EXPECT_EQ(Window->UnitLabel->text().toStdString(), "pCi/L");
    ClearLog();
    Ui.Messages.clear();
    Window->SetButton->click();
    EXPECT_EQ(Requests(), (std::vector<TBytes>{{0x0F, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00}}));
    EXPECT_EQ(Halvo->State().SampleInterval, 60);
    EXPECT_EQ(Halvo->State().SetupWord, 0x0011);
    EXPECT_EQ(Halvo->State().AlarmLevel, 300);
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Setup successful!"});

    // Typed in pCi/L, sent in Bq/m³; back in SI the edit shows what was sent.
    Type(Window->AlarmLevelEdit, QStringLiteral("5.4"));
    Window->SetButton->click();
    EXPECT_EQ(Halvo->State().AlarmLevel, 200);
    Window->SIRadioButton->click();
    EXPECT_EQ(Window->AlarmLevelEdit->text().toStdString(), "200");
    EXPECT_EQ(Window->UnitLabel->text().toStdString(), "Bq/m³");
}

TEST_F(HalvoControlWindowTest, AnIntervalThatDoesNotFitIsRefusedAndNothingSent) {
    Open(Instrument(4, 12));
    Type(Window->SampleIntervalEdit, QStringLiteral("300"));
    Window->SetButton->click();
    EXPECT_TRUE(Requests().empty());
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_NE(Ui.Messages[0].find("Sampling Interval"), std::string::npos) << Ui.Messages[0];
    EXPECT_NE(Ui.Messages[0].find("255"), std::string::npos) << Ui.Messages[0];
    EXPECT_EQ(Halvo->State().SampleInterval, 60);
}

TEST_F(HalvoControlWindowTest, ClearingAndStoppingAskFirst) {
    sim::THalvoSimState state = Instrument(4, 12);
    state.Measuring = true;
    state.Records = sim::GenerateHalvoRecords(state, sim::THalvoSeries{});
    Open(state);
    const std::vector<std::string> questions{"You really want to clear all data?", "You really want to stop sampling?"};

    Ui.YesNoAnswers = {false, false};
    Window->ClearDataButton->click();
    Window->StopButton->click();
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(Ui.Warnings, questions);
    EXPECT_EQ(Ui.QuestionTitles, (std::vector<std::string>{"Clear Data", "Stop sampling"}));

    Ui.YesNoAnswers = {true, true};
    Window->ClearDataButton->click();
    Window->StopButton->click();
    EXPECT_EQ(Commands(), (TBytes{0x08, 0x15}));
    EXPECT_TRUE(Halvo->State().Records.empty());
    EXPECT_FALSE(Halvo->State().Measuring);
    EXPECT_EQ(Ui.Messages, (std::vector<std::string>{"Data memory cleared!", "Sampling stopped!"}));
}

TEST_F(HalvoControlWindowTest, IntervalPresetsAreCommandsOrTheWholeSetup) {
    struct TCase {
        Byte Type;
        bool Long;
        TBytes Commands;
        std::string Edit; // what the interval edit shows afterwards
        std::string Message;
    };
    const TCase cases[] = {
        // Type 1 has no setup to read: the edit shows the default and stays.
        {1, true, {0x03}, "60", "Sample interval set to 3 hours!"},
        {1, false, {0x04}, "60", "Sample interval set to 1 hour!"},
        {3, true, {0x0F}, "180", "Sample interval set to 3 hours!"},
        {3, false, {0x0F}, "60", "Sample interval set to 1 hour!"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << (c.Long ? " long" : " short"));
        sim::THalvoSimState state = Instrument(c.Type, 8);
        state.SampleInterval = 120;
        state.SetupWord = 0x0010;
        Open(state);
        Ui.Messages.clear();
        (c.Long ? Window->LongIntervalButton : Window->ShortIntervalButton)->click();
        EXPECT_EQ(Commands(), c.Commands);
        EXPECT_EQ(Halvo->State().SampleInterval, c.Long ? 180 : 60);
        EXPECT_EQ(Window->SampleIntervalEdit->text().toStdString(), c.Edit);
        EXPECT_EQ(Ui.Messages, std::vector<std::string>{c.Message});
        // Type 3 sends the rest of the setup as it was read.
        EXPECT_EQ(Halvo->State().SetupWord, 0x0010);
        EXPECT_EQ(Halvo->State().AlarmLevel, 300);
    }
}

TEST_F(HalvoControlWindowTest, RecentReadingsInTheUnitsOfTheSetup) {
    sim::THalvoSimState state = Instrument(4, 12);
    state.SetupWord = 0x0010;
    Open(state);
    // The readings of the moment the button is pressed.
    sim::THalvoRecent recent;
    recent.Interval = 30;
    recent.Radon = 3.0f;
    recent.RadonError = 12;
    recent.Radon2 = 1.0f;
    recent.Radon2Error = 30;
    recent.Temperature = 70.0f;
    recent.Humidity = 45.0f;
    recent.Pressure = 29.5f;
    recent.Tilts = 2;
    Halvo->SetRecent(recent);
    ASSERT_FALSE(Window->RecentReadingsButton->isHidden());
    Window->RecentReadingsButton->click();
    EXPECT_EQ(Commands(), TBytes{0x14});
    ASSERT_EQ(Ui.Messages.size(), 1u);
    const std::vector<std::string> lines = Lines(Ui.Messages[0]);
    ASSERT_EQ(lines.size(), 8u) << Ui.Messages[0];
    EXPECT_EQ(lines[0], "Interval: 30 min");
    EXPECT_EQ(lines[1].rfind("Time stamp: ", 0), 0u);
    EXPECT_EQ(lines[2], "Radon: 3 pCi/L +/-12%");
    EXPECT_EQ(lines[3], "Thoron: 1 pCi/L +/-30%");
    EXPECT_EQ(lines[4], "Temperature: 70 °F");
    EXPECT_EQ(lines[5], "rel. Humidity: 45 %rH");
    EXPECT_EQ(lines[6], "bar. Pressure: 29.5 inHg");
    EXPECT_EQ(lines[7], "Tilt: 2");
}

TEST_F(HalvoControlWindowTest, AFailedCommandShowsItsResultAndKeepsTheControls) {
    sim::THalvoSimState state = Instrument(4, 12);
    state.SampleInterval = 30;
    Open(state);
    sim::THalvoFault silent;
    silent.Count = 0; // every request from now on
    Halvo->AddFault(silent);
    Window->CheckBatteryButton->click();
    Window->GetButton->click();
    const std::string noAnswer = *ResultMessageText(Result::NoAnswer);
    EXPECT_EQ(Ui.Messages, (std::vector<std::string>{noAnswer, noAnswer}));
    EXPECT_EQ(Window->SampleIntervalEdit->text().toStdString(), "30");
}

} // namespace
} // namespace lumetra::test
