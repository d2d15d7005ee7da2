#include "files/DataSetFile.h"

#include "core/Errors.h"
#include "files/ByteBuffer.h"
#include "files/InstrumentBlocks.h"

#include <string>
#include <utility>
#include <vector>

namespace lumetra {
namespace {

constexpr std::size_t VersionOffset = 0;
constexpr std::size_t ValidOffset = 4;
constexpr std::size_t CountOffset = 5;
constexpr std::size_t CommentOffset = 7;
constexpr std::size_t HeaderOffset = 263;
constexpr std::size_t SetupOffset = 303;
constexpr std::size_t SpectrumOffset = 319;
constexpr std::size_t LargestFile = NativePreambleSize + NativeRecordSize * MaxRecords;

static_assert(CommentOffset + CommentBlockSize == HeaderOffset);
static_assert(HeaderOffset + HeaderBlockSize == SetupOffset);
static_assert(SetupOffset + SetupBlockSize == SpectrumOffset);
static_assert(SpectrumOffset + SpectrumBlockSize == NativePreambleSize);
static_assert(RecordBlockSize == NativeRecordSize);

constexpr TFileStatus Read = TFileStatus::Read;
constexpr TFileStatus NotOpened = TFileStatus::NotOpened;
constexpr TFileStatus Incomplete = TFileStatus::Incomplete;

constexpr std::size_t RecordOffset(std::size_t i) {
    return NativePreambleSize + NativeRecordSize * (i - 1);
}

} // namespace

Byte SaveDataSetFile(const std::string& fileName, const TInstrumentData& data) {
    try {
        const std::size_t count = data.NumberOfRecords;
        if (count > MaxRecords) {
            return Result::FileNotWritten;
        }
        std::vector<Byte> bytes(NativePreambleSize + NativeRecordSize * count);
        Byte* const p = bytes.data();
        PutInteger(p + VersionOffset, 1);
        p[ValidOffset] = data.Valid ? 1 : 0;
        PutWord(p + CountOffset, data.NumberOfRecords);
        EncodeComment(data.Comment, p + CommentOffset);
        EncodeHeader(data.Header, p + HeaderOffset);
        EncodeSetup(data.Setup, p + SetupOffset);
        EncodeSpectrum(data.Spectrum, p + SpectrumOffset);
        for (std::size_t i = 1; i <= count; ++i) {
            EncodeRecord(data.Records[i], p + RecordOffset(i));
        }
        return WriteFileAtomically(fileName, bytes) ? Result::Success : Result::FileNotWritten;
    } catch (...) {
        return Result::FileNotWritten;
    }
}

TFileStatus ReadDataSetFile(const std::string& fileName, TInstrumentData& data) {
    data.Valid = false;
    try {
        std::vector<Byte> bytes;
        if (!ReadFileHead(fileName, LargestFile, bytes)) {
            return NotOpened;
        }
        // Everything is checked before the data set is touched, so a bad file leaves
        // the previous records in place.
        if (bytes.size() < NativePreambleSize || bytes[ValidOffset] != 1) {
            return Incomplete;
        }
        const Word count = GetWord(bytes.data() + CountOffset);
        if (count == 0 || count > MaxRecords || bytes.size() < RecordOffset(count + 1u)) {
            return Incomplete;
        }
        const Byte* const p = bytes.data();
        std::string comment = DecodeComment(p + CommentOffset); // the only step that allocates
        DecodeHeader(p + HeaderOffset, data.Header);
        DecodeSetup(p + SetupOffset, data.Setup);
        DecodeSpectrum(p + SpectrumOffset, data.Spectrum);
        for (std::size_t i = 1; i <= count; ++i) {
            DecodeRecord(p + RecordOffset(i), data.Records[i]);
        }
        data.Comment = std::move(comment);
        data.NumberOfRecords = count;
        data.Valid = true;
        return Read;
    } catch (...) {
        return NotOpened; // no memory for the file image
    }
}

} // namespace lumetra
