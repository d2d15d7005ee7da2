#pragma once
// What the control window tests share: a simulated instrument on a pseudo-terminal,
// the port the window is given, what reached the instrument, and a way to act inside
// a window that a handler shows modally.

#include "dosika/DosikaSimulator.h"
#include "halvo/HalvoSimulator.h"
#include "links/SimulatedLine.h"
#include "support/ScriptedUserInterface.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumetra::test {

using TBytes = std::vector<std::uint8_t>;

// The payloads of the valid requests in a simulator's log, in order.
template <typename TLog>
std::vector<TBytes> RequestPayloads(const TLog& log) {
    std::vector<TBytes> payloads;
    for (const auto& entry : log)
        if (entry.Index != 0)
            payloads.push_back(entry.Payload);
    return payloads;
}

template <typename TLog>
TBytes RequestCommands(const TLog& log) {
    TBytes commands;
    for (const TBytes& payload : RequestPayloads(log))
        commands.push_back(payload.empty() ? 0 : payload[0]);
    return commands;
}

// Types `text` over what the edit holds, as a user does.
inline void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Runs `action` once `dialog` is shown (modally, from inside a handler) and closes the
// dialog if the action left it open. Keep it alive until the handler has returned.
class TWhenShown {
public:
    TWhenShown(QDialog& dialog, std::function<void()> action) {
        QObject::connect(&Poll, &QTimer::timeout, [this, &dialog, action] {
            if (Done || !dialog.isVisible())
                return;
            Done = true;
            Poll.stop();
            action();
            if (dialog.isVisible())
                dialog.reject();
        });
        Poll.start(5);
    }
    bool Done = false;

private:
    QTimer Poll;
};

// One simulated instrument of either family on a line of its own.
class TControlWindowTest : public ::testing::Test {
protected:
    // Far above the simulators' answer time; a status-only answer to a request that
    // expects more is only taken when it has passed.
    static constexpr Integer ReadTimeOut = 300;

    // Serves a new instrument in place of the one before.
    void ServeHalvo(const sim::THalvoSimState& state) {
        Line.Stop();
        Dosika.reset();
        Halvo = std::make_unique<sim::THalvoSimulator>(state);
        Start(*Halvo);
    }
    void ServeDosika(const sim::TDkSimState& state) {
        Line.Stop();
        Halvo.reset();
        Dosika = std::make_unique<sim::TDosikaSimulator>(state);
        Start(*Dosika);
    }
    // The port as the main window hands it over: 9600 baud for a Halvo, 115200 for a Dosika.
    TComPort Port() const {
        TComPort port = Line.Port(ReadTimeOut);
        port.Baudrate = Halvo ? 0 : 1;
        return port;
    }
    std::vector<TBytes> Requests() const {
        return Halvo ? RequestPayloads(Halvo->RequestLog()) : RequestPayloads(Dosika->RequestLog());
    }
    TBytes Commands() const {
        return Halvo ? RequestCommands(Halvo->RequestLog()) : RequestCommands(Dosika->RequestLog());
    }
    void ClearLog() {
        if (Halvo)
            Halvo->ClearRequestLog();
        if (Dosika)
            Dosika->ClearRequestLog();
    }

    TTempDir Dir;
    // The simulators outlive the line that serves them.
    std::unique_ptr<sim::THalvoSimulator> Halvo;
    std::unique_ptr<sim::TDosikaSimulator> Dosika;
    TSimulatedLine Line{Dir.File("port")};
    TScriptedUserInterface Ui;

private:
    void Start(sim::TSimDevice& device) {
        std::string error;
        ASSERT_TRUE(Line.Start(device, error)) << error;
    }
};

} // namespace lumetra::test
