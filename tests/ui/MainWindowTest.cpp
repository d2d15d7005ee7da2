#include "ui/MainWindow.h"

#include "support/TempDir.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

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

} // namespace
} // namespace lumetra
