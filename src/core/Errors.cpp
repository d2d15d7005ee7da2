#include "core/Errors.h"

#include "core/UserInterface.h"

namespace lumetra {

std::optional<std::string> ResultMessageText(Byte code) {
    switch (code) {
    case Result::PortNotOpen:
        return "No access to COM Port! Selected port available at this PC? No access by another application?";
    case Result::NoAnswer:
        return "No response! Instrument connected? Right COM port? Cable OK?";
    case Result::FrameError:
        return "Message frame error!";
    case Result::UnexpectedResponse:
        return "Unexpected response!";
    case Result::FileUnreadable:
        return "Unable to open file! Wrong file format!";
    case Result::MeasurementState:
        return "Invalid operation! First start or stop measurement!";
    case Result::ModemFailed:
        return "Modem access failed!";
    case Result::PostExposureLock:
        return "No access during 180 Minutes post exposure analysis!";
    case Result::ZigBeeFailed:
        return "Access to ZigBee adapter failed!";
    case Result::NoTcpIpConnection:
        return "TCP/IP connection not established!";
    case Result::InstrumentTooNew:
        return "This instrument requires a later read-out software revision!";
    default:
        return std::nullopt;
    }
}

void ShowResultMessage(TUserInterface& ui, Byte code, const std::string& text) {
    if (code == Result::Success) {
        ui.ShowMessage(text);
        return;
    }
    if (auto message = ResultMessageText(code)) {
        ui.ShowMessage(*message);
    }
}

} // namespace lumetra
