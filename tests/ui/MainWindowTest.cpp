#include "ui/MainWindow.h"

#include "support/ScriptedUserInterface.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QLabel>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace lumetra {
namespace {

void WriteCatalog(const test::TTempDir& dir) {
    std::ofstream out(dir.File(CatalogFileName));
    out << "culture en \"English\" \"English\"\n"
           "culture de \"German\" \"Deutsch\"\n"
           "msgid \"no file\"\nde \"keine Datei\"\n"
           "msgid \"Language\"\nde \"Sprache\"\n";
}

std::string ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

TEST(MainWindow, ShowsTheProgramCaptionAndStartsInSiUnits) {
    test::TTempDir dir;
    TMainWindow window(dir.Path());
    window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.windowTitle().toStdString(), "Merix Lumetra 6.6.0");
    EXPECT_EQ(window.CurrentUnits().SelectedUnits, UnitsSI);
    EXPECT_EQ(window.UnitButton->text().toStdString(), "pCi");
    EXPECT_TRUE(window.CommentEdit->isReadOnly());
    EXPECT_EQ(window.CurrentFileName(), "no file");
    window.close();
}

TEST(MainWindow, RestoresTheSavedLanguageAndStoresTheChoiceAtClose) {
    test::TTempDir dir;
    WriteCatalog(dir);
    {
        std::ofstream lang(dir.File(LanguageFileName));
        lang << "1\n";
    }
    TMainWindow window(dir.Path());
    ASSERT_EQ(window.CultureBox1->count(), 2);
    EXPECT_EQ(window.CultureBox1->currentIndex(), 1);
    EXPECT_EQ(window.CurrentFileName(), "keine Datei");

    window.CultureBox1->setCurrentIndex(0);
    EXPECT_EQ(window.Catalog().SelectedCulture(), 0);
    EXPECT_EQ(window.CurrentFileName(), "no file");
    window.show();
    window.close();
    EXPECT_EQ(ReadFirstLine(dir.File(LanguageFileName)), "0");
}

TEST(MainWindow, StartsInEnglishWithoutCatalogOrWithAGarbledLanguageFile) {
    test::TTempDir dir;
    {
        std::ofstream lang(dir.File(LanguageFileName));
        lang << "Deutsch\n";
    }
    TMainWindow window(dir.Path());
    EXPECT_EQ(window.CultureBox1->count(), 1);
    EXPECT_EQ(window.Catalog().SelectedCulture(), 0);
    EXPECT_EQ(window.CurrentFileName(), "no file");
}


TEST(MainWindow, SwitchesTheWholeWindowToGermanAtOnce) {
    test::TTempDir dir;
    std::filesystem::copy_file(CatalogFileName, dir.File(CatalogFileName));
    TMainWindow window(dir.Path());
    ASSERT_GE(window.CultureBox1->count(), 2);
    EXPECT_EQ(window.L1->text().toStdString(), "Time:");
    window.CultureBox1->setCurrentIndex(1);
    EXPECT_EQ(window.L1->text().toStdString(), "Zeit:");
    EXPECT_EQ(window.L6->text().toStdString(), "Datensätze:");
    EXPECT_EQ(window.SearchButton->toolTip().toStdString(), "Nach angeschlossenem Messgerät suchen");
    EXPECT_EQ(window.SmoothComboBox->itemText(0).toStdString(), "keine Glättung");
    EXPECT_EQ(window.CurrentFileName(), "keine Datei");
}

// An installed program cannot write its own folder: the choice goes to the user's
// configuration folder and is read back from there.
TEST(MainWindow, KeepsTheLanguageInTheUserFolderWhenTheProgramFolderIsNotWritable) {
    test::TTempDir config;
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path()));
    test::TTempDir shipped;
    WriteCatalog(shipped);
    // A program folder that cannot be written; as the test may run as root, one that
    // does not exist stands in for a read-only one.
    const std::string programFolder = shipped.File("installed");
    std::filesystem::create_directories(programFolder);
    std::filesystem::copy_file(shipped.File(CatalogFileName), programFolder + "/" + CatalogFileName);
    std::filesystem::permissions(programFolder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool folderWritable = ::access(programFolder.c_str(), W_OK) == 0;
    std::filesystem::permissions(programFolder, std::filesystem::perms::owner_all);
    const std::string folder = folderWritable ? shipped.File("not-there") : programFolder;
    if (folderWritable)
        std::filesystem::rename(programFolder, folder + "-catalog"); // nothing at `folder`
    {
        TMainWindow window(folder);
        window.CultureBox1->addItem(QStringLiteral("second")); // no catalog: one culture
        window.show();
        window.close();
    }
    std::vector<std::string> found;
    QDirIterator it(QString::fromStdString(config.Path()), {QStringLiteral("lang")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.push_back(it.next().toStdString());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(ReadFirstLine(found[0]), "0");
    EXPECT_FALSE(std::filesystem::exists(folder + "/" + LanguageFileName));
    // A choice of German stored there is the one the next start reads, also where the
    // program folder has no language file of its own.
    {
        std::ofstream lang(found[0]);
        lang << "1\n";
    }
    {
        TMainWindow window(shipped.Path());
        EXPECT_EQ(window.Catalog().SelectedCulture(), 1);
        EXPECT_EQ(window.CurrentFileName(), "keine Datei");
    }
    if (previous.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previous);
}

TEST(MainWindow, DownloadProgressShowsTheRecordCountIn200By80) {
    test::TTempDir dir;
    TMainWindow window(dir.Path());
    TTranslationCatalog catalog;
    TQtUserInterface ui(&window, catalog);
    ui.ShowProgress("Data download", 0);
    ASSERT_NE(ui.ProgressWindow(), nullptr);
    EXPECT_EQ(ui.ProgressWindow()->windowTitle().toStdString(), "Data download");
    EXPECT_EQ(ui.ProgressWindow()->size(), QSize(200, 80));
    bool hasCaption = false;
    for (const QLabel* label : ui.ProgressWindow()->findChildren<QLabel*>())
        hasCaption = hasCaption || label->text() == QStringLiteral("Records:");
    EXPECT_TRUE(hasCaption);
    ui.UpdateProgress(0, "-");
    EXPECT_EQ(ui.ProgressText().toStdString(), "-");
    ui.UpdateProgress(417, "417");
    EXPECT_EQ(ui.ProgressText().toStdString(), "417");
    ui.HideProgress();
    EXPECT_EQ(ui.ProgressWindow(), nullptr);
}

TEST(MainWindow, TheLogoShowsTheContactText) {
    test::TTempDir dir;
    test::TScriptedUserInterface ui;
    TMainWindow window(dir.Path());
    window.UseUserInterface(&ui);
    window.resize(1280, 800);
    window.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.LogoImage->isVisible());
    const QPointF inside(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, inside, window.LogoImage->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, window.LogoImage->mapToGlobal(inside), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.LogoImage, &press);
    QCoreApplication::sendEvent(window.LogoImage, &release);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_NE(ui.Messages[0].find("Merix distributor"), std::string::npos);

    // Even the smallest window (1000 pixels) is wider than the 820 below which it hides.
    window.resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.LogoImage->isVisible());
    EXPECT_LT(window.LogoImage->geometry().right(), window.ExportTextButton->geometry().left());
    window.close();
}

} // namespace
} // namespace lumetra
