// Saving, opening and exporting data sets from the main window.

// Before the window's header: its summary colours must precede the diagram's colour names.
#include "evaluation/IntegralData.h"
#include "ui/MainWindow.h"

#include "core/Errors.h"
#include "evaluation/RecordEvaluation.h"
#include "files/AsciiExport.h"
#include "files/DataFileNames.h"
#include "files/DataSetFile.h"
#include "files/OlderFileFormats.h"
#include "ui/SpectrumDisplay.h"

#include <QFileDialog>

#include <filesystem>

namespace lumetra {

std::string TMainWindow::ChooseOpenFileName() {
    const QString filter = Tr("Lumetra Files") + QStringLiteral(" (*.lmx *.lm3 *.lmb *.hvb)");
    return QFileDialog::getOpenFileName(this, Tr("Open File"), QString::fromStdString(StartDir), filter)
        .toStdString();
}

std::string TMainWindow::ChooseSaveFileName(const std::string& defaultName) {
    QFileDialog dialog(this, Tr("Export as text file"), QString::fromStdString(defaultName),
                       Tr("Text files (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

void TMainWindow::DataSetLoaded(bool fromFile) {
    EvaluateDataSet(Units, *Raw, *Measured);
    ViewState.LeftBorderIndex = 1;
    ViewState.RightBorderIndex = Raw->NumberOfRecords;
    CalculateIntegralData(1, Raw->NumberOfRecords, *Raw, *Integral, *Measured);
    // A first border click still waiting keeps waiting: only the borders are reset.
    ViewState.BordersSelected = false;
    Saved = fromFile;
    InitDataDisplay();
    DisplayIntegralData();
}

void TMainWindow::SaveFile() {
    if (!Raw->Valid)
        return;
    std::string comment;
    User().InputText(T("Add comment to file"), T("Comment:"), comment);
    SetComment(*Raw, comment);
    CommentEdit->setText(QString::fromStdString(Raw->Comment));

    const std::string folder = DataFolderPath(StartDir, *Raw, Translator());
    const std::string name = DataFileName(*Raw);
    const std::string path = (std::filesystem::path(folder) / name).string();
    if (!CreateDataFolder(folder) || SaveDataSetFile(path, *Raw) != Result::Success) {
        User().ShowMessage(T("Unable to save file: ") + path);
        RefreshDiagram();
        return;
    }
    CurrentFile = name;
    SetCaption(name);
    User().ShowMessage(T("Data saved as: \"") + name + "\"");
    Saved = true;
    // Saving changes which buttons are offered, not what is shown: the borders, the
    // summary, the display mode and smoothing stay, so export and print cover the range
    // the summary shows.
    InitDataDisplayKeepView = true;
    InitDataDisplay();
    InitDataDisplayKeepView = false;
    DisplayIntegralData();
    RefreshDiagram();
}

void TMainWindow::OpenFile() {
    SpectrumWindow->close();
    const std::string fileName = ChooseOpenFileName();
    if (fileName.empty())
        return;
    // Read beside the shown set, so that a failed read leaves it as it was.
    auto read = std::make_unique<TInstrumentData>();
    if (ReadAnyDataFile(fileName, *read) != Result::Success || !read->Valid) {
        ShowResultMessage(User(), Result::FileUnreadable);
        CommentEdit->clear();
        RefreshDiagram();
        return;
    }
    Raw = std::move(read);
    CurrentFile = std::filesystem::path(fileName).filename().string();
    SetCaption(CurrentFile);
    DataSetLoaded(true);
    CommentEdit->setText(QString::fromStdString(Raw->Comment));
    RefreshDiagram();
}

void TMainWindow::AsciiExport() {
    if (!Measured->Valid)
        return;
    std::string comment = Raw->Comment;
    User().InputText(T("Add comment to text file"), T("Comment:"), comment);
    const std::string stem = std::filesystem::path(CurrentFile).stem().string();
    const std::string fileName = ChooseSaveFileName((std::filesystem::path(StartDir) / (stem + ".txt")).string());
    if (!fileName.empty() && !WriteAsciiExport(fileName, CurrentFile, comment, *Integral, *Measured, *Raw))
        User().ShowMessage(T("Unable to write text file: ") + fileName);
    RefreshDiagram();
}

} // namespace lumetra
