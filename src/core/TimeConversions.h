#pragma once
// Instrument time stamps and their conversions. A stamp keeps the instrument's own
// calendar fields; arithmetic goes through a date-time value (days since 30 December
// 1899, the time of day as the fraction), text through the user's locale.

#include "core/BasicTypes.h"

#include <string>

namespace lumetra {

struct TDeviceTime {
    Word Second = 0;
    Word Minute = 0;
    Word Hour = 0;
    Word Day = 0;
    Word Month = 0;
    Word Year = 0;
    bool operator==(const TDeviceTime&) const = default;
};
static_assert(sizeof(TDeviceTime) == 12);

using TDateTime = double;

// A stamp from calendar fields; for tests and simulators.
TDeviceTime MakeDeviceTime(int year, int month, int day, int hour, int minute, int second = 0);

// The computer's local time now, to the second.
TDeviceTime LocalDeviceTimeNow();

// Fields out of range (month 0 or 13, 31 February, hour 24, ...) from a damaged file
// are carried arithmetically into the next larger field instead of being rejected.
TDateTime DeviceTimeToDateTime(TDeviceTime t);
TDeviceTime FixLeapDay(TDeviceTime t);
// Both give Second 0. A negative count moves back. Results beyond the years 0..65535
// are held at the nearest end of that range.
TDeviceTime AddMinutes(TDeviceTime t, Integer minutes);
TDeviceTime SubtractMinutes(TDeviceTime t, Word minutes);
// Exact whole minutes, seconds ignored; held to the Integer range.
Integer MinutesBetween(TDeviceTime later, TDeviceTime earlier);

// Texts in the user's locale (LC_TIME short date %x, long time %X).
std::string DateTimeText(TDeviceTime t);
std::string TimeText(TDeviceTime t);
std::string DateText(TDeviceTime t);

// Removes the seconds field from a time text. The two arguments are the same time
// formatted with seconds 0 and with seconds 59; where they differ are the seconds. The
// separator before them goes too (or, if there is none, a unit suffix after them), so
// "09:07:00 AM" becomes "09:07 AM". Texts without a difference come back unchanged.
std::string RemoveSecondsField(const std::string& withZero, const std::string& with59);

// Fixed-format text independent of the locale. mode 3: date and time, 4: time, 5: date
// followed by a blank; style 2 uses "/" and ":", any other style "_" and "-".
std::string FormatDeviceTime(Byte mode, Byte style, TDeviceTime t);

} // namespace lumetra
