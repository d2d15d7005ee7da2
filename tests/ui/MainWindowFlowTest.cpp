// The main window driven as a user would: start-up, port choice, download from simulated
// instruments on pseudo-terminals, borders by mouse, export, save and open again.

#include "evaluation/IntegralData.h"
#include "ui/MainWindow.h"

#include "common/SimPty.h"
#include "dosika/DosikaSimSeries.h"
#include "dosika/DosikaSimState.h"
#include "dosika/DosikaSimulator.h"
#include "halvo/HalvoSimSeries.h"
#include "halvo/HalvoSimulator.h"
#include "support/ScriptedUserInterface.h"
#include "support/TempDir.h"
#include "ui/dosika/DosikaControlWindow.h"
#include "ui/halvo/HalvoControlWindow.h"

#include "ControlWindowSupport.h"
#include "SampleSets.h"
#include "cli/SampleDataFiles.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumetra {
namespace {

// A window whose file dialogs answer from the test.
class TScriptedWindow final : public TMainWindow {
public:
    using TMainWindow::TMainWindow;
    std::string OpenAnswer;
    std::string SaveAnswer;
    std::string OfferedSaveName;

protected:
    std::string ChooseOpenFileName() override { return OpenAnswer; }
    std::string ChooseSaveFileName(const std::string& defaultName) override {
        OfferedSaveName = defaultName;
        return SaveAnswer;
    }
};

struct TSummary {
    std::string Device, Records, Period, Average, Exposure, Start, End;
    bool operator==(const TSummary&) const = default;
};

TSummary Summary(const TMainWindow& w) {
    return {w.DevNumberLabel->text().toStdString(), w.TotalRecordsLabel->text().toStdString(),
            w.PeriodLabel->text().toStdString(),    w.AverageLabel->text().toStdString(),
            w.ExposureLabel->text().toStdString(),  w.StartTestLabel->text().toStdString(),
            w.EndTestLabel->text().toStdString()};
}

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void MoveAndClick(TDiagramWidget* diagram, int innerX) {
    const QPoint at(diagram->Boxes().InnerDiagram.Left + innerX, diagram->Boxes().InnerDiagram.Top + 50);
    QMouseEvent move(QEvent::MouseMove, at, diagram->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(diagram, &move);
    QMouseEvent press(QEvent::MouseButtonPress, at, diagram->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(diagram, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, diagram->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(diagram, &release);
}

void Screenshot(QWidget& window, const std::string& name) {
    QApplication::processEvents();
    const QImage image = window.grab().toImage();
    EXPECT_TRUE(image.save(QString::fromStdString(name)));
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class MainWindowFlow : public ::testing::Test {
protected:
    void SetUp() override {
        Window = std::make_unique<TScriptedWindow>(Dir.Path());
        Window->SetPortDirectory(Dir.File("no-devices"));
        Window->SetStartDirectory(Dir.File("start"));
        std::filesystem::create_directories(Dir.File("start"));
        Window->UseUserInterface(&Ui);
        Window->resize(1200, 760);
        Window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        Window.reset();
        if (Server)
            Server->Stop();
    }

    void ServeHalvo(std::size_t records) {
        sim::THalvoSimState state;
        state.DeviceType = 4;
        state.SoftwareVersion = 12;
        state.DeviceNumber = 4711;
        state.Measuring = false;
        sim::THalvoSeries series;
        series.Count = records;
        series.RadonMean = 250;
        state.Records = sim::GenerateHalvoRecords(state, series);
        Halvo = std::make_unique<sim::THalvoSimulator>(std::move(state));
        Server = std::make_unique<sim::TPtyServer>(*Halvo);
        std::string error;
        ASSERT_TRUE(Server->Start(Dir.File("halvo"), error)) << error;
        Window->AddDemoPorts({{"Demo Halvo", Dir.File("halvo")}});
    }

    void ChoosePort(const std::string& name) {
        const int index = Window->SelectCOM->findText(QString::fromStdString(name));
        ASSERT_GE(index, 0);
        Window->SelectCOM->setCurrentIndex(index);
        Window->ChangeComPort(index);
    }

    test::TTempDir Dir;
    test::TScriptedUserInterface Ui;
    std::unique_ptr<TScriptedWindow> Window;
    std::unique_ptr<sim::THalvoSimulator> Halvo;
    std::unique_ptr<sim::TDosikaSimulator> Dosika;
    std::unique_ptr<sim::TPtyServer> Server;
};

TEST_F(MainWindowFlow, StartsWithSilverBoxesDashesAndDisabledDataButtons) {
    EXPECT_EQ(Window->windowTitle().toStdString(), "Merix Lumetra 6.6.0");
    EXPECT_EQ(Window->SelectCOM->currentIndex(), -1);
    EXPECT_EQ(Window->SelectCOM->placeholderText().toStdString(), "SelectCOM");
    // Without devices the list holds only the instrument server entry.
    ASSERT_EQ(Window->SelectCOM->count(), 1);
    EXPECT_EQ(Window->SelectCOM->itemText(0).toStdString(), "TCP-IP");
    for (QWidget* button : std::initializer_list<QWidget*>{Window->SetUpButton, Window->DataButton, Window->SaveButton,
                                                           Window->ExportTextButton, Window->PrintProtocolButton,
                                                           Window->UnitButton, Window->ErrorBarButton})
        EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(Window->CutZigBeeButton->isVisible());
    EXPECT_FALSE(Window->RadonDisplayModeComboBox->isVisible());
    for (const QLabel* label : {Window->DevNumberLabel, Window->TotalRecordsLabel, Window->PeriodLabel,
                                Window->ExposureTimeLabel, Window->AverageLabel, Window->ExposureLabel,
                                Window->StartTestLabel, Window->EndTestLabel})
        EXPECT_EQ(label->text().toStdString(), "-");
    EXPECT_EQ(Window->L1->text().toStdString(), "Time:");
    EXPECT_EQ(Window->SearchButton->toolTip().toStdString(), "Search for a connected Instrument");
    EXPECT_EQ(Window->DataButton->toolTip().toStdString(), "Load Data from Instrument");
    EXPECT_EQ(Window->SearchButton->size(), QSize(40, 40));
    EXPECT_EQ(Window->ZoomInButton->size(), QSize(32, 20));

    // The five boxes are silver (192, 192, 192) inside, at the middle of each.
    const QImage image = Window->Diagram->grab().toImage();
    const TDiagramLayout& boxes = Window->Diagram->Boxes();
    for (const TLayoutRect& box : {boxes.DiagramHeader, boxes.InnerDiagram, boxes.LeftYAxisBox, boxes.RightYAxisBox,
                                   boxes.XAxisBox}) {
        const QColor centre = image.pixelColor(box.Left + box.Width / 2, box.Top + box.Height / 2);
        EXPECT_EQ(centre, QColor(192, 192, 192)) << box.Left << "," << box.Top;
    }
    Screenshot(*Window, "mainwindow-empty.png");
}

TEST_F(MainWindowFlow, DoubleClicksOnTheTimeCaptionStepTheServiceButton) {
    const auto doubleClick = [this] {
        const QPoint at(5, 5);
        QMouseEvent event(QEvent::MouseButtonDblClick, at, Window->L1->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Window->L1, &event);
    };
    doubleClick();
    EXPECT_TRUE(Window->CutZigBeeButton->isVisible());
    doubleClick();
    EXPECT_TRUE(Window->CutZigBeeButton->isVisible());
    doubleClick();
    EXPECT_FALSE(Window->CutZigBeeButton->isVisible());
}

TEST_F(MainWindowFlow, TcpIpIsNotReachedYet) {
    ChoosePort("TCP-IP");
    EXPECT_TRUE(Window->DataButton->isEnabled());
    EXPECT_TRUE(Window->SetUpButton->isEnabled());
    Window->LoadData();
    Window->DeviceSetup();
    EXPECT_EQ(Ui.Messages, (std::vector<std::string>(2, "TCP/IP connection not established!")));
}

TEST_F(MainWindowFlow, SearchFindsTheHalvoAndSelectsItsPort) {
    ServeHalvo(10);
    Window->SearchInstrument();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0], "Demo Halvo -> KVX5210-2, SN:4711, SW:12");
    EXPECT_EQ(Window->SelectedPortName(), "Demo Halvo");
    EXPECT_EQ(Window->SelectCOM->currentText().toStdString(), "Demo Halvo");
    EXPECT_TRUE(Window->DataButton->isEnabled());
    EXPECT_TRUE(Window->SetUpButton->isEnabled());
}

TEST_F(MainWindowFlow, NoInstrumentFound) {
    Window->AddDemoPorts({{"Nothing here", Dir.File("missing")}});
    Window->SearchInstrument();
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"No connected instruments found."});
    EXPECT_FALSE(Window->DataButton->isEnabled());
    EXPECT_FALSE(Window->SetUpButton->isEnabled());
}

std::size_t OpenDescriptors() {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                                  std::filesystem::directory_iterator{}));
}

