#include "demo/DemoInstruments.h"
#include "ui/MainWindow.h"
#include "ui/PrintPdf.h"

#include <QApplication>
#include <QSocketNotifier>

#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 64;

const char* const kUsage =
    "Usage: lumetra [--demo] [Qt options]\n"
    "       lumetra --print-pdf FILE OUT.pdf [--range L:R] [--mode 1-6] [--units si|us]\n"
    "                          [--comment TEXT] [--error-bars] [--smooth P]\n"
    "\n"
    "Reads, shows and stores the data of Halvo- and Dosika-family instruments.\n"
    "\n"
    "  --demo   also start three simulated instruments (a Halvo PLUS, a KVX5210-2 and a\n"
    "           Dosika PRO) on pseudo-terminals and list them in the port list, so that\n"
    "           search, download and everything after it can be tried without hardware\n"
    "  --print-pdf  write the measurement protocol of FILE (any data file) as the printer\n"
    "           would get it, A4 portrait, to OUT.pdf, without a window: records L to R\n"
    "           (default all; one measurement series), display mode 1 radon .. 6 PAEC\n"
    "           (thoron) (default: radon, or EEC for sets without radon), SI or US units,\n"
    "           the comment (default: the file's), error bars, smoothing over +/-P records\n"
    "           (0 to 6). Exit status 0; 6 unreadable file; 11 OUT.pdf not written; 64 a\n"
    "           usage error. No OUT.pdf is left behind after a failure.\n"
    "  --help   this text\n";

int QuitPipe[2] = {-1, -1};

void RequestQuit(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(QuitPipe[1], &byte, 1);
}

// Ctrl+C or a plain kill ends the event loop, so the demo instruments are stopped and
// their links removed as when the window is closed.
void QuitOnSignals(QApplication& application) {
    if (pipe(QuitPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(QuitPipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] { QApplication::quit(); });
    struct sigaction action {};
    action.sa_handler = RequestQuit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool IsHelp(const char* argument) {
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
}

} // namespace

int main(int argc, char** argv) {
    // Before the application object, which needs a display.
    for (int i = 1; i < argc; ++i) {
        if (IsHelp(argv[i])) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    if (lumetra::AsksForPrintPdf(argc, argv)) {
        // No window is shown: no display is needed either.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        QApplication application(argc, argv);
        std::setlocale(LC_ALL, "");
        std::vector<std::string> arguments;
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--print-pdf") != 0)
                arguments.emplace_back(argv[i]);
        }
        return lumetra::RunPrintPdf(arguments, std::cout, std::cerr);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumetra"));
    // Qt sets the locale from the environment too; setting it here keeps the C
    // library's date, time and number texts the same as the command-line tool's.
    std::setlocale(LC_ALL, "");

    // What Qt left of the arguments.
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else {
            std::fprintf(stderr, "lumetra: unknown argument '%s'\nTry 'lumetra --help'.\n", argv[i]);
            return kUsageError;
        }
    }

    // Declared before the window, so the instruments outlive it.
    std::optional<lumetra::TDemoInstruments> instruments;
    lumetra::TMainWindow window(QApplication::applicationDirPath().toStdString());
    if (demo) {
        QuitOnSignals(application);
        instruments.emplace();
        std::string error;
        const lumetra::TDemoPortList ports = instruments->Start(error);
        if (ports.empty()) {
            std::fprintf(stderr, "lumetra: the demo instruments cannot be started: %s\n", error.c_str());
        } else {
            window.AddDemoPorts(ports);
        }
    }
    window.show();
    return QApplication::exec();
}
