// Before the window's header: its summary colours must precede the diagram's colour names.
#include "evaluation/IntegralData.h"
#include "ui/MainWindow.h"

#include "ui/DiagramLayout.h"
#include "ui/SpectrumDisplay.h"
#include "ui/ToolbarIcons.h"
#include "ui/dosika/AnalogSensorControlWindow.h"
#include "ui/dosika/DoseCoefficientWindow.h"
#include "ui/dosika/DosikaControlWindow.h"
#include "ui/halvo/HalvoControlWindow.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMouseEvent>
#include <QShowEvent>
#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>

namespace lumetra {


namespace {

QToolButton* ToolButton(QWidget* parent, TToolbarIcon icon) {
    auto* button = new QToolButton(parent);
    button->setIcon(ToolbarIcon(icon, 30));
    button->setIconSize(QSize(30, 30));
    button->setAutoRaise(false);
    button->resize(40, 40);
    return button;
}

QLabel* Label(QWidget* parent, bool bold = false) {
    auto* label = new QLabel(parent);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// The user's own configuration folder, for an installed program whose folder is read-only.
std::filesystem::path UserConfigFolder() {
    const QString location = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (!location.isEmpty())
        return std::filesystem::path(location.toStdString());
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "Lumetra";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config" / "Lumetra";
}

} // namespace

TMainWindow::TMainWindow(const std::string& programFolder, QWidget* parent)
    : QMainWindow(parent), ProgramFolder(programFolder), UserInterface(this, TranslationCatalog),
      Raw(std::make_unique<TInstrumentData>()), Measured(std::make_unique<TMeasurementData>()),
      Integral(std::make_unique<TIntegralData>()), SmoothedSeries(std::make_unique<TSmoothedSeries>()) {
    CreateControls();
    SetInitValues();
    CreateControlWindows();
    setMinimumSize(MinimumWindowWidth, MinimumWindowHeight);
    resize(1100, 720);
}

TMainWindow::~TMainWindow() = default;

TUserInterface& TMainWindow::User() { return OverrideUi ? *OverrideUi : UserInterface; }

void TMainWindow::CreateControlWindows() {
    // In the program's order of creation; they share the catalog, so a language chosen
    // here is theirs the next time they are shown.
    AnalogSensorWindow = new TAnalogSensorControlWindow(TranslationCatalog, this);
    DoseCoefficientWindow = new TDoseCoefficientWindow(TranslationCatalog, this);
    DosikaControlWindow =
        new TDosikaControlWindow(TranslationCatalog, *AnalogSensorWindow, *DoseCoefficientWindow, this);
    HalvoControlWindow = new THalvoControlWindow(TranslationCatalog, this);
}

void TMainWindow::UseUserInterface(TUserInterface* ui) {
    OverrideUi = ui;
    for (TControlWindow* window : std::initializer_list<TControlWindow*>{
             AnalogSensorWindow, DoseCoefficientWindow, DosikaControlWindow, HalvoControlWindow})
        window->UseUserInterface(ui);
}

QString TMainWindow::Tr(const char* english) const { return QString::fromStdString(T(english)); }

TTranslate TMainWindow::Translator() const {
    return [this](const std::string& english) { return T(english); };
}

void TMainWindow::CreateControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    SearchButton = ToolButton(central, TToolbarIcon::Search);
    ScanPortsPanel = new QLabel(central);
    ScanPortsPanel->setFrameShape(QFrame::Panel);
    ScanPortsPanel->setFrameShadow(QFrame::Sunken);
    ScanPortsPanel->setAlignment(Qt::AlignCenter);
    ScanPortsPanel->hide();
    ComBevel = new QFrame(central);
    ComBevel->setFrameShape(QFrame::StyledPanel);
    ComBevel->setFrameShadow(QFrame::Sunken);
    SelectCOM = new TPortComboBox(central);
    SelectCOM->setMinimumContentsLength(8);
    SelectCOM->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    SelectCOM->view()->setMinimumWidth(240); // device paths are longer than the box
    SelectCOM->BeforePopup = [this] { SearchComPorts(); };
    DataButton = ToolButton(central, TToolbarIcon::Data);
    SaveButton = ToolButton(central, TToolbarIcon::Save);
    FileOpenButton = ToolButton(central, TToolbarIcon::Open);
    CutZigBeeButton = ToolButton(central, TToolbarIcon::Cut);
    CutZigBeeButton->hide();
    SetUpButton = ToolButton(central, TToolbarIcon::SetUp);
    PrintProtocolButton = ToolButton(central, TToolbarIcon::Print);
    ExportTextButton = ToolButton(central, TToolbarIcon::ExportText);
    SpectrumButton = ToolButton(central, TToolbarIcon::Spectrum);
    UnitButton = new QPushButton(central);
    UnitButton->resize(40, 40);
    QFont unitFont = UnitButton->font();
    unitFont.setBold(true);
    UnitButton->setFont(unitFont);
    ErrorBarButton = ToolButton(central, TToolbarIcon::ErrorBars);
    ErrorBarButton->setCheckable(true);
    CommentEdit = new QLineEdit(central);
    CommentEdit->setReadOnly(true);
    LanguageLabel = Label(central);
    CultureBox1 = new QComboBox(central);
    LogoImage = new QLabel(central);
    LogoImage->setTextFormat(Qt::RichText);
    LogoImage->setText(QStringLiteral("<span style=\"font-size:15pt; font-weight:700; color:#006e3c;\">Merix</span>"
                                      "<br><span style=\"font-size:8pt; color:#505050;\">Lumetra 6.6.0</span>"));
    LogoImage->setCursor(Qt::PointingHandCursor);
    LogoImage->installEventFilter(this);

