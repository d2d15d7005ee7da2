#include "files/OlderFileFormats.h"

#include "core/Errors.h"
#include "files/ByteBuffer.h"
#include "files/DataSetFile.h"
#include "files/InstrumentBlocks.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumetra {
namespace {

constexpr TFileStatus Read = TFileStatus::Read;
constexpr TFileStatus NotOpened = TFileStatus::NotOpened;
constexpr TFileStatus BlockShort = TFileStatus::BlockShort;
constexpr TFileStatus NotValid = TFileStatus::NotValid;

using TFillFunction = void (*)(const Byte* block, std::size_t count, TInstrumentData& data);

struct TOlderFormat {
    std::size_t BlockSize;
    std::size_t CountOffset;
    std::size_t CommentOffset;
    Word Capacity;
    TFillFunction Fill;
};

// ".lm3": the previous native layout with room for 2048 records.
constexpr std::size_t Lm3HeaderOffset = 260;
constexpr std::size_t Lm3SetupOffset = 300;
constexpr std::size_t Lm3RecordOffset = 316;
constexpr std::size_t Lm3SpectrumOffset = 434492;
static_assert(Lm3RecordOffset + RecordBlockSize * 2048 == Lm3SpectrumOffset);
static_assert(Lm3SpectrumOffset + SpectrumBlockSize == Lm3BlockSize);

void FillLm3(const Byte* block, std::size_t count, TInstrumentData& data) {
    DecodeHeader(block + Lm3HeaderOffset, data.Header);
    DecodeSetup(block + Lm3SetupOffset, data.Setup);
    DecodeSpectrum(block + Lm3SpectrumOffset, data.Spectrum);
    for (std::size_t r = 1; r <= count; ++r) {
        DecodeRecord(block + Lm3RecordOffset + RecordBlockSize * (r - 1), data.Records[r]);
    }
}

// ".lmb": a Halvo identity block, then records of 176 bytes.
constexpr std::size_t LmbRecordOffset = 280;
constexpr std::size_t LmbRecordSize = 176;
static_assert(LmbRecordOffset + LmbRecordSize * 2048 == LmbBlockSize);

void FillLmb(const Byte* block, std::size_t count, TInstrumentData& data) {
    TInstrumentHeader& h = data.Header;
    h.DeviceFamily = FamilyHalvo;
    h.DeviceNumber = GetInteger(block + 260);
    h.DeviceType = block[264];
    h.SoftwareVersion = block[265];
    for (std::size_t k = 1; k <= 4; ++k) {
        h.UniCon[k] = GetWord(block + 266 + 2 * (k - 1));
    }
    for (std::size_t k = 1; k <= 5; ++k) {
        h.ROILevel[k] = block[274 + (k - 1)];
    }
    h.Offset = block[279];
    for (std::size_t r = 1; r <= count; ++r) {
        const Byte* const p = block + LmbRecordOffset + LmbRecordSize * (r - 1);
        TInstrumentRecord& rec = data.Records[r];
        rec.SampleInterval = p[1];
        rec.Time.Minute = p[2];
        rec.Time.Hour = p[3];
        rec.Time.Day = p[4];
        rec.Time.Month = p[5];
        rec.Time.Year = static_cast<Word>(p[6] + 2000);
        rec.HumidityRaw = p[7];
        rec.TemperatureRaw = GetInteger(p + 8);
        rec.PressureRaw = GetInteger(p + 12);
        rec.Counts = GetInteger(p + 16);
        rec.Status = GetInteger(p + 20);
        for (std::size_t k = 1; k <= IntervalChannels; ++k) {
            rec.Channels[k] = GetInteger(p + 24 + 4 * (k - 1));
        }
    }
}

// ".hvb": the memory image of an early Halvo; record r lies at 20 x r.
constexpr std::size_t HvbRecordSize = 20;
constexpr std::size_t HvbCommentOffset = 15380;
static_assert(HvbRecordSize * (768 + 1) == HvbCommentOffset);
static_assert(HvbCommentOffset + CommentBlockSize == HvbBlockSize);

void FillHvb(const Byte* block, std::size_t count, TInstrumentData& data) {
    TInstrumentHeader& h = data.Header;
    h.DeviceFamily = FamilyHalvo;
    h.DeviceNumber = GetInteger(block + 4);
    h.DeviceType = block[8];
    h.SoftwareVersion = block[9];
    for (std::size_t k = 1; k <= 4; ++k) {
        h.UniCon[k] = GetWord(block + 12 + 2 * (k - 1));
    }
    for (std::size_t r = 1; r <= count; ++r) {
        const Byte* const p = block + HvbRecordSize * r;
        TInstrumentRecord& rec = data.Records[r];
        rec.Time.Minute = p[1];
        rec.Time.Hour = p[2];
        rec.Time.Day = p[3];
        rec.Time.Month = p[4];
        rec.Time.Year = static_cast<Word>(p[5] + 2000);
        rec.SampleInterval = p[6];
        rec.HumidityRaw = p[7];
        rec.TemperatureRaw = p[8];
        rec.Counts = GetInteger(p + 12);
        rec.Status = GetInteger(p + 16);
    }
}

constexpr TOlderFormat Lm3Format{Lm3BlockSize, 2, 4, 2048, FillLm3};
constexpr TOlderFormat LmbFormat{LmbBlockSize, 2, 4, 2048, FillLmb};
constexpr TOlderFormat HvbFormat{HvbBlockSize, 10, HvbCommentOffset, 768, FillHvb};

TFileStatus ReadOlderFile(const std::string& fileName, TInstrumentData& data, const TOlderFormat& format) {
    data.Valid = false;
    try {
        std::vector<Byte> block;
        if (!ReadFileHead(fileName, format.BlockSize, block)) {
            return NotOpened;
        }
        if (block.size() < format.BlockSize) {
            return BlockShort;
        }
        if (block[0] != 1) {
            return NotValid;
        }
        const Word count = GetWord(block.data() + format.CountOffset);
        if (count > format.Capacity) {
            return BlockShort; // the records would lie beyond the block
        }
        if (count == 0) {
            return NotValid; // flagged valid, yet nothing to show
        }
        std::string comment = DecodeComment(block.data() + format.CommentOffset);
        // The older formats leave fields out; none may survive from the previous set.
        data.Header = {};
        data.Setup = {};
        data.Spectrum = {};
        for (std::size_t r = 1; r <= count; ++r) {
            data.Records[r] = {};
        }
        format.Fill(block.data(), count, data);
        data.Comment = std::move(comment);
        data.NumberOfRecords = count;
        data.Valid = true;
        return Read;
    } catch (...) {
        return NotOpened; // no memory for the block
    }
}

// The extension with its full stop, taken from the last component only.
std::string Extension(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return fileName.substr(dot);
}

} // namespace

TFileStatus ReadLm3File(const std::string& fileName, TInstrumentData& data) {
    return ReadOlderFile(fileName, data, Lm3Format);
}

TFileStatus ReadLmbFile(const std::string& fileName, TInstrumentData& data) {
    return ReadOlderFile(fileName, data, LmbFormat);
}

TFileStatus ReadHvbFile(const std::string& fileName, TInstrumentData& data) {
    return ReadOlderFile(fileName, data, HvbFormat);
}

Byte ReadAnyDataFile(const std::string& fileName, TInstrumentData& data) {
    try {
        const std::string extension = Extension(fileName);
        std::optional<TFileStatus> status;
        if (extension == ".lmx") {
            status = ReadDataSetFile(fileName, data);
        } else if (extension == ".lm3") {
            status = ReadLm3File(fileName, data);
        } else if (extension == ".lmb") {
            status = ReadLmbFile(fileName, data);
        } else if (extension == ".hvb") {
            status = ReadHvbFile(fileName, data);
        }
        if (status == TFileStatus::Read) {
            return Result::Success;
        }
    } catch (...) {
        // fall through: treated like an unknown format
    }
    data.Valid = false;
    return Result::FileUnreadable;
}

} // namespace lumetra
