// Ports, the instrument search and the download of the main window.

#include "ui/MainWindow.h"

#include "core/Errors.h"
#include "dosika/DosikaControl.h"
#include "dosika/DosikaDownload.h"
#include "halvo/HalvoControl.h"
#include "halvo/HalvoDownload.h"
#include "instrument/InstrumentConnection.h"
#include "links/InstrumentAdapter.h"
#include "ui/SpectrumDisplay.h"
#include "ui/dosika/DosikaControlWindow.h"
#include "ui/halvo/HalvoControlWindow.h"

#include <QApplication>

namespace lumetra {

void TMainWindow::SearchComPorts() {
    const QString chosen = SelectCOM->currentIndex() >= 0 ? SelectCOM->currentText() : QString();
    const QSignalBlocker block(SelectCOM);
    SelectCOM->clear();
    std::vector<std::string> ports = lumetra::SearchComPorts(PortDirectory);
    // "TCP-IP" stays last; the demo instruments go before it.
    const bool hasTcpIp = !ports.empty() && ports.back() == TcpIpPortName;
    if (hasTcpIp)
        ports.pop_back();
    for (const auto& port : ports)
        SelectCOM->addItem(QString::fromStdString(port), QString::fromStdString(port));
    for (const auto& [name, path] : DemoPorts)
        SelectCOM->addItem(QString::fromStdString(name), QString::fromStdString(path));
    SelectCOM->addItem(QString::fromLatin1(TcpIpPortName), QString::fromLatin1(TcpIpPortName));
    SelectCOM->setCurrentIndex(chosen.isEmpty() ? -1 : SelectCOM->findText(chosen));
}

void TMainWindow::ChangeComPort(int index) {
    if (index < 0)
        return;
    SelectedPort = SelectCOM->itemText(index).toStdString();
    SelectedPortPath = SelectCOM->itemData(index).toString().toStdString();
    SetUpButton->setEnabled(true);
    DataButton->setEnabled(true);
}

void TMainWindow::SearchInstrument() {
    SearchComPorts();
    SearchButton->hide();
    ScanPortsPanel->show();
    TUserInterface& ui = User();
    std::vector<TPortEntry> entries;
    for (int i = 0; i < SelectCOM->count(); ++i)
        entries.push_back({SelectCOM->itemText(i).toStdString(), SelectCOM->itemData(i).toString().toStdString()});
    const std::vector<TFoundInstrument> found = SearchInstruments(
        ui, entries,
        [this](const TPortEntry& entry) {
            ScanPortsPanel->setText(QString::fromStdString(entry.Name));
            QApplication::processEvents();
        },
        {});
    ScanPortsPanel->hide();
    SearchButton->show();
    if (found.empty()) {
        ui.ShowMessage(T("No connected instruments found."));
        return;
    }
    std::string lines;
    for (const TFoundInstrument& instrument : found)
        lines += (lines.empty() ? "" : "\n") + instrument.Line;
    SetUpButton->setEnabled(true);
    DataButton->setEnabled(true);
    ui.ShowMessage(lines);
    const int firstIndex = static_cast<int>(found.front().Index);
    SelectCOM->setCurrentIndex(firstIndex);
    ChangeComPort(firstIndex);
}

void TMainWindow::DeviceSetup() {
    TUserInterface& ui = User();
    if (SelectedPort.empty())
        return;
    // The control windows are shown while the line is held open; it is closed once they are.
    const TFamilyOperations setup{
        [this, &ui](const TComPort& port, const TInstrumentIdentity&) {
            TDosikaControlWindow& window = *DosikaControlWindow;
            const Byte result = DkOpenControl(ui, port, window.InitValues, window.SetupValues);
            if (result == Result::Success) {
                window.SelectedCom = port;
                window.exec();
            }
            return result;
        },
        [this, &ui](const TComPort& port, const TInstrumentIdentity&) {
            THalvoControlWindow& window = *HalvoControlWindow;
            const Byte result = HlvOpenControl(ui, port, window.InitValues, window.SetupValues);
            if (result == Result::Success) {
                window.SelectedCom = port;
                window.exec();
            }
            return result;
        },
    };
    TInstrumentIdentity identity;
    const Byte result = RunOnInstrument(ui, SelectedPortPath, TConnectionPurpose::Setup, setup, identity);
    if (result != Result::Success)
        ShowResultMessage(ui, result);
    RefreshDiagram();
}

void TMainWindow::LoadData() {
    TUserInterface& ui = User();
    if (SelectedPort.empty())
        return;
    // Downloaded beside the shown set: a failed download leaves the display as it was.
    auto downloaded = std::make_unique<TInstrumentData>();
    TInstrumentData& target = *downloaded;
    const TFamilyOperations download{
        [&ui, &target](const TComPort& port, const TInstrumentIdentity&) { return DkDownload(ui, port, target); },
        [&ui, &target](const TComPort& port, const TInstrumentIdentity&) { return HlvDownload(ui, port, target); },
    };
    TInstrumentIdentity identity;
    const Byte result = RunOnInstrument(ui, SelectedPortPath, TConnectionPurpose::Download, download, identity);
    RefreshDiagram();
    const bool valid = downloaded->Valid && downloaded->NumberOfRecords > 0;
    if (result == Result::Success)
        ui.ShowMessage(valid ? T("Data download completed!") : T("No data available!"));
    else
        ShowResultMessage(ui, result);
    if (result == Result::Success && valid) {
        SpectrumWindow->close(); // it showed the previous data set
        Raw = std::move(downloaded);
        SetCaption({});
        CurrentFile.clear();
        DataSetLoaded(false);
    }
    RefreshDiagram();
    CommentEdit->clear();
    ExportTextButton->setEnabled(false);
}

} // namespace lumetra