TEST_F(MainWindowFlow, SetupOpensTheHalvoWindowOnTheHeldLine) {
    ServeHalvo(10);
    ChoosePort("Demo Halvo");
    ASSERT_TRUE(Window->SetUpButton->isEnabled());
    EXPECT_EQ(Window->SetUpButton->toolTip().toStdString(), "Instrument Setup");
    const std::size_t before = OpenDescriptors();
    THalvoControlWindow& halvo = *Window->HalvoControlWindow;
    test::TWhenShown shown(halvo, [&] {
        EXPECT_EQ(halvo.windowTitle().toStdString(), "KVX5210-2, SN 4711 / 12");
        EXPECT_NE(halvo.SelectedCom.Handle, InvalidHandle);
        EXPECT_EQ(halvo.SetupValues.AlarmLevel, Halvo->State().AlarmLevel);
        EXPECT_EQ(halvo.SampleIntervalEdit->text().toStdString(), "60");
        // The window talks over the line the main window holds open.
        halvo.LockButton->click();
        EXPECT_TRUE(Halvo->State().Locked);
    });
    Window->SetUpButton->click();
    EXPECT_TRUE(shown.Done);
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Switch locked!"});
    EXPECT_EQ(OpenDescriptors(), before) << "the port was left open";
}

TEST_F(MainWindowFlow, SetupOfAMeasuringDosikaStopsItOnlyOnYes) {
    sim::TDkSimState state = sim::DkSimDefaultState(2, 5);
    state.SerialNumber = 2345;
    state.Measuring = true;
    Dosika = std::make_unique<sim::TDosikaSimulator>(std::move(state));
    Server = std::make_unique<sim::TPtyServer>(*Dosika);
    std::string error;
    ASSERT_TRUE(Server->Start(Dir.File("dosika"), error)) << error;
    Window->AddDemoPorts({{"Demo Dosika", Dir.File("dosika")}});
    ChoosePort("Demo Dosika");
    TDosikaControlWindow& dosika = *Window->DosikaControlWindow;

    Ui.YesNoAnswers = {false};
    {
        test::TWhenShown notShown(dosika, [] {});
        Window->DeviceSetup();
        EXPECT_FALSE(notShown.Done);
    }
    EXPECT_TRUE(Dosika->State().Measuring);
    EXPECT_TRUE(Ui.Messages.empty()); // declined is no failure

    Ui.YesNoAnswers = {true};
    test::TWhenShown shown(dosika, [&] {
        EXPECT_EQ(dosika.windowTitle().toStdString(), "Dosika PRO SN: 2345");
        EXPECT_EQ(dosika.ModeBit2GroupBox->title().toStdString(), "Dose Mode");
    });
    Window->DeviceSetup();
    EXPECT_TRUE(shown.Done);
    EXPECT_FALSE(Dosika->State().Measuring);
    EXPECT_EQ(Ui.Questions, (std::vector<std::string>(2, "Stop measurement?")));
}

