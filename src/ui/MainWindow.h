#pragma once
// The main window: the program's one top-level window. It owns the program-wide data
// sets, units, view state and smoothed series, and runs the search, download, file,
// export and navigation handlers on them.

#include "core/GlobalDefinitions.h"
#include "core/PhysicalUnits.h"
#include "evaluation/Smoothing.h"
#include "i18n/Translation.h"
#include "ui/DiagramWidget.h"
#include "ui/Navigation.h"
#include "ui/QtUserInterface.h"
#include "ui/ViewState.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

class QPrinter;

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumetra {

// Held through a pointer: its header's colour names meet the diagram's in the moc unit.
struct TIntegralData;
class TAnalogSensorControlWindow;
class TDoseCoefficientWindow;
class TDosikaControlWindow;
class THalvoControlWindow;
class TSpectrumWindow;

// The port list: refreshed just before it drops down.
class TPortComboBox final : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> BeforePopup;
    void showPopup() override {
        if (BeforePopup)
            BeforePopup();
        QComboBox::showPopup();
    }
};

class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `programFolder` holds the translation catalog and the language file.
    explicit TMainWindow(const std::string& programFolder, QWidget* parent = nullptr);
    ~TMainWindow() override;

    const TTranslationCatalog& Catalog() const { return TranslationCatalog; }
    const std::string& StartDirectory() const { return StartDir; }
    void SetStartDirectory(const std::string& folder) { StartDir = folder; }
    const std::string& CurrentFileName() const { return CurrentFile; }
    const TPhysicalUnits& CurrentUnits() const { return Units; }
    const TInstrumentData& InstrumentData() const { return *Raw; }
    const TMeasurementData& MeasurementData() const { return *Measured; }
    const TIntegralData& IntegralData() const { return *Integral; }
    const TViewState& View() const { return ViewState; }
    const TSmoothedSeries& Smoothed() const { return *SmoothedSeries; }
    bool DataSaved() const { return Saved; }
    const std::string& SelectedPortName() const { return SelectedPort; }
    // Where the language file is kept: the program folder, or the user's configuration
    // folder when the program folder cannot be written.
    std::string LanguageFilePath() const;

    // Extra entries of the port list: a display name and the device path to open.
    void AddDemoPorts(std::vector<std::pair<std::string, std::string>> nameAndPath);
    // The folder searched for serial devices ("/dev").
    void SetPortDirectory(const std::string& folder) { PortDirectory = folder; }
    // Replaces the Qt dialogs of the user seam, the control windows' too (tests); null
    // restores them.
    void UseUserInterface(TUserInterface* ui);
    TUserInterface& User();

    // Handlers, named as the buttons call them.
    void SearchComPorts();
    void ChangeComPort(int index);
    void SearchInstrument();
    void DeviceSetup();
    void LoadData();
    void SaveFile();
    void OpenFile();
    void AsciiExport();
    void ZoomIn();
    void ZoomOut();
    void FitGraphic();
    void ScrollGraphic(int position);
    void ShowErrorBars(bool shown);
    void PrintProtocol();
    void ChangeRadonDisplayMode(int index);
    void SmoothingPeriodChanged(int index);
    void ChangeUnits();
    void MoveCursor(int x);
    void SetBorders();
    void ResetBorders();
    void L1DblClick();
    void ShowContactToMerix();
    void InitDataDisplay();
    void DisplayIntegralData();
    void RefreshDiagram();
    void DisplaySpectrum();
    void ShowInitParameter();

    // The alpha spectrum window, created with the main window.
    TSpectrumWindow* SpectrumWindow = nullptr;

    // Controls, named by purpose.
    QToolButton* SearchButton = nullptr;
    TPortComboBox* SelectCOM = nullptr;
    QFrame* ComBevel = nullptr;
    QLabel* ScanPortsPanel = nullptr;
    QToolButton* DataButton = nullptr;
    QToolButton* SaveButton = nullptr;
    QToolButton* FileOpenButton = nullptr;
    QToolButton* CutZigBeeButton = nullptr;
    QToolButton* SetUpButton = nullptr;
    QToolButton* PrintProtocolButton = nullptr;
    QToolButton* ExportTextButton = nullptr;
    QToolButton* SpectrumButton = nullptr;
    QPushButton* UnitButton = nullptr;
    QToolButton* ErrorBarButton = nullptr;
    QLineEdit* CommentEdit = nullptr;
    QComboBox* CultureBox1 = nullptr;
    TDiagramWidget* Diagram = nullptr;
    QPushButton* ZoomInButton = nullptr;
    QPushButton* FitButton = nullptr;
    QPushButton* ZoomOutButton = nullptr;
    QScrollBar* GraphicScrollBar = nullptr;
    QLabel* L1 = nullptr;
    QLabel* RadonModeLabel = nullptr;
    QLabel* TimeLabel = nullptr;
    QLabel* RadonLabel = nullptr;
    QLabel* TempLabel = nullptr;
    QLabel* rHLabel = nullptr;
    QLabel* AddedSensorLabel = nullptr;
    QFrame* SeparationLine = nullptr;
    QLabel* L5 = nullptr;
    QLabel* L6 = nullptr;
    QLabel* L7 = nullptr;
    QLabel* L8 = nullptr;
    QLabel* L9 = nullptr;
    QLabel* L11 = nullptr;
    QLabel* L12 = nullptr;
    QLabel* DevNumberLabel = nullptr;
    QLabel* TotalRecordsLabel = nullptr;
    QLabel* PeriodLabel = nullptr;
    QLabel* ExposureTimeLabel = nullptr;
    QLabel* AverageLabel = nullptr;
    QLabel* ExposureItemLabel = nullptr;
    QLabel* ExposureLabel = nullptr;
    QLabel* StartTestLabel = nullptr;
    QLabel* EndTestLabel = nullptr;
    QComboBox* RadonDisplayModeComboBox = nullptr;
    QComboBox* SmoothComboBox = nullptr;
    QLabel* SmoothingLabel = nullptr;
    QLabel* LanguageLabel = nullptr;
    QLabel* LogoImage = nullptr; // the maker's mark; a click shows the contact text

    // The instruments' control windows, created with the main window and kept for the run.
    TAnalogSensorControlWindow* AnalogSensorWindow = nullptr;
    TDoseCoefficientWindow* DoseCoefficientWindow = nullptr;
    TDosikaControlWindow* DosikaControlWindow = nullptr;
    THalvoControlWindow* HalvoControlWindow = nullptr;

