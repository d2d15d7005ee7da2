#include "core/GlobalDefinitions.h"
#include "core/TextEncoding.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(DataSets, StartEmptyWithRoomFor16416RecordsNumberedFromOne) {
    TInstrumentData raw;
    TMeasurementData evaluated;
    EXPECT_FALSE(raw.Valid);
    EXPECT_FALSE(evaluated.Valid);
    EXPECT_EQ(raw.NumberOfRecords, 0);
    EXPECT_TRUE(raw.Comment.empty());
    EXPECT_EQ(raw.Records.size(), 16416u);
    EXPECT_EQ(evaluated.Data.size(), 16416u);

    raw.Records[1].Counts = 11;
    raw.Records[16416].Counts = 22;
    EXPECT_EQ(raw.Records.data()[0].Counts, 11);
    EXPECT_EQ(raw.Records.data()[16415].Counts, 22);
    EXPECT_EQ(raw.Records[2].Counts, 0);
}

TEST(DataSets, CopyLikeValues) {
    TInstrumentData a;
    a.Records[5].Channels[38] = 7;
    a.Header.UniCon[6] = 99;
    TInstrumentData b = a;
    b.Records[5].Channels[38] = 8;
    EXPECT_EQ(a.Records[5].Channels[38], 7);
    EXPECT_EQ(b.Header.UniCon[6], 99);
}

TEST(Comment, IsCutTo255CharactersOfTheFileCodePage) {
    TInstrumentData data;
    SetComment(data, std::string(300, 'x'));
    EXPECT_EQ(data.Comment, std::string(255, 'x'));

    // Umlauts take two UTF-8 bytes but one character of the file.
    std::string umlauts;
    for (int i = 0; i < 300; ++i) {
        umlauts += "ä";
    }
    SetComment(data, umlauts);
    EXPECT_EQ(Utf8ToWindows1252(data.Comment).size(), 255u);
    EXPECT_EQ(data.Comment.size(), 510u);

    SetComment(data, "Keller €5");
    EXPECT_EQ(data.Comment, "Keller €5");
}

TEST(TextEncoding, ConvertsBetweenUtf8AndWindows1252) {
    EXPECT_EQ(Utf8ToWindows1252("Grüße €"), std::string("Gr\xFC\xDF" "e \x80"));
    EXPECT_EQ(Windows1252ToUtf8(std::string("Gr\xFC\xDF" "e \x80\x9C")), "Grüße €œ");
    // Characters the code page lacks, and broken UTF-8, become '?'.
    EXPECT_EQ(Utf8ToWindows1252("Bq/m³ ☢"), std::string("Bq/m\xB3 ?"));
    EXPECT_EQ(Utf8ToWindows1252(std::string("a\xC3")), "a?");
    EXPECT_EQ(Utf8ToWindows1252(std::string("\xE2\x82")), "??");
    EXPECT_EQ(Utf8Prefix("äöü", 2), "äö");
    EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
}

} // namespace
} // namespace lumetra
