#include "halvo/HalvoSimRecords.h"

namespace lumetra::sim {

namespace {

void PutBigEndian(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        d[at + i] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - i)));
    }
}

int DaysInMonth(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) {
        return 29;
    }
    return month >= 1 && month <= 12 ? days[month - 1] : 31;
}

} // namespace

bool HalvoIsSpectrumType(std::uint8_t type) { return type == 4 || type == 6 || type == 10; }

std::size_t HalvoRecordLength(std::uint8_t type, std::uint8_t softwareVersion) {
    switch (type) {
    case 1:
    case 2:
        return 16;
    case 3:
    case 5:
    case 7:
    case 8:
    case 9:
        return softwareVersion < 8 ? 32 : 16;
    case 4:
    case 6:
    case 10:
        return 128;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> EncodeHalvoRecord(std::uint8_t type, std::uint8_t softwareVersion, const THalvoSimRecord& r) {
    std::vector<std::uint8_t> d(HalvoRecordLength(type, softwareVersion), 0);
    if (d.empty()) {
        return d;
    }
    d[0] = r.Minute;
    d[1] = r.Hour;
    d[2] = r.Day;
    d[3] = r.Month;
    d[4] = static_cast<std::uint8_t>(r.Year - 2000);
    d[5] = r.Interval;
    if (HalvoIsSpectrumType(type)) {
        d[6] = static_cast<std::uint8_t>(r.Status);
        d[7] = static_cast<std::uint8_t>(r.HumidityRaw);
        PutBigEndian(d, 8, r.TemperatureRaw, 2);
        PutBigEndian(d, 10, r.PressureRaw, 2);
        for (std::size_t k = 1; k <= kHalvoChannels; ++k) {
            const std::uint32_t c = r.Channels[k - 1];
            d[9 + 3 * k] = static_cast<std::uint8_t>(c);
            d[10 + 3 * k] = static_cast<std::uint8_t>(c >> 8);
            d[11 + 3 * k] = static_cast<std::uint8_t>(c >> 16);
        }
        return d;
    }
    d[6] = static_cast<std::uint8_t>(r.HumidityRaw);
    d[7] = static_cast<std::uint8_t>(r.TemperatureRaw);
    PutBigEndian(d, 12, r.Counts, 4);
    if (type == 1 || type == 2 || softwareVersion < 8) {
        PutBigEndian(d, 8, r.Status, 4);
        if (type != 1 && type != 2) {
            PutBigEndian(d, 16, r.PressureRaw, 2);
        }
    } else {
        PutBigEndian(d, 8, r.PressureRaw, 2);
        PutBigEndian(d, 10, r.Status, 2);
    }
    return d;
}

void AdvanceHalvoTime(THalvoSimRecord& r, unsigned minutes) {
    unsigned total = r.Minute + minutes;
    r.Minute = static_cast<std::uint8_t>(total % 60);
    total = r.Hour + total / 60;
    r.Hour = static_cast<std::uint8_t>(total % 24);
    unsigned days = total / 24;
    while (days > 0) {
        --days;
        if (r.Day >= DaysInMonth(r.Year, r.Month)) {
            r.Day = 1;
            if (r.Month >= 12) {
                r.Month = 1;
                ++r.Year;
            } else {
                ++r.Month;
            }
        } else {
            ++r.Day;
        }
    }
}

} // namespace lumetra::sim
