#include "core/TimeConversions.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>

namespace lumetra {

namespace {

constexpr Int64 MinutesPerDay = 1440;
// Days from 1 January 1970 back to 30 December 1899, the origin of the date-time values.
constexpr Int64 DateTimeOrigin = -25569;

constexpr Int64 FloorDiv(Int64 a, Int64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }
constexpr Int64 FloorMod(Int64 a, Int64 b) { return a - FloorDiv(a, b) * b; }

// Days since 1 January 1970 in the proleptic Gregorian calendar; month 1..12, any day.
constexpr Int64 DaysFromCivil(Int64 y, Int64 m, Int64 d) {
    y -= m <= 2 ? 1 : 0;
    const Int64 era = FloorDiv(y, 400);
    const Int64 yoe = y - era * 400;
    const Int64 doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const Int64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    Int64 Year;
    int Month;
    int Day;
};

constexpr Civil CivilFromDays(Int64 z) {
    z += 719468;
    const Int64 era = FloorDiv(z, 146097);
    const Int64 doe = z - era * 146097;
    const Int64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const Int64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const Int64 mp = (5 * doy + 2) / 153;
    const Int64 d = doy - (153 * mp + 2) / 5 + 1;
    const Int64 m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), static_cast<int>(m), static_cast<int>(d)};
}

// Minutes since 1 January 1970 00:00, every field carried arithmetically.
Int64 StampMinutes(TDeviceTime t) {
    const Int64 months = Int64{t.Month} - 1;
    const Int64 year = Int64{t.Year} + FloorDiv(months, 12);
    const Int64 month = FloorMod(months, 12) + 1;
    const Int64 days = DaysFromCivil(year, month, 1) + Int64{t.Day} - 1;
    return days * MinutesPerDay + Int64{t.Hour} * 60 + Int64{t.Minute};
}

const Int64 FirstStampMinutes = DaysFromCivil(0, 1, 1) * MinutesPerDay;
const Int64 LastStampMinutes = DaysFromCivil(65535, 12, 31) * MinutesPerDay + MinutesPerDay - 1;

TDeviceTime StampFromMinutes(Int64 minutes) {
    minutes = std::clamp(minutes, FirstStampMinutes, LastStampMinutes);
    const Int64 days = FloorDiv(minutes, MinutesPerDay);
    const Int64 ofDay = minutes - days * MinutesPerDay;
    const Civil c = CivilFromDays(days);
    TDeviceTime r;
    r.Second = 0;
    r.Minute = static_cast<Word>(ofDay % 60);
    r.Hour = static_cast<Word>(ofDay / 60);
    r.Day = static_cast<Word>(c.Day);
    r.Month = static_cast<Word>(c.Month);
    r.Year = static_cast<Word>(c.Year);
    return r;
}

bool IsLeapYear(Int64 y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// The stamp as a broken-down time for strftime, normalised so every field is valid.
std::tm StampTm(TDeviceTime t, int second) {
    const Int64 minutes = StampMinutes(t);
    const Int64 days = FloorDiv(minutes, MinutesPerDay);
    const Int64 ofDay = minutes - days * MinutesPerDay;
    const Civil c = CivilFromDays(days);
    std::tm tm{};
    tm.tm_sec = second;
    tm.tm_min = static_cast<int>(ofDay % 60);
    tm.tm_hour = static_cast<int>(ofDay / 60);
    tm.tm_mday = c.Day;
    tm.tm_mon = c.Month - 1;
    tm.tm_year = static_cast<int>(c.Year - 1900);
    tm.tm_wday = static_cast<int>(FloorMod(days + 4, 7)); // 1 January 1970 was a Thursday
    tm.tm_yday = static_cast<int>(days - DaysFromCivil(c.Year, 1, 1));
    tm.tm_isdst = 0;
    return tm;
}

std::string FormatTm(const char* format, const std::tm& tm) {
    // strftime gives 0 both for "too small" and for an empty result; stop at a size no
    // locale needs.
    for (std::size_t size = 128; size <= 8192; size *= 4) {
        std::string buffer(size, '\0');
        const std::size_t n = std::strftime(buffer.data(), buffer.size(), format, &tm);
        if (n > 0) {
            buffer.resize(n);
            return buffer;
        }
    }
    return {};
}

std::string TimeWithoutSeconds(TDeviceTime t) {
    return RemoveSecondsField(FormatTm("%X", StampTm(t, 0)), FormatTm("%X", StampTm(t, 59)));
}

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiSeparator(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x80 && !IsAsciiDigit(c) && !(u >= 'A' && u <= 'Z') && !(u >= 'a' && u <= 'z') && u > 0x1F;
}
bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

} // namespace