    Diagram = new TDiagramWidget(central);
    Diagram->SetSources(Measured.get(), &Units, SmoothedSeries.get(), &ViewState);
    ZoomInButton = new QPushButton(QStringLiteral("+"), central);
    FitButton = new QPushButton(QStringLiteral("Fit"), central);
    ZoomOutButton = new QPushButton(QStringLiteral("\u2212"), central);
    GraphicScrollBar = new QScrollBar(Qt::Horizontal, central);
    GraphicScrollBar->setEnabled(false);

    L1 = Label(central, true);
    L1->installEventFilter(this);
    RadonModeLabel = Label(central, true);
    TimeLabel = Label(central);
    RadonLabel = Label(central);
    TempLabel = Label(central);
    rHLabel = Label(central);
    AddedSensorLabel = Label(central);
    SeparationLine = new QFrame(central);
    SeparationLine->setFrameShape(QFrame::HLine);
    SeparationLine->setFrameShadow(QFrame::Sunken);
    for (QLabel** caption : {&L5, &L6, &L7, &L8, &L9, &L11, &L12})
        *caption = Label(central, true);
    for (QLabel** value : {&DevNumberLabel, &TotalRecordsLabel, &PeriodLabel, &ExposureTimeLabel, &AverageLabel,
                           &ExposureLabel, &StartTestLabel, &EndTestLabel})
        *value = Label(central);
    DevNumberLabel->installEventFilter(this);
    ExposureItemLabel = Label(central, true);
    RadonDisplayModeComboBox = new QComboBox(central);
    RadonDisplayModeComboBox->setMinimumContentsLength(14);
    SmoothComboBox = new QComboBox(central);
    SmoothComboBox->setMinimumContentsLength(14);
    SmoothingLabel = Label(central);

    connect(SearchButton, &QToolButton::clicked, this, &TMainWindow::SearchInstrument);
    connect(SelectCOM, &QComboBox::activated, this, &TMainWindow::ChangeComPort);
    connect(SetUpButton, &QToolButton::clicked, this, &TMainWindow::DeviceSetup);
    connect(DataButton, &QToolButton::clicked, this, &TMainWindow::LoadData);
    connect(SaveButton, &QToolButton::clicked, this, &TMainWindow::SaveFile);
    connect(FileOpenButton, &QToolButton::clicked, this, &TMainWindow::OpenFile);
    connect(ExportTextButton, &QToolButton::clicked, this, &TMainWindow::AsciiExport);
    connect(PrintProtocolButton, &QToolButton::clicked, this, &TMainWindow::PrintProtocol);
    connect(SpectrumButton, &QToolButton::clicked, this, &TMainWindow::DisplaySpectrum);
    connect(UnitButton, &QPushButton::clicked, this, &TMainWindow::ChangeUnits);
    connect(ErrorBarButton, &QToolButton::toggled, this, &TMainWindow::ShowErrorBars);
    connect(ZoomInButton, &QPushButton::clicked, this, &TMainWindow::ZoomIn);
    connect(ZoomOutButton, &QPushButton::clicked, this, &TMainWindow::ZoomOut);
    connect(FitButton, &QPushButton::clicked, this, &TMainWindow::FitGraphic);
    connect(GraphicScrollBar, &QScrollBar::valueChanged, this, &TMainWindow::ScrollGraphic);
    connect(RadonDisplayModeComboBox, &QComboBox::activated, this, &TMainWindow::ChangeRadonDisplayMode);
    connect(SmoothComboBox, &QComboBox::activated, this, &TMainWindow::SmoothingPeriodChanged);
    connect(Diagram, &TDiagramWidget::mouseMovedInDiagram, this, &TMainWindow::MoveCursor);
    connect(Diagram, &TDiagramWidget::clicked, this, &TMainWindow::SetBorders);
    connect(Diagram, &TDiagramWidget::doubleClicked, this, &TMainWindow::ResetBorders);
    connect(CultureBox1, &QComboBox::currentIndexChanged, this, &TMainWindow::CultureChosen);

