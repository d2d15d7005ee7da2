#include "ui/MainWindow.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumetra"));
    // Qt sets the locale from the environment too; setting it here keeps the C
    // library's date, time and number texts the same as the command-line tool's.
    std::setlocale(LC_ALL, "");
    lumetra::TMainWindow window(QApplication::applicationDirPath().toStdString());
    window.show();
    return QApplication::exec();
}