TDeviceTime MakeDeviceTime(int year, int month, int day, int hour, int minute, int second) {
    TDeviceTime t;
    t.Second = static_cast<Word>(second);
    t.Minute = static_cast<Word>(minute);
    t.Hour = static_cast<Word>(hour);
    t.Day = static_cast<Word>(day);
    t.Month = static_cast<Word>(month);
    t.Year = static_cast<Word>(year);
    return t;
}

TDateTime DeviceTimeToDateTime(TDeviceTime t) {
    return static_cast<double>(StampMinutes(t) - DateTimeOrigin * MinutesPerDay) / static_cast<double>(MinutesPerDay);
}

TDeviceTime FixLeapDay(TDeviceTime t) {
    if (t.Month == 2 && t.Day == 29 && !IsLeapYear(t.Year)) {
        t.Day = 1;
        t.Month = 3;
    }
    return t;
}

TDeviceTime AddMinutes(TDeviceTime t, Integer minutes) { return StampFromMinutes(StampMinutes(t) + minutes); }

TDeviceTime SubtractMinutes(TDeviceTime t, Word minutes) { return StampFromMinutes(StampMinutes(t) - minutes); }

Integer MinutesBetween(TDeviceTime later, TDeviceTime earlier) {
    const Int64 diff = StampMinutes(later) - StampMinutes(earlier);
    return static_cast<Integer>(std::clamp<Int64>(diff, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

std::string RemoveSecondsField(const std::string& withZero, const std::string& with59) {
    const std::size_t shorter = std::min(withZero.size(), with59.size());
    std::size_t begin = 0;
    while (begin < shorter && withZero[begin] == with59[begin])
        ++begin;
    std::size_t common = 0;
    while (common < shorter - begin && withZero[withZero.size() - 1 - common] == with59[with59.size() - 1 - common])
        ++common;
    std::size_t end = withZero.size() - common;
    // Keep multi-byte characters whole.
    while (begin > 0 && begin < withZero.size() && IsUtf8Continuation(withZero[begin]))
        --begin;
    while (end < withZero.size() && IsUtf8Continuation(withZero[end]))
        ++end;
    if (begin >= end)
        return withZero;

    std::size_t cutFrom = begin;
    while (cutFrom > 0 && IsAsciiSeparator(withZero[cutFrom - 1]))
        --cutFrom;
    if (cutFrom == begin) {
        // No separator before the seconds ("09h07m00s", a unit after each field): the
        // seconds' unit goes with them.
        while (end < withZero.size() && !IsAsciiDigit(withZero[end]) && !IsAsciiSeparator(withZero[end]))
            ++end;
    }
    return withZero.substr(0, cutFrom) + withZero.substr(end);
}

std::string DateTimeText(TDeviceTime t) {
    const std::tm tm = StampTm(t, 0);
    const std::string date = FormatTm("%x", tm);
    if (tm.tm_hour == 0 && tm.tm_min == 0)
        return date + " 00:00";
    return date + " " + TimeWithoutSeconds(t);
}

std::string TimeText(TDeviceTime t) { return TimeWithoutSeconds(t); }

std::string DateText(TDeviceTime t) { return FormatTm("%x", StampTm(t, 0)); }

std::string FormatDeviceTime(Byte mode, Byte style, TDeviceTime t) {
    if (mode != 3 && mode != 4 && mode != 5)
        return {};
    const char dateSep = style == 2 ? '/' : '_';
    const char timeSep = style == 2 ? ':' : '-';
    char buffer[64];
    std::string text;
    if (mode == 3 || mode == 5) {
        std::snprintf(buffer, sizeof buffer, "%u%c%u%c%u ", unsigned{t.Month}, dateSep, unsigned{t.Day}, dateSep,
                      unsigned{t.Year});
        text += buffer;
    }
    if (mode == 3 || mode == 4) {
        std::snprintf(buffer, sizeof buffer, "%2u%c%02u", unsigned{t.Hour}, timeSep, unsigned{t.Minute});
        text += buffer;
    }
    return text;
}

TDeviceTime LocalDeviceTimeNow() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return MakeDeviceTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec);
}

} // namespace lumetra