TEST_F(MainWindowFlow, DownloadBordersExportSaveAndOpenAgain) {
    constexpr int records = 300;
    ServeHalvo(records);
    ChoosePort("Demo Halvo");
    Window->LoadData();
    ASSERT_EQ(Ui.Messages, std::vector<std::string>{"Data download completed!"});
    ASSERT_TRUE(Window->InstrumentData().Valid);
    EXPECT_EQ(Window->InstrumentData().NumberOfRecords, records);
    EXPECT_EQ(Window->windowTitle().toStdString(), "Merix Lumetra 6.6.0");
    EXPECT_EQ(Window->CurrentFileName(), "");
    EXPECT_EQ(Window->DevNumberLabel->text().toStdString(), "KVX5210-2 SN: 4711");
    EXPECT_EQ(Window->TotalRecordsLabel->text().toStdString(), "300");
    EXPECT_EQ(Window->ExposureTimeLabel->text().toStdString(), "300.0 hours");
    EXPECT_EQ(TextColour(Window->AverageLabel), QColor(128, 128, 128)); // no borders yet
    EXPECT_TRUE(Window->SaveButton->isEnabled());
    EXPECT_FALSE(Window->ExportTextButton->isEnabled());
    EXPECT_TRUE(Window->UnitButton->isEnabled());
    EXPECT_TRUE(Window->CommentEdit->text().isEmpty());
    const TSummary whole = Summary(*Window);
    Screenshot(*Window, "mainwindow-loaded.png");

    // US units and back: the button names the other system, the values return exactly.
    Window->ChangeUnits();
    EXPECT_EQ(Window->UnitButton->text().toStdString(), "Bq");
    EXPECT_NE(Window->AverageLabel->text().toStdString(), whole.Average);
    EXPECT_NE(Window->AverageLabel->text().toStdString().find("pCi/L"), std::string::npos)
        << Window->AverageLabel->text().toStdString();
    EXPECT_FALSE(Window->ExposureLabel->isVisible());
    Window->ChangeUnits();
    EXPECT_EQ(Window->UnitButton->text().toStdString(), "pCi");
    EXPECT_EQ(Summary(*Window), whole);
    EXPECT_TRUE(Window->ExposureLabel->isVisible());

    // 300 records in a diagram wider than 300 pixels: zoom = W div 300, record 1 at x 0.
    const int width = Window->Diagram->InnerWidth();
    ASSERT_GE(width, records);
    const int zoom = width / records;
    EXPECT_EQ(Window->View().Zoom, zoom);
    // Clicks on records 201 and 51, right border first. The record under x is the one
    // whose point is nearest: at x = 200 zoom that is the 201st for any zoom of 2 or more.
    ASSERT_GE(zoom, 2);
    MoveAndClick(Window->Diagram, 200 * zoom);
    EXPECT_EQ(TextColour(Window->StartTestLabel), QColor(255, 0, 0));
    EXPECT_EQ(Window->EndTestLabel->text().toStdString(), "?");
    MoveAndClick(Window->Diagram, 50 * zoom);
    EXPECT_TRUE(Window->View().BordersSelected);
    EXPECT_EQ(Window->View().LeftBorderIndex, 51);
    EXPECT_EQ(Window->View().RightBorderIndex, 201);
    EXPECT_EQ(Window->TotalRecordsLabel->text().toStdString(), "151");
    EXPECT_EQ(TextColour(Window->AverageLabel), QColor(0, 0, 0));
    EXPECT_FALSE(Window->TimeLabel->text().isEmpty());

    Window->FitGraphic();
    // One record left of the left border stays in view; the 151 records fill the width.
    EXPECT_EQ(Window->View().FirstVisibleRecord, 50);
    EXPECT_EQ(Window->View().Zoom, width / 151);
    Window->ErrorBarButton->setChecked(true);
    Screenshot(*Window, "mainwindow-zoomed-borders-errorbars.png");
    Window->ErrorBarButton->setChecked(false);
    Window->SmoothComboBox->setCurrentIndex(3);
    Window->SmoothingPeriodChanged(3);
    EXPECT_EQ(Window->Smoothed().Period, 3);
    Window->ResetBorders();
    Window->FitGraphic();
    Screenshot(*Window, "mainwindow-smoothed.png");
    Window->SmoothComboBox->setCurrentIndex(0);
    Window->SmoothingPeriodChanged(0);
    EXPECT_EQ(Summary(*Window), whole);

    // Export is offered only after saving.
    Ui.TextAnswers = {"cellar, north wall"};
    Window->SaveFile();
    ASSERT_EQ(Ui.Messages.size(), 2u);
    const std::string saved = Window->CurrentFileName();
    EXPECT_EQ(Ui.Messages[1], "Data saved as: \"" + saved + "\"");
    EXPECT_EQ(Window->windowTitle().toStdString(), "Merix Lumetra 6.6.0 [" + saved + "]");
    EXPECT_EQ(Window->CommentEdit->text().toStdString(), "cellar, north wall");
    EXPECT_FALSE(Window->SaveButton->isEnabled());
    EXPECT_TRUE(Window->ExportTextButton->isEnabled());
    const std::filesystem::path folder = std::filesystem::path(Dir.File("start")) / "DATA" / "Year-2017" / "Dev.No. 4711";
    ASSERT_TRUE(std::filesystem::exists(folder / saved)) << (folder / saved);

    Ui.TextAnswers = {"for the report"};
    Window->SaveAnswer = Dir.File("export.txt");
    Window->AsciiExport();
    const std::string exported = ReadAll(Dir.File("export.txt"));
    EXPECT_NE(exported.find("for the report"), std::string::npos);
    EXPECT_NE(exported.find(saved), std::string::npos);
    EXPECT_EQ(Window->InstrumentData().Comment, "cellar, north wall"); // the export's comment is its own

    // A failed open keeps the data and clears the comment line.
    Window->OpenAnswer = Dir.File("export.txt");
    Window->OpenFile();
    EXPECT_EQ(Ui.Messages.back(), "Unable to open file! Wrong file format!");
    EXPECT_TRUE(Window->CommentEdit->text().isEmpty());
    EXPECT_TRUE(Window->InstrumentData().Valid);

    Window->OpenAnswer = (folder / saved).string();
    Window->OpenFile();
    EXPECT_EQ(Summary(*Window), whole);
    EXPECT_EQ(Window->CommentEdit->text().toStdString(), "cellar, north wall");
    EXPECT_EQ(Window->windowTitle().toStdString(), "Merix Lumetra 6.6.0 [" + saved + "]");
    EXPECT_FALSE(Window->SaveButton->isEnabled());
    EXPECT_TRUE(Window->ExportTextButton->isEnabled());
}

