// Ports, the instrument search and the download of the main window.

#include "ui/MainWindow.h"

#include "core/DeviceIdentification.h"
#include "core/Errors.h"
#include "dosika/DosikaDownload.h"
#include "halvo/HalvoDownload.h"
#include "links/InstrumentAdapter.h"
#include "links/InstrumentIdentification.h"

#include <QApplication>

namespace lumetra {
namespace {

constexpr Word SearchTimeoutMs = 1000;
constexpr Integer DownloadReadTimeOutMs = 1000;
constexpr int MaxInstrumentsFound = 255;

} // namespace

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
    // The setup windows come with their own issues; until then only the download.
    DataButton->setEnabled(true);
}

void TMainWindow::SearchInstrument() {
    SearchComPorts();
    SearchButton->hide();
    ScanPortsPanel->show();
    TUserInterface& ui = User();
    std::string lines;
    int found = 0;
    int firstIndex = -1;
    for (int i = 0; i + 1 < SelectCOM->count() && found < MaxInstrumentsFound; ++i) {
        const std::string name = SelectCOM->itemText(i).toStdString();
        ScanPortsPanel->setText(QString::fromStdString(name));
        QApplication::processEvents();
        const std::uint32_t handle = OpenComPort(SelectCOM->itemData(i).toString().toStdString());
        Byte software = 0, type = 0, family = 0;
        Word serial = 0;
        if (IdentifyInstrument(ui, handle, SearchTimeoutMs, false, software, serial, type, family) ==
            Result::Success) {
            ++found;
            std::string line = name;
            if (family == FamilyDosika && type == 0) {
                line += T(" Running instrument, can not read ID/SN");
            } else {
                std::string description;
                DeviceDescription(family, type, serial, description, software);
                line += " -> " + description;
            }
            lines += (lines.empty() ? "" : "\n") + line;
            ui.Clock().Pause(500);
            if (firstIndex < 0)
                firstIndex = i;
        }
        CloseComPort(handle);
    }
    ScanPortsPanel->hide();
    SearchButton->show();
    if (found == 0) {
        ui.ShowMessage(T("No connected instruments found."));
        return;
    }
    DataButton->setEnabled(true);
    ui.ShowMessage(lines);
    SelectCOM->setCurrentIndex(firstIndex);
    ChangeComPort(firstIndex);
}

Byte TMainWindow::DownloadOverPort(const std::string& path, TInstrumentData& target) {
    TUserInterface& ui = User();
    const std::uint32_t handle = OpenComPort(path);
    Byte software = 0, type = 0, family = 0;
    Word serial = 0;
    Byte result = IdentifyInstrument(ui, handle, SearchTimeoutMs, false, software, serial, type, family);
    if (result == Result::Success) {
        TComPort port;
        port.Handle = handle;
        port.ReadTotalTimeOut = DownloadReadTimeOutMs;
        if (family == FamilyDosika) {
            port.Baudrate = 1;
            result = DkDownload(ui, port, target);
        } else if (family == FamilyHalvo) {
            port.Baudrate = 0;
            result = HlvDownload(ui, port, target);
        } else {
            // Modems and ZigBee coordinators are reached with their own issues.
            result = Result::FamilyNotSupported;
        }
    }
    CloseComPort(handle);
    return result;
}

void TMainWindow::LoadData() {
    TUserInterface& ui = User();
    if (SelectedPort.empty())
        return;
    if (SelectedPort == TcpIpPortName) {
        ShowResultMessage(ui, Result::NoTcpIpConnection);
        return;
    }
    // Downloaded beside the shown set: a failed download leaves the display as it was.
    auto downloaded = std::make_unique<TInstrumentData>();
    const Byte result = DownloadOverPort(SelectedPortPath, *downloaded);
    RefreshDiagram();
    const bool valid = downloaded->Valid && downloaded->NumberOfRecords > 0;
    if (result == Result::Success)
        ui.ShowMessage(valid ? T("Data download completed!") : T("No data available!"));
    else
        ShowResultMessage(ui, result);
    if (result == Result::Success && valid) {
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
