#include "files/DataFileNames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lumetra {
namespace {

// Record N, or record 1 of a set that holds none (there is no record 0).
const TInstrumentRecord& LastRecord(const TInstrumentData& data) {
    return data.Records[std::max<std::size_t>(data.NumberOfRecords, 1)];
}

} // namespace

std::string ModelCode(Byte family, Byte type) {
    if (family == FamilyHalvo) {
        switch (type) {
        case 1:
        case 2:
        case 3:
        case 5: return "HLV";
        case 7:
        case 8:
        case 9: return "HH";
        case 4:
        case 10: return "KVX";
        case 6: return "TH";
        default: return "";
        }
    }
    if (family == FamilyDosika) {
        switch (type) {
        case 1: return "DK";
        case 2: return "DKP";
        case 4: return "KVX";
        case 5: return "SR";
        case 6: return "SP";
        default: return "";
        }
    }
    return "";
}

std::string DataFileName(const TInstrumentData& data) {
    return ModelCode(data.Header.DeviceFamily, data.Header.DeviceType) + std::to_string(data.Header.DeviceNumber) +
           "_" + FormatDeviceTime(3, 1, data.Records[1].Time) + " ... " +
           FormatDeviceTime(3, 1, LastRecord(data).Time) + ".lmx";
}

std::string DataFolderPath(const std::string& startDirectory, const TInstrumentData& data,
                           const TTranslate& translate) {
    std::string yearFolder = translate ? translate("\\Year-") : std::string("\\Year-");
    std::replace(yearFolder.begin(), yearFolder.end(), '\\', '/');
    std::string root = startDirectory;
    if (!root.empty() && root.back() == '/') {
        root.pop_back(); // "/" as start directory must not give "//DATA"
    }
    return root + "/DATA" + yearFolder + std::to_string(LastRecord(data).Time.Year) + "/Dev.No. " +
           std::to_string(data.Header.DeviceNumber);
}

bool CreateDataFolder(const std::string& folder) {
    try {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            return false;
        }
        return std::filesystem::is_directory(folder, error) && !error;
    } catch (...) {
        return false;
    }
}

} // namespace lumetra