TEST_F(MainWindowFlow, SavingWhereNoFolderCanBeMadeSaysSo) {
    ServeHalvo(20);
    ChoosePort("Demo Halvo");
    Window->LoadData();
    ASSERT_TRUE(Window->InstrumentData().Valid);
    {
        std::ofstream blocker(Dir.File("blocked"));
        blocker << "a file where the start folder should be";
    }
    Window->SetStartDirectory(Dir.File("blocked"));
    Ui.TextAnswers = {""};
    Window->SaveFile();
    ASSERT_EQ(Ui.Messages.size(), 2u);
    EXPECT_EQ(Ui.Messages[1].rfind("Unable to save file: ", 0), 0u) << Ui.Messages[1];
    EXPECT_TRUE(Window->SaveButton->isEnabled());
    EXPECT_EQ(Window->CurrentFileName(), "");
}

TEST_F(MainWindowFlow, MeasuringDosikaProStoppedOnYes) {
    sim::TDkSimState state = sim::DkSimDefaultState(2, 5);
    state.SerialNumber = 2345;
    sim::TDkSeries series;
    series.Count = 40;
    sim::GenerateDkData(state, series);
    state.Measuring = true;
    Dosika = std::make_unique<sim::TDosikaSimulator>(std::move(state));
    Server = std::make_unique<sim::TPtyServer>(*Dosika);
    std::string error;
    ASSERT_TRUE(Server->Start(Dir.File("dosika"), error)) << error;
    Window->AddDemoPorts({{"Demo Dosika", Dir.File("dosika")}});
    ChoosePort("Demo Dosika");
    Ui.YesNoAnswers = {true};
    Window->LoadData();
    EXPECT_EQ(Ui.Questions, std::vector<std::string>{"Stop measurement?"});
    ASSERT_EQ(Ui.Messages, std::vector<std::string>{"Data download completed!"});
    EXPECT_FALSE(Dosika->State().Measuring);
    EXPECT_EQ(Window->TotalRecordsLabel->text().toStdString(), "40");
    EXPECT_EQ(Window->DevNumberLabel->text().toStdString(), "Dosika PRO SN: 2345");
}


