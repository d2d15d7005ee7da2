#include "files/InstrumentBlocks.h"

#include "core/TextEncoding.h"
#include "files/ByteBuffer.h"

#include <algorithm>
#include <cstring>

namespace lumetra {
namespace {

void DecodeTime(const Byte* p, TDeviceTime& t) {
    t.Second = GetWord(p);
    t.Minute = GetWord(p + 2);
    t.Hour = GetWord(p + 4);
    t.Day = GetWord(p + 6);
    t.Month = GetWord(p + 8);
    t.Year = GetWord(p + 10);
}

void EncodeTime(const TDeviceTime& t, Byte* p) {
    PutWord(p, t.Second);
    PutWord(p + 2, t.Minute);
    PutWord(p + 4, t.Hour);
    PutWord(p + 6, t.Day);
    PutWord(p + 8, t.Month);
    PutWord(p + 10, t.Year);
}

} // namespace

void DecodeHeader(const Byte* p, TInstrumentHeader& header) {
    header.DeviceFamily = p[0];
    header.DeviceNumber = GetInteger(p + 4);
    header.DeviceType = p[8];
    header.SoftwareVersion = p[9];
    header.Offset = p[10];
    header.BetaLowerLimit = p[11];
    header.BetaUpperLimit = p[12];
    for (std::size_t k = 1; k <= 5; ++k) {
        header.ROILevel[k] = p[13 + (k - 1)];
        header.ROILimits[k].LowerLimit = p[18 + 2 * (k - 1)];
        header.ROILimits[k].UpperLimit = p[19 + 2 * (k - 1)];
    }
    for (std::size_t k = 1; k <= 6; ++k) {
        header.UniCon[k] = GetWord(p + 28 + 2 * (k - 1));
    }
}

void DecodeSetup(const Byte* p, TInstrumentSetup& setup) {
    setup.UserID = GetWord(p);
    setup.CountryCode = p[2];
    setup.RegionCode = p[3];
    setup.EntryCode = p[4];
    setup.SetupWord = GetWord(p + 6);
    setup.SampleInterval = p[8];
    setup.AlarmLevel = GetInteger(p + 12);
}

void DecodeRecord(const Byte* p, TInstrumentRecord& record) {
    record.SampleInterval = p[0];
    DecodeTime(p + 2, record.Time);
    record.TemperatureRaw = GetInteger(p + 16);
    record.HumidityRaw = GetInteger(p + 20);
    record.PressureRaw = GetInteger(p + 24);
    record.Counts = GetInteger(p + 28);
    record.Status = GetInteger(p + 32);
    for (std::size_t k = 1; k <= IntervalChannels; ++k) {
        record.Channels[k] = GetInteger(p + 36 + 4 * (k - 1));
    }
    record.ExtraCounts = GetInteger(p + 188);
    for (std::size_t k = 1; k <= 5; ++k) {
        record.ROICounts[k] = GetInteger(p + 192 + 4 * (k - 1));
    }
}

void DecodeSpectrum(const Byte* p, TDosikaSpectrum& spectrum) {
    spectrum.Size = GetInteger(p);
    for (std::size_t k = 1; k <= DosikaSpectrumChannels; ++k) {
        spectrum.Channels[k] = GetInteger(p + 4 + 4 * (k - 1));
    }
}

std::string DecodeComment(const Byte* p) {
    // The length byte cannot exceed the 255 characters that follow it.
    return Windows1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p + 1), p[0]));
}

void EncodeHeader(const TInstrumentHeader& header, Byte* p) {
    std::memset(p, 0, HeaderBlockSize);
    p[0] = header.DeviceFamily;
    PutInteger(p + 4, header.DeviceNumber);
    p[8] = header.DeviceType;
    p[9] = header.SoftwareVersion;
    p[10] = header.Offset;
    p[11] = header.BetaLowerLimit;
    p[12] = header.BetaUpperLimit;
    for (std::size_t k = 1; k <= 5; ++k) {
        p[13 + (k - 1)] = header.ROILevel[k];
        p[18 + 2 * (k - 1)] = header.ROILimits[k].LowerLimit;
        p[19 + 2 * (k - 1)] = header.ROILimits[k].UpperLimit;
    }
    for (std::size_t k = 1; k <= 6; ++k) {
        PutWord(p + 28 + 2 * (k - 1), header.UniCon[k]);
    }
}

void EncodeSetup(const TInstrumentSetup& setup, Byte* p) {
    std::memset(p, 0, SetupBlockSize);
    PutWord(p, setup.UserID);
    p[2] = setup.CountryCode;
    p[3] = setup.RegionCode;
    p[4] = setup.EntryCode;
    PutWord(p + 6, setup.SetupWord);
    p[8] = setup.SampleInterval;
    PutInteger(p + 12, setup.AlarmLevel);
}

void EncodeRecord(const TInstrumentRecord& record, Byte* p) {
    p[0] = record.SampleInterval;
    p[1] = 0;
    EncodeTime(record.Time, p + 2);
    p[14] = 0;
    p[15] = 0;
    PutInteger(p + 16, record.TemperatureRaw);
    PutInteger(p + 20, record.HumidityRaw);
    PutInteger(p + 24, record.PressureRaw);
    PutInteger(p + 28, record.Counts);
    PutInteger(p + 32, record.Status);
    for (std::size_t k = 1; k <= IntervalChannels; ++k) {
        PutInteger(p + 36 + 4 * (k - 1), record.Channels[k]);
    }
    PutInteger(p + 188, record.ExtraCounts);
    for (std::size_t k = 1; k <= 5; ++k) {
        PutInteger(p + 192 + 4 * (k - 1), record.ROICounts[k]);
    }
}

void EncodeSpectrum(const TDosikaSpectrum& spectrum, Byte* p) {
    PutInteger(p, spectrum.Size);
    for (std::size_t k = 1; k <= DosikaSpectrumChannels; ++k) {
        PutInteger(p + 4 + 4 * (k - 1), spectrum.Channels[k]);
    }
}

void EncodeComment(const std::string& utf8, Byte* p) {
    std::memset(p, 0, CommentBlockSize);
    const std::string ansi = Utf8ToWindows1252(utf8);
    const std::size_t length = std::min(ansi.size(), CommentCapacity);
    p[0] = static_cast<Byte>(length);
    std::memcpy(p + 1, ansi.data(), length);
}

} // namespace lumetra