    SpectrumWindow = new TSpectrumWindow(Translator(), this);
}

std::string TMainWindow::LanguageFilePath() const {
    const std::filesystem::path programFile = std::filesystem::path(ProgramFolder) / LanguageFileName;
    const QFileInfo folder(QString::fromStdString(ProgramFolder));
    if (folder.isDir() && folder.isWritable())
        return programFile.string();
    return (UserConfigFolder() / LanguageFileName).string();
}

void TMainWindow::SetInitValues() {
    const std::filesystem::path folder(ProgramFolder);
    TranslationCatalog.LoadFromFile((folder / CatalogFileName).string());
    int index = 0;
    // The user's own choice first, then the one shipped beside the program.
    const std::string userFile = (UserConfigFolder() / LanguageFileName).string();
    if (ReadLanguageFile(LanguageFilePath(), index) || ReadLanguageFile(userFile, index) ||
        ReadLanguageFile((folder / LanguageFileName).string(), index)) {
        TranslationCatalog.SelectCulture(index);
    }
    std::error_code error;
    StartDir = std::filesystem::current_path(error).string();
    ViewState = TViewState{};
    SmoothedSeries->Period = 0;
    SmoothedSeries->DisplayMode = 1;
    Saved = false;
    Raw->Valid = false;
    Raw->NumberOfRecords = 0;
    Measured->Valid = false;
    Measured->NumberOfRecords = 0;
    SetUnitSystem(UnitsSI, Units);

    {
        const QSignalBlocker block(CultureBox1);
        for (const auto& culture : TranslationCatalog.Cultures())
            CultureBox1->addItem(QString::fromStdString(culture.NativeName));
        CultureBox1->setCurrentIndex(TranslationCatalog.SelectedCulture());
    }
    CurrentFile = T("no file");
    SetUpButton->setEnabled(false);
    DataButton->setEnabled(false);
    Retranslate();
    ShowEmptySummary();
    InitDataDisplay();
}

void TMainWindow::Retranslate() {
    LanguageLabel->setText(Tr("Language"));
    SearchButton->setToolTip(Tr("Search for a connected Instrument"));
    SetUpButton->setToolTip(Tr("Instrument Setup"));
    DataButton->setToolTip(Tr("Load Data from Instrument"));
    SaveButton->setToolTip(Tr("Save File"));
    FileOpenButton->setToolTip(Tr("Open File"));
    ExportTextButton->setToolTip(Tr("Export as text file"));
    PrintProtocolButton->setToolTip(Tr("Print protocol"));
    SpectrumButton->setToolTip(Tr("Show Alpha Spectrum"));
    DevNumberLabel->setToolTip(Tr("Show Calibration Constants"));
    ErrorBarButton->setToolTip(Tr("Show error bars"));
    UnitButton->setToolTip(Tr("Switch units"));
    UnitButton->setText(Units.SelectedUnits == UnitsSI ? Tr("pCi") : Tr("Bq"));
    ZoomInButton->setToolTip(Tr("Zoom in"));
    ZoomOutButton->setToolTip(Tr("Zoom out"));
    FitButton->setText(Tr("Fit"));
    FitButton->setToolTip(Tr("Fit the bordered range"));
    SelectCOM->setPlaceholderText(QStringLiteral("SelectCOM"));
    L1->setText(Tr("Time:"));
    L5->setText(Tr("Instrument:"));
    L6->setText(Tr("Records:"));
    L7->setText(Tr("Period:"));
    L8->setText(Tr("Measuring time:"));
    L9->setText(Tr("Average:"));
    L11->setText(Tr("Start:"));
    L12->setText(Tr("End:"));
    SmoothingLabel->setText(Tr("Smoothing"));
    {
        const QSignalBlocker block(SmoothComboBox);
        const int index = std::max(SmoothComboBox->currentIndex(), 0);
        SmoothComboBox->clear();
        for (const auto& item : SmoothingComboItems(Translator()))
            SmoothComboBox->addItem(QString::fromStdString(item));
        SmoothComboBox->setCurrentIndex(index);
    }
    if (CutButtonVisible(CutButtonState))
        CutZigBeeButton->setText(QString::fromStdString(CutButtonCaption(CutButtonState, Translator())));
    SetNewGraphicArea();
}

void TMainWindow::CultureChosen(int index) {
    const bool showingNoFile = CurrentFile == T("no file");
    if (!TranslationCatalog.SelectCulture(index))
        return;
    if (showingNoFile)
        CurrentFile = T("no file");
    Retranslate();
    if (Measured->Valid) {
        InitDataDisplayKeepView = true;
        InitDataDisplay();
        InitDataDisplayKeepView = false;
        DisplayIntegralData();
    } else {
        ShowEmptySummary();
    }
    RefreshDiagram();
}

void TMainWindow::showEvent(QShowEvent* event) {
    ShowSoftwareVersion();
    QMainWindow::showEvent(event);
}

void TMainWindow::ShowSoftwareVersion() {
    if (CurrentFile.empty() || CurrentFile == T("no file"))
        setWindowTitle(ProgramCaption());
    SearchComPorts();
}

void TMainWindow::SetCaption(const std::string& fileName) {
    setWindowTitle(fileName.empty() ? ProgramCaption()
                                    : ProgramCaption() + QStringLiteral(" [") + QString::fromStdString(fileName) +
                                          QStringLiteral("]"));
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
}

void TMainWindow::FormCloseQuery() {
    const std::filesystem::path file(LanguageFilePath());
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    WriteLanguageFile(file.string(), TranslationCatalog.SelectedCulture());
}

// ActivateMainWindow: coming back to the window repaints the diagram area.
void TMainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RefreshDiagram();
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == L1 && event->type() == QEvent::MouseButtonDblClick) {
        L1DblClick();
        return true;
    }
    if (watched == LogoImage && event->type() == QEvent::MouseButtonRelease) {
        ShowContactToMerix();
        return true;
    }
    if (watched == DevNumberLabel && event->type() == QEvent::MouseButtonRelease) {
        ShowInitParameter();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::ShowContactToMerix() {
    User().ShowMessage(Translator()("Merix radon measurement instruments.\nFor service, calibration and "
                                           "updates please contact your Merix distributor."));
}

void TMainWindow::L1DblClick() {
    CutButtonState = NextCutButtonState(CutButtonState);
    CutZigBeeButton->setVisible(CutButtonVisible(CutButtonState));
    CutZigBeeButton->setToolTip(QString::fromStdString(CutButtonCaption(CutButtonState, Translator())));
}

void TMainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    SetNewGraphicArea();
}

