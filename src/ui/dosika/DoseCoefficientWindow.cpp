#include "ui/dosika/DoseCoefficientWindow.h"

#include <QGridLayout>
#include <QLineEdit>

namespace lumetra {

TDoseCoefficientWindow::TDoseCoefficientWindow(const TTranslationCatalog& catalog, QWidget* parent)
    : TControlWindow(catalog, parent) {
    CreateControls();
}

TDoseCoefficientWindow::~TDoseCoefficientWindow() {
    // The lists' edits lose the focus while the widgets are taken down, after the form
    // they would update is gone.
    DoseCoefficientComboBox->lineEdit()->disconnect(this);
    EquilibriumFactorComboBox->lineEdit()->disconnect(this);
}

void TDoseCoefficientWindow::CreateControls() {
    DoseConversionCoefficientLabel = new QLabel(this);
    Label2 = new QLabel(this);
    const auto list = [this] {
        auto* box = new QComboBox(this);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumContentsLength(28);
        return box;
    };
    DoseCoefficientComboBox = list();
    EquilibriumFactorComboBox = list();
    EquilibriumFactorComboBox->setMaxVisibleItems(10);
    WriteButton = CommandButton();

    auto* grid = new QGridLayout(this);
    grid->addWidget(DoseConversionCoefficientLabel, 0, 0, 1, 2);
    grid->addWidget(DoseCoefficientComboBox, 1, 0);
    grid->addWidget(Label2, 2, 0, 1, 2);
    grid->addWidget(EquilibriumFactorComboBox, 3, 0);
    grid->addWidget(WriteButton, 3, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // A line chosen from a list counts at once; a typed text when the user is done with it.
    connect(DoseCoefficientComboBox, &QComboBox::activated, this, [this](int index) {
        DoseConversionCoefficientChanged(DoseCoefficientComboBox->itemText(index).toStdString());
    });
    connect(DoseCoefficientComboBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        DoseConversionCoefficientChanged(DoseCoefficientComboBox->currentText().toStdString());
    });
    connect(EquilibriumFactorComboBox, &QComboBox::activated, this, [this](int index) {
        UpdateEquilibriumFactor(EquilibriumFactorComboBox->itemText(index).toStdString(), true);
    });
    connect(EquilibriumFactorComboBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        UpdateEquilibriumFactor(EquilibriumFactorComboBox->currentText().toStdString(), false);
    });
    connect(WriteButton, &QPushButton::clicked, this, &TDoseCoefficientWindow::TransferDoseConversionFactor);
}

void TDoseCoefficientWindow::showEvent(QShowEvent* event) {
    InitDoseCoefficientWindow();
    TControlWindow::showEvent(event);
}

void TDoseCoefficientWindow::ShowText(QComboBox* box, const std::string& text) {
    const QSignalBlocker block(box);
    const QString shown = QString::fromStdString(text);
    // A line of the list is selected as such, so that choosing another one is a change.
    box->setCurrentIndex(box->findText(shown));
    box->setEditText(shown);
}

void TDoseCoefficientWindow::InitDoseCoefficientWindow() {
    DoseForm = DkOpenDoseCoefficients(InitValues, Translator());
    setWindowTitle(QString::fromStdString(DoseForm.Caption));
    DoseConversionCoefficientLabel->setText(QString::fromStdString(DoseForm.Label));
    Label2->setText(Tr("Equilibrium Factor F"));
    SetHint(WriteButton, Tr("WRITE"));
    const auto fill = [](QComboBox* box, const std::vector<std::string>& lines) {
        const QSignalBlocker block(box);
        box->clear();
        for (const std::string& line : lines)
            box->addItem(QString::fromStdString(line));
    };
    fill(DoseCoefficientComboBox, DoseForm.CoefficientLines);
    fill(EquilibriumFactorComboBox, DoseForm.FactorLines);
    ShowText(DoseCoefficientComboBox, DoseForm.CoefficientText);
    ShowText(EquilibriumFactorComboBox, DoseForm.FactorText);
    EquilibriumFactorComboBox->setEnabled(DoseForm.FactorEnabled);
    // As high as the lists, so that it reads as their button.
    WriteButton->setMinimumHeight(EquilibriumFactorComboBox->sizeHint().height());
    adjustSize();
}

void TDoseCoefficientWindow::DoseConversionCoefficientChanged(const std::string& text) {
    std::string error;
    if (!DkDoseCoefficientChanged(DoseForm, text, Translator(), error)) {
        // The refused text goes before the message, so that losing the focus to the
        // message box does not offer it again.
        ShowText(DoseCoefficientComboBox, DoseForm.CoefficientText);
        User().ShowMessage(error);
        return;
    }
    ShowText(EquilibriumFactorComboBox, DoseForm.FactorText);
}

void TDoseCoefficientWindow::UpdateEquilibriumFactor(const std::string& text, bool lineSelected) {
    std::string error;
    if (!DkEquilibriumFactorChanged(DoseForm, text, lineSelected, Translator(), error)) {
        ShowText(EquilibriumFactorComboBox, DoseForm.FactorText);
        User().ShowMessage(error);
    }
}

void TDoseCoefficientWindow::TransferDoseConversionFactor() {
    DkTransferDoseCoefficients(DoseForm);
    accept();
}

} // namespace lumetra