TEST_F(MainWindowFlow, ReadOutRowBeforeAnyData) {
    const std::vector<std::string> row{Window->TimeLabel->text().toStdString(), Window->RadonLabel->text().toStdString(),
                                       Window->TempLabel->text().toStdString(), Window->rHLabel->text().toStdString(),
                                       Window->AddedSensorLabel->text().toStdString()};
    EXPECT_EQ(row, (std::vector<std::string>{"-", "-", "Temp.", "Hum.", "Pres."}));
}

TEST_F(MainWindowFlow, OpeningShowsWhatTheSetHolds) {
    struct TCase {
        Byte Type;
        std::vector<std::string> Modes; // the display mode box, in order
        bool SpectrumAndPressure;
    };
    const TCase cases[] = {{1, {"Radon"}, false}, {4, {"Radon", "Radon* (fast)", "Thoron"}, true}};
    for (const TCase& c : cases) {
        Window->OpenAnswer = test::WriteHalvoFile(Dir.File("type" + std::to_string(c.Type) + ".lmx"), 30, 0, c.Type);
        Window->OpenFile();
        std::vector<std::string> modes;
        for (int i = 0; i < Window->RadonDisplayModeComboBox->count(); ++i)
            modes.push_back(Window->RadonDisplayModeComboBox->itemText(i).toStdString());
        EXPECT_EQ(modes, c.Modes) << int{c.Type};
        EXPECT_EQ(Window->RadonDisplayModeComboBox->isVisible(), c.Modes.size() >= 2) << int{c.Type};
        EXPECT_EQ(Window->RadonDisplayModeComboBox->currentText().toStdString(), "Radon");
        EXPECT_EQ(Window->RadonModeLabel->text().toStdString(), "Radon"); // the item, as it stands
        EXPECT_EQ(Window->SpectrumButton->isVisible(), c.SpectrumAndPressure) << int{c.Type};
        EXPECT_TRUE(Window->TempLabel->isVisible());
        EXPECT_EQ(Window->AddedSensorLabel->isVisible(), c.SpectrumAndPressure) << int{c.Type};
        if (c.SpectrumAndPressure) {
            EXPECT_EQ(TextColour(Window->AddedSensorLabel), QColor(255, 0, 255)); // pressure
        }
    }
    // Another quantity: the read-out label and the summary follow it.
    const std::string radonAverage = Window->AverageLabel->text().toStdString();
    Window->RadonDisplayModeComboBox->setCurrentIndex(2);
    Window->ChangeRadonDisplayMode(2);
    EXPECT_EQ(Window->View().RadonDisplayMode, DisplayMode::Thoron);
    EXPECT_EQ(Window->RadonModeLabel->text().toStdString(), "Thoron");
    EXPECT_NE(Window->AverageLabel->text().toStdString(), radonAverage);
}

