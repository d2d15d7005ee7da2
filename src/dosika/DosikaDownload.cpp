#include "dosika/DosikaDownload.h"

#include "core/Errors.h"
#include "core/UserInterface.h"

#include <algorithm>
#include <ctime>

namespace lumetra {
namespace {

std::uint32_t LittleEndian(const Byte* p, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t k = size; k > 0; --k) {
        value = (value << 8) | p[k - 1];
    }
    return value;
}

// Every record size of a type is at least the layout read here (11, 21, 23 or 25 bytes).
void DecodeRecord(Byte deviceType, const Byte* p, TDkRecord& record) {
    record = TDkRecord{};
    record.RecordStatus = p[0];
    const std::size_t width = deviceType == DkType::Dosika ? 2 : 4;
    for (std::size_t k = 1; k <= 5; ++k) {
        record.Counters[k] = static_cast<Integer>(LittleEndian(p + 1 + (k - 1) * width, width));
    }
    if (deviceType == DkType::Morvel) {
        record.ExtraCounter = static_cast<Integer>(LittleEndian(p + 21, 4));
    } else if (deviceType == DkType::SenraR) {
        record.TemperatureCode = p[21];
        record.HumidityCode = p[22];
    }
}

// Runs one download command: status frame, data frames, closing frame.
Byte ReadBlock(TUserInterface& ui, const TComPort& port, Byte command, TDkPayloadBuffer& joined) {
    TDkResponseBuffer responses;
    const Byte result =
        DkFrameTransaction(ui, port, DkCommandFrame({command}), DkByteDelay, responses, DkStopCode, 0);
    if (result != Result::Success) {
        return result;
    }
    const Byte status = DkStatusResult(command, responses.Frame(1).Payload[0]);
    if (status != Result::Success) {
        return status;
    }
    JoinDataFrames(responses, joined);
    return Result::Success;
}

TDeviceTime Today() {
    TDeviceTime today = LocalDeviceTimeNow();
    today.Second = 0;
    return today;
}

} // namespace

std::size_t DkRecordSize(Byte deviceType, Byte softwareVersion) {
    switch (deviceType) {
    case DkType::Dosika: return softwareVersion == 10 ? 32 : 11;
    case DkType::DosikaPro: return softwareVersion == 10 ? 32 : 21;
    case DkType::Morvel: return 25;
    case DkType::Kvx5210: return 21;
    case DkType::SenraR: return softwareVersion == 10 ? 32 : 23;
    case DkType::SenraP: return 21;
    default: return 0;
    }
}

Byte DecodeDkSpectrum(const TDkPayloadBuffer& joined, TDkDownloadBuffer& buffer) {
    const bool dosika = buffer.InitValues.DeviceType == DkType::Dosika;
    const std::size_t width = dosika ? 3 : 4;
    const std::size_t length = dosika ? 150 : 240;
    if (joined.TotalLength != length || joined.Bytes.size() < length) {
        return Result::LengthMismatch;
    }
    const std::size_t size = length / width;
    buffer.Spectrum = TDosikaSpectrum{};
    buffer.Spectrum.Size = static_cast<Integer>(size);
    for (std::size_t k = 1; k <= size; ++k) {
        buffer.Spectrum.Channels[k] = static_cast<Integer>(LittleEndian(joined.Bytes.data() + (k - 1) * width, width));
    }
    return Result::Success;
}

Byte DecodeDkRecords(const TDkPayloadBuffer& joined, TDkDownloadBuffer& buffer, TDeviceTime today) {
    const Byte type = buffer.InitValues.DeviceType;
    const std::size_t size = DkRecordSize(type, buffer.InitValues.SoftwareVersion);
    if (size == 0) {
        return Result::NotDecodable;
    }
    const std::size_t total = joined.TotalLength;
    // A block is at least its 6 header bytes and at most what its 16-bit length can say.
    if (total < 6 || total > DkMaxBlockLength || joined.Bytes.size() < total) {
        return Result::LengthMismatch;
    }
    const Byte* p = joined.Bytes.data();
    if (LittleEndian(p, 2) != total) {
        return Result::LengthMismatch;
    }
    if ((total - 6) % size != 0) {
        return Result::PartialRecord;
    }
    const std::size_t n = (total - 6) / size;
    TDeviceTime start;
    start.Second = 0;
    start.Minute = p[2];
    start.Hour = p[3];
    start.Day = p[4];
    start.Month = p[5];
    start.Year = static_cast<Word>(start.Month > today.Month ? today.Year - 1 : today.Year);
    buffer.StartTime = start;
    buffer.Records.assign(n, TDkRecord{});
    for (std::size_t i = 0; i < n; ++i) {
        DecodeRecord(type, p + 6 + i * size, buffer.Records[i]);
    }
    buffer.NumberOfRecords = static_cast<Word>(n);
    return Result::Success;
}

