#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <filesystem>

namespace lumetra {

QString ProgramCaption() { return QStringLiteral("Merix Lumetra 6.6.0"); }

TMainWindow::TMainWindow(const std::string& programFolder, QWidget* parent)
    : QMainWindow(parent), ProgramFolder(programFolder), UserInterface(this, TranslationCatalog) {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    auto* topRow = new QHBoxLayout();
    LanguageLabel = new QLabel(central);
    CultureBox1 = new QComboBox(central);
    UnitButton = new QPushButton(central);
    UnitButton->setEnabled(false);
    topRow->addWidget(LanguageLabel);
    topRow->addWidget(CultureBox1);
    topRow->addStretch(1);
    topRow->addWidget(UnitButton);
    FileLabel = new QLabel(central);
    CommentEdit = new QLineEdit(central);
    CommentEdit->setReadOnly(true);
    column->addLayout(topRow);
    column->addWidget(FileLabel);
    column->addWidget(CommentEdit);
    column->addStretch(1);
    setCentralWidget(central);
    resize(1000, 700);

    SetInitValues();
    connect(CultureBox1, &QComboBox::currentIndexChanged, this, &TMainWindow::CultureChosen);
}

void TMainWindow::SetInitValues() {
    const std::filesystem::path folder(ProgramFolder);
    TranslationCatalog.LoadFromFile((folder / CatalogFileName).string());
    int index = 0;
    if (ReadLanguageFile((folder / LanguageFileName).string(), index)) {
        TranslationCatalog.SelectCulture(index);
    }
    std::error_code error;
    StartDir = std::filesystem::current_path(error).string();
    SetUnitSystem(UnitsSI, Units);

    for (const auto& culture : TranslationCatalog.Cultures()) {
        CultureBox1->addItem(QString::fromStdString(culture.NativeName));
    }
    CultureBox1->setCurrentIndex(TranslationCatalog.SelectedCulture());
    CurrentFile = TranslationCatalog.Translate("no file");
    Retranslate();
}

QString TMainWindow::Tr(const char* english) const {
    return QString::fromStdString(TranslationCatalog.Translate(english));
}

void TMainWindow::Retranslate() {
    LanguageLabel->setText(Tr("Language"));
    UnitButton->setText(Tr("pCi"));
    FileLabel->setText(QString::fromStdString(CurrentFile));
}

void TMainWindow::CultureChosen(int index) {
    const bool showingNoFile = CurrentFile == TranslationCatalog.Translate("no file");
    if (!TranslationCatalog.SelectCulture(index)) {
        return;
    }
    if (showingNoFile) {
        CurrentFile = TranslationCatalog.Translate("no file");
    }
    Retranslate();
}

void TMainWindow::showEvent(QShowEvent* event) {
    ShowSoftwareVersion();
    QMainWindow::showEvent(event);
}

void TMainWindow::ShowSoftwareVersion() { setWindowTitle(ProgramCaption()); }

void TMainWindow::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
}

void TMainWindow::FormCloseQuery() {
    const std::filesystem::path folder(ProgramFolder);
    WriteLanguageFile((folder / LanguageFileName).string(), TranslationCatalog.SelectedCulture());
}

} // namespace lumetra
