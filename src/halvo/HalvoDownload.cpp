#include "halvo/HalvoDownload.h"

#include "core/Errors.h"
#include "core/UserInterface.h"

#include <algorithm>

namespace lumetra {
namespace {

Integer BigEndian(const Byte* d, std::size_t position, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < size; ++k) {
        value = (value << 8) | d[position + k];
    }
    return static_cast<Integer>(value);
}

bool HasSetupValues(Byte type) { return type == 3 || type == 4 || type == 5 || type == 6 || type == 10; }

} // namespace

Byte HlvRecordLength(Byte type, Byte softwareVersion) {
    switch (type) {
    case 1:
    case 2: return 16;
    case 3:
    case 5:
    case 7:
    case 8:
    case 9: return softwareVersion < 8 ? 32 : 16;
    case 4:
    case 6:
    case 10: return 128;
    default: return 0;
    }
}

bool HlvDecodeRecord(Byte type, Byte softwareVersion, const Byte* d, TInstrumentRecord& record) {
    const Byte minute = d[0];
    const Byte hour = d[1];
    const Byte day = d[2];
    const Byte month = d[3];
    const Byte interval = d[5];
    if (minute > 59 || hour > 24 || day > 31 || month > 12 || interval == 0 || day == 0 || month == 0) {
        return false;
    }
    record = TInstrumentRecord{};
    record.Time = TDeviceTime{0, minute, hour, day, month, static_cast<Word>(d[4] + 2000)};
    record.SampleInterval = interval;
    switch (type) {
    case 1:
    case 2:
        record.HumidityRaw = d[6];
        record.TemperatureRaw = d[7];
        record.Status = BigEndian(d, 8, 4);
        record.Counts = BigEndian(d, 12, 4);
        break;
    case 3:
    case 5:
    case 7:
    case 8:
    case 9:
        record.HumidityRaw = d[6];
        record.TemperatureRaw = d[7];
        if (softwareVersion < 8) {
            record.Status = BigEndian(d, 8, 4);
            record.Counts = BigEndian(d, 12, 4);
            record.PressureRaw = BigEndian(d, 16, 2);
        } else {
            record.PressureRaw = BigEndian(d, 8, 2);
            record.Status = BigEndian(d, 10, 2);
            record.Counts = BigEndian(d, 12, 4);
        }
        break;
    case 4:
    case 6:
    case 10:
        record.Status = d[6];
        record.HumidityRaw = d[7];
        record.TemperatureRaw = BigEndian(d, 8, 2);
        record.PressureRaw = BigEndian(d, 10, 2);
        for (std::size_t k = 1; k <= IntervalChannels; ++k) {
            const std::size_t at = 9 + 3 * k;
            record.Channels[k] = static_cast<Integer>(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16));
        }
        break;
    default:
        break;
    }
    return true;
}

Byte HlvReadData(TUserInterface& ui, TComPort port, THlvDownloadBuffer& buffer) {
    ui.ShowProgress(ui.Translate("Data download"), 0);
    ui.UpdateProgress(0, "-");
    buffer.Valid = false;
    buffer.Count = 0;
    buffer.Truncated = false;
    buffer.Records.clear();

    Byte result = HlvReadInitValues(ui, port, buffer.InitValues);
    buffer.SetupValues = THlvSetupValues{};
    if (result == Result::Success && HasSetupValues(buffer.InitValues.DeviceType)) {
        result = HlvReadSetupValues(ui, port, buffer.SetupValues);
    }
    const Byte type = buffer.InitValues.DeviceType;
    const Byte software = buffer.InitValues.SoftwareVersion;
    const Byte answerLength = HlvRecordLength(type, software);
    if (result == Result::Success && answerLength == 0) {
        result = Result::InstrumentTooNew; // a type this program has no record format for
    }
    if (result != Result::Success) {
        ui.HideProgress();
        return result;
    }

    buffer.Records.reserve(1024);
    Byte command = 0x06;
    bool finished = false;
    while (!finished) {
        TFrameBuffer frame{};
        Byte flag = 1;
        for (int attempt = 1; attempt <= HlvAttempts; ++attempt) {
            // Every attempt sends the request afresh: a failed exchange leaves its
            // partial answer and its command flag behind.
            frame.fill(0);
            frame[0] = command;
            flag = 1;
            result = HlvExchange(ui, port, flag, 1, frame, answerLength);
            if (result == Result::Success) {
                break;
            }
            ui.Clock().Pause(HlvRetryPauseMilliseconds);
        }
        if (result != Result::Success) {
            break;
        }
        if (flag == 1) {
            result = frame[0] == HlvStatus::NoMoreRecords ? Result::Success : Result::UnexpectedResponse;
            finished = true;
        } else {
            TInstrumentRecord record;
            if (HlvDecodeRecord(type, software, frame.data(), record)) {
                if (buffer.Records.size() == HlvBufferCapacity) {
                    // More records than a data set holds: keep those that fit.
                    buffer.Truncated = true;
                    finished = true;
                } else {
                    buffer.Records.push_back(record);
                    ui.UpdateProgress(static_cast<int>(buffer.Records.size()), std::to_string(buffer.Records.size()));
                }
            }
            command = 0x07;
        }
        ui.ProcessPendingEvents();
    }
    if (result == Result::Success) {
        buffer.Count = static_cast<Word>(buffer.Records.size());
        buffer.Valid = buffer.Count > 0;
    } else {
        buffer.Records.clear();
    }
    ui.HideProgress();
    return result;
}

Byte HlvDownload(TUserInterface& ui, TComPort port, TInstrumentData& data) {
    // Nothing of an earlier instrument may stay behind, whether this download succeeds
    // or not: a failed download leaves an empty, invalid data set.
    ClearInstrumentData(data);
    THlvDownloadBuffer buffer;
    const Byte result = HlvReadData(ui, port, buffer);
    if (result != Result::Success) {
        return result;
    }
    const THlvInitValues& init = buffer.InitValues;
    data.Header.DeviceFamily = FamilyHalvo;
    data.Header.DeviceNumber = init.DeviceNumber;
    data.Header.DeviceType = init.DeviceType;
    data.Header.SoftwareVersion = init.SoftwareVersion;
    data.Header.Offset = init.Offset;
    data.Header.ROILevel = init.ROILevel;
    data.Header.UniCon = {{init.UniCon1, init.UniCon2, init.UniCon3, init.UniCon4, init.UniCon5, init.UniCon6}};
    data.Setup.SetupWord = buffer.SetupValues.SetupWord;
    data.Setup.SampleInterval = buffer.SetupValues.SampleInterval;
    data.Setup.AlarmLevel = buffer.SetupValues.AlarmLevel;
    for (std::size_t i = 1; i <= buffer.Records.size(); ++i) {
        data.Records[i] = buffer.Records[i - 1];
    }
    data.NumberOfRecords = buffer.Count;
    data.Valid = buffer.Count > 0;
    if (buffer.Truncated) {
        ui.ShowMessage(ui.Translate("The instrument holds more records than a data set can take; only the first "
                                    "16416 records were downloaded."));
    }
    return result;
}

} // namespace lumetra