Byte DecodeDkRecords(const TDkPayloadBuffer& joined, TDkDownloadBuffer& buffer) {
    return DecodeDkRecords(joined, buffer, Today());
}

Byte DkReadAllData(TUserInterface& ui, TComPort port, TDkDownloadBuffer& buffer) {
    buffer.Valid = false;
    Byte result = DkReadInitValues(ui, port, buffer.InitValues);
    if (result != Result::Success) {
        return result;
    }
    result = DkReadSetup(ui, port, buffer.SetupValues);
    if (result != Result::Success) {
        return result;
    }
    TDkPayloadBuffer joined;
    result = ReadBlock(ui, port, DkCommand::ReadSpectrum, joined);
    if (result == Result::Success) {
        result = DecodeDkSpectrum(joined, buffer);
    }
    if (result == Result::Success) {
        result = ReadBlock(ui, port, DkCommand::ReadRecords, joined);
    }
    if (result == Result::Success) {
        result = DecodeDkRecords(joined, buffer);
    }
    if (result == Result::Success && buffer.NumberOfRecords > 0) {
        buffer.Valid = true;
    }
    return result;
}

void FillDkInstrumentData(const TDkDownloadBuffer& buffer, TInstrumentData& data) {
    const TDkInitValues& init = buffer.InitValues;
    const TDkSetupValues& setup = buffer.SetupValues;
    TInstrumentHeader& header = data.Header;
    header.DeviceFamily = FamilyDosika;
    header.DeviceNumber = init.DeviceNumber;
    header.DeviceType = init.DeviceType;
    header.SoftwareVersion = init.SoftwareVersion;
    header.Offset = init.Offset;
    header.BetaLowerLimit = init.BetaLowerLimit;
    header.BetaUpperLimit = init.BetaUpperLimit;
    header.ROILimits = init.ROILimits;
    header.UniCon[1] = init.CAL1;
    header.UniCon[2] = init.CAL2;
    header.UniCon[3] = init.CAL3;
    header.UniCon[4] = init.CAL4;
    header.UniCon[5] = init.CAL5;

    data.Setup.UserID = setup.UserID;
    data.Setup.CountryCode = setup.CountryCode;
    data.Setup.RegionCode = setup.RegionCode;
    data.Setup.EntryCode = setup.EntryCode;
    data.Setup.SetupWord = setup.SetupByte;
    data.Setup.SampleInterval = setup.SampleInterval;
    data.Setup.AlarmLevel = setup.AlarmLevel;

    data.Spectrum = buffer.Spectrum;

    const std::size_t n = std::min<std::size_t>({buffer.NumberOfRecords, buffer.Records.size(), MaxRecords});
    const Integer interval = setup.SampleInterval;
    TDeviceTime running = FixLeapDay(buffer.StartTime);
    if (init.DeviceType == DkType::Dosika && init.SoftwareVersion < 5) {
        running = AddMinutes(running, interval);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        const TDkRecord& source = buffer.Records[i - 1];
        TInstrumentRecord& record = data.Records[i];
        record = TInstrumentRecord{};
        record.Time = running;
        running = AddMinutes(running, interval);
        record.SampleInterval = setup.SampleInterval;
        record.Status = interval - Integer{source.RecordStatus};
        for (std::size_t k = 1; k <= 5; ++k) {
            record.ROICounts[k] = source.Counters[k];
        }
        record.ExtraCounts = source.ExtraCounter;
        record.TemperatureRaw = source.TemperatureCode;
        record.HumidityRaw = source.HumidityCode;
    }
    data.NumberOfRecords = static_cast<Word>(n);
    data.Valid = n > 0;
}

Byte DkDownload(TUserInterface& ui, TComPort port, TInstrumentData& data) {
    // Nothing of an earlier instrument may stay behind, whether this download succeeds
    // or not: a failed download leaves an empty, invalid data set.
    ClearInstrumentData(data);

    TDkDownloadBuffer buffer;
    Byte result = DkReadAllData(ui, port, buffer);
    if (result == Result::MeasurementState) {
        if (ui.AskYesNo(ui.Translate("Confirm"), ui.Translate("Stop measurement?"))) {
            result = DkStopMeasurement(ui, port);
            if (result == Result::Success) {
                buffer = TDkDownloadBuffer{};
                result = DkReadAllData(ui, port, buffer);
            }
        } else {
            result = Result::Declined;
        }
    }
    if (result == Result::Success) {
        FillDkInstrumentData(buffer, data);
    }
    return result;
}

} // namespace lumetra