TEST_F(MainWindowFlow, SavingKeepsBordersSummaryModeAndSmoothing) {
    Window->OpenAnswer = test::WriteHalvoFile(Dir.File("downloaded.lmx"), 100, 0);
    Window->OpenFile();
    Window->Diagram->setFocus();
    const int zoom = Window->View().Zoom;
    // A first border click waits for the second; opening a file does not end the wait.
    MoveAndClick(Window->Diagram, 20 * zoom);
    ASSERT_FALSE(Window->View().AwaitingFirstBorder);
    Window->OpenFile();
    EXPECT_FALSE(Window->View().AwaitingFirstBorder);
    MoveAndClick(Window->Diagram, 60 * zoom);
    ASSERT_TRUE(Window->View().BordersSelected);
    const Integer left = Window->View().LeftBorderIndex, right = Window->View().RightBorderIndex;
    Window->RadonDisplayModeComboBox->setCurrentIndex(2);
    Window->ChangeRadonDisplayMode(2);
    Window->SmoothComboBox->setCurrentIndex(2);
    Window->SmoothingPeriodChanged(2);
    const TSummary before = Summary(*Window);

    Ui.TextAnswers = {"saved"};
    Window->SaveFile();
    EXPECT_TRUE(Window->View().BordersSelected);
    EXPECT_EQ(Window->View().LeftBorderIndex, left);
    EXPECT_EQ(Window->View().RightBorderIndex, right);
    EXPECT_EQ(Window->IntegralData().LeftIndex, left);
    EXPECT_EQ(Summary(*Window), before);
    EXPECT_EQ(Window->RadonDisplayModeComboBox->currentText().toStdString(), "Thoron");
    EXPECT_EQ(Window->View().RadonDisplayMode, DisplayMode::Thoron);
    EXPECT_EQ(Window->Smoothed().Period, 2);
    EXPECT_TRUE(Window->ExportTextButton->isEnabled());
    EXPECT_TRUE(Window->PrintProtocolButton->isEnabled());

    // The export, cancelled at its file dialog, writes nothing and says nothing.
    const auto messages = Ui.Messages.size();
    Window->SaveAnswer.clear();
    Window->AsciiExport();
    EXPECT_EQ(Ui.Messages.size(), messages);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("start/downloaded.txt")));
}

