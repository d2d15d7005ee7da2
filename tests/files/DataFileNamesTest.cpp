#include "files/DataFileNames.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace lumetra {
namespace {

using test::TTempDir;
using test::WriteBytes;

TEST(DataFileNames, ModelCodes) {
    const std::vector<std::pair<std::pair<int, int>, std::string>> table = {
        {{FamilyHalvo, 1}, "HLV"}, {{FamilyHalvo, 2}, "HLV"},   {{FamilyHalvo, 3}, "HLV"}, {{FamilyHalvo, 5}, "HLV"},
        {{FamilyHalvo, 7}, "HH"},  {{FamilyHalvo, 8}, "HH"},    {{FamilyHalvo, 9}, "HH"},  {{FamilyHalvo, 4}, "KVX"},
        {{FamilyHalvo, 10}, "KVX"}, {{FamilyDosika, 4}, "KVX"}, {{FamilyHalvo, 6}, "TH"},  {{FamilyDosika, 1}, "DK"},
        {{FamilyDosika, 2}, "DKP"}, {{FamilyDosika, 5}, "SR"},  {{FamilyDosika, 6}, "SP"},
        // Types without a code.
        {{FamilyHalvo, 0}, ""},    {{FamilyHalvo, 11}, ""},     {{FamilyDosika, 3}, ""},   {{FamilyDosika, 7}, ""},
        {{FamilyModem, 1}, ""},    {{FamilyPemko, 6}, ""},      {{0, 1}, ""}};
    for (const auto& [key, code] : table) {
        EXPECT_EQ(ModelCode(static_cast<Byte>(key.first), static_cast<Byte>(key.second)), code)
            << "family " << key.first << " type " << key.second;
    }
}

TInstrumentData ThreeRecords() {
    TInstrumentData data;
    data.Valid = true;
    data.NumberOfRecords = 3;
    data.Header.DeviceFamily = FamilyHalvo;
    data.Header.DeviceType = 4;
    data.Header.DeviceNumber = 1234;
    data.Records[1].Time = {0, 5, 7, 24, 5, 2017};
    data.Records[2].Time = {0, 0, 0, 1, 1, 2099}; // neither first nor last
    data.Records[3].Time = {0, 30, 14, 13, 1, 2018};
    return data;
}

TEST(DataFileNames, FileNameFromFirstAndLastRecord) {
    TInstrumentData data = ThreeRecords();
    EXPECT_EQ(DataFileName(data), "KVX1234_5_24_2017  7-05 ... 1_13_2018 14-30.lmx");
    data.Header.DeviceFamily = FamilyDosika;
    data.Header.DeviceType = 3;
    data.NumberOfRecords = 1;
    EXPECT_EQ(DataFileName(data), "1234_5_24_2017  7-05 ... 5_24_2017  7-05.lmx");
}

TEST(DataFileNames, FolderByYearOfLastRecordAndSerial) {
    const TInstrumentData data = ThreeRecords();
    std::vector<std::string> asked;
    const auto identity = [&](const std::string& s) {
        asked.push_back(s);
        return s;
    };
    EXPECT_EQ(DataFolderPath("/home/u/run", data, identity), "/home/u/run/DATA/Year-2018/Dev.No. 1234");
    EXPECT_EQ(asked, std::vector<std::string>{"\\Year-"});
    const auto german = [](const std::string&) { return std::string("\\Jahr-"); };
    EXPECT_EQ(DataFolderPath("/", data, german), "/DATA/Jahr-2018/Dev.No. 1234");
}

TEST(DataFileNames, CreateDataFolder) {
    TTempDir dir;
    const std::string folder = dir.File("DATA/Year-2018/Dev.No. 1234");
    EXPECT_TRUE(CreateDataFolder(folder));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(CreateDataFolder(folder)); // already there
    WriteBytes(dir.File("plain"), {1});
    EXPECT_FALSE(CreateDataFolder(dir.File("plain")));
    EXPECT_FALSE(CreateDataFolder(dir.File("plain/sub")));
}

} // namespace
} // namespace lumetra