protected:
    // The print dialog of "Print Protocol"; false when cancelled. Virtual so that tests
    // can print to a PDF without a dialog.
    virtual bool ChoosePrinter(QPrinter& printer);
    // The file dialogs; empty when cancelled. Virtual so that tests can script them.
    virtual std::string ChooseOpenFileName();
    virtual std::string ChooseSaveFileName(const std::string& defaultName);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateControlWindows();
    void SetInitValues();
    void ShowSoftwareVersion();
    void FormCloseQuery();
    void SetNewGraphicArea();
    void CultureChosen(int index);
    void Retranslate();
    void MirrorScrollBar();
    void SetCaption(const std::string& fileName);
    void ShowEmptySummary();
    void DataSetLoaded(bool fromFile);
    void RefreshSpectrum(); // new sums for the spectrum window while it is shown
    std::string T(const std::string& english) const { return TranslationCatalog.Translate(english); }
    QString Tr(const char* english) const;
    TTranslate Translator() const;

    std::string ProgramFolder;
    TTranslationCatalog TranslationCatalog;
    TQtUserInterface UserInterface;
    TUserInterface* OverrideUi = nullptr;

    // The program-wide state.
    std::unique_ptr<TInstrumentData> Raw;
    std::unique_ptr<TMeasurementData> Measured;
    std::unique_ptr<TIntegralData> Integral;
    TPhysicalUnits Units;
    TViewState ViewState;
    std::unique_ptr<TSmoothedSeries> SmoothedSeries;
    TScrollBarState ScrollBar;
    bool Saved = false;
    std::string CurrentFile;
    std::string SelectedPort;
    std::string SelectedPortPath;
    std::string StartDir;
    std::string PortDirectory = "/dev";
    std::vector<std::pair<std::string, std::string>> DemoPorts;
    TCutButtonState CutButtonState = TCutButtonState::Hidden;
    bool InitDataDisplayKeepView = false; // a language switch refills the labels only
};


} // namespace lumetra