TEST_F(MainWindowFlow, RangeAcrossASeriesStartIsRedAndNotPrinted) {
    Window->OpenAnswer = test::WriteHalvoFile(Dir.File("two-series.lmx"), 40, 20);
    Window->OpenFile();
    ASSERT_TRUE(Window->ExportTextButton->isEnabled()); // opened from a file: saved
    const int zoom = Window->View().Zoom;
    MoveAndClick(Window->Diagram, 5 * zoom);
    MoveAndClick(Window->Diagram, 30 * zoom);
    ASSERT_TRUE(Window->View().BordersSelected);
    EXPECT_EQ(TextColour(Window->AverageLabel), QColor(255, 0, 0));
    EXPECT_FALSE(Window->PrintProtocolButton->isEnabled());
    MoveAndClick(Window->Diagram, 22 * zoom);
    MoveAndClick(Window->Diagram, 30 * zoom);
    EXPECT_EQ(TextColour(Window->AverageLabel), QColor(0, 0, 0));
    EXPECT_TRUE(Window->PrintProtocolButton->isEnabled());
}


TEST_F(MainWindowFlow, OlderFormatOpensThroughTheWindow) {
    const std::vector<std::uint8_t> bytes = test::LmbFileBytes(test::HalvoPlusSample());
    const std::string file = Dir.File("old.lmb");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    Window->OpenAnswer = file;
    Window->OpenFile();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(Window->CurrentFileName(), "old.lmb");
    EXPECT_EQ(Window->TotalRecordsLabel->text().toStdString(), "5");
    EXPECT_EQ(Window->CommentEdit->text().toStdString(), "lmb sample");
}

TEST_F(MainWindowFlow, LogoInItsPlaceAndARepaintOnActivation) {
    // P + 8b + 48 with the panel at 8 and 40-pixel buttons.
    EXPECT_EQ(Window->LogoImage->x(), 8 + 8 * 40 + 48);
    EXPECT_GE(Window->CultureBox1->x(), Window->LogoImage->x() + Window->LogoImage->width());
    Window->OpenAnswer = test::WriteHalvoFile(Dir.File("a.lmx"), 10, 0);
    Window->OpenFile();
    QApplication::processEvents();
    Window->Diagram->MoveCursorLine(20); // the cursor takes the repaint flag
    ASSERT_FALSE(Window->View().DiagramRepainted);
    Window->activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(Window->isActiveWindow());
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(Window.get(), &activation);
    QApplication::processEvents();
    EXPECT_TRUE(Window->View().DiagramRepainted);
}

} // namespace
} // namespace lumetra
