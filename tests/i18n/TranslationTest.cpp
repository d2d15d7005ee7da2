#include "i18n/Translation.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace lumetra {
namespace {

constexpr const char* Sample = R"(# a comment
culture en "English" "English"
culture de "German" "Deutsch"
culture fr "French" "Français"

msgid "Data saved as: \""
de "Daten gespeichert als: \""
fr "Données enregistrées : \""

msgid " Running instrument, can not read ID/SN"
de " Messgerät misst, ID/SN nicht lesbar"

msgid "Two\nlines"
de "Zwei\tZeilen \\ Ende"
)";

TEST(TranslationCatalog, LooksTextsUpByTheirEnglishText) {
    TTranslationCatalog catalog;
    catalog.LoadFromText(Sample);
    EXPECT_TRUE(catalog.Problems().empty());
    ASSERT_EQ(catalog.Cultures().size(), 3u);
    EXPECT_EQ(catalog.EnglishLanguageName(1), "German");
    EXPECT_EQ(catalog.Cultures()[2].NativeName, "Français");

    EXPECT_EQ(catalog.Translate("Data saved as: \""), "Data saved as: \"");
    ASSERT_TRUE(catalog.SelectCulture(1));
    EXPECT_EQ(catalog.Translate("Data saved as: \""), "Daten gespeichert als: \"");
    // Leading blanks inside the quotes belong to the text.
    EXPECT_EQ(catalog.Translate(" Running instrument, can not read ID/SN"), " Messgerät misst, ID/SN nicht lesbar");
    EXPECT_EQ(catalog.Translate("Two\nlines"), "Zwei\tZeilen \\ Ende");
    EXPECT_EQ(catalog.Translate("not in the catalog"), "not in the catalog");

    // An entry without a line for the selected culture stays English.
    ASSERT_TRUE(catalog.SelectCulture(2));
    EXPECT_EQ(catalog.Translate(" Running instrument, can not read ID/SN"), " Running instrument, can not read ID/SN");
}

TEST(TranslationCatalog, SelectionOutsideTheListIsRefused) {
    TTranslationCatalog catalog;
    catalog.LoadFromText(Sample);
    ASSERT_TRUE(catalog.SelectCulture(1));
    EXPECT_FALSE(catalog.SelectCulture(3));
    EXPECT_FALSE(catalog.SelectCulture(-1));
    EXPECT_EQ(catalog.SelectedCulture(), 1);
    EXPECT_EQ(catalog.EnglishLanguageName(9), "");
}

TEST(TranslationCatalog, MissingFileLeavesEnglishOnly) {
    test::TTempDir dir;
    TTranslationCatalog catalog;
    catalog.LoadFromText(Sample);
    catalog.SelectCulture(1);
    EXPECT_FALSE(catalog.LoadFromFile(dir.File("absent.i18n")));
    ASSERT_EQ(catalog.Cultures().size(), 1u);
    EXPECT_EQ(catalog.EnglishLanguageName(0), "English");
    EXPECT_EQ(catalog.SelectedCulture(), 0);
    EXPECT_EQ(catalog.Translate("Data saved as: \""), "Data saved as: \"");
}

TEST(TranslationCatalog, MalformedLinesAreReportedAndSkipped) {
    TTranslationCatalog catalog;
    catalog.LoadFromText("culture de \"German\"\n"
                         "de \"orphan\"\n"
                         "msgid \"unterminated\n"
                         "culture fr \"French\" \"Français\"\n"
                         "msgid \"Yes\"\n"
                         "fr \"Oui\" trailing\n"
                         "fr \"Oui\"\n");
    EXPECT_EQ(catalog.Problems().size(), 4u);
    ASSERT_EQ(catalog.Cultures().size(), 2u);
    catalog.SelectCulture(1);
    EXPECT_EQ(catalog.Translate("Yes"), "Oui");
}

TEST(TranslationCatalog, TheShippedCatalogIsCompleteForGerman) {
    TTranslationCatalog catalog;
    ASSERT_TRUE(catalog.LoadFromFile(CatalogFileName)) << "the catalog is copied beside the build";
    EXPECT_TRUE(catalog.Problems().empty()) << catalog.Problems().front();
    ASSERT_GE(catalog.Cultures().size(), 2u);
    EXPECT_EQ(catalog.EnglishLanguageName(0), "English");
    EXPECT_EQ(catalog.EnglishLanguageName(1), "German");
    EXPECT_FALSE(catalog.Entries().empty());
    for (const auto& english : catalog.Entries()) {
        EXPECT_TRUE(catalog.HasTranslation(english, "de")) << english;
    }
    catalog.SelectCulture(1);
    EXPECT_EQ(catalog.Translate("no file"), "keine Datei");
}

TEST(LanguageFile, HoldsTheCultureIndexOnItsFirstLine) {
    test::TTempDir dir;
    int index = -5;
    EXPECT_FALSE(ReadLanguageFile(dir.File("lang"), index));
    EXPECT_EQ(index, -5);

    ASSERT_TRUE(WriteLanguageFile(dir.File("lang"), 2));
    ASSERT_TRUE(ReadLanguageFile(dir.File("lang"), index));
    EXPECT_EQ(index, 2);

    for (const char* bad : {"", "x1\n", "1x\n", "\n2\n"}) {
        std::ofstream(dir.File("lang"), std::ios::trunc) << bad;
        index = 7;
        EXPECT_FALSE(ReadLanguageFile(dir.File("lang"), index)) << bad;
        EXPECT_EQ(index, 7);
    }
    std::ofstream(dir.File("lang"), std::ios::trunc) << " 1\r\nrest\n";
    EXPECT_TRUE(ReadLanguageFile(dir.File("lang"), index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(WriteLanguageFile(dir.File("missing/lang"), 1));
}

} // namespace
} // namespace lumetra
