// The spectrum window and the calibration constants driven from the main window, with
// the demo's spectrometric KVX5210-2 (Halvo type 4) downloaded over its pseudo-terminal.

#include "evaluation/IntegralData.h"
#include "ui/MainWindow.h"

#include "demo/DemoInstruments.h"
#include "support/ScriptedUserInterface.h"
#include "support/TempDir.h"
#include "ui/SpectrumDisplay.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <ctime>

namespace lumetra {
namespace {

constexpr int Records = 200;

class TScriptedWindow final : public TMainWindow {
public:
    using TMainWindow::TMainWindow;
    std::string OpenAnswer;

protected:
    std::string ChooseOpenFileName() override { return OpenAnswer; }
};

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void ClickRecord(TDiagramWidget* diagram, int innerX) {
    const QPoint at(diagram->Boxes().InnerDiagram.Left + innerX, diagram->Boxes().InnerDiagram.Top + 50);
    QMouseEvent move(QEvent::MouseMove, at, diagram->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(diagram, &move);
    SendMouse(diagram, QEvent::MouseButtonPress, at);
    SendMouse(diagram, QEvent::MouseButtonRelease, at);
}

// The ROI sums of records left..right added up from the raw records' channels.
TROISums RawSums(const TInstrumentData& raw, int left, int right) {
    TROISums sums{};
    for (int i = left; i <= right; ++i)
        for (std::size_t k = 1; k <= 4; ++k)
            for (int ch = raw.Header.ROILevel[k] + 1; ch <= raw.Header.ROILevel[k + 1]; ++ch)
                sums[k] += raw.Records[static_cast<std::size_t>(i)].Channels[static_cast<std::size_t>(ch)];
    return sums;
}

class SpectrumWindow : public ::testing::Test {
protected:
    void SetUp() override {
        TDemoOptions options;
        options.HalvoRecords = Records;
        options.DosikaRecords = 10;
        options.SensorRecords = 10;
        std::tm end{};
        end.tm_year = 2026 - 1900;
        end.tm_mon = 0;
        end.tm_mday = 20;
        end.tm_hour = 14;
        end.tm_isdst = -1;
        options.EndTime = std::mktime(&end);
        Demo = std::make_unique<TDemoInstruments>(options);
        std::string error;
        const TDemoPortList ports = Demo->Start(error);
        ASSERT_FALSE(ports.empty()) << error;

        Window = std::make_unique<TScriptedWindow>(Dir.Path());
        Window->SetPortDirectory(Dir.File("no-devices"));
        Window->UseUserInterface(&Ui);
        Window->resize(1200, 760);
        Window->show();
        Window->AddDemoPorts(ports);
        QApplication::processEvents();
        const int index = Window->SelectCOM->findText(QStringLiteral("Demo KVX5210-2"));
        ASSERT_GE(index, 0);
        Window->SelectCOM->setCurrentIndex(index);
        Window->ChangeComPort(index);
    }
    void TearDown() override {
        Window.reset();
        if (Demo)
            Demo->Stop();
    }

    void Download() {
        Ui.Messages.clear();
        Window->LoadData();
        ASSERT_EQ(Ui.Messages, std::vector<std::string>{"Data download completed!"});
        ASSERT_EQ(Window->InstrumentData().NumberOfRecords, Records);
    }
    TSpectrumWindow& Spectrum() { return *Window->SpectrumWindow; }
    void ClickInstrumentLabel() { SendMouse(Window->DevNumberLabel, QEvent::MouseButtonRelease, QPoint(5, 5)); }

    test::TTempDir Dir;
    test::TScriptedUserInterface Ui;
    std::unique_ptr<TDemoInstruments> Demo;
    std::unique_ptr<TScriptedWindow> Window;
};

TEST_F(SpectrumWindow, FollowsTheBordersWhileShownAndClosesOnANewDataSet) {
    EXPECT_FALSE(Window->SpectrumButton->isVisible());
    Download();
    ASSERT_TRUE(Window->SpectrumButton->isVisible());
    ASSERT_TRUE(Window->SpectrumButton->isEnabled());
    EXPECT_EQ(Window->SpectrumButton->toolTip().toStdString(), "Show Alpha Spectrum");
    Window->SpectrumButton->click();
    QApplication::processEvents();
    ASSERT_TRUE(Spectrum().isVisible());
    EXPECT_EQ(Spectrum().windowTitle().toStdString(), "Alpha Spectrum []"); // a download has no file name
    EXPECT_EQ(Spectrum().SpectrumSheet->size(), QSize(606, 391));
    EXPECT_EQ(Spectrum().Spectrum().Size, 38);
    const TInstrumentData& raw = Window->InstrumentData();
    const TROISums whole = RawSums(raw, 1, Records);
    EXPECT_EQ(Spectrum().ROISums(), whole);
    // The picture of the documentation, to be looked at: the demo spectrometer's records.
    EXPECT_TRUE(Spectrum().grab().toImage().save(QStringLiteral("spectrum.png")));

    // Two clicks set the borders on records 51 and 101: the window shows their sums.
    const int zoom = Window->View().Zoom;
    ASSERT_GE(zoom, 2);
    ClickRecord(Window->Diagram, 50 * zoom);
    ClickRecord(Window->Diagram, 100 * zoom);
    ASSERT_EQ(Window->View().LeftBorderIndex, 51);
    ASSERT_EQ(Window->View().RightBorderIndex, 101);
    const TROISums bordered = RawSums(raw, 51, 101);
    ASSERT_NE(bordered, whole);
    EXPECT_EQ(Spectrum().ROISums(), bordered);
    Window->ResetBorders();
    EXPECT_EQ(Spectrum().ROISums(), whole);

    // Closed, it is left alone by the borders.
    Spectrum().close();
    const int paints = Spectrum().SpectrumSheet->PaintCount();
    ClickRecord(Window->Diagram, 50 * zoom);
    ClickRecord(Window->Diagram, 100 * zoom);
    EXPECT_EQ(Spectrum().ROISums(), whole);
    EXPECT_EQ(Spectrum().SpectrumSheet->PaintCount(), paints);

    Window->DisplaySpectrum();
    EXPECT_EQ(Spectrum().ROISums(), bordered);
    Download();
    EXPECT_FALSE(Spectrum().isVisible());
    Window->DisplaySpectrum();
    Window->OpenAnswer.clear(); // opening a file closes it, even when cancelled
    Window->OpenFile();
    EXPECT_FALSE(Spectrum().isVisible());
}

TEST_F(SpectrumWindow, InstrumentLabelShowsTheCalibrationConstantsInTheCurrentUnits) {
    ClickInstrumentLabel();
    EXPECT_TRUE(Ui.Messages.empty()); // nothing loaded yet
    Download();
    EXPECT_EQ(Window->DevNumberLabel->toolTip().toStdString(), "Show Calibration Constants");
    Ui.Messages.clear();
    ClickInstrumentLabel();
    // The simulator's first calibration word is 3000: 3 cpm/(kBq/m³), 6.66 cph/(pCi/L).
    const std::string heading = "Calibration Constants for KVX5210-2, SN:612, SW:12\n\n";
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].rfind(heading + "Sensitivity (Slow): 3.00 cpm/(kBq/m³)\n", 0), 0u) << Ui.Messages[0];
    Window->ChangeUnits();
    ClickInstrumentLabel();
    ASSERT_EQ(Ui.Messages.size(), 2u);
    EXPECT_EQ(Ui.Messages[1].rfind(heading + "Sensitivity (Slow): 6.7 cph/(pCi/L)\n", 0), 0u) << Ui.Messages[1];
}

} // namespace
} // namespace lumetra