void TMainWindow::SetNewGraphicArea() {
    QWidget* client = centralWidget();
    if (!client)
        return;
    TLayoutInput in;
    in.WindowWidth = width();
    in.ClientWidth = std::max(client->width(), MinimumWindowWidth);
    in.ClientHeight = std::max(client->height(), MinimumWindowHeight);
    in.ButtonSize = 40;
    in.SelectComWidth = 3 * 40 - 16; // between the search and the data button
    in.SelectComHeight = SelectCOM->sizeHint().height();
    in.ComBevelWidth = in.SelectComWidth + 6;
    in.ComBevelHeight = in.SelectComHeight + 8;
    in.RadonModeComboWidth = 160;
    in.RadonModeComboHeight = RadonDisplayModeComboBox->sizeHint().height();
    in.SmoothComboWidth = 160;
    in.SmoothComboHeight = SmoothComboBox->sizeHint().height();
    in.SmoothingLabelWidth = 160;
    in.SmoothingLabelHeight = SmoothingLabel->sizeHint().height();
    in.SummaryLabelHeight = L12->sizeHint().height();
    const TDiagramLayout l = ComputeDiagramLayout(in);
    const auto place = [](QWidget* w, const TLayoutRect& r) { w->setGeometry(r.Left, r.Top, r.Width, r.Height); };

    place(Diagram, l.DiagramPanel);
    place(SearchButton, l.SearchButton);
    place(ScanPortsPanel, {l.SearchButton.Left, l.SearchButton.Top, 3 * 40, 40});
    place(SelectCOM, l.SelectCOM);
    place(ComBevel, l.ComBevel);
    place(DataButton, l.DataButton);
    place(SaveButton, l.SaveButton);
    place(FileOpenButton, l.FileOpenButton);
    place(CutZigBeeButton, l.CutZigBeeButton);
    place(SetUpButton, l.SetUpButton);
    place(PrintProtocolButton, l.PrintProtocolButton);
    place(ExportTextButton, l.ExportTextButton);
    place(SpectrumButton, l.SpectrumButton);
    place(UnitButton, l.UnitButton);
    place(ErrorBarButton, l.ErrorBarButton);
    // The comment line runs under the toolbar; the language chooser sits beside the logo place.
    const int commentTop = l.SearchButton.Bottom() + 4;
    CommentEdit->setGeometry(l.CommentEditLeft, commentTop, l.CommentEditRight - l.CommentEditLeft,
                             l.DiagramPanel.Top - commentTop - 5);
    // The maker's mark stands in its own place; the language chooser takes the free
    // stretch of the toolbar after it (before the right-hand buttons).
    LogoImage->setGeometry(l.Logo.Left, l.Logo.Top, 110, 40);
    LogoImage->setVisible(l.LogoVisible);
    const int langLeft = l.Logo.Left + 122;
    LanguageLabel->setGeometry(langLeft, l.Logo.Top, 100, 18);
    CultureBox1->setGeometry(langLeft, l.Logo.Top + 18, 120, 22);
    place(ZoomInButton, l.ZoomInButton);
    place(FitButton, l.FitButton);
    place(ZoomOutButton, l.ZoomOutButton);
    place(GraphicScrollBar, l.GraphicScrollBar);

    const int p = l.DiagramPanel.Left;
    const int r = l.DiagramPanel.Right();
    const int rowHeight = 18;
    const int readout = l.ReadoutRowTop;
    L1->setGeometry(p, readout, 44, rowHeight);
    TimeLabel->setGeometry(p + 46, readout, 130, rowHeight);
    RadonModeLabel->adjustSize();
    RadonModeLabel->move(p + 190, readout);
    RadonModeLabel->resize(RadonModeLabel->width(), rowHeight);
    RadonLabel->setGeometry(RadonModeLabel->x() + RadonModeLabel->width() + 10, readout, 200, rowHeight);
    TempLabel->setGeometry(p + 500, readout, 110, rowHeight);
    rHLabel->setGeometry(p + 620, readout, 110, rowHeight);
    AddedSensorLabel->setGeometry(p + 740, readout, std::max(r - p - 740, 60), rowHeight);
    SeparationLine->setGeometry(p, l.SeparationLine.Top, l.SeparationLine.Width, 2);

    QLabel* rows[4][4] = {{L5, DevNumberLabel, L9, AverageLabel},
                          {L6, TotalRecordsLabel, ExposureItemLabel, ExposureLabel},
                          {L7, PeriodLabel, L11, StartTestLabel},
                          {L8, ExposureTimeLabel, L12, EndTestLabel}};
    const int columns[4] = {p, p + 120, p + 440, p + 530};
    const int widths[4] = {116, 315, 86, std::max(r - 170 - (p + 530), 120)};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            rows[row][column]->setGeometry(columns[column], l.SummaryRowTop[row], widths[column], rowHeight);
    place(RadonDisplayModeComboBox, l.RadonDisplayModeComboBox);
    place(SmoothComboBox, l.SmoothComboBox);
    place(SmoothingLabel, l.SmoothingLabel);

    if (Raw->Valid && RefitOnResize(ViewState, ScrollBar, *Raw, Diagram->InnerWidth()))
        MirrorScrollBar();
}

void TMainWindow::MirrorScrollBar() {
    const QSignalBlocker block(GraphicScrollBar);
    GraphicScrollBar->setRange(0, ScrollBar.Maximum);
    GraphicScrollBar->setPageStep(std::max(ScrollBar.LargeChange, 1));
    GraphicScrollBar->setValue(ScrollBar.Position);
    GraphicScrollBar->setEnabled(ScrollBar.Enabled);
}

void TMainWindow::RefreshDiagram() { Diagram->RefreshDiagram(); }

void TMainWindow::AddDemoPorts(std::vector<std::pair<std::string, std::string>> nameAndPath) {
    for (auto& entry : nameAndPath)
        DemoPorts.push_back(std::move(entry));
    SearchComPorts();
}

} // namespace lumetra
